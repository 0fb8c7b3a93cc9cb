#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>

#include "base/Exception.h"
#include "base/StrUtils.h"

using namespace base;

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

// Sets the user's decimal separator for one test.
struct SeparatorGuard {
    char old;
    explicit SeparatorGuard(char c) : old(DecimalSeparator()) { SetDecimalSeparator(c); }
    ~SeparatorGuard() { SetDecimalSeparator(old); }
};

std::uint64_t Bits(double d) {
    std::uint64_t b;
    std::memcpy(&b, &d, sizeof b);
    return b;
}

}  // namespace

TEST(FloatToStr, Table) {
    struct Case {
        double value;
        const char* text;
    } cases[] = {
        {0.0, "0"},
        {-0.0, "0"},
        {1.0, "1"},
        {-2.5, "-2.5"},
        {1234567.0, "1234567"},
        {0.1 + 0.2, "0.3"},
        {1.0 / 3.0, "0.333333333333333"},
        {2.0 / 3.0, "0.666666666666667"},          // rounded up at the 15th digit
        {0.99999999999999989, "1"},                // rounding carries into a new digit
        {1000000000000005.0, "1.00000000000001E15"},  // an exact tie rounds away from zero
        {-1000000000000005.0, "-1.00000000000001E15"},
        {100000000000000.5, "100000000000001"},
        {999999999999999.9, "1E15"},               // carry moves it into exponent form
        {123456789012345.6, "123456789012346"},
        {100000000000000.0, "100000000000000"},    // 15 integer digits: still plain
        {1e15, "1E15"},
        {1e16, "1E16"},
        {-1e16, "-1E16"},
        {1234567890123456.0, "1.23456789012346E15"},
        {0.0001, "0.0001"},
        {0.00012345, "0.00012345"},
        {1e-5, "1E-5"},
        {1.5e-5, "1.5E-5"},
        {0.00009999999999999999, "0.0001"},  // rounded before the notation is chosen
        {-1.25e-7, "-1.25E-7"},
        {1e300, "1E300"},
        {1.7976931348623157e308, "1.79769313486232E308"},
        {4.9406564584124654e-324, "4.94065645841247E-324"},
        {kNaN, "NAN"},
        {kInf, "INF"},
        {-kInf, "-INF"},
    };
    for (const Case& c : cases) EXPECT_EQ(FloatToStr(c.value), c.text) << c.text;
}

TEST(FloatToStr, UsesDecimalSeparator) {
    SeparatorGuard g(',');
    EXPECT_EQ(FloatToStr(-2.5), "-2,5");
    EXPECT_EQ(FloatToStr(1.5e-5), "1,5E-5");
    EXPECT_EQ(FloatToStrG(3.14159, 3), "3,14");
}

TEST(FloatToStrG, Precision) {
    EXPECT_EQ(FloatToStrG(3.14159, 3), "3.14");
    EXPECT_EQ(FloatToStrG(1234.0, 3), "1.23E3");
    EXPECT_EQ(FloatToStrG(999.0, 3), "999");
    EXPECT_EQ(FloatToStrG(0.1 + 0.2, 17), "0.30000000000000004");
    EXPECT_EQ(FloatToStrG(2.5, 1), "3");
    EXPECT_EQ(FloatToStrG(0.125, 2), "0.13");
}

// Digits are rounded once, from the exact value of the double: a value just below a
// half rounds down even where its first 18 digits end in 5.
TEST(FloatToStrG, RoundsOnceFromTheExactValue) {
    struct Case {
        double value;  // exact value in the comment
        int precision;
        const char* text;
    } cases[] = {
        {144.4607442669965, 15, "144.460744266996"},  // 144.4607442669964996184...
        {0.15, 1, "0.1"},                             // 0.1499999999999999944...
        {2.675, 3, "2.67"},                           // 2.6749999999999998223...
        {-1.0000000000000004, 16, "-1"},              // -1.00000000000000044408...
        {0.375, 2, "0.38"},                           // exact: a true half goes away from zero
        {-0.375, 2, "-0.38"},
    };
    for (const Case& c : cases) EXPECT_EQ(FloatToStrG(c.value, c.precision), c.text) << c.text;
    EXPECT_EQ(FloatToStr(144.4607442669965), "144.460744266996");
}

TEST(FormatG, Table) {
    struct Case {
        double value;
        int digits;
        const char* text;
    } cases[] = {
        {0.0, 6, "0"},
        {-0.0, 6, "-0"},
        {1234567.0, 6, "1.23457e+06"},
        {123456.0, 6, "123456"},
        {1e-5, 6, "1e-05"},
        {0.0001, 6, "0.0001"},
        {1e15, 6, "1e+15"},
        {1e16, 6, "1e+16"},
        {0.1 + 0.2, 6, "0.3"},
        {-2.5, 6, "-2.5"},
        {2.0 / 3.0, 6, "0.666667"},
        {1e100, 6, "1e+100"},
        {0.5, 1, "0.5"},
        {1.0 / 3.0, 15, "0.333333333333333"},
        {0.1, 20, "0.10000000000000000555"},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatG(c.value, c.digits), c.text) << c.text;
}

TEST(FormatG, IgnoresDecimalSeparator) {
    SeparatorGuard g(',');
    EXPECT_EQ(FormatG(-2.5), "-2.5");
    EXPECT_EQ(FormatShortest(-2.5), "-2.5");
}

TEST(FormatShortest, Table) {
    struct Case {
        double value;
        const char* text;
    } cases[] = {
        {0.0, "0"},
        {-0.0, "-0"},
        {1234567.0, "1234567"},
        {1e-7, "1e-07"},
        {1e-5, "1e-05"},
        {0.1 + 0.2, "0.30000000000000004"},
        {1e15, "1e+15"},
        {1e16, "1e+16"},
        {1234567890123456.0, "1234567890123456"},
        {12345678901234567.0, "12345678901234568"},
        {1.2345678901234568e17, "1.2345678901234568e+17"},
        {0.000123456789, "0.000123456789"},
        {1.7976931348623157e308, "1.7976931348623157e+308"},
        {4.9406564584124654e-324, "5e-324"},
        {-2.5, "-2.5"},
        {100.0, "100"},
        {1e6, "1e+06"},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatShortest(c.value), c.text) << c.text;
}

TEST(FormatShortest, SixDigitValuesMatchFormatG) {
    std::mt19937_64 rng(12345);
    std::uniform_int_distribution<int> mant(1, 999999), exp(-40, 40), sign(0, 1);
    for (int i = 0; i < 200000; ++i) {
        std::string text = (sign(rng) ? "-" : "") + std::to_string(mant(rng)) + "e" + std::to_string(exp(rng));
        double v = 0;
        ASSERT_TRUE(TryParseDouble(text, v)) << text;
        ASSERT_EQ(FormatShortest(v), FormatG(v, 6)) << text;
    }
}

TEST(FormatShortest, ReadsBackBitIdentical) {
    std::mt19937_64 rng(987654321);
    auto check = [](double v) {
        double back = 0;
        std::string text = FormatShortest(v);
        ASSERT_TRUE(TryParseDouble(text, back)) << text;
        ASSERT_EQ(Bits(back), Bits(v)) << text;
    };
    for (int i = 0; i < 200000; ++i) {
        std::uint64_t b = rng();
        double v;
        std::memcpy(&v, &b, sizeof v);
        if (!std::isfinite(v)) continue;
        check(v);
    }
    std::uniform_real_distribution<double> unit(-1000.0, 1000.0);
    for (int i = 0; i < 50000; ++i) check(unit(rng));
    for (double v : {1234567.0, 1e-7, -0.0, 0.0, 0.1 + 0.2, 4.9406564584124654e-324, 2.2250738585072009e-308,
                     1.7976931348623157e308, -1.7976931348623157e308, 1e23, 5e-310})
        check(v);
}

TEST(FormatFloat, Table) {
    struct Case {
        const char* picture;
        double value;
        const char* text;
    } cases[] = {
        {"0.000", 0.0, "0.000"},
        {"0.000", 1.5, "1.500"},
        {"0.000", -1234.5678, "-1234.568"},
        {"0.000", 0.0005, "0.001"},      // half away from zero on the decimal value
        {"0.000", -0.0005, "-0.001"},
        {"0.000", 2.0015, "2.002"},
        {"0.000", -0.0004, "0.000"},     // rounds to zero: no minus sign
        {"0.000", -0.0, "0.000"},
        {"0.000", 999.9995, "1000.000"},
        {"0.000", 1e-10, "0.000"},
        {"0.000", 1e20, "100000000000000000000.000"},
        {"0.0000", 1.025, "1.0250"},
        {"0.0000", -0.00004, "0.0000"},
        {"0", 0.5, "1"},
        {"0", -0.5, "-1"},
        {"0", 0.49, "0"},
        {"0", 2.5, "3"},
        {"#,##0.00", 1234567.891, "1,234,567.89"},
        {"#,##0.00", 999.999, "1,000.00"},
        {"#,##0.00", 12.0, "12.00"},
        {"#,##0.00", 0.0, "0.00"},
        {"#,##0.00", -1234.5, "-1,234.50"},
        {"#,##0.00", 2.675, "2.68"},
        {"0.###", 1.5, "1.5"},
        {"0.###", 2.0, "2"},
        {"0.###", 0.1234, "0.123"},
        {"0.###", 1.0005, "1.001"},
        {"#.##", 0.5, ".5"},
        {"#.##", 0.0, ""},
        {"00.0", 1.25, "01.3"},
        {"0.00E+00", 1234.5, "1.23E+03"},
        {"0.00E+00", 0.00012345, "1.23E-04"},
        {"0.00E+00", 0.0, "0.00E+00"},
        {"0.00E+00", -9.999, "-1.00E+01"},
        {"0.00E-00", 1234.5, "1.23E03"},
        {"0.00e+0", 1e-100, "1.00e-100"},
        {"0.000 m", 1.0, "1.000 m"},
        {"'x='0.0", 1.0, "x=1.0"},
        {"0.00;(0.00)", -1.5, "(1.50)"},
        {"0.00;(0.00);'zero'", 0.001, "zero"},
        {"0.00;(0.00);'zero'", 2.0, "2.00"},
        {"0.00;(0.00)", -0.001, "0.00"},
        {"0.00;(0.00);'zero'", -0.001, "zero"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatFloat(c.picture, c.value), c.text) << c.picture << " " << c.value;
}

TEST(FormatFloat, SeparatorsAndSpecialValues) {
    EXPECT_EQ(FormatFloat("0.000", kNaN), "NAN");
    EXPECT_EQ(FormatFloat("0.000", -kInf), "-INF");
    EXPECT_EQ(FormatFloat("", 2.5), "2.5");
    SeparatorGuard g(',');
    EXPECT_EQ(FormatFloat("0.000", 2.5), "2,500");
    EXPECT_EQ(FormatFloat("#,##0.00", 1234.5), "1.234,50");
}

TEST(FloatToStrFixed, Table) {
    EXPECT_EQ(FloatToStrFixed(1.23456, 3), "1.235");
    EXPECT_EQ(FloatToStrFixed(-0.0001, 3), "0.000");
    EXPECT_EQ(FloatToStrFixed(-1.5, 0), "-2");
    EXPECT_EQ(FloatToStrFixed(2.0, 2), "2.00");
    SeparatorGuard g(',');
    EXPECT_EQ(FloatToStrFixed(2.0, 2), "2,00");
}

TEST(StrToFloat, Table) {
    struct Case {
        const char* text;
        bool ok;
        double value;
    } cases[] = {
        {"1.5", true, 1.5},
        {"  2  ", true, 2.0},
        {"\t-3.25\r\n", true, -3.25},
        {"+3", true, 3.0},
        {"-.5", true, -0.5},
        {"5.", true, 5.0},
        {"1e3", true, 1000.0},
        {"1E-3", true, 0.001},
        {"1e+3", true, 1000.0},
        {"0", true, 0.0},
        {"0.1", true, 0.1},
        {"4.9e-324", true, 4.9406564584124654e-324},
        {"1e-400", true, 0.0},
        {"1.7976931348623157e308", true, 1.7976931348623157e308},
        {"", false, 0},
        {"   ", false, 0},
        {"abc", false, 0},
        {"nan", false, 0},
        {"NaN", false, 0},
        {"inf", false, 0},
        {"-Infinity", false, 0},
        {"1e400", false, 0},
        {"0x10", false, 0},
        {"1.5x", false, 0},
        {"1.5 2", false, 0},
        {"1,5", false, 0},
        {"1.2.3", false, 0},
        {".", false, 0},
        {"-", false, 0},
        {"e5", false, 0},
        {"1e", false, 0},
        {"1e+", false, 0},
        {"--1", false, 0},
    };
    for (const Case& c : cases) {
        double v = -99;
        EXPECT_EQ(TryParseDouble(c.text, v), c.ok) << c.text;
        double w = -99;
        EXPECT_EQ(TryStrToFloat(c.text, w), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.text;
            EXPECT_EQ(StrToFloat(c.text), c.value) << c.text;
        } else {
            EXPECT_THROW(StrToFloat(c.text), EConvertError) << c.text;
            EXPECT_EQ(StrToFloatDef(c.text, 7.5), 7.5) << c.text;
        }
    }
}

TEST(StrToFloat, NegativeZeroAndMessage) {
    double v = 0;
    ASSERT_TRUE(TryParseDouble("-0", v));
    EXPECT_TRUE(std::signbit(v));
    try {
        StrToFloat("abc");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'abc' is not a valid floating point value");
    }
}

TEST(StrToFloat, UserSeparator) {
    SeparatorGuard g(',');
    EXPECT_EQ(StrToFloat(" 1,5 "), 1.5);
    EXPECT_THROW(StrToFloat("1.5"), EConvertError);
    double v = 0;
    EXPECT_FALSE(TryStrToFloat("1.5", v));
    // Model files always read '.'.
    EXPECT_TRUE(TryParseDouble("1.5", v));
    EXPECT_EQ(v, 1.5);
    EXPECT_FALSE(TryParseDouble("1,5", v));
}

TEST(StrToInt, Table) {
    struct Case {
        const char* text;
        bool ok;
        long long value;
    } cases[] = {
        {"0", true, 0},
        {"42", true, 42},
        {" -17 ", true, -17},
        {"+5", true, 5},
        {"9223372036854775807", true, 9223372036854775807LL},
        {"-9223372036854775808", true, std::numeric_limits<long long>::min()},
        {"9223372036854775808", false, 0},
        {"", false, 0},
        {"-", false, 0},
        {"1.5", false, 0},
        {"12a", false, 0},
        {"1 2", false, 0},
        {"0x10", false, 0},
    };
    for (const Case& c : cases) {
        long long v = -99;
        EXPECT_EQ(TryStrToInt(c.text, v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.value);
            EXPECT_EQ(StrToInt(c.text), c.value);
        } else {
            EXPECT_THROW(StrToInt(c.text), EConvertError) << c.text;
            EXPECT_EQ(StrToIntDef(c.text, 3), 3);
        }
    }
    try {
        StrToInt("x");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'x' is not a valid integer value");
    }
}

TEST(IntToStr, Table) {
    EXPECT_EQ(IntToStr(-12), "-12");
    EXPECT_EQ(UIntToStr(4294967295u), "4294967295");
    EXPECT_EQ(IntToHex(255, 4), "00FF");
    EXPECT_EQ(IntToHex(0xABCDEF, 2), "ABCDEF");
    EXPECT_EQ(IntToHex(0, 0), "0");
}

TEST(StringHelpers, TrimAndCase) {
    EXPECT_EQ(Trim("  a b \t\r\n"), "a b");
    EXPECT_EQ(Trim(" \t "), "");
    EXPECT_EQ(TrimLeft("  a "), "a ");
    EXPECT_EQ(TrimRight("  a "), "  a");
    EXPECT_EQ(UpperCase("abC1\xe9"), "ABC1\xe9");
    EXPECT_EQ(LowerCase("AbC"), "abc");
    EXPECT_TRUE(SameText("Hull", "hULL"));
    EXPECT_FALSE(SameText("Hull", "Hulls"));
    EXPECT_LT(CompareText("abc", "ABD"), 0);
    EXPECT_GT(CompareText("b", "A"), 0);
    EXPECT_LT(CompareText("ab", "abc"), 0);
    EXPECT_EQ(CompareText("ABC", "abc"), 0);
}

TEST(StringHelpers, PosAndCopy) {
    EXPECT_EQ(Pos("b", "abc"), 2);
    EXPECT_EQ(Pos("x", "abc"), 0);
    EXPECT_EQ(Pos("", "abc"), 0);
    EXPECT_EQ(Pos("abc", "abc"), 1);
    EXPECT_EQ(Copy("abcdef", 2, 3), "bcd");
    EXPECT_EQ(Copy("abcdef", 0, 2), "ab");
    EXPECT_EQ(Copy("abcdef", -5, 2), "ab");
    EXPECT_EQ(Copy("abcdef", 5, 100), "ef");
    EXPECT_EQ(Copy("abcdef", 7, 1), "");
    EXPECT_EQ(Copy("abcdef", 2, -1), "");
    EXPECT_EQ(Copy("abcdef", 1, 2147483647), "abcdef");
}

TEST(StringHelpers, ReplaceAndFormat) {
    EXPECT_EQ(StringReplaceAll("a.b.c", ".", "::"), "a::b::c");
    EXPECT_EQ(StringReplaceAll("aaa", "aa", "b"), "ba");
    EXPECT_EQ(StringReplaceAll("abc", "", "x"), "abc");
    EXPECT_EQ(Format("%d-%s-%.2f", 3, "x", 1.5), "3-x-1.50");
    std::string longText(1000, 'q');
    EXPECT_EQ(Format("<%s>", longText.c_str()), "<" + longText + ">");
    EXPECT_EQ(Format("%u", 4294967295u), "4294967295");
}
