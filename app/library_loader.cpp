#include "app/library_loader.h"

#include <algorithm>
#include <string>
#include <vector>

#include "app/abi/program_abi.h"
#include "app/abi/record_layout.h"
#include "app/access.h"
#include "app/call_function.h"
#include "app/program.h"

namespace program {

namespace {
using Kind = RecordMember::Kind;

constexpr int kDosHeaderBytes = 64;
constexpr int kNtHeadersBytes = 248;
constexpr int kSectionHeaderBytes = 40;
constexpr int kImportDescriptorBytes = 20;
constexpr int kExportDirectoryWords = 10;
// Longer import and export names are taken for damage, not read.
constexpr int64_t kMaxNameBytes = 4096;

constexpr int32_t kDosSignature = 0x5A4D;   // "MZ"
constexpr int32_t kNtSignature = 0x4550;    // "PE\0\0"
constexpr int32_t kExecutableImage = 0x0002;
constexpr int32_t kDllImage = 0x2000;
constexpr int32_t kAbsoluteFixup = 0x3000;
constexpr uint32_t kImportByOrdinal = 0x80000000u;
constexpr uint32_t kCommitReserve = 0x3000;
constexpr uint32_t kExecuteReadWrite = 0x40;
constexpr uint32_t kRelease = 0x8000;
constexpr uint32_t kProcessAttach = 1, kProcessDetach = 0;

// Member positions in the records below.
enum DosMember { kDosMagic = 0, kDosNewHeader = 18 };
enum NtMember {
    kNtSignatureMember = 0,
    kNumberOfSections = 2,
    kCharacteristics = 7,
    kEntryPointMember = 14,
    kImageBase = 17,
    kSectionAlignment = 18,
    kSizeOfImage = 27,
    kDataDirectories = 38,
};
enum SectionMember { kVirtualSize = 1, kVirtualAddress = 2, kSizeOfRawData = 3, kPointerToRawData = 4 };
enum DataDirectory { kExportDirectory = 0, kImportDirectory = 1, kRelocationDirectory = 5 };
enum ExportMember {
    kNumberOfFunctions = 5,
    kNumberOfNames = 6,
    kAddressOfFunctions = 7,
    kAddressOfNames = 8,
    kAddressOfNameOrdinals = 9,
};
enum ImportMember { kImportName = 3, kFirstThunk = 4 };

RecordMember Scalar(Kind kind) { return RecordMember{kind}; }
RecordMember Array(Kind element, int count) { return RecordMember{RecordMember::kArray, element, count}; }
std::vector<RecordMember> Repeat(Kind kind, int count) { return std::vector<RecordMember>(count, Scalar(kind)); }

template <typename... Parts>
RecordLayout Layout(Parts... parts) {
    RecordLayout layout;
    for (const std::vector<RecordMember>& part : {parts...})
        layout.members.insert(layout.members.end(), part.begin(), part.end());
    return layout;
}

// The executable DOS header: 14 shorts, reserved shorts, OEM fields, the new header's offset.
const RecordLayout kDosHeader = Layout(Repeat(RecordMember::kShort, 14), std::vector<RecordMember>{Array(RecordMember::kShort, 4)},
                                       Repeat(RecordMember::kShort, 2), std::vector<RecordMember>{Array(RecordMember::kShort, 10)},
                                       Repeat(RecordMember::kInt, 1));
// The NT headers: signature, file header, optional header with its 16 directories as 32 ints.
const RecordLayout kNtHeaders = Layout(
    Repeat(RecordMember::kInt, 1),
    std::vector<RecordMember>{Scalar(RecordMember::kShort), Scalar(RecordMember::kShort), Scalar(RecordMember::kInt),
                              Scalar(RecordMember::kInt), Scalar(RecordMember::kInt), Scalar(RecordMember::kShort),
                              Scalar(RecordMember::kShort)},
    std::vector<RecordMember>{Scalar(RecordMember::kShort), Scalar(RecordMember::kByte), Scalar(RecordMember::kByte)},
    Repeat(RecordMember::kInt, 9), Repeat(RecordMember::kShort, 6), Repeat(RecordMember::kInt, 4),
    Repeat(RecordMember::kShort, 2), Repeat(RecordMember::kInt, 6),
    std::vector<RecordMember>{Array(RecordMember::kInt, 32)});
// A section header: name bytes, then sizes and offsets.
const RecordLayout kSectionHeader = Layout(std::vector<RecordMember>{Array(RecordMember::kByte, 8)},
                                           Repeat(RecordMember::kInt, 6), Repeat(RecordMember::kShort, 2),
                                           Repeat(RecordMember::kInt, 1));

uint32_t Address(const void* p) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p)); }

// A record value as compiled code holds one: a slot per member, array
// members in array blocks of their own. It is filled through one of the
// typed RtlMoveMemory declarations.
class ImageRecord {
public:
    explicit ImageRecord(const RecordLayout& layout) : layout_(layout), slots_(layout.members.size()) {
        for (size_t i = 0; i < layout.members.size(); ++i) {
            const RecordMember& m = layout.members[i];
            if (m.kind != RecordMember::kArray) continue;
            const int stride = m.elementKind == RecordMember::kByte ? 1 : m.elementKind == RecordMember::kShort ? 2 : 4;
            arrays_.emplace_back(2 + (stride * m.count + 3) / 4);
            arrays_.back()[0] = 1;
            arrays_.back()[1] = static_cast<uint32_t>(m.count);
            slots_[i] = Address(arrays_.back().data());
        }
    }
    // Array slots point into arrays_: a copy would point into the original's,
    // while a move takes the array blocks along.
    ImageRecord(const ImageRecord&) = delete;
    ImageRecord& operator=(const ImageRecord&) = delete;
    ImageRecord(ImageRecord&&) = default;

    void CopyFrom(int command, uint32_t address) {
        CallDllWithRecord(command, layout_, slots_.data(), {address, static_cast<uint32_t>(NativeSize(layout_))}, 0);
    }
    uint32_t operator[](int member) const { return slots_[static_cast<size_t>(member)]; }
    // An element of an int array member.
    uint32_t Element(int member, int index) const {
        return reinterpret_cast<const uint32_t*>(static_cast<uintptr_t>(slots_[static_cast<size_t>(member)]))[2 + index];
    }

private:
    const RecordLayout& layout_;
    std::vector<uint32_t> slots_;
    std::vector<std::vector<uint32_t>> arrays_;
};

int32_t BitAnd(uint32_t a, uint32_t b) {
    return Command(CoreCommand::BitAnd, {IntValue(static_cast<int32_t>(a)), IntValue(static_cast<int32_t>(b))}).Int();
}

uint32_t ReadInt(uint32_t address) {
    uint32_t value = 0;
    CallDll(kReadInt, {Address(&value), address, 4});
    return value;
}
uint32_t ReadShort(uint32_t address) {
    int16_t value = 0;
    CallDll(kReadShort, {Address(&value), address, 2});
    return static_cast<uint32_t>(BitAnd(static_cast<uint32_t>(value), 0xFFFF));
}
void WriteInt(uint32_t address, uint32_t value) { CallDll(kWriteInt, {address, Address(&value), 4}); }

// Rounds up to a multiple of m, as the language rounds: floor of the
// quotient. Its integers have 32 bits, so a larger quotient (possible only
// with an alignment of 1 or 2) yields a size no image may have.
int64_t RoundUp(int64_t value, int64_t m) {
    double quotient = static_cast<double>(value + m - 1) / static_cast<double>(m);
    if (quotient > INT32_MAX) return INT64_MAX;
    return static_cast<int64_t>(
               Command(CoreCommand::FloorToInteger, {qy::MakeDoubleRecord(quotient)}).Int()) * m;
}

// The DOS and NT headers of an image at an address, with their signatures checked.
struct ImageHeaders {
    ImageRecord dos{kDosHeader};
    ImageRecord nt{kNtHeaders};

    bool ReadDos(uint32_t image) {
        dos.CopyFrom(kCopyDosHeader, image);
        return BitAnd(dos[kDosMagic], 0xFFFF) == kDosSignature && static_cast<int32_t>(dos[kDosNewHeader]) >= 0;
    }
    bool ReadNt(uint32_t image) {
        nt.CopyFrom(kCopyNtHeaders, image + dos[kDosNewHeader]);
        return nt[kNtSignatureMember] == kNtSignature;
    }
    bool Read(uint32_t image) { return ReadDos(image) && ReadNt(image); }
    bool Has(int32_t characteristic) const { return BitAnd(nt[kCharacteristics], characteristic) != 0; }
    int Sections() const { return BitAnd(nt[kNumberOfSections], 0xFFFF); }
    int64_t SectionTable() const { return int64_t{dos[kDosNewHeader]} + kNtHeadersBytes; }
    int64_t HeaderBytes() const { return SectionTable() + int64_t{kSectionHeaderBytes} * Sections(); }
    uint32_t DirectoryAddress(int directory) const { return nt.Element(kDataDirectories, 2 * directory); }
    uint32_t DirectorySize(int directory) const { return nt.Element(kDataDirectories, 2 * directory + 1); }
};

// The image size the section table asks for: SizeOfImage, or more when a
// section reaches further; 0 when the table makes no sense.
int64_t ImageSize(const ImageHeaders& headers, const std::vector<ImageRecord>& sections) {
    const int64_t alignment = headers.nt[kSectionAlignment];
    if (alignment < 1) return 0;
    int64_t size = headers.nt[kSizeOfImage];
    for (const ImageRecord& section : sections) {
        int64_t extent = std::max<int64_t>(section[kSizeOfRawData], BitAnd(section[kVirtualSize], 0xFFFF));
        size = std::max(size, RoundUp(int64_t{section[kVirtualAddress]} + extent, alignment));
    }
    return size <= INT32_MAX ? size : 0;
}

std::vector<ImageRecord> ReadSections(const ImageHeaders& headers, uint32_t image, int command) {
    std::vector<ImageRecord> sections;
    sections.reserve(static_cast<size_t>(headers.Sections()));
    for (int i = 0; i < headers.Sections(); ++i) {
        sections.emplace_back(kSectionHeader);
        sections.back().CopyFrom(command, image + static_cast<uint32_t>(headers.SectionTable()) +
                                              static_cast<uint32_t>(kSectionHeaderBytes * i));
    }
    return sections;
}

// The mapped image at base, of size bytes; checks that what the headers
// point at lies inside it.
struct MappedImage {
    uint32_t base;
    int64_t size;
    bool Inside(uint32_t rva, int64_t bytes) const { return bytes >= 0 && int64_t{rva} + bytes <= size; }
};

// Copies the zero-terminated name at rva out of the image; false when its
// terminator does not lie inside the image.
bool ReadName(const MappedImage& image, uint32_t rva, std::string* name) {
    if (!image.Inside(rva, 1)) return false;
    const int64_t bytes = std::min(image.size - rva, kMaxNameBytes);
    name->assign(static_cast<size_t>(bytes), '\0');
    CallDll(kMoveMemory, {Address(name->data()), image.base + rva, static_cast<uint32_t>(bytes)});
    const size_t end = name->find('\0');
    if (end == std::string::npos) return false;
    name->resize(end);
    return true;
}

// Adds the difference between the actual and the preferred base to every
// 32-bit absolute address the relocation blocks list.
bool Relocate(const MappedImage& image, const ImageHeaders& headers) {
    const uint32_t delta = image.base - headers.nt[kImageBase];
    const uint32_t start = headers.DirectoryAddress(kRelocationDirectory);
    const int64_t end = int64_t{start} + headers.DirectorySize(kRelocationDirectory);
    if (!image.Inside(start, end - start)) return false;
    for (int64_t block = start; block + 8 <= end;) {
        uint32_t header[2] = {0, 0};  // page address, block size
        CallDll(kMoveMemory8, {Address(header), image.base + static_cast<uint32_t>(block), 8});
        if (header[1] == 0) break;
        if (header[1] < 8 || block + header[1] > end) return false;
        for (uint32_t i = 0; i < (header[1] - 8) / 2; ++i) {
            uint32_t entry = ReadShort(image.base + static_cast<uint32_t>(block) + 8 + 2 * i);
            if (BitAnd(entry, 0xF000) != kAbsoluteFixup) continue;
            uint32_t target = header[0] + static_cast<uint32_t>(BitAnd(entry, 0x0FFF));
            if (!image.Inside(target, 4)) return false;
            WriteInt(image.base + target, ReadInt(image.base + target) + delta);
        }
        block += header[1];
    }
    return true;
}

// Writes the address of every import over its entry in the import address
// tables; false when a library or a function cannot be found.
bool BindImports(const MappedImage& image, const ImageHeaders& headers) {
    for (uint32_t at = headers.DirectoryAddress(kImportDirectory);; at += kImportDescriptorBytes) {
        if (!image.Inside(at, kImportDescriptorBytes)) return false;
        uint32_t descriptor[5] = {};
        CallDll(kMoveMemory20, {Address(descriptor), image.base + at, kImportDescriptorBytes});
        if (descriptor[kFirstThunk] == 0) return true;
        std::string library;
        if (!ReadName(image, descriptor[kImportName], &library)) return false;
        uint32_t module = CallDll(kGetModuleHandleA, {Address(library.c_str())});
        if (module == 0) module = CallDll(kLoadLibraryA, {Address(library.c_str())});
        if (module == 0) return false;
        for (uint32_t slot = descriptor[kFirstThunk];; slot += 4) {
            if (!image.Inside(slot, 4)) return false;
            const uint32_t entry = ReadInt(image.base + slot);
            if (entry == 0) break;
            uint32_t key;
            std::string functionName;
            if (BitAnd(entry, kImportByOrdinal) != 0) {
                key = static_cast<uint32_t>(BitAnd(entry, 0xFFFF));
            } else {
                // The name follows a two-byte hint; without the flag the entry is below 2^31.
                if (!ReadName(image, entry + 2, &functionName)) return false;
                key = Address(functionName.c_str());
            }
            const uint32_t function = CallDll(kGetProcAddress, {module, key});
            if (function == 0) return false;
            WriteInt(image.base + slot, function);
        }
    }
}

// Detaches a DLL image and releases its memory; the result of the release.
uint32_t FreeImage(uint32_t base) {
    ImageHeaders headers;
    if (headers.Read(base) && headers.Has(kDllImage) && headers.nt[kEntryPointMember] != 0)
        CallWithWords(base + headers.nt[kEntryPointMember], 0, kProcessDetach, 0);
    return CallDll(kVirtualFree, {base, 0, kRelease});
}

// Maps the image held in the byte set; its module base, or 0.
uint32_t MapImage(const void* image) {
    const int32_t length = Command(CoreCommand::ByteSetLength, {ByteSetValue(image)}).Int();
    if (length < kDosHeaderBytes) return 0;
    const uint32_t data = CallDll(kByteSetAddressA, {NativeByteSet(image), 0, 0});

    ImageHeaders headers;
    if (!headers.ReadDos(data)) return 0;
    if (length < headers.SectionTable()) return 0;
    if (!headers.ReadNt(data) || !headers.Has(kExecutableImage)) return 0;
    if (length < headers.HeaderBytes()) return 0;
    std::vector<ImageRecord> sections = ReadSections(headers, data, kCopySectionHeader);

    const int64_t size = ImageSize(headers, sections);
    if (size == 0 || headers.HeaderBytes() > size) return 0;
    // Each section's data must come from inside the byte set and land inside the image.
    for (const ImageRecord& section : sections) {
        if (int64_t{section[kPointerToRawData]} + section[kSizeOfRawData] > length) return 0;
        if (int64_t{section[kVirtualAddress]} + section[kSizeOfRawData] > size) return 0;
    }

    const uint32_t wanted = static_cast<uint32_t>(size);
    uint32_t base = CallDll(kVirtualAlloc, {headers.nt[kImageBase], wanted, kCommitReserve, kExecuteReadWrite});
    if (base == 0) base = CallDll(kVirtualAlloc, {0, wanted, kCommitReserve, kExecuteReadWrite});
    if (base == 0) return 0;
    const MappedImage mapped{base, size};

    CallDll(kMoveMemory, {base, data, static_cast<uint32_t>(headers.HeaderBytes())});
    for (const ImageRecord& section : sections) {
        if (section[kSizeOfRawData] >= 1)
            CallDll(kMoveMemory, {base + section[kVirtualAddress], data + section[kPointerToRawData],
                                  section[kSizeOfRawData]});
    }
    bool placed = true;
    if (headers.DirectorySize(kRelocationDirectory) >= 1) placed = Relocate(mapped, headers);
    if (placed && headers.DirectorySize(kImportDirectory) >= 1) placed = BindImports(mapped, headers);
    if (!placed) {
        CallDll(kVirtualFree, {base, 0, kRelease});
        return 0;
    }
    // An image without an entry point (resources only) has nothing to run.
    const uint32_t entry = headers.nt[kEntryPointMember];
    if (headers.Has(kDllImage) && entry != 0 && CallWithWords(base + entry, 0, kProcessAttach, 0) == 0) {
        FreeImage(base);
        return 0;
    }
    return base;
}

const void* const kOperations[] = {
    reinterpret_cast<const void*>(&LibraryLoader::Destroy),
    reinterpret_cast<const void*>(&LibraryLoader::Copy),
    reinterpret_cast<const void*>(static_cast<int32_t(__stdcall*)(LibraryLoader*, const void*)>(&LibraryLoader::Load)),
    reinterpret_cast<const void*>(static_cast<int32_t(__stdcall*)(LibraryLoader*)>(&LibraryLoader::Unload)),
    reinterpret_cast<const void*>(
        static_cast<uint32_t(__stdcall*)(LibraryLoader*, const char*)>(&LibraryLoader::GetFunction)),
    reinterpret_cast<const void*>(static_cast<uint32_t(__stdcall*)(LibraryLoader*)>(&LibraryLoader::EntryPoint)),
    reinterpret_cast<const void*>(static_cast<uint32_t(__stdcall*)(LibraryLoader*)>(&LibraryLoader::ModuleBase)),
    nullptr,
};
}  // namespace

LibraryLoader::LibraryLoader() : operations_(kOperations) {}

void __stdcall LibraryLoader::Destroy(LibraryLoader* self) { Unload(self); }

void __stdcall LibraryLoader::Copy(const LibraryLoader* self, LibraryLoader* target) {
    if (target == self || target->image_ == self->image_) return;
    Unload(target);
    target->image_ = self->image_;
    if (target->image_) ++target->image_->holders;
}

int32_t __stdcall LibraryLoader::Load(LibraryLoader* self, const void* image) {
    if (self->image_) Unload(self);
    const uint32_t base = MapImage(image);
    if (base == 0) return 0;
    self->image_ = new SharedImage{base, 1};
    return 1;
}

int32_t __stdcall LibraryLoader::Unload(LibraryLoader* self) {
    if (!self->image_) return 0;
    if (self->image_->holders == 1) {
        if (FreeImage(self->image_->base) == 0) return 0;
        delete self->image_;
    } else {
        --self->image_->holders;
    }
    self->image_ = nullptr;
    return 1;
}

uint32_t __stdcall LibraryLoader::GetFunction(LibraryLoader* self, const char* name) {
    const uint32_t base = ModuleBase(self);
    ImageHeaders headers;
    if (base == 0 || !headers.Read(base) || headers.DirectorySize(kExportDirectory) == 0) return 0;
    const MappedImage image{base, ImageSize(headers, ReadSections(headers, base, kCopySectionHeader2))};
    const uint32_t at = headers.DirectoryAddress(kExportDirectory);
    if (!image.Inside(at, 4 * kExportDirectoryWords)) return 0;
    uint32_t directory[kExportDirectoryWords] = {};
    CallDll(kMoveMemory, {Address(directory), base + at, 4 * kExportDirectoryWords});

    const uint32_t names = directory[kAddressOfNames], ordinals = directory[kAddressOfNameOrdinals];
    if (!image.Inside(names, 4 * int64_t{directory[kNumberOfNames]}) ||
        !image.Inside(ordinals, 2 * int64_t{directory[kNumberOfNames]}))
        return 0;
    std::string exported;
    for (uint32_t i = 0; i < directory[kNumberOfNames]; ++i) {
        if (!ReadName(image, ReadInt(base + names + 4 * i), &exported)) continue;
        if (Command(CoreCommand::CompareText, {TextValue(exported.c_str()), TextValue(name)}).Int() != 0) continue;
        const uint32_t j = ReadShort(base + ordinals + 2 * i);
        if (j >= directory[kNumberOfFunctions]) return 0;
        const uint32_t slot = directory[kAddressOfFunctions] + 4 * j;
        if (!image.Inside(slot, 4)) return 0;
        const uint32_t function = ReadInt(base + slot);
        return image.Inside(function, 1) ? base + function : 0;
    }
    return 0;
}

uint32_t __stdcall LibraryLoader::EntryPoint(LibraryLoader* self) {
    const uint32_t base = ModuleBase(self);
    ImageHeaders headers;
    if (base == 0 || !headers.Read(base)) return 0;
    return base + headers.nt[kEntryPointMember];
}

uint32_t __stdcall LibraryLoader::ModuleBase(LibraryLoader* self) { return self->image_ ? self->image_->base : 0; }

}  // namespace program
