// One frame of Water and of Blob, the two ripple tanks of Qlo12:
// the disturbances of the frame are added to the current height field, the
// field is drawn over the picture, and the wave moves one step on.
//
// The states are plain records that the dialogs change between frames; the
// kernels read them at the start of each step. Random numbers come from the
// generator handed in, drawn in the order the steps name them, so a frame
// is fixed by the state, the pictures and the generator's state.
#pragma once
#include <cstdint>

#include "imaging/basics/runtime_random.h"
#include "plugins/qlo12/kernels/water_field.h"

namespace quillo::qlo12 {

// Water's flag bits.
constexpr int kWaterSurferFlag = 0x1;       // a wandering surfer ploughs the water
constexpr int kWaterRainFlag = 0x2;         // one rain drop a frame
constexpr int kWaterRandomDropsFlag = 0x4;  // now and then a drop at a random point
constexpr int kWaterSwirlFlag = 0x8;        // a drop circling the middle (surfer held still)
constexpr int kWaterFlatDropsFlag = 0x4000; // discs and pixel stamps, not smooth bumps

// Water's settings when no saved block supplies them.
constexpr int kWaterDefaultDamping = 5;
constexpr int kWaterDefaultStrength = 400;
constexpr int kWaterDefaultRadius = 30;
constexpr int kWaterDefaultFlags = kWaterSurferFlag | kWaterRainFlag | kWaterFlatDropsFlag;
constexpr int kWaterDefaultLight = 3;

// The surfer's previous point when a run starts.
constexpr int kWaterSurferStartX = 80, kWaterSurferStartY = 60;

// A mouse press waiting for the next frame.
enum WaterPendingDrop { kNoPendingDrop = 0, kLeftButtonDrop = 1, kRightButtonDrop = 2 };

struct WaterState {
  int dampingShift = kWaterDefaultDamping;
  int strength = kWaterDefaultStrength;  // may be negative (the splash preset's -1400)
  int radius = kWaterDefaultRadius;
  int p1 = 0, p2 = 0;  // surfer phases
  int flags = kWaterDefaultFlags;
  int light = kWaterDefaultLight;  // 0: no lighting
  int swirlAngle = 0;              // a, in table steps, kept reduced modulo 2048
  int surferX = kWaterSurferStartX, surferY = kWaterSurferStartY;  // previous surfer point
  int pendingDrop = kNoPendingDrop;
  int mouseX = 0, mouseY = 0;  // picture column and memory row of the last press or move
  WaterHeights current;        // F: this frame's field
  WaterHeights other;          // G: the previous frame's field
};

// True when a width x height picture gives every modulus of the frame a
// positive divisor: the rain's W - 2 and H - 2 need both sides at least 3.
// The shell refuses other pictures; the kernels stay safe on them anyway
// (they take their draws and change nothing outside the fields' interior).
bool WaterSizeWorkable(int width, int height);

// Starts a Water run over a width x height picture: both fields allocated
// and cleared, p1 = rand mod 2048, p2 = rand mod 2048, a = rand mod 2048
// (three draws in this order), the previous surfer point (80, 60), no
// pending drop. False, with both fields empty, when a size is not positive
// or memory runs out. A saved block's values are applied afterwards.
bool StartWater(WaterState& state, int width, int height, RuntimeRandom& random);

// One Water frame into `image` (24-bit, the fields' size, rows of `stride`
// bytes, memory row 0 first) from `backup` (same geometry). With F the
// current field, W x H the picture and S, K the tables of water_tables.h:
//  2. A pending drop at the mouse point, then cleared: left button, a disc
//     of radius 2 adding +strength (flat drops) or a smooth drop of the drop
//     radius and height -strength; right button, a disc of radius radius / 2
//     adding +strength or a smooth drop of height +strength.
//  3. Swirl on: p1 = p2 = 0.
//  4. Surfer on: x = ((S[p1 x 349 >> 8] >> 8) x (S[p1 x 65 >> 8] >> 8) x
//     ((W - 8) / 2) >> 16) + W / 2, y likewise with p2 x 377, p2 x 84 and H;
//     p1 += 13, p2 += 12 (32-bit wrap-around). Flat drops: at the midpoint m
//     of the previous and the new point (halves of the sums) F[m] =
//     strength and its four neighbours strength >> 1, F[new] = 2 x strength
//     and its four neighbours strength (16-bit stores; cells on the frame or
//     outside are skipped). Else smooth drops of radius 3, height -1200 at m
//     and radius 4, height -2000 at the new point. The new point is kept.
//  5. Rain on: column = rand mod (W - 2), row = rand mod (H - 2) + 1, value =
//     rand mod (4 x strength), in this order; F[row][column + 1] = value.
//  6. Random drops on, and rand mod 20 = 0: at a random point a disc of
//     radius radius / 2 adding +strength, or a smooth drop of the drop
//     radius and height -6 x strength.
//  7. Swirl on: at ((K[a] x 25 >> 16) + W / 2, (S[a] x 25 >> 16) + H / 2) a
//     disc of radius radius / 3 adding +strength, or a cone of the drop
//     radius and height strength; a += 50.
//  8. F drawn into the image (RenderField, lit when light > 0).
//  9. F and G swap; F = PropagateField(G) with the damping shift.
// Heights beyond 32 bits (six times a strength near the int limit)
// saturate. Nothing happens when the fields are empty or of unequal sizes.
void WaterFrame(WaterState& state, const uint8_t* backup, uint8_t* image, int64_t stride,
                RuntimeRandom& random);

// Blob's settings: the record's start values, and the sliders' positions
// for the strength (60 x 100) and the attempts.
constexpr int kBlobDefaultDamping = 4;
constexpr int kBlobDefaultStrength = 6000;
constexpr int kBlobDefaultRadius = 80;
constexpr int kBlobDefaultLight = 2;
constexpr int kBlobDefaultAttempts = 8;
constexpr int kBlobMaxAttempts = 60;

struct BlobState {
  int dampingShift = kBlobDefaultDamping;
  int strength = kBlobDefaultStrength;  // S
  int radius = kBlobDefaultRadius;      // R, the largest blob radius
  int light = kBlobDefaultLight;
  int attempts = kBlobDefaultAttempts;  // blob chances a frame, at most 60 count
  BlobHeights current;
  BlobHeights other;
};

// Starts a Blob run: both fields allocated and cleared. False, with both
// fields empty, when a size is not positive or memory runs out.
bool StartBlob(BlobState& state, int width, int height);

// One Blob frame: for each of min(attempts, 60) attempts a draw r, and when
// r mod 10 = 0 a smooth drop at a random point with radius rand mod ((R + 1)
// / 2) + (R + 1) / 2, then height rand mod ((S + 1) / 2) + (S + 1) / 2 (the
// draws in this order, the centre's two after them). Then the current
// field is drawn as Water's, the other field computed from it by
// PropagateField, and the roles swap.
void BlobFrame(BlobState& state, const uint8_t* backup, uint8_t* image, int64_t stride,
               RuntimeRandom& random);

}  // namespace quillo::qlo12
