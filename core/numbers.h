// Number conventions shared by the whole program: cell text to number and back,
// number patterns, 32-bit storage of computed values, and the arithmetic faults.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace skyvane {

// A text that is not a number where one is needed. The message is the user-facing text,
// e.g. "'abc' is not a valid integer value".
class ConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An arithmetic fault: division by zero, an invalid operation or an overflow.
class MathError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr const char* kDivisionByZero = "Floating point division by zero";
inline constexpr const char* kInvalidOperation = "Invalid floating point operation";
inline constexpr const char* kOverflow = "Floating point overflow";

// The one process-wide decimal separator: '.' unless the application sets another at start-up.
char decimalSeparator();
void setDecimalSeparator(char separator);

// Integer text: leading blanks, optional sign, decimal digits or "$" and hexadecimal digits,
// nothing after them; the value must fit 32 bits. Throws ConversionError.
std::int32_t parseInt(std::string_view text);
std::optional<std::int32_t> tryParseInt(std::string_view text);

// Float text: surrounding blanks, optional sign, digits with at most one separator, optional
// exponent. Throws ConversionError. The value is kept at extended precision.
long double parseFloat(std::string_view text, char separator = decimalSeparator());
std::optional<long double> tryParseFloat(std::string_view text,
                                         char separator = decimalSeparator());

// Rounds to a 32-bit float; a finite value beyond the 32-bit range throws MathError(kOverflow).
float toSingle(long double value);

// parseFloat followed by toSingle.
float parseSingle(std::string_view text, char separator = decimalSeparator());
// Cell text to a 32-bit float, or nothing when the text is no number. A number beyond the
// 32-bit range still throws MathError(kOverflow), as parseSingle does.
std::optional<float> tryParseSingle(std::string_view text, char separator = decimalSeparator());
// Whether the text is a number that a 32-bit float can hold.
bool isSingle(std::string_view text, char separator = decimalSeparator());

// a / b; b == 0 throws MathError (division by zero, or invalid operation for 0 / 0).
long double divide(long double a, long double b);

// Nearest integer, halves to the even neighbour (12.5 gives 12). Out of range throws
// MathError(kInvalidOperation).
std::int64_t roundHalfEven(long double value);
std::int32_t roundHalfEven32(long double value);

// Formats with a pattern of "0", "#" and "." ("####0.000000", "#.00", ...): exact decimals,
// halves away from zero on the 18-significant-digit expansion, general format from 1e18 on.
std::string formatPattern(long double value, std::string_view pattern,
                          char separator = decimalSeparator());

// The number formatPattern shows for a finite value with `decimals` (0..8) decimals, as reading
// that text back gives it, without building the text.
long double roundToDecimals(float value, int decimals);

// General format with at most 15 significant digits (the FPS line: 15, 12.5, 29.9699993133545).
std::string formatGeneral(long double value, char separator = decimalSeparator());

// Six decimals; a negative value always keeps its '-', also when every digit shown is 0.
std::string formatFixedPoint6(long double value, char separator = decimalSeparator());

// Angle reductions with each step rounded to 32 bits; all end promptly for any finite value
// and agree with stepping by 360 wherever every step is exact. None returns 360.
float wrapAngleRaiseThenLower(float degrees); // while < 0 add 360, then while >= 360 subtract
float wrapAngleLowerThenRaise(float degrees); // while >= 360 subtract 360, then while < 0 add
float raiseNegativeAngle(float degrees);      // while < 0 add 360; 360 and above stay

} // namespace skyvane
