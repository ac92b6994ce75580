#include "tools/assetkit/det_math.h"

#include <cmath>

namespace korvane::assetkit {

namespace {

// Taylor series of sin on [-pi/2, pi/2]; the x^17 term is below 1e-11.
double SineNearZero(double x) {
    const double x2 = x * x;
    double term = x;
    double sum = x;
    for (int n = 1; n <= 8; ++n) {
        term = -term * x2 / static_cast<double>((2 * n) * (2 * n + 1));
        sum += term;
    }
    return sum;
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
    double term = 1.0;
    double sum = 1.0;
    for (int n = 1; n <= 14; ++n) {
        term = term * r / static_cast<double>(n);
        sum += term;
    }
    return std::ldexp(sum, static_cast<int>(k));
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
