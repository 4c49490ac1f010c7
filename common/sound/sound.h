// Sound shared by both games: effects synthesised in memory at start-up from
// a few numbers each, played through OpenAL from a small pool of sources.
// Every call is safe whether or not a device could be opened: without one the
// game simply plays on in silence.
#pragma once

#include "synth.h"

// Takes every "--mute" out of argv (before glutInit sees it); true if any.
bool zk_sound_take_mute(int* argc, char** argv);

// Renders the effects (table order is their number for the play calls) and,
// unless muted, opens the default OpenAL device. A device that cannot be
// opened leaves the game silent after one line on stderr. Closing is
// registered with atexit, since the games end with exit().
void zk_sound_open(const zk_effect_t* effects, int count, bool muted);
// Stops every sound and closes the device; safe to call more than once.
void zk_sound_close();

// Plays an effect at a point of the world, heard from the listener.
void zk_sound_play_at(int effect, float x, float y, float z);
// Plays an effect beside the listener: pan -1 is full left, 1 full right.
void zk_sound_play_pan(int effect, float pan);
// Places the listener: its eye, the point it looks at and its up vector.
void zk_sound_listener(const float eye[3], const float at[3], const float up[3]);

// Mutes or unmutes; unmuting a game started muted opens the device then.
void zk_sound_set_muted(bool muted);
bool zk_sound_muted();
// Holds all sound while the game's window is hidden: what plays stops and
// new sounds are dropped until released; the mute setting stays as it was.
void zk_sound_hold(bool held);
// True while a device is open and sounds can be heard.
bool zk_sound_active();
