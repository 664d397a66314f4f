#include "core/writers.h"

#include <algorithm>
#include <cstdio>

namespace core {

namespace {

std::string Hex(uint32_t colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
    return text;
}

// A colour kept in hue but no lighter than a glyph needs to read on white.
uint32_t Legible(uint32_t colour) {
    double r = colour & 0xFF, g = (colour >> 8) & 0xFF, b = (colour >> 16) & 0xFF;
    double brightness = (0.299 * r + 0.587 * g + 0.114 * b) / 255.0;
    constexpr double kLightest = 0.45;
    if (brightness <= kLightest) return colour;
    double scale = kLightest / brightness;
    auto channel = [&](double v) { return static_cast<uint32_t>(v * scale + 0.5); };
    return channel(r) | channel(g) << 8 | channel(b) << 16;
}

void AppendEscaped(std::string* out, const std::string& text) {
    for (char ch : text) {
        switch (ch) {
            case '<': *out += "&lt;"; break;
            case '>': *out += "&gt;"; break;
            case '&': *out += "&amp;"; break;
            default: *out += ch;
        }
    }
}

// Calls `run(plain, colour, background, first, last)` for each row's runs of
// cells of one colour and background (-1: none), then `end()`.
template <typename Run, typename End>
void ForEachRun(const Grid& g, Run run, End end) {
    bool backgrounds = g.backgrounds.size() == g.cells.size();
    for (int32_t y = 0; y < g.rows; ++y) {
        size_t offset = static_cast<size_t>(y) * g.columns;
        const Cell* row = g.cells.data() + offset;
        auto background = [&](int32_t x) {
            return backgrounds ? static_cast<int64_t>(g.backgrounds[offset + x]) : int64_t{-1};
        };
        for (int32_t x = 0; x < g.columns;) {
            int32_t first = x;
            bool plain = row[x].defaultColour;
            uint32_t colour = row[x].colour;
            int64_t back = background(x);
            while (x < g.columns && row[x].defaultColour == plain && (plain || row[x].colour == colour) &&
                   background(x) == back)
                ++x;
            run(plain, colour, back, row + first, row + x);
        }
        end();
    }
}

}  // namespace

std::string WriteText(const Grid& g) {
    size_t bytes = static_cast<size_t>(g.rows) * (g.rowTail.size() + g.lineEnd.size());
    for (const Cell& cell : g.cells) bytes += g.Text(cell).size();
    std::string text;
    text.reserve(bytes);
    const Cell* cell = g.cells.data();
    for (int32_t y = 0; y < g.rows; ++y) {
        for (int32_t x = 0; x < g.columns; ++x) text += g.Text(*cell++);
        text += g.rowTail;
        text += g.lineEnd;
    }
    return text;
}

// Each cell is an inline block one or two `ch` of the generic monospace face
// wide (<i> and <b>, a longer fill text <i class="wN">), so a column lines up
// whichever face draws a character, and a blank double-width cell is as wide
// as a drawn one.
std::string WriteHtml(const Grid& g, Encoding charset) {
    std::string page = std::string("<!DOCTYPE html>\n<html><head><meta charset=\"") +
                       (charset == Encoding::kGbk ? "gbk" : "utf-8") +
                       "\"><title>qizi</title>\n<style>\n"
                       "body{background:#fff;color:#000}\n"
                       "pre{font-family:monospace;font-size:16px;line-height:1.25}\n"
                       "pre i,pre b{display:inline-block;font-style:normal;font-weight:normal;white-space:pre;"
                       "height:1.25em;vertical-align:top;text-align:center}\n"
                       "pre i{width:1ch}\npre b{width:2ch}\npre span>i,pre span>b{background:inherit}\n";
    std::vector<bool> wider;
    auto note = [&](int32_t width) {
        if (width > 2 && static_cast<size_t>(width) >= wider.size()) wider.resize(static_cast<size_t>(width) + 1);
        if (width > 2 && !wider[static_cast<size_t>(width)]) {
            wider[static_cast<size_t>(width)] = true;
            page += "pre i.w" + std::to_string(width) + "{width:" + std::to_string(width) + "ch}\n";
        }
    };
    for (const Cell& cell : g.cells) note(cell.width);
    note(DisplayWidth(g.rowTail));
    page += "</style></head>\n<body><pre>\n";
    auto cellHtml = [&](const std::string& text, int32_t width) {
        page += width == 1 ? "<i>" : width == 2 ? "<b>" : "<i class=\"w" + std::to_string(width) + "\">";
        AppendEscaped(&page, text);
        page += width == 2 ? "</b>" : "</i>";
    };
    ForEachRun(
        g,
        [&](bool plain, uint32_t colour, int64_t back, const Cell* first, const Cell* last) {
            bool styled = !plain || back >= 0;
            if (styled) {
                page += "<span style=\"";
                if (!plain) page += "color:" + Hex(g.tones ? Legible(colour) : colour);
                if (back >= 0) page += std::string(plain ? "" : ";") + "background:" + Hex(static_cast<uint32_t>(back));
                page += "\">";
            }
            // A cell a wide glyph covers has no text and no box of its own.
            for (const Cell* cell = first; cell != last; ++cell)
                if (cell->width > 0) cellHtml(g.Text(*cell), cell->width);
            if (styled) page += "</span>";
        },
        [&] {
            if (!g.rowTail.empty()) cellHtml(g.rowTail, DisplayWidth(g.rowTail));
            page += "\n";
        });
    return page + "</pre></body></html>\n";
}

// Shape texts and margins take the terminal's own text colour: no colour
// code at all, and a reset only after a coloured run.
std::string WriteAnsi(const Grid& g) {
    std::string text;
    bool coloured = false;
    ForEachRun(
        g,
        [&](bool plain, uint32_t colour, int64_t back, const Cell* first, const Cell* last) {
            auto rgb = [](uint32_t c) {
                return std::to_string(c & 0xFF) + ";" + std::to_string((c >> 8) & 0xFF) + ";" +
                       std::to_string((c >> 16) & 0xFF) + "m";
            };
            if (plain && coloured) {
                text += "\x1b[39m";
                coloured = false;
            } else if (!plain) {
                text += "\x1b[38;2;" + rgb(colour);
                coloured = true;
            }
            if (back >= 0) {
                text += "\x1b[48;2;" + rgb(static_cast<uint32_t>(back));
                coloured = true;
            }
            for (const Cell* cell = first; cell != last; ++cell) text += g.Text(*cell);
        },
        [&] {
            if (coloured) text += "\x1b[0m";
            coloured = false;
            text += g.rowTail + g.lineEnd;
        });
    return text;
}

std::string Write(const Grid& g, const Choices& c) {
    switch (c.format) {
        case Format::kHtml: return WriteHtml(g, c.encoding);
        case Format::kAnsi: return WriteAnsi(g);
        case Format::kText: break;
    }
    return WriteText(g);
}

}  // namespace core
