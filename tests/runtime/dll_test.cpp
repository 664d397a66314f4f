// Binding of DLL command declarations: the default list, named DLLs found
// through the program directory, ordinals, drive-letter paths and failures.
#include <windows.h>

#include <cstring>
#include <string>

#include "app/abi/program_abi.h"
#include "gtest/gtest.h"
#include "runtime/dll_commands.h"
#include "runtime/errors.h"
#include "runtime/runtime_app.h"
#include "tests/runtime/runtime_fixture.h"
#include "tests/support/child_process.h"
#include "tests/support/test_program.h"

using namespace qy;
using namespace qytest;

TEST(DllBinding, EmptyDllNameSearchesTheDefaultListInOrder) {
    EnsureRuntime();
    uint32_t brush = program::CallDll(kDllGdiByDefaultList, {WHITE_BRUSH});
    EXPECT_EQ(reinterpret_cast<uintptr_t>(GetStockObject(WHITE_BRUSH)), brush);
    EXPECT_EQ(GetModuleHandleA("gdi32.dll"), Runtime().dlls().modules[kDllGdiByDefaultList].get());
    void* entry = Runtime().dlls().entries[kDllGdiByDefaultList];
    EXPECT_EQ(entry, BindDllCommand(kDllGdiByDefaultList)) << "bound once, then cached";
}

TEST(DllBinding, OrdinalExportFromTheProgramDirectory) {
    EnsureRuntime();
    EXPECT_EQ(5u, program::CallDll(kDllOrdinal, {}));
    HMODULE module = Runtime().dlls().modules[kDllOrdinal].get();
    ASSERT_NE(nullptr, module);
    char path[MAX_PATH];
    GetModuleFileNameA(module, path, sizeof path);
    EXPECT_EQ(Runtime().programDirectory() + "\\qytestdll.dll", std::string(path));
}

TEST(DllBinding, DriveLetterPathLoadsAsGiven) {
    EnsureRuntime();
    static std::string path;
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    path = std::string(self, std::strrchr(self, '\\') + 1) + "qytestdll.dll";
    ASSERT_NE(std::string::npos, path.find(':'));
    Runtime().dlls().files[kDllAbsolutePath] = path.c_str();
    EXPECT_EQ(7u, program::CallDll(kDllAbsolutePath, {}));
}

TEST(DllBinding, RepeatedDeclarationsBindIndependently) {
    EnsureRuntime();
    uint32_t first = program::CallDll(kDllTickCount, {});
    uint32_t second = program::CallDll(kDllTickCountAgain, {});
    EXPECT_LE(first, second);
    EXPECT_EQ(Runtime().dlls().entries[kDllTickCount], Runtime().dlls().entries[kDllTickCountAgain]);
    EXPECT_NE(nullptr, Runtime().dlls().modules[kDllTickCount].get());
    EXPECT_NE(nullptr, Runtime().dlls().modules[kDllTickCountAgain].get());
}

QY_SCENARIO(dll_missing_in_named) {
    program::InitRuntime();
    program::CallDll(kDllMissingInNamed, {});
    return 0;
}

QY_SCENARIO(dll_missing_everywhere) {
    program::InitRuntime();
    program::CallDll(kDllMissingEverywhere, {});
    return 0;
}

QY_SCENARIO(dll_unbalanced_stack) {
    program::InitRuntime();
    // GetTickCount takes no arguments, so the one pushed here stays behind.
    program::CallDll(kDllTickCount, {1});
    Log("returned");
    return 0;
}

TEST(DllBinding, MissingExportsEndTheProgramWithTheirMessages) {
    ChildResult named = RunScenario("dll_missing_in_named");
    EXPECT_EQ(0xFFFFFFFFu, named.exitCode);
    EXPECT_EQ(BoxLog("错误", RuntimeErrorText("无法找到指定DLL库文件“kernel32”中的输出命令“QyNoSuchExport”", 0)),
              named.log);

    ChildResult everywhere = RunScenario("dll_missing_everywhere");
    EXPECT_EQ(0xFFFFFFFFu, everywhere.exitCode);
    EXPECT_EQ(BoxLog("错误", RuntimeErrorText("无法找到指定DLL库文件中的输出命令“QyNoSuchExport”", 0)),
              everywhere.log);
}

TEST(DllBinding, UnbalancedStackIsRuntimeError6) {
    ChildResult result = RunScenario("dll_unbalanced_stack");
    EXPECT_EQ(0xFFFFFFFFu, result.exitCode);
    EXPECT_EQ(BoxLog("错误", "运行时出错!\r\n\r\n错误代码：6\r\n\r\n错误信息：调用DLL命令后发现堆栈错误\r\n"), result.log);
}
