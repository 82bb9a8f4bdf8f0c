#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vistrel::model {

// The number a text begins with, read the way the old Basic Val() reads it:
// blanks, tabs and line feeds are skipped wherever they stand (even between
// digits), then an optional sign, digits, an optional decimal point with a
// fraction and an optional exponent (E, e, D or d, optional sign, digits).
// Reading stops at the first other character; a text that does not begin
// with a number, the empty text included, is 0. A value too large for a
// double is held at the largest finite double of its sign, so the result
// is always finite.
double numericValue(std::string_view text);

// The decimal text of a number, as written into scripts and text boxes: no
// leading blank, "-" before a negative number, no decimal point for a whole
// number. Fractions keep up to 15 significant digits without trailing zeros
// (280.5); magnitudes from 1E+15 up, and very small fractions, take the
// exponent form 1E+15 / 1E-05.
std::string decimalText(double value);
std::string decimalText(std::int64_t value);
std::string decimalText(int value);

}  // namespace vistrel::model
