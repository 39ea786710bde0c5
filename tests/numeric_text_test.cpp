#include "numeric_text.h"

#include <gtest/gtest.h>
#include <limits>

namespace {

constexpr int64_t kMax64 = std::numeric_limits<int64_t>::max();
constexpr int64_t kMin64 = std::numeric_limits<int64_t>::min();

TEST(WholeNumberText, ReadsTheIntegerSyntax) {
    struct Case {
        const char* text;
        bool valid, overflow;
        int64_t value;
    };
    const Case cases[] = {
        {"0", true, false, 0},
        {"007", true, false, 7},
        {"  42", true, false, 42}, // leading spaces only
        {"-5", true, false, -5},
        {"+5", true, false, 5},
        {"-0", true, false, 0},
        {"$1F", true, false, 31},
        {"-$10", true, false, -16},
        {"9223372036854775807", true, false, kMax64},
        {"-9223372036854775808", true, false, kMin64},
        // Beyond the 64-bit range: the nearest bound, marked.
        {"9223372036854775808", true, true, kMax64},
        {"99999999999999999999", true, true, kMax64},
        {"-9223372036854775809", true, true, kMin64},
        {"$FFFFFFFFFFFFFFFF", true, true, kMax64},
        {"", false, false, 0},
        {" ", false, false, 0},
        {"-", false, false, 0},
        {"+", false, false, 0},
        {"$", false, false, 0},
        {"12a", false, false, 0},
        {"12 ", false, false, 0},
        {"1,5", false, false, 0},
        {"--1", false, false, 0},
        {"$G", false, false, 0},
    };
    for (const Case& c : cases) {
        const WholeNumberText number = ParseWholeNumber(QString::fromUtf8(c.text));
        EXPECT_EQ(number.valid, c.valid) << c.text;
        EXPECT_EQ(number.overflow, c.overflow) << c.text;
        EXPECT_EQ(number.value, c.value) << c.text;
    }
}

TEST(WholeNumberText, PasteCheckNeeds32Bits) {
    const std::pair<const char*, bool> cases[] = {
        {"2147483647", true},  {"-2147483648", true}, {"2147483648", false}, {"-2147483649", false},
        {"3000000000", false}, {" 12", true},         {"$7FFFFFFF", true},   {"12a", false},
        {"", false},           {"-", false},          {"-0", true},
    };
    for (const auto& [text, fits] : cases)
        EXPECT_EQ(IsWholeNumber32(QString::fromUtf8(text)), fits) << text;
}

TEST(DecimalText, ReadsTheUserNumberFormat) {
    struct Case {
        char16_t separator;
        const char* text;
        std::optional<long double> value;
    };
    const Case cases[] = {
        {u',', "1,5", 1.5L},
        {u',', " 2,5 ", 2.5L},
        {u',', "-0,5", -0.5L},
        {u',', "+3", 3.0L},
        {u',', "5,", 5.0L},
        {u',', ",5", 0.5L},
        {u',', "0,27", 0.27L}, // the nearest 80-bit value, not a double's
        {u',', "1e3", 1000.0L},
        {u',', "1,5E-1", 0.15L},
        {u',', "007", 7.0L},
        {u'.', "1.5", 1.5L},
        {u'.', "0.27", 0.27L},
        {u',', "1.5", std::nullopt}, // another separator is no number
        {u'.', "1,5", std::nullopt},
        {u',', ",", std::nullopt},
        {u',', "", std::nullopt},
        {u',', "-", std::nullopt},
        {u',', "1,5,1", std::nullopt},
        {u',', "1 000", std::nullopt},
        {u',', "1e", std::nullopt},
        {u',', "e5", std::nullopt},
        {u',', "abc", std::nullopt},
        {u',', "1e5000", std::nullopt}, // beyond the range of long double
        {u',', "--1", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseDecimal(QString::fromUtf8(c.text), c.separator), c.value)
            << c.text << " with " << static_cast<char>(c.separator);
}

TEST(DecimalText, NormalisesTheOtherSeparator) {
    struct Case {
        char16_t separator;
        const char* text;
        const char* normalised;
    };
    const Case cases[] = {
        {u',', "1.5", "1,5"}, {u',', "1,5", "1,5"},     {u',', "1.5,2", "1,5,2"}, {u'.', "1,5", "1.5"},
        {u'.', "1.5", "1.5"}, {u'.', "1.5,2", "1.5.2"}, {u',', "1.2.3", "1,2,3"}, {u',', "12", "12"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NormaliseSeparators(QString::fromUtf8(c.text), c.separator).toStdString(), c.normalised)
            << c.text;
}

TEST(DecimalText, FormatsFixedWithRoundingAndExcessZeros) {
    struct Case {
        long double value;
        int places;
        bool hide;
        const char* text;
    };
    const Case cases[] = {
        {1.5L, 1, false, "1,5"},
        {3.0L, 1, false, "3,0"},
        {3.0L, 1, true, "3"},
        {2.5L, 1, true, "2,5"},
        {1.56L, 1, false, "1,6"},
        {0.27L, 1, false, "0,3"},
        {0.0L, 2, false, "0,00"},
        {123.456L, 2, false, "123,46"},
        {0.999L, 2, false, "1,00"},
        {9.96L, 1, false, "10,0"},
        {9.96L, 1, true, "10"},
        {99.95L, 1, false, "100,0"},
        {1.10L, 2, true, "1,1"},
        {1.0L, 2, true, "1"},
        {10.0L, 0, true, "10"}, // no separator: the zeros of the whole part stay
        {7.5L, 0, false, "8"},
        // Halves go away from zero, also where the binary value lies just below the half.
        {0.25L, 1, false, "0,3"},
        {0.15L, 1, false, "0,2"},
        {0.35L, 1, false, "0,4"},
        {-0.25L, 1, false, "-0,3"},
        {0.05L, 1, false, "0,1"},
        {0.04L, 1, false, "0,0"},
        {-0.04L, 1, false, "0,0"}, // never "-0,0"
        {-1.5L, 1, false, "-1,5"},
        {1e-30L, 2, false, "0,00"},
        {1e20L, 1, false, "100000000000000000000,0"},
        {1.0L / 3, 18, false, "0,333333333333333333"},
        {std::numeric_limits<long double>::infinity(), 1, false, "∞"},
        {-std::numeric_limits<long double>::infinity(), 1, false, "-∞"},
        {std::numeric_limits<long double>::quiet_NaN(), 1, false, "-"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatDecimal(c.value, c.places, c.hide, u',').toStdString(), c.text)
            << static_cast<double>(c.value) << " to " << c.places;
    EXPECT_EQ(FormatDecimal(1.5L, 1, false, u'.').toStdString(), "1.5");
}

} // namespace
