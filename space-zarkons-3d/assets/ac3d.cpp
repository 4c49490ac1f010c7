// The AC3D loader: reads a model file into a tree of ACObject_t records and
// appends its materials to the palette of the run.
#include "ac3d.h"

#include "ac3d_tokens.h"
#include "texture.h" // ac_load_texture, the default for texture lines

#include <cassert>
#include <cctype>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>

// Deeper trees are no model anyone draws, and the readers recurse per level.
static const int AC_MAX_DEPTH = 256;
// Counts of a file whose size is unknown (a pipe) are held to this.
static const long AC_UNKNOWN_SIZE_LIMIT = 1L << 24;

static ACMaterial_t ac_palette[AC_PALETTE_SIZE];
static int ac_num_palette = 0;
static int ac_start_matindex = 0; // ac_num_palette when this file's load began
static char ac_line[AC_LINE_SIZE];
static int ac_line_number = 0; // the game never resets it: a second file's messages continue the count
static char* ac_tokens[AC_MAX_TOKENS];
static int ac_num_tokens = 0;
static char ac_keyword[AC_LINE_SIZE]; // first word of ac_line, copied before tokenizing
static int (*ac_texture_loader)(char* filename) = ac_load_texture;
static long ac_file_size = -1; // of the file being loaded, -1 when unknown
static bool ac_at_end = false; // set when the rest of the file cannot hold what a count promises

// Reads the next (piece of a) line; false at the end of the file.
static bool ac_read_line(FILE* f)
{
    if (ac_at_end || fgets(ac_line, AC_LINE_SIZE - 1, f) == nullptr)
        return false;
    if (ac_line_number < INT_MAX)
        ac_line_number++;
    return true;
}

// Copies the line's first word into ac_keyword and tokenizes the line; false for a blank line.
static bool ac_split_line()
{
    const char* p = ac_line;
    while (ac_is_separator(*p))
        p++;
    size_t n = 0;
    while (p[n] != '\0' && !ac_is_separator(p[n]))
        n++;
    memcpy(ac_keyword, p, n);
    ac_keyword[n] = '\0';
    if (n == 0)
        return false;
    get_tokens(ac_line, &ac_num_tokens, ac_tokens);
    return true;
}

static bool ac_keyword_is(const char* word)
{
    return strcmp(ac_keyword, word) == 0;
}

// Like atoi, but a number beyond int is held at its limit instead of being undefined.
static int ac_to_int(const char* s)
{
    long v = strtol(s, nullptr, 10);
    if (v > INT_MAX)
        return INT_MAX;
    if (v < INT_MIN)
        return INT_MIN;
    return (int)v;
}

// The count argument of a line; a missing one reads as 0, as atoi would.
static int ac_count_token()
{
    return ac_num_tokens > 1 ? ac_to_int(ac_tokens[1]) : 0;
}

static float ac_to_float(const char* s)
{
    return strtof(s, nullptr);
}

// Surface flags: decimal, 0x hexadecimal or leading-zero octal; the low 32 bits are kept.
static int ac_to_flags(const char* s)
{
    unsigned long long v = strtoull(s, nullptr, 0);
    return (int)(unsigned int)(v & 0xFFFFFFFFu);
}

// Parses up to `max` numbers from the tokens after the keyword into `out`;
// the first token that is not a number ends the list and leaves the rest alone.
static void ac_read_numbers(float* out, int max)
{
    for (int i = 0; i < max && i + 1 < ac_num_tokens; i++) {
        char* end = nullptr;
        float v = strtof(ac_tokens[i + 1], &end);
        if (end == ac_tokens[i + 1])
            return;
        out[i] = v;
    }
}

// True when n items of at least one byte each can still follow; otherwise the
// file is truncated, so say so and treat it as ending here. Small counts
// cannot ask for much memory and pass without asking where the file is.
static bool ac_fits(FILE* f, int n, const char* what, int trusted = 4096)
{
    if (n <= trusted)
        return true;
    long pos = ftell(f);
    long left = (ac_file_size >= 0 && pos >= 0) ? ac_file_size - pos : AC_UNKNOWN_SIZE_LIMIT;
    if ((long)n <= left)
        return true;
    printf("%s %d at line %d runs past the end of the file\n", what, n, ac_line_number);
    ac_at_end = true;
    return false;
}

static char* ac_strdup(const char* s)
{
    size_t n = strlen(s) + 1;
    char* copy = (char*)malloc(n);
    if (copy != nullptr)
        memcpy(copy, s, n);
    return copy;
}

static int ac_object_type_code(const char* word)
{
    if (strcmp(word, "world") == 0)
        return AC_OBJECT_WORLD;
    if (strcmp(word, "poly") == 0)
        return AC_OBJECT_POLY;
    if (strcmp(word, "group") == 0)
        return AC_OBJECT_GROUP;
    if (strcmp(word, "light") == 0)
        return AC_OBJECT_LIGHT;
    return AC_OBJECT_POLY;
}

static ACObject_t* ac_new_object(int type)
{
    ACObject_t* ob = (ACObject_t*)calloc(1, sizeof(ACObject_t));
    if (ob == nullptr)
        return nullptr;
    ob->texture_repeat_x = 1.0f;
    ob->texture_repeat_y = 1.0f;
    ob->matrix[0] = ob->matrix[4] = ob->matrix[8] = 1.0f;
    ob->type = type;
    ob->texture = -1;
    return ob;
}

static void ac_free_surfaces(ACObject_t* ob)
{
    for (int i = 0; i < ob->num_surf; i++) {
        free(ob->surfaces[i].vertref);
        free(ob->surfaces[i].uvs);
    }
    free(ob->surfaces);
    ob->surfaces = nullptr;
    ob->num_surf = 0;
}

static void ac_surface_normal(const ACObject_t* ob, ACSurface_t* s)
{
    assert(s->num_vertref >= 3);
    const ACVertex_t& p0 = ob->vertices[s->vertref[0]];
    const ACVertex_t& p1 = ob->vertices[s->vertref[1]];
    const ACVertex_t& p2 = ob->vertices[s->vertref[2]];
    float nx = (p1.y - p0.y) * (p2.z - p0.z) - (p2.y - p0.y) * (p1.z - p0.z);
    float ny = (p1.z - p0.z) * (p2.x - p0.x) - (p2.z - p0.z) * (p1.x - p0.x);
    float nz = (p1.x - p0.x) * (p2.y - p0.y) - (p2.x - p0.x) * (p1.y - p0.y);
    float len = (float)sqrt(nx * nx + ny * ny + nz * nz);
    if (len > 0) {
        nx /= len;
        ny /= len;
        nz /= len;
    }
    s->normal[0] = nx;
    s->normal[1] = ny;
    s->normal[2] = nz;
}

// A later numvert can leave fewer vertices than earlier surfaces name: drop
// those references so that every index stays inside the array.
static void ac_drop_bad_refs(ACObject_t* ob)
{
    int dropped = 0;
    for (int i = 0; i < ob->num_surf; i++) {
        ACSurface_t* s = &ob->surfaces[i];
        int k = 0;
        for (int r = 0; r < s->num_vertref; r++) {
            if (s->vertref[r] >= ob->num_vert) {
                dropped++;
                continue;
            }
            s->vertref[k] = s->vertref[r];
            s->uvs[2 * k] = s->uvs[2 * r];
            s->uvs[2 * k + 1] = s->uvs[2 * r + 1];
            k++;
        }
        s->num_vertref = k;
    }
    if (dropped > 0)
        printf("dropped %d references past the %d vertices at line %d\n", dropped, ob->num_vert,
               ac_line_number);
}

// One pass over the references: each vertex sums the same normals in the same
// order as a per-vertex search would, so the result is the same to the bit.
static void ac_vertex_normals(ACObject_t* ob)
{
    if (ob->num_vert > 0) {
        int* counts = (int*)calloc((size_t)ob->num_vert, sizeof(int));
        if (counts != nullptr) {
            for (int i = 0; i < ob->num_vert; i++)
                ob->vertices[i].normal[0] = ob->vertices[i].normal[1] = ob->vertices[i].normal[2] = 0.0f;
            for (int s = 0; s < ob->num_surf; s++) {
                const ACSurface_t& surf = ob->surfaces[s];
                for (int r = 0; r < surf.num_vertref; r++) {
                    int v = surf.vertref[r];
                    assert(v >= 0 && v < ob->num_vert);
                    float* n = ob->vertices[v].normal;
                    n[0] += surf.normal[0];
                    n[1] += surf.normal[1];
                    n[2] += surf.normal[2];
                    counts[v]++;
                }
            }
            for (int i = 0; i < ob->num_vert; i++) {
                if (counts[i] > 0) {
                    float* n = ob->vertices[i].normal;
                    n[0] = n[0] / counts[i];
                    n[1] = n[1] / counts[i];
                    n[2] = n[2] / counts[i];
                }
            }
            free(counts);
        }
    }
    for (int i = 0; i < ob->num_kids; i++)
        ac_vertex_normals(ob->kids[i]);
}

static void ac_read_material()
{
    if (ac_num_tokens != 22) {
        printf("expected 21 params after \"MATERIAL\" - line %d\n", ac_line_number);
        return;
    }
    if (ac_num_palette >= AC_PALETTE_SIZE) {
        printf("palette full (%d materials) - ignoring MATERIAL at line %d\n", AC_PALETTE_SIZE,
               ac_line_number);
        return;
    }
    ACMaterial_t* m = &ac_palette[ac_num_palette];
    free(m->name);
    memset(m, 0, sizeof *m);
    m->name = ac_strdup(ac_tokens[1]);
    for (int i = 0; i < 3; i++) {
        m->rgb[i] = ac_to_float(ac_tokens[3 + i]);
        m->ambient[i] = ac_to_float(ac_tokens[7 + i]);
        m->emissive[i] = ac_to_float(ac_tokens[11 + i]);
        m->specular[i] = ac_to_float(ac_tokens[15 + i]);
    }
    // the file has no fourth component; 1 is OpenGL's own for these two
    m->specular[3] = 1.0f;
    m->emissive[3] = 1.0f;
    m->shininess = ac_to_float(ac_tokens[19]);
    m->transparency = ac_to_float(ac_tokens[21]);
    ac_num_palette++;
}

// Reads the reference lines of a surface; false when the file ends among them.
static bool ac_read_refs(FILE* f, ACObject_t* ob, ACSurface_t* s, int n)
{
    if (n < 0) {
        printf("refs %d at line %d is negative - taken as 0\n", n, ac_line_number);
        n = 0;
    }
    if (!ac_fits(f, n, "refs"))
        return false;
    if (n > 0) {
        s->vertref = (int*)malloc((size_t)n * sizeof(int));
        s->uvs = (float*)malloc((size_t)n * 2 * sizeof(float));
        if (s->vertref == nullptr || s->uvs == nullptr) {
            printf("out of memory for refs %d at line %d\n", n, ac_line_number);
            return false;
        }
    }
    int k = 0;
    for (int i = 0; i < n; i++) {
        if (!ac_read_line(f))
            return false;
        char* end = nullptr;
        long index = strtol(ac_line, &end, 10);
        float u = strtof(end, &end);
        float v = strtof(end, nullptr);
        if (index < 0 || index >= ob->num_vert) {
            printf("vertex %ld at line %d is not one of the object's %d - reference skipped\n", index,
                   ac_line_number, ob->num_vert);
            continue;
        }
        s->vertref[k] = (int)index;
        s->uvs[2 * k] = u;
        s->uvs[2 * k + 1] = v;
        k++;
    }
    s->num_vertref = k;
    if (k >= 3)
        ac_surface_normal(ob, s);
    return true;
}

// Reads one surface up to and including its refs; false when the file ends first.
static bool ac_read_surface(FILE* f, ACObject_t* ob, ACSurface_t* s)
{
    memset(s, 0, sizeof *s);
    while (ac_read_line(f)) {
        if (!ac_split_line())
            continue;
        if (ac_keyword_is("SURF")) {
            if (ac_num_tokens != 2)
                printf("SURF should be followed by one flags argument\n");
            else
                s->flags = ac_to_flags(ac_tokens[1]);
        } else if (ac_keyword_is("mat")) {
            int n = ac_count_token();
            long index = (long)ac_start_matindex + n;
            if (n < 0 || index >= ac_num_palette)
                printf("mat %d at line %d is not in the palette - ignored\n", n, ac_line_number);
            else
                s->mat = (int)index;
        } else if (ac_keyword_is("refs")) {
            return ac_read_refs(f, ob, s, ac_count_token());
        } else {
            printf("ignoring %s\n", ac_keyword);
        }
    }
    return false;
}

static void ac_read_vertices(FILE* f, ACObject_t* ob, int n)
{
    if (!ac_fits(f, n, "numvert"))
        return;
    ACVertex_t* v = (ACVertex_t*)calloc((size_t)n, sizeof(ACVertex_t));
    if (v == nullptr) {
        printf("out of memory for numvert %d at line %d\n", n, ac_line_number);
        ac_at_end = true;
        return;
    }
    free(ob->vertices);
    ob->vertices = v;
    ob->num_vert = n;
    for (int i = 0; i < n; i++) {
        if (!ac_read_line(f)) {
            printf("unexpected end of file after %d of %d vertices at line %d\n", i, n, ac_line_number);
            ob->num_vert = i;
            break;
        }
        char* end = nullptr;
        v[i].x = strtof(ac_line, &end);
        v[i].y = strtof(end, &end);
        v[i].z = strtof(end, nullptr);
    }
    if (ob->num_surf > 0)
        ac_drop_bad_refs(ob);
}

static void ac_read_data(FILE* f, ACObject_t* ob)
{
    if (ac_num_tokens != 2) {
        printf("expected 'data <number>' at line %d\n", ac_line_number);
        return;
    }
    int n = ac_to_int(ac_tokens[1]);
    if (n <= 0 || !ac_fits(f, n, "data", 0))
        return;
    char* text = (char*)malloc((size_t)n + 1);
    if (text == nullptr) {
        printf("out of memory for data %d at line %d\n", n, ac_line_number);
        ac_at_end = true;
        return;
    }
    size_t got = fread(text, 1, (size_t)n, f);
    text[got] = '\0';
    int c;
    while ((c = getc(f)) != EOF && isspace(c))
        ;
    if (c != EOF)
        ungetc(c, f);
    if (ac_line_number < INT_MAX)
        ac_line_number++;
    free(ob->data);
    ob->data = text;
}

static ACObject_t* ac_read_object(FILE* f, int depth);

// Reads the n children of `ob`; a child that cannot be read ends the list there.
static void ac_read_kids(FILE* f, ACObject_t* ob, int n, int depth)
{
    if (depth + 1 >= AC_MAX_DEPTH) {
        printf("objects nested deeper than %d levels at line %d - the rest of the file is ignored\n",
               AC_MAX_DEPTH, ac_line_number);
        ac_at_end = true;
        return;
    }
    // grown as children arrive, so a count the file cannot hold allocates nothing
    int capacity = 0;
    for (int i = 0; i < n; i++) {
        ACObject_t* kid = ac_read_object(f, depth + 1);
        if (kid == nullptr) {
            printf("error reading expected child object %d of %d at line: %d\n", i + 1, n, ac_line_number);
            return;
        }
        if (ob->num_kids == capacity) {
            int more = capacity > n / 2 ? n : (capacity > 0 ? capacity * 2 : 8);
            if (more > n)
                more = n;
            ACObject_t** kids = (ACObject_t**)realloc(ob->kids, (size_t)more * sizeof(ACObject_t*));
            if (kids == nullptr) {
                printf("out of memory for kids %d at line %d\n", n, ac_line_number);
                ac_object_free(kid);
                ac_at_end = true;
                return;
            }
            ob->kids = kids;
            capacity = more;
        }
        ob->kids[ob->num_kids++] = kid;
    }
}

// Reads MATERIAL lines and one object with its descendants; null when the file
// holds no object or the object's surfaces cannot be read.
static ACObject_t* ac_read_object(FILE* f, int depth)
{
    ACObject_t* ob = nullptr;
    while (ac_read_line(f)) {
        if (!ac_split_line())
            continue;
        if (ac_keyword_is("MATERIAL")) {
            ac_read_material();
        } else if (ac_keyword_is("OBJECT")) {
            // an object without kids line is cut off by the next one; nothing can reach it
            ac_object_free(ob);
            ob = ac_new_object(ac_object_type_code(ac_num_tokens > 1 ? ac_tokens[1] : ""));
            if (ob == nullptr) {
                printf("out of memory for OBJECT at line %d\n", ac_line_number);
                return nullptr;
            }
        } else if (ob == nullptr) {
            // other keywords need an object
        } else if (ac_keyword_is("data")) {
            ac_read_data(f, ob);
        } else if (ac_keyword_is("name")) {
            if (ac_num_tokens != 2) {
                printf("expected quoted name at line %d (got %d tokens)\n", ac_line_number, ac_num_tokens);
            } else {
                free(ob->name);
                ob->name = ac_strdup(ac_tokens[1]);
            }
        } else if (ac_keyword_is("texture")) {
            if (ac_num_tokens != 2)
                printf("expected quoted texture name at line %d\n", ac_line_number);
            else
                ob->texture = ac_texture_loader(ac_tokens[1]);
        } else if (ac_keyword_is("texrep")) {
            if (ac_num_tokens != 3) {
                printf("expected 'texrep <float> <float>' at line %d\n", ac_line_number);
            } else {
                ob->texture_repeat_x = ac_to_float(ac_tokens[1]);
                ob->texture_repeat_y = ac_to_float(ac_tokens[2]);
            }
        } else if (ac_keyword_is("texoff")) {
            if (ac_num_tokens != 3) {
                printf("expected 'texoff <float> <float>' at line %d\n", ac_line_number);
            } else {
                ob->texture_offset_x = ac_to_float(ac_tokens[1]);
                ob->texture_offset_y = ac_to_float(ac_tokens[2]);
            }
        } else if (ac_keyword_is("rot")) {
            ac_read_numbers(ob->matrix, 9);
        } else if (ac_keyword_is("loc")) {
            ac_read_numbers(ob->loc, 3);
        } else if (ac_keyword_is("url")) {
            if (ac_num_tokens != 2) {
                printf("expected one arg to url at line %d (got %s)\n", ac_line_number, ac_tokens[0]);
            } else {
                free(ob->url);
                ob->url = ac_strdup(ac_tokens[1]);
            }
        } else if (ac_keyword_is("numvert")) {
            int n = ac_count_token();
            if (n > 0)
                ac_read_vertices(f, ob, n);
        } else if (ac_keyword_is("numsurf")) {
            int n = ac_count_token();
            if (n <= 0)
                continue;
            ACSurface_t* surfaces = nullptr;
            if (ac_fits(f, n, "numsurf"))
                surfaces = (ACSurface_t*)calloc((size_t)n, sizeof(ACSurface_t));
            else
                n = 0;
            if (surfaces == nullptr) {
                printf("error whilst reading surface at line: %d\n", ac_line_number);
                ac_object_free(ob);
                return nullptr;
            }
            ac_free_surfaces(ob);
            ob->surfaces = surfaces;
            ob->num_surf = n;
            for (int i = 0; i < n; i++) {
                if (!ac_read_surface(f, ob, &surfaces[i])) {
                    printf("error whilst reading surface at line: %d\n", ac_line_number);
                    ac_object_free(ob);
                    return nullptr;
                }
            }
        } else if (ac_keyword_is("kids")) {
            int n = ac_count_token();
            if (n > 0)
                ac_read_kids(f, ob, n, depth);
            return ob;
        }
    }
    return ob;
}

static void ac_free_palette_names()
{
    for (int i = 0; i < AC_PALETTE_SIZE; i++) {
        free(ac_palette[i].name);
        ac_palette[i].name = nullptr;
    }
}

ACObject_t* ac_load_ac3d(char* filename)
{
    assert(filename != nullptr);
    FILE* f = fopen(filename, "r");
    if (f == nullptr) {
        printf("can't open %s\n", filename);
        return nullptr;
    }
    struct stat st;
    ac_file_size = (fstat(fileno(f), &st) == 0 && S_ISREG(st.st_mode)) ? (long)st.st_size : -1;
    ac_at_end = false;

    if (!ac_read_line(f) || strncmp(ac_line, "AC3D", 4) != 0) {
        printf("ac_load_ac '%s' is not a valid AC3D file.", filename);
        fclose(f);
        return nullptr;
    }
    ac_start_matindex = ac_num_palette;
    ACObject_t* ob = ac_read_object(f, 0);
    fclose(f);
    if (ob != nullptr)
        ac_vertex_normals(ob);
    return ob;
}

void ac_object_free(ACObject_t* object)
{
    if (object == nullptr)
        return;
    for (int i = 0; i < object->num_kids; i++)
        ac_object_free(object->kids[i]);
    free(object->vertices);
    ac_free_surfaces(object);
    free(object->kids);
    free(object->data);
    free(object->url);
    free(object->name);
    free(object);
}

ACMaterial_t* ac_palette_get_material(int index)
{
    assert(index >= 0 && index < AC_PALETTE_SIZE);
    return &ac_palette[index];
}

void ac_object_dump(ACObject_t* object)
{
    assert(object != nullptr);
    // glibc's own spelling of a null string, without handing it a null
    printf("OBJECT name %s\nloc %f %f %f\nnum_vert %d\nnum_surf %d\n",
           object->name != nullptr ? object->name : "(null)", object->loc[0], object->loc[1], object->loc[2],
           object->num_vert, object->num_surf);
    for (int i = 0; i < object->num_vert; i++) {
        const ACVertex_t& v = object->vertices[i];
        printf("\tv %f %f %f\n", v.x, v.y, v.z);
    }
    for (int i = 0; i < object->num_surf; i++) {
        const ACSurface_t& s = object->surfaces[i];
        printf("surface %d, %d refs, mat %d\n", i, s.num_vertref, s.mat);
    }
    for (int i = 0; i < object->num_kids; i++)
        ac_object_dump(object->kids[i]);
}

int ac_palette_count(void)
{
    return ac_num_palette;
}

void ac_set_texture_loader(int (*loader)(char* filename))
{
    assert(loader != nullptr);
    ac_texture_loader = loader;
}

void ac_reset_for_tests(void)
{
    ac_free_palette_names();
    memset(ac_palette, 0, sizeof ac_palette);
    ac_num_palette = 0;
    ac_start_matindex = 0;
    ac_line_number = 0;
}
