#include "native/text_codec.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace native {

namespace {

// Converts all of `in`; with `lossy`, a byte the source encoding cannot read
// becomes U+FFFD (as UTF-8) and the rest still converts.
bool Convert(const char* to, const char* from, const std::string& in, std::string* out, bool lossy = false) {
    out->clear();
    if (in.empty()) return true;
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    // Half again as long holds GBK's two bytes turned into UTF-8's three; the
    // buffer grows when a text needs more.
    std::string result(in.size() + in.size() / 2 + 16, '\0');
    char* inPtr = const_cast<char*>(in.data());
    size_t inLeft = in.size();
    size_t done = 0;
    bool whole = true;
    while (inLeft > 0) {
        char* outPtr = &result[done];
        size_t outLeft = result.size() - done;
        size_t converted = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        done = result.size() - outLeft;
        if (converted != static_cast<size_t>(-1)) break;
        if (errno == E2BIG || (lossy && outLeft < 3)) {
            result.resize(result.size() + inLeft + inLeft / 2 + 16);
        } else if (lossy && (errno == EILSEQ || errno == EINVAL)) {
            result.replace(done, 3, "\xEF\xBF\xBD");
            done += 3, ++inPtr, --inLeft;
        } else {
            whole = false;
            break;
        }
    }
    iconv_close(cd);
    if (!whole) return false;
    result.resize(done);
    *out = std::move(result);
    return true;
}

}  // namespace

bool Utf8ToGb18030(const std::string& utf8, std::string* gb) { return Convert("GB18030", "UTF-8", utf8, gb); }
bool Gb18030ToUtf8(const std::string& gb, std::string* utf8) { return Convert("UTF-8", "GB18030", gb, utf8, true); }

std::u32string Gb18030ToCodePoints(const std::string& gb) {
    // Plain ASCII, a ramp's every candidate, needs no converter.
    if (std::all_of(gb.begin(), gb.end(), [](char c) { return static_cast<uint8_t>(c) < 0x80; }))
        return std::u32string(gb.begin(), gb.end());
    std::string bytes;
    if (!Convert("UTF-32LE", "GB18030", gb, &bytes)) return std::u32string();
    std::u32string points(bytes.size() / 4, U'\0');
    for (size_t i = 0; i < points.size(); ++i)
        points[i] = static_cast<uint8_t>(bytes[4 * i]) | static_cast<uint8_t>(bytes[4 * i + 1]) << 8 |
                    static_cast<uint8_t>(bytes[4 * i + 2]) << 16 | static_cast<uint32_t>(static_cast<uint8_t>(bytes[4 * i + 3])) << 24;
    return points;
}

}  // namespace native
