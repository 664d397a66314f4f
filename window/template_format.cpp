#include "window/template_format.h"

#include "runtime/archive.h"

namespace qy {

namespace {
constexpr size_t kFixedHead = 24;  // type reference, event source link, 4 reserved words

void SkipZeroText(ByteReader& in) { in.ZeroText(); }
}  // namespace

Bytes EncodeUnit(const UnitRecord& u) {
    ByteWriter out;
    out.U32(u.typeRef);
    out.U32(u.eventSource);
    for (uint32_t word : u.reserved) out.U32(word);
    out.ZeroText(u.name);
    out.ZeroText(u.remark);
    out.U32(u.objectSlot);
    out.I32(u.left);
    out.I32(u.top);
    out.I32(u.width);
    out.I32(u.height);
    out.U32(u.cursorSlot);
    out.U32(u.containerId);
    out.I32(static_cast<int32_t>(u.children.size()));
    for (uint32_t child : u.children) out.U32(child);
    out.Buffer(u.cursorData);
    out.ZeroText(u.tag);
    out.U32(u.reserved2);
    out.U32(u.state);
    out.I32(u.tabOrder);
    out.I32(static_cast<int32_t>(u.bindings.size()));
    for (const EventBinding& b : u.bindings) {
        out.I32(b.event);
        out.I32(b.handler);
    }
    for (uint32_t word : u.reserved3) out.U32(word);
    out.Raw(u.ownData);
    return out.Take();
}

UnitRecord DecodeUnit(const uint8_t* body, size_t length) {
    ByteReader in(body, length);
    UnitRecord u;
    u.typeRef = in.U32();
    u.eventSource = in.U32();
    for (uint32_t& word : u.reserved) word = in.U32();
    u.name = in.ZeroText();
    u.remark = in.ZeroText();
    u.objectSlot = in.U32();
    u.left = in.I32();
    u.top = in.I32();
    u.width = in.I32();
    u.height = in.I32();
    u.cursorSlot = in.U32();
    u.containerId = in.U32();
    int32_t children = in.I32();
    if (children < 0 || static_cast<size_t>(children) > in.remaining() / 4) throw TemplateError("bad child count");
    for (int32_t i = 0; i < children; ++i) u.children.push_back(in.U32());
    u.cursorData = in.Buffer();
    u.tag = in.ZeroText();
    u.reserved2 = in.U32();
    u.state = in.U32();
    u.tabOrder = in.I32();
    int32_t bindings = in.I32();
    if (bindings < 0 || static_cast<size_t>(bindings) > in.remaining() / 8) throw TemplateError("bad binding count");
    for (int32_t i = 0; i < bindings; ++i) {
        EventBinding b;
        b.event = in.I32();
        b.handler = in.I32();
        u.bindings.push_back(b);
    }
    for (uint32_t& word : u.reserved3) word = in.U32();
    const uint8_t* rest = in.Take(in.remaining());
    u.ownData.assign(rest, body + length);
    return u;
}

Bytes EncodeMenuItem(const MenuItemRecord& m) {
    ByteWriter out;
    out.U32(m.typeRef);
    for (uint32_t word : m.reserved) out.U32(word);
    out.ZeroText(m.name);
    out.ZeroText(m.remark);
    out.U32(m.slots[0]);
    out.U32(m.slots[1]);
    out.U32(m.state);
    out.ZeroText(m.caption);
    out.I32(m.handler);
    return out.Take();
}

MenuItemRecord DecodeMenuItem(const uint8_t* body, size_t length) {
    ByteReader in(body, length);
    MenuItemRecord m;
    m.typeRef = in.U32();
    for (uint32_t& word : m.reserved) word = in.U32();
    m.name = in.ZeroText();
    m.remark = in.ZeroText();
    m.slots[0] = in.U32();
    m.slots[1] = in.U32();
    m.state = in.U32();
    m.caption = in.ZeroText();
    m.handler = in.I32();
    return m;
}

UnitLayout LocateUnitFields(const uint8_t* body, size_t length) {
    ByteReader in(body, length);
    UnitLayout at{};
    in.Skip(kFixedHead);
    SkipZeroText(in);
    SkipZeroText(in);
    at.objectSlot = in.position();
    in.Skip(4);
    at.geometry = in.position();
    in.Skip(16);
    at.cursorSlot = in.position();
    in.Skip(4);
    at.containerId = in.position();
    in.Skip(4);
    int32_t children = in.I32();
    if (children < 0 || static_cast<size_t>(children) > in.remaining() / 4) throw TemplateError("bad child count");
    in.Skip(4 * static_cast<size_t>(children));
    at.cursorData = in.position();
    int32_t cursorLength = in.I32();
    if (cursorLength < 0) throw TemplateError("bad cursor data");
    in.Skip(static_cast<size_t>(cursorLength));
    at.tag = in.position();
    SkipZeroText(in);
    in.Skip(4);
    at.state = in.position();
    in.Skip(4);
    at.tabOrder = in.position();
    in.Skip(4);
    at.bindingCount = in.position();
    int32_t bindings = in.I32();
    if (bindings < 0 || static_cast<size_t>(bindings) > in.remaining() / 8) throw TemplateError("bad binding count");
    in.Skip(8 * static_cast<size_t>(bindings) + 20);
    at.ownData = in.position();
    return at;
}

size_t LocateMenuHandler(const uint8_t* body, size_t length) {
    ByteReader in(body, length);
    in.Skip(24);
    SkipZeroText(in);
    SkipZeroText(in);
    in.Skip(12);
    SkipZeroText(in);
    size_t at = in.position();
    in.Skip(4);
    return at;
}

UnitTable::UnitTable(Bytes bytes, int count) : bytes_(std::move(bytes)), count_(count) { Validate(); }

void UnitTable::Validate() {
    if (count_ < 0 || static_cast<size_t>(count_) > bytes_.size() / 8) throw TemplateError("bad unit count");
    size_t area = 8 * static_cast<size_t>(count_);
    for (int k = 0; k < count_; ++k) {
        uint32_t offset = LoadU32(&bytes_[4 * static_cast<size_t>(count_ + k)]);
        size_t start = area + offset;
        if (offset > bytes_.size() || start + 4 > bytes_.size()) throw TemplateError("unit offset out of range");
        uint32_t length = LoadU32(&bytes_[start]);
        if (length > bytes_.size() - start - 4) throw TemplateError("unit record out of range");
        // The walk must fit, so that every later access by layout is in bounds.
        if (IsMenuItem(k)) {
            LocateMenuHandler(body(k), length);
        } else {
            LocateUnitFields(body(k), length);
        }
    }
}

UnitTable UnitTable::Build(const std::vector<std::pair<uint32_t, Bytes>>& records) {
    ByteWriter ids, offsets, area;
    for (const auto& record : records) {
        ids.U32(record.first);
        offsets.U32(static_cast<uint32_t>(area.bytes().size()));
        area.Buffer(record.second);
    }
    Bytes bytes = ids.Take();
    const Bytes& o = offsets.bytes();
    bytes.insert(bytes.end(), o.begin(), o.end());
    const Bytes& a = area.bytes();
    bytes.insert(bytes.end(), a.begin(), a.end());
    return UnitTable(std::move(bytes), static_cast<int>(records.size()));
}

int UnitTable::Find(uint32_t wanted) const {
    if (!IsValidId(wanted)) return -1;
    for (int k = 0; k < count_; ++k)
        if (id(k) == wanted) return k;
    return -1;
}

size_t UnitTable::RecordOffset(int k) const {
    return 8 * static_cast<size_t>(count_) + LoadU32(&bytes_[4 * static_cast<size_t>(count_ + k)]);
}

uint8_t* UnitTable::body(int k) { return &bytes_[RecordOffset(k) + 4]; }
const uint8_t* UnitTable::body(int k) const { return &bytes_[RecordOffset(k) + 4]; }
size_t UnitTable::bodyLength(int k) const { return LoadU32(&bytes_[RecordOffset(k)]); }

void UnitTable::Replace(int k, const Bytes& newBody) {
    std::vector<std::pair<uint32_t, Bytes>> records;
    records.reserve(static_cast<size_t>(count_));
    for (int i = 0; i < count_; ++i) {
        if (i == k) {
            records.emplace_back(id(i), newBody);
        } else {
            records.emplace_back(id(i), Bytes(body(i), body(i) + bodyLength(i)));
        }
    }
    *this = Build(records);
}

void UnitTable::RelocateHandlers(uint32_t codeBase) {
    auto relocate = [codeBase](uint8_t* word) {
        int32_t handler = static_cast<int32_t>(LoadU32(word));
        StoreU32(word, handler == -1 ? 0 : codeBase + static_cast<uint32_t>(handler));
    };
    for (int k = 0; k < count_; ++k) {
        uint8_t* b = body(k);
        if (IsMenuItem(k)) {
            relocate(b + LocateMenuHandler(b, bodyLength(k)));
            continue;
        }
        UnitLayout at = LocateUnitFields(b, bodyLength(k));
        uint32_t bindings = LoadU32(b + at.bindingCount);
        for (uint32_t i = 0; i < bindings; ++i) relocate(b + at.bindingCount + 4 + 8 * i + 4);
    }
}

namespace {
Bytes ReadBuffer(LoadingArchive& in) {
    int32_t length = in.ReadI32();
    if (length < 0) throw TemplateError("negative buffer length");
    return in.ReadBytes(static_cast<size_t>(length));
}

std::string ReadCountedText(LoadingArchive& in) {
    Bytes bytes = ReadBuffer(in);
    return std::string(bytes.begin(), bytes.end());
}
}  // namespace

std::vector<WindowTemplate> ReadSegment(LoadingArchive& in) {
    Bytes directory = ReadBuffer(in);
    if (directory.size() % 8 != 0) throw TemplateError("bad window directory");
    size_t count = directory.size() / 8;
    std::vector<WindowTemplate> windows(count);
    for (size_t k = 0; k < count; ++k) {
        WindowTemplate& w = windows[k];
        w.id = LoadU32(&directory[4 * k]);
        w.stamp = in.ReadU32();
        w.key = in.ReadU32();
        w.textA = ReadCountedText(in);
        w.textB = ReadCountedText(in);
        int32_t units = in.ReadI32();
        w.units = UnitTable(ReadBuffer(in), units);
    }
    // The segment must end with the last window record.
    bool overLong = true;
    try {
        in.ReadU8();
    } catch (const ArchiveError&) {
        overLong = false;
    }
    if (overLong) throw TemplateError("data after the last window record");
    return windows;
}

Bytes WriteSegment(const std::vector<WindowTemplate>& windows) {
    ByteWriter out;
    ByteWriter directory;
    for (const WindowTemplate& w : windows) directory.U32(w.id);
    for (size_t k = 0; k < windows.size(); ++k) directory.U32(0);
    out.Buffer(directory.bytes());
    for (const WindowTemplate& w : windows) {
        out.U32(w.stamp);
        out.U32(w.key);
        out.CountedText(w.textA);
        out.CountedText(w.textB);
        out.I32(w.units.count());
        out.Buffer(w.units.bytes());
    }
    return out.Take();
}

}  // namespace qy
