#include "earthing.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

struct FormatCase {
    double x;
    std::u16string plain, whole, tenths;
};

constexpr double inf = std::numeric_limits<double>::infinity();

TEST(NumberFormat, PlainWholeAndTenthsWithComma) {
    const FormatCase cases[] = {
        {0, u"0", u"0", u"0"},
        {-0.0, u"0", u"0", u"0"},
        {-0.04, u"-0,04", u"0", u"0"},   // rounded negatives never show "-0"
        {10.0, u"10", u"10", u"10"},     // never 10,0
        {12.5, u"12,5", u"12", u"12,5"}, // whole: tie to even
        {70.5, u"70,5", u"70", u"70,5"},
        {71.5, u"71,5", u"72", u"71,5"},
        {0.15, u"0,15", u"0", u"0,1"}, // 0.15 lies below the tie in binary
        {0.25, u"0,25", u"0", u"0,2"}, // an exact tie goes to the even tenth
        {8.957, u"8,957", u"9", u"9"},
        {0.1 + 0.2, u"0,3", u"0", u"0,3"}, // 15 digits, never the 17-digit text
        {71.42857142857143, u"71,4285714285714", u"71", u"71,4"},
        {-2.5, u"-2,5", u"-2", u"-2,5"},
        {0.0001, u"0,0001", u"0", u"0"}, // smallest fixed value
        {0.00001, u"1E-5", u"0", u"0"},
        {1.5e20, u"1,5E20", u"1,5E20", u"1,5E20"},
        {999999999999999.0, u"999999999999999", u"999999999999999", u"999999999999999"},
        {1e15, u"1E15", u"1E15", u"1E15"},
        {9.9999999999999999e14, u"1E15", u"1E15", u"1E15"}, // rounding to 15 digits reaches 1E15
        {-1.25e-7, u"-1,25E-7", u"0", u"0"},
        // Too large for a 64-bit integer: already whole, shown as itself.
        {1e19, u"1E19", u"1E19", u"1E19"},
        {-9.3e18, u"-9,3E18", u"-9,3E18", u"-9,3E18"},
        {std::numeric_limits<double>::max(), u"1,79769313486232E308", u"1,79769313486232E308",
         u"1,79769313486232E308"},
        {inf, u"∞", u"∞", u"∞"},
        {-inf, u"-∞", u"-∞", u"-∞"},
        {std::nan(""), u"-", u"-", u"-"},
    };
    for (const FormatCase& c : cases) {
        SCOPED_TRACE(c.x);
        EXPECT_EQ(FormatPlain(c.x, u','), c.plain);
        EXPECT_EQ(FormatWhole(c.x, u','), c.whole);
        EXPECT_EQ(FormatTenths(c.x, u','), c.tenths);
    }
}

TEST(NumberFormat, UsesTheGivenSeparator) {
    EXPECT_EQ(FormatPlain(2.5, u'.'), u"2.5");
    EXPECT_EQ(FormatTenths(33.12, u'.'), u"33.1");
    EXPECT_EQ(FormatPlain(1.5e20, u'.'), u"1.5E20");
}

// Significant digits, and never fewer than the digits before the separator (no 1,235E4 for 12345).
TEST(NumberFormat, Significant) {
    const struct {
        double x;
        int digits;
        std::u16string text;
    } cases[] = {
        {71.428571428571431, 4, u"71,43"},
        {0.0475, 4, u"0,0475"},
        {12345.6, 4, u"12346"},
        {9999.6, 4, u"9999,6"},
        {10.0393928, 2, u"10"},
        {10.0393928, 4, u"10,04"},
        {-71.43, 3, u"-71,4"},
        {1.5e20, 4, u"1,5E20"},
        {0.1 + 0.2, 17, u"0,30000000000000004"},
        {inf, 4, u"∞"},
        {std::nan(""), 4, u"-"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatSignificant(c.x, c.digits, u','), c.text) << c.x << " " << c.digits;
}

} // namespace
