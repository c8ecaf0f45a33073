// Tex: the elementary matrices, the six faces on the box's planes and all
// turned outwards (the determinant test agrees with the eye's side of each
// face's plane), faces covering the box's outline without cracks and
// nothing outside it, culled faces never drawn, an edge lying on one row,
// texels outside the picture left black, the 32-bit texturing loop equal
// to 64-bit arithmetic, and small pictures written only inside.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "../qlo14/noise_picture.h"
#include "plugins/qlo16/kernels/tex_box.h"

namespace {

using namespace quillo::qlo16;

constexpr int W = kTexWidth, H = kTexHeight;

struct Vec3 {
  double x, y, z;
};
Vec3 Apply(const Matrix4& m, double x, double y, double z) {
  return {m.m[0][0] * x + m.m[0][1] * y + m.m[0][2] * z + m.m[0][3],
          m.m[1][0] * x + m.m[1][1] * y + m.m[1][2] * z + m.m[1][3],
          m.m[2][0] * x + m.m[2][1] * y + m.m[2][2] * z + m.m[2][3]};
}

// A picture whose every byte is at least 1, so black shows where nothing
// was drawn.
NoisePicture Texture(int w, int h) {
  NoisePicture p(w, h);
  for (int64_t k = 0; k < p.stride * h; ++k) p.Pixels()[k] = uint8_t(std::max<int>(p.Pixels()[k], 1));
  return p;
}
bool Black(const NoisePicture& p, int x, int row) {
  const uint8_t* q = p.At(x, p.height - 1 - row);
  return q[0] == 0 && q[1] == 0 && q[2] == 0;
}

TEST(Qlo16Tex, ElementaryMatricesAndFacesOnTheBoxPlanes) {
  const Matrix4 rx = RotX(0.3), ry = RotY(0.3), rz = RotZ(0.3);
  EXPECT_DOUBLE_EQ(rx.m[1][2], std::sin(0.3));
  EXPECT_DOUBLE_EQ(rx.m[2][1], -std::sin(0.3));
  EXPECT_DOUBLE_EQ(ry.m[0][2], -std::sin(0.3));
  EXPECT_DOUBLE_EQ(ry.m[2][0], std::sin(0.3));
  EXPECT_DOUBLE_EQ(rz.m[0][1], std::sin(0.3));
  const Matrix4 p = Translate(1, 2, 3) * Scale(2, 4, 8);
  const Vec3 v = Apply(p, 1, 1, 1);
  EXPECT_EQ(v.x, 3);
  EXPECT_EQ(v.y, 6);
  EXPECT_EQ(v.z, 11) << "the right factor acts first";

  // Which coordinate each face keeps fixed, and at what value.
  const int axis[kTexFaceCount] = {2, 1, 0, 2, 1, 0};
  const double level[kTexFaceCount] = {0, 0, 0, H, H, W};
  const auto faces = TexFaces(W, H);
  for (int f = 0; f < kTexFaceCount; ++f) {
    const auto& face = faces[size_t(f)];
    EXPECT_EQ(face.width, f == kLeft || f == kRight ? H : W) << f;
    EXPECT_EQ(face.height, H);
    double lo[3] = {1e9, 1e9, 1e9}, hi[3] = {-1e9, -1e9, -1e9};
    for (const auto& [u, w] : {std::pair{0, 0}, {1, 0}, {0, 1}, {1, 1}}) {
      const Vec3 c = Apply(face.matrix, u * face.width, w * face.height, 0);
      const double q[3] = {c.x, c.y, c.z};
      for (int k = 0; k < 3; ++k) lo[k] = std::min(lo[k], q[k]), hi[k] = std::max(hi[k], q[k]);
    }
    const double box[3] = {W, H, H};
    for (int k = 0; k < 3; ++k) {
      if (k == axis[f]) {
        EXPECT_NEAR(lo[k], level[f], 1e-4) << f;
        EXPECT_NEAR(hi[k], level[f], 1e-4) << f;
      } else {
        EXPECT_NEAR(lo[k], 0, 1e-4) << f << " axis " << k;
        EXPECT_NEAR(hi[k], box[k], 1e-4) << f << " axis " << k << ": the face spans the box";
      }
    }
  }
}

// The eye (the origin of the view) in box coordinates at frame t.
Vec3 Eye(int t) {
  const double d = (std::sin(-0.0121 * t) + 1) * W + 2 * H;
  const Matrix4 r = RotZ(0.037 * t) * RotY(0.01 * t) * RotX(0.051 * t);
  // Undo the scale (which leaves the origin), the move by d, the turn (its
  // inverse is its transpose) and the move to the centre.
  return {W / 2 - d * r.m[2][0], H / 2 - d * r.m[2][1], H / 2 - d * r.m[2][2]};
}

// Seen from the eye: the eye lies outside the face's plane.
bool FacesEye(int face, const Vec3& e) {
  switch (face) {
    case kFront: return e.z < 0;
    case kBack: return e.z > H;
    case kTop: return e.y < 0;
    case kBottom: return e.y > H;
    case kLeft: return e.x < 0;
    default: return e.x > W;
  }
}

TEST(Qlo16Tex, TheDeterminantTestSeesExactlyTheFacesTurnedToTheEye) {
  const auto faces = TexFaces(W, H);
  int checked = 0;
  for (int t = 0; t < kTexFrameCycle; t += 13) {
    const Matrix4 view = TexViewMatrix(W, H, t);
    const Vec3 e = Eye(t);
    int seen = 0;
    for (int f = 0; f < kTexFaceCount; ++f) {
      // Skip faces seen almost edge-on, where rounding decides.
      const double margin[kTexFaceCount] = {-e.z, e.y, -e.x, e.z - H, e.y - H, e.x - W};
      if (std::fabs(f == kTop ? -e.y : margin[f]) < 1e-3) continue;
      const bool visible = TexFaceVisible(view * faces[size_t(f)].matrix);
      ASSERT_EQ(visible, FacesEye(f, e)) << "t " << t << " face " << f;
      seen += visible;
      ++checked;
    }
    ASSERT_GE(seen, 1);
    ASSERT_LE(seen, 3);
  }
  EXPECT_GT(checked, 9000);
  // A face seen exactly edge-on (a zero determinant) is hidden.
  Matrix4 flat;
  flat.m[2][0] = flat.m[2][1] = flat.m[2][2] = 0;
  flat.m[2][3] = 0;
  EXPECT_FALSE(TexFaceVisible(flat));
}

// The box's outline: the hull of its eight projected corners.
struct Outline {
  std::vector<std::pair<double, double>> hull;  // its interior to the left of each side
  // Signed distance of (x, y) inside the hull (negative outside).
  double Inside(double x, double y) const {
    double d = 1e9;
    for (size_t k = 0; k < hull.size(); ++k) {
      const auto [ax, ay] = hull[k];
      const auto [bx, by] = hull[(k + 1) % hull.size()];
      const double len = std::hypot(bx - ax, by - ay);
      d = std::min(d, ((bx - ax) * (y - ay) - (by - ay) * (x - ax)) / len);
    }
    return d;
  }
};
Outline BoxOutline(int t) {
  const Matrix4 view = TexViewMatrix(W, H, t);
  std::vector<std::pair<double, double>> p;
  for (int k = 0; k < 8; ++k) {
    const Vec3 c = Apply(view, (k & 1) * W, (k >> 1 & 1) * H, (k >> 2) * H);
    p.push_back({W / 2 + c.x / std::fabs(c.z), H / 2 + c.y / std::fabs(c.z)});
  }
  std::sort(p.begin(), p.end());
  auto cross = [](auto o, auto a, auto b) {
    return (a.first - o.first) * (b.second - o.second) - (a.second - o.second) * (b.first - o.first);
  };
  std::vector<std::pair<double, double>> hull;
  for (int pass = 0; pass < 2; ++pass) {
    const size_t start = hull.size();
    for (const auto& q : p) {
      while (hull.size() >= start + 2 && cross(hull[hull.size() - 2], hull.back(), q) <= 0) hull.pop_back();
      hull.push_back(q);
    }
    hull.pop_back();
    std::reverse(p.begin(), p.end());
  }
  return {hull};
}

// The box's twelve edges on the screen.
struct Segment {
  double ax, ay, bx, by;
};
std::vector<Segment> BoxEdges(int t) {
  const Matrix4 view = TexViewMatrix(W, H, t);
  auto at = [&](int k) {
    const Vec3 c = Apply(view, (k & 1) * W, (k >> 1 & 1) * H, (k >> 2) * H);
    return std::pair{W / 2 + c.x / std::fabs(c.z), H / 2 + c.y / std::fabs(c.z)};
  };
  std::vector<Segment> edges;
  for (int a = 0; a < 8; ++a)
    for (int bit : {1, 2, 4})
      if (!(a & bit)) {
        const auto [ax, ay] = at(a);
        const auto [bx, by] = at(a | bit);
        edges.push_back({ax, ay, bx, by});
      }
  return edges;
}
double EdgeDistance(const std::vector<Segment>& edges, double x, double y) {
  double best = 1e9;
  for (const Segment& e : edges) {
    const double vx = e.bx - e.ax, vy = e.by - e.ay;
    const double k = std::clamp(((x - e.ax) * vx + (y - e.ay) * vy) / (vx * vx + vy * vy), 0.0, 1.0);
    best = std::min(best, std::hypot(x - e.ax - k * vx, y - e.ay - k * vy));
  }
  return best;
}
// Seam pixels are those an edge passes through.
constexpr double kSeamWidth = 1;

TEST(Qlo16Tex, VisibleFacesCoverTheOutlineWithoutCracksAndCulledOnesAreNeverDrawn) {
  const NoisePicture texture = Texture(W, H);
  const auto faces = TexFaces(W, H);
  TexCanvas canvas;
  ASSERT_TRUE(PrepareTexCanvas(canvas, W, H, texture.stride));
  for (int t : {0, 40, 117, 260, 500, 777, 1234, 3001, 9999, 19999}) {
    SCOPED_TRACE(t);
    NoisePicture frame(W, H);
    TexFrame(canvas, faces, t, false, texture.Pixels(), frame.Pixels());
    ASSERT_TRUE(frame.GuardsIntact());
    // Inside the outline every pixel is drawn except along the box's
    // edges: each face's spans come from its edges' x at the rows' first
    // steps and its far corners lie one texel short of the next face, so
    // a seam pixel can fall outside both faces. Nothing lies beyond the
    // outline (two pixels left to rounding).
    const Outline outline = BoxOutline(t);
    const std::vector<Segment> edges = BoxEdges(t);
    int holes = 0, seams = 0, strays = 0, filled = 0;
    for (int r = 0; r < H; ++r)
      for (int x = 0; x < W; ++x) {
        const double d = outline.Inside(x + 0.5, r + 0.5);
        const bool black = Black(frame, x, r);
        if (d > 2 && black) {
          const double seam = EdgeDistance(edges, x + 0.5, r + 0.5);
          holes += seam > kSeamWidth;
          seams += seam <= kSeamWidth;
        }
        strays += d < -2 && !black;
        filled += !black;
      }
    EXPECT_EQ(holes, 0);
    EXPECT_LT(seams, 400);
    EXPECT_EQ(strays, 0);
    EXPECT_GT(filled, 1000);
    // The frame is the visible faces alone drawn in order over black.
    NoisePicture expected(W, H);
    std::fill_n(expected.Pixels(), expected.stride * H, 0);
    const Matrix4 view = TexViewMatrix(W, H, t);
    const Vec3 e = Eye(t);
    for (int f = 0; f < kTexFaceCount; ++f)
      if (FacesEye(f, e))
        DrawTexFace(canvas, view * faces[size_t(f)].matrix, faces[size_t(f)].width, faces[size_t(f)].height,
                    texture.Pixels(), expected.Pixels());
    EXPECT_EQ(frame.Rows(), expected.Rows());
  }
}

TEST(Qlo16Tex, TheFrontFaceAloneIsDrawnEvenTurnedAway) {
  const NoisePicture texture = Texture(W, H);
  const auto faces = TexFaces(W, H);
  TexCanvas canvas;
  PrepareTexCanvas(canvas, W, H, texture.stride);
  // The first frame that turns the front face away (the eye behind its
  // plane).
  int t = 0;
  while (FacesEye(kFront, Eye(t))) ++t;
  NoisePicture whole(W, H), front(W, H);
  TexFrame(canvas, faces, t, false, texture.Pixels(), whole.Pixels());
  TexFrame(canvas, faces, t, true, texture.Pixels(), front.Pixels());
  NoisePicture expected(W, H);
  std::fill_n(expected.Pixels(), expected.stride * H, 0);
  DrawTexFace(canvas, TexViewMatrix(W, H, t), W, H, texture.Pixels(), expected.Pixels());
  EXPECT_EQ(front.Rows(), expected.Rows());
  EXPECT_NE(front.Rows(), whole.Rows());
  int drawn = 0;
  for (int r = 0; r < H; ++r)
    for (int x = 0; x < W; ++x) drawn += !Black(front, x, r);
  EXPECT_GT(drawn, 1000) << "t " << t;
}

TEST(Qlo16Tex, AnEdgeOnOneRowRecordsBothEndsAndEdgesBeyondThePictureNone) {
  TexCanvas canvas;
  ASSERT_TRUE(PrepareTexCanvas(canvas, 40, 30, 120));
  // A face flattened onto one row: X = u, Y = y0 - 15, Z = 1, so every
  // edge lies on screen row y0 (two of them are single points).
  auto flatFace = [](double y) {
    Matrix4 m;
    m.m[1][1] = 0, m.m[1][3] = y - 15;
    m.m[2][2] = 0, m.m[2][3] = 1;
    return m;
  };
  TexFaceSpans(canvas, flatFace(7.5), 11, 5);
  for (int r = 0; r < 40; ++r) {
    EXPECT_EQ(canvas.rowMin[size_t(r)], r == 7 ? 20 : 32000) << r;
    EXPECT_EQ(canvas.rowMax[size_t(r)], r == 7 ? 30 : -32000) << r;
  }
  for (double y : {-0.5, 30.5}) {
    TexFaceSpans(canvas, flatFace(y), 11, 5);
    EXPECT_EQ(*std::min_element(canvas.rowMin.begin(), canvas.rowMin.end() - 1), 32000) << y;
  }
  // A row on the picture's last line plus one is kept in the tables (the
  // fill stops before it).
  TexFaceSpans(canvas, flatFace(30), 11, 5);
  EXPECT_EQ(canvas.rowMin[30], 20);
}

TEST(Qlo16Tex, TexelsOutsideThePictureLeaveBlackAndFacesBesideItAreClipped) {
  const NoisePicture texture = Texture(W, H);
  TexCanvas canvas;
  PrepareTexCanvas(canvas, W, H, texture.stride);
  // The front face at frame 0 as if its texture were twice as wide: its
  // right half maps to columns beyond the picture and the screen's edge.
  NoisePicture frame(W, H);
  std::fill_n(frame.Pixels(), frame.stride * H, 0);
  DrawTexFace(canvas, TexViewMatrix(W, H, 0), 2 * W, H, texture.Pixels(), frame.Pixels());
  ASSERT_TRUE(frame.GuardsIntact());
  // Texel column u is at screen column 320 + 640 (u - 320) / 1360.
  const int edge = int(320 + 640.0 * (W - 320) / 1360);  // 470
  for (int r = 170; r < 300; r += 7) {
    for (int x = 175; x < edge - 1; x += 5) ASSERT_FALSE(Black(frame, x, r)) << x << ", " << r;
    for (int x = edge + 2; x < W; x += 3) ASSERT_TRUE(Black(frame, x, r)) << x << ", " << r;
  }
}

// The texturing written out per pixel in 64 bits, from the kernel's spans
// and coefficients: the stepped 32-bit loop gives the same pixels.
TEST(Qlo16Tex, TheThirtyTwoBitLoopEqualsSixtyFourBitArithmetic) {
  const NoisePicture texture = Texture(W, H);
  const auto faces = TexFaces(W, H);
  TexCanvas canvas;
  PrepareTexCanvas(canvas, W, H, texture.stride);
  int64_t largest = 0;
  for (int t = 0; t < kTexFrameCycle; t += 1999) {
    for (int f = 0; f < kTexFaceCount; ++f) {
      const Matrix4 m = TexViewMatrix(W, H, t) * faces[size_t(f)].matrix;
      NoisePicture drawn(W, H), plain(W, H);
      std::fill_n(drawn.Pixels(), drawn.stride * H, 0);
      std::fill_n(plain.Pixels(), plain.stride * H, 0);
      DrawTexFace(canvas, m, faces[size_t(f)].width, faces[size_t(f)].height, texture.Pixels(), drawn.Pixels());
      const TexCoefficients k = TexMapping(m);
      for (int r = 0; r < H; ++r) {
        const int x0 = std::max(canvas.rowMin[size_t(r)], 0), x1 = std::min(canvas.rowMax[size_t(r)], W - 1);
        for (int x = x0; x <= x1; ++x) {
          const int64_t dx = x0 - W / 2, dy = r - H / 2, n = x - x0;
          const int64_t D = ((k.d[0] * dx + k.d[1] * dy + k.d[2]) | 1) + n * (k.d[0] & ~int64_t(1));
          const int64_t row = (k.i[0] * (dx + n) + k.i[1] * dy + k.i[2]) / D;
          const int64_t col = (k.j[0] * (dx + n) + k.j[1] * dy + k.j[2]) / D;
          largest = std::max({largest, std::abs(D), std::abs(k.i[0] * (dx + n) + k.i[1] * dy + k.i[2]),
                              std::abs(k.j[0] * (dx + n) + k.j[1] * dy + k.j[2])});
          if (row < 0 || row >= H || col < 0 || col >= W) continue;
          std::copy_n(texture.At(int(col), H - 1 - int(row)), 3, plain.Pixels() + (H - 1 - r) * plain.stride + 3 * x);
        }
      }
      ASSERT_EQ(drawn.Rows(), plain.Rows()) << "t " << t << " face " << f;
    }
  }
  // Some numerators leave the 32-bit range: the rows that reach them take
  // the 64-bit loop.
  EXPECT_GT(largest, int64_t(1) << 31);
}

TEST(Qlo16Tex, SmallPicturesAreWrittenOnlyInside) {
  for (const auto& [w, h] : {std::pair{1, 1}, {2, 1}, {1, 3}, {3, 3}, {4, 2}, {17, 5}}) {
    const NoisePicture texture = Texture(w, h);
    NoisePicture frame(w, h);
    TexCanvas canvas;
    ASSERT_TRUE(PrepareTexCanvas(canvas, w, h, texture.stride));
    const auto faces = TexFaces(w, h);
    for (int t = 0; t < 400; t += 9)
      for (bool front : {false, true}) TexFrame(canvas, faces, t, front, texture.Pixels(), frame.Pixels());
    ASSERT_TRUE(frame.GuardsIntact()) << w << " x " << h;
  }
  TexCanvas canvas;
  EXPECT_FALSE(PrepareTexCanvas(canvas, 0, 4, 12));
  EXPECT_FALSE(PrepareTexCanvas(canvas, 4, 4, 11)) << "a row shorter than its pixels";
  EXPECT_FALSE(PrepareTexCanvas(canvas, kTexMaxSide + 1, 2, int64_t(kTexMaxSide + 1) * 3 + 1));
}

}  // namespace
