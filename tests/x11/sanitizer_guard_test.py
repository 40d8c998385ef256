#!/usr/bin/env python3
"""The sanitizer guard lets exactly one failure through: the leak checker's tracer crashing
at exit after a full pass with nothing reported. Each row runs a stand-in program that prints
what a sanitized test prints and ends as it would, through the real guard script."""
import os
import subprocess
import sys

GUARD = sys.argv[1]

PASSED = "[==========] 3 tests ran.\n[  PASSED  ] 3 tests.\n"
FAILED = "[==========] 3 tests ran.\n[  PASSED  ] 2 tests.\n[  FAILED  ] 1 test, listed below:\n"
TRACER = ("Tracer caught signal 11: addr=0x0 pc=0x7f00 sp=0x7f00\n"
          "==4242==LeakSanitizer has encountered a fatal error.\n")
LEAK = ("==4242==ERROR: LeakSanitizer: detected memory leaks\n"
        "Direct leak of 24 byte(s) in 1 object(s) allocated from:\n")
ASAN = "==4242==ERROR: AddressSanitizer: heap-use-after-free on address 0x602000000010\n"
UBSAN = "engine/CalcEngine.cpp:12:3: runtime error: signed integer overflow\n"

# name, stdout, stderr, how the program ends ("abort" or an exit status), guard's verdict
ROWS = [
    ("a clean pass stays a pass", PASSED, "", 0, True),
    ("the tracer's crash after a full pass is let through", PASSED, TRACER, "abort", True),
    ("the tracer's crash with exit status 1 is let through", PASSED, TRACER, 1, True),
    ("a leak report fails even with the tracer's message", PASSED, LEAK + TRACER, "abort", False),
    ("a plain leak report fails", PASSED, LEAK, 23, False),
    ("an address error fails", PASSED, ASAN + TRACER, "abort", False),
    ("undefined behaviour fails", PASSED, UBSAN + TRACER, "abort", False),
    ("a failed test fails even if the tracer crashed", FAILED, TRACER, "abort", False),
    ("a failed test fails", FAILED, "", 1, False),
    ("no test summary at all fails", "", TRACER, "abort", False),
    ("another crash after a pass fails", PASSED, "Segmentation fault\n", "abort", False),
    ("the fatal error without the tracer's signal fails", PASSED,
     "==4242==LeakSanitizer has encountered a fatal error.\n", "abort", False),
]

STAND_IN = r"""
import os, signal, sys
sys.stdout.write(sys.argv[1]); sys.stdout.flush()
sys.stderr.write(sys.argv[2]); sys.stderr.flush()
if sys.argv[3] == "abort":
    signal.signal(signal.SIGABRT, signal.SIG_DFL)
    os.abort()
sys.exit(int(sys.argv[3]))
"""

failures = []
for name, out, err, end, passes in ROWS:
    run = subprocess.run([sys.executable, GUARD, sys.executable, "-c", STAND_IN, out, err, str(end)],
                         capture_output=True, text=True, timeout=60)
    if (run.returncode == 0) != passes:
        failures.append(f"{name}: guard exited {run.returncode}")
    # What the program printed reaches the log unchanged.
    if out not in run.stdout or err not in run.stderr:
        failures.append(f"{name}: the program's output did not pass through")
    if not passes and end == "abort" and run.returncode != 128 + 6:
        failures.append(f"{name}: an abort should end the guard as 134, not {run.returncode}")

for f in failures:
    print("FAIL:", f)
print(f"{len(ROWS) - len(failures)} of {len(ROWS)} rows as expected" if not failures else "")
sys.exit(1 if failures else 0)
