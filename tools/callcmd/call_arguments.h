// The value records callcmd builds from its command line, and the lines it
// prints for values.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/value.h"

namespace callcmd {

// One argument of the call. A by-reference argument is a variable: its
// storage holds the value (two words at most, or a block address), and the
// record passes the storage's address.
struct Argument {
    qy::ValueRecord value{0, 0, 0};
    bool byReference = false;
};

// Parses "t:TEXT", "i:N", "&i:N", "-" and the other forms. Texts and byte
// sets are allocated from the runtime's heap; empty ones are the constants
// emptyText and emptyByteSet, as compiled code passes them. Returns false
// with a reason for a malformed form.
bool ParseArgument(const std::string& form, const char* emptyText, const void* emptyByteSet, Argument* out,
                   std::string* reason);

// Lower-case hex of bytes, two digits each.
std::string Hex(const void* data, int length);

// "int 5", "text 6162", "none" ...: the printed form of a value of the type.
std::string ValueLine(const qy::ValueRecord& value);

}  // namespace callcmd
