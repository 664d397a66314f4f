// The window's compositions kept byte for byte: every character source,
// threshold, inversion, 接顶 and 补齐 on shape texts in several faces and
// sizes and on three pictures, recomposed and compared with the recorded
// corpus. With QY_RECORD_CORPUS=1 in the environment the corpus is written
// afresh instead.
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include "tests/app/main_window_fixture.h"
#include "tests/media/picture/test_pictures.h"

#ifndef QY_CORPUS_FILE
#error "QY_CORPUS_FILE names the recorded corpus"
#endif

namespace apptest {
namespace {

// A GBK text in UTF-8, the corpus file's encoding.
std::string Utf8(const std::string& gbk) {
    wchar_t wide[512];
    char utf8[1536];
    int n = MultiByteToWideChar(936, 0, gbk.data(), static_cast<int>(gbk.size()), wide, 512);
    int m = WideCharToMultiByte(CP_UTF8, 0, wide, n, utf8, sizeof utf8, nullptr, nullptr);
    return std::string(utf8, m > 0 ? m : 0);
}

// One character of the output as the corpus spells it: a space as "_",
// printable ASCII as itself, a valid double-byte character in UTF-8,
// anything else as \xHH.
std::string SpelledUnit(const std::string& unit) {
    unsigned char first = static_cast<unsigned char>(unit[0]);
    if (unit == " ") return "_";
    if (unit.size() == 1 && first > 0x20 && first < 0x7F && first != '\\' && first != '*' && first != '_') return unit;
    if (unit.size() == 2) {
        wchar_t wide[2];
        int n = MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, unit.data(), 2, wide, 2);
        char utf8[8];
        int m = n == 1 ? WideCharToMultiByte(CP_UTF8, 0, wide, 1, utf8, sizeof utf8, nullptr, nullptr) : 0;
        if (m > 0) return std::string(utf8, m);
    }
    std::string hex;
    for (unsigned char c : unit) {
        char text[5];
        snprintf(text, sizeof text, "\\x%02X", c);
        hex += text;
    }
    return hex;
}

// A row as runs of one character: "顶*12" is twelve of them.
std::string SpelledRow(const std::string& row) {
    std::string out, last;
    int count = 0;
    auto flush = [&] {
        if (count == 0) return;
        out += SpelledUnit(last);
        if (count > 1) out += "*" + std::to_string(count);
    };
    for (size_t k = 0; k < row.size();) {
        size_t n = static_cast<unsigned char>(row[k]) >= 0x81 && k + 1 < row.size() ? 2 : 1;
        std::string unit = row.substr(k, n);
        k += n;
        if (unit == last) {
            ++count;
        } else {
            flush();
            last = unit, count = 1;
        }
    }
    flush();
    return out;
}

// The whole output, a line per run of equal rows: "3 row" is three rows each
// ending in CR LF; "0 row" is text after the last line end.
std::string Spelled(const std::string& text) {
    std::vector<std::string> rows;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        rows.push_back(text.substr(start, end - start));
    std::string out;
    for (size_t k = 0; k < rows.size();) {
        size_t same = 1;
        while (k + same < rows.size() && rows[k + same] == rows[k]) ++same;
        out += std::to_string(same) + " " + SpelledRow(rows[k]) + "\n";
        k += same;
    }
    if (start < text.size()) out += "0 " + SpelledRow(text.substr(start)) + "\n";
    return out;
}

struct ShapeSetting {
    const char* face;
    int32_t size;
    bool bold, italic;
    const char* text;
};

const ShapeSetting kShapes[] = {
    {"宋体", 12, false, false, "砌字成图"},
    {"宋体", 9, false, true, "Qi我c"},
    {"DejaVu Sans Mono", 24, true, false, "国A"},
    {"Tahoma", 16, false, false, "AB,顶"},
};

void UseShapeSetting(const ShapeSetting& s) {
    for (const UnitRef& unit : {kShapeTextBox, W::画板1}) {
        int font = unit.unit == W::画板1.unit ? Own(qy::draw_panel::kFont) : Own(qy::edit_box::kFont);
        WriteText(unit, font, s.face, qy::kFontFieldFace);
    }
    SetTicked(W::粗, s.bold);
    SetTicked(W::斜, s.italic);
    for (auto [field, value] : {std::pair{qy::kFontFieldBold, s.bold ? 1 : 0}, {qy::kFontFieldItalic, s.italic ? 1 : 0}}) {
        SetPanelFont(field, value);
        SetEditFont(kShapeTextBox, field, value);
    }
    // The typed-size handler sets the panel's font; a position alone does not.
    SetContent(W::字符大小1, std::to_string(s.size));
    SetContent(kShapeTextBox, s.text);
}

// Smooth colours in both directions, so every boundary crosses the picture.
pictest::Image Gradient(int width, int height) {
    pictest::Image image;
    image.width = width, image.height = height;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.pixels.push_back({static_cast<uint8_t>(255 * x / width), static_cast<uint8_t>(255 * y / height),
                                    static_cast<uint8_t>(255 * (x + y) / (width + height)), 255});
    return image;
}

// Every source × threshold × 反向 × 接顶 × 补齐 of the current shape or
// picture, each output under its name; 补齐 only for the fill texts, which
// the own-character sources never read.
void ComposeEveryChoice(const std::string& prefix, std::vector<std::pair<std::string, std::string>>* outputs) {
    for (int32_t source = 0; source < 3; ++source)
        for (int32_t threshold = 0; threshold < 6; ++threshold)
            for (int flags = 0; flags < 8; ++flags) {
                bool invert = flags & 1, top = flags & 2, pad = flags & 4;
                if (pad && source != 0) continue;
                // 补齐 rewrites the boxes, so each case starts from the same texts.
                SetContent(W::编辑框3, "顶");
                SetContent(W::编辑框4, " ");
                SetSelection(W::别字本字, source);
                SetSelection(W::分界色组合框, threshold);
                SetTicked(W::反向, invert);
                SetTicked(W::接顶, top);
                SetTicked(W::补齐, pad);
                SetContent(W::编辑框1, "");
                GenerateTextArt();
                std::ostringstream name;
                name << prefix << " source " << source << " threshold " << threshold << " invert " << invert
                     << " top " << top << " pad " << pad;
                outputs->emplace_back(Utf8(name.str()), Spelled(Content(W::编辑框1)));
            }
}

// The corpus file: "@ name" and the spelled output, or "@ name = other" for
// an output equal to an earlier one's.
std::map<std::string, std::string> ReadCorpus(std::istream& in) {
    std::map<std::string, std::string> corpus;
    std::string line, name;
    while (std::getline(in, line)) {
        if (line.rfind("@ ", 0) == 0) {
            name = line.substr(2);
            size_t same = name.find(" = ");
            if (same != std::string::npos) {
                corpus[name.substr(0, same)] = corpus[name.substr(same + 3)];
                name.clear();
            } else {
                corpus[name];
            }
        } else if (!name.empty()) {
            corpus[name] += line + "\n";
        }
    }
    return corpus;
}

TEST_F(MainWindowTest, EveryChoiceComposesTheRecordedBytes) {
    std::vector<std::pair<std::string, std::string>> outputs;
    for (const ShapeSetting& s : kShapes) {
        UseShapeSetting(s);
        std::ostringstream prefix;
        prefix << "text " << s.text << " in " << s.face << " " << s.size << (s.bold ? " bold" : "")
               << (s.italic ? " italic" : "");
        ComposeEveryChoice(prefix.str(), &outputs);
    }

    SwitchToPictureMode();
    SetTicked(W::锁定比例, true);
    ComposeEveryChoice("picture default", &outputs);
    ReplaceCurrentPicture(LoadTestPicture(pictest::Pattern(60, 40, 7)));
    SetPosition(W::图片宽, 30);
    ComposeEveryChoice("picture pattern 60x40 at 30 locked", &outputs);
    ReplaceCurrentPicture(LoadTestPicture(Gradient(30, 90)));
    SetTicked(W::锁定比例, false);
    SetPosition(W::图片宽, 40);
    SetPosition(W::图片高, 200);
    ComposeEveryChoice("picture gradient 30x90 at 40x200", &outputs);

    const std::string file = std::string("Z:") + QY_CORPUS_FILE;
    const char* record = std::getenv("QY_RECORD_CORPUS");
    if (record && std::string(record) == "1") {
        std::ofstream out(file, std::ios::binary);
        std::map<std::string, std::string> first;
        for (const auto& [name, spelled] : outputs) {
            auto seen = first.find(spelled);
            if (seen != first.end()) {
                out << "@ " << name << " = " << seen->second << "\n";
            } else {
                first[spelled] = name;
                out << "@ " << name << "\n" << spelled;
            }
        }
        ASSERT_TRUE(out.good()) << file;
        return;
    }
    std::ifstream in(file, std::ios::binary);
    ASSERT_TRUE(in.good()) << file;
    std::map<std::string, std::string> corpus = ReadCorpus(in);
    ASSERT_EQ(corpus.size(), outputs.size());
    int differing = 0;
    for (const auto& [name, spelled] : outputs) {
        auto recorded = corpus.find(name);
        ASSERT_NE(recorded, corpus.end()) << name;
        if (recorded->second != spelled && ++differing <= 5)
            ADD_FAILURE() << name << "\nrecorded:\n" << recorded->second << "now:\n" << spelled;
    }
    EXPECT_EQ(differing, 0);
}

}  // namespace
}  // namespace apptest
