// The window's name, owner and icon for the desktop, set once through Xlib.
#include "window.h"

#include <GL/glx.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cassert>
#include <climits>
#include <string>
#include <unistd.h>
#include <vector>

bool zk_window_identify(const char* name, const uint32_t* icon, size_t words)
{
    assert(name != nullptr && (icon != nullptr || words == 0));
    Display* dpy = glXGetCurrentDisplay();
    const Window win = (Window)glXGetCurrentDrawable();
    if (dpy == nullptr || win == None)
        return false;

    std::string instancia = name, clase = name;
    XClassHint hint;
    hint.res_name = &instancia[0];
    hint.res_class = &clase[0];
    XSetClassHint(dpy, win, &hint);

    // the process id means something only with the machine it runs on
    char maquina[HOST_NAME_MAX + 1] = {};
    if (gethostname(maquina, sizeof maquina - 1) == 0) {
        char* lista[] = {maquina};
        XTextProperty texto;
        if (XStringListToTextProperty(lista, 1, &texto) != 0) {
            XSetWMClientMachine(dpy, win, &texto);
            XFree(texto.value);
        }
    }
    const long pid = (long)getpid();
    XChangeProperty(dpy, win, XInternAtom(dpy, "_NET_WM_PID", False), XA_CARDINAL, 32, PropModeReplace,
                    (const unsigned char*)&pid, 1);

    if (words > 0) {
        // Xlib passes 32-bit items as longs, whatever a long's size
        std::vector<long> datos(icon, icon + words);
        XChangeProperty(dpy, win, XInternAtom(dpy, "_NET_WM_ICON", False), XA_CARDINAL, 32,
                        PropModeReplace, (const unsigned char*)datos.data(), (int)datos.size());
    }
    XFlush(dpy);
    return true;
}
