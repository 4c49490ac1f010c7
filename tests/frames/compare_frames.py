#!/usr/bin/python3
"""Compares two folders of frames (tools/reference_frames.sh makes them).

A frame passes when at most 0.5 % of its pixels differ by more than 8 levels
in any channel: what a different tessellation or order of rasterisation can
explain, and far less than any shape, colour or text that moved.

Usage: compare_frames.py REFERENCE_DIR FRAMES_DIR [SIDE_BY_SIDE_DIR]
"""
import os
import sys

from PIL import Image, ImageChops

LEVELS = 8
SHARE = 0.005


def differing(a, b):
    """Pixels of two same-sized RGB images that differ by more than LEVELS."""
    diff = ImageChops.difference(a, b).split()
    worst = ImageChops.lighter(ImageChops.lighter(diff[0], diff[1]), diff[2])
    return sum(worst.point(lambda v: 255 if v > LEVELS else 0).histogram()[255:])


def main(argv):
    if len(argv) not in (3, 4):
        print(__doc__.strip(), file=sys.stderr)
        return 2
    ref_dir, cur_dir = argv[1], argv[2]
    side_dir = argv[3] if len(argv) == 4 else None
    names = sorted(n for n in os.listdir(ref_dir) if n.endswith(".png"))
    if not names:
        print(f"no reference frames in {ref_dir}", file=sys.stderr)
        return 1
    failed = 0
    for name in names:
        cur_path = os.path.join(cur_dir, name)
        if not os.path.exists(cur_path):
            print(f"{name}: missing from {cur_dir}")
            failed += 1
            continue
        ref = Image.open(os.path.join(ref_dir, name)).convert("RGB")
        cur = Image.open(cur_path).convert("RGB")
        if ref.size != cur.size:
            print(f"{name}: size {cur.size}, reference {ref.size}")
            failed += 1
            continue
        n = differing(ref, cur)
        share = n / (ref.size[0] * ref.size[1])
        verdict = "ok" if share <= SHARE else "DIFFERS"
        failed += verdict != "ok"
        print(f"{name}: {n} pixels ({100 * share:.3f} %) differ by more than {LEVELS} levels: {verdict}")
        if side_dir:
            os.makedirs(side_dir, exist_ok=True)
            both = Image.new("RGB", (ref.size[0] * 2, ref.size[1]))
            both.paste(ref, (0, 0))
            both.paste(cur, (ref.size[0], 0))
            both.save(os.path.join(side_dir, name))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
