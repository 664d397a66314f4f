// Conversions of general values shared by the conversion commands and the
// units that write values (the drawing panel writes numbers and dates the
// way ToText does). Texts and byte sets come back as plain bytes; an empty
// result is the empty string.
//
// An argument record with the by-address bit is read as an array block of
// its element type, as arrays are passed.
#pragma once
#include <cstdint>
#include <string>

#include "runtime/value.h"

namespace qy {

// ToText: numbers in decimal, float to 6 and double to 13 significant
// digits, "真"/"假", dates as "%d年%d月%d日" with the time tail they need.
std::string ConvertToText(const ValueRecord& value);
std::string FloatText(float value);
std::string DoubleText(double value);
std::string DateTimeText(double days);

// ToInteger: texts after full-width normalisation, floating values
// truncated toward zero, 0 for anything without a number.
int32_t ConvertToInteger(const ValueRecord& value);
// The decimal integer at the start of a text (white space, sign, digits).
int32_t ParseDecimalInteger(const char* text);

// ToByteSet: the little-endian image of a value.
std::string ConvertToBytes(const ValueRecord& value);

// Low 32 bits of the 64-bit integer of a floating value; values outside the
// 64-bit range (and NaN) convert to its "indefinite" value, low half 0.
int32_t Low32OfInteger(double value);
// FloorToInteger: floor, after snapping a fraction within 1e-12 of a whole
// number to that number.
int32_t FloorWithSnap(double value);

}  // namespace qy
