// Test programs run their gtest cases, or, started with --scenario=NAME by a
// test, the named scenario as the program's start-up subroutine under the
// real framework entry.
#include <windows.h>

#include <cstring>

#include "gtest/gtest.h"
#include "runtime/framework.h"
#include "tests/support/box_watch.h"
#include "tests/support/test_program.h"

namespace qytest {
const char* currentScenario = "";
}

int main(int argc, char** argv) {
    const char kPrefix[] = "--scenario=";
    if (argc > 1 && std::strncmp(argv[1], kPrefix, sizeof kPrefix - 1) == 0) {
        qytest::currentScenario = argv[1] + sizeof kPrefix - 1;
        char log[MAX_PATH] = {};
        if (GetEnvironmentVariableA("QY_TEST_LOG", log, sizeof log)) qytest::BoxWatch::LogTo(log);
        static qytest::BoxWatch watch;
        return qy::FrameworkApp::Main(GetModuleHandleA(nullptr), "", SW_SHOWDEFAULT);
    }
    qytest::BoxWatch watch;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
