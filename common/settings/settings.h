// What a player changed and the game keeps for the next run, one small file
// per game under $XDG_CONFIG_HOME/zarkons (or ~/.config/zarkons):
//
//   # Space Zarkons 3D: settings kept between runs
//   sound=on
//   fullscreen=off
//
// A missing file gives the defaults (sound on, in a window). A damaged or
// unreadable file gives the defaults as well, after one line on stderr; so
// does a place where nothing can be written, and the game plays on. The file
// is replaced atomically, never left half written.
#pragma once

#include <cstddef>
#include <string>

struct zk_settings_t {
    bool sound = true;
    bool fullscreen = false;
};

const size_t kSettingsMaxBytes = 4096; // a bigger file is not ours

// The settings file of a game ("tie-zarkons" gives .../zarkons/tie-zarkons.conf);
// false, with the reason in *why, when neither XDG_CONFIG_HOME nor HOME names a home.
bool zk_settings_path(const char* game, std::string* path, std::string* why);

// Reads the file's text: false, with the first fault in *why, when it is
// damaged. Keys a later version may add are passed over.
bool zk_settings_parse(const char* text, size_t size, zk_settings_t* out, std::string* why);
std::string zk_settings_format(const zk_settings_t& s);

// Reads a game's settings (the defaults when there are none, or on a fault,
// said on stderr) and keeps them, with the game's name, for the calls below.
zk_settings_t zk_settings_load(const char* game);
// Change one setting of the loaded game; the file is written again when it
// changed (a failure is one line on stderr, once a run).
void zk_settings_set_sound(bool on);
void zk_settings_set_fullscreen(bool on);
