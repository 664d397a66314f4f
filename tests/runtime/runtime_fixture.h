// Runtime tests that run in the test process initialise the runtime once,
// from the test program image, the way a program's start-up does.
#pragma once
#include "app/abi/program_abi.h"
#include "runtime/runtime_app.h"

namespace qytest {

inline void EnsureRuntime() {
    if (!qy::Runtime().initialised()) program::InitRuntime();
}

}  // namespace qytest
