// Running an effect on the stage: the host context, the call, the tick that
// reaches the running effect, and the end of the saver window.
#include <cstdlib>
#include <cstring>

#include "contracts/dib_services.h"
#include "saver_stage.h"
#include "stage_slot.h"

namespace quillo::stage {

UINT TickPeriodFromEnvironment() {
  char text[16] = {};
  const DWORD length = GetEnvironmentVariableA(kTickPeriodVariable, text, sizeof text);
  if (length == 0 || length >= sizeof text) return kTickPeriodMs;
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || value < 10 || value > 1000) return kTickPeriodMs;
  return UINT(value);
}

bool StageOpen(SaverStage& stage, HWND saverWindow, HINSTANCE instance, const char* className) {
  stage.saverWindow = saverWindow;
  stage.closing = false;
  // A fresh view state for the new child; the working image stays in its slot.
  const HGLOBAL image = SlotImage(stage.view);
  stage.view = {};
  SetSlotImage(stage.view, image);
  stage.view.zoom = 1.0f;
  stage.view.dragIndex = -1;
  stage.view.document = saverWindow;
  stage.child = CreateStageChild(stage, saverWindow, instance, className);
  if (!stage.child) return false;
  stage.view.view = stage.child;
  SetTimer(saverWindow, kTickTimerId, stage.tickMs, nullptr);
  PostMessageA(saverWindow, WM_COMMAND, kReplayCommand, 0);
  return true;
}

void FillHostContext(SaverStage& stage, const void* parameters) {
  std::memset(stage.context, 0, sizeof stage.context);
  stage.context[kHostFrame] = UINT_PTR(stage.saverWindow);
  stage.context[kHostView] = UINT_PTR(stage.saverWindow);
  stage.context[kHostOriginalImage] = UINT_PTR(stage.source);
  stage.context[kHostNoDialog] = 1;
  stage.context[kHostParameters] = UINT_PTR(parameters);
}

bool RunEffectOnStage(SaverStage& stage, EffectFunction effect, int effectValue) {
  if (!effect || !IsWindow(stage.saverWindow)) return false;
  if (stage.child) PostMessageA(stage.child, VM_RELAYOUT, 0, 0);
  stage.context[kHostNoDialog] = 1;
  stage.mask = nullptr;
  ++stage.effectRuns;
  SetCursor(LoadCursor(nullptr, IDC_ARROW));
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(stage.saverWindow, GWLP_HINSTANCE));
  effect(stage.saverWindow, stage.child, instance, HOST_NOTIFY_MESSAGE, effectValue, stage.context,
         SlotAddress(stage.view), nullptr, &stage.effectWindow, &stage.mask, 0);
  stage.effectWindow = nullptr;
  // Whatever the effect left (its last frame, or the picture as passed in)
  // gives way to a fresh copy of the source for the next run.
  HGLOBAL fresh = stage.source ? Duplicate24BitsDIB(stage.source) : nullptr;
  HGLOBAL left = SlotImage(stage.view);
  if (left && left != stage.source) DestroyDIB(left);
  SetSlotImage(stage.view, fresh);
  if (stage.mask) {
    FreeAlpha(stage.mask);
    stage.mask = nullptr;
  }
  return fresh != nullptr && IsWindow(stage.saverWindow);
}

void EndEffect(SaverStage& stage) {
  HWND effect = stage.effectWindow;
  if (!effect || !IsWindow(effect)) return;
  SendMessageA(effect, WM_COMMAND, IDCANCEL, 0);
  if (IsWindow(effect)) DestroyWindow(effect);
}

bool StageTick(SaverStage& stage, uint32_t switchTicks, bool mayEnd) {
  HWND effect = stage.effectWindow;
  if (!effect || !IsWindow(effect)) return false;
  if (IsWindowVisible(effect)) ShowWindow(effect, SW_HIDE);
  ++stage.ticks;
  SendMessageA(effect, EM_SAVER_TICK, 0, LPARAM(stage.ticks));
  if (switchTicks == 0) switchTicks = kDefaultSwitchTicks;
  if (!mayEnd || stage.ticks % switchTicks != 0) return false;
  EndEffect(stage);
  return true;
}

void StageClose(SaverStage& stage) {
  EndEffect(stage);
  stage.closing = true;
}

void StageDestroy(SaverStage& stage) {
  stage.closing = true;
  EndEffect(stage);
  if (stage.child && IsWindow(stage.child)) DestroyWindow(stage.child);
  stage.child = nullptr;
  if (stage.saverWindow) KillTimer(stage.saverWindow, kTickTimerId);
}

void StageRelease(SaverStage& stage) {
  StagePicture held = {SlotImage(stage.view), stage.source};
  if (held.working == held.source) held.working = nullptr;
  FreePicture(&held);
  SetSlotImage(stage.view, nullptr);
  stage.source = nullptr;
  if (stage.gradient) HeapFree(GetProcessHeap(), 0, stage.gradient);
  stage.gradient = nullptr;
}

namespace {

// A window of this thread other than the saver window itself: an effect's
// hidden window that took the activation when it was made.
bool IsOwnWindow(const SaverStage& stage, HWND window) {
  return window && window != stage.saverWindow && GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId();
}

}  // namespace

bool AnswerStageMessage(SaverStage& stage, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  static const UINT query = RegisterWindowMessageA(kStageQueryMessageName);
  static const UINT refocus = RegisterWindowMessageA("QuilloSaverStageRefocus");
  if (message == kGradientMessage) {
    *result = LRESULT(stage.gradient);
    return true;
  }
  if (message == WM_ACTIVATE && LOWORD(wParam) == WA_INACTIVE && stage.saverWindow &&
      IsOwnWindow(stage, HWND(lParam))) {
    // Not the user leaving the saver: the activation comes back at once, so
    // keys keep reaching the saver window.
    PostMessageA(stage.saverWindow, refocus, 0, 0);
    *result = 1;
    return true;
  }
  if (message == refocus) {
    if (IsWindow(stage.saverWindow) && !stage.closing) {
      SetActiveWindow(stage.saverWindow);
      SetFocus(stage.saverWindow);
    }
    *result = 1;
    return true;
  }
  if (message != query) return false;
  switch (wParam) {
    case kQueryPaints: *result = LRESULT(stage.paints); break;
    case kQueryTicks: *result = LRESULT(stage.ticks); break;
    case kQueryEffectRuns: *result = LRESULT(stage.effectRuns); break;
    case kQueryEffectRunning: *result = stage.effectWindow && IsWindow(stage.effectWindow) ? 1 : 0; break;
    default: *result = 0; break;
  }
  return true;
}

}  // namespace quillo::stage
