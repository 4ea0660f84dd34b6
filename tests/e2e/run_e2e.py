#!/usr/bin/env python3
"""Runs the end-to-end tests: every test_* function of every tests/e2e/test_*.py file.

Usage: run_e2e.py [NAME_PART ...]   runs only the tests whose name contains one of the parts.
Needs $DISPLAY (run it inside xvfb-run) and $WINEPREFIX. Prints one line per test and a
closing line "N passed, N failed"; the exit code is 0 only when every test passed.
"""
import importlib.util
import inspect
import os
import shutil
import signal
import sys
import time
import traceback

import harness

HERE = os.path.dirname(os.path.abspath(__file__))
TEST_TIMEOUT = 180  # no single test may run longer, whatever hangs, unless harness.time_limit says so


class TestTimeout(Exception):
    pass


def on_alarm(signum, frame):
    raise TestTimeout("the test ran longer than its time limit")


def discover(filters):
    tests = []
    for file_name in sorted(os.listdir(HERE)):
        if not (file_name.startswith("test_") and file_name.endswith(".py")):
            continue
        module_found = importlib.util.spec_from_file_location(file_name[:-3], os.path.join(HERE, file_name))
        module = importlib.util.module_from_spec(module_found)
        module_found.loader.exec_module(module)
        for name, function in vars(module).items():
            full_name = f"{module.__name__}.{name}"
            if (name.startswith("test_") and inspect.isfunction(function)
                    and (not filters or any(part in full_name for part in filters))):
                tests.append((full_name, function))
    return tests


def run_one(full_name, function):
    """Runs one test in a fresh session; returns the failure text, or None when it passed."""
    session = harness.Session(full_name)
    signal.alarm(getattr(function, "time_limit", TEST_TIMEOUT))
    try:
        function(session)
        return None
    except Exception:  # every kind of failure is reported and the next test still runs
        failure = traceback.format_exc(limit=6)
        try:
            failure += f"  artifacts: {session.save_artifacts()}\n"
        except Exception as e:  # the report must not hide the failure
            failure += f"  artifacts could not be saved: {e}\n"
        return failure
    finally:
        signal.alarm(0)
        session.close()


def main(argv):
    harness.check_environment()
    signal.signal(signal.SIGALRM, on_alarm)
    tests = discover(argv[1:])
    passed = failed = 0
    shutil.rmtree(harness.artifacts_dir(), ignore_errors=True)
    harness.end_wine_session()
    second_runs = []
    for full_name, function in tests:
        started = time.monotonic()
        failure = run_one(full_name, function)
        if failure is not None:
            # Wine under a loaded machine now and then drops an X event or a window message
            # a test waits for. A test that fails is run once more in a fresh session; one
            # that passes only then is reported by name, with its first failure, and any
            # test failing twice fails the run.
            print(f"RETRY {full_name} after its first run failed:\n{failure}", flush=True)
            failure = run_one(full_name, function)
            if failure is None:
                second_runs.append(full_name)
        seconds = time.monotonic() - started
        if failure is None:
            passed += 1
            print(f"PASS {full_name} ({seconds:.1f} s)", flush=True)
        else:
            failed += 1
            print(f"FAIL {full_name} ({seconds:.1f} s)\n{failure}", flush=True)
    for full_name in second_runs:
        print(f"passed only on its second run: {full_name}", flush=True)
    print(f"{passed} passed, {failed} failed", flush=True)
    return 0 if failed == 0 and passed > 0 else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
