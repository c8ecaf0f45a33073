// What the star and storm run tests share: the test picture, the sprite
// count slider's position, and the item queries and saver ticks neither
// effect answers.
#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

#include "contracts/ui_controls.h"
#include "tests/win/qlo12/animation_steps.h"

namespace quillo::test::qlo17_runs {

constexpr int kW = 96, kH = 72;
constexpr int64_t kStride = (kW * 24 + 31) / 32 * 4;

inline std::vector<uint8_t> Original(int w = kW, int h = kH) { return TestPicturePixels(w, h); }


// The answers to the package item queries and a saver tick (all 0 when the
// dialog leaves them to the default handling).
struct Unanswered {
  LRESULT query = -1, item = -1, tick = -1;
  UINT_PTR supported = 99, kind = 99;
};
inline Unanswered AskWhatIsNotAnswered(EffectRun& run) {
  PackageItemQuery query = {}, item = {};
  Unanswered u;
  u.query = SendMessageA(run.dialog, EM_PACKAGE_QUERY, 0, LPARAM(query));
  u.item = SendMessageA(run.dialog, EM_PACKAGE_ITEM, 0, LPARAM(item));
  u.tick = SendMessageA(run.dialog, EM_SAVER_TICK, 0, 20);
  u.supported = query[kQuerySupported];
  u.kind = item[kQueryItemKind];
  return u;
}

inline void ExpectUnanswered(const Unanswered& u) {
  EXPECT_EQ(u.query, 0);
  EXPECT_EQ(u.item, 0);
  EXPECT_EQ(u.tick, 0);
  EXPECT_EQ(u.supported, 0u);
  EXPECT_EQ(u.kind, 0u);
}

}  // namespace quillo::test::qlo17_runs
