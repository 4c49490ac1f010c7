// Gamepads shared by both games: SDL2's game-controller layer knows the
// layout of each pad, so its buttons are named by their place (south, east,
// Start), whatever letters the pad prints on them. The games see presses,
// repeats and releases, as they see keys. Every call is safe whether or not
// SDL or a pad is there: without one the game plays on as it always did.
#pragma once

// What the games read of a pad. The four directions come from the d-pad or
// the left stick, whichever is pushed.
enum zk_pad_button_t {
    ZK_PAD_UP,
    ZK_PAD_DOWN,
    ZK_PAD_LEFT,
    ZK_PAD_RIGHT,
    ZK_PAD_SOUTH,         // A on most pads, the cross on others
    ZK_PAD_EAST,          // B, the circle
    ZK_PAD_START,
    ZK_PAD_BACK,          // Back, Select, Share
    ZK_PAD_RIGHT_TRIGGER, // pulled past the dead zone
    ZK_PAD_BUTTONS        // how many there are
};

enum zk_pad_event_t {
    ZK_PAD_PRESS,
    ZK_PAD_REPEAT, // held, at the keyboard's repeat
    ZK_PAD_RELEASE
};

typedef void (*zk_pad_handler_t)(zk_pad_button_t button, zk_pad_event_t event);

// The bit of a button in the mask of those that repeat.
inline unsigned zk_pad_bit(zk_pad_button_t b) { return 1u << (unsigned)b; }

// The keyboard's repeat: the first repeat this long after the press, then
// one every kRepeatMs; a stick or trigger counts past this share of its travel.
const int ZK_PAD_REPEAT_DELAY_MS = 250;
const int ZK_PAD_REPEAT_MS = 33;
const int ZK_PAD_DEAD_ZONE = 32767 * 3 / 10;

// Starts SDL's controller subsystem (mappings from SDL_GAMECONTROLLERCONFIG
// and SDL_GAMECONTROLLERCONFIG_FILE, as SDL reads them) and arms the GLUT
// timer that polls it; the handler gets every event from then on. Buttons in
// `repeating` repeat while held, as a held key does. False, quietly, when
// SDL's controller subsystem cannot start: then nothing is ever armed.
bool zk_pad_start(zk_pad_handler_t handler, unsigned repeating);
// One poll at `now_ms` (any monotonic milliseconds): plugs and unplugs, then
// the events of what changed. The timer calls it; tests call it too.
void zk_pad_poll(long long now_ms);
// True while a pad is open.
bool zk_pad_connected();
// Closes the pad and SDL's controllers without a word to the handler; safe
// to call more than once. The games never call it: at their exit the system
// takes the pad back, and nothing of SDL's is left to wait on.
void zk_pad_stop();
