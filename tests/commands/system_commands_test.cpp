// RunProgram, observed from the started program: this test program started
// again with a scenario that reports what it was given.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "gtest/gtest.h"
#include "tests/commands/command_call.h"
#include "tests/support/child_process.h"
#include "tests/support/pump.h"

using namespace qytest;

namespace {
const char kGoEvent[] = "qy-run-program-go";

// The log the started program appends to, read back by the test.
class ChildLog {
public:
    ChildLog() {
        char temp[MAX_PATH] = {};
        GetTempPathA(sizeof temp, temp);
        char path[MAX_PATH] = {};
        GetTempFileNameA(temp, "qyr", 0, path);
        path_ = path;
        SetEnvironmentVariableA("QY_TEST_LOG", path_.c_str());
    }
    ~ChildLog() {
        SetEnvironmentVariableA("QY_TEST_LOG", nullptr);
        DeleteFileA(path_.c_str());
    }
    std::string Read() const {
        std::string out;
        if (FILE* f = std::fopen(path_.c_str(), "rb")) {
            char buffer[512];
            size_t n;
            while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) out.append(buffer, n);
            std::fclose(f);
        }
        return out;
    }
    bool WaitFor(const std::string& text) const {
        return PumpUntil([&] { return Read().find(text) != std::string::npos; });
    }

private:
    std::string path_;
};

std::string SelfCommand(const std::string& scenario, const std::string& extra = "") {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, sizeof self);
    return "\"" + std::string(self) + "\" --scenario=" + scenario + extra;
}

ValueRecord Start(const std::string& commandLine, bool wait, ValueRecord style = Omitted()) {
    Owned holder;
    return Call(CoreCommand::RunProgram, {Text(commandLine, holder), Logical(wait), style});
}
}  // namespace

QY_SCENARIO(report_start) {
    STARTUPINFOA startup{};
    GetStartupInfoA(&startup);
    bool useShow = (startup.dwFlags & STARTF_USESHOWWINDOW) != 0;
    Log("show " + (useShow ? std::to_string(startup.wShowWindow) : std::string("unset")));
    const char* line = GetCommandLineA();
    const char* tail = std::strstr(line, "report_start");
    Log(std::string("tail ") + (tail ? tail + std::strlen("report_start") : ""));
    return 0;
}

QY_SCENARIO(wait_for_go) {
    HANDLE go = OpenEventA(SYNCHRONIZE, FALSE, kGoEvent);
    Log(go && WaitForSingleObject(go, 20000) == WAIT_OBJECT_0 ? "went" : "no go");
    return 0;
}

TEST(RunProgram, WaitTrueReturnsAfterTheProgramHasEnded) {
    ChildLog log;
    ValueRecord result = Start(SelfCommand("report_start", " 砌字成图"), true);
    EXPECT_EQ(1u, result.low);
    EXPECT_EQ("show 1\ntail  砌字成图\n", log.Read()) << "an omitted style starts a normal window; the line is passed as given";
}

TEST(RunProgram, WindowStylesMapToShowStatesAndAreClamped) {
    const struct {
        int style;
        int show;
    } cases[] = {{1, SW_HIDE},          {2, SW_SHOWNORMAL},     {3, SW_SHOWMINIMIZED}, {4, SW_SHOWMAXIMIZED},
                 {5, SW_SHOWNOACTIVATE}, {6, SW_MINIMIZE},      {9, SW_MINIMIZE},      {0, SW_HIDE},
                 {-7, SW_HIDE}};
    for (const auto& c : cases) {
        ChildLog log;
        ASSERT_EQ(1u, Start(SelfCommand("report_start"), true, Int(c.style)).low) << "style " << c.style;
        EXPECT_EQ("show " + std::to_string(c.show) + "\ntail \n", log.Read()) << "style " << c.style;
    }
}

TEST(RunProgram, WaitFalseReturnsWhileTheProgramStillRuns) {
    HANDLE go = CreateEventA(nullptr, TRUE, FALSE, kGoEvent);
    ASSERT_NE(go, nullptr);
    ChildLog log;
    EXPECT_EQ(1u, Start(SelfCommand("wait_for_go"), false).low);
    EXPECT_EQ("", log.Read()) << "the started program cannot have finished before it was let go";
    SetEvent(go);
    EXPECT_TRUE(log.WaitFor("went\n")) << log.Read();
    CloseHandle(go);
}

TEST(RunProgram, AProgramThatCannotStartIsFalse) {
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    EXPECT_EQ(0u, Start(std::string(temp) + "qy-no-such-program.exe", false).low);
    EXPECT_EQ(0u, Start("", false).low);
    EXPECT_EQ(0u, Start("\"", true).low);
}
