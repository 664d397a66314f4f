// Comparison of multibyte texts in the system's ANSI code page: a lead byte
// followed by a non-zero byte is one 16-bit character, and case folding uses
// the code page's single-byte case table and the user locale's upper-case
// mapping for double-byte characters (so full-width letters fold too).
#pragma once

namespace qy {

// Negative, 0 or positive as a sorts before, equal to or after b.
int CompareMultiByteText(const char* a, const char* b, bool caseSensitive);

}  // namespace qy
