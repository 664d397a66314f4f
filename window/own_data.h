// Own-data records: the blocks that units keep their design-time state in.
// Each record type lists its fields once, in a static Fields(v, d) walked by
// FieldReader to read and by FieldWriter to write; the records of the unit
// types sit beside their units, the window's own record is here. Each block
// starts with a version; a version above the highest known one makes Read
// throw TemplateError, and an empty block means all defaults. Byte-level only.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "window/byte_io.h"

namespace qy {

constexpr uint32_t kButtonFaceColour = 0xFF000000;

// A Windows LOGFONTA as 60 bytes, without windows.h.
struct LogFont {
    static constexpr size_t kSize = 60;
    static constexpr size_t kHeight = 0, kWidth = 4, kEscapement = 8, kOrientation = 12, kWeight = 16;
    static constexpr size_t kItalic = 20, kUnderline = 21, kStrikeOut = 22, kCharSet = 23, kFaceName = 28;
    static constexpr size_t kFaceSize = 32;
    static constexpr uint8_t kGb2312CharSet = 134;

    // A font of the given face (GBK bytes), height and weight, GB2312 charset.
    static Bytes Make(const std::string& face, int32_t height, int32_t weight = 400);
    static int32_t Int(const Bytes& font, size_t offset) { return static_cast<int32_t>(LoadU32(&font[offset])); }
    static std::string Face(const Bytes& font);
};

// Reads a unit's own-data block as its record type; false, with *record left
// as it was, when the block is malformed or of a version not known here.
template <class Record>
bool ReadOwnData(const uint8_t* data, size_t size, Record* record) {
    try {
        *record = Record::Read(Bytes(data, data + size));
        return true;
    } catch (const TemplateError&) {
        return false;
    }
}

// Reads each field from the cursor; the first short or malformed field fails
// the cursor, and Finish turns that into a TemplateError.
class FieldReader {
public:
    explicit FieldReader(ByteCursor& in) : in_(in) {}

    // Versions below zero are refused only by the record types that say so.
    void Version(int32_t& version, int32_t highest, bool zeroOrAbove = false) {
        version = in_.I32();
        Require(in_);
        if (version > highest || (zeroOrAbove && version < 0)) throw TemplateError("unknown own-data version");
    }
    void I32(int32_t& v) { v = in_.I32(); }
    void U32(uint32_t& v) { v = in_.U32(); }
    void U16(uint16_t& v) { v = in_.U16(); }
    template <size_t N>
    void U32s(uint32_t (&words)[N]) {
        for (uint32_t& w : words) w = in_.U32();
    }
    void Buffer(Bytes& v) { v = ReadBuffer(in_); }
    void Text(std::string& v) { v = in_.CountedText(); }
    void TextList(std::vector<std::string>& v) { v = ReadTextList(in_); }
    // A buffer of int32 values.
    void Words(std::vector<int32_t>& v);
    void Finish() const { Require(in_); }

private:
    ByteCursor& in_;
};

class FieldWriter {
public:
    explicit FieldWriter(ByteWriter& out) : out_(out) {}

    void Version(int32_t version, int32_t, bool = false) { out_.I32(version); }
    void I32(int32_t v) { out_.I32(v); }
    void U32(uint32_t v) { out_.U32(v); }
    void U16(uint16_t v) { out_.U16(v); }
    template <size_t N>
    void U32s(const uint32_t (&words)[N]) {
        for (uint32_t w : words) out_.U32(w);
    }
    void Buffer(const Bytes& v) { out_.Buffer(v); }
    void Text(const std::string& v) { out_.CountedText(v); }
    void TextList(const std::vector<std::string>& v) { out_.TextList(v); }
    void Words(const std::vector<int32_t>& v);

private:
    ByteWriter& out_;
};

template <class Record>
Record ReadOwnData(const Bytes& data) {
    Record d;
    if (data.empty()) return d;
    ByteCursor in = CursorOver(data);
    FieldReader reader(in);
    Record::Fields(reader, d);
    reader.Finish();
    return d;
}

template <class Record>
Bytes WriteOwnData(const Record& d) {
    ByteWriter out;
    FieldWriter writer(out);
    Record::Fields(writer, d);
    return out.Take();
}

struct WindowData {
    static constexpr int32_t kVersion = 6;
    int32_t version = kVersion;
    int32_t border = 2;
    int32_t pictureMode = 1;
    uint32_t backColor = kButtonFaceColour;
    int32_t maxButton = 0;
    int32_t minButton = 1;
    int32_t controlBox = 1;
    int32_t position = 1;
    int32_t closable = 1;
    int32_t musicMode = 0;
    int32_t enterMovesFocus = 0;
    int32_t escCloses = 1;
    int32_t f1OpensHelp = 0;
    int32_t helpContext = 0;
    int32_t showInTaskbar = 1;
    int32_t dragToMove = 0;
    int32_t shape = 0;
    int32_t alwaysOnTop = 0;
    int32_t own22 = 0;
    std::string windowClass;
    Bytes picture;
    Bytes icon;
    Bytes music;
    std::string caption;
    std::string helpFile;

    // The record's fields in stored order; reading and writing both walk it.
    template <class V, class Self>
    static void Fields(V& v, Self& d) {
        v.Version(d.version, kVersion);
        v.I32(d.border);
        v.I32(d.pictureMode);
        v.U32(d.backColor);
        v.I32(d.maxButton);
        v.I32(d.minButton);
        v.I32(d.controlBox);
        v.I32(d.position);
        v.I32(d.closable);
        v.I32(d.musicMode);
        v.I32(d.enterMovesFocus);
        v.I32(d.escCloses);
        v.I32(d.f1OpensHelp);
        v.I32(d.helpContext);
        if (d.version > 1) v.I32(d.showInTaskbar);
        if (d.version > 2) {
            v.I32(d.dragToMove);
            v.I32(d.shape);
        }
        if (d.version > 3) v.I32(d.alwaysOnTop);
        if (d.version > 4) v.I32(d.own22);
        if (d.version == 6) v.Text(d.windowClass);
        v.Buffer(d.picture);
        v.Buffer(d.icon);
        v.Buffer(d.music);
        v.Text(d.caption);
        v.Text(d.helpFile);
    }
    static WindowData Read(const Bytes& data) { return ReadOwnData<WindowData>(data); }
    Bytes Write() const { return WriteOwnData(*this); }
};

}  // namespace qy
