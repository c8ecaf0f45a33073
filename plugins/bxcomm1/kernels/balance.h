// Colour balance: each byte runs through three stages driven by its slider
// value v (-100..100), each stage x = clamp(trunc(S[x] * v + x)).
//
// Stage curves (doubles, built once):
//   rising  A[i] = 1.075 - 1 / (i / 16 + 1)   (i / 16 a real quotient)
//   falling F[i] = A[255 - i]
//   bell    M[i] = 0.667 * (1 - ((i - 127) / 127)^2)
// Stage 1 uses M when v > 0, else F; stage 2 uses M; stage 3 uses A when
// v > 0, else M. The tonal-range selector is kept for the dialog only.
//
// Preserve lightness converts the source and the adjusted pixel to integer
// hue/lightness/saturation (byte 0 as the first component), gives the
// adjusted pixel the source's lightness and converts back.
#pragma once
#include <array>
#include <cstdint>
#include <memory>

#include "channel_tables.h"
#include "imaging/basics/pixel_pass.h"

namespace quillo {

struct BalanceSettings {
  double value[3] = {0, 0, 0};  // sliders of byte 0 (blue), 1 (green), 2 (red)
  int tonalRange = 0;           // 0, 1, 2: shown by the dialog, no effect on pixels
  bool preserveLightness = false;
};

struct BalanceCurves {
  std::array<double, 256> rising, falling, bell;
};
// Built on first use and shared.
const BalanceCurves& GetBalanceCurves();

// The three stages for one byte value and slider value.
uint8_t BalanceByte(int x, double v);

// Integer hue/lightness/saturation, all 0..255 (c0 = byte 0, c2 = byte 2).
struct IntHls {
  int h, l, s;
};
IntHls IntToHls(int c0, int c1, int c2);
void IntFromHls(IntHls hls, uint8_t out[3]);

class BalanceKernel {
 public:
  BalanceKernel();
  ~BalanceKernel();

  // Builds the per-channel tables; slider values are clamped to -100..100
  // (a value that is not a number counts as 0).
  void Prepare(const BalanceSettings& settings);
  // Not const: the preserve-lightness path fills a result cache.
  void Run(const PixelPass& pass, int rowBegin, int rowEnd);

  const ChannelTables& Tables() const { return tables_; }

 private:
  struct CacheEntry {
    uint32_t key;  // source pixel b | g << 8 | r << 16, or kEmpty
    uint8_t out[3];
  };
  static constexpr uint32_t kEmpty = 0xFFFFFFFFu;
  static constexpr int kCacheBits = 16;

  ChannelTables tables_{{IdentityTable(), IdentityTable(), IdentityTable()}};
  ChannelTableRunner runner_;
  bool preserveLightness_ = false;
  std::unique_ptr<CacheEntry[]> cache_;
};

}  // namespace quillo
