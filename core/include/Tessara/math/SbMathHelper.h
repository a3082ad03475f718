#pragma once

#include <cmath>

/// Small numeric helpers shared by the math value types.
class SbMathHelper {
  public:
    /// Default tolerance for float comparisons: well above float rounding noise on unit-sized
    /// values, well below anything a drawing would show.
    static constexpr float EPSILON = 1.0e-6f;
    static constexpr double PI = 3.14159265358979323846;

    static bool isNaN(float v) { return std::isnan(v); }
    static bool isNaN(double v) { return std::isnan(v); }
    /// False for NaN and for both infinities.
    static bool isFinite(float v) { return std::isfinite(v); }
    static bool isFinite(double v) { return std::isfinite(v); }

    static float deg2rad(float degrees) { return degrees * static_cast<float>(PI / 180.0); }
    static double deg2rad(double degrees) { return degrees * (PI / 180.0); }
    static float rad2deg(float radians) { return radians * static_cast<float>(180.0 / PI); }
    static double rad2deg(double radians) { return radians * (180.0 / PI); }

    /// Limits v to [low, high]; NaN comes back as low so that it cannot leak into packed or
    /// integer results.
    template <typename T>
    static T clamp(T v, T low, T high) {
        if (!(v >= low)) return low;
        return v > high ? high : v;
    }

    /// True when a and b differ by at most tolerance.
    static bool isCoinc(float a, float b, float tolerance = EPSILON) {
        return std::fabs(a - b) <= tolerance;
    }
    static bool isCoinc(double a, double b, double tolerance = EPSILON) {
        return std::fabs(a - b) <= tolerance;
    }

    /// Reports an out-of-range component index and hands back a scratch value, so that a bad
    /// index neither reads nor writes outside the object.
    template <typename T>
    static T& badIndex(const char* where, int index, int size) {
        reportBadIndex(where, index, size);
        static thread_local T scratch;
        scratch = T();
        return scratch;
    }

  private:
    // Out of line so that this header needs nothing beyond the standard library.
    static void reportBadIndex(const char* where, int index, int size);
};
