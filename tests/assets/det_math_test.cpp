#include <gtest/gtest.h>

#include <cmath>

#include "tools/assetkit/det_math.h"
#include "tools/assetkit/random.h"

namespace korvane::test {
namespace {

// The generators' own functions agree with the C library to far better than
// a 16-bit sample or an 8-bit colour can show.
TEST(DeterministicMath, MatchesTheLibraryClosely) {
    for (double x = -40.0; x <= 40.0; x += 0.0137) {
        EXPECT_NEAR(assetkit::Sine(x), std::sin(x), 1e-10) << x;
        EXPECT_NEAR(assetkit::Cosine(x), std::cos(x), 1e-10) << x;
        EXPECT_NEAR(assetkit::Tanh(x * 0.2), std::tanh(x * 0.2), 1e-12) << x;
    }
    for (double x = -30.0; x <= 30.0; x += 0.0173) {
        EXPECT_NEAR(assetkit::Exp(x) / std::exp(x), 1.0, 1e-13) << x;
    }
    for (double x = 1e-6; x <= 1e6; x *= 1.37) {
        EXPECT_NEAR(assetkit::Log(x), std::log(x), 1e-12) << x;
    }
    EXPECT_NEAR(assetkit::Pow(2.0, 0.5), std::sqrt(2.0), 1e-13);
    EXPECT_NEAR(assetkit::Pow(440.0, 1.0 / 12.0), std::pow(440.0, 1.0 / 12.0), 1e-13);
}

TEST(DeterministicMath, ExtremesStayFinite) {
    EXPECT_EQ(assetkit::Exp(-1000.0), 0.0);
    EXPECT_TRUE(std::isfinite(assetkit::Exp(1000.0)));
    EXPECT_EQ(assetkit::Tanh(50.0), 1.0);
    EXPECT_EQ(assetkit::Tanh(-50.0), -1.0);
}

TEST(SeededRandom, SameSeedSameSequenceInRange) {
    assetkit::Random a(42);
    assetkit::Random b(42);
    assetkit::Random c(43);
    bool differs = false;
    for (int i = 0; i < 1000; ++i) {
        const double x = a.Unit();
        EXPECT_EQ(x, b.Unit());
        differs = differs || x != c.Unit();
        EXPECT_GE(x, 0.0);
        EXPECT_LT(x, 1.0);
    }
    EXPECT_TRUE(differs);
}

}  // namespace
}  // namespace korvane::test
