// The "BEXA_RGBA" block, masks that follow the transforms, and lightness grey.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "clipboard_block.h"
#include "contracts/dib_format.h"
#include "mask_transform.h"

namespace quillo {
namespace {

// A 24-bit bottom-up picture whose pixel (x, y from the top) is (x, y, 7) and a
// mask whose byte is 10 * y + x.
struct Picture {
  int width, height;
  std::vector<uint8_t> pixels, mask;
  Picture(int w, int h) : width(w), height(h), pixels(size_t(Stride24(w)) * h), mask(size_t(w) * h) {
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        uint8_t* p = At(x, y);
        p[0] = uint8_t(x);
        p[1] = uint8_t(y);
        p[2] = 7;
        mask[size_t(y) * w + x] = uint8_t(10 * y + x);
      }
  }
  uint8_t* At(int x, int y) { return pixels.data() + size_t(height - 1 - y) * Stride24(width) + 3 * x; }
};

std::vector<uint8_t> Header(const char tag[4], int32_t w, int32_t h, size_t total) {
  std::vector<uint8_t> block(total < 12 ? 12 : total, 0);
  std::memcpy(block.data(), tag, 4);
  std::memcpy(block.data() + 4, &w, 4);
  std::memcpy(block.data() + 8, &h, 4);
  return block;
}

TEST(RgbaBlock, SizeIsCheckedBeforeMultiplying) {
  EXPECT_EQ(RgbaBlockBytes(3, 2), 36u);
  EXPECT_EQ(RgbaBlockBytes(0, 5), 0u);
  EXPECT_EQ(RgbaBlockBytes(5, -1), 0u);
  EXPECT_EQ(RgbaBlockBytes(int64_t(INT32_MAX) + 1, 1), 0u);
  if (sizeof(size_t) == 4) {
    EXPECT_EQ(RgbaBlockBytes(32768, 32768), 0u);  // 4 GB + 12
  }
}

TEST(RgbaBlock, WritingRefusesAreasOutsideAndShortBuffers) {
  Picture picture(5, 4);
  std::vector<uint8_t> block(64);
  const auto write = [&](Rect area, size_t outSize) {
    return WriteRgbaBlock(picture.pixels.data(), picture.pixels.size(), picture.mask.data(),
                          picture.mask.size(), 5, 4, area, block.data(), outSize);
  };
  EXPECT_FALSE(write({3, 0, 6, 2}, 64));   // past the right edge
  EXPECT_FALSE(write({-1, 0, 2, 2}, 64));
  EXPECT_FALSE(write({2, 2, 2, 3}, 64));   // empty
  EXPECT_FALSE(write({0, 0, 3, 2}, 35));   // one byte short
  EXPECT_FALSE(WriteRgbaBlock(picture.pixels.data(), picture.pixels.size(), picture.mask.data(),
                              picture.mask.size() - 1, 5, 4, {0, 0, 1, 1}, block.data(), 64));
  EXPECT_TRUE(write({0, 0, 3, 2}, 36));
}

TEST(RgbaBlock, ReadingRefusesUnsoundBlocks) {
  int w = 0, h = 0;
  EXPECT_TRUE(ReadRgbaBlockSize(Header("RGBA", 3, 2, 36).data(), 36, &w, &h));
  EXPECT_EQ(w * 10 + h, 32);
  EXPECT_TRUE(ReadRgbaBlockSize(Header("RGBA", 3, 2, 100).data(), 100, &w, &h));  // room to spare
  EXPECT_FALSE(ReadRgbaBlockSize(Header("RGBX", 3, 2, 36).data(), 36, &w, &h));
  EXPECT_FALSE(ReadRgbaBlockSize(Header("rgba", 3, 2, 36).data(), 36, &w, &h));
  EXPECT_FALSE(ReadRgbaBlockSize(Header("RGBA", 3, 2, 36).data(), 35, &w, &h));
  EXPECT_FALSE(ReadRgbaBlockSize(Header("RGBA", 0, 2, 36).data(), 36, &w, &h));
  EXPECT_FALSE(ReadRgbaBlockSize(Header("RGBA", -3, -2, 36).data(), 36, &w, &h));
  // 4 x w x h wraps to a small number in 32 bits: 4 * 2^30 * 4 = 2^34.
  EXPECT_FALSE(ReadRgbaBlockSize(Header("RGBA", 1 << 30, 4, 36).data(), 36, &w, &h));
  EXPECT_FALSE(ReadRgbaBlockSize(Header("RGBA", 32768, 32768, 36).data(), 36, &w, &h));
  EXPECT_FALSE(ReadRgbaBlockSize(Header("RGBA", INT32_MAX, INT32_MAX, 36).data(), 36, &w, &h));
  EXPECT_FALSE(ReadRgbaBlockSize(Header("RGBA", 1, 1, 8).data(), 8, &w, &h));  // shorter than a header
  EXPECT_FALSE(ReadRgbaBlockSize(nullptr, 36, &w, &h));

  // A sound block does not fill a picture smaller than it says.
  const std::vector<uint8_t> block = Header("RGBA", 3, 2, 36);
  std::vector<uint8_t> pixels(size_t(Stride24(3)) * 2), mask(6);
  EXPECT_FALSE(ReadRgbaBlock(block.data(), 36, pixels.data(), pixels.size() - 1, mask.data(), 6));
  EXPECT_FALSE(ReadRgbaBlock(block.data(), 36, pixels.data(), pixels.size(), mask.data(), 5));
}

// Mask of a w x h picture where byte (x, y) = 10 * y + x.
std::vector<uint8_t> NumberedMask(int w, int h) {
  std::vector<uint8_t> m(size_t(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) m[size_t(y) * w + x] = uint8_t(10 * y + x);
  return m;
}

TEST(MaskTransforms, TurnsUndoEachOtherAndShortBuffersAreRefused) {
  const int w = 3, h = 2;
  const std::vector<uint8_t> in = NumberedMask(w, h);
  // Quarter turns undo each other on a non-square mask; the Windows test
  // checks every change byte by byte against the picture.
  const std::vector<uint8_t> big = NumberedMask(7, 4);
  std::vector<uint8_t> turned(big.size()), back(big.size());
  ASSERT_TRUE(TransformMask(big.data(), big.size(), 7, 4, MaskTransform::kTurnRight, turned.data(), turned.size()));
  ASSERT_TRUE(TransformMask(turned.data(), turned.size(), 4, 7, MaskTransform::kTurnLeft, back.data(), back.size()));
  EXPECT_EQ(back, big);
  // Short buffers are refused.
  std::vector<uint8_t> out(5);
  EXPECT_FALSE(TransformMask(in.data(), in.size(), w, h, MaskTransform::kMirrorX, out.data(), out.size()));
  EXPECT_FALSE(TransformMask(in.data(), 5, w, h, MaskTransform::kMirrorX, turned.data(), turned.size()));
  EXPECT_FALSE(TransformMask(in.data(), in.size(), 0, h, MaskTransform::kMirrorX, turned.data(), turned.size()));
}

TEST(MaskTransforms, InvertAndAreaCopy) {
  std::vector<uint8_t> m = {0, 1, 128, 255};
  InvertMask(m.data(), m.data(), m.size());
  EXPECT_EQ(m, (std::vector<uint8_t>{255, 254, 127, 0}));

  const std::vector<uint8_t> in = NumberedMask(5, 4);
  std::vector<uint8_t> out(6);
  ASSERT_TRUE(CopyMaskArea(in.data(), in.size(), 5, 4, {1, 2, 4, 4}, out.data(), out.size()));
  EXPECT_EQ(out, (std::vector<uint8_t>{21, 22, 23, 31, 32, 33}));
  EXPECT_FALSE(CopyMaskArea(in.data(), in.size(), 5, 4, {3, 2, 6, 4}, out.data(), out.size()));
  EXPECT_FALSE(CopyMaskArea(in.data(), in.size(), 5, 4, {1, 2, 4, 4}, out.data(), 5));
  EXPECT_FALSE(CopyMaskArea(in.data(), 19, 5, 4, {1, 2, 4, 4}, out.data(), out.size()));
}

std::vector<uint8_t> MakeDib(int w, int h, int bits, int colours) {
  const size_t table = size_t(colours) * 4;
  std::vector<uint8_t> dib(40 + table + size_t(DibStride(w, bits)) * h, 0);
  DibHeader header{40, w, h, 1, uint16_t(bits), 0, 0, 0, 0, uint32_t(colours), 0};
  std::memcpy(dib.data(), &header, 40);
  return dib;
}

TEST(LightnessGrey, HalfOfMaxPlusMinInEveryChannel) {
  EXPECT_EQ(Lightness(10, 200, 51), 105);  // (200 + 10) / 2
  EXPECT_EQ(Lightness(255, 0, 0), 127);    // integer halving
  EXPECT_EQ(Lightness(9, 9, 9), 9);

  // 24-bit, 2 x 2: stride 8 with two padding bytes that stay untouched.
  std::vector<uint8_t> dib = MakeDib(2, 2, 24, 0);
  const uint8_t pixels[16] = {10, 200, 51, 255, 0, 0, 0xAA, 0xBB, 1, 2, 3, 4, 4, 4, 0xCC, 0xDD};
  std::memcpy(dib.data() + 40, pixels, 16);
  ASSERT_TRUE(LightnessGreyDib(dib.data(), dib.size()));
  const uint8_t expected[16] = {105, 105, 105, 127, 127, 127, 0xAA, 0xBB, 2, 2, 2, 4, 4, 4, 0xCC, 0xDD};
  EXPECT_EQ(std::memcmp(dib.data() + 40, expected, 16), 0);

  // 32-bit keeps the fourth byte.
  std::vector<uint8_t> deep = MakeDib(1, 1, 32, 0);
  const uint8_t px[4] = {0, 100, 50, 77};
  std::memcpy(deep.data() + 40, px, 4);
  ASSERT_TRUE(LightnessGreyDib(deep.data(), deep.size()));
  EXPECT_EQ(std::vector<uint8_t>(deep.begin() + 40, deep.end()), (std::vector<uint8_t>{50, 50, 50, 77}));
}

TEST(LightnessGrey, PalettedPicturesChangeTheirTableNotTheirIndices) {
  std::vector<uint8_t> dib = MakeDib(4, 1, 8, 3);
  const uint8_t table[12] = {0, 0, 255, 0, 30, 60, 90, 0, 1, 2, 4, 0};
  std::memcpy(dib.data() + 40, table, 12);
  dib[52] = 2;
  ASSERT_TRUE(LightnessGreyDib(dib.data(), dib.size()));
  const uint8_t grey[12] = {127, 127, 127, 0, 60, 60, 60, 0, 2, 2, 2, 0};
  EXPECT_EQ(std::memcmp(dib.data() + 40, grey, 12), 0);
  EXPECT_EQ(dib[52], 2);

  // Two-colour pictures stay as they are.
  std::vector<uint8_t> mono = MakeDib(8, 1, 1, 2);
  const uint8_t bw[8] = {0, 0, 255, 0, 255, 0, 0, 0};
  std::memcpy(mono.data() + 40, bw, 8);
  const std::vector<uint8_t> before = mono;
  ASSERT_TRUE(LightnessGreyDib(mono.data(), mono.size()));
  EXPECT_EQ(mono, before);
}

TEST(LightnessGrey, UnsoundBlocksAreLeftAlone) {
  std::vector<uint8_t> dib = MakeDib(3, 3, 24, 0);
  dib[40] = 200;
  const std::vector<uint8_t> before = dib;
  EXPECT_FALSE(LightnessGreyDib(dib.data(), dib.size() - 1));  // last row cut short
  EXPECT_FALSE(LightnessGreyDib(dib.data(), 39));
  std::vector<uint8_t> rle = dib;
  rle[16] = 1;  // compressed
  EXPECT_FALSE(LightnessGreyDib(rle.data(), rle.size()));
  std::vector<uint8_t> table = MakeDib(2, 2, 8, 0);  // 256-entry table that is not there
  table.resize(60);
  EXPECT_FALSE(LightnessGreyDib(table.data(), table.size()));
  EXPECT_EQ(dib, before);
}

}  // namespace
}  // namespace quillo
