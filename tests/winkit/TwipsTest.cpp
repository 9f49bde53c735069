// Window geometry in twips: fitting the client area and centring.

#include <gtest/gtest.h>

#include "winkit/Twips.h"

namespace vornel {
namespace {

TEST(Twips, FactorsFromDotsPerInch) {
  EXPECT_EQ(TwipsPerPixel(96), 15);
  EXPECT_EQ(TwipsPerPixel(120), 12);
  EXPECT_EQ(TwipsPerPixel(144), 10);
  EXPECT_EQ(TwipsPerPixel(100), 14);  // 14.4 rounds to the nearest whole
}

TEST(Twips, OuterSizeGivesAClientOf372AtAnyScale) {
  // The design client of 500 x 497 pixels at 15 twips per pixel, with a
  // frame of 8 x 46 pixels around it.
  const int outerW = (500 + 8) * 15, outerH = (497 + 46) * 15;
  EXPECT_EQ(OuterForClient(outerW, 500, 15, 372), outerW - 1920);
  EXPECT_EQ(OuterForClient(outerH, 497, 15, 372), outerH - 1875);
  for (int t : {15, 12, 10, 8}) {
    const int outer = OuterForClient((500 + 8) * t, 500, t, 372);
    EXPECT_EQ(outer / t - 8, 372) << t << " twips per pixel";
  }
}

TEST(Twips, CentringTruncatesTowardZero) {
  EXPECT_EQ(CentreOffset(1255, 1000), 127);
  EXPECT_EQ(CentreOffset(1000, 1005), -2);  // wider than the screen: overhangs both edges
  EXPECT_EQ(CentreOffset(1000, 1000), 0);
  EXPECT_EQ(CentreOffset(19200, 5700.4), 6750);  // rounded to a whole number first
}

}  // namespace
}  // namespace vornel
