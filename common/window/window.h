// Tells the desktop whose window the game's main window is: its class (which
// ties it to the game's menu entry), the process that owns it, and its icon.
// GLUT has no call for any of these; they go to the X window through Xlib.
#pragma once

#include <cstddef>
#include <cstdint>

// Sets WM_CLASS (instance and class both `name`, as the game's .desktop file
// says), WM_CLIENT_MACHINE with _NET_WM_PID, and _NET_WM_ICON on the window
// of the current GL context, which GLUT makes the window it just created.
// `icon` is what _NET_WM_ICON holds: for each size its width, its height and
// then its pixels, 0xAARRGGBB, row by row. False when there is no X window
// to name (nothing is set then).
bool zk_window_identify(const char* name, const uint32_t* icon, size_t words);
