#include "coefficient_tables.h"

#include <gtest/gtest.h>

namespace {

TEST(ClimateFactors, RegionsAndClimateNotConsidered) {
    struct {
        int32_t region;
        double rod, connector;
    } const cases[] = {{1, 1.65, 5.5}, {2, 1.45, 3.5}, {3, 1.3, 2.5}, {4, 1.1, 1.5},
                       {0, 1.0, 1.0},  {5, 1.0, 1.0},  {-1, 1.0, 1.0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.region);
        const TClimateFactors f = ClimateFactorsOf(c.region);
        EXPECT_EQ(f.RodClimateFactor, c.rod);
        EXPECT_EQ(f.ConnectorClimateFactor, c.connector);
    }
}

TEST(Utilization, TellingCells) {
    struct {
        int32_t disposition, n, a;
        double rod, connector;
    } const cases[] = {
        {1, 3, 1, 0.78, 0.81},  {2, 4, 2, 0.77, 0.55},  {1, 20, 4, 0.82, 0.79},
        {2, 20, 4, 0.74, 0.77}, {1, 12, 4, 0.82, 0.83}, {1, 17, 3, 0.77, 0.71},
        {2, 3, 1, 0.76, 0.45},  {2, 3, 4, 0.92, 0.94},  {7, 4, 2, 0.77, 0.55}, // any code but 1 is a contour
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.disposition << " n=" << c.n << " a=" << c.a);
        const TUtilization u = UtilizationOf(c.disposition, c.n, c.a);
        EXPECT_EQ(u.RodUtilization, c.rod);
        EXPECT_EQ(u.ConnectorUtilization, c.connector);
    }
}

TEST(Utilization, OneRodAndTwoRods) {
    for (int a = 1; a <= 4; ++a) {
        for (int disposition : {1, 2}) {
            EXPECT_EQ(UtilizationOf(disposition, 1, a).RodUtilization, 1.0);
            EXPECT_EQ(UtilizationOf(disposition, 1, a).ConnectorUtilization, 0.0);
        }
        // Two rods: a contour is the same as a row.
        EXPECT_EQ(UtilizationOf(1, 2, a).RodUtilization, UtilizationOf(2, 2, a).RodUtilization);
        EXPECT_EQ(UtilizationOf(1, 2, a).ConnectorUtilization, UtilizationOf(2, 2, a).ConnectorUtilization);
    }
}

TEST(Utilization, CoefficientsGrowWithTheSpacingAndNeverWithTheCount) {
    for (const TUtilizationTable* table : {&RowRodUtilization, &ContourRodUtilization,
                                           &RowConnectorUtilization, &ContourConnectorUtilization}) {
        for (int i = 0; i < UtilizationRows; ++i) {
            for (int j = 0; j < UtilizationColumns; ++j) {
                const double v = (*table)[i][j];
                EXPECT_GE(v, 0.0);
                EXPECT_LE(v, 1.0);
                if (j > 0) {
                    EXPECT_GE(v, (*table)[i][j - 1]) << i << ',' << j;
                }
                if (i > 1) {
                    EXPECT_LE(v, (*table)[i - 1][j]) << i << ',' << j;
                }
            }
        }
    }
}

} // namespace
