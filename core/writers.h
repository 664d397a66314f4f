// A grid as text: the window's GBK text exactly, one HTML page whose columns
// line up in any browser, or 24-bit ANSI colour. All return GBK (GB18030)
// bytes; UTF-8 is the front end's conversion.
#pragma once
#include <string>

#include "core/choices.h"
#include "core/grid.h"

namespace core {

// Cells, row tail and line end, as the window's display holds them.
std::string WriteText(const Grid& grid);
// `charset` names the encoding the page will be written in.
std::string WriteHtml(const Grid& grid, Encoding charset);
std::string WriteAnsi(const Grid& grid);
// The writer the choices name.
std::string Write(const Grid& grid, const Choices& choices);

}  // namespace core
