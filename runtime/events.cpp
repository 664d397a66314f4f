#include "runtime/events.h"

#include <vector>

#include "runtime/value.h"

namespace qy {

namespace {
constexpr uint32_t kCoreEightByteType = 0x00010003;

void AppendLongSlot(std::vector<uint32_t>& words, const uint32_t* slot) {
    uint32_t low = slot[0], high = slot[1], type = slot[2], flags = slot[3];
    if (flags & 1) {
        words.push_back(low);
    } else if ((flags & 2) || type == kCoreEightByteType || type == kTypeDateTime || type == kTypeEightByte ||
               type == kTypeLong || type == kTypeDouble) {
        words.push_back(low);
        words.push_back(high);
    } else if (type == kTypeByte) {
        words.push_back(low & 0xFF);
    } else if (type == kTypeShort) {
        words.push_back(static_cast<uint32_t>(static_cast<int32_t>(static_cast<int16_t>(low))));
    } else {
        words.push_back(low);
    }
}
}  // namespace

bool DeliverEvent(const void* handler, uint32_t* record, bool longRecord) {
    std::vector<uint32_t> words;
    int count = static_cast<int>(record[3]);
    if (count < 0) count = 0;
    if (longRecord) {
        if (count > kLongEventMaxArgs) count = kLongEventMaxArgs;
        for (int i = 0; i < count; ++i) AppendLongSlot(words, record + 4 + 4 * i);
    } else {
        if (count > kShortEventMaxArgs) count = kShortEventMaxArgs;
        for (int i = 0; i < count; ++i) words.push_back(record[4 + i]);
    }
    uint32_t results[3] = {0, 0, 0};
    CallEventHandler(handler, words.data(), static_cast<int>(words.size()), results);
    // The third register says whether the handler returned a value at all.
    if (results[2] == 0) return false;
    if (longRecord) {
        record[kLongEventResultFlag] = 1;
        record[kLongEventResult] = results[0];
        record[kLongEventResult + 1] = results[1];
    } else {
        record[kShortEventResultFlag] = 1;
        record[kShortEventResult] = results[0];
    }
    return true;
}

}  // namespace qy
