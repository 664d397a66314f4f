// Runs a scenario of the current test program in a child process, so that
// exit codes, runtime error boxes and shut-down order can be observed.
#pragma once
#include <cstdint>
#include <string>

namespace qytest {

struct ChildResult {
    uint32_t exitCode;
    // Everything the child appended to its log, boxes included.
    std::string log;
};

ChildResult RunScenario(const std::string& name, uint32_t timeoutMs = 120000);

// In the child: append a line to the log the parent reads.
void Log(const std::string& line);

// A scenario is a program start-up subroutine of its own.
typedef int (*Scenario)();
struct ScenarioRegistration {
    ScenarioRegistration(const char* name, Scenario scenario);
};
Scenario FindScenario(const std::string& name);

// The text as the parent receives a GBK box text, for comparisons.
std::string BoxLog(const std::string& caption, const std::string& text);

}  // namespace qytest

#define QY_SCENARIO(name)                                                            \
    static int Scenario_##name();                                                     \
    static ::qytest::ScenarioRegistration registration_##name(#name, &Scenario_##name); \
    static int Scenario_##name()
