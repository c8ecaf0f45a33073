// Every colour kernel writes only the pass rectangle, in any row chunking,
// in place as well as into a separate target, and skips unusable geometry.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "balance.h"
#include "brightness_contrast.h"
#include "channel_tables.h"
#include "colour_test_support.h"
#include "gamma.h"
#include "modulate.h"

namespace quillo {
namespace {

using RunFn = std::function<void(const PixelPass&, int, int)>;

struct KernelCase {
  std::string name;
  std::function<RunFn()> make;  // a prepared kernel with settings that change most pixels
};

std::vector<KernelCase> Kernels() {
  return {
      {"balance",
       [] {
         auto k = std::make_shared<BalanceKernel>();
         BalanceSettings s;
         s.value[0] = 60, s.value[1] = -30, s.value[2] = 90;
         k->Prepare(s);
         return RunFn([k](const PixelPass& p, int a, int b) { k->Run(p, a, b); });
       }},
      {"balance-preserve",
       [] {
         auto k = std::make_shared<BalanceKernel>();
         BalanceSettings s;
         s.value[0] = -60, s.value[1] = 30, s.value[2] = 90;
         s.preserveLightness = true;
         k->Prepare(s);
         return RunFn([k](const PixelPass& p, int a, int b) { k->Run(p, a, b); });
       }},
      {"brightness-contrast",
       [] {
         auto k = std::make_shared<BrightnessContrastKernel>();
         k->Prepare({70, 40, true, true, true});
         return RunFn([k](const PixelPass& p, int a, int b) { k->Run(p, a, b); });
       }},
      {"modulate",
       [] {
         auto k = std::make_shared<ModulateKernel>();
         k->Prepare({90, 50, -20});
         return RunFn([k](const PixelPass& p, int a, int b) { k->Run(p, a, b); });
       }},
      {"gamma",
       [] {
         auto k = std::make_shared<GammaKernel>();
         GammaSettings s;
         s.master = 300;
         k->Prepare(s);
         return RunFn([k](const PixelPass& p, int a, int b) { k->Run(p, a, b); });
       }},
  };
}

constexpr uint8_t kSentinel = 0xA5;

TEST(PassGeometry, OnlyThePassRectangleChangesInAnyChunking) {
  for (const KernelCase& kc : Kernels()) {
    SCOPED_TRACE(kc.name);
    // 23 pixels: rows carry one padding byte.
    test::TestPicture whole(23, 40);
    test::FillNoise(whole, 3);
    kc.make()(whole.FullPass(), 0, whole.height);

    test::TestPicture pic = whole;
    std::fill(pic.target.begin(), pic.target.end(), kSentinel);
    PixelPass pass = pic.FullPass();
    pass.colBegin = 3, pass.colEnd = 17, pass.rowBegin = 5, pass.rowEnd = 37;
    const RunFn run = kc.make();
    // The framework's 16-row steps, plus requests reaching past the pass.
    run(pass, -10, 16);
    run(pass, 16, 32);
    run(pass, 32, 1000);

    for (int row = 0; row < pic.height; ++row) {
      for (int byte = 0; byte < pic.stride; ++byte) {
        const int x = byte / 3;
        const bool inside = row >= 5 && row < 37 && x >= 3 && x < 17 && x < pic.width;
        const uint8_t got = pic.target[size_t(row) * pic.stride + byte];
        const uint8_t want = inside ? whole.target[size_t(row) * pic.stride + byte] : kSentinel;
        ASSERT_EQ(got, want) << "row " << row << " byte " << byte;
      }
    }
  }
}

TEST(PassGeometry, InPlaceGivesTheSameResult) {
  for (const KernelCase& kc : Kernels()) {
    SCOPED_TRACE(kc.name);
    test::TestPicture pic(50, 20);
    test::FillNoise(pic, 11);
    kc.make()(pic.FullPass(), 0, pic.height);
    std::vector<uint8_t> inPlace = pic.source;
    PixelPass pass = pic.FullPass();
    pass.source = inPlace.data();
    pass.target = inPlace.data();
    kc.make()(pass, 0, pic.height);
    // Row padding is not part of any pixel: compare pixels only.
    for (int row = 0; row < pic.height; ++row)
      for (int b = 0; b < pic.width * 3; ++b)
        ASSERT_EQ(inPlace[size_t(row) * pic.stride + b], pic.target[size_t(row) * pic.stride + b]);
  }
}

TEST(PassGeometry, UnusableGeometryWritesNothing) {
  struct Bad {
    const char* what;
    std::function<void(PixelPass&)> spoil;
  } bads[] = {
      {"no source", [](PixelPass& p) { p.source = nullptr; }},
      {"no target", [](PixelPass& p) { p.target = nullptr; }},
      {"stride below width", [](PixelPass& p) { p.stride = p.width * 3 - 1; }},
      {"negative stride", [](PixelPass& p) { p.stride = -p.stride; }},
      {"zero width", [](PixelPass& p) { p.width = 0; }},
      {"empty columns", [](PixelPass& p) { p.colBegin = 5, p.colEnd = 5; }},
      {"reversed rows", [](PixelPass& p) { p.rowBegin = 6, p.rowEnd = 2; }},
  };
  for (const KernelCase& kc : Kernels()) {
    for (const Bad& bad : bads) {
      SCOPED_TRACE(kc.name + " / " + bad.what);
      test::TestPicture pic(9, 8);
      test::FillNoise(pic, 1);
      std::fill(pic.target.begin(), pic.target.end(), kSentinel);
      PixelPass pass = pic.FullPass();
      bad.spoil(pass);
      kc.make()(pass, 0, 8);
      for (uint8_t b : pic.target) ASSERT_EQ(b, kSentinel);
    }
    // Columns and rows beyond the picture are clipped to it.
    test::TestPicture pic(9, 8);
    test::FillNoise(pic, 2);
    PixelPass pass = pic.FullPass();
    pass.colBegin = -4, pass.colEnd = 40, pass.rowBegin = -3, pass.rowEnd = 99;
    test::TestPicture want = pic;
    kc.make()(want.FullPass(), 0, 8);
    kc.make()(pass, -100, 100);
    EXPECT_EQ(pic.target, want.target) << kc.name;
  }
}

TEST(PassGeometry, PairedTableLookupMatchesByteLookup) {
  // Random tables, distinct or shared, on every row length from 1 to 13
  // pixels so each tail of the four- and two-pixel steps is met.
  for (bool shared : {false, true}) {
    ChannelTables tables;
    uint32_t seed = shared ? 77 : 78;
    for (auto& t : tables.byChannel)
      for (auto& b : t) b = uint8_t((seed = seed * 214013u + 2531011u) >> 16);
    if (shared) tables.byChannel[1] = tables.byChannel[2] = tables.byChannel[0];
    ChannelTableRunner runner;
    runner.Prepare(tables);
    for (int width = 1; width <= 13; ++width) {
      test::TestPicture pic(width, 3);
      test::FillNoise(pic, uint32_t(width));
      test::TestPicture want = pic;
      ApplyChannelTables(tables, want.FullPass(), 0, 3);
      runner.Run(pic.FullPass(), 0, 3);
      EXPECT_EQ(pic.target, want.target) << "width " << width << (shared ? " shared" : "");
    }
  }
}

}  // namespace
}  // namespace quillo
