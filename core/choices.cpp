#include "core/choices.h"

#include <cstdlib>
#include <functional>

namespace core {

const char kUsage[] = "Usage: qizi [OPTIONS] TEXT   or   qizi [OPTIONS] --picture FILE";
const char kVersion[] = "qizi 1.0 (砌字成图)";

namespace {

// The threshold choices by name, in the order of the window's list.
const char* const kThresholdNames[] = {"黑色", "深灰", "灰色", "浅灰", "银白", "白色"};

bool ToInt(const std::string& text, int32_t low, int32_t high, int32_t* value) {
    if (text.empty() || text.size() > 9) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    long v = std::strtol(text.c_str(), nullptr, 10);
    if (v < low || v > high) return false;
    *value = static_cast<int32_t>(v);
    return true;
}

// Picks `text` out of `names`; false when it is none of them.
template <typename T, size_t N>
bool Choose(const std::string& text, const char* const (&names)[N], const T (&values)[N], T* value) {
    for (size_t i = 0; i < N; ++i)
        if (text == names[i]) {
            *value = values[i];
            return true;
        }
    return false;
}

// A handler stores the value (empty for a flag) or says what is wrong with it.
using Apply = std::function<std::string(Choices&, const std::string&)>;

struct Option {
    const char* name;
    char shortName;
    const char* value;  // the value's placeholder; null for a flag
    const char* help;
    Apply apply;
};

Apply Flag(bool Choices::*field) {
    return [field](Choices& c, const std::string&) {
        c.*field = true;
        return std::string();
    };
}
Apply Text(std::string Choices::*field) {
    return [field](Choices& c, const std::string& v) {
        c.*field = v;
        return std::string();
    };
}
// Also records that the option was given.
Apply Given(Apply apply, bool Choices::*given) {
    return [=](Choices& c, const std::string& v) {
        c.*given = true;
        return apply(c, v);
    };
}
Apply Number(int32_t Choices::*field, int32_t low, int32_t high) {
    return [=](Choices& c, const std::string& v) {
        return ToInt(v, low, high, &(c.*field))
                   ? std::string()
                   : "must be a whole number from " + std::to_string(low) + " to " + std::to_string(high);
    };
}

const std::vector<Option>& Options() {
    static const std::vector<Option> options = {
        {"picture", 'p', "FILE", "compose a picture (- reads it from standard input)", Text(&Choices::picture)},
        {"width", 'W', "N",
         "picture grid width in cells, 1-1000 (44); alone, the height follows the picture and the font's cell",
         Given(Number(&Choices::width, 1, kMaxGrid), &Choices::widthGiven)},
        {"height", 'H', "N", "picture grid height in cells, 1-1000; alone, the width follows",
         Given(Number(&Choices::height, 1, kMaxGrid), &Choices::heightGiven)},
        {"fit", 0, "WxH", "the largest grid of the picture's aspect inside W x H cells",
         [](Choices& c, const std::string& v) {
             size_t x = v.find_first_of("xX");
             if (x != std::string::npos && ToInt(v.substr(0, x), 1, kMaxGrid, &c.fitWidth) &&
                 ToInt(v.substr(x + 1), 1, kMaxGrid, &c.fitHeight))
                 return std::string();
             return std::string("must be WxH, each a whole number from 1 to 1000");
         }},
        {"font", 'f', "NAME", "font (ramps: the monospace face; shape texts: 宋体)", Text(&Choices::font)},
        {"size", 's', "N", "font size in points, 1-72 (9)", Number(&Choices::size, 1, kMaxFontSize)},
        {"bold", 0, nullptr, "bold shape text", Flag(&Choices::bold)},
        {"italic", 0, nullptr, "italic shape text", Flag(&Choices::italic)},
        {"underline", 0, nullptr, "underlined shape text", Flag(&Choices::underline)},
        {"strikeout", 0, nullptr, "struck-out shape text", Flag(&Choices::strikeout)},
        {"source", 'S', "fill|double|single|ramp|ramp2|shape",
         "characters: the fill and blank texts (别字), the text's own double-byte (汉字) or single-byte (字母) "
         "characters, a ramp of single-byte or double-byte characters by tone, or the glyph whose shape "
         "matches each cell of a picture (double)",
         [](Choices& c, const std::string& v) {
             static const char* const names[] = {"fill", "double", "single", "ramp", "ramp2", "shape"};
             static const Source values[] = {Source::kFill, Source::kDouble, Source::kSingle, Source::kRamp,
                                             Source::kWideRamp, Source::kShape};
             return Choose(v, names, values, &c.source) ? std::string()
                                                         : "must be fill, double, single, ramp, ramp2 or shape";
         }},
        {"symbols", 0, "SET[,SET...]",
         "the shape source's characters: ascii, blocks, box, braille, cjk, or characters listed (ascii,blocks)",
         Text(&Choices::symbols)},
        {"verbose", 'v', nullptr, "say which --symbols characters the fonts lack", Flag(&Choices::verbose)},
        {"fill", 0, "TEXT", "what an ink cell receives with --source fill (顶)", Text(&Choices::fill)},
        {"blank", 0, "TEXT", "what a paper cell receives with --source fill (empty)", Text(&Choices::blank)},
        {"threshold", 't', "0-5|NAME", "boundary colour: 0 黑色, 1 深灰, 2 灰色, 3 浅灰, 4 银白, 5 白色 (2)",
         [](Choices& c, const std::string& v) {
             static const int32_t values[] = {0, 1, 2, 3, 4, 5};
             if (ToInt(v, 0, 5, &c.threshold) || Choose(v, kThresholdNames, values, &c.threshold)) return std::string();
             return std::string("must be 0 to 5 or 黑色, 深灰, 灰色, 浅灰, 银白, 白色");
         }},
        {"invert", 'i', nullptr, "swap ink and paper (反向)", Flag(&Choices::invert)},
        {"pad", 0, nullptr, "pad the fill and blank texts to one length (补齐, on)", Flag(&Choices::pad)},
        {"no-pad", 0, nullptr, "do not pad them", [](Choices& c, const std::string&) {
             c.pad = false;
             return std::string();
         }},
        {"top", 0, nullptr, "move the shape to the top-left corner (接顶)", Flag(&Choices::top)},
        {"ramp", 'r', "TEXT", "the ramp's characters from light to dark (measured in the font)", Text(&Choices::ramp)},
        {"dither", 'd', nullptr, "Floyd-Steinberg error diffusion: of brightness in a ramp, else of the colour value the threshold compares", Flag(&Choices::dither)},
        {"format", 'F', "text|html|ansi", "plain text, one HTML page, or 24-bit colour escapes (text)",
         [](Choices& c, const std::string& v) {
             static const char* const names[] = {"text", "html", "ansi"};
             static const Format values[] = {Format::kText, Format::kHtml, Format::kAnsi};
             return Choose(v, names, values, &c.format) ? std::string() : "must be text, html or ansi";
         }},
        {"encoding", 'e', "utf8|gbk", "bytes written to a file or pipe (utf8)",
         [](Choices& c, const std::string& v) {
             static const char* const names[] = {"utf8", "utf-8", "gbk"};
             static const Encoding values[] = {Encoding::kUtf8, Encoding::kUtf8, Encoding::kGbk};
             return Choose(v, names, values, &c.encoding) ? std::string() : "must be utf8 or gbk";
         }},
        {"output", 'o', "FILE", "write to FILE instead of standard output (- is standard output)",
         Text(&Choices::output)},
        {"help", 0, nullptr, "show this list and stop", Flag(&Choices::help)},
        {"version", 0, nullptr, "show the version and stop", Flag(&Choices::version)},
    };
    return options;
}

const Option* FindLong(const std::string& name) {
    for (const Option& o : Options())
        if (name == o.name) return &o;
    return nullptr;
}
const Option* FindShort(char name) {
    for (const Option& o : Options())
        if (o.shortName && o.shortName == name) return &o;
    return nullptr;
}

}  // namespace

namespace {

// Applies one option with its value, taking the next argument when it needs
// one and has none; an error otherwise.
std::string ApplyOption(const Option* option, const std::string& shown, bool hasValue, std::string value,
                        const std::vector<std::string>& args, size_t* i, Choices& c) {
    if (!option) return "unknown option " + shown;
    if (!option->value) {
        if (hasValue) return "option " + shown + " takes no value";
    } else if (!hasValue) {
        if (*i + 1 >= args.size()) return "option " + shown + " needs a value";
        value = args[++*i];
    }
    std::string wrong = option->apply(c, value);
    return wrong.empty() ? wrong : shown + " " + wrong;
}

// A text over its limit, named with the limit.
std::string TooLong(const char* what, const std::string& text, size_t limit) {
    if (text.size() <= limit) return std::string();
    return std::string(what) + " is " + std::to_string(text.size()) + " bytes; the limit is " + std::to_string(limit) +
           " bytes";
}

// Four-byte GB18030 characters are those GBK lacks: a lead byte, then a digit.
bool HasFourByteCharacters(const std::string& text) {
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        uint8_t lead = static_cast<uint8_t>(text[i]), next = static_cast<uint8_t>(text[i + 1]);
        if (lead < 0x81) continue;
        if (next >= 0x30 && next <= 0x39) return true;
        ++i;
    }
    return false;
}

}  // namespace

void PadFillTexts(bool pad, std::string* fill, std::string* blank) {
    if (!pad) return;
    if (blank->size() < fill->size()) blank->append(fill->size() - blank->size(), ' ');
    if (fill->size() < blank->size()) fill->append(blank->size() - fill->size(), ' ');
}

ParsedLine ParseCommandLine(const std::vector<std::string>& args) {
    ParsedLine line;
    Choices& c = line.choices;
    std::vector<std::string> operands;
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size() && line.error.empty(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg == "-" || arg.size() < 2 || arg[0] != '-') {
            operands.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg[1] == '-') {
            size_t equals = arg.find('=');
            std::string shown = arg.substr(0, equals);
            bool hasValue = equals != std::string::npos;
            line.error = ApplyOption(FindLong(shown.substr(2)), shown, hasValue,
                                     hasValue ? arg.substr(equals + 1) : std::string(), args, &i, c);
        } else {
            // Short flags combine ("-id"); an option with a value takes the rest.
            for (size_t k = 1; k < arg.size() && line.error.empty(); ++k) {
                const Option* option = FindShort(arg[k]);
                std::string shown = std::string("-") + arg[k];
                bool takesRest = option && option->value && k + 1 < arg.size();
                line.error = ApplyOption(option, shown, takesRest, takesRest ? arg.substr(k + 1) : std::string(),
                                         args, &i, c);
                if (takesRest) break;
            }
        }
    }
    if (!line.error.empty() || c.help || c.version) return line;
    if (operands.size() > 1) {
        line.error = "one TEXT only (quote a text with spaces)";
    } else if (operands.size() == 1) {
        c.text = operands[0];
        c.textGiven = true;
        if (c.text.empty()) line.error = "the TEXT is empty";
    } else if (c.picture.empty()) {
        line.error = "a TEXT or --picture FILE is needed";
    }
    if (line.error.empty() && c.source == Source::kShape && c.picture.empty())
        line.error = "--source shape matches a picture: give --picture FILE";
    for (const std::string& tooLong : {TooLong("the TEXT", c.text, kMaxShapeTextBytes),
                                       TooLong("--fill", c.fill, kMaxFillTextBytes),
                                       TooLong("--blank", c.blank, kMaxFillTextBytes),
                                       TooLong("--ramp", c.ramp, kMaxRampBytes),
                                       TooLong("--symbols", c.symbols, kMaxRampBytes)})
        if (line.error.empty()) line.error = tooLong;
    if (line.error.empty()) line.error = UnencodableArgument(c);
    return line;
}

std::string UnencodableArgument(const Choices& c) {
    if (c.encoding != Encoding::kGbk) return std::string();
    const std::pair<const char*, const std::string*> texts[] = {
        {"the TEXT", &c.text}, {"--fill", &c.fill}, {"--blank", &c.blank}, {"--ramp", &c.ramp}};
    for (const auto& text : texts)
        if (HasFourByteCharacters(*text.second))
            return std::string(text.first) + " has characters that GBK cannot hold; use --encoding utf8";
    return std::string();
}

std::string HelpText() {
    std::string help = std::string(kUsage) +
                       "\nComposes a text picture of a shape text or a picture, as 砌字成图 does.\n\nOptions:\n";
    for (const Option& o : Options()) {
        std::string head = "  ";
        head += o.shortName ? std::string("-") + o.shortName + ", " : "    ";
        head += std::string("--") + o.name;
        if (o.value) head += std::string(" ") + o.value;
        if (head.size() < 32) head.resize(32, ' ');
        help += head + " " + o.help + "\n";
    }
    help += "\nExit status: 0 done; 1 a file could not be read or written, or nothing to compose; 2 a bad option or\n"
            "value, or a limit passed (1000 x 1000 cells, the texts' lengths, 64 MiB of output).\n";
    return help;
}

}  // namespace core
