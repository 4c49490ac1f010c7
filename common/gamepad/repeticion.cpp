// Presses, releases and the held button's repeat, from two polls' buttons.
#include "repeticion.h"

#include <cassert>

// --- helpers ---

// The held repeating button pressed last, -1 if none.
static int ultimoPulsado(const zk_pad_repeat_t* r, unsigned mascara)
{
    int ultimo = -1;
    for (int b = 0; b < ZK_PAD_BUTTONS; b++) {
        if (!r->held[b] || (mascara & zk_pad_bit((zk_pad_button_t)b)) == 0)
            continue;
        if (ultimo < 0 || r->pressed_at[b] >= r->pressed_at[ultimo])
            ultimo = b;
    }
    return ultimo;
}

// --- public functions ---

void zk_pad_feed(zk_pad_repeat_t* r, const bool held[ZK_PAD_BUTTONS], long long now_ms,
                 unsigned repeating_mask, zk_pad_handler_t handler)
{
    assert(r != nullptr && held != nullptr && handler != nullptr);
    bool soltoElQueRepetia = false;
    for (int b = 0; b < ZK_PAD_BUTTONS; b++) {
        if (r->held[b] && !held[b]) {
            r->held[b] = false;
            soltoElQueRepetia = soltoElQueRepetia || b == r->repeating;
            handler((zk_pad_button_t)b, ZK_PAD_RELEASE);
        }
    }
    for (int b = 0; b < ZK_PAD_BUTTONS; b++) {
        if (!r->held[b] && held[b]) {
            r->held[b] = true;
            r->pressed_at[b] = now_ms;
            handler((zk_pad_button_t)b, ZK_PAD_PRESS);
            if ((repeating_mask & zk_pad_bit((zk_pad_button_t)b)) != 0) {
                r->repeating = b;
                r->next_repeat = now_ms + ZK_PAD_REPEAT_DELAY_MS;
            }
        }
    }
    if (r->repeating >= 0 && !r->held[r->repeating])
        soltoElQueRepetia = true;
    if (soltoElQueRepetia) {
        // a button held all along goes on at the repeat's pace, without a
        // second delay; one pressed a moment ago still waits out its own
        r->repeating = ultimoPulsado(r, repeating_mask);
        if (r->repeating >= 0) {
            const long long desdeSuPulsacion = r->pressed_at[r->repeating] + ZK_PAD_REPEAT_DELAY_MS;
            const long long alPaso = now_ms + ZK_PAD_REPEAT_MS;
            r->next_repeat = desdeSuPulsacion > alPaso ? desdeSuPulsacion : alPaso;
        }
    }
    if (r->repeating < 0 || now_ms < r->next_repeat)
        return;
    r->next_repeat += ZK_PAD_REPEAT_MS;
    // after a stall the repeat goes on at its pace, not in a burst
    if (r->next_repeat <= now_ms)
        r->next_repeat = now_ms + ZK_PAD_REPEAT_MS;
    handler((zk_pad_button_t)r->repeating, ZK_PAD_REPEAT);
}
