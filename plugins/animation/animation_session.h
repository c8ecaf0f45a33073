// The record and the dialog mechanics every animated effect shares: the
// picture, its backup and the settlement of the caller's handle; the
// modeless dialog with its idle and playing states; the frame loop that
// draws into the caller's picture, tells the host about each frame and keeps
// the program responsive; hidden runs driven by the saver's ticks; stored
// settings read from the caller and handed out for packages.
//
// An animated effect derives from AnimationSession, names its dialog
// template, builds what playing needs in StartPlaying, draws one frame in
// DrawFrame and answers its own controls in Command; RunAnimation
// (animation_run.h) does the rest.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <new>
#include <vector>

#include "plugins/framework/effect_call.h"
#include "plugins/animation/kernels/cursor_speed.h"

namespace quillo::animation {

// What OK does while the animation plays.
enum class OkWhilePlaying {
  kIgnored,         // OK waits until playing stopped
  kStopsPlaying,    // OK stops playing, as Cancel does; the dialog stays
  kAcceptsAndCloses,  // OK stops playing and closes the dialog with result 1
};

// Where the mouse is captured while playing starts (tables being built).
enum class StartCapture {
  kCancelButton,  // item 2, with the wait cursor
  kDialog,
};

// Resizes `v` to `n` elements; false, with `v` emptied, when memory runs out.
template <class T>
bool TryResize(std::vector<T>& v, std::size_t n) {
  try {
    v.assign(n, T());
    return true;
  } catch (const std::bad_alloc&) {
    std::vector<T>().swap(v);
    return false;
  }
}

class AnimationSession {
 public:
  virtual ~AnimationSession();

  // --- What the effect says about itself -------------------------------
  virtual const char* TemplateName() const = 0;
  virtual OkWhilePlaying OkRule() const { return OkWhilePlaying::kIgnored; }
  virtual StartCapture CaptureOnStart() const { return StartCapture::kDialog; }
  // Restores and saves "DlgWinPos".
  virtual bool RemembersPosition() const { return true; }
  // Sends the view the address of sharedRect after set-up.
  virtual bool SharesRectangle() const { return false; }
  // Item 323 is a hint shown only while playing.
  virtual bool ShowsPlayingHint() const { return false; }
  // Sends the notify message to the host when playing stops (else only when
  // the dialog is cancelled).
  virtual bool NotifiesWhenPlayingStops() const { return true; }
  // Cursor of the resource module shown over the view during the run.
  virtual const char* ViewCursorName() const { return nullptr; }
  // Milliseconds between frames.
  virtual int FramePause() const { return 10; }
  // The smallest picture the effect can animate; smaller ones are refused
  // with a beep.
  virtual bool SizeWorkable(int width, int height) const { return width > 0 && height > 0; }
  // The size the effect animates a picture of width x height at (it may
  // turn, scale or widen it); the default keeps the size.
  struct PictureShape {
    int width = 0, height = 0;
    bool quarterTurn = false;  // turned a quarter turn before scaling
  };
  virtual PictureShape WorkingShape(int width, int height) const { return {width, height, false}; }
  // Sends the view a right-button press before the dialog opens, so it
  // drops whatever the user was dragging.
  virtual bool ResetsViewTool() const { return false; }
  // Plays on a black canvas of this size when the caller gives no picture
  // (0 x 0: such a run is refused).
  virtual PictureShape CanvasWithoutPicture() const { return {0, 0, false}; }

  // --- Effect hooks ------------------------------------------------------
  // Once the picture, backup and sizes are known, before the dialog: tables
  // and defaults. False refuses the run (beep, result 0).
  virtual bool Setup() { return true; }
  // Settings stored by the caller (a gift, a package, a saver): `data` holds
  // `size` bytes starting with the block's magic and size. Called before
  // InitControls; the effect checks the block itself.
  virtual void ApplyStoredBlock(const uint8_t* data, std::size_t size) {}
  // Control ranges, positions and button states at WM_INITDIALOG.
  virtual void InitControls(HWND dialog) {}
  // Everything playing needs (maps, fields). False: beep, stay idle.
  virtual bool StartPlaying() { return true; }
  // One frame into livePixels (from backupPixels or the effect's texture).
  virtual void DrawFrame() = 0;
  // Playing ended: free what StartPlaying made.
  virtual void StopPlaying() {}
  // Any command the kit does not handle itself (all but 1, 2 and 321).
  virtual void Command(int id, int code, LPARAM lParam) {}
  // A mouse event the view forwarded: code 22220 .. 22224, position in
  // picture pixels, y counted from the top.
  virtual void ViewMouse(int code, int x, int y) {}
  // The saver's one-second tick. True when the effect uses ticks (the kit
  // then answers 1).
  virtual bool Tick(int count) { return false; }
  // The current settings as a stored block (empty: the effect stores none).
  virtual std::vector<uint8_t> SettingsBlock() const { return {}; }
  // Any other dialog message; true when handled, with the answer in `result`
  // (for the WM_CTLCOLOR messages: the brush).
  virtual bool Message(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result) {
    return false;
  }
  // After the dialog closed and the caller's handle was settled.
  virtual void AfterClose() {}

  // --- Helpers for effects ----------------------------------------------
  // The texture shift the cursor asks for (factor 20 for most effects).
  Speed CursorSpeed(int factor = 20) const;
  int SliderPosition(int id) const;
  void SetSlider(int id, int low, int high, int position);
  void SetLabel(int id, const char* format, double value);
  bool Checked(int id) const;
  void Check(int id, bool on);
  // Rebuilds `pixels` of the working texture (a buffer the effect owns)
  // from the backup: plain copy or seamless.
  void CopyBackupInto(uint8_t* pixels, bool seamless) const;

  // --- Record fields -------------------------------------------------------
  EffectCall call;
  HWND dialogWindow = nullptr;
  HGLOBAL liveHandle = nullptr;    // the picture animated (the caller's, or its replacement)
  HGLOBAL backupHandle = nullptr;  // unchanged copy: source of frames, result of cancel
  uint8_t* livePixels = nullptr;
  uint8_t* backupPixels = nullptr;
  int width = 0, height = 0;
  int64_t stride = 0;
  bool pictureReplaced = false;    // the run animates a new picture of another size
  bool hidden = false;             // runs without showing its dialog
  int32_t sharedRect[4] = {0, 0, 0, 0};

  int32_t playing = 0;
  int32_t stopRequested = 0;
  int32_t accepted = 0;
  int framesDrawn = 0;  // frames of the current play

  // --- Kit mechanics ------------------------------------------------------
  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  // Starts playing (command 321): builds, then runs frames until stopped.
  void Play();
  void Close(bool accept);

 private:
  void OnInitDialog(HWND dialog);
  void OnCommand(int id, int code, LPARAM lParam);
  bool OnPackageQuery(UINT message, WPARAM wParam, LPARAM lParam);
  void EnterPlaying();
  void LeavePlaying();
  void RunFrames();
  void SetCancelLabel(UINT stringId);

  int pendingClose_ = -1;  // -1 none, else the accept flag of a close asked for while playing
  std::vector<uint8_t> handedBlock_;  // the block whose address a 2121 answer gave
};

}  // namespace quillo::animation
