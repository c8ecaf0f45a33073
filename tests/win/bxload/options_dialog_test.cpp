// The JPEG and TIFF option dialogs, driven the way a user's clicks would,
// and their effect on later saves.
#include <windows.h>
#include <commctrl.h>

#include "bxload_fixture.h"
#include "outside/bxload/bxload_ids.h"
#include "win_test_support.h"

namespace quillo::test {
namespace {

class Options : public BxLoadTest {};

ScriptedUser::Step FindDialog(const char* caption, HWND* dialog) {
  return [caption, dialog] {
    *dialog = FindWindowA("#32770", caption);
    return *dialog != nullptr;
  };
}

BOOL RunJpeg(const char* quality, bool ok, UINT* barAfterEdit = nullptr) {
  RecordingHost owner;
  HWND dialog = nullptr;
  ScriptedUser user;
  user.Then(FindDialog("JPEG Options", &dialog)).Then([&] {
    SetDlgItemTextA(dialog, IDC_JPEG_QUALITY, quality);
    if (barAfterEdit)
      *barAfterEdit = UINT(SendDlgItemMessageA(dialog, IDC_JPEG_QUALITY_BAR, TBM_GETPOS, 0, 0));
    return true;
  });
  user.Command(&dialog, ok ? IDOK : IDCANCEL);
  return BxLoad().SetupJPEGOption(owner.window());
}

// Wine's JPEG encoder ignores the quality option, so the choice is checked
// where it is kept (the library's state, shown again by the dialog, and the
// settings file) and by a save that still works.
UINT StoredQuality() { return GetPrivateProfileIntA("Codec", "JPEGQuality", 0, "bexadbms.ini"); }

TEST_F(Options, JpegQualityIsKeptForLaterSaves) {
  UINT bar = 0;
  ASSERT_TRUE(RunJpeg("10", true, &bar));
  EXPECT_EQ(bar, 10u);  // the trackbar follows the edit box
  EXPECT_EQ(StoredQuality(), 10u);
  ASSERT_TRUE(RunJpeg("95", true));
  EXPECT_EQ(StoredQuality(), 95u);
  EXPECT_FALSE(RunJpeg("20", false));  // Cancel keeps 95
  EXPECT_EQ(StoredQuality(), 95u);
  // The dialog opens with the kept value.
  UINT shown = 0;
  {
    RecordingHost owner;
    HWND dialog = nullptr;
    ScriptedUser user;
    user.Then(FindDialog("JPEG Options", &dialog)).Then([&] {
      shown = GetDlgItemInt(dialog, IDC_JPEG_QUALITY, nullptr, FALSE);
      return true;
    });
    user.Command(&dialog, IDCANCEL);
    BxLoad().SetupJPEGOption(owner.window());
  }
  EXPECT_EQ(shown, 95u);
  HGLOBAL picture = MakeTestPicture(32, 32);
  EXPECT_TRUE(BxLoad().SaveDIB(picture, Path("after.jpg").c_str()));
  GlobalFree(picture);
}

TEST_F(Options, JpegDialogKeepsItselfOpenOnAnUnusableQuality) {
  RecordingHost owner;
  HWND dialog = nullptr;
  bool stillOpen = false;
  UINT editAfterBar = 0;
  ScriptedUser user;
  user.Then(FindDialog("JPEG Options", &dialog)).Then([&] {
    SetDlgItemTextA(dialog, IDC_JPEG_QUALITY, "0");
    return true;
  });
  user.Command(&dialog, IDOK).WaitTicks(2).Then([&] {
    stillOpen = IsWindow(dialog) && IsWindowVisible(dialog);
    HWND bar = GetDlgItem(dialog, IDC_JPEG_QUALITY_BAR);
    SendMessageA(bar, TBM_SETPOS, TRUE, 42);
    SendMessageA(dialog, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 42), LPARAM(bar));
    editAfterBar = GetDlgItemInt(dialog, IDC_JPEG_QUALITY, nullptr, FALSE);
    return true;
  });
  user.Command(&dialog, IDCANCEL);
  EXPECT_FALSE(BxLoad().SetupJPEGOption(owner.window()));
  EXPECT_TRUE(stillOpen);
  EXPECT_EQ(editAfterBar, 42u);
}

TEST_F(Options, TiffCompressionSwitch) {
  HGLOBAL flat = MakeDib24(200, 100, [](int, int, uint8_t p[3]) { p[0] = 10, p[1] = 200, p[2] = 30; });
  auto runTiff = [&](bool compress) {
    RecordingHost owner;
    HWND dialog = nullptr;
    ScriptedUser user;
    user.Then(FindDialog("TIFF Options", &dialog)).Then([&] {
      CheckDlgButton(dialog, IDC_TIFF_COMPRESS, compress ? BST_CHECKED : BST_UNCHECKED);
      return true;
    });
    user.Command(&dialog, IDOK);
    return BxLoad().SetupTIFFOption(owner.window());
  };
  ASSERT_TRUE(runTiff(false));
  EXPECT_EQ(GetPrivateProfileIntA("Codec", "TIFFCompress", 7, "bexadbms.ini"), 0u);
  ASSERT_TRUE(BxLoad().SaveDIB(flat, Path("plain.tif").c_str()));
  ASSERT_TRUE(runTiff(true));
  EXPECT_EQ(GetPrivateProfileIntA("Codec", "TIFFCompress", 7, "bexadbms.ini"), 1u);
  ASSERT_TRUE(BxLoad().SaveDIB(flat, Path("lzw.tif").c_str()));
  // Wine's TIFF encoder stores the pixels uncompressed whatever is asked,
  // so only the sizes' order is checked here.
  const size_t plain = ReadFileBytes(Path("plain.tif")).size();
  const size_t lzw = ReadFileBytes(Path("lzw.tif")).size();
  EXPECT_GE(plain, 200u * 100u * 3u);
  EXPECT_LE(lzw, plain);
  // Both read back to the same pixels.
  HGLOBAL a = BxLoad().LoadDIB(Path("plain.tif").c_str());
  HGLOBAL b = BxLoad().LoadDIB(Path("lzw.tif").c_str());
  ASSERT_TRUE(a && b);
  EXPECT_EQ(DibPixels(a), DibPixels(flat));
  EXPECT_EQ(DibPixels(b), DibPixels(flat));
  GlobalFree(a);
  GlobalFree(b);
  GlobalFree(flat);
}

}  // namespace
}  // namespace quillo::test
