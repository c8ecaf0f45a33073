#include <gtest/gtest.h>

#include "dump_paths.h"

namespace quillo {
namespace {

TEST(OpenedPaths, ReaderByExtensionInAnyCase) {
  EXPECT_EQ(ReaderForPath("C:\\a\\pic.di"), ImageReader::kRawDib);
  EXPECT_EQ(ReaderForPath("C:\\a\\pic.Di"), ImageReader::kRawDib);
  EXPECT_EQ(ReaderForPath("C:\\a\\pic.dI"), ImageReader::kRawDib);
  EXPECT_EQ(ReaderForPath("pic.GiF"), ImageReader::kAnimatedGif);
  EXPECT_EQ(ReaderForPath("pic.dib"), ImageReader::kCodecLibrary);
  EXPECT_EQ(ReaderForPath("C:\\x.di\\pic"), ImageReader::kCodecLibrary) << "a dot in a folder name";
}

TEST(OpenedPaths, DumpNames) {
  EXPECT_EQ(ReplaceExtension("C:\\a\\pic.png", "di"), "C:\\a\\pic.di");
  EXPECT_EQ(ReplaceExtension("C:\\a.b\\pic", "Gray"), "C:\\a.b\\pic.Gray");
  EXPECT_EQ(BitmapDumpPath("C:\\my-pics\\a-b.jpg"), "C:\\my_pics\\a_b.DIB");
}

TEST(OpenedPaths, GreyDumpAveragesUnpaddedBottomUpRows) {
  // Two rows of two pixels, stride 8 (two bytes of padding).
  const uint8_t bits[16] = {0, 0, 3, 255, 255, 255, 9, 9, 30, 60, 90, 1, 2, 3, 7, 7};
  const auto grey = GreyDump(bits, 2, 2, 8);
  ASSERT_EQ(grey.size(), 4u);
  EXPECT_EQ(grey[0], 1);
  EXPECT_EQ(grey[1], 255);
  EXPECT_EQ(grey[2], 60);
  EXPECT_EQ(grey[3], 2);
  EXPECT_TRUE(GreyDump(bits, 3, 2, 8).empty()) << "rows shorter than the width are refused";
}

}  // namespace
}  // namespace quillo

#include "save_formats.h"

namespace quillo {
namespace {

TEST(SaveFormats, DepthsFollowTheFormatTable) {
  EXPECT_EQ(SaveDepth(0, 3), 24);  // JPEG: true colour only
  EXPECT_EQ(SaveDepth(0, 2), 0);
  EXPECT_EQ(SaveDepth(4, 1), 0);   // TIF: no 16 colours
  EXPECT_EQ(SaveDepth(4, 2), 8);
  EXPECT_EQ(SaveDepth(6, 3), 0);   // WPG and GIF: no true colour
  EXPECT_EQ(SaveDepth(8, 0), 1);
  EXPECT_EQ(SaveDepth(7, 0), 1);   // WBMP: two colours only
  EXPECT_EQ(SaveDepth(7, 1), 0);
  EXPECT_EQ(SaveDepth(9, 0), 0);
  EXPECT_EQ(SaveDepth(-1, 3), 0);
}

TEST(SaveFormats, TheFileNameTakesTheFormatsExtension) {
  EXPECT_EQ(SaveTargetPath("C:\\pics\\cat.png", 0), "C:\\pics\\cat.jpg");
  EXPECT_EQ(SaveTargetPath("C:\\pic.s\\cat", 7), "C:\\pic.s\\cat.WBMP");
  EXPECT_EQ(SaveTargetPath("cat.tar.gz", 8), "cat.tar.gif");
  EXPECT_EQ(SaveTargetPath("", 1), "");
}

}  // namespace
}  // namespace quillo
