#!/usr/bin/env python3
"""A program run once still reports every case exactly as GoogleTest decided it.

Runs tests/support/gtest_program.py and answers the cases with tests/support/gtest_case.sh, as
CTest does, for fixture_cases (a program whose every case has a known outcome): a passing, a
failing, a skipping case, a crash half-way, and a report left by an earlier run.
Usage: test_gtest_program.py <gtest_program.py> <gtest_case.sh> <fixture program> <scratch dir>
"""
import os
import shutil
import subprocess
import sys

runner, reporter, program, scratch = sys.argv[1:5]
results = os.path.join(scratch, "results")
problems = []


def outcome(command, env=None):
    done = subprocess.run(command, capture_output=True, text=True, env=env)
    return done.returncode, done.stdout + done.stderr


def run(env=None):
    return outcome([sys.executable, runner, results, "--", program], env)


def answer(*args):
    return outcome(["bash", reporter, results, "--", program, *args])


def case(name):
    return answer(f"--gtest_filter={name}", "--gtest_also_run_disabled_tests")


def expect(what, condition, output=""):
    if not condition:
        problems.append(f"{what}\n--- driver output:\n{output}")


shutil.rmtree(scratch, ignore_errors=True)
os.makedirs(scratch)

# A case asked before any run has no verdict.
code, out = case("Fixture.Passes")
expect("a case without a run fails", code != 0, out)

# A whole run where one case fails still succeeds as a run: the case reports its own failure.
code, out = run()
expect("a run with a failing case succeeds", code == 0, out)

table = [
    # case,                      exit code, text that must be shown
    ("Fixture.Passes",            0, "[       OK ] Fixture.Passes"),
    ("Fixture.Fails",             1, "the failure message"),
    ("Fixture.SkipsItself",       0, "[  SKIPPED ] Fixture.SkipsItself"),
    ("Fixture.PrintsAndPasses",   0, "output of the passing case"),
    ("Later.RunsAfterTheCrashPoint", 0, "[       OK ] Later.RunsAfterTheCrashPoint"),
    ("Fixture.NoSuchCase",        1, "no verdict"),
]
for name, want_code, want_text in table:
    code, out = case(name)
    expect(f"{name}: exit code {code}, expected {want_code}", code == want_code, out)
    expect(f"{name}: the output lacks {want_text!r}", want_text in out, out)
code, out = case("Fixture.Fails")
expect("a failing case shows no other case's output", "output of the passing case" not in out, out)

# Listing runs the program itself.
code, out = answer("--gtest_list_tests")
expect("listing names the cases", code == 0 and "RunsAfterTheCrashPoint" in out, out)

# A crash half-way fails the run, and no verdict of the earlier run survives it.
crash_env = dict(os.environ, FIXTURE_CRASH="1")
code, out = run(crash_env)
expect("a run that crashes fails", code != 0, out)
code, out = case("Fixture.Passes")
expect("after a crashed run, no case passes on an old report", code != 0, out)

if problems:
    print("\n\n".join(problems))
    sys.exit(1)
print("every case is reported as GoogleTest decided it")
