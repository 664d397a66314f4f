#include "app/method_thunk.h"

#include "app/abi/program_abi.h"
#include "app/constants.h"
#include "app/program.h"
#include "runtime/memory.h"

namespace program {

namespace {
constexpr int kMaxArgumentBytes = 1024;

// Appends pieces of code to a byte set under construction.
class CodeWriter {
public:
    explicit CodeWriter(uint8_t* at) : at_(at) {}
    template <int N>
    void Piece(const uint8_t (&bytes)[N]) {
        for (int i = 0; i < N; ++i) *at_++ = bytes[i];
    }
    void Word(uint32_t value) { Little(value, 4); }
    void Half(uint32_t value) { Little(value, 2); }
    uint8_t* end() const { return at_; }

private:
    void Little(uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) *at_++ = static_cast<uint8_t>(value >> (8 * i));
    }
    uint8_t* at_;
};

// The operation's address, or null when the table ends before it.
const void* OperationAddress(const void* object, int operation) {
    if (!object || operation < 1) return nullptr;
    OperationTable table = *static_cast<const OperationTable*>(object);
    if (!table) return nullptr;
    for (int i = 0; i < operation - 1; ++i)
        if (!table[i]) return nullptr;
    return table[operation - 1];
}

uint32_t Address(const void* p) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p)); }

// A byte set on the code heap: a thunk is run in place, and its pages must be
// allowed to execute. Svc_Free returns it like any other byte set.
void* NewCodeByteSet(int length) {
    auto* block = static_cast<int32_t*>(qy::AllocateCode(8 + length));
    block[0] = 1;
    block[1] = length;
    return block;
}
}  // namespace

void* BuildMethodThunk(const void* object, int operation, int argumentCount, MethodThunkOptions options) {
    const int64_t argumentBytes = 4 * static_cast<int64_t>(argumentCount);
    if (argumentBytes < 0 || argumentBytes > kMaxArgumentBytes) return nullptr;
    const void* target = OperationAddress(object, operation);
    if (!target) return nullptr;

    const MethodThunkPieces& code = ProgramConstantBlock.methodThunk;
    const int length = static_cast<int>(sizeof code.enter + 4 + sizeof code.copyArguments +
                                        (options.pushEcx ? sizeof code.pushEcx : 0) + sizeof code.pushImmediate + 4 +
                                        sizeof code.moveEax + 4 + sizeof code.callAndRestore +
                                        (options.callerCleans ? sizeof code.returnKeeping : sizeof code.returnRemoving + 2));
    void* thunk = NewCodeByteSet(length);
    CodeWriter out(static_cast<uint8_t*>(thunk) + 8);
    out.Piece(code.enter);
    out.Word(static_cast<uint32_t>(argumentBytes));
    out.Piece(code.copyArguments);
    if (options.pushEcx) out.Piece(code.pushEcx);
    out.Piece(code.pushImmediate);
    out.Word(Address(object));
    out.Piece(code.moveEax);
    out.Word(Address(target));
    out.Piece(code.callAndRestore);
    if (options.callerCleans) {
        out.Piece(code.returnKeeping);
    } else {
        out.Piece(code.returnRemoving);
        out.Half(static_cast<uint32_t>(argumentBytes));
    }
    return thunk;
}

uint32_t ThunkAddress(const void* thunk) {
    // Copying no characters answers the destination, the byte set's data.
    return CallDll(kByteSetAddressA, {NativeByteSet(thunk), 0, 0});
}

void* CopyThunk(const void* block) {
    const int length = qy::ByteSetLength(block);
    if (length <= 0) return nullptr;
    void* copy = NewCodeByteSet(length);
    CallDll(kMoveMemory, {NativeByteSet(copy), NativeByteSet(block), static_cast<uint32_t>(length)});
    return copy;
}

}  // namespace program
