// The AC3D model module: the records of a loaded model tree, the material
// palette shared by every model of the run, the tokenizer, the loader and the
// renderer.
#pragma once

#define AC_PALETTE_SIZE 255 // materials of the whole run
#define AC_MAX_TOKENS 30    // tokens kept from one line
#define AC_LINE_SIZE 256    // the line buffer; a read takes at most 254 characters

#define AC_OBJECT_WORLD 999
#define AC_OBJECT_POLY 0
#define AC_OBJECT_GROUP 1
#define AC_OBJECT_LIGHT 2

#define AC_SURF_KIND_MASK 0x0F
#define AC_SURF_POLYGON 0
#define AC_SURF_CLOSED_LINE 1
#define AC_SURF_OPEN_LINE 2
#define AC_SURF_SMOOTH 0x10
#define AC_SURF_TWO_SIDED 0x20

#ifdef __cplusplus
extern "C" {
#endif

// One vertex: its position from the file and the averaged normal computed after loading.
typedef struct ACVertex_t {
    float x, y, z;
    float normal[3];
} ACVertex_t;

// One surface: a polygon or a line over the vertices of its object.
typedef struct ACSurface_t {
    int* vertref; // vertex index of each reference, always within the object's vertices
    float* uvs;   // (u, v) of each reference
    int num_vertref;
    float normal[3]; // unit face normal, (0, 0, 0) for lines and degenerate triangles
    int flags;       // kind in bits 0-3, AC_SURF_SMOOTH, AC_SURF_TWO_SIDED
    int mat;         // absolute palette index
} ACSurface_t;

// One node of a model tree; every pointer is owned by the node.
typedef struct ACObject_t {
    float loc[3]; // translation relative to the parent
    char* name;
    char* data;
    char* url;
    ACVertex_t* vertices;
    int num_vert;
    ACSurface_t* surfaces;
    int num_surf;
    float texture_repeat_x, texture_repeat_y;
    float texture_offset_x, texture_offset_y;
    int num_kids;
    struct ACObject_t** kids;
    float matrix[9]; // rotation in file order; stored, never applied
    int type;        // AC_OBJECT_*
    int texture;     // texture table index, -1 for none
} ACObject_t;

// One palette entry. Alpha of diffuse and ambient comes from the transparency when drawn.
typedef struct ACMaterial_t {
    float rgb[4]; // diffuse
    float ambient[4];
    float specular[4];
    float emissive[4];
    float shininess;
    float transparency; // 0 opaque ... 1 invisible
    char* name;
} ACMaterial_t;

// --- ac3d_tokens.cpp: the tokenizer ---

// Splits `line` in place into at most AC_MAX_TOKENS tokens; stores the count in
// *count and returns it.
int get_tokens(char* line, int* count, char** tokens);

// --- ac3d.cpp: the loader ---

// Loads one AC3D file: the root of its tree (free with ac_object_free), or null.
ACObject_t* ac_load_ac3d(char* filename);
// Releases an object, its subtree and everything they own. Null is ignored.
void ac_object_free(ACObject_t* object);
// Address of palette entry `index` (0 <= index < AC_PALETTE_SIZE).
ACMaterial_t* ac_palette_get_material(int index);
// Diagnostic print of a tree to standard output.
void ac_object_dump(ACObject_t* object);
// Number of palette entries in use.
int ac_palette_count(void);
// What `texture` lines call: ac_load_texture unless a program without an
// OpenGL context sets another (ac3d-info decodes with ac_load_rgb_image).
void ac_set_texture_loader(int (*loader)(char* filename));

// --- ac3d_render.cpp: drawing and display lists ---

// Sets the OpenGL state the renderer is made for.
void ac_prepare_render(void);
// Draws a tree.
void ac_render_object(ACObject_t* object);
// Draws a tree blown apart: vertices pushed along their normals, polygons faded.
void ac_render_object_explosion(ACObject_t* object, float displacement);
// Compiles a tree into a new display list and returns its name.
int ac_display_list_render_object(ACObject_t* object);
// Loads a file and compiles it into a display list: its name, or -1.
int ac_load_and_render_ac3d(char* filename);
// Compiles a tree into a new display list that draws the same pixels in the
// same order as ac_render_object, but joins consecutive polygons that share
// material, texture and culling into one run of triangles, and sets every
// state it needs itself. Returns the list name.
int ac_display_list_batched(ACObject_t* object);

// --- For tests, fuzzers and benchmarks only: never called by the games. ---

// Empties the palette and sets the line counter back to 0, so that a process
// loading thousands of files neither fills the palette nor overflows the count.
void ac_reset_for_tests(void);

#ifdef __cplusplus
}
#endif
