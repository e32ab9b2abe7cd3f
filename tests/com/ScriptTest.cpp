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

ProgramRun runScript(const wchar_t* script, int menuChoice = -1) {
    return runProgram(L"cscript.exe //nologo \"" + besideExecutable(script) + L"\"", 120s, menuChoice);
}

// FillMenu.vbs and FillMenu.js: the same steps, each in the forms its language writes (JScript
// reads MenuItems and Count as properties, sets properties through c(key) and c.MenuItem(key),
// and enumerates with new Enumerator where VBScript has For Each).
TEST_F(ScriptTest, FillReadRemoveClearAndCount) {
    for (const wchar_t* script : {L"FillMenu.vbs", L"FillMenu.js"}) {
        SCOPED_TRACE(testing::Message() << std::string(script, script + wcslen(script)));
        const ProgramRun run = runScript(script, /*menuChoice=*/2);
        EXPECT_EQ(run.exitCode, 0) << "the number of the step that failed (-1: cscript hung)";
        EXPECT_EQ(run.boxTexts, std::vector<std::wstring>{L"Chiave non valida."});
        EXPECT_TRUE(run.sawMenu);
    }
}

TEST_F(ScriptTest, FailureBoxesAreTheSameForVBScriptAndJScript) {
    const std::vector<std::wstring> expected = {L"Chiave non valida.", L"Invalid procedure call or argument",
                                                L"Subscript out of range"};
    for (const wchar_t* script : {L"Boxes.vbs", L"Boxes.js"}) {
        SCOPED_TRACE(testing::Message() << std::string(script, script + wcslen(script)));
        const ProgramRun run = runScript(script);
        EXPECT_EQ(run.exitCode, 0) << "the number of the call that went wrong (-1: cscript hung)";
        EXPECT_EQ(run.boxTexts, expected);
    }
}

}  // namespace
}  // namespace popupmenu::comtest
