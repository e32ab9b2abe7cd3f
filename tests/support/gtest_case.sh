#!/usr/bin/env bash
# What CTest runs for each case of a GoogleTest program that gtest_program.py ran once: GoogleTest's
# test discovery hands over the program with --gtest_list_tests, which runs the program for real
# through the launcher (Wine), and each discovered case with --gtest_filter=<suite>.<name>, which is
# answered from the last run: the case's own output as the program printed it, and its verdict.
#   gtest_case.sh <results dir> [<launcher>...] -- <program> [<args>...]
# (A shell script, not Python: a build has hundreds of cases, and each answer starts in a few
# milliseconds.)
results=$1; shift
launcher=()
while [ $# -gt 0 ] && [ "$1" != "--" ]; do launcher+=("$1"); shift; done
shift
program=("$@")

name=
for arg in "${program[@]}"; do
    case "$arg" in
        --gtest_list_tests) exec "${launcher[@]}" "${program[@]}" ;;
        --gtest_filter=*) name=${arg#--gtest_filter=} ;;
    esac
done
[ -n "$name" ] || { echo "expected --gtest_list_tests or --gtest_filter=<suite>.<case>"; exit 2; }

# The same file name gtest_program.py gives the case ('/' of parameterised names replaced).
case_file=$results/cases/${name//\//@}
if [ ! -f "$case_file.verdict" ]; then
    echo "$name has no verdict from the last run of ${program[0]}: see its test <program>.run (the run failed or was cut short, or the case was added since)"
    exit 1
fi
cat "$case_file.out"
case "$(cat "$case_file.verdict")" in
    passed|skipped) exit 0 ;;
    notrun) echo "$name was not run"; exit 1 ;;
    *) exit 1 ;;
esac
