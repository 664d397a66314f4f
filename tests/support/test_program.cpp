#include "tests/support/test_program.h"

#include "styling/library_list.h"
#include "runtime/program_image.h"
#include "tests/support/child_process.h"

namespace qytest {

extern "C" __attribute__((section(".rdata$qy2"), used, aligned(4))) const TestConstants TestConstantBlock = {
    {0}, {1, 0}, {1, 3, 10, 20, 30}, "hello", {'0', '1', '2', '3', '4', '5', '6', '7', '8', '9'}};

namespace {
const char* dllFiles[kDllCount] = {"", "kernel32", "", "qytestdll.dll", "", "kernel32", "kernel32"};
const char* const dllExports[kDllCount] = {"GetStockObject", "QyNoSuchExport", "QyNoSuchExport", "#5",
                                           "QySeven",        "GetTickCount",   "GetTickCount"};
}  // namespace

void SetAbsoluteDllPath(const char* path) { dllFiles[kDllAbsolutePath] = path; }

extern "C" void __cdecl TestCodeBase() {}

}  // namespace qytest

extern "C" const qy::ProgramHeader ProgramHeaderRecord = {
    3,
    0,
    70612,
    reinterpret_cast<const void*>(&qytest::TestCodeBase),
    reinterpret_cast<const uint8_t*>(&qytest::TestConstantBlock),
    sizeof(qytest::TestConstants),
    nullptr,
    0,
    qy::kLibraryCount,
    qy::kLibraryList,
    qytest::kDllCount,
    qytest::dllFiles,
    qytest::dllExports,
};

extern "C" int __cdecl ProgramStartup() {
    qytest::Scenario scenario = qytest::FindScenario(qytest::currentScenario);
    return scenario ? scenario() : 0;
}
