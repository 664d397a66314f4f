// callcmd.exe as its users see it: a child process, its output lines and
// its exit status.
#include <windows.h>

#include <string>

#include "gtest/gtest.h"
#include "runtime/errors.h"

namespace {

struct ToolRun {
    DWORD exitCode = 0xDEADBEEF;
    std::string out;
};

// Runs callcmd.exe from the test's own folder with the arguments (GBK).
ToolRun RunTool(const std::string& arguments) {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, sizeof self);
    std::string tool(self);
    tool = tool.substr(0, tool.find_last_of('\\') + 1) + "callcmd.exe";
    std::string commandLine = "\"" + tool + "\" " + arguments;

    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    CreatePipe(&readEnd, &writeEnd, &inherit, 0);
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION process{};
    ToolRun run;
    BOOL started = CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                                  &process);
    CloseHandle(writeEnd);
    if (started) {
        char buffer[512];
        DWORD n;
        while (ReadFile(readEnd, buffer, sizeof buffer, &n, nullptr) && n > 0) run.out.append(buffer, n);
        WaitForSingleObject(process.hProcess, 30000);
        GetExitCodeProcess(process.hProcess, &run.exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(readEnd);
    return run;
}

std::string Hex(const std::string& bytes) {
    static const char kDigits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out += kDigits[c >> 4];
        out += kDigits[c & 15];
    }
    return out;
}

}  // namespace

TEST(CallCmd, PrintsTextResultsAsTheirGbkBytesInHex) {
    ToolRun run = RunTool("MidText t:我爱你 i:2 i:2");
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_EQ("text d2b0\n", run.out) << "the argument arrives as GBK and the halves come back";

    EXPECT_EQ("text\n", RunTool("MidText t:abc i:4 i:1").out) << "the empty text is the type alone";
    EXPECT_EQ("text 302e31\n", RunTool("ToText d:0.1").out);
    EXPECT_EQ("int 0\n", RunTool("TextLength t:").out) << "an empty text argument is still a text";
    EXPECT_EQ("int 2\n", RunTool("TextLength tx:616200ff").out) << "a hex text ends at its first zero byte";
}

TEST(CallCmd, PrintsEachResultTypeInItsFixedForm) {
    EXPECT_EQ("bytes 0000c03f\n", RunTool("ToByteSet f:1.5").out);
    EXPECT_EQ("bytes\n", RunTool("ToByteSet x:").out);
    EXPECT_EQ("int -32768\n", RunTool("ShiftRight i:0x80000000 i:16").out);
    EXPECT_EQ("int 1\n", RunTool("CompareText t:a t:A -").out) << "an omitted argument is passed as three zeros";
    EXPECT_EQ("int 200\n", RunTool("ToInteger b:200").out);
    EXPECT_EQ("text 2d33\n", RunTool("ToText s:-3").out);
    EXPECT_EQ("text 2d31\n", RunTool("ToText l:-1").out);
    EXPECT_EQ("text d5e6\n", RunTool("ToText L:1").out);
    EXPECT_EQ("text " + Hex("1899年12月30日") + "\n", RunTool("ToText dt:0").out);
    // ReadByteSetValue's result type comes from the command.
    EXPECT_EQ("short -2\n", RunTool("ReadByteSetValue x:feff i:2").out);
    EXPECT_EQ("byte 254\n", RunTool("ReadByteSetValue x:feff i:1").out);
    EXPECT_EQ("long 4294967297\n", RunTool("ReadByteSetValue x:0100000001000000 i:4").out);
    EXPECT_EQ("float 1.5\n", RunTool("ReadByteSetValue x:0000c03f i:5").out);
    EXPECT_EQ("double 0.10000000000000001\n", RunTool("ReadByteSetValue x:9a9999999999b93f i:6").out);
    EXPECT_EQ("bool 1\n", RunTool("ReadByteSetValue x:00010000 i:7").out);
    EXPECT_EQ("date 1.5\n", RunTool("ReadByteSetValue x:000000000000f83f i:8").out);
    EXPECT_EQ("text 6162\n", RunTool("ReadByteSetValue x:616200 i:10").out);
}

TEST(CallCmd, PrintsVariablesAfterTheResult) {
    ToolRun run = RunTool("ReadByteSetValue x:01020304 i:3 &i:1");
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_EQ("int 67305985\nref int -1\n", run.out);
    EXPECT_EQ("text 6162\nref int 4\n", RunTool("ReadByteSetValue x:6162006364 i:10 &i:1").out);
    EXPECT_EQ("short 513\nref short 3\n", RunTool("ReadByteSetValue x:01020304 i:2 &s:1").out);
}

TEST(CallCmd, ARuntimeErrorPrintsTheBoxTextAndEndsWithMinusOne) {
    ToolRun run = RunTool("ReadByteSetValue x:01 i:11");
    EXPECT_EQ(0xFFFFFFFFu, run.exitCode);
    EXPECT_EQ("error " + Hex(qy::RuntimeErrorText("“欲取出数据的类型”参数值无效", 0)) + "\n", run.out);
}

TEST(CallCmd, UnknownNamesAndMalformedArgumentsAreRefused) {
    ToolRun unknown = RunTool("NoSuchCommand i:1");
    EXPECT_EQ(2u, unknown.exitCode);
    EXPECT_EQ("unknown\n", unknown.out);
    EXPECT_EQ("unknown\n", RunTool("textlength t:a").out) << "names are exact";

    for (const char* bad : {"TextLength q:1", "ToText i:12x", "ToText b:256", "ToText x:abc", "ToText L:2",
                            "ToText &-", "ToText i:"}) {
        ToolRun run = RunTool(bad);
        EXPECT_EQ(1u, run.exitCode) << bad;
        EXPECT_EQ("", run.out) << bad << ": nothing is called";
    }
}
