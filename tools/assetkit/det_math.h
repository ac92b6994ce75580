#pragma once

// Transcendental functions built only from +, -, *, / and the exactly rounded
// floor/ldexp/frexp/sqrt, so that a generated picture or sound has the same
// bits whatever C library the build machine has.

namespace korvane::assetkit {

inline constexpr double kPi = 3.14159265358979323846;
inline constexpr double kTwoPi = 2.0 * kPi;

double Sine(double x);
double Cosine(double x);
double Exp(double x);
// Natural logarithm; x must be positive.
double Log(double x);
// base must be positive.
double Pow(double base, double exponent);
double Tanh(double x);

inline double Clamp(double v, double lo, double hi) {
    return v < lo ? lo : (v > hi ? hi : v);
}
inline double Lerp(double a, double b, double t) {
    return a + (b - a) * t;
}
inline double SmoothStep(double edge0, double edge1, double x) {
    const double t = Clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

}  // namespace korvane::assetkit
