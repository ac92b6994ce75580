#include "tools/assetkit/det_math.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace korvane::assetkit {

namespace {

// Taylor coefficients, worked out by the compiler in plain double arithmetic.
template <int kCount>
constexpr std::array<double, kCount> InverseFactorials(int first, int stride) {
    std::array<double, kCount> c{};
    for (int i = 0; i < kCount; ++i) {
        double factorial = 1.0;
        for (int k = 2; k <= first + stride * i; ++k) {
            factorial *= static_cast<double>(k);
        }
        c[static_cast<std::size_t>(i)] = (stride == 2 && i % 2 == 1 ? -1.0 : 1.0) / factorial;
    }
    return c;
}

// sin x = x - x^3/3! + ... on [-pi/2, pi/2]; the x^17 term is below 1e-11.
constexpr auto kSineTerms = InverseFactorials<8>(1, 2);
// e^r = 1 + r + r^2/2! + ... for |r| <= ln2/2; r^12/12! is below 1e-14.
constexpr auto kExpTerms = InverseFactorials<12>(0, 1);

double SineNearZero(double x) {
    const double x2 = x * x;
    double sum = kSineTerms.back();
    for (std::size_t i = kSineTerms.size() - 1; i-- > 0;) {
        sum = sum * x2 + kSineTerms[i];
    }
    return sum * x;
}

}  // namespace

double Sine(double x) {
    // Bring x into [-pi, pi], then fold into [-pi/2, pi/2].
    const double turns = std::floor(x / kTwoPi + 0.5);
    double r = x - turns * kTwoPi;
    if (r > kPi / 2.0) {
        r = kPi - r;
    } else if (r < -kPi / 2.0) {
        r = -kPi - r;
    }
    return SineNearZero(r);
}

double Cosine(double x) {
    return Sine(x + kPi / 2.0);
}

double Exp(double x) {
    if (x > 700.0) {
        x = 700.0;
    }
    if (x < -700.0) {
        return 0.0;
    }
    constexpr double kLn2 = 0.69314718055994530942;
    const double k = std::floor(x / kLn2 + 0.5);
    const double r = x - k * kLn2;  // |r| <= ln2 / 2
    double sum = kExpTerms.back();
    for (std::size_t i = kExpTerms.size() - 1; i-- > 0;) {
        sum = sum * r + kExpTerms[i];
    }
    // Scale by 2^k through the exponent bits; k stays within the normal range.
    // (memcpy rather than std::bit_cast, which the web build's library lacks.)
    const auto biased = static_cast<std::uint64_t>(static_cast<std::int64_t>(k) + 1023) << 52;
    double scale = 0.0;
    std::memcpy(&scale, &biased, sizeof scale);
    return sum * scale;
}

double Log(double x) {
    if (x <= 0.0) {
        return -745.0;
    }
    int exponent = 0;
    double m = std::frexp(x, &exponent);  // m in [0.5, 1)
    constexpr double kSqrtHalf = 0.70710678118654752440;
    if (m < kSqrtHalf) {
        m *= 2.0;
        exponent -= 1;
    }
    // log(m) = 2 atanh(z) with |z| <= 0.172.
    const double z = (m - 1.0) / (m + 1.0);
    const double z2 = z * z;
    double power = z;
    double sum = 0.0;
    for (int n = 0; n <= 11; ++n) {
        sum += power / static_cast<double>(2 * n + 1);
        power *= z2;
    }
    constexpr double kLn2 = 0.69314718055994530942;
    return 2.0 * sum + static_cast<double>(exponent) * kLn2;
}

double Pow(double base, double exponent) {
    return Exp(exponent * Log(base));
}

double Tanh(double x) {
    if (x > 20.0) {
        return 1.0;
    }
    if (x < -20.0) {
        return -1.0;
    }
    const double e = Exp(2.0 * x);
    return (e - 1.0) / (e + 1.0);
}

}  // namespace korvane::assetkit
