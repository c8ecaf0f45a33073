// Tex: the picture as the six faces of a box W wide, H high and H deep
// that tumbles about its centre and swings towards and away from the
// viewer on a black background. Each face is filled row by row between the
// leftmost and rightmost column its outline reaches on that row, every
// pixel taking the texel that a perspective-correct mapping of integer
// coefficients gives; faces turned away are culled.
//
// Matrices are 4 x 4 doubles acting on column vectors (x, y, z, 1); a
// product A x B applies B first. Rows of pictures and screen are counted
// from the top.
#pragma once
#include <array>
#include <cstdint>
#include <vector>

namespace quillo::qlo16 {

constexpr int kTexWidth = 640, kTexHeight = 480;
constexpr int kTexFrameCycle = 20000;
constexpr double kTexPi = 3.141592654, kTexHalfPi = 1.570796327;

struct Matrix4 {
  double m[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
};

Matrix4 operator*(const Matrix4& a, const Matrix4& b);
Matrix4 RotX(double a);
Matrix4 RotY(double a);
Matrix4 RotZ(double a);
Matrix4 Translate(double x, double y, double z);
Matrix4 Scale(double x, double y, double z);

enum TexFace { kFront, kTop, kLeft, kBack, kBottom, kRight, kTexFaceCount };

struct TexFacePlacement {
  Matrix4 matrix;          // texel (u, v, 0) to box coordinates
  int width = 0, height = 0;  // texture size: W x H, or H x H for the sides
};

// The six faces of a W x H picture's box, in drawing order.
std::array<TexFacePlacement, kTexFaceCount> TexFaces(int width, int height);

// Where the box stands at frame t (0 ... 19999).
Matrix4 TexViewMatrix(int width, int height, int t);

// The face faces the viewer: the determinant of the images of (0, 0, 0),
// (1, 0, 0) and (0, 1, 0) is positive.
bool TexFaceVisible(const Matrix4& m);

// The largest side a canvas may have: the row tables mark empty rows with
// columns of +-32000.
constexpr int kTexMaxSide = 30000;

// The row tables and sizes one picture's faces are drawn with.
struct TexCanvas {
  int width = 0, height = 0;
  int64_t stride = 0;
  std::vector<int32_t> rowMin, rowMax;  // max(W, H) + 1 entries each
};
// False when memory runs out or a side is not positive or beyond
// kTexMaxSide.
bool PrepareTexCanvas(TexCanvas& canvas, int width, int height, int64_t stride);

// The span each screen row of a face's outline covers (in the canvas's row
// tables) for a face of texture size w x h under `m`.
void TexFaceSpans(TexCanvas& canvas, const Matrix4& m, int w, int h);

// The texture coefficients of a face: for a screen offset (dx, dy) from the
// centre, column numerator J, row numerator I and denominator D, each
// c[0] dx + c[1] dy + c[2]: the adjugate of the face's u, v and origin
// columns, each entry truncated to an integer and multiplied by 12.
struct TexCoefficients {
  int64_t j[3], i[3], d[3];
};
TexCoefficients TexMapping(const Matrix4& m);

// Draws one face into `live` from `backup` (both 24-bit, bottom-up, of the
// canvas's size); texels outside the picture leave the pixel as it is.
void DrawTexFace(TexCanvas& canvas, const Matrix4& m, int w, int h, const uint8_t* backup, uint8_t* live);

// One frame: `live` filled black, then the front face alone or every
// visible face of the box at frame t.
void TexFrame(TexCanvas& canvas, const std::array<TexFacePlacement, kTexFaceCount>& faces, int t,
              bool frontOnly, const uint8_t* backup, uint8_t* live);

}  // namespace quillo::qlo16
