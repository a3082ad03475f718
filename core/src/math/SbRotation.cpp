#include <Tessara/base/SoDebugError.h>
#include <Tessara/math/SbMatrix.h>
#include <Tessara/math/SbRotation.h>

#include <cmath>

SbRotation& SbRotation::setValue(float x, float y, float z, float w) {
    // Normalise in double: callers often pass almost-unit quaternions built from floats.
    const double len = std::sqrt(double(x) * x + double(y) * y + double(z) * z + double(w) * w);
    if (!(len > 0.0) || !SbMathHelper::isFinite(len)) {
        SoDebugError::post("SbRotation::setValue",
                           "quaternion is zero or not finite, using identity");
        quat_[0] = quat_[1] = quat_[2] = 0.0f;
        quat_[3] = 1.0f;
        return *this;
    }
    quat_[0] = static_cast<float>(x / len);
    quat_[1] = static_cast<float>(y / len);
    quat_[2] = static_cast<float>(z / len);
    quat_[3] = static_cast<float>(w / len);
    return *this;
}

SbRotation& SbRotation::setValue(const float q[4]) {
    if (q == nullptr) {
        SoDebugError::post("SbRotation::setValue", "null array, using identity");
        return *this = SbRotation();
    }
    return setValue(q[0], q[1], q[2], q[3]);
}

SbRotation& SbRotation::setValue(const SbVec3f& axis, float radians) {
    SbVec3f a = axis;
    if (!(a.normalize() > 0.0f) || !SbMathHelper::isFinite(radians)) {
        SoDebugError::post("SbRotation::setValue", "zero axis or non-finite angle, using identity");
        return *this = SbRotation();
    }
    const double half = 0.5 * radians;
    const float s = static_cast<float>(std::sin(half));
    return setValue(a[0] * s, a[1] * s, a[2] * s, static_cast<float>(std::cos(half)));
}

SbRotation& SbRotation::setValue(const SbVec3f& rotateFrom, const SbVec3f& rotateTo) {
    SbVec3f from = rotateFrom, to = rotateTo;
    if (!(from.normalize() > 0.0f) || !(to.normalize() > 0.0f)) {
        SoDebugError::post("SbRotation::setValue", "zero direction, using identity");
        return *this = SbRotation();
    }
    const float d = from.dot(to);
    if (d < -1.0f + 1.0e-6f) {
        // Opposite directions: every perpendicular axis works; take the one farthest from the
        // coordinate axis the direction is closest to, so that the cross product is well sized.
        const SbVec3f helper = std::fabs(from[0]) < 0.6f ? SbVec3f(1, 0, 0) : SbVec3f(0, 1, 0);
        const SbVec3f axis = from.cross(helper);
        return setValue(axis, static_cast<float>(SbMathHelper::PI));
    }
    // Half-way quaternion: (from x to, 1 + from.to) normalised is the rotation by the angle
    // between them, without calling acos.
    const SbVec3f c = from.cross(to);
    return setValue(c[0], c[1], c[2], 1.0f + d);
}

SbRotation& SbRotation::setValue(const SbMatrix& m) {
    double r[3][3];  // column-vector form: r[i][j] = m[j][i], rows of m normalised
    for (int j = 0; j < 3; ++j) {
        const double len = std::sqrt(double(m[j][0]) * m[j][0] + double(m[j][1]) * m[j][1] +
                                     double(m[j][2]) * m[j][2]);
        if (!(len > 0.0) || !SbMathHelper::isFinite(len)) {
            SoDebugError::post("SbRotation::setValue", "matrix has no rotation, using identity");
            return *this = SbRotation();
        }
        for (int i = 0; i < 3; ++i) r[i][j] = m[j][i] / len;
    }
    // Pick the largest of w, x, y, z to divide by, to stay away from cancellation.
    const double trace = r[0][0] + r[1][1] + r[2][2];
    double q[4];
    if (trace > 0.0) {
        const double s = 2.0 * std::sqrt(trace + 1.0);
        q[3] = 0.25 * s;
        q[0] = (r[2][1] - r[1][2]) / s;
        q[1] = (r[0][2] - r[2][0]) / s;
        q[2] = (r[1][0] - r[0][1]) / s;
    } else {
        int i = 0;
        if (r[1][1] > r[i][i]) i = 1;
        if (r[2][2] > r[i][i]) i = 2;
        const int j = (i + 1) % 3, k = (i + 2) % 3;
        const double s = 2.0 * std::sqrt(std::fmax(1.0 + r[i][i] - r[j][j] - r[k][k], 1e-30));
        q[i] = 0.25 * s;
        q[3] = (r[k][j] - r[j][k]) / s;
        q[j] = (r[j][i] + r[i][j]) / s;
        q[k] = (r[k][i] + r[i][k]) / s;
    }
    return setValue(float(q[0]), float(q[1]), float(q[2]), float(q[3]));
}

void SbRotation::getValue(float& x, float& y, float& z, float& w) const {
    x = quat_[0];
    y = quat_[1];
    z = quat_[2];
    w = quat_[3];
}

void SbRotation::getValue(SbVec3f& axis, float& radians) const {
    const double x = quat_[0], y = quat_[1], z = quat_[2];
    const double s = std::sqrt(x * x + y * y + z * z);
    if (!(s > 0.0)) {
        axis.setValue(0.0f, 0.0f, 1.0f);
        radians = 0.0f;
        return;
    }
    axis.setValue(float(x / s), float(y / s), float(z / s));
    // atan2 keeps full precision for small angles, where acos(w) would not.
    radians = static_cast<float>(2.0 * std::atan2(s, double(quat_[3])));
}

void SbRotation::getValue(SbMatrix& m) const {
    const float x = quat_[0], y = quat_[1], z = quat_[2], w = quat_[3];
    // Transpose of the usual column-vector rotation matrix, as SbMatrix multiplies row vectors.
    m.setValue(1 - 2 * (y * y + z * z), 2 * (x * y + z * w), 2 * (x * z - y * w), 0,  //
               2 * (x * y - z * w), 1 - 2 * (x * x + z * z), 2 * (y * z + x * w), 0,  //
               2 * (x * z + y * w), 2 * (y * z - x * w), 1 - 2 * (x * x + y * y), 0,  //
               0, 0, 0, 1);
}

SbRotation& SbRotation::operator*=(const SbRotation& q) {
    // Applying this first and q second is the Hamilton product q * this.
    const float* a = q.quat_;
    const float* b = quat_;
    const float x = a[3] * b[0] + a[0] * b[3] + a[1] * b[2] - a[2] * b[1];
    const float y = a[3] * b[1] - a[0] * b[2] + a[1] * b[3] + a[2] * b[0];
    const float z = a[3] * b[2] + a[0] * b[1] - a[1] * b[0] + a[2] * b[3];
    const float w = a[3] * b[3] - a[0] * b[0] - a[1] * b[1] - a[2] * b[2];
    return setValue(x, y, z, w);
}

void SbRotation::multVec(const SbVec3f& src, SbVec3f& dst) const {
    // v' = v + 2w (u x v) + 2 u x (u x v), the expanded form of q v q*.
    const SbVec3f u(quat_[0], quat_[1], quat_[2]);
    const SbVec3f t = 2.0f * u.cross(src);
    dst = src + quat_[3] * t + u.cross(t);
}

bool SbRotation::equals(const SbRotation& r, float tolerance) const {
    bool same = true, opposite = true;
    for (int i = 0; i < 4; ++i) {
        same = same && SbMathHelper::isCoinc(quat_[i], r.quat_[i], tolerance);
        opposite = opposite && SbMathHelper::isCoinc(quat_[i], -r.quat_[i], tolerance);
    }
    return same || opposite;
}

bool operator==(const SbRotation& a, const SbRotation& b) {
    for (int i = 0; i < 4; ++i) {
        if (a.quat_[i] != b.quat_[i]) return false;
    }
    return true;
}

SbRotation SbRotation::slerp(const SbRotation& from, const SbRotation& to, float t) {
    const float* a = from.quat_;
    double b[4] = {to.quat_[0], to.quat_[1], to.quat_[2], to.quat_[3]};
    double cosom =
        double(a[0]) * b[0] + double(a[1]) * b[1] + double(a[2]) * b[2] + double(a[3]) * b[3];
    if (cosom < 0.0) {  // -to is the same rotation but reached along the shorter arc
        cosom = -cosom;
        for (double& c : b) c = -c;
    }
    double s0 = 1.0 - t, s1 = t;
    if (cosom < 1.0 - 1.0e-6) {  // otherwise sin(omega) is too small: linear blend is exact enough
        const double omega = std::acos(cosom);
        const double sinom = std::sin(omega);
        s0 = std::sin((1.0 - t) * omega) / sinom;
        s1 = std::sin(t * omega) / sinom;
    }
    double q[4];
    for (int i = 0; i < 4; ++i) q[i] = s0 * a[i] + s1 * b[i];
    return SbRotation(float(q[0]), float(q[1]), float(q[2]), float(q[3]));
}
