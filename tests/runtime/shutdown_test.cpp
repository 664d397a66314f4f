// Start-up, shut-down order, runtime error boxes and exit codes, observed in
// child processes that run a scenario as their start-up subroutine.
#include <windows.h>

#include <string>

#include "app/abi/program_abi.h"
#include "gtest/gtest.h"
#include "runtime/errors.h"
#include "runtime/runtime_app.h"
#include "tests/runtime/fake_windows.h"
#include "tests/support/child_process.h"
#include "tests/support/pump.h"
#include "tests/support/test_program.h"

using namespace qy;
using namespace qytest;

namespace {
void __cdecl LogAtExit() { Log(GetCurrentThreadId() == Runtime().mainThreadId() ? "atexit on main" : "atexit elsewhere"); }

int32_t __stdcall LoggingNotify(int32_t message, int32_t, int32_t) {
    Log("library message " + std::to_string(message));
    return message == 1 ? 0 : -1;
}

LibraryRecord MakeLoggingLibrary() {
    LibraryRecord record{};
    record.formatMarker = 20000101;
    record.notify = &LoggingNotify;
    return record;
}
const LibraryRecord loggingLibrary = MakeLoggingLibrary();
const LibraryRecord* const loggingLibraries[3] = {&loggingLibrary, nullptr, &loggingLibrary};
const uint8_t segment[4] = {1, 2, 3, 4};

ProgramHeader LoggingHeader() {
    ProgramHeader header = ProgramHeaderRecord;
    header.libraryCount = 3;
    header.libraries = loggingLibraries;
    return header;
}

FakeWindows fakeWindows;

std::string Box(const char* message, int code) { return BoxLog("错误", RuntimeErrorText(message, code)); }
}  // namespace

QY_SCENARIO(startup_without_windows) {
    program::InitRuntime();
    program::RegisterAtExit(&LogAtExit);
    Svc_LoadStartupWindow(0x52010001);
    Log("loaded");
    return 0;
}

QY_SCENARIO(report_error_6) {
    program::InitRuntime();
    program::RegisterAtExit(&LogAtExit);
    Svc_ReportError(6);
}

QY_SCENARIO(empty_message_no_code) {
    program::InitRuntime();
    ShowRuntimeError("", 0);
}

QY_SCENARIO(code_without_message) {
    program::InitRuntime();
    ShowRuntimeError(nullptr, 3);
}

QY_SCENARIO(allocation_failure) {
    program::InitRuntime();
    Svc_Allocate(0x7FFFFFF0);
    return 0;
}

QY_SCENARIO(library_error_text) {
    program::InitRuntime();
    RuntimeNotify(kNotifyErrorText, reinterpret_cast<int32_t>("库里出了错"), 0);
    return 0;
}

QY_SCENARIO(not_numeric) {
    program::InitRuntime();
    ValueRecord text = MakeTextRecord("12");
    RuntimeNotify(kNotifyValueToInt, reinterpret_cast<int32_t>(&text), 0);
    return 0;
}

QY_SCENARIO(bad_template_segment) {
    fakeWindows.Install();
    fakeWindows.failSegment = true;
    ProgramHeader header = ProgramHeaderRecord;
    header.templates = segment;
    header.templateSize = sizeof segment;
    Runtime().InitRuntime(header);
    Log("initialised");
    return 0;
}

QY_SCENARIO(quit_code) {
    fakeWindows.Install();
    Runtime().InitRuntime(LoggingHeader());
    program::RegisterAtExit(&LogAtExit);
    PostQuitMessage(7);
    Svc_RunMessageLoop();
    Log("loop ended");
    return 0;
}

QY_SCENARIO(loop_without_windows) {
    program::InitRuntime();
    Svc_RunMessageLoop();
    Log("loop returned");
    return 0;
}

HANDLE loopRunning = nullptr;

void CALLBACK NoteLoopRunning(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    SetEvent(loopRunning);
}

DWORD WINAPI ExitFromWorker(void*) {
    WaitForSingleObject(loopRunning, kPatienceMs);
    Svc_ExitProgram(42);
}

QY_SCENARIO(exit_from_worker) {
    fakeWindows.Install();
    Runtime().InitRuntime(LoggingHeader());
    program::RegisterAtExit(&LogAtExit);
    // The timer's tick comes from inside the message loop: the worker exits while the loop runs.
    loopRunning = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    SetTimer(nullptr, 0, 0, &NoteLoopRunning);
    CloseHandle(CreateThread(nullptr, 0, &ExitFromWorker, nullptr, 0, nullptr));
    Svc_RunMessageLoop();
    Log("loop ended");
    return 0;
}

QY_SCENARIO(exit_request_message) {
    fakeWindows.Install();
    program::InitRuntime();
    PostMessageA(Runtime().hiddenOwnerHandle(), kExitRequestMessage, 9, 0);
    Svc_RunMessageLoop();
    return 0;
}

void __cdecl IdleRoutine(int32_t argument) {
    Log("idle " + std::to_string(argument));
    PostQuitMessage(5);
}

QY_SCENARIO(idle_callback) {
    fakeWindows.Install();
    program::InitRuntime();
    HWND window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    Runtime().AddIdleCallback(window, &IdleRoutine, 31);
    Runtime().AddIdleCallback(window, &IdleRoutine, 32);
    Svc_RunMessageLoop();
    return 0;
}

TEST(StartupAndErrors, NoStartupWindowEndsWithTheBoxAndMinusOne) {
    ChildResult result = RunScenario("startup_without_windows");
    EXPECT_EQ(0xFFFFFFFFu, result.exitCode);
    EXPECT_EQ(BoxLog("错误", "运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n"), result.log)
        << "no at-exit routine runs after a runtime error";
}

TEST(StartupAndErrors, ReportErrorShowsCodeAndMessage) {
    ChildResult result = RunScenario("report_error_6");
    EXPECT_EQ(0xFFFFFFFFu, result.exitCode);
    EXPECT_EQ(BoxLog("错误", "运行时出错!\r\n\r\n错误代码：6\r\n\r\n错误信息：调用DLL命令后发现堆栈错误\r\n"), result.log);
}

TEST(StartupAndErrors, BoxLeavesOutEmptyParts) {
    EXPECT_EQ(BoxLog("错误", "运行时出错!\r\n\r\n"), RunScenario("empty_message_no_code").log);
    EXPECT_EQ(BoxLog("错误", "运行时出错!\r\n\r\n错误代码：3\r\n\r\n"), RunScenario("code_without_message").log);
}

TEST(StartupAndErrors, RuntimeReportedTexts) {
    EXPECT_EQ(Box("分配 2147483632 字节内存失败!", 0), RunScenario("allocation_failure").log);
    EXPECT_EQ(Box("库里出了错", 0), RunScenario("library_error_text").log);
    EXPECT_EQ(Box("欲转换数据类型不是数值", 0), RunScenario("not_numeric").log);
    ChildResult segmentResult = RunScenario("bad_template_segment");
    EXPECT_EQ(0xFFFFFFFFu, segmentResult.exitCode);
    EXPECT_EQ(Box("载入窗口模板数据段出错!", 0) + "windows destroyed\n", segmentResult.log);
}

TEST(Shutdown, QuitCodeBecomesTheExitCodeAfterAnOrderedShutdown) {
    ChildResult result = RunScenario("quit_code");
    EXPECT_EQ(7u, result.exitCode);
    EXPECT_EQ("library message 1\nlibrary message 1\nloop ended\nwindows destroyed\natexit on main\n"
              "library message 6\nlibrary message 6\n",
              result.log)
        << "windows first, then at-exit routines, then the libraries; null libraries skipped";
}

TEST(Shutdown, MessageLoopWithoutWindowsReturnsAtOnce) {
    ChildResult result = RunScenario("loop_without_windows");
    EXPECT_EQ(0u, result.exitCode);
    EXPECT_EQ("loop returned\n", result.log);
}

TEST(Shutdown, ExitFromAWorkerThreadRunsOnTheMainThread) {
    ChildResult result = RunScenario("exit_from_worker");
    EXPECT_EQ(42u, result.exitCode);
    EXPECT_EQ("library message 1\nlibrary message 1\nwindows destroyed\natexit on main\n"
              "library message 6\nlibrary message 6\n",
              result.log);
}

TEST(Shutdown, ExitRequestMessageToTheHiddenOwner) {
    EXPECT_EQ(9u, RunScenario("exit_request_message").exitCode);
}

TEST(MessageLoop, IdleCallbacksRunOncePerWindow) {
    ChildResult result = RunScenario("idle_callback");
    EXPECT_EQ(5u, result.exitCode);
    EXPECT_EQ("idle 31\nwindows destroyed\n", result.log) << "a second routine for the same window is not added";
}
