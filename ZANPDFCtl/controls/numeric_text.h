#pragma once
// Numbers typed into text boxes, read the classic way.

#include <QString>

#include <cstdint>

namespace zan {

// The number at the start of `text`: blanks (spaces, tabs, line breaks) anywhere are skipped,
// an optional sign, digits, "." as the decimal point and an optional exponent (E or D) are
// read up to the first other character. An empty or non-numeric text gives 0.
double leadingNumber(const QString& text);

// leadingNumber(text) rounded to the nearest integer, halves to the even neighbour
// (12.5 -> 12, 13.5 -> 14). Outside -32768..32767 fails with error 6 "Overflow".
std::int16_t toInteger16(const QString& text);

// True when `text` is an optional sign followed by decimal digits only (no blanks).
bool isWholeNumber(const QString& text);

}  // namespace zan
