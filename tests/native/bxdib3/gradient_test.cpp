// Gradient objects: look-ups, editing, refusal of malformed blocks and the
// default table resource.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>

#include "gradient.h"

namespace quillo::gradient {
namespace {

std::vector<uint8_t> TwoEntries() {
  Gradient g;
  g.entries = {MakeEntry("Grey", {{0, 0, 0, 0}, {255, 255, 255, 255}}),
               MakeEntry("Three", {{0, 0, 0, 200}, {64, 100, 0, 0}, {64, 0, 250, 0}, {192, 10, 20, 30}})};
  g.selected = 1;
  return Serialize(g);
}

std::array<uint8_t, 3> At(const std::vector<uint8_t>& g, int64_t position, int64_t range) {
  std::array<uint8_t, 3> c{};
  EXPECT_TRUE(SelectedColour(g.data(), g.size(), position, range, c.data()));
  return c;
}

TEST(Gradient, LookupEndsAndMiddles) {
  auto g = TwoEntries();
  using C = std::array<uint8_t, 3>;
  EXPECT_EQ(At(g, 0, 100), (C{0, 0, 200}));
  EXPECT_EQ(At(g, -5, 100), (C{0, 0, 200}));
  EXPECT_EQ(At(g, 100, 100), (C{10, 20, 30}));      // past the last stop: its colour
  EXPECT_EQ(At(g, 1000, 100), (C{10, 20, 30}));
  EXPECT_EQ(At(g, 32, 255), (C{50, 0, 100}));       // half way between stops 0 and 1
  EXPECT_EQ(At(g, 64, 255), (C{100, 0, 0}));        // at a doubled stop: the left colour
  EXPECT_EQ(At(g, 65, 255), (C{0, 248, 0}));        // just past it: from the right one
  EXPECT_EQ(At(g, 128, 255), (C{5, 135, 15}));      // half way 64..192
  EXPECT_EQ(At(g, 5, 0), (C{0, 0, 200}));           // no range: the start

  reinterpret_cast<GradientHeader*>(g.data())->selected = 0;
  EXPECT_EQ(At(g, 1, 2), (C{128, 128, 128}));
  EXPECT_EQ(At(g, 1, 3), (C{85, 85, 85}));
  EXPECT_EQ(At(g, 0x7FFFFFFF, 0x7FFFFFFF), (C{255, 255, 255}));
}

TEST(Gradient, MalformedBlocksAreRefused) {
  const auto good = TwoEntries();
  ASSERT_TRUE(IsSoundGradient(good.data(), good.size()));
  struct Case {
    const char* what;
    std::function<void(std::vector<uint8_t>&)> spoil;
  } cases[] = {
      {"truncated", [](auto& g) { g.pop_back(); }},
      {"header only", [](auto& g) { g.resize(40); }},
      {"magic", [](auto& g) { g[0] = 'X'; }},
      {"version", [](auto& g) { g[4] = 2; }},
      {"count zero", [](auto& g) { reinterpret_cast<GradientHeader*>(g.data())->count = 0; }},
      {"count beyond block", [](auto& g) { reinterpret_cast<GradientHeader*>(g.data())->count = 3; }},
      {"count huge", [](auto& g) { reinterpret_cast<GradientHeader*>(g.data())->count = 0xFFFFFFFFu; }},
      {"selected beyond count", [](auto& g) { reinterpret_cast<GradientHeader*>(g.data())->selected = 2; }},
      {"one stop", [](auto& g) { reinterpret_cast<GradientEntry*>(g.data() + 136)->stopCount = 1; }},
      {"too many stops", [](auto& g) { reinterpret_cast<GradientEntry*>(g.data() + 136)->stopCount = 15; }},
      {"stops out of order", [](auto& g) { reinterpret_cast<GradientEntry*>(g.data() + 136)->stops[1].position = 250; }},
      {"name not terminated", [](auto& g) { std::memset(g.data() + 40, 'A', 32); }},
  };
  for (const auto& c : cases) {
    auto g = good;
    c.spoil(g);
    uint8_t colour[3];
    EXPECT_FALSE(SelectedColour(g.data(), g.size(), 1, 2, colour)) << c.what;
  }
  EXPECT_EQ(ClaimedSize(good.data()), good.size());
  EXPECT_FALSE(IsSoundGradient(nullptr, 1000));
}

TEST(Gradient, ReverseMirrorsStops) {
  GradientEntry e = MakeEntry("x", {{0, 1, 2, 3}, {100, 4, 5, 6}, {255, 7, 8, 9}});
  ReverseEntry(&e);
  EXPECT_EQ(e.stops[0].position, 0);
  EXPECT_EQ(e.stops[0].blue, 7);
  EXPECT_EQ(e.stops[1].position, 155);
  EXPECT_EQ(e.stops[2].blue, 1);
  for (int64_t p = 0; p <= 40; ++p) {
    uint8_t a[3], b[3];
    GradientEntry original = MakeEntry("x", {{0, 1, 2, 3}, {100, 4, 5, 6}, {255, 7, 8, 9}});
    EntryColour(original, p, 40, a);
    EntryColour(e, 40 - p, 40, b);
    // The reversed gradient read backwards is the original, within rounding
    // of the fixed-point position.
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(a[c], b[c], 1) << p;
  }
}

TEST(Gradient, DefaultTableAndItsResourceAgree) {
  const auto bytes = Serialize(DefaultGradient());
  ASSERT_TRUE(IsSoundGradient(bytes.data(), bytes.size()));
  Gradient parsed;
  ASSERT_TRUE(Parse(bytes.data(), bytes.size(), &parsed));
  EXPECT_GE(parsed.entries.size(), 5u);
  EXPECT_STREQ(parsed.entries[0].name, "Rainbow");
  uint32_t count;
  std::memcpy(&count, bytes.data() + 36, 4);
  EXPECT_EQ(bytes.size(), 40u + 96u * count);

  std::ifstream file(QUILLO_SOURCE_DIR "/resources/gradient/default_gradient.rc");
  ASSERT_TRUE(file) << "resources/gradient/default_gradient.rc";
  std::stringstream text;
  text << file.rdbuf();
  const std::string s = text.str();
  ASSERT_NE(s.find("Default GRADIENT"), std::string::npos);
  std::vector<uint8_t> words;
  for (size_t at = s.find('{'); (at = s.find("0x", at)) != std::string::npos; at += 2) {
    const unsigned w = unsigned(std::stoul(s.substr(at + 2, 4), nullptr, 16));
    words.push_back(uint8_t(w));
    words.push_back(uint8_t(w >> 8));
  }
  EXPECT_EQ(words, bytes) << "regenerate with make_default_gradient";
}

}  // namespace
}  // namespace quillo::gradient
