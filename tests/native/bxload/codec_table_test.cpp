// Extension rules, allowed depths and error texts of the codec library.
#include <gtest/gtest.h>

#include "outside/bxload/codec_table.h"

namespace quillo::bxload {
namespace {

TEST(CodecTable, ExtensionIsTakenAfterTheLastDotOfTheFileName) {
  EXPECT_EQ(ExtensionOf("C:\\pics\\Cat.JPG"), "jpg");
  EXPECT_EQ(ExtensionOf("C:\\my.pics\\cat"), "");
  EXPECT_EQ(ExtensionOf("a.tar.Bmp"), "bmp");
  EXPECT_EQ(ExtensionOf("C:\\x\\pkg.BeXa"), "bexa");
  EXPECT_EQ(ExtensionOf("trailing."), "");
  EXPECT_EQ(ExtensionOf(nullptr), "");
  EXPECT_EQ(CodecForExtension("rle"), Codec::Bmp);
  EXPECT_EQ(CodecForExtension("jpe"), Codec::Jpeg);
  EXPECT_EQ(CodecForExtension("bexa"), Codec::Jpeg);
  EXPECT_EQ(CodecForExtension("tiff"), Codec::Tiff);
  EXPECT_EQ(CodecForExtension("wbmp"), Codec::Wbmp);
  EXPECT_EQ(CodecForExtension("tga"), Codec::Tga);
  EXPECT_EQ(CodecForExtension("pgm"), Codec::Pnm);
  EXPECT_EQ(CodecForExtension("pcx"), Codec::Pcx);
  EXPECT_EQ(CodecForExtension("bm"), Codec::Xbm);
  EXPECT_EQ(CodecForExtension("di"), Codec::Unknown);
  EXPECT_EQ(CodecForExtension(""), Codec::Unknown);
}

TEST(CodecTable, DepthsFollowTheSaveFormats) {
  for (int d : {1, 4, 8, 24}) {
    EXPECT_TRUE(DepthAllowed(Codec::Bmp, d));
    EXPECT_TRUE(DepthAllowed(Codec::Png, d));
    EXPECT_EQ(DepthAllowed(Codec::Jpeg, d), d == 24);
    EXPECT_EQ(DepthAllowed(Codec::Tiff, d), d >= 8);
    EXPECT_TRUE(DepthAllowed(Codec::Tga, d));
    EXPECT_EQ(DepthAllowed(Codec::Wbmp, d), d == 1);
    EXPECT_FALSE(DepthAllowed(Codec::Pnm, d));  // opened, never saved
  }
  EXPECT_FALSE(DepthAllowed(Codec::Bmp, 16));
  EXPECT_FALSE(DepthAllowed(Codec::Bmp, 32));
  EXPECT_EQ(SaveDepth(Codec::Tiff, 4), 24);
  EXPECT_EQ(SaveDepth(Codec::Png, 4), 4);
  EXPECT_EQ(SaveDepth(Codec::Bmp, 32), 24);
  EXPECT_EQ(DepthRefusal(Codec::Jpeg, 8), "JPEG files hold only true colour images.");
}

TEST(CodecTable, WriteErrorFitsTheBufferAndKeepsTheReason) {
  EXPECT_EQ(WriteError("C:\\x.jpg", "the folder does not exist.", 300),
            "Cannot write C:\\x.jpg: the folder does not exist.");
  const std::string longPath = "C:\\" + std::string(400, 'a') + "\\end.png";
  const std::string text = WriteError(longPath, "access is denied.", 300);
  EXPECT_LE(text.size(), 299u);
  EXPECT_EQ(text.rfind("end.png: access is denied."), text.size() - 26);
  EXPECT_NE(text.find("..."), std::string::npos);
  EXPECT_LE(WriteError(longPath, std::string(500, 'r'), 300).size(), 299u);
  EXPECT_EQ(WriteError("x", "y", 0), "");
}

}  // namespace
}  // namespace quillo::bxload
