#include "window/template_format.h"

#include <algorithm>
#include <cstring>

#include "runtime/archive.h"

namespace qy {

namespace {
// The fields of a unit record in stored order, walked to encode, to decode
// and to locate the fields the runtime patches in place; At marks a located
// field's offset.
template <class V, class Self>
void UnitFields(V& v, Self& u) {
    v.U32(u.typeRef);
    v.U32(u.eventSource);
    for (auto& word : u.reserved) v.U32(word);
    v.ZeroText(u.name);
    v.ZeroText(u.remark);
    v.At(&UnitLayout::objectSlot);
    v.U32(u.objectSlot);
    v.At(&UnitLayout::geometry);
    v.I32(u.left);
    v.I32(u.top);
    v.I32(u.width);
    v.I32(u.height);
    v.At(&UnitLayout::cursorSlot);
    v.U32(u.cursorSlot);
    v.At(&UnitLayout::containerId);
    v.U32(u.containerId);
    v.Children(u.children);
    v.At(&UnitLayout::cursorData);
    v.Buffer(u.cursorData);
    v.At(&UnitLayout::tag);
    v.ZeroText(u.tag);
    v.U32(u.reserved2);
    v.At(&UnitLayout::state);
    v.U32(u.state);
    v.At(&UnitLayout::tabOrder);
    v.I32(u.tabOrder);
    v.At(&UnitLayout::bindingCount);
    v.Bindings(u.bindings);
    for (auto& word : u.reserved3) v.U32(word);
    v.At(&UnitLayout::ownData);
    v.Rest(u.ownData);
}

struct MenuItemLayout {
    size_t handler;
};

template <class V, class Self>
void MenuItemFields(V& v, Self& m) {
    v.U32(m.typeRef);
    for (auto& word : m.reserved) v.U32(word);
    v.ZeroText(m.name);
    v.ZeroText(m.remark);
    v.U32(m.slots[0]);
    v.U32(m.slots[1]);
    v.U32(m.state);
    v.ZeroText(m.caption);
    v.At(&MenuItemLayout::handler);
    v.I32(m.handler);
}

class RecordWriter {
public:
    void U32(uint32_t v) { out_.U32(v); }
    void I32(int32_t v) { out_.I32(v); }
    void ZeroText(const std::string& text) { out_.ZeroText(text); }
    void Buffer(const Bytes& bytes) { out_.Buffer(bytes); }
    void Children(const std::vector<uint32_t>& children) {
        out_.I32(static_cast<int32_t>(children.size()));
        for (uint32_t child : children) out_.U32(child);
    }
    void Bindings(const std::vector<EventBinding>& bindings) {
        out_.I32(static_cast<int32_t>(bindings.size()));
        for (const EventBinding& b : bindings) {
            out_.I32(b.event);
            out_.I32(b.handler);
        }
    }
    void Rest(const Bytes& bytes) { out_.Raw(bytes); }
    template <class Layout>
    void At(size_t Layout::*) {}
    Bytes Take() { return out_.Take(); }

private:
    ByteWriter out_;
};

// A count of fixed-size entries that must fit in what is left of the record.
int32_t ReadCount(ByteCursor& in, size_t entrySize, const char* what) {
    int32_t count = in.I32();
    Require(in);
    if (count < 0 || static_cast<size_t>(count) > in.remaining() / entrySize) throw TemplateError(what);
    return count;
}

class RecordReader {
public:
    explicit RecordReader(ByteCursor& in) : in_(in) {}
    void U32(uint32_t& v) { v = in_.U32(); }
    void I32(int32_t& v) { v = in_.I32(); }
    void ZeroText(std::string& text) { text = in_.ZeroText(); }
    void Buffer(Bytes& bytes) { bytes = ReadBuffer(in_); }
    void Children(std::vector<uint32_t>& children) {
        int32_t count = ReadCount(in_, 4, "bad child count");
        for (int32_t i = 0; i < count; ++i) children.push_back(in_.U32());
    }
    void Bindings(std::vector<EventBinding>& bindings) {
        int32_t count = ReadCount(in_, 8, "bad binding count");
        for (int32_t i = 0; i < count; ++i) {
            EventBinding b;
            b.event = in_.I32();
            b.handler = in_.I32();
            bindings.push_back(b);
        }
    }
    void Rest(Bytes& bytes) {
        size_t length = in_.remaining();
        const uint8_t* rest = in_.Take(length);
        if (rest) bytes.assign(rest, rest + length);
    }
    template <class Layout>
    void At(size_t Layout::*) {}

private:
    ByteCursor& in_;
};

// Walks a record without keeping its values, noting where each marked field starts.
template <class Layout>
class RecordLocator {
public:
    explicit RecordLocator(ByteCursor& in) : in_(in) {}
    template <class T>
    void U32(const T&) { in_.Skip(4); }
    template <class T>
    void I32(const T&) { in_.Skip(4); }
    void ZeroText(const std::string&) { SkipZeroText(); }
    void Buffer(const Bytes&) {
        size_t length;
        in_.Counted(&length);
    }
    void Children(const std::vector<uint32_t>&) { in_.Skip(4 * static_cast<size_t>(ReadCount(in_, 4, "bad child count"))); }
    void Bindings(const std::vector<EventBinding>&) {
        in_.Skip(8 * static_cast<size_t>(ReadCount(in_, 8, "bad binding count")));
    }
    void Rest(const Bytes&) {}
    void At(size_t Layout::*field) { layout.*field = in_.position(); }
    template <class Other>
    void At(size_t Other::*) {}

    Layout layout{};

private:
    void SkipZeroText() {
        const void* end = in_.ok() ? std::memchr(in_.data() + in_.position(), 0, in_.remaining()) : nullptr;
        if (!end) in_.Fail("unterminated text");
        else in_.Skip(static_cast<size_t>(static_cast<const uint8_t*>(end) - (in_.data() + in_.position())) + 1);
    }
    ByteCursor& in_;
};

template <class Layout, class Record, class Walk>
Layout Locate(const uint8_t* body, size_t length, Walk walk) {
    ByteCursor in(body, length);
    RecordLocator<Layout> locator(in);
    const Record none{};
    walk(locator, none);
    Require(in);
    return locator.layout;
}
}  // namespace

Bytes EncodeUnit(const UnitRecord& u) {
    RecordWriter out;
    UnitFields(out, u);
    return out.Take();
}

UnitRecord DecodeUnit(const uint8_t* body, size_t length) {
    ByteCursor in(body, length);
    RecordReader reader(in);
    UnitRecord u;
    UnitFields(reader, u);
    Require(in);
    return u;
}

Bytes EncodeMenuItem(const MenuItemRecord& m) {
    RecordWriter out;
    MenuItemFields(out, m);
    return out.Take();
}

MenuItemRecord DecodeMenuItem(const uint8_t* body, size_t length) {
    ByteCursor in(body, length);
    RecordReader reader(in);
    MenuItemRecord m;
    MenuItemFields(reader, m);
    Require(in);
    return m;
}

UnitLayout LocateUnitFields(const uint8_t* body, size_t length) {
    return Locate<UnitLayout, UnitRecord>(body, length, [](auto& v, const UnitRecord& u) { UnitFields(v, u); });
}

size_t LocateMenuHandler(const uint8_t* body, size_t length) {
    return Locate<MenuItemLayout, MenuItemRecord>(body, length,
                                                  [](auto& v, const MenuItemRecord& m) { MenuItemFields(v, m); })
        .handler;
}

UnitTable::UnitTable(Bytes bytes, int count) : bytes_(std::move(bytes)), count_(count) { Validate(); }

void UnitTable::Validate() {
    if (count_ < 0 || static_cast<size_t>(count_) > bytes_.size() / 8) throw TemplateError("bad unit count");
    // Record 0 is the window's own unit, which loading the window reads.
    if (count_ > 0 && IsMenuItem(0)) throw TemplateError("the first record is a menu item");
    size_t area = 8 * static_cast<size_t>(count_);
    std::vector<std::pair<size_t, size_t>> extents;  // start and end of each record, length word included
    for (int k = 0; k < count_; ++k) {
        uint32_t offset = LoadU32(&bytes_[4 * static_cast<size_t>(count_ + k)]);
        if (offset > bytes_.size() - area || bytes_.size() - area - offset < 4) throw TemplateError("unit offset out of range");
        size_t start = area + offset;
        uint32_t length = LoadU32(&bytes_[start]);
        if (length > bytes_.size() - start - 4) throw TemplateError("unit record out of range");
        extents.emplace_back(start, start + 4 + length);
        // The walk must fit, so that every later access by layout is in bounds.
        if (IsMenuItem(k)) {
            LocateMenuHandler(body(k), length);
        } else {
            LocateUnitFields(body(k), length);
        }
    }
    // What the runtime writes into a record in place (handlers, object and
    // cursor slots) must never land in another record's length or fields.
    std::sort(extents.begin(), extents.end());
    for (size_t i = 1; i < extents.size(); ++i)
        if (extents[i].first < extents[i - 1].second) throw TemplateError("unit records overlap");
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

// An empty record may end the table, so its body is addressed without indexing.
uint8_t* UnitTable::body(int k) { return bytes_.data() + RecordOffset(k) + 4; }
const uint8_t* UnitTable::body(int k) const { return bytes_.data() + RecordOffset(k) + 4; }
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
