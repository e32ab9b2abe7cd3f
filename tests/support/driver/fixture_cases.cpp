// A GoogleTest program with a known outcome per case, for the tests of the per-case driver
// (gtest_program.py): the driver must report each of these exactly as GoogleTest decided it.
#include <cstdlib>
#include <cstdio>

#include <gtest/gtest.h>

TEST(Fixture, Passes) { EXPECT_EQ(2 + 2, 4); }

TEST(Fixture, Fails) { EXPECT_EQ(2 + 2, 5) << "the failure message"; }

TEST(Fixture, SkipsItself) { GTEST_SKIP() << "the reason for skipping"; }

TEST(Fixture, PrintsAndPasses) { std::puts("output of the passing case"); }

// Ends the whole program half-way when FIXTURE_CRASH is set: the cases after it never run.
TEST(Fixture, CrashesWhenAsked) {
    if (std::getenv("FIXTURE_CRASH") != nullptr) std::abort();
}

TEST(Later, RunsAfterTheCrashPoint) { SUCCEED(); }
