// The desktop's view of a real freeglut window once the game has named it.
#include "gl_test.h"
#include "window.h"

#include <GL/glx.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <gtest/gtest.h>

#include <string>
#include <unistd.h>
#include <vector>

namespace {

// A 32-bit property of the window as Xlib hands it back (one long an item).
std::vector<long> propiedad(Display* dpy, Window win, const char* nombre)
{
    Atom tipo;
    int formato;
    unsigned long n, resto;
    unsigned char* datos = nullptr;
    std::vector<long> v;
    if (XGetWindowProperty(dpy, win, XInternAtom(dpy, nombre, False), 0, 1 << 20, False, XA_CARDINAL, &tipo,
                           &formato, &n, &resto, &datos) == Success && datos != nullptr) {
        if (formato == 32)
            v.assign((long*)datos, (long*)datos + n);
        XFree(datos);
    }
    return v;
}

} // namespace

class Ventana : public zk::GlTest {};

TEST_F(Ventana, ClassOwnerAndEveryIconSizeReachTheWindow)
{
    // two sizes, the second with a pixel whose top bit is set (it must not
    // come back sign-extended or cut)
    std::vector<uint32_t> icono = {1, 1, 0xff102030, 2, 1, 0x80ffffff, 0x00000000};
    ASSERT_TRUE(zk_window_identify("zk-prueba", icono.data(), icono.size()));
    Display* dpy = glXGetCurrentDisplay();
    const Window win = (Window)glXGetCurrentDrawable();

    XClassHint hint;
    ASSERT_NE(XGetClassHint(dpy, win, &hint), 0);
    EXPECT_STREQ(hint.res_name, "zk-prueba");
    EXPECT_STREQ(hint.res_class, "zk-prueba");
    XFree(hint.res_name);
    XFree(hint.res_class);

    EXPECT_EQ(propiedad(dpy, win, "_NET_WM_PID"), std::vector<long>{(long)getpid()});
    XTextProperty maquina;
    ASSERT_NE(XGetWMClientMachine(dpy, win, &maquina), 0);
    char nombre[256] = {};
    gethostname(nombre, sizeof nombre - 1);
    EXPECT_EQ(std::string((const char*)maquina.value, maquina.nitems), nombre);
    XFree(maquina.value);

    const std::vector<long> visto = propiedad(dpy, win, "_NET_WM_ICON");
    ASSERT_EQ(visto.size(), icono.size());
    for (size_t i = 0; i < icono.size(); i++)
        EXPECT_EQ((uint32_t)visto[i], icono[i]) << i;
}
