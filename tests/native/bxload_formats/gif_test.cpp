// GIF writing through our LZW encoder, read back through the animation
// loader's decoder; the first-image reader's checks.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "formats_helpers.h"
#include "gifanim/gif_decode.h"
#include "outside/bxload/gif_codec.h"
#include "tests/native/gifanim/peak_memory.h"

namespace quillo::bxload {
namespace {

using V = std::vector<uint8_t>;

V Decode(const V& codes, int minCodeSize, size_t count, gifanim::GifStatus* status = nullptr) {
  V pixels(count, 0xEE);
  size_t decoded = 0, stored = 0;
  const gifanim::LzwShape row{int(count), 1, false, int(count), 1};
  const gifanim::GifStatus st =
      gifanim::DecodeLzw(minCodeSize, codes.data(), codes.size(), row, pixels.data(), count, decoded, stored);
  if (status) *status = st;
  EXPECT_EQ(decoded, count);
  return pixels;
}

TEST(GifLzw, StreamsDecodeToTheSameIndices) {
  std::mt19937 random(7);
  for (int minCodeSize : {2, 4, 8}) {
    const int colours = 1 << minCodeSize;
    // Noise fills the table fast (many clear codes); a single colour builds
    // the longest strings; short inputs end right at a code-width change.
    V noise(300000), flat(70000, uint8_t(colours - 1)), ramp;
    for (uint8_t& v : noise) v = uint8_t(random() % colours);
    for (int i = 0; i < 5000; ++i) ramp.push_back(uint8_t((i / 3) % colours));
    for (const V* input : {&noise, &flat, &ramp}) {
      gifanim::GifStatus status;
      EXPECT_EQ(Decode(EncodeLzw(input->data(), input->size(), minCodeSize), minCodeSize, input->size(), &status), *input);
      EXPECT_EQ(status, gifanim::GifStatus::kOk);
    }
    for (size_t n = 0; n < 600; ++n) {
      const V part(ramp.begin(), ramp.begin() + long(n));
      const V codes = EncodeLzw(part.data(), n, minCodeSize);
      ASSERT_EQ(Decode(codes, minCodeSize, n), part) << "length " << n << " code size " << minCodeSize;
    }
  }
}

TEST(GifLzw, EndCodeIsTheLastCodeOfTheStream) {
  // Two pixels at code size 2: clear (4), 1, 1, end (5) in 3-bit codes.
  const uint8_t two[] = {1, 1};
  const V codes = EncodeLzw(two, 2, 2);
  EXPECT_EQ(codes, (V{uint8_t(4 | 1 << 3 | 1 << 6), uint8_t(5 << 1)}));
}

TEST(Gif, WritableDepthsRoundTripExactly) {
  for (int bits : {1, 4, 8})
    for (int width : {1, 13, 320}) {
      const V dib = test::Patterned(width, 9, bits);
      EXPECT_EQ(test::RoundTrip(dib, WriteGif, ReadGif), dib) << bits << " bits, width " << width;
    }
  std::string error;
  EXPECT_TRUE(WriteGif(test::View(test::Patterned(4, 4, 24)), error).empty());
  EXPECT_FALSE(error.empty());
}

// A one-image GIF: screen w x h, a global table of `entries`, one image with
// the given LZW data.
V MakeGif(int screenW, int screenH, int entries, int left, int top, int w, int h, int minCodeSize, const V& pixels) {
  int sizeBits = 0;
  while ((2 << sizeBits) < entries) ++sizeBits;
  V f{'G', 'I', 'F', '8', '7', 'a', uint8_t(screenW), uint8_t(screenW >> 8), uint8_t(screenH), uint8_t(screenH >> 8),
      uint8_t(0x80 | sizeBits), 0, 0};
  for (int i = 0; i < (2 << sizeBits); ++i) f.insert(f.end(), {uint8_t(i * 40), uint8_t(i), uint8_t(255 - i)});
  f.insert(f.end(), {0x2C, uint8_t(left), 0, uint8_t(top), 0, uint8_t(w), 0, uint8_t(h), 0, 0, uint8_t(minCodeSize)});
  const V codes = EncodeLzw(pixels.data(), pixels.size(), minCodeSize);
  for (size_t i = 0; i < codes.size(); i += 255) {
    const size_t n = std::min<size_t>(255, codes.size() - i);
    f.push_back(uint8_t(n));
    f.insert(f.end(), codes.begin() + long(i), codes.begin() + long(i + n));
  }
  f.insert(f.end(), {0, 0x3B});
  return f;
}

TEST(Gif, FirstImageIsPlacedOnItsScreen) {
  const V file = MakeGif(4, 3, 4, 1, 1, 2, 2, 2, {1, 2, 3, 1});
  const GifPicture picture = ReadGif(file.data(), file.size());
  ASSERT_TRUE(picture.error.empty()) << picture.error;
  EXPECT_EQ(test::BitsOf(picture.dib), 4);
  const DibView view = test::View(picture.dib);
  EXPECT_EQ(IndexAt(view.Row(0), 1, 4), 0);
  EXPECT_EQ(IndexAt(view.Row(1), 1, 4), 1);
  EXPECT_EQ(IndexAt(view.Row(1), 2, 4), 2);
  EXPECT_EQ(IndexAt(view.Row(2), 1, 4), 3);
  EXPECT_EQ(IndexAt(view.Row(2), 3, 4), 0);
}

TEST(Gif, OnlyTheFirstImageIsRead) {
  // After the first image: a second one whose codes are garbage, then no trailer.
  V file = MakeGif(2, 1, 4, 0, 0, 2, 1, 2, {3, 1});
  file.pop_back();
  file.insert(file.end(), {0x2C, 0, 0, 0, 0, 2, 0, 1, 0, 0, 2, 2, 0xFF, 0xFF, 0});
  const GifPicture picture = ReadGif(file.data(), file.size());
  ASSERT_TRUE(picture.error.empty()) << picture.error;
  EXPECT_EQ(IndexAt(test::View(picture.dib).Row(0), 0, 4), 3);
  EXPECT_EQ(IndexAt(test::View(picture.dib).Row(0), 1, 4), 1);
}

TEST(Gif, AScreenOfNoSizeTakesTheImagesExtent) {
  const V file = MakeGif(0, 0, 4, 1, 0, 2, 3, 2, {1, 2, 3, 1, 2, 3});
  const GifPicture picture = ReadGif(file.data(), file.size());
  ASSERT_TRUE(picture.error.empty()) << picture.error;
  const DibView view = test::View(picture.dib);
  ASSERT_EQ(view.width, 3);
  ASSERT_EQ(view.height, 3);
  EXPECT_EQ(IndexAt(view.Row(0), 0, 4), 0);
  EXPECT_EQ(IndexAt(view.Row(0), 1, 4), 1);
  EXPECT_EQ(IndexAt(view.Row(1), 2, 4), 1);
  EXPECT_EQ(IndexAt(view.Row(2), 2, 4), 3);
}

TEST(Gif, AHugeImageOnATinyScreenCostsOnlyTheScreen) {
  // 76 bytes: four 65535 x 4095 images on a 1 x 1 screen, only clear and end codes.
  std::ifstream in(std::string(QUILLO_SOURCE_DIR) + "/fuzz/gif_first_image/seeds/huge_images_tiny_screen.gif",
                   std::ios::binary);
  const V file{std::istreambuf_iterator<char>(in), {}};
  ASSERT_EQ(file.size(), 76u);
  test_memory::ResetPeak();
  const GifPicture picture = ReadGif(file.data(), file.size());
  EXPECT_LT(test_memory::Peak(), size_t(256) << 10);
  ASSERT_TRUE(picture.error.empty()) << picture.error;
  EXPECT_EQ(test::View(picture.dib).width, 1);
  EXPECT_EQ(IndexAt(test::View(picture.dib).Row(0), 0, 1), 0);
}

TEST(Gif, DamagedFilesAreRefusedWithAReason) {
  const V good = MakeGif(2, 2, 4, 0, 0, 2, 2, 2, {0, 1, 2, 3});
  ASSERT_TRUE(ReadGif(good.data(), good.size()).error.empty());
  const V cases[] = {
      V(good.begin(), good.end() - 3),                           // cut in the image's codes
      V(good.begin(), good.begin() + 20),                        // cut in the colour table
      MakeGif(2, 2, 2, 0, 0, 2, 2, 2, {0, 1, 3, 1}),             // index 3 beyond a 2-entry table
      MakeGif(2, 2, 4, 0, 0, 2, 2, 2, {0, 1, 2, 3, 0, 0}),       // more pixels than the image
      MakeGif(0xFFFF, 0xFFFF, 4, 0, 0, 2, 2, 2, {0, 1, 2, 3}),   // lying screen size
      V{'G', 'I', 'F', '8', '9', 'A', 1, 0, 1, 0, 0, 0, 0, 0x3B}, // wrong version case
  };
  for (const V& file : cases) {
    const GifPicture picture = ReadGif(file.data(), file.size());
    EXPECT_TRUE(picture.dib.empty());
    EXPECT_FALSE(picture.error.empty());
  }
}

}  // namespace
}  // namespace quillo::bxload
