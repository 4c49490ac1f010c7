#!/usr/bin/env python3
"""Reads ctest's JUnit report and prints, one a line, the failed tests whose
only fault is the leak checker's own trip at exit: it could not stop the GL
driver's threads to look at their stacks, and so never looked for leaks at
all. Exits 1 (printing nothing) when any failed test failed for another
reason: those are real failures, and nothing is run again.

  leak_trip.py REPORT.xml
"""
import sys
import xml.etree.ElementTree as ET

# what the leak checker prints when it cannot suspend the other threads
TRIP = "LeakSanitizer has encountered a fatal error"
# any of these means the test found a fault of its own
FAULTS = ("ERROR: AddressSanitizer", "ERROR: LeakSanitizer: detected", "runtime error:",
          "[  FAILED  ]", "Failure\n")


def tripped(out):
    return TRIP in out and not any(f in out for f in FAULTS)


def main(path):
    failed = []
    for case in ET.parse(path).getroot().iter("testcase"):
        if case.get("status") != "fail" and case.find("failure") is None:
            continue
        out = "".join(e.text or "" for e in case.iter() if e.tag in ("system-out", "failure"))
        failed.append((case.get("name"), tripped(out)))
    if any(not t for _, t in failed):
        return 1
    for name, _ in failed:
        print(name)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
