// Draws loaded AC3D trees with fixed-function OpenGL and compiles them into display lists.
#include "ac3d.h"

#include "texture.h" // ac_texture_name

#include <GL/gl.h>

#include <cassert>

// What the renderer last sent; a later draw skips the call when it would repeat it.
// Never reset: list compilations share them with direct drawing.
static int ac_last_material = -1;
static int ac_last_faded_material = -1;
static int ac_last_texture = -1;

// Sends one material with alpha a, blending when it is see-through.
static void ac_send_material(const ACMaterial_t* m, float a)
{
    const GLfloat diffuse[4] = {m->rgb[0], m->rgb[1], m->rgb[2], a};
    const GLfloat ambient[4] = {m->ambient[0], m->ambient[1], m->ambient[2], a};
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuse);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, ambient);
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, m->emissive);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, m->specular);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SHININESS, &m->shininess);
    if (a < 1.0f) {
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glEnable(GL_BLEND);
    } else {
        glDisable(GL_BLEND);
    }
}

static void ac_set_material(int index)
{
    if (index == ac_last_material)
        return;
    ac_last_material = index;
    const ACMaterial_t* m = ac_palette_get_material(index);
    ac_send_material(m, 1.0f - m->transparency);
}

// Remembered by index only: the same material with another displacement is not resent.
static void ac_set_faded_material(int index, float d)
{
    if (index == ac_last_faded_material)
        return;
    ac_last_faded_material = index;
    const ACMaterial_t* m = ac_palette_get_material(index);
    float a = (float)((1.0 - m->transparency) - d / 3.0);
    if (a < 0.0f)
        a = 0.0f;
    ac_send_material(m, a);
}

static void ac_set_line_colour(int index) { glColor3fv(ac_palette_get_material(index)->rgb); }

// The texture coordinate of a surface's r-th vertex, repeat and offset applied.
static void ac_tex_coord(const ACObject_t* ob, const ACSurface_t* s, int r)
{
    glTexCoord2f(ob->texture_repeat_x * s->uvs[2 * r] + ob->texture_offset_x,
                 ob->texture_repeat_y * s->uvs[2 * r + 1] + ob->texture_offset_y);
}

static void ac_draw_surface(const ACObject_t* ob, const ACSurface_t* s, float d)
{
    glNormal3fv(s->normal);
    if (s->flags & AC_SURF_TWO_SIDED)
        glDisable(GL_CULL_FACE);
    else
        glEnable(GL_CULL_FACE);

    switch (s->flags & AC_SURF_KIND_MASK) {
    case AC_SURF_CLOSED_LINE:
        glDisable(GL_LIGHTING);
        glBegin(GL_LINE_LOOP);
        ac_set_line_colour(s->mat);
        break;
    case AC_SURF_OPEN_LINE:
        glDisable(GL_LIGHTING);
        glBegin(GL_LINE_STRIP);
        ac_set_line_colour(s->mat);
        break;
    default:
        glEnable(GL_LIGHTING);
        if (d == 0.0f)
            ac_set_material(s->mat);
        else
            ac_set_faded_material(s->mat, d);
        glBegin(s->num_vertref == 3 ? GL_TRIANGLE_STRIP : GL_POLYGON);
        break;
    }
        for (int r = 0; r < s->num_vertref; r++) {
            int i = s->vertref[r];
            assert(i >= 0 && i < ob->num_vert);
            const ACVertex_t& v = ob->vertices[i];
            if (ob->texture >= 0)
                ac_tex_coord(ob, s, r);
            if (s->flags & AC_SURF_SMOOTH)
                glNormal3fv(v.normal);
            const GLfloat p[3] = {v.x + d * v.normal[0], v.y + d * v.normal[1], v.z + d * v.normal[2]};
            glVertex3fv(p);
        }
    glEnd();
}

static void ac_draw_object(const ACObject_t* ob, float d)
{
    assert(ob != nullptr);
    glPushMatrix();
        // the rotation matrix is kept in the tree but not drawn
        glTranslated(ob->loc[0], ob->loc[1], ob->loc[2]);
        if (ob->texture != -1) {
            glEnable(GL_TEXTURE_2D);
            if (ob->texture != ac_last_texture) {
                glBindTexture(GL_TEXTURE_2D, ac_texture_name(ob->texture));
                ac_last_texture = ob->texture;
            }
        } else {
            glDisable(GL_TEXTURE_2D);
        }
        for (int i = 0; i < ob->num_surf; i++)
            ac_draw_surface(ob, &ob->surfaces[i], d);
        // inside this object's matrix: a child's location is relative to its parent
        for (int i = 0; i < ob->num_kids; i++)
            ac_draw_object(ob->kids[i], d);
    glPopMatrix();
}

void ac_prepare_render(void)
{
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_DEPTH_TEST);
    glShadeModel(GL_SMOOTH);
    glDisable(GL_COLOR_MATERIAL);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
}

void ac_render_object(ACObject_t* object) { ac_draw_object(object, 0.0f); }

void ac_render_object_explosion(ACObject_t* object, float displacement)
{
    ac_draw_object(object, displacement);
}

int ac_display_list_render_object(ACObject_t* object)
{
    GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
        ac_render_object(object);
    glEndList();
    return (int)list;
}

// --- batched lists ---

// What a batched list has set so far; -1 (or 2 for the flags) until it sets it,
// so the list never leans on what was drawn before it.
struct ACBatchState {
    int material = -1;
    int texture = -1;
    int cull = 2, lighting = 2;
    bool open = false;     // inside glBegin(GL_TRIANGLES)
    bool edgeFlags = false; // the open run hid inner edges of a fan
};

static void ac_batch_close(ACBatchState& st)
{
    if (st.open)
        glEnd();
    // set outside the run, or the list may leave the flag off behind it and
    // every later wireframe triangle without its edges
    if (st.edgeFlags)
        glEdgeFlag(GL_TRUE);
    st.open = false;
    st.edgeFlags = false;
}

static void ac_batch_flag(int& memo, int want, GLenum cap)
{
    if (memo == want)
        return;
    memo = want;
    if (want)
        glEnable(cap);
    else
        glDisable(cap);
}

// One vertex as ac_draw_surface sends it, flat normals given per vertex.
static void ac_batch_vertex(const ACObject_t* ob, const ACSurface_t* s, int r)
{
    int i = s->vertref[r];
    assert(i >= 0 && i < ob->num_vert);
    const ACVertex_t& v = ob->vertices[i];
    if (ob->texture >= 0)
        ac_tex_coord(ob, s, r);
    glNormal3fv(s->flags & AC_SURF_SMOOTH ? v.normal : s->normal);
    glVertex3f(v.x, v.y, v.z);
}

static void ac_batch_surface(const ACObject_t* ob, const ACSurface_t* s, ACBatchState& st)
{
    const int kind = s->flags & AC_SURF_KIND_MASK;
    const int cull = (s->flags & AC_SURF_TWO_SIDED) ? 0 : 1;
    const bool polygon = kind != AC_SURF_CLOSED_LINE && kind != AC_SURF_OPEN_LINE;
    // a run goes on while nothing that cannot change inside glBegin changes
    if (st.open && (!polygon || cull != st.cull || s->mat != st.material))
        ac_batch_close(st);
    if (!st.open) {
        glNormal3fv(s->normal);
        ac_batch_flag(st.cull, cull, GL_CULL_FACE);
        ac_batch_flag(st.lighting, polygon ? 1 : 0, GL_LIGHTING);
    }
    if (!polygon) {
        glBegin(kind == AC_SURF_CLOSED_LINE ? GL_LINE_LOOP : GL_LINE_STRIP);
            ac_set_line_colour(s->mat);
            for (int r = 0; r < s->num_vertref; r++)
                ac_batch_vertex(ob, s, r);
        glEnd();
        return;
    }
    if (!st.open) {
        if (s->mat != st.material) {
            st.material = s->mat;
            const ACMaterial_t* m = ac_palette_get_material(s->mat);
            ac_send_material(m, 1.0f - m->transparency);
        }
        glBegin(GL_TRIANGLES);
        st.open = true;
    }
    if (s->num_vertref == 3) {
        // a three-vertex strip is this very triangle
        for (int r = 0; r < 3; r++)
            ac_batch_vertex(ob, s, r);
        return;
    }
    // A polygon becomes a fan around its first vertex, which goes last in each
    // triangle: the same turn, and flat shading still takes that vertex's
    // colour. The edge flags keep the fan's inner edges out of the wireframe.
    const int n = s->num_vertref;
    st.edgeFlags = true;
    for (int r = 1; r + 1 < n; r++) {
        glEdgeFlag(GL_TRUE);
        ac_batch_vertex(ob, s, r);
        glEdgeFlag(r + 1 == n - 1 ? GL_TRUE : GL_FALSE);
        ac_batch_vertex(ob, s, r + 1);
        glEdgeFlag(r == 1 ? GL_TRUE : GL_FALSE);
        ac_batch_vertex(ob, s, 0);
    }
    glEdgeFlag(GL_TRUE);
}

static void ac_batch_object(const ACObject_t* ob, ACBatchState& st)
{
    assert(ob != nullptr);
    ac_batch_close(st);
    glPushMatrix();
        glTranslated(ob->loc[0], ob->loc[1], ob->loc[2]);
        if (ob->texture != -1) {
            glEnable(GL_TEXTURE_2D);
            if (ob->texture != st.texture) {
                glBindTexture(GL_TEXTURE_2D, ac_texture_name(ob->texture));
                st.texture = ob->texture;
            }
        } else {
            glDisable(GL_TEXTURE_2D);
        }
        for (int i = 0; i < ob->num_surf; i++)
            ac_batch_surface(ob, &ob->surfaces[i], st);
        ac_batch_close(st);
        for (int i = 0; i < ob->num_kids; i++)
            ac_batch_object(ob->kids[i], st);
    glPopMatrix();
}

int ac_display_list_batched(ACObject_t* object)
{
    GLuint list = glGenLists(1);
    ACBatchState st;
    glNewList(list, GL_COMPILE);
        ac_batch_object(object, st);
    glEndList();
    return (int)list;
}

int ac_load_and_render_ac3d(char* filename)
{
    ACObject_t* object = ac_load_ac3d(filename);
    if (object == nullptr)
        return -1;
    int list = ac_display_list_render_object(object);
    // the list holds every call; nobody else has the tree, so keeping it would only leak it
    ac_object_free(object);
    return list;
}
