// The stage a saver engine replays effects on: the stub's full-screen saver
// window, a centred image child window that answers the image-window
// messages effects send to a document view, the host context handed to the
// effect, the one-second tick and the fit of the picture to the screen.
//
// One SaverStage per engine (the engine keeps it module-wide). The engine
// supplies what differs between engines (which picture, which effect, when
// to switch); the stage does the window and effect plumbing both share.
//
// Ownership: the stage owns the working image (slot 0 of the view state),
// the source copy and the gradient copy; StageRelease frees them.
#pragma once
#include <windows.h>

#include <cstdint>

#include "app/shell/win/document_record.h"
#include "contracts/plugin_contract.h"

namespace quillo::stage {

// The view state has the field layout of a document window's record, so an
// effect that treats the view like a document window finds its fields where
// it expects them. Window long 0 of the image child holds its address.
using SaverViewState = DocumentRecord;

// Timer id and message the stage uses on the saver window.
constexpr UINT_PTR kTickTimerId = 106;
constexpr UINT kTickPeriodMs = 1000;
constexpr WPARAM kReplayCommand = 321;  // WM_COMMAND wParam that starts the replay
constexpr UINT kGradientMessage = 2083;  // answered with the gradient table address
constexpr UINT kPackageNameMessage = 2123;  // answered with StageName()
// A switch period of 0 ticks stands for this many.
constexpr uint32_t kDefaultSwitchTicks = 300;

// Test and demonstration switch: when the environment variable
// QUILLO_SAVER_TICK_MS holds a whole number from 10 to 1000 when the engine
// loads, the tick timer runs at that period instead of 1000 ms, so package
// switches (counted in ticks) happen that much sooner.
constexpr char kTickPeriodVariable[] = "QUILLO_SAVER_TICK_MS";

// Test and demonstration switch: the saver window answers the registered
// message of this name (wParam one of StageQuery) with a counter.
constexpr char kStageQueryMessageName[] = "QuilloSaverStageQuery";
enum StageQuery : WPARAM {
  kQueryPaints = 0,      // image child paints that drew the image
  kQueryTicks = 1,       // tick messages sent to the running effect
  kQueryEffectRuns = 2,  // effect runs started (one per package shown)
  kQueryEffectRunning = 3,  // 1 while an effect window exists
};

// A picture ready for the stage: the working 24-bit image and its 24-bit
// source copy. Both null, or both valid.
struct StagePicture {
  HGLOBAL working = nullptr;
  HGLOBAL source = nullptr;
};

struct SaverStage {
  HWND saverWindow = nullptr;   // the stub's full-screen window (host frame)
  HWND child = nullptr;         // the image child
  HWND effectWindow = nullptr;  // the running effect's window, returned by Process
  HostContext context = {};
  SaverViewState view = {};     // slot 0's image is the working image
  HGLOBAL source = nullptr;     // 24-bit source copy (context word 9)
  BYTE* mask = nullptr;         // always null: the stage has no mask
  LPVOID gradient = nullptr;    // heap copy of the module's "GRADIENT" "Default"
  const char* name = "";        // answered to message 2123; owned by the engine
  UINT tickMs = kTickPeriodMs;  // timer period (see kTickPeriodVariable)
  uint32_t ticks = 0;           // tick counter, advanced before each tick message
  uint32_t paints = 0;          // image paints, for the query message
  uint32_t effectRuns = 0;      // effect runs started, for the query message
  bool closing = false;         // set on WM_CLOSE / WM_DESTROY of the saver window
};

// ---- Set-up ------------------------------------------------------------------

// Registers the image child class `className` ("Mail Saver Child", "Saver
// Child") for the engine module `instance`: CS_HREDRAW | CS_VREDRAW |
// CS_GLOBALCLASS, arrow cursor, black background, 20 bytes of window extra
// data. TRUE when registered (or already registered by this module). The
// child is transparent to the mouse: moves and clicks over the picture
// reach the saver window, which ends on them.
BOOL RegisterStageChildClass(HINSTANCE instance, const char* className);
// Unregisters it again; the engine calls this when it unloads, since the
// class procedure lives in the engine's code.
void UnregisterStageChildClass(HINSTANCE instance, const char* className);

// The tick period from kTickPeriodVariable, or kTickPeriodMs. Engines read
// it once when they load and store it in SaverStage::tickMs.
UINT TickPeriodFromEnvironment();

// A heap copy (HeapAlloc on the process heap, as FreeGradient expects) of
// the module's resource "GRADIENT" "Default": the 40-byte header and as many
// 96-byte entries as its count (word at byte 36) says, which must all lie
// inside the resource. Null when missing or malformed.
LPVOID CopyGradientResource(HINSTANCE module);

// ---- Pictures ----------------------------------------------------------------

// Turns a freshly decoded picture into a stage picture: a 24-bit copy and its
// source copy. `decoded` is always freed. False (nothing allocated) on failure.
bool PreparePicture(HGLOBAL decoded, StagePicture* out);
// Frees both images of a picture that was not installed and zeroes them.
void FreePicture(StagePicture* picture);
// Puts `picture` on the stage (taken over; zeroed), freeing the images the
// stage held before. Never fails.
void InstallPicture(SaverStage& stage, StagePicture* picture);

// ---- The saver window ----------------------------------------------------------

// At the saver window's WM_CREATE: remembers the window, creates the image
// child of class `className` at (0, 0) in the working image's size, starts
// the tick timer and posts WM_COMMAND kReplayCommand to the window. False
// when the child cannot be made (the screen then stays black).
bool StageOpen(SaverStage& stage, HWND saverWindow, HINSTANCE instance, const char* className);

// Fills the host context for a run: words 0 and 1 = saver window, word 9 =
// source copy, word 10 = 1 (no dialog), word 11 = `parameters` (may be
// null), every other word 0.
void FillHostContext(SaverStage& stage, const void* parameters);

// Shrinks the working image into the screen area the option flags ask for
// (see the package kernels' FitToScreen, with the four system metrics); a
// failed resample leaves the image as it was. Posts 2054 to the child when
// the image changed.
void FitPictureToScreen(SaverStage& stage, int32_t optionFlags);

// Runs `effect` on the stage until its window closes: posts 2054 to the
// child, sets the arrow cursor and calls the effect with the saver window,
// the child, the saver's instance, 2053, `effectValue`, the host context,
// the working image's slot, no selection, the effect-window variable and
// the (null) mask. Afterwards puts a fresh 24-bit copy of the source copy
// in the slot, freeing what the effect left there. False when that copy
// failed (the slot is then empty) or the saver window is gone.
bool RunEffectOnStage(SaverStage& stage, EffectFunction effect, int effectValue);

// Ends the running effect, if any: WM_COMMAND IDCANCEL, then DestroyWindow.
void EndEffect(SaverStage& stage);

// At WM_TIMER kTickTimerId: when an effect runs, hides its window if shown
// and sends it 2119 with the advanced tick counter. When `mayEnd` and the
// counter is a multiple of `switchTicks` (0 counts as kDefaultSwitchTicks)
// the effect is ended; true then.
bool StageTick(SaverStage& stage, uint32_t switchTicks, bool mayEnd);

// At WM_CLOSE: ends the effect and sets the closing flag.
void StageClose(SaverStage& stage);
// At WM_DESTROY: destroys the child, kills the timer, sets the closing flag.
void StageDestroy(SaverStage& stage);
// Frees the working image, the source copy and the gradient copy.
void StageRelease(SaverStage& stage);

// Answers the messages the saver window procedure shares between engines:
// kGradientMessage (gradient address), the registered query message, and
// WM_ACTIVATE losing the activation to another window of the saver's own
// thread (an effect's hidden window takes it when it is made; the stage
// takes it back rather than let the saver close). True when `message` was
// one of them; *result holds the answer (non-zero for the activation, so
// the stub's default handling does not see it).
bool AnswerStageMessage(SaverStage& stage, UINT message, WPARAM wParam, LPARAM lParam,
                        LRESULT* result);

// The working image in slot 0 (null when empty).
HGLOBAL StageImage(const SaverStage& stage);

}  // namespace quillo::stage
