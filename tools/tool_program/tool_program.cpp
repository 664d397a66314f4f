// The program image of the tools and benchmarks that run the runtime without
// compiled code of their own: a constant block with the empty text and the
// empty byte set, the four support libraries and no template segment (a tool
// that shows windows passes a copy of the header with its own segment).
#include <cstdint>

#include "styling/library_list.h"
#include "runtime/program_image.h"
#include "runtime/runtime_app.h"

namespace {

struct __attribute__((packed)) Constants {
    char emptyText[1];
    int32_t emptyByteSet[2];
};
const Constants kConstants = {{0}, {1, 0}};

extern "C" void __cdecl ToolCodeBase() {}

}  // namespace

extern "C" const qy::ProgramHeader ProgramHeaderRecord = {
    qy::kProgramRunMode, qy::kProgramWord1, 0,
    reinterpret_cast<const void*>(&ToolCodeBase), reinterpret_cast<const uint8_t*>(&kConstants),
    sizeof(Constants), nullptr, 0, qy::kLibraryCount, qy::kLibraryList, 0, nullptr, nullptr,
};

extern "C" int __cdecl ProgramStartup() { return 0; }
