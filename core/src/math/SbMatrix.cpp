#include <Tessara/base/SoDebugError.h>
#include <Tessara/math/SbLine.h>
#include <Tessara/math/SbMatrix.h>
#include <Tessara/math/SbRotation.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

namespace {

using Mat3 = double[3][3];
using Mat4 = double[4][4];

void toDouble(const SbMatrix& m, Mat4 out) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) out[i][j] = m[i][j];
}

bool allFinite(const SbMatrix& m) {
    for (int i = 0; i < 16; ++i) {
        if (!SbMathHelper::isFinite(m.getValue()[i])) return false;
    }
    return true;
}

double det3d(const Mat3 a) {
    return a[0][0] * (a[1][1] * a[2][2] - a[1][2] * a[2][1]) -
           a[0][1] * (a[1][0] * a[2][2] - a[1][2] * a[2][0]) +
           a[0][2] * (a[1][0] * a[2][1] - a[1][1] * a[2][0]);
}

// Gauss-Jordan with partial pivoting, in double so that well-conditioned float matrices come
// back exact to float precision. Returns false when a pivot vanishes relative to the input.
bool invert4(Mat4 a, Mat4 inv) {
    double largest = 0.0;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            inv[i][j] = i == j ? 1.0 : 0.0;
            largest = std::max(largest, std::fabs(a[i][j]));
        }
    }
    if (!(largest > 0.0)) return false;
    for (int col = 0; col < 4; ++col) {
        int pivot = col;
        for (int r = col + 1; r < 4; ++r) {
            if (std::fabs(a[r][col]) > std::fabs(a[pivot][col])) pivot = r;
        }
        if (std::fabs(a[pivot][col]) <= 1.0e-12 * largest) return false;
        std::swap(a[col], a[pivot]);
        std::swap(inv[col], inv[pivot]);
        const double p = a[col][col];
        for (int j = 0; j < 4; ++j) {
            a[col][j] /= p;
            inv[col][j] /= p;
        }
        for (int r = 0; r < 4; ++r) {
            if (r == col || a[r][col] == 0.0) continue;
            const double f = a[r][col];
            for (int j = 0; j < 4; ++j) {
                a[r][j] -= f * a[col][j];
                inv[r][j] -= f * inv[col][j];
            }
        }
    }
    return true;
}

// Cyclic Jacobi: diagonalises the symmetric a in place; the columns of v become its
// eigenvectors. Three by three converges in a handful of sweeps.
void jacobiEigen(Mat3 a, Mat3 v) {
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) v[i][j] = i == j ? 1.0 : 0.0;
    for (int sweep = 0; sweep < 50; ++sweep) {
        const double off = a[0][1] * a[0][1] + a[0][2] * a[0][2] + a[1][2] * a[1][2];
        const double diag = a[0][0] * a[0][0] + a[1][1] * a[1][1] + a[2][2] * a[2][2];
        if (off <= 1.0e-30 * diag || off == 0.0) return;
        for (int p = 0; p < 2; ++p) {
            for (int q = p + 1; q < 3; ++q) {
                if (a[p][q] == 0.0) continue;
                const double theta = (a[q][q] - a[p][p]) / (2.0 * a[p][q]);
                const double t = (theta >= 0.0 ? 1.0 : -1.0) /
                                 (std::fabs(theta) + std::sqrt(theta * theta + 1.0));
                const double c = 1.0 / std::sqrt(t * t + 1.0), s = t * c;
                for (int k = 0; k < 3; ++k) {  // a = a J
                    const double kp = a[k][p], kq = a[k][q];
                    a[k][p] = c * kp - s * kq;
                    a[k][q] = s * kp + c * kq;
                }
                for (int k = 0; k < 3; ++k) {  // a = J^T a
                    const double pk = a[p][k], qk = a[q][k];
                    a[p][k] = c * pk - s * qk;
                    a[q][k] = s * pk + c * qk;
                }
                for (int k = 0; k < 3; ++k) {  // v = v J
                    const double kp = v[k][p], kq = v[k][q];
                    v[k][p] = c * kp - s * kq;
                    v[k][q] = s * kp + c * kq;
                }
            }
        }
    }
}

void cross(const double a[3], const double b[3], double out[3]) {
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}

// Unit vector perpendicular to unit vector a.
void perpendicular(const double a[3], double out[3]) {
    const double helper[3] = {std::fabs(a[0]) < 0.6 ? 1.0 : 0.0, std::fabs(a[0]) < 0.6 ? 0.0 : 1.0,
                              0.0};
    cross(a, helper, out);
    const double len = std::sqrt(out[0] * out[0] + out[1] * out[1] + out[2] * out[2]);
    for (int i = 0; i < 3; ++i) out[i] /= len;
}

// Right singular vectors (as rows vr[i]) matching the left ones u (columns) and the singular
// values sigma of a: vr[i] = a^T u_i / sigma_i, completed to a right-handed frame where a
// singular value vanishes, so that u x vr stays a proper rotation.
void rightVectors(const Mat3 a, const Mat3 u, const double sigma[3], double vr[3][3]) {
    const double big = std::max({sigma[0], sigma[1], sigma[2]});
    bool live[3];
    int nLive = 0;
    for (int i = 0; i < 3; ++i) {
        live[i] = big > 0.0 && sigma[i] > 1.0e-6 * big;
        if (!live[i]) continue;
        ++nLive;
        for (int k = 0; k < 3; ++k) {
            vr[i][k] = (a[0][k] * u[0][i] + a[1][k] * u[1][i] + a[2][k] * u[2][i]) / sigma[i];
        }
    }
    if (nLive == 3) return;
    if (nLive == 0) {
        for (int i = 0; i < 3; ++i)
            for (int k = 0; k < 3; ++k) vr[i][k] = u[k][i];  // rotation part becomes identity
        return;
    }
    int first = 0;
    while (!live[first]) ++first;
    if (nLive == 1) {
        perpendicular(vr[first], vr[(first + 1) % 3]);
        live[(first + 1) % 3] = true;
    }
    for (int k = 0; k < 3; ++k) {
        if (!live[k]) cross(vr[(k + 1) % 3], vr[(k + 2) % 3], vr[k]);
    }
}

SbMatrix fromMat3(const Mat3 a) {
    SbMatrix m;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) m[i][j] = static_cast<float>(a[i][j]);
    return m;
}

// Splits the upper 3x3 a into SO^-1 x S x SO x R (polar decomposition through the eigenvectors
// of a a^T).
void decompose(const SbMatrix& m, SbRotation& r, SbVec3f& s, SbRotation& so) {
    // A mirror cannot be a rotation: fold it into a negative uniform scale.
    const double sign = m.det3() < 0.0f ? -1.0 : 1.0;
    Mat3 a, b, u;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) a[i][j] = sign * m[i][j];
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            b[i][j] = a[i][0] * a[j][0] + a[i][1] * a[j][1] + a[i][2] * a[j][2];
    jacobiEigen(b, u);
    if (det3d(u) < 0.0) {
        for (int k = 0; k < 3; ++k) u[k][2] = -u[k][2];
    }
    double sigma[3], vr[3][3];
    for (int i = 0; i < 3; ++i) sigma[i] = std::sqrt(std::max(b[i][i], 0.0));
    rightVectors(a, u, sigma, vr);
    Mat3 rot, soRows;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            rot[i][j] = u[i][0] * vr[0][j] + u[i][1] * vr[1][j] + u[i][2] * vr[2][j];
            soRows[i][j] = u[j][i];
        }
    }
    s.setValue(float(sign * sigma[0]), float(sign * sigma[1]), float(sign * sigma[2]));
    r.setValue(fromMat3(rot));
    so.setValue(fromMat3(soRows));
}

}  // namespace

SbMatrix::SbMatrix(float a11, float a12, float a13, float a14, float a21, float a22, float a23,
                   float a24, float a31, float a32, float a33, float a34, float a41, float a42,
                   float a43, float a44) {
    setValue(a11, a12, a13, a14, a21, a22, a23, a24, a31, a32, a33, a34, a41, a42, a43, a44);
}

SbMatrix& SbMatrix::setValue(float a11, float a12, float a13, float a14, float a21, float a22,
                             float a23, float a24, float a31, float a32, float a33, float a34,
                             float a41, float a42, float a43, float a44) {
    const float v[16] = {a11, a12, a13, a14, a21, a22, a23, a24,
                         a31, a32, a33, a34, a41, a42, a43, a44};
    return setValue(v);
}

SbMatrix& SbMatrix::setValue(const float m[4][4]) {
    return setValue(m == nullptr ? nullptr : &m[0][0]);
}

SbMatrix& SbMatrix::setValue(const float* m16) {
    if (m16 == nullptr) {
        SoDebugError::post("SbMatrix::setValue", "null array, using identity");
        makeIdentity();
        return *this;
    }
    std::memcpy(matrix_, m16, sizeof(matrix_));
    return *this;
}

void SbMatrix::getValue(float m[4][4]) const {
    if (m == nullptr) {
        SoDebugError::post("SbMatrix::getValue", "null array");
        return;
    }
    std::memcpy(m, matrix_, sizeof(matrix_));
}

float* SbMatrix::badRow(int i) {
    SoDebugError::post("SbMatrix", "row %d is out of range [0, 4)", i);
    static thread_local float scratch[4];
    std::fill(scratch, scratch + 4, 0.0f);
    return scratch;
}

void SbMatrix::makeIdentity() {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) matrix_[i][j] = i == j ? 1.0f : 0.0f;
}

void SbMatrix::setScale(const SbVec3f& s) {
    makeIdentity();
    for (int i = 0; i < 3; ++i) matrix_[i][i] = s[i];
}

void SbMatrix::setTranslate(const SbVec3f& t) {
    makeIdentity();
    for (int i = 0; i < 3; ++i) matrix_[3][i] = t[i];
}

void SbMatrix::setRotate(const SbRotation& r) {
    r.getValue(*this);
}

void SbMatrix::setTransform(const SbVec3f& t, const SbRotation& r, const SbVec3f& s) {
    setScale(s);
    SbMatrix tmp;
    tmp.setRotate(r);
    multRight(tmp);
    tmp.setTranslate(t);
    multRight(tmp);
}

void SbMatrix::setTransform(const SbVec3f& t, const SbRotation& r, const SbVec3f& s,
                            const SbRotation& so) {
    setTransform(t, r, s, so, SbVec3f());
}

void SbMatrix::setTransform(const SbVec3f& t, const SbRotation& r, const SbVec3f& s,
                            const SbRotation& so, const SbVec3f& c) {
    SbMatrix tmp;
    setTranslate(-c);
    tmp.setRotate(so.inverse());
    multRight(tmp);
    tmp.setScale(s);
    multRight(tmp);
    tmp.setRotate(so);
    multRight(tmp);
    tmp.setRotate(r);
    multRight(tmp);
    tmp.setTranslate(t + c);  // T x C is one translation
    multRight(tmp);
}

void SbMatrix::getTransform(SbVec3f& t, SbRotation& r, SbVec3f& s, SbRotation& so) const {
    getTransform(t, r, s, so, SbVec3f());
}

void SbMatrix::getTransform(SbVec3f& t, SbRotation& r, SbVec3f& s, SbRotation& so,
                            const SbVec3f& c) const {
    if (!allFinite(*this)) {
        SoDebugError::post("SbMatrix::getTransform", "matrix is not finite, using identity parts");
        t.setValue(0, 0, 0);
        s.setValue(1, 1, 1);
        r = so = SbRotation::identity();
        return;
    }
    // Undo the centre: this = -C x X x C, hence X = C x this x -C.
    SbMatrix x, tmp;
    x.setTranslate(c);
    x.multRight(*this);
    tmp.setTranslate(-c);
    x.multRight(tmp);
    t.setValue(x[3][0], x[3][1], x[3][2]);
    decompose(x, r, s, so);
}

float SbMatrix::det3() const {
    Mat3 a;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) a[i][j] = matrix_[i][j];
    return static_cast<float>(det3d(a));
}

float SbMatrix::det4() const {
    // Laplace expansion along row 3 over 3x3 minors.
    double det = 0.0;
    for (int col = 0; col < 4; ++col) {
        Mat3 minor;
        for (int i = 0; i < 3; ++i) {
            for (int j = 0, k = 0; j < 4; ++j) {
                if (j != col) minor[i][k++] = matrix_[i][j];
            }
        }
        const double cofactor = ((3 + col) % 2 == 0 ? 1.0 : -1.0) * det3d(minor);
        det += matrix_[3][col] * cofactor;
    }
    return static_cast<float>(det);
}

SbMatrix SbMatrix::inverse() const {
    Mat4 a, inv;
    toDouble(*this, a);
    if (!allFinite(*this) || !invert4(a, inv)) {
        SoDebugError::postWarning("SbMatrix::inverse", "matrix is singular, using identity");
        return SbMatrix();
    }
    SbMatrix r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) r.matrix_[i][j] = static_cast<float>(inv[i][j]);
    return r;
}

SbMatrix SbMatrix::transpose() const {
    SbMatrix r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) r.matrix_[i][j] = matrix_[j][i];
    return r;
}

SbMatrix& SbMatrix::multRight(const SbMatrix& m) {
    SbMatrix r;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            r.matrix_[i][j] = matrix_[i][0] * m.matrix_[0][j] + matrix_[i][1] * m.matrix_[1][j] +
                              matrix_[i][2] * m.matrix_[2][j] + matrix_[i][3] * m.matrix_[3][j];
        }
    }
    return *this = r;
}

SbMatrix& SbMatrix::multLeft(const SbMatrix& m) {
    SbMatrix r(m);
    r.multRight(*this);
    return *this = r;
}

void SbMatrix::multVecMatrix(const SbVec3f& src, SbVec3f& dst) const {
    float r[4];
    for (int j = 0; j < 4; ++j) {
        r[j] = src[0] * matrix_[0][j] + src[1] * matrix_[1][j] + src[2] * matrix_[2][j] +
               matrix_[3][j];
    }
    // w == 0 is a direction: no point to divide to, keep x, y, z.
    const float w = (r[3] != 0.0f && r[3] != 1.0f) ? r[3] : 1.0f;
    dst.setValue(r[0] / w, r[1] / w, r[2] / w);
}

void SbMatrix::multVecMatrix(const SbVec4f& src, SbVec4f& dst) const {
    float r[4];
    for (int j = 0; j < 4; ++j) {
        r[j] = src[0] * matrix_[0][j] + src[1] * matrix_[1][j] + src[2] * matrix_[2][j] +
               src[3] * matrix_[3][j];
    }
    dst.setValue(r);
}

void SbMatrix::multMatrixVec(const SbVec3f& src, SbVec3f& dst) const {
    float r[4];
    for (int i = 0; i < 4; ++i) {
        r[i] = matrix_[i][0] * src[0] + matrix_[i][1] * src[1] + matrix_[i][2] * src[2] +
               matrix_[i][3];
    }
    const float w = (r[3] != 0.0f && r[3] != 1.0f) ? r[3] : 1.0f;
    dst.setValue(r[0] / w, r[1] / w, r[2] / w);
}

void SbMatrix::multDirMatrix(const SbVec3f& src, SbVec3f& dst) const {
    float r[3];
    for (int j = 0; j < 3; ++j) {
        r[j] = src[0] * matrix_[0][j] + src[1] * matrix_[1][j] + src[2] * matrix_[2][j];
    }
    dst.setValue(r);
}

void SbMatrix::multLineMatrix(const SbLine& src, SbLine& dst) const {
    SbVec3f p0, p1;
    multVecMatrix(src.getPosition(), p0);
    multVecMatrix(src.getPosition() + src.getDirection(), p1);
    dst.setValue(p0, p1);
}

SbVec4f SbMatrix::operator*(const SbVec4f& v) const {
    float r[4];
    for (int i = 0; i < 4; ++i) {
        r[i] = matrix_[i][0] * v[0] + matrix_[i][1] * v[1] + matrix_[i][2] * v[2] +
               matrix_[i][3] * v[3];
    }
    return SbVec4f(r);
}

bool SbMatrix::equals(const SbMatrix& m, float tolerance) const {
    for (int i = 0; i < 16; ++i) {
        if (!SbMathHelper::isCoinc(getValue()[i], m.getValue()[i], tolerance)) return false;
    }
    return true;
}

bool operator==(const SbMatrix& a, const SbMatrix& b) {
    for (int i = 0; i < 16; ++i) {
        if (a.getValue()[i] != b.getValue()[i]) return false;
    }
    return true;
}

void SbMatrix::print(FILE* fp) const {
    if (fp == nullptr) {
        SoDebugError::post("SbMatrix::print", "null stream");
        return;
    }
    for (const auto& row : matrix_) {
        std::fprintf(fp, "%10g %10g %10g %10g\n", double(row[0]), double(row[1]), double(row[2]),
                     double(row[3]));
    }
}
