// Rounding halves to the even neighbour.
#include <gtest/gtest.h>

#include "platform/round.h"

using platform::Round;

TEST(Round, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(Round(2.5), 2);
    EXPECT_EQ(Round(3.5), 4);
    EXPECT_EQ(Round(12.5), 12);
    EXPECT_EQ(Round(13.5), 14);
    EXPECT_EQ(Round(0.5), 0);
    EXPECT_EQ(Round(-2.5), -2);
    EXPECT_EQ(Round(-3.5), -4);
}

TEST(Round, OtherValuesGoToTheNearest) {
    EXPECT_EQ(Round(2.4999), 2);
    EXPECT_EQ(Round(2.5001), 3);
    EXPECT_EQ(Round(37.5), 38);
    EXPECT_EQ(Round(100.0 / 3.0), 33);
    EXPECT_EQ(Round(-0.4), 0);
    EXPECT_EQ(Round(1e12), 2147483647);  // out of range saturates instead of wrapping
}
