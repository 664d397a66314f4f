// Delivery of an event record to a bound handler of the program: arguments
// converted to the handler's stack form, the three result registers read back.
#pragma once
#include <cstdint>

namespace qy {

// Words of the short and long event records.
constexpr int kShortEventMaxArgs = 5;
constexpr int kShortEventResultFlag = 9;
constexpr int kShortEventResult = 10;
constexpr int kLongEventMaxArgs = 12;
constexpr int kLongEventResultFlag = 52;
constexpr int kLongEventResult = 53;

// Calls handler with the record's arguments; returns whether it gave a value.
bool DeliverEvent(const void* handler, uint32_t* record, bool longRecord);

extern "C" {
// Pushes count words (first word first as the first argument), calls the
// routine, and stores EAX, EDX and ECX into results.
void __cdecl CallEventHandler(const void* routine, const uint32_t* words, int count, uint32_t* results);
}

}  // namespace qy
