#include "app/abi/record_layout.h"

#include <cstring>

#include "app/abi/program_abi.h"

namespace program {

namespace {
size_t KindSize(RecordMember::Kind kind, const RecordLayout* nested) {
    switch (kind) {
        case RecordMember::kByte: return 1;
        case RecordMember::kShort: return 2;
        case RecordMember::kInt: return 4;
        case RecordMember::kRecord: return nested ? NativeSize(*nested) : 0;
        default: return 0;
    }
}

// Array members point to an array block: dimension count 1, size, elements.
uint8_t* ArrayData(uint32_t slot) { return reinterpret_cast<uint8_t*>(static_cast<uintptr_t>(slot)) + 8; }
size_t ElementStride(RecordMember::Kind kind) {
    return kind == RecordMember::kByte ? 1 : kind == RecordMember::kShort ? 2 : 4;
}
}  // namespace

size_t NativeSize(const RecordLayout& layout) {
    size_t size = 0;
    for (const RecordMember& m : layout.members) {
        size += m.kind == RecordMember::kArray ? KindSize(m.elementKind, m.nested) * static_cast<size_t>(m.count)
                                               : KindSize(m.kind, m.nested);
    }
    return size;
}

size_t ToNative(const RecordLayout& layout, const uint32_t* record, uint8_t* native) {
    size_t at = 0;
    for (size_t i = 0; i < layout.members.size(); ++i) {
        const RecordMember& m = layout.members[i];
        uint32_t slot = record[i];
        switch (m.kind) {
            case RecordMember::kByte: native[at++] = static_cast<uint8_t>(slot); break;
            case RecordMember::kShort: {
                uint16_t v = static_cast<uint16_t>(slot);
                std::memcpy(native + at, &v, 2);
                at += 2;
                break;
            }
            case RecordMember::kInt: std::memcpy(native + at, &slot, 4); at += 4; break;
            case RecordMember::kRecord:
                at += ToNative(*m.nested, reinterpret_cast<const uint32_t*>(static_cast<uintptr_t>(slot)), native + at);
                break;
            case RecordMember::kArray: {
                const uint8_t* elements = ArrayData(slot);
                for (int e = 0; e < m.count; ++e) {
                    if (m.elementKind == RecordMember::kRecord) {
                        uint32_t address;
                        std::memcpy(&address, elements + 4 * e, 4);
                        at += ToNative(*m.nested, reinterpret_cast<const uint32_t*>(static_cast<uintptr_t>(address)),
                                       native + at);
                    } else {
                        size_t stride = ElementStride(m.elementKind);
                        std::memcpy(native + at, elements + stride * static_cast<size_t>(e), stride);
                        at += stride;
                    }
                }
                break;
            }
        }
    }
    return at;
}

size_t FromNative(const RecordLayout& layout, uint32_t* record, const uint8_t* native) {
    size_t at = 0;
    for (size_t i = 0; i < layout.members.size(); ++i) {
        const RecordMember& m = layout.members[i];
        switch (m.kind) {
            case RecordMember::kByte: record[i] = native[at++]; break;
            case RecordMember::kShort: {
                int16_t v;
                std::memcpy(&v, native + at, 2);
                record[i] = static_cast<uint32_t>(static_cast<int32_t>(v));
                at += 2;
                break;
            }
            case RecordMember::kInt: std::memcpy(&record[i], native + at, 4); at += 4; break;
            case RecordMember::kRecord:
                at += FromNative(*m.nested, reinterpret_cast<uint32_t*>(static_cast<uintptr_t>(record[i])), native + at);
                break;
            case RecordMember::kArray: {
                uint8_t* elements = ArrayData(record[i]);
                for (int e = 0; e < m.count; ++e) {
                    if (m.elementKind == RecordMember::kRecord) {
                        uint32_t address;
                        std::memcpy(&address, elements + 4 * e, 4);
                        at += FromNative(*m.nested, reinterpret_cast<uint32_t*>(static_cast<uintptr_t>(address)),
                                         native + at);
                    } else {
                        size_t stride = ElementStride(m.elementKind);
                        std::memcpy(elements + stride * static_cast<size_t>(e), native + at, stride);
                        at += stride;
                    }
                }
                break;
            }
        }
    }
    return at;
}

uint32_t CallDllWithRecord(int index, const RecordLayout& layout, uint32_t* record, std::vector<uint32_t> words,
                           size_t recordArgument) {
    size_t size = NativeSize(layout);
    auto* native = static_cast<uint8_t*>(Svc_Allocate(static_cast<int>(size)));
    ToNative(layout, record, native);
    words.insert(words.begin() + static_cast<long>(recordArgument),
                 static_cast<uint32_t>(reinterpret_cast<uintptr_t>(native)));
    uint32_t result = ProgramCallDll(index, words.data(), static_cast<int>(words.size()));
    FromNative(layout, record, native);
    Svc_Free(native);
    return result;
}

}  // namespace program
