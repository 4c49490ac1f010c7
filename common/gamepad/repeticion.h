// The keyboard's repeat for the pad's buttons: what was held at the last
// poll against what is held now, and which held button repeats. Kept apart
// from SDL so its timing stands on its own.
#pragma once

#include "gamepad.h"

struct zk_pad_repeat_t {
    bool held[ZK_PAD_BUTTONS] = {};
    long long pressed_at[ZK_PAD_BUTTONS] = {}; // when each held button went down
    int repeating = -1;                        // the button that repeats, -1 none
    long long next_repeat = 0;                 // when it repeats next
};

// Compares `held` with the last poll's: releases first, then presses, then at
// most one repeat, each told to `handler`. As with keys, only the button
// pressed last of those in `repeating_mask` repeats; when it is let go, the
// one pressed before it and still held takes over.
void zk_pad_feed(zk_pad_repeat_t* r, const bool held[ZK_PAD_BUTTONS], long long now_ms,
                 unsigned repeating_mask, zk_pad_handler_t handler);
