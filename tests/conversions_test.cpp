// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/core/conversions.h"
#include "runtime/core/errors.h"

#include "tests/c_library_reference.h"
#include "tests/row_name.h"
#include "tests/single_bits.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <locale.h>
#include <random>
#include <string>

namespace {

using rows::PrintTo;

using runtime::ErrorCode;
using runtime::singleToText;
using runtime::textToSingle;

constexpr float largest = std::numeric_limits<float>::max();
constexpr float smallestDenormal = std::numeric_limits<float>::denorm_min();

struct ParseCase {
    std::string name;
    std::string text;
    float value;
};

class AcceptedTexts : public testing::TestWithParam<ParseCase> {};

TEST_P(AcceptedTexts, GiveTheCorrectlyRoundedSingle) {
    const ParseCase &c = GetParam();
    const float value = textToSingle(c.text);
    // Bit-exact: also tells +0 from -0.
    EXPECT_EQ(singles::bitsOf(value), singles::bitsOf(c.value)) << "got " << value;
}

INSTANTIATE_TEST_SUITE_P(
    TextToSingle, AcceptedTexts,
    testing::Values(
        ParseCase{"Integer", "12", 12.0f}, ParseCase{"CommaSeparator", "12,5", 12.5f},
        ParseCase{"PointSeparator", "12.5", 12.5f}, ParseCase{"LeadingSeparator", ",5", 0.5f},
        ParseCase{"TrailingSeparator", "5,", 5.0f}, ParseCase{"PlusSign", "+7", 7.0f},
        ParseCase{"MinusSign", "-10", -10.0f}, ParseCase{"NegativeZero", "-0", -0.0f},
        ParseCase{"ZeroWithHugeExponent", "0e999999999999", 0.0f},
        ParseCase{"Exponent", "1e3", 1000.0f}, ParseCase{"UpperExponent", "2,5E-2", 0.025f},
        ParseCase{"SignedExponent", "25e+1", 250.0f}, ParseCase{"OneTenth", "0,1", 0x1.99999ap-4f},
        ParseCase{"LeadingZeros", "000012,50", 12.5f},
        ParseCase{"LargestSingle", "3,4028235e38", largest},
        // One below the exact halfway point between the largest single and 2^128.
        ParseCase{"JustBelowOverflow", "340282356779733661637539395458142568447", largest},
        ParseCase{"SmallestDenormal", "1e-45", smallestDenormal},
        ParseCase{"JustAboveHalfTheSmallestDenormal", "7,0064923216240854e-46", smallestDenormal},
        ParseCase{"UnderflowToZero", "1e-50", 0.0f},
        ParseCase{"UnderflowKeepsTheSign", "-1e-50", -0.0f},
        ParseCase{"FarUnderflow", "1e-99999999999999999999", 0.0f},
        // Half the smallest denormal exactly: a tie, rounded to even, which is zero.
        ParseCase{"TieAtTheBottomRoundsToZero",
                  "7,00649232162408535461864791644958065640130970938257885878534141944895541342"
                  "930300743319094181060791015625e-46",
                  0.0f},
        // 1 + 2^-24 is the tie between 1 and the next single; the text lies a
        // hair above it. Rounding to double first lands on the tie and then on 1.
        ParseCase{"NoDoubleRounding", "1,000000059604644775390625000001", 0x1.000002p0f},
        ParseCase{"TieRoundsToEven", "1,000000059604644775390625", 1.0f},
        ParseCase{"ManyDigits", "0,000000000000000000000000000000000000000000000000000012345e50",
                  0.0012345f},
        // Longer than a Qt text box used to hold: every digit counts.
        ParseCase{"LongFractionTimesLongExponent", "0," + std::string(40'000, '0') + "1e40001",
                  1.0f},
        ParseCase{"LongDigitsTimesLongNegativeExponent", "5" + std::string(40'000, '0') + "e-40000",
                  5.0f},
        ParseCase{"LongFractionBelowOne", "0," + std::string(40'000, '0') + "1e40000", 0.1f},
        ParseCase{"LongDigitsJustBelowOverflow", "34028235" + std::string(40'000, '0') + "e-39969",
                  largest}),
    rows::RowName());

// Blanks around a number are whatever a user cannot see: spaces, tabs and line
// breaks, and Unicode's other spaces, as typed or as pasted from a document.
INSTANTIATE_TEST_SUITE_P(
    Blanks, AcceptedTexts,
    testing::Values(
        ParseCase{"SpacesAndTabs", " \t 90 \t", 90.0f},
        ParseCase{"TrailingLineFeed", "12,5\n", 12.5f},
        ParseCase{"WindowsLineBreaks", "\r\n90\r\n", 90.0f},
        ParseCase{"VerticalTabAndFormFeed", "\v\f7\f\v", 7.0f},
        ParseCase{"NoBreakSpace", "\u00a090\u00a0", 90.0f},
        ParseCase{"NarrowNoBreakSpace", "\u202f12,5\u202f", 12.5f},
        ParseCase{"EnQuadToHairSpace",
                  "\u2000\u2001\u2002\u2003\u2004\u2005-1\u2006\u2007\u2008\u2009\u200a", -1.0f},
        ParseCase{"OghamSpaceMark", "\u16807", 7.0f},
        ParseCase{"MediumMathematicalSpace", "7\u205f", 7.0f},
        ParseCase{"IdeographicSpace", "\u300090\u3000", 90.0f},
        ParseCase{"NextLine", "\u008590\u0085", 90.0f},
        ParseCase{"LineAndParagraphSeparators", "\u202890\u2029", 90.0f},
        ParseCase{"ByteOrderMark", "\ufeff90", 90.0f},
        ParseCase{"ZeroWidthSpaceAndWordJoiner", "\u200b90\u2060", 90.0f},
        ParseCase{"MixedAroundAnExponent", " \u00a0\t\ufeff-1e3\u3000\r\n", -1000.0f},
        ParseCase{"AroundNegativeZero", "\n-0\n", -0.0f}),
    rows::RowName());

struct RejectCase {
    std::string name;
    std::string text;
    ErrorCode error;
};

class RejectedTexts : public testing::TestWithParam<RejectCase> {};

TEST_P(RejectedTexts, RaiseTheirError) {
    const RejectCase &c = GetParam();
    try {
        const float value = textToSingle(c.text);
        ADD_FAILURE() << "accepted as " << value;
    } catch (const runtime::RuntimeError &error) {
        EXPECT_EQ(error.code(), c.error);
    }
}

INSTANTIATE_TEST_SUITE_P(
    TextToSingle, RejectedTexts,
    testing::Values(RejectCase{"Empty", "", ErrorCode::typeMismatch},
                    RejectCase{"Blank", " \t ", ErrorCode::typeMismatch},
                    RejectCase{"Letters", "abc", ErrorCode::typeMismatch},
                    RejectCase{"TrailingLetter", "12a", ErrorCode::typeMismatch},
                    RejectCase{"TwoSeparators", "1.234,5", ErrorCode::typeMismatch},
                    RejectCase{"Grouping", "1 234", ErrorCode::typeMismatch},
                    RejectCase{"LoneSign", "-", ErrorCode::typeMismatch},
                    RejectCase{"LoneSeparator", ",", ErrorCode::typeMismatch},
                    RejectCase{"TwoSigns", "+-1", ErrorCode::typeMismatch},
                    RejectCase{"ExponentWithoutDigits", "1e", ErrorCode::typeMismatch},
                    RejectCase{"ExponentSignWithoutDigits", "1e+", ErrorCode::typeMismatch},
                    RejectCase{"ExponentWithoutMantissa", "e5", ErrorCode::typeMismatch},
                    RejectCase{"Infinity", "inf", ErrorCode::typeMismatch},
                    RejectCase{"NotANumber", "nan", ErrorCode::typeMismatch},
                    RejectCase{"Hexadecimal", "0x10", ErrorCode::typeMismatch},
                    RejectCase{"ArabicIndicDigit", "\xd9\xa3", ErrorCode::typeMismatch},
                    RejectCase{"EmbeddedNul",
                               std::string("1\0"
                                           "2",
                                           3),
                               ErrorCode::typeMismatch},
                    // Blanks count around a number only, never inside it.
                    RejectCase{"BlankAfterTheSign", "- 5", ErrorCode::typeMismatch},
                    RejectCase{"BlankBeforeTheExponent", "1 e5", ErrorCode::typeMismatch},
                    RejectCase{"LineBreakInside", "1\n2", ErrorCode::typeMismatch},
                    RejectCase{"NoBreakSpaceGrouping", "1\u00a0234", ErrorCode::typeMismatch},
                    RejectCase{"OnlyWideBlanks", "\u00a0\u3000\ufeff\n", ErrorCode::typeMismatch},
                    // Bytes of a blank's UTF-8 spelling are no blank on their own.
                    RejectCase{"HalfANoBreakSpace", "90\xc2", ErrorCode::typeMismatch},
                    RejectCase{"OverlongSpace",
                               "\xc0\xa0"
                               "90",
                               ErrorCode::typeMismatch},
                    RejectCase{"NoBreakSpaceInLatin1",
                               "\xa0"
                               "90\xa0",
                               ErrorCode::typeMismatch},
                    RejectCase{"Overflow", "1e39", ErrorCode::overflow},
                    RejectCase{"LongDigitsOverflow", "1" + std::string(40'000, '0') + "e-39961",
                               ErrorCode::overflow},
                    RejectCase{"NegativeOverflow", "-1e39", ErrorCode::overflow},
                    RejectCase{"FarOverflow", "1e99999999999999999999", ErrorCode::overflow},
                    // The exact halfway point below 2^128 rounds to even: 2^128.
                    RejectCase{"TieAtTheTopOverflows", "340282356779733661637539395458142568448",
                               ErrorCode::overflow}),
    rows::RowName());

struct FormatCase {
    std::string name;
    float value;
    std::string text;
};

class Formatting : public testing::TestWithParam<FormatCase> {};

TEST_P(Formatting, ShowsSevenDigitsWithAComma) {
    EXPECT_EQ(singleToText(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    SingleToText, Formatting,
    testing::Values(FormatCase{"Integer", 40.0f, "40"}, FormatCase{"Negative", -180.0f, "-180"},
                    FormatCase{"RoundedToSevenDigits", 30.416666f, "30,41667"},
                    FormatCase{"Twist", 668.5714111328125f, "668,5714"},
                    FormatCase{"Zero", 0.0f, "0"}, FormatCase{"NegativeZero", -0.0f, "0"},
                    FormatCase{"SmallestPlain", 0.0001f, "0,0001"},
                    FormatCase{"BelowPlainRange", 1.5e-5f, "1,5E-05"},
                    FormatCase{"LargestPlain", 9999999.0f, "9999999"},
                    FormatCase{"TenMillionIsExponent", 1e7f, "1E+07"},
                    FormatCase{"EightDigits", 12345678.0f, "1,234568E+07"},
                    // 0.01f is 0.0099999998: rounding carries into a new leading digit.
                    FormatCase{"RoundingCarriesToTheNextPower", 0.01f, "0,01"},
                    FormatCase{"RoundingCarriesTheExponent", 99999997952.0f, "1E+11"},
                    FormatCase{"RoundingCarriesIntoPlainRange", 0.000099999997f, "0,0001"},
                    FormatCase{"RoundingCarriesOutOfPlainRange", 99999992.0f, "9,999999E+07"},
                    FormatCase{"Largest", largest, "3,402823E+38"},
                    FormatCase{"NegativeLargest", -largest, "-3,402823E+38"},
                    FormatCase{"SmallestDenormal", smallestDenormal, "1,401298E-45"}),
    rows::RowName());

TEST(SingleToText, RefusesValuesItCannotShow) {
    EXPECT_THROW(singleToText(std::numeric_limits<float>::infinity()), runtime::RuntimeError);
    EXPECT_THROW(singleToText(std::numeric_limits<float>::quiet_NaN()), runtime::RuntimeError);
}

// A text as people type it: a few digits, a separator somewhere, sometimes
// an exponent. Deterministic, so a failure names the same text every run.
std::string generatedText(std::mt19937 &random) {
    const auto below = [&random](int n) {
        return static_cast<int>(random() % static_cast<unsigned>(n));
    };
    std::string text;
    if (below(4) == 0)
        text += '-';
    const int digits = 1 + below(12);
    const int separatorAt = below(digits + 2);
    for (int i = 0; i < digits; ++i) {
        if (i == separatorAt)
            text += below(2) == 0 ? ',' : '.';
        text += static_cast<char>('0' + below(10));
    }
    if (below(3) == 0)
        text += "e" + std::to_string(below(90) - 45);
    return text;
}

// The C library's strtof rounds correctly too; under the "C" locale it is an
// independent reference for every text both accept.
TEST(TextToSingle, AgreesWithTheCLibraryOnGeneratedTexts) {
    std::mt19937 random(20261208);
    for (int i = 0; i < 200'000; ++i) {
        const std::string text = generatedText(random);
        const float expected = reference::strtofValue(text);
        if (std::isinf(expected)) {
            EXPECT_THROW(textToSingle(text), runtime::RuntimeError) << text;
            continue;
        }
        const float value = textToSingle(text);
        ASSERT_EQ(singles::bitsOf(value), singles::bitsOf(expected)) << text;
    }
}

// The conversions must read and write the same in every locale, Italian
// included, whose C library would use ',' itself.
TEST(Conversions, IgnoreTheProcessLocale) {
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    ASSERT_TRUE(reference::useItalianLocale()) << "the setup generates the it_IT.UTF-8 locale";
    EXPECT_EQ(textToSingle("12.5"), 12.5f);
    EXPECT_EQ(textToSingle("12,5"), 12.5f);
    EXPECT_EQ(singleToText(1234.5f), "1234,5");
    std::setlocale(LC_ALL, previous.c_str());
}

} // namespace
