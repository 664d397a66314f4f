// The composer's choices as one record, with every default set here, and
// qizi's option language that fills it. Texts are GBK bytes, the window
// program's texts; qizi passes GB18030, whose four-byte characters carry
// what GBK lacks.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace core {

enum class Source { kFill = 0, kDouble = 1, kSingle = 2, kRamp = 3, kWideRamp = 4, kShape = 5 };
enum class Format { kText, kHtml, kAnsi };
enum class Encoding { kUtf8, kGbk };

// Limits that keep a composition within memory; each refusal names its limit.
constexpr int32_t kMaxGrid = 1000;            // cells a side
constexpr int32_t kMaxFontSize = 72;          // points
constexpr size_t kMaxShapeTextBytes = 1000;   // the shape text
constexpr size_t kMaxFillTextBytes = 20000;   // a fill or blank text
constexpr size_t kMaxRampBytes = 1000;        // an explicit ramp
constexpr size_t kMaxOutputBytes = 64u << 20; // the composed text

// The window draws the shape this far from the panel's corner, and 接顶 moves
// its first ink to these margins.
constexpr int32_t kDrawOffset = 2;
constexpr int32_t kTextTopMargin = 4;
constexpr int32_t kPictureTopMargin = 1;

// The boundary colour (0x00BBGGRR) of each threshold choice, 黑色 .. 白色.
constexpr int32_t kThresholdColours[] = {0xFFFFFF, 0xECECEC, 0xC0C0C0, 0x808080, 0x606060, 0};

struct Choices {
    std::string text = "我爱你";  // the shape text
    bool textGiven = false;
    std::string picture;  // empty: shape text mode; "-": standard input
    // The picture grid: both given is exactly that; one alone takes the other
    // from the picture's and the cell's aspect; fit is the largest such grid
    // inside fitWidth x fitHeight.
    int32_t width = 44, height = 44;
    bool widthGiven = false, heightGiven = false;
    int32_t fitWidth = 0, fitHeight = 0;
    bool lock = true;  // the window's 锁定比例: the longer side follows its control
    std::string font;  // empty: the platform's face for the source (monospace for ramps, 宋体 otherwise)
    int32_t size = 9;
    bool bold = false, italic = false, underline = false, strikeout = false;
    Source source = Source::kDouble;
    std::string fill = "顶", blank;
    int32_t threshold = 2;
    bool invert = false, pad = true, top = false;
    std::string ramp;  // empty: measured in the font
    bool dither = false;
    std::string symbols = "ascii,blocks";  // the shape source's candidate sets or characters
    Format format = Format::kText;
    Encoding encoding = Encoding::kUtf8;
    std::string output;  // empty or "-": standard output
    bool verbose = false;
    bool help = false, version = false;

    // A choice outside the list (the window's combo box can hold none) takes 灰色's.
    int32_t ThresholdColour() const { return kThresholdColours[threshold >= 0 && threshold <= 5 ? threshold : 2]; }
    bool IsRamp() const { return source == Source::kRamp || source == Source::kWideRamp; }
};

// The fill and blank texts as 补齐 leaves them: the shorter padded with
// spaces to the longer's byte length; unchanged without `pad`.
void PadFillTexts(bool pad, std::string* fill, std::string* blank);

struct ParsedLine {
    Choices choices;
    std::string error;  // empty when the line is good; the exit status is then 2
};

// Arguments without the program name, as GBK (GB18030) texts.
ParsedLine ParseCommandLine(const std::vector<std::string>& args);

// The first text of the choices that `encoding` cannot hold, named by its
// option ("--fill: ..."); empty when all fit. UTF-8 holds everything.
std::string UnencodableArgument(const Choices& choices);

extern const char kUsage[];
// The option list with defaults, for --help.
std::string HelpText();
extern const char kVersion[];

// Exit statuses of qizi in both builds.
enum ExitCode { kDone = 0, kFailed = 1, kBadLine = 2 };

}  // namespace core
