// The number conventions every cell, box and file relies on.
#include <gtest/gtest.h>

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstring>

#include "core/numbers.h"

using namespace skyvane;

namespace {

struct IntCase {
    const char* text;
    std::optional<std::int32_t> value;
};

TEST(IntegerText, acceptsDecimalHexAndSignsOnly) {
    const IntCase cases[] = {
        {"0", 0},
        {"42", 42},
        {"  7", 7},
        {"+12", 12},
        {"-5", -5},
        {"007", 7},
        {"$1F", 31},
        {"$ff", 255},
        {"-$10", -16},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"$7FFFFFFF", 2147483647},
        {"2147483648", std::nullopt},
        {"$80000000", std::nullopt},
        {"", std::nullopt},
        {" ", std::nullopt},
        {"5 ", std::nullopt},
        {"1.5", std::nullopt},
        {"abc", std::nullopt},
        {"$", std::nullopt},
        {"-", std::nullopt},
        {"0x1F", std::nullopt},
        {"1e3", std::nullopt},
        {"99999999999999999999", std::nullopt},
    };
    for (const IntCase& c : cases)
        EXPECT_EQ(tryParseInt(c.text), c.value) << "text: '" << c.text << "'";
}

TEST(IntegerText, conversionErrorQuotesTheText) {
    try {
        parseInt("1.5");
        FAIL() << "no error";
    } catch (const ConversionError& error) {
        EXPECT_STREQ(error.what(), "'1.5' is not a valid integer value");
    }
    EXPECT_THROW(parseInt(""), ConversionError);
}

struct FloatCase {
    const char* text;
    char separator;
    std::optional<long double> value;
};

TEST(FloatText, acceptsTheProgramsNumberSyntax) {
    const FloatCase cases[] = {
        {"0", '.', 0.0L},
        {"1.5", '.', 1.5L},
        {" -2.25 ", '.', -2.25L},
        {"+3", '.', 3.0L},
        {".5", '.', 0.5L},
        {"5.", '.', 5.0L},
        {"1e3", '.', 1000.0L},
        {"2.5E-2", '.', 0.025L},
        {"1e+2", '.', 100.0L},
        {"1,5", ',', 1.5L},
        {"1e39", '.', 1e39L},
        {"1e-5000", '.', 0.0L},
        {"1,5", '.', std::nullopt},
        {"1.5", ',', std::nullopt},
        {"", '.', std::nullopt},
        {".", '.', std::nullopt},
        {"1.2.3", '.', std::nullopt},
        {"1e", '.', std::nullopt},
        {"e5", '.', std::nullopt},
        {"nan", '.', std::nullopt},
        {"inf", '.', std::nullopt},
        {"1 000", '.', std::nullopt},
        {"$10", '.', std::nullopt},
        {"1e5000", '.', std::nullopt},
        {"0x10", '.', std::nullopt},
        {"abc", '.', std::nullopt},
        // Around the bounds of 19 digits and 27 decimals the value stays correctly rounded.
        {"-.5", '.', -0.5L},
        {"-", '.', std::nullopt},
        {"+.", '.', std::nullopt},
        {"+.5", '.', 0.5L},
        {"--1", '.', std::nullopt},
        {"1..5", '.', std::nullopt},
        {"1.5-", '.', std::nullopt},
        {"-12345678901234567.89", '.', -12345678901234567.89L},
        {"9999999999999999999", '.', 9999999999999999999.0L},
        {"99999999999999999999", '.', 99999999999999999999.0L},
        {"00000000000000000000.5", '.', 0.5L},
        {"0.1234567890123456789", '.', 0.1234567890123456789L},
        {"1234.5678901234567891", '.', 1234.5678901234567891L},
        {"0.000000000000000000000000001", '.', 1e-27L},
        {"0.0000000000000000000000000001", '.', 1e-28L},
    };
    for (const FloatCase& c : cases)
        EXPECT_EQ(tryParseFloat(c.text, c.separator), c.value) << "text: '" << c.text << "'";
}

// A number just above the largest 32-bit float that still rounds to it is one.
TEST(FloatText, singleIsTheNumberIn32BitsOrNothing) {
    EXPECT_EQ(tryParseSingle("1.1", '.'), 1.1f);
    EXPECT_EQ(tryParseSingle("1,1", '.'), std::nullopt);
    EXPECT_EQ(tryParseSingle("3.4028235e38", '.'), FLT_MAX);
    for (const char* text : {"3.4028235e38", "-1e-50", "0"})
        EXPECT_TRUE(isSingle(text, '.')) << text;
    for (const char* text : {"3.41e38", "-1e39", "x"})
        EXPECT_FALSE(isSingle(text, '.')) << text;
}

TEST(FloatText, conversionErrorQuotesTheText) {
    try {
        parseFloat("abc", '.');
        FAIL() << "no error";
    } catch (const ConversionError& error) {
        EXPECT_STREQ(error.what(), "'abc' is not a valid floating point value");
    }
}

// Mantissas longer than any value needs round as their exact value does.
TEST(FloatText, longMantissasRoundAsTheirExactValue) {
    const std::string zeros(30000, '0');
    // 1 + 2^-64, exactly halfway between 1 and the next extended value 1 + 2^-63.
    const std::string halfway =
        "1.0000000000000000000542101086242752217003726400434970855712890625";
    const struct {
        std::string text;
        long double value;
    } cases[] = {
        {halfway + zeros, 1.0L},                  // a tie goes to the even neighbour
        {halfway + zeros + "1", 1.0L + 0x1p-63L}, // past the tie, however far out
        {"1" + zeros + "e-30000", 1.0L},          // digits before the point keep their place
        {"-" + std::string(30000, '9') + "e-29999", -10.0L},
        {"0." + std::string(30000, '3'), parseFloat("0.33333333333333333333333333333", '.')},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseFloat(c.text, '.'), c.value) << c.text.substr(0, 80);
}

// A message quotes at most 60 characters of the text, and a NUL byte does not end it.
TEST(ConversionErrors, quoteTheStartOfTheTextAndShowNul) {
    const std::string sixty(60, '7');
    const struct {
        std::string text;
        std::string quoted;
    } cases[] = {
        {"abc", "'abc'"},
        {sixty + "x", "'" + sixty + "...'"},
        {"x" + sixty.substr(1), "'x" + sixty.substr(1) + "'"},
        {std::string(50'000'000, '7') + "x", "'" + sixty + "...'"},
        {std::string("3.00\0x", 6), "'3.00\\0x'"},
    };
    for (const auto& c : cases) {
        for (const bool integer : {true, false}) {
            try {
                integer ? void(parseInt(c.text)) : void(parseFloat(c.text, '.'));
                ADD_FAILURE() << "no error for " << c.quoted;
            } catch (const ConversionError& error) {
                EXPECT_EQ(std::string(error.what()),
                          c.quoted + (integer ? " is not a valid integer value"
                                              : " is not a valid floating point value"));
            }
        }
    }
}

TEST(FloatText, usesTheProcessSeparatorByDefault) {
    setDecimalSeparator(',');
    EXPECT_EQ(tryParseFloat("2,5"), 2.5L);
    EXPECT_EQ(formatPattern(2.5L, "0.00"), "2,50");
    setDecimalSeparator('.');
    EXPECT_EQ(formatPattern(2.5L, "0.00"), "2.50");
}

TEST(Arithmetic, faultsCarryTheirTexts) {
    auto textOf = [](auto&& action) {
        try {
            action();
        } catch (const MathError& error) {
            return std::string(error.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(textOf([] { divide(1, 0); }), "Floating point division by zero");
    EXPECT_EQ(textOf([] { divide(0, 0); }), "Invalid floating point operation");
    EXPECT_EQ(textOf([] { toSingle(1e39L); }), "Floating point overflow");
    EXPECT_EQ(textOf([] { toSingle(-1e39L); }), "Floating point overflow");
    EXPECT_EQ(textOf([] { parseSingle("1e39", '.'); }), "Floating point overflow");
    EXPECT_EQ(textOf([] { tryParseSingle("-1e39", '.'); }), "Floating point overflow");
    EXPECT_EQ(textOf([] { roundHalfEven32(3e9L); }), "Invalid floating point operation");
    EXPECT_EQ(textOf([] { roundHalfEven(1e19L); }), "Invalid floating point operation");
    EXPECT_EQ(toSingle(static_cast<long double>(FLT_MAX)), FLT_MAX);
    EXPECT_EQ(divide(1, 4), 0.25L);
}

TEST(Arithmetic, roundsHalvesToEven) {
    EXPECT_EQ(roundHalfEven(12.5L), 12);
    EXPECT_EQ(roundHalfEven(2.5L), 2);
    EXPECT_EQ(roundHalfEven(1.5L), 2);
    EXPECT_EQ(roundHalfEven(-2.5L), -2);
    EXPECT_EQ(roundHalfEven(2.6L), 3);
}

struct PatternCase {
    long double value;
    const char* pattern;
    const char* text;
};

TEST(NumberPatterns, formatAsTheProgramShowsNumbers) {
    const PatternCase cases[] = {
        {15, "00.000", "15.000"},
        {5, "00.000", "05.000"},
        {15, "#.00", "15.00"},
        {0.5L, "#.00", ".50"},
        {29.97f, "#.00", "29.97"},
        {0, "#.00", ".00"},
        {0, "0.000", "0.000"},
        {2, "0.00", "2.00"},
        {1234.567f, "####0.000000", "1234.567017"},
        {100.1f, "###0.000000", "100.099998"},
        {0.1f, "###0.00000000", "0.10000000"},
        {1234.567f, "###0.00000000", "1234.56701660"},
        {0.0078125L, "####0.000000", "0.007813"},
        {-0.0078125L, "####0.000000", "-0.007813"},
        {-0.0000004L, "####0.000000", "-0.000000"},
        {-0.00000004L, "####0.000000", "0.000000"},
        {-0.0000001L, "####0.000000", "-0.000000"},
        {-0.0L, "####0.000000", "0.000000"},
        {0.9999996L, "###0.000000", "1.000000"},
        {9.9999996L, "#0.0", "10.0"},
        {-49.3844L, "###0.000", "-49.384"},
        {0.0005L, "###0.000", "0.001"},
        {-0.0005L, "###0.000", "-0.001"},
        {1e18L, "###0.000", "1E18"},
        {123456789.0L, "###0.000", "123456789.000"},
    };
    for (const PatternCase& c : cases)
        EXPECT_EQ(formatPattern(c.value, c.pattern, '.'), c.text)
            << "value " << static_cast<double>(c.value) << " pattern " << c.pattern;
}

TEST(GeneralFormat, fifteenSignificantDigits) {
    const std::pair<long double, const char*> cases[] = {
        {15, "15"},
        {12.5L, "12.5"},
        {29.97f, "29.9699993133545"},
        {0, "0"},
        {-3.25L, "-3.25"},
        {0.5L, "0.5"},
        {0.00001L, "0.00001"},
        {0.000001L, "1E-6"},
        {1e15L, "1E15"},
        {123456789012345.0L, "123456789012345"},
        {1.5e20L, "1.5E20"},
        {3.4028234663852886e38L, "3.40282346638529E38"},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(formatGeneral(value, '.'), text) << static_cast<double>(value);
}

TEST(FixedPoint6, signKeptAndProgramsSeparator) {
    EXPECT_EQ(formatFixedPoint6(12.5L), "12.500000");
    EXPECT_EQ(formatFixedPoint6(-0.0000001L), "-0.000000");
    EXPECT_EQ(formatFixedPoint6(100.1f), "100.099998");
    EXPECT_EQ(formatFixedPoint6(0.0000005L), "0.000001");
    EXPECT_EQ(formatFixedPoint6(0), "0.000000");
    setDecimalSeparator(',');
    EXPECT_EQ(formatFixedPoint6(-0.0000001L), "-0,000000");
    EXPECT_EQ(formatFixedPoint6(12.5L, '.'), "12.500000");
    setDecimalSeparator('.');
}

struct AngleCase {
    float in;
    float raiseThenLower;
    float lowerThenRaise;
    float raiseOnly;
};

TEST(AngleWrap, stepsBy360AndNeverGives360) {
    const AngleCase cases[] = {
        {10, 10, 10, 10},
        {370, 10, 10, 370},
        {-90, 270, 270, 270},
        {720, 0, 0, 720},
        {-720, 0, 0, 0},
        {-0.0000001f, 0, 0, 0}, // +360 lands on 360 in 32 bits
        {359.99f, 359.99f, 359.99f, 359.99f},
        {-1000.5f, 79.5f, 79.5f, 79.5f},
        {100000.25f, 280.25f, 280.25f, 100000.25f},
    };
    for (const AngleCase& c : cases) {
        EXPECT_EQ(wrapAngleRaiseThenLower(c.in), c.raiseThenLower) << c.in;
        EXPECT_EQ(wrapAngleLowerThenRaise(c.in), c.lowerThenRaise) << c.in;
        EXPECT_EQ(raiseNegativeAngle(c.in), c.raiseOnly) << c.in;
    }
}

TEST(AngleWrap, endsForHugeMagnitudes) {
    for (float huge : {8.6e9f, -8.6e9f, 3.4e38f, -3.4e38f}) {
        const float a = wrapAngleRaiseThenLower(huge);
        const float b = wrapAngleLowerThenRaise(huge);
        EXPECT_TRUE(a >= 0 && a < 360) << huge;
        EXPECT_TRUE(b >= 0 && b < 360) << huge;
        EXPECT_TRUE(raiseNegativeAngle(huge) >= 0) << huge;
    }
}

TEST(AngleWrap, agreesWithStepsWhereEveryStepIsExact) {
    // Whole numbers below 2^24 step exactly, so the reduction must equal plain stepping.
    for (float v = -5000000.0f; v <= 5000000.0f; v += 12345.0f) {
        float stepped = v;
        while (stepped < 0)
            stepped += 360.0f;
        while (stepped >= 360)
            stepped -= 360.0f;
        EXPECT_EQ(wrapAngleRaiseThenLower(v), stepped) << v;
    }
}

} // namespace

namespace {

// Rounds the exact decimal text of a value at `decimals` places, halves away from zero: the
// reference the fast and the general formatting paths must both meet for 32-bit values.
std::string referenceFixed(float value, int decimals) {
    char buffer[128];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, std::fabs(static_cast<long double>(value)),
                      std::chars_format::fixed, 40)
            .ptr;
    std::string digits(buffer, end);
    const std::size_t point = digits.find('.');
    std::string kept = digits.substr(0, point) + digits.substr(point + 1, decimals);
    bool roundUp = digits[point + 1 + decimals] >= '5';
    for (std::size_t i = kept.size(); roundUp && i-- > 0;) {
        roundUp = kept[i] == '9';
        kept[i] = roundUp ? '0' : static_cast<char>(kept[i] + 1);
    }
    if (roundUp)
        kept.insert(kept.begin(), '1');
    std::string integer = kept.substr(0, kept.size() - decimals);
    integer.erase(0, std::min(integer.find_first_not_of('0'), integer.size() - 1));
    return integer + '.' + kept.substr(kept.size() - decimals);
}

TEST(NumberPatterns, thirtyTwoBitValuesRoundExactly) {
    std::uint32_t bits = 12345;
    for (int i = 0; i < 50000; ++i) {
        bits = bits * 1664525u + 1013904223u; // a fixed pseudo-random walk over bit patterns
        float value;
        std::uint32_t pattern = bits & 0x4FFFFFFFu; // magnitudes up to about 2^33
        std::memcpy(&value, &pattern, sizeof value);
        if (!std::isfinite(value) || value == 0)
            continue;
        for (int decimals : {3, 6, 8}) {
            const std::string expected = referenceFixed(value, decimals);
            const std::string pattern6 = decimals == 3   ? "0.000"
                                         : decimals == 6 ? "0.000000"
                                                         : "0.00000000";
            ASSERT_EQ(formatPattern(value, pattern6, '.'), expected) << value;
        }
    }
}

// Reading a value back from its printed decimals, without the text, must give what the text
// gives, for every size of value, either sign, and the fall-back beyond the integer fast path.
TEST(NumberPatterns, roundToDecimals_equalsReadingThePrintedText) {
    std::uint32_t bits = 54321;
    for (int i = 0; i < 50000; ++i) {
        bits = bits * 1664525u + 1013904223u;
        float value;
        const std::uint32_t pattern = bits & 0xDFFFFFFFu; // both signs, magnitudes up to 2^65
        std::memcpy(&value, &pattern, sizeof value);
        if (!std::isfinite(value))
            continue;
        const long double read = parseFloat(formatPattern(value, "####0.000000", '.'), '.');
        ASSERT_EQ(roundToDecimals(value, 6), read) << value;
    }
    const std::pair<float, long double> cases[] = {
        {0.1234567f, 0.123457L},   {-0.0078125f, -0.007813L},
        {1234.567f, 1234.567017L}, {5e-7f, 0.0L} /* just below the half */,
        {6e-7f, 0.000001L},        {3e20f, 3.00000006012263e20L} /* fifteen digits */,
    };
    for (const auto& [value, expected] : cases)
        EXPECT_EQ(roundToDecimals(value, 6), expected) << value;
}

} // namespace
