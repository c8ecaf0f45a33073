// Crop, grey, transforms, mask commands, copy, paste and new image, each
// sent to the running studio's frame as a menu command would be.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/shell/app_state.h"
#include "app/shell/document_window.h"
#include "app/shell/resource_ids.h"
#include "app/shell/win/document_record.h"
#include "app/shell/win/edit_commands.h"
#include "app/shell/win/studio.h"
#include "app/shell/win/thumbnail_pane.h"
#include "contracts/dib_services.h"
#include "message_box_watcher.h"
#include "studio_fixture.h"
#include "win_test_support.h"

using namespace quillo;
using namespace quillo::test;

namespace {

constexpr char kSettings[] = "bexadbms.ini";

// Pixel (x, y) of the test pictures: blue x, green y, red 100 + x + y; mask
// byte 10 * y + x + 1.
void Numbered(int x, int y, uint8_t bgr[3]) {
  bgr[0] = uint8_t(x);
  bgr[1] = uint8_t(y);
  bgr[2] = uint8_t(100 + x + y);
}
uint8_t NumberedMask(int x, int y) { return uint8_t(10 * y + x + 1); }

struct Bgr {
  uint8_t b, g, r;
  bool operator==(const Bgr&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Bgr& p) {
  return out << int(p.b) << "," << int(p.g) << "," << int(p.r);
}

Bgr PixelOf(HGLOBAL dib, int x, int y) {
  uint8_t p[3];
  DibPixel(dib, x, y, p);
  return {p[0], p[1], p[2]};
}

struct DibInfo {
  int width = 0, height = 0, bits = 0;
};
DibInfo InfoOf(HGLOBAL dib) {
  DibInfo info;
  if (auto* h = static_cast<BITMAPINFOHEADER*>(GlobalLock(dib))) {
    info = {h->biWidth, h->biHeight, h->biBitCount};
    GlobalUnlock(dib);
  }
  return info;
}

class EditCommands : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    for (int i = 1; i <= 5; ++i)
      WritePrivateProfileStringA("FunHist", ("i" + std::to_string(i)).c_str(), "", kSettings);
    WritePrivateProfileStringA("Meridian", "Bestfit", "0", kSettings);
    started_ = StartInProcessStudio();
  }
  static void TearDownTestSuite() {
    StopInProcessStudio();
  }
  void SetUp() override { ASSERT_EQ(started_, -1); }
  void TearDown() override {
    while (HWND document = ActiveDocument()) SendMessageA(g_app.mdiClient, WM_MDIDESTROY, WPARAM(document), 0);
    RefreshThumbnails();
    Pump();
  }
  static void Pump() { PumpMessages(3); }
  static void Command(int id) { SendMessageA(g_app.frame, WM_COMMAND, id, 0); }
  static int DocumentCount() {
    int count = 0;
    for (HWND child = GetWindow(g_app.mdiClient, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
      count += RecordOf(child) != nullptr && GetParent(child) == g_app.mdiClient;
    return count;
  }
  // A numbered width x height picture, with the numbered mask when `masked`.
  static HWND OpenNumbered(int width, int height, bool masked, const char* title = "numbered") {
    HGLOBAL image = MakeDib24(width, height, Numbered);
    LPBYTE mask = nullptr;
    if (masked) {
      mask = AllocAlpha(image);
      for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) mask[y * width + x] = NumberedMask(x, y);
    }
    return OpenPictureWindow(image, mask, title);
  }
  static void Select(HWND document, int left, int top, int right, int bottom) {
    INT32* s = RecordOf(document)->selection;
    s[0] = left, s[1] = top, s[2] = right, s[3] = bottom;
  }
  static UndoSlot& Slot(HWND document, int index) { return RecordOf(document)->slots[index]; }
  static int CurrentIndexOf(HWND document) {
    int index = 0;
    for (int i = 1; i < kUndoSlotCount; ++i)
      if (Slot(document, i).image) index = i;
    return index;
  }
  static LPBYTE MaskOf(const UndoSlot& slot) { return reinterpret_cast<LPBYTE>(slot.mask); }
  // The slot holds the numbered picture's area whose top left corner is
  // (left, top), with the numbered mask when `withMask`.
  static void ExpectNumberedArea(const UndoSlot& slot, int left, int top, bool withMask) {
    for (int y = 0; y < slot.height; ++y)
      for (int x = 0; x < slot.width; ++x) {
        uint8_t bgr[3];
        Numbered(x + left, y + top, bgr);
        EXPECT_EQ(PixelOf(HGLOBAL(slot.image), x, y), (Bgr{bgr[0], bgr[1], bgr[2]})) << x << "," << y;
        if (withMask) EXPECT_EQ(MaskOf(slot)[y * slot.width + x], NumberedMask(x + left, y + top));
      }
  }
  static std::string Title(HWND document) { return DocumentTitle(document); }
  static void PutOnClipboard(UINT format, HGLOBAL block) {
    ASSERT_TRUE(OpenClipboard(g_app.frame));
    EmptyClipboard();
    SetClipboardData(format, block);
    CloseClipboard();
  }
  static std::vector<uint8_t> ClipboardBlock() {
    std::vector<uint8_t> bytes;
    if (!OpenClipboard(g_app.frame)) return bytes;
    if (HANDLE data = GetClipboardData(RgbaClipboardFormat())) {
      const SIZE_T size = GlobalSize(data);
      if (auto* p = static_cast<const uint8_t*>(GlobalLock(data))) {
        bytes.assign(p, p + size);
        GlobalUnlock(data);
      }
    }
    CloseClipboard();
    return bytes;
  }
  static inline int started_ = 0;
};

TEST_F(EditCommands, CopyingAMaskedSelectionGivesExactlyItsBlock) {
  HWND document = OpenNumbered(7, 5, true);
  ASSERT_NE(document, nullptr);
  const HGLOBAL before = CurrentImage(document);
  Select(document, 2, 1, 5, 3);  // 3 x 2
  Command(CMD_COPY);
  const std::vector<uint8_t> block = ClipboardBlock();
  ASSERT_EQ(block.size(), 36u);  // 12 + 4 x 3 x 2, nothing more
  EXPECT_EQ(std::memcmp(block.data(), "RGBA", 4), 0);
  int32_t size[2];
  std::memcpy(size, block.data() + 4, 8);
  EXPECT_EQ(size[0], 3);
  EXPECT_EQ(size[1], 2);
  // Row 0 of the block is the selection's top row (y = 1), pixel by pixel.
  for (int i = 0; i < 6; ++i) {
    const int x = 2 + i % 3, y = 1 + i / 3;
    uint8_t bgr[3];
    Numbered(x, y, bgr);
    const uint8_t* p = block.data() + 12 + 4 * i;
    EXPECT_EQ(std::vector<uint8_t>(p, p + 4), (std::vector<uint8_t>{bgr[0], bgr[1], bgr[2], NumberedMask(x, y)}))
        << "pixel " << i;
  }
  EXPECT_EQ(CurrentImage(document), before);
  EXPECT_FALSE(HasUndoStep(document));
  char status[200] = {};
  GetWindowTextA(g_app.statusLine, status, sizeof status);
  EXPECT_STREQ(status, LoadResString(IDS_COPIED));

  // A selection reaching past the picture is cut to it: 7 - 5 = 2 columns.
  Select(document, 5, 3, 40, 40);
  Command(CMD_COPY);
  EXPECT_EQ(ClipboardBlock().size(), 12u + 4 * 2 * 2);
  // No selection: the whole picture.
  Select(document, 0, 0, 0, 0);
  Command(CMD_COPY);
  EXPECT_EQ(ClipboardBlock().size(), 12u + 4 * 7 * 5);
}

TEST_F(EditCommands, CopyReadsAPalettedPictureWithoutConvertingIt) {
  HGLOBAL image = CreateDIB(4, 3, 8);
  ASSERT_NE(image, nullptr);
  {
    auto* base = static_cast<uint8_t*>(GlobalLock(image));
    auto* table = reinterpret_cast<RGBQUAD*>(base + 40);  // index i is grey i
    for (int i = 0; i < 256; ++i) table[i] = RGBQUAD{uint8_t(i), uint8_t(i), uint8_t(i), 0};
    uint8_t* bits = reinterpret_cast<uint8_t*>(FindDIBBits(reinterpret_cast<LPSTR>(base)));
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 4; ++x) bits[(2 - y) * 4 + x] = uint8_t(40 * y + x);
    GlobalUnlock(image);
  }
  LPBYTE mask = AllocAlpha(image);
  std::memset(mask, 200, 12);
  HWND document = OpenPictureWindow(image, mask, "paletted");
  ASSERT_NE(document, nullptr);
  Command(CMD_COPY);
  const std::vector<uint8_t> block = ClipboardBlock();
  ASSERT_EQ(block.size(), 12u + 4 * 12);
  EXPECT_EQ(std::vector<uint8_t>(block.begin() + 12 + 4 * 5, block.begin() + 12 + 4 * 6),
            (std::vector<uint8_t>{41, 41, 41, 200}));  // (1, 1)
  // The document still holds its own 8-bit picture.
  EXPECT_EQ(CurrentImage(document), image);
  EXPECT_EQ(InfoOf(image).bits, 8);
  EXPECT_EQ(Slot(document, 0).colours, 256);
}

TEST_F(EditCommands, PastingABlockRestoresPixelsAndMask) {
  HWND source = OpenNumbered(6, 4, true);
  ASSERT_NE(source, nullptr);
  Select(source, 1, 1, 5, 4);
  Command(CMD_COPY);
  Command(CMD_PASTE);
  HWND pasted = ActiveDocument();
  ASSERT_NE(pasted, source);
  EXPECT_EQ(Title(pasted), "Noname");
  const UndoSlot& slot = Slot(pasted, 0);
  ASSERT_EQ(slot.width, 4);
  ASSERT_EQ(slot.height, 3);
  ASSERT_NE(slot.mask, 0u);
  ExpectNumberedArea(slot, 1, 1, true);
}

TEST_F(EditCommands, PasteIgnoresUnsoundBlocks) {
  auto block = [](const char* tag, int32_t w, int32_t h, SIZE_T bytes) {
    HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    auto* p = static_cast<uint8_t*>(GlobalLock(g));
    std::memcpy(p, tag, 4);
    std::memcpy(p + 4, &w, 4);
    std::memcpy(p + 8, &h, 4);
    GlobalUnlock(g);
    return g;
  };
  struct Case {
    const char* what;
    HGLOBAL data;
  } cases[] = {
      {"other first bytes", block("RGBX", 3, 2, 36)},
      {"negative width", block("RGBA", -3, 2, 36)},
      {"zero height", block("RGBA", 3, 0, 36)},
      {"4 x w x h wraps in 32 bits", block("RGBA", 1 << 30, 4, 36)},
      {"larger than the block", block("RGBA", 3, 2, 35)},
      {"far larger than the block", block("RGBA", 30000, 30000, 64)},
  };
  for (const Case& c : cases) {
    PutOnClipboard(RgbaClipboardFormat(), c.data);
    const int before = DocumentCount();
    Command(CMD_PASTE);
    EXPECT_EQ(DocumentCount(), before) << c.what;
  }
  // A sound block with room to spare is used.
  PutOnClipboard(RgbaClipboardFormat(), block("RGBA", 3, 2, 100));
  Command(CMD_PASTE);
  ASSERT_NE(ActiveDocument(), nullptr);
  EXPECT_EQ(Slot(ActiveDocument(), 0).width, 3);
  EXPECT_EQ(Slot(ActiveDocument(), 0).height, 2);
}

TEST_F(EditCommands, APictureWithoutMaskTravelsAsABitmap) {
  HWND source = OpenNumbered(9, 6, false);
  ASSERT_NE(source, nullptr);
  Select(source, 2, 1, 7, 5);
  Command(CMD_COPY);
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_BITMAP));
  EXPECT_FALSE(IsClipboardFormatAvailable(RgbaClipboardFormat()));
  Command(CMD_PASTE);
  HWND pasted = ActiveDocument();
  ASSERT_NE(pasted, source);
  const UndoSlot& slot = Slot(pasted, 0);
  ASSERT_EQ(slot.width, 5);
  ASSERT_EQ(slot.height, 4);
  EXPECT_EQ(slot.mask, 0u);
  ExpectNumberedArea(slot, 2, 1, false);
}

TEST_F(EditCommands, CropOpensTheAreaInANewWindowWithItsMask) {
  HWND source = OpenNumbered(8, 6, true);
  ASSERT_NE(source, nullptr);
  Select(source, 6, 2, 20, 30);  // cut to 6..8 x 2..6
  Command(CMD_CROP);
  HWND cropped = ActiveDocument();
  ASSERT_NE(cropped, source);
  EXPECT_EQ(Title(cropped), "Cropped");
  const UndoSlot& slot = Slot(cropped, 0);
  ASSERT_EQ(slot.width, 2);
  ASSERT_EQ(slot.height, 4);
  ASSERT_NE(slot.mask, 0u);
  ExpectNumberedArea(slot, 6, 2, true);
  // Undo in the new window has nothing to take back.
  const uintptr_t image = slot.image;
  Command(CMD_UNDO);
  EXPECT_EQ(ActiveDocument(), cropped);
  EXPECT_EQ(Slot(cropped, 0).image, image);
  EXPECT_EQ(CurrentIndexOf(cropped), 0);
  EXPECT_FALSE(HasUndoStep(source));
}

TEST_F(EditCommands, CropWithoutSelectionOnlyShowsTheMessage) {
  HWND source = OpenNumbered(8, 6, false);
  ASSERT_NE(source, nullptr);
  MessageBoxWatcher watcher;
  Select(source, 3, 2, 3, 5);  // zero width
  Command(CMD_CROP);
  Select(source, 9, 7, 12, 9);  // wholly outside: empty once cut to the picture
  Command(CMD_CROP);
  const auto boxes = watcher.boxes();
  ASSERT_EQ(boxes.size(), 2u) << watcher.Describe();
  EXPECT_EQ(boxes[0].text, LoadResString(IDS_EMPTY_SELECTION));
  EXPECT_EQ(boxes[1].text, LoadResString(IDS_EMPTY_SELECTION));
  EXPECT_EQ(DocumentCount(), 1);
  EXPECT_EQ(ActiveDocument(), source);
}

// Where output pixel (x, y) of each transform comes from in a w x h source.
struct TransformCase {
  int command;
  bool swapsSize;
  void (*source)(int x, int y, int w, int h, int* sx, int* sy);
};
const TransformCase kTransforms[] = {
    {CMD_TURN_RIGHT, true, [](int x, int y, int, int h, int* sx, int* sy) { *sx = y, *sy = h - 1 - x; }},
    {CMD_HALF_TURN, false, [](int x, int y, int w, int h, int* sx, int* sy) { *sx = w - 1 - x, *sy = h - 1 - y; }},
    {CMD_TURN_LEFT, true, [](int x, int y, int w, int, int* sx, int* sy) { *sx = w - 1 - y, *sy = x; }},
    {CMD_MIRROR_X, false, [](int x, int y, int w, int, int* sx, int* sy) { *sx = w - 1 - x, *sy = y; }},
    {CMD_MIRROR_Y, false, [](int x, int y, int, int h, int* sx, int* sy) { *sx = x, *sy = h - 1 - y; }},
};

TEST_F(EditCommands, EachTransformTurnsTheMaskWithThePicture) {
  const int w = 5, h = 3;
  HWND document = OpenNumbered(w, h, true);
  ASSERT_NE(document, nullptr);
  for (const TransformCase& t : kTransforms) {
    Command(t.command);
    ASSERT_EQ(CurrentIndexOf(document), 1) << std::hex << t.command;
    const UndoSlot& slot = Slot(document, 1);
    const int ow = t.swapsSize ? h : w, oh = t.swapsSize ? w : h;
    ASSERT_EQ(slot.width, ow);
    ASSERT_EQ(slot.height, oh);
    ASSERT_NE(slot.mask, 0u);
    EXPECT_NE(slot.mask, Slot(document, 0).mask);
    for (int y = 0; y < oh; ++y)
      for (int x = 0; x < ow; ++x) {
        int sx, sy;
        t.source(x, y, w, h, &sx, &sy);
        uint8_t bgr[3];
        Numbered(sx, sy, bgr);
        EXPECT_EQ(PixelOf(HGLOBAL(slot.image), x, y), (Bgr{bgr[0], bgr[1], bgr[2]}))
            << std::hex << t.command << std::dec << " at " << x << "," << y;
        EXPECT_EQ(MaskOf(slot)[y * ow + x], NumberedMask(sx, sy))
            << std::hex << t.command << std::dec << " at " << x << "," << y;
      }
    Command(CMD_UNDO);
    ASSERT_EQ(CurrentIndexOf(document), 0);
  }
  // The negative keeps the mask it had (shared with the step below).
  Command(CMD_INVERT);
  ASSERT_EQ(CurrentIndexOf(document), 1);
  EXPECT_EQ(Slot(document, 1).mask, Slot(document, 0).mask);
  uint8_t bgr[3];
  Numbered(4, 2, bgr);
  EXPECT_EQ(PixelOf(HGLOBAL(Slot(document, 1).image), 4, 2),
            (Bgr{uint8_t(255 - bgr[0]), uint8_t(255 - bgr[1]), uint8_t(255 - bgr[2])}));
}

TEST_F(EditCommands, GreyCommandsKeepTheMask) {
  HGLOBAL image = MakeDib24(2, 1, [](int x, int, uint8_t p[3]) {
    const uint8_t values[2][3] = {{10, 200, 51}, {255, 0, 0}};
    std::memcpy(p, values[x], 3);
  });
  LPBYTE mask = AllocAlpha(image);
  mask[0] = 9, mask[1] = 90;
  HWND document = OpenPictureWindow(image, mask, "grey");
  ASSERT_NE(document, nullptr);
  Command(CMD_LIGHTNESS_GREY);
  ASSERT_EQ(CurrentIndexOf(document), 1);
  EXPECT_EQ(PixelOf(HGLOBAL(Slot(document, 1).image), 0, 0), (Bgr{105, 105, 105}));  // (200 + 10) / 2
  EXPECT_EQ(PixelOf(HGLOBAL(Slot(document, 1).image), 1, 0), (Bgr{127, 127, 127}));
  EXPECT_EQ(Slot(document, 1).mask, uintptr_t(mask));
  EXPECT_EQ(PixelOf(image, 0, 0), (Bgr{10, 200, 51}));  // the step below is untouched

  Command(CMD_GREY);
  ASSERT_EQ(CurrentIndexOf(document), 2);
  EXPECT_EQ(Slot(document, 2).mask, uintptr_t(mask));
  // Undo twice returns to the colours.
  Command(CMD_UNDO);
  Command(CMD_UNDO);
  EXPECT_EQ(CurrentImage(document), image);
}

TEST_F(EditCommands, LightnessGreyOfAPalettedPictureChangesItsTable) {
  HGLOBAL image = CreateDIB(3, 1, 8);
  ASSERT_NE(image, nullptr);
  {
    auto* info = static_cast<BITMAPINFO*>(GlobalLock(image));
    info->bmiColors[0] = {255, 0, 0, 0};     // blue, green, red
    info->bmiColors[1] = {30, 90, 60, 0};
    info->bmiColors[2] = {1, 2, 4, 0};
    uint8_t* bits = reinterpret_cast<uint8_t*>(FindDIBBits(reinterpret_cast<LPSTR>(info)));
    bits[0] = 2, bits[1] = 0, bits[2] = 1;
    GlobalUnlock(image);
  }
  HWND document = OpenPictureWindow(image, nullptr, "paletted");
  ASSERT_NE(document, nullptr);
  Command(CMD_LIGHTNESS_GREY);
  ASSERT_EQ(CurrentIndexOf(document), 1);
  HGLOBAL grey = HGLOBAL(Slot(document, 1).image);
  ASSERT_EQ(InfoOf(grey).bits, 8);
  auto* info = static_cast<BITMAPINFO*>(GlobalLock(grey));
  const RGBQUAD* table = info->bmiColors;
  EXPECT_EQ(table[0].rgbBlue, 127);
  EXPECT_EQ(table[0].rgbRed, 127);
  EXPECT_EQ(table[1].rgbGreen, 60);
  EXPECT_EQ(table[1].rgbBlue, 60);
  EXPECT_EQ(table[2].rgbRed, 2);
  const uint8_t* bits = reinterpret_cast<uint8_t*>(FindDIBBits(reinterpret_cast<LPSTR>(info)));
  EXPECT_EQ(bits[0], 2);
  EXPECT_EQ(bits[2], 1);
  GlobalUnlock(grey);
  EXPECT_NE(Slot(document, 1).palette, Slot(document, 0).palette);
}

TEST_F(EditCommands, InvertAndDropMaskShareThePicture) {
  HWND document = OpenNumbered(4, 3, true);
  ASSERT_NE(document, nullptr);
  const uintptr_t image = Slot(document, 0).image;
  Command(CMD_MASK_INVERT);
  ASSERT_EQ(CurrentIndexOf(document), 1);
  EXPECT_EQ(Slot(document, 1).image, image);
  ASSERT_NE(Slot(document, 1).mask, Slot(document, 0).mask);
  for (int i = 0; i < 12; ++i)
    EXPECT_EQ(MaskOf(Slot(document, 1))[i], 255 - MaskOf(Slot(document, 0))[i]);

  Command(CMD_MASK_DROP);
  ASSERT_EQ(CurrentIndexOf(document), 2);
  EXPECT_EQ(Slot(document, 2).image, image);
  EXPECT_EQ(Slot(document, 2).mask, 0u);
  EXPECT_EQ(Slot(document, 2).displayCopy, 0u);
  // Without a mask both only beep.
  Command(CMD_MASK_INVERT);
  Command(CMD_MASK_DROP);
  EXPECT_EQ(CurrentIndexOf(document), 2);
  // Undo brings the masks back in order; the shared picture survives.
  Command(CMD_UNDO);
  Command(CMD_UNDO);
  EXPECT_EQ(CurrentIndexOf(document), 0);
  EXPECT_TRUE(IsValidDIB(HGLOBAL(image)));
  EXPECT_EQ(MaskOf(Slot(document, 0))[5], NumberedMask(1, 1));
}

TEST_F(EditCommands, InvertingAnEmptyMaskKeepsTheFullResult) {
  HGLOBAL image = MakeDib24(3, 3, Numbered);
  LPBYTE mask = AllocAlpha(image);  // all 0
  HWND document = OpenPictureWindow(image, mask, "empty mask");
  ASSERT_NE(document, nullptr);
  Command(CMD_MASK_INVERT);
  ASSERT_EQ(CurrentIndexOf(document), 1);
  ASSERT_NE(Slot(document, 1).mask, uintptr_t(mask));
  for (int i = 0; i < 9; ++i) EXPECT_EQ(MaskOf(Slot(document, 1))[i], 255);
}

TEST_F(EditCommands, MaskDisplayCommandsSwitchTheOverlay) {
  HWND document = OpenNumbered(16, 16, true);
  ASSERT_NE(document, nullptr);
  Command(CMD_MASK_HIDE);
  EXPECT_EQ(MaskDisplayMode(document), 1);
  EXPECT_EQ(Slot(document, 0).displayCopy, 0u);
  Command(CMD_MASK_SHOW);
  EXPECT_EQ(MaskDisplayMode(document), 0);
  EXPECT_NE(Slot(document, 0).displayCopy, 0u);
  EXPECT_FALSE(HasUndoStep(document));
}

TEST_F(EditCommands, CommandsWithoutAPictureChangeNothing) {
  ASSERT_EQ(ActiveDocument(), nullptr);
  for (int id : {CMD_CROP, CMD_GREY, CMD_LIGHTNESS_GREY, CMD_INVERT, CMD_TURN_RIGHT, CMD_HALF_TURN,
                 CMD_TURN_LEFT, CMD_MIRROR_X, CMD_MIRROR_Y, CMD_MASK_SHOW, CMD_MASK_HIDE,
                 CMD_MASK_INVERT, CMD_MASK_DROP, CMD_COPY})
    Command(id);
  EXPECT_EQ(DocumentCount(), 0);
}

// Drives the "Create" dialog from a thread timer while it runs modally.
class CreateDialogUser {
 public:
  using Fill = void (*)(HWND dialog);
  CreateDialogUser(Fill fill, int button) : fill_(fill), button_(button) {
    self_ = this;
    timer_ = SetTimer(nullptr, 0, 30, Tick);
  }
  ~CreateDialogUser() {
    KillTimer(nullptr, timer_);
    self_ = nullptr;
  }
  bool done = false;

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (!self_ || self_->done) return;
    HWND dialog = FindWindowA("#32770", "New Picture");
    if (!dialog || !IsWindowVisible(dialog)) return;
    self_->done = true;
    if (self_->fill_) self_->fill_(dialog);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(self_->button_, BN_CLICKED), 0);
  }
  static inline CreateDialogUser* self_ = nullptr;
  Fill fill_;
  int button_;
  UINT_PTR timer_ = 0;
};

TEST_F(EditCommands, NewImageTakesTheSizeAndColourOfTheDialog) {
  ASSERT_NE(FindResourceA(g_app.resources, "Create", RT_DIALOG), nullptr);
  SetNewImageColour(RGB(10, 20, 30));
  {
    // Width typed; height left empty, so the list's choice (100) counts.
    CreateDialogUser user(
        [](HWND dialog) {
          EXPECT_EQ(GetDlgItemInt(dialog, 100, nullptr, FALSE), 640u);
          EXPECT_EQ(GetDlgItemInt(dialog, 101, nullptr, FALSE), 480u);
          EXPECT_EQ(SendDlgItemMessageA(dialog, 102, CB_GETCOUNT, 0, 0), 15);
          SetDlgItemInt(dialog, 100, 37, FALSE);
          SetDlgItemTextA(dialog, 101, "");
          SendDlgItemMessageA(dialog, 103, CB_SETCURSEL, 2, 0);
        },
        IDOK);
    Command(CMD_NEW_IMAGE);
    EXPECT_TRUE(user.done);
  }
  HWND document = ActiveDocument();
  ASSERT_NE(document, nullptr);
  EXPECT_EQ(Title(document), "Noname");
  const UndoSlot& slot = Slot(document, 0);
  ASSERT_EQ(slot.width, 37);
  ASSERT_EQ(slot.height, 100);
  EXPECT_EQ(PixelOf(HGLOBAL(slot.image), 0, 0), (Bgr{30, 20, 10}));
  EXPECT_EQ(PixelOf(HGLOBAL(slot.image), 36, 99), (Bgr{30, 20, 10}));

  // Cancel makes nothing; a size above the range is cut to 16383.
  {
    CreateDialogUser user(nullptr, IDCANCEL);
    Command(CMD_NEW_IMAGE);
    EXPECT_TRUE(user.done);
  }
  EXPECT_EQ(DocumentCount(), 1);
  {
    CreateDialogUser user([](HWND dialog) {
      SetDlgItemTextA(dialog, 100, "99999");
      SetDlgItemInt(dialog, 101, 1, FALSE);
    }, IDOK);
    Command(CMD_NEW_IMAGE);
  }
  ASSERT_EQ(DocumentCount(), 2);
  EXPECT_EQ(Slot(ActiveDocument(), 0).width, 16383);
  EXPECT_EQ(Slot(ActiveDocument(), 0).height, 1);
}

}  // namespace

namespace {

// Picks the fill colour through the standard colour dialog that the colour
// button (105) opens, then accepts both dialogs.
class ColourDialogUser {
 public:
  ColourDialogUser() {
    self_ = this;
    timer_ = SetTimer(nullptr, 0, 30, Tick);
  }
  ~ColourDialogUser() {
    KillTimer(nullptr, timer_);
    self_ = nullptr;
  }
  int stage = 0;

 private:
  static BOOL CALLBACK FindColourDialog(HWND window, LPARAM found) {
    char cls[16] = {};
    GetClassNameA(window, cls, sizeof cls);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId() && lstrcmpA(cls, "#32770") == 0 && IsWindowVisible(window) &&
        GetDlgItem(window, 706)) {
      *reinterpret_cast<HWND*>(found) = window;
      return FALSE;
    }
    return TRUE;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    ColourDialogUser* self = self_;
    if (!self) return;
    HWND create = FindWindowA("#32770", "New Picture");
    HWND colour = nullptr;
    EnumWindows(FindColourDialog, LPARAM(&colour));
    if (self->stage == 0 && create && IsWindowVisible(create)) {
      self->stage = 1;
      SetDlgItemInt(create, 100, 5, FALSE);
      SetDlgItemInt(create, 101, 4, FALSE);
      PostMessageA(create, WM_COMMAND, MAKEWPARAM(105, BN_CLICKED), 0);
    } else if (self->stage == 1 && colour) {
      self->stage = 2;
      SetDlgItemTextA(colour, 706, "200");  // red, green, blue fields
      SetDlgItemTextA(colour, 707, "150");
      SetDlgItemTextA(colour, 708, "50");
      PostMessageA(colour, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    } else if (self->stage == 2 && !colour && create) {
      self->stage = 3;
      PostMessageA(create, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
  }
  static inline ColourDialogUser* self_ = nullptr;
  UINT_PTR timer_ = 0;
};

TEST_F(EditCommands, TheColourButtonChoosesTheFill) {
  SetNewImageColour(RGB(255, 255, 255));
  {
    ColourDialogUser user;
    Command(CMD_NEW_IMAGE);
    EXPECT_EQ(user.stage, 3);
  }
  HWND document = ActiveDocument();
  ASSERT_NE(document, nullptr);
  ASSERT_EQ(Slot(document, 0).width, 5);
  EXPECT_EQ(PixelOf(HGLOBAL(Slot(document, 0).image), 4, 3), (Bgr{50, 150, 200}));
  EXPECT_EQ(NewImageColour(), RGB(200, 150, 50));  // remembered for the next picture
}

}  // namespace
