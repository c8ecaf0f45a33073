// The gift player's state: one package, one window, one effect. The window
// is frame, view and effect target at once; its view state has the layout
// of a document window's record (window long 0), so effects find their
// fields where a document view keeps them.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/host/effect_record.h"
#include "app/shell/win/document_record.h"
#include "contracts/plugin_contract.h"
#include "kernels/gift_names.h"
#include "kernels/saver_install.h"

namespace quillo::giftutil {

constexpr char kWindowClass[] = "Bexa Mail gift Class";
constexpr char kSaverProgram[] = "MailSaver.SCR";
constexpr char kResourceModule[] = "Posy.R";
constexpr char kPreviewSwitch[] = "/preview";
constexpr char kWebPage[] = "https://quillo.example/download";

// Test and demonstration hook: the window answers the registered message of
// this name (wParam one of GiftQuery) with a figure of its state.
constexpr char kGiftQueryMessageName[] = "QuilloGiftQuery";
enum GiftQuery : WPARAM {
  kQueryHMax = 0,
  kQueryVMax = 1,
  kQueryZoomThousandths = 2,
  kQueryPlaying = 3,
  kQueryEffectRuns = 4,
  kQueryPaints = 5,
};

struct GiftPlayer {
  HINSTANCE instance = nullptr;
  HMODULE resources = nullptr;  // "Posy.R"
  std::string folder;           // the player's own folder, no trailing backslash
  std::string programPath;
  GiftNames names;
  bool preview = false;

  // The package.
  EffectRecord record = {};
  bool playable = false;        // record checked, plug-in loaded, GetResInst there
  HMODULE plugin = nullptr;
  std::vector<uint8_t> parameters;
  bool hasParameters = false;
  HGLOBAL source = nullptr;     // 24-bit copy of the fitted picture, made before the first run
  bool fitted = false;

  // The window and the effect on it.
  HWND window = nullptr;
  HMENU menu = nullptr;
  DocumentRecord view = {};     // slot 0 holds the working picture
  HostContext context = {};
  BYTE* mask = nullptr;         // always null: the player has no mask
  LPVOID gradient = nullptr;
  HWND effectWindow = nullptr;
  HCURSOR cursorOverride = nullptr;
  bool playing = false;
  bool endingEffect = false;    // a close that ended the effect, not the player
  bool layingOut = false;       // scroll bar changes resize the client area

  // Keeping the gift.
  SaverInstallPlan saverPlan;
  bool quietInstall = false;    // the install posted at start shows no message

  uint32_t effectRuns = 0;
  uint32_t paints = 0;

  const void* Parameters() const { return hasParameters ? parameters.data() : nullptr; }
};

extern GiftPlayer g_gift;

// gift_package.cpp: reading the package beside the player.
bool ReadGiftPicture(GiftPlayer& gift);     // false: nothing to show
void ReadGiftEffect(GiftPlayer& gift);      // sets `playable`
std::string SystemFolderPath(const char* fileName);  // file in the system folder
bool FileExists(const std::string& path);

// gift_window.cpp
bool RegisterGiftClass(HINSTANCE instance);
HWND CreateGiftWindow(GiftPlayer& gift);

// gift_paint.cpp: layout, scrolling, painting, mouse.
HGLOBAL SlotPicture(const GiftPlayer& gift);
void SetSlotPicture(GiftPlayer& gift, HGLOBAL picture);
void LayoutGift(GiftPlayer& gift);
void ScrollGift(GiftPlayer& gift, int bar, WPARAM wParam);
void WheelGift(GiftPlayer& gift, WPARAM wParam);
void PaintGift(GiftPlayer& gift);
void PaintOutsidePicture(GiftPlayer& gift, HDC dc);
void ZoomGift(GiftPlayer& gift, bool in);
bool ForwardMouse(GiftPlayer& gift, UINT message, WPARAM wParam, LPARAM lParam);

// gift_effect.cpp
void PlayGift(GiftPlayer& gift);
// Ends a running effect (IDCANCEL, then WM_CLOSE to its window); true when
// one was running.
bool EndGiftEffect(GiftPlayer& gift);

// gift_keep.cpp: what the receiver keeps.
bool PlaceDesktopShortcut(const GiftPlayer& gift);
bool InstallGiftSaver(const GiftPlayer& gift);
void OpenWebPage(HWND window);

}  // namespace quillo::giftutil
