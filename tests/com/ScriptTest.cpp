// A VBScript host: Wine's cscript runs FillMenu.vbs against the registered module. The script
// checks every value it reads back and exits with the number of the first step that failed.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ComTestSupport.h"

namespace popupmenu::comtest {
namespace {

using namespace std::chrono_literals;

class ScriptTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(regsvr32(L""), 0) << "registration failed";
    }
    void TearDown() override { regsvr32(L"/u"); }

    int regsvr32(const std::wstring& options) {
        return runProgram(L"regsvr32.exe /s " + options + L" \"" + builtModulePath() + L"\"", 120s).exitCode;
    }
};

TEST_F(ScriptTest, FillReadRemoveClearAndCount) {
    const ProgramRun run =
        runProgram(L"cscript.exe //nologo \"" + besideExecutable(L"FillMenu.vbs") + L"\"", 120s, /*menuChoice=*/2);
    EXPECT_EQ(run.exitCode, 0) << "the number of the step of FillMenu.vbs that failed (-1: cscript hung)";
    EXPECT_EQ(run.boxTexts, std::vector<std::wstring>{L"Chiave non valida."});
    EXPECT_TRUE(run.sawMenu);
}

}  // namespace
}  // namespace popupmenu::comtest
