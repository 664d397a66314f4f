// The window template segment: window directory, window records, unit tables
// and the unit and menu-item records inside them. Records are kept as bytes in
// their unit table, as the runtime uses them; a write that changes a record's
// length rewrites the whole table, so no record address survives a write.
// Byte-level only: the host-side form compiler shares this file.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "window/byte_io.h"

namespace qy {

class LoadingArchive;

// Id validity and categories: bits 28-31 category, 24-27 kind, low 24 bits number.
inline bool IsValidId(uint32_t id) { return (id & 0x00FFFFFF) != 0 && (id & 0x0F000000) != 0; }
inline bool IsOwnUnitId(uint32_t id) { return IsValidId(id) && (id >> 28) == 0; }
inline bool IsMenuItemId(uint32_t id) { return IsValidId(id) && (id >> 28) == 2; }

// State flags of a unit record.
enum UnitState : uint32_t { kStateVisible = 1, kStateDisabled = 2, kStateTabStop = 4 };
// State word of a menu item.
enum MenuState : uint32_t { kMenuHidden = 1, kMenuDisabled = 2, kMenuChecked = 4 };

// Unit-type references: library number << 16 | type number, both from 1.
constexpr uint32_t TypeRef(uint32_t library, uint32_t type) { return library << 16 | type; }
constexpr uint32_t kCoreLibraryNumber = 1;
constexpr uint32_t kExtendedUiLibraryNumber = 3;
constexpr uint32_t TypeLibrary(uint32_t typeRef) { return typeRef >> 16; }
constexpr uint32_t TypeNumber(uint32_t typeRef) { return typeRef & 0xFFFF; }

// The unit types this runtime provides, by their type references.
enum UnitTypeRef : uint32_t {
    kWindowTypeRef = TypeRef(kCoreLibraryNumber, 1),
    kEditBoxTypeRef = TypeRef(kCoreLibraryNumber, 5),
    kDrawPanelTypeRef = TypeRef(kCoreLibraryNumber, 8),
    kLabelTypeRef = TypeRef(kCoreLibraryNumber, 10),
    kButtonTypeRef = TypeRef(kCoreLibraryNumber, 11),
    kCheckBoxTypeRef = TypeRef(kCoreLibraryNumber, 12),
    kComboBoxTypeRef = TypeRef(kCoreLibraryNumber, 14),
    kScrollBarTypeRef = TypeRef(kCoreLibraryNumber, 17),
    kColourPickerTypeRef = TypeRef(kCoreLibraryNumber, 28),
    kCommonDialogTypeRef = TypeRef(kCoreLibraryNumber, 31),
    kTransLabelTypeRef = TypeRef(kExtendedUiLibraryNumber, 5),
};

struct EventBinding {
    int32_t event;
    int32_t handler;  // offset from the code base, -1 none; after relocation an address or 0
};

struct UnitRecord {
    uint32_t typeRef = 0;
    uint32_t eventSource = 0;
    uint32_t reserved[4] = {};
    std::string name;
    std::string remark;
    uint32_t objectSlot = 0;
    int32_t left = 0, top = 0, width = 0, height = 0;
    uint32_t cursorSlot = 0;
    uint32_t containerId = 0;
    std::vector<uint32_t> children;
    Bytes cursorData;
    std::string tag;
    uint32_t reserved2 = 0;
    uint32_t state = 0;
    int32_t tabOrder = 0;
    std::vector<EventBinding> bindings;
    uint32_t reserved3[5] = {};
    Bytes ownData;
};

struct MenuItemRecord {
    uint32_t typeRef = 0;
    uint32_t reserved[5] = {};
    std::string name;
    std::string remark;
    uint32_t slots[2] = {};
    uint32_t state = 0;
    std::string caption;
    int32_t handler = -1;
};

Bytes EncodeUnit(const UnitRecord& unit);
UnitRecord DecodeUnit(const uint8_t* body, size_t length);
Bytes EncodeMenuItem(const MenuItemRecord& item);
MenuItemRecord DecodeMenuItem(const uint8_t* body, size_t length);

// Offsets of the two words every unit record body starts with: its type
// reference and the unit whose event bindings it uses.
constexpr size_t kTypeRefField = 0, kEventSourceField = 4;

// Offsets of the fields that the runtime reads or patches in place, found by
// walking the record body from the name on.
struct UnitLayout {
    size_t objectSlot;
    size_t geometry;  // left, top, width, height
    size_t cursorSlot;
    size_t containerId;
    size_t cursorData;  // its length word
    size_t tag;
    size_t state;
    size_t tabOrder;
    size_t bindingCount;
    size_t ownData;
};
UnitLayout LocateUnitFields(const uint8_t* body, size_t length);
// Offset of a menu item's handler word.
size_t LocateMenuHandler(const uint8_t* body, size_t length);

// One window's unit table: U ids, U offsets, then the records (int32 body
// length + body) in the unit area.
class UnitTable {
public:
    UnitTable() = default;
    // Takes the stored bytes of a unit table; throws TemplateError when an
    // offset, a length or a record walk does not fit.
    UnitTable(Bytes bytes, int count);
    // A table of (id, record body) pairs, laid out in order.
    static UnitTable Build(const std::vector<std::pair<uint32_t, Bytes>>& records);

    int count() const { return count_; }
    uint32_t id(int k) const { return LoadU32(&bytes_[4 * static_cast<size_t>(k)]); }
    // Index of a valid id, or -1.
    int Find(uint32_t id) const;
    bool IsMenuItem(int k) const { return IsMenuItemId(id(k)); }

    uint8_t* body(int k);
    const uint8_t* body(int k) const;
    size_t bodyLength(int k) const;

    UnitRecord Unit(int k) const { return DecodeUnit(body(k), bodyLength(k)); }
    UnitLayout Layout(int k) const { return LocateUnitFields(body(k), bodyLength(k)); }
    // Replaces record k; every record after it may move.
    void Replace(int k, const Bytes& body);
    void ReplaceUnit(int k, const UnitRecord& unit) { Replace(k, EncodeUnit(unit)); }

    // A 32-bit field of record k at a layout offset.
    uint32_t Field(int k, size_t offset) const { return LoadU32(body(k) + offset); }
    void SetField(int k, size_t offset, uint32_t value) { StoreU32(body(k) + offset, value); }

    // Handler -1 becomes 0, any other offset gets the code base added.
    void RelocateHandlers(uint32_t codeBase);

    const Bytes& bytes() const { return bytes_; }

private:
    size_t RecordOffset(int k) const;
    void Validate();
    Bytes bytes_;
    int count_ = 0;
};

struct WindowTemplate {
    uint32_t id = 0;
    uint32_t stamp = 0;
    uint32_t key = 0;
    std::string textA;
    std::string textB;
    UnitTable units;
};

// Reads the whole segment; the archive must end exactly where the last
// window record ends. Throws on any malformed or over-long segment.
std::vector<WindowTemplate> ReadSegment(LoadingArchive& archive);
Bytes WriteSegment(const std::vector<WindowTemplate>& windows);

}  // namespace qy
