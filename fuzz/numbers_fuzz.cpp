// Integer and float text, and every number pattern the program uses: each text either converts
// or gives the conversion error, and formatting what converted reads back.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/numbers.h"

namespace {

const char* const patterns[] = {"####0.000000", "###0.00000000", "###0.000000", "###0.000", "#0.0",
                                "0.000",        "0.00",          "00.000",      "#.00"};

void check(bool condition) {
    if (!condition)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    using namespace skyvane;

    const auto integer = tryParseInt(text);
    try {
        check(parseInt(text) == integer.value());
    } catch (const ConversionError&) {
        check(!integer);
    }

    const auto value = tryParseFloat(text, '.');
    if (!value)
        return 0;
    check(std::isfinite(*value));
    for (const char* pattern : patterns) {
        const std::string formatted = formatPattern(*value, pattern, '.');
        check(!formatted.empty());
        check(tryParseFloat(formatted, '.').has_value());
    }
    check(tryParseFloat(formatGeneral(*value, '.'), '.').has_value());
    check(tryParseFloat(formatFixedPoint6(*value, '.'), '.').has_value());
    try {
        const float single = toSingle(*value);
        const float wrapped[] = {wrapAngleRaiseThenLower(single), wrapAngleLowerThenRaise(single)};
        for (float angle : wrapped)
            check(angle >= 0 && angle < 360);
        check(raiseNegativeAngle(single) >= 0);
    } catch (const MathError&) {
        check(std::fabs(*value) > 3.4e38L);
    }
    return 0;
}
