#!/usr/bin/env python3
"""Runs a GoogleTest program once, so that each of its cases can be reported as a CTest test.

Under Wine every process start costs a Wine client start-up, so a program runs once for all of its
cases and each case's CTest test reads that run's results (gtest_case.sh) instead of starting the
program again:

  gtest_program.py <results dir> [<launcher>...] -- <program> [<args>...]

runs the whole program with its JSON report and keeps, for every case, its output (the lines from
its RUN line to its verdict line, or its failure messages) and its verdict in <results dir>/cases.
The run succeeds when the program ran to its end: every case has a verdict, and the exit status is
0, or 1 with failed cases in the report (those fail in their own tests). A crash, a report missing
or unreadable, or a failure at exit with every case passed fails it, with the end of the output.
"""
import json
import os
import shutil
import subprocess
import sys

RUN_MARK = "[ RUN      ] "
END_MARKS = ("[       OK ] ", "[  FAILED  ] ", "[  SKIPPED ] ")


def case_file(results, name):
    return os.path.join(results, "cases", name.replace("/", "@"))


def verdicts_of(report_path):
    """[(name, verdict, failure messages)] from GoogleTest's JSON report."""
    with open(report_path, encoding="utf-8") as f:
        report = json.load(f)
    cases = []
    for suite in report["testsuites"]:
        for case in suite["testsuite"]:
            failures = [entry.get("failure", "") for entry in case.get("failures", [])]
            if failures:
                verdict = "failed"
            elif case.get("status") != "RUN":
                verdict = "notrun"
            elif case.get("result") == "SKIPPED":
                verdict = "skipped"
            else:
                verdict = "passed"
            cases.append((f"{suite['name']}.{case['name']}", verdict, failures))
    return cases


def sections_of(lines):
    """{case name: its lines from the RUN line to the verdict line} of the program's output."""
    sections, open_name, start = {}, None, 0
    for i, line in enumerate(lines):
        if line.startswith(RUN_MARK):
            open_name, start = line[len(RUN_MARK):].strip(), i
        elif open_name and any(line.startswith(mark + open_name) for mark in END_MARKS):
            sections[open_name] = lines[start:i + 1]
            open_name = None
    if open_name:
        sections[open_name] = lines[start:]
    return sections


def main(argv):
    if len(argv) < 3 or "--" not in argv:
        sys.exit(__doc__)
    results = argv[1]
    cut = argv.index("--")
    launcher, program = argv[2:cut], argv[cut + 1:]

    # Nothing of an earlier run may stand for this one.
    shutil.rmtree(results, ignore_errors=True)
    os.makedirs(os.path.join(results, "cases"))
    report_path = os.path.join(results, "report.json")
    output_path = os.path.join(results, "output.txt")
    # The report is named relative to the working folder: a Windows program under Wine reads an
    # absolute Unix path as a path on its current drive.
    with open(output_path, "wb") as out:
        status = subprocess.call(launcher + program + ["--gtest_output=json:report.json"],
                                 stdout=out, stderr=subprocess.STDOUT, cwd=results)
    with open(output_path, encoding="utf-8", errors="replace") as f:
        lines = f.read().splitlines()

    problem, cases = None, []
    try:
        cases = verdicts_of(report_path)
    except FileNotFoundError:
        problem = "the program ended without writing its report"
    except (OSError, ValueError, KeyError) as e:
        problem = f"its report cannot be read: {e}"
    failed = [name for name, verdict, _ in cases if verdict == "failed"]
    if problem is None:
        if not cases:
            problem = "its report lists no cases"
        elif status == 1 and not failed:
            problem = "it failed although every case passed (a check at exit?)"
        elif status not in (0, 1):
            problem = f"it ended with status {status}"
    print(f"output: {output_path}")
    if problem:
        print("\n".join(lines[-60:]))
        print(f"FAILED: {' '.join(program)}: {problem}")
        return 1

    sections = sections_of(lines)
    for name, verdict, failures in cases:
        base = case_file(results, name)
        with open(base + ".out", "w", encoding="utf-8") as f:
            f.write("\n".join(sections.get(name) or failures) + "\n")
        with open(base + ".verdict", "w", encoding="utf-8") as f:
            f.write(verdict + "\n")
    print(f"ran {len(cases)} cases, {len(failed)} failed (each case is reported by its own test)")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
