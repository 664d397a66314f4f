// The command line of qizi: the choices of the main window as GNU-style
// options, with the window's defaults. Texts are UTF-8 here.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace cli {

enum class Source { kFill = 0, kDouble = 1, kSingle = 2, kRamp = 3, kWideRamp = 4 };
enum class Format { kText, kHtml, kAnsi };
enum class Encoding { kUtf8, kGbk };

constexpr int32_t kMaxGrid = 1000;
constexpr int32_t kMaxFontSize = 72;

struct Choices {
    std::string text = "我爱你";
    bool textGiven = false;
    std::string picture;  // empty: shape text mode; "-": standard input
    int32_t width = 44, height = 44;
    bool lock = true;
    std::string font = "宋体";
    int32_t size = 9;
    bool bold = false, italic = false, underline = false, strikeout = false;
    Source source = Source::kDouble;
    std::string fill = "顶", blank;
    int32_t threshold = 2;
    bool invert = false, pad = true, top = false;
    std::string ramp;  // empty: measured in the font
    bool dither = false;
    Format format = Format::kText;
    Encoding encoding = Encoding::kUtf8;
    std::string output;  // empty: standard output
    bool help = false, version = false;
};

struct ParsedLine {
    Choices choices;
    std::string error;  // empty when the line is good
};

// Arguments without the program name.
ParsedLine ParseCommandLine(const std::vector<std::string>& args);

extern const char kUsage[];
// The option list with defaults, for --help.
std::string HelpText();
extern const char kVersion[];

}  // namespace cli
