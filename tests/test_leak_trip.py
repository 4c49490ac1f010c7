#!/usr/bin/env python3
"""test.sh runs a failed test again only when the leak checker tripped at
exit and nothing else failed: never a test that found a fault."""
import os
import subprocess
import sys
import tempfile

SCRIPT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "leak_trip.py")
TRIP = ("[  PASSED  ] 1 test.\nTracer caught signal 11: addr=0x820 pc=0x1 sp=0x2\n"
        "==1==LeakSanitizer has encountered a fatal error.\n")


def case(name, status, out):
    fail = '<failure message="Failed"/>' if status == "fail" else ""
    out = out.replace("&", "&amp;").replace("<", "&lt;")
    return '<testcase name="%s" status="%s">%s<system-out>%s</system-out></testcase>' % (name, status, fail, out)


def run(*cases):
    with tempfile.NamedTemporaryFile("w", suffix=".xml", delete=False) as f:
        f.write('<?xml version="1.0"?><testsuite name="x">%s</testsuite>' % "".join(cases))
    r = subprocess.run([sys.executable, SCRIPT, f.name], capture_output=True, text=True)
    os.unlink(f.name)
    return r.returncode, r.stdout.split()


failures = []


def expect(what, got, want):
    if got != want:
        failures.append("%s: got %r, want %r" % (what, got, want))


ok = case("a.Ok", "run", "[  PASSED  ] 1 test.\n")
expect("only trips: those are named", run(ok, case("a.T1", "fail", TRIP), case("b.T2", "fail", TRIP)),
       (0, ["a.T1", "b.T2"]))
expect("a trip next to a real failure: nothing again",
       run(case("a.T1", "fail", TRIP), case("a.F", "fail", "x.cpp:3: Failure\n[  FAILED  ] 1 test\n")),
       (1, []))
expect("a trip in a test that failed too", run(case("a.T", "fail", "x.cpp:3: Failure\n" + TRIP)), (1, []))
expect("a real leak report with the trip", run(case("a.L", "fail", "ERROR: LeakSanitizer: detected memory leaks\n"
                                                     + TRIP)), (1, []))
expect("a crash", run(case("a.C", "fail", "ERROR: AddressSanitizer: SEGV\n")), (1, []))
expect("a timeout or a failed script says nothing of the trip", run(case("a.S", "fail", "")), (1, []))
expect("no failure: nothing to run again", run(ok), (0, []))
for f in failures:
    print("FAIL: " + f)
sys.exit(1 if failures else 0)
