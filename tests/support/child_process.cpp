#include "tests/support/child_process.h"

#include <windows.h>

#include <cstdio>
#include <map>

namespace qytest {

namespace {
std::map<std::string, Scenario>& Scenarios() {
    static std::map<std::string, Scenario> scenarios;
    return scenarios;
}
}  // namespace

ScenarioRegistration::ScenarioRegistration(const char* name, Scenario scenario) { Scenarios()[name] = scenario; }

Scenario FindScenario(const std::string& name) {
    auto it = Scenarios().find(name);
    return it == Scenarios().end() ? nullptr : it->second;
}

void Log(const std::string& line) {
    char path[MAX_PATH] = {};
    if (!GetEnvironmentVariableA("QY_TEST_LOG", path, sizeof path)) return;
    if (FILE* f = std::fopen(path, "ab")) {
        std::fprintf(f, "%s\n", line.c_str());
        std::fclose(f);
    }
}

std::string BoxLog(const std::string& caption, const std::string& text) {
    return "BOX[" + caption + "]\n" + text + "\nEND\n";
}

ChildResult RunScenario(const std::string& name, uint32_t timeoutMs) {
    char self[MAX_PATH] = {}, temp[MAX_PATH] = {}, logPath[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, sizeof self);
    GetTempPathA(sizeof temp, temp);
    GetTempFileNameA(temp, "qyt", 0, logPath);
    SetEnvironmentVariableA("QY_TEST_LOG", logPath);

    std::string commandLine = "\"" + std::string(self) + "\" --scenario=" + name;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ChildResult result{0xDEADBEEF, ""};
    if (CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        if (WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_TIMEOUT) TerminateProcess(process.hProcess, 0xDEAD);
        DWORD code = 0;
        GetExitCodeProcess(process.hProcess, &code);
        result.exitCode = code;
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    SetEnvironmentVariableA("QY_TEST_LOG", nullptr);
    if (FILE* f = std::fopen(logPath, "rb")) {
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) result.log.append(buffer, n);
        std::fclose(f);
    }
    DeleteFileA(logPath);
    return result;
}

}  // namespace qytest
