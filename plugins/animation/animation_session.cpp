#include "animation_session.h"

#include <cstdio>
#include <cstring>

#include "contracts/plugin_contract.h"
#include "contracts/ui_controls.h"
#include "plugins/animation/kernels/seamless.h"
#include "plugins/framework/dialog_controls.h"
#include "plugins/framework/dialog_window.h"
#include "plugins/framework/plugin_module.h"

namespace quillo::animation {

namespace {

constexpr UINT kCancelLabelIdle = 13800;
constexpr UINT kCancelLabelPlaying = 13801;
constexpr int kSaveCommand = 28930;  // the host's save command, asked for with F2

// Removes and dispatches every waiting message. An F2 press is not
// dispatched: the host hears its save command instead. A WM_QUIT is put back
// for the loops further out and ends playing.
bool PumpFrameMessages(HWND owner) {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(int(msg.wParam));
      return false;
    }
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_F2) {
      if (owner) PostMessageA(owner, WM_COMMAND, kSaveCommand, 0);
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return true;
}

}  // namespace

AnimationSession::~AnimationSession() = default;

Speed AnimationSession::CursorSpeed(int factor) const {
  POINT cursor = {0, 0};
  GetCursorPos(&cursor);
  return SpeedFromCursor(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), cursor.x,
                         cursor.y, width, height, factor);
}

int AnimationSession::SliderPosition(int id) const { return quillo::SliderPosition(dialogWindow, id); }

void AnimationSession::SetSlider(int id, int low, int high, int position) {
  quillo::SetSlider(dialogWindow, id, low, high, position);
}

void AnimationSession::SetLabel(int id, const char* format, double value) {
  char text[32];
  if (std::strstr(format, "%d"))
    std::snprintf(text, sizeof text, format, int(value));
  else
    std::snprintf(text, sizeof text, format, value);
  SetDlgItemTextA(dialogWindow, id, text);
}

bool AnimationSession::Checked(int id) const { return quillo::Checked(dialogWindow, id); }

void AnimationSession::Check(int id, bool on) {
  CheckDlgButton(dialogWindow, id, on ? BST_CHECKED : BST_UNCHECKED);
}

void AnimationSession::CopyBackupInto(uint8_t* pixels, bool seamless) const {
  if (seamless)
    MakeSeamless(backupPixels, pixels, width, height, stride);
  else
    std::memcpy(pixels, backupPixels, size_t(stride) * size_t(height));
}

void AnimationSession::SetCancelLabel(UINT stringId) {
  char text[64] = {};
  if (LoadStringA(PluginResources(), stringId, text, sizeof text) > 0)
    SetDlgItemTextA(dialogWindow, IDC_EFFECT_CANCEL, text);
}

void AnimationSession::OnInitDialog(HWND dialog) {
  dialogWindow = dialog;
  if (HWND hint = GetDlgItem(dialog, IDC_EFFECT_PROGRESS)) ShowWindow(hint, SW_HIDE);
  // A stored block is taken whenever the caller gives one, with the dialog
  // shown too (the gift player replays a sender's settings that way). Its
  // own size field says how far it reaches; callers pass a block only when
  // that many bytes are there.
  if (const auto* block = reinterpret_cast<const uint8_t*>(call.ContextWord(kHostParameters))) {
    int32_t size = 0;
    std::memcpy(&size, block + 4, sizeof size);
    if (size >= 8) ApplyStoredBlock(block, size_t(size));
  }
  InitControls(dialog);
  SetCancelLabel(kCancelLabelIdle);
  if (RemembersPosition()) RestoreDialogPosition(dialog);
  PostMessageA(dialog, WM_COMMAND, IDC_EFFECT_APPLY, 0);
}

void AnimationSession::Close(bool accept) {
  if (!dialogWindow) return;
  if (playing) {
    // Closing waits for the frame loop to finish its frame.
    pendingClose_ = accept ? 1 : 0;
    stopRequested = 1;
    return;
  }
  if (accept) accepted = 1;
  if (RemembersPosition()) SaveDialogPosition(dialogWindow);
  if (!accept && !NotifiesWhenPlayingStops() && call.ownerWindow)
    SendMessageA(call.ownerWindow, call.notifyMessage, 0, 0);
  DestroyWindow(dialogWindow);
}

void AnimationSession::EnterPlaying() {
  playing = 1;
  stopRequested = 0;
  framesDrawn = 0;
  if (HWND play = GetDlgItem(dialogWindow, IDC_EFFECT_APPLY)) EnableWindow(play, FALSE);
  if (OkRule() == OkWhilePlaying::kIgnored)
    if (HWND ok = GetDlgItem(dialogWindow, IDC_EFFECT_OK)) EnableWindow(ok, FALSE);
  if (ShowsPlayingHint())
    if (HWND hint = GetDlgItem(dialogWindow, IDC_EFFECT_PROGRESS)) ShowWindow(hint, SW_SHOW);
  SetCancelLabel(kCancelLabelPlaying);
}

void AnimationSession::LeavePlaying() {
  playing = 0;
  StopPlaying();
  if (!dialogWindow) return;
  SetCancelLabel(kCancelLabelIdle);
  if (HWND ok = GetDlgItem(dialogWindow, IDC_EFFECT_OK)) EnableWindow(ok, TRUE);
  if (HWND play = GetDlgItem(dialogWindow, IDC_EFFECT_APPLY)) EnableWindow(play, TRUE);
  if (ShowsPlayingHint())
    if (HWND hint = GetDlgItem(dialogWindow, IDC_EFFECT_PROGRESS)) ShowWindow(hint, SW_HIDE);
  if (NotifiesWhenPlayingStops() && call.ownerWindow)
    SendMessageA(call.ownerWindow, call.notifyMessage, 0, 0);
}

void AnimationSession::Play() {
  if (playing || !dialogWindow) return;
  // The tables are built with the mouse held, so clicks wait for them.
  HWND cancel = GetDlgItem(dialogWindow, IDC_EFFECT_CANCEL);
  const bool onCancel = CaptureOnStart() == StartCapture::kCancelButton && cancel;
  SetCapture(onCancel ? cancel : dialogWindow);
  if (onCancel) SetCursor(LoadCursor(nullptr, IDC_WAIT));
  const bool ready = StartPlaying();
  ReleaseCapture();
  if (onCancel) SetCursor(LoadCursor(nullptr, IDC_ARROW));
  if (!ready) {
    MessageBeep(0);
    return;
  }
  EnterPlaying();
  if (cancel && !hidden) SetFocus(cancel);
  RunFrames();
  LeavePlaying();
  if (pendingClose_ >= 0) {
    const bool accept = pendingClose_ == 1;
    pendingClose_ = -1;
    Close(accept);
  }
}

void AnimationSession::RunFrames() {
  while (!stopRequested && dialogWindow) {
    Sleep(DWORD(FramePause()));
    DrawFrame();
    ++framesDrawn;
    if (framesDrawn == 1 && pictureReplaced && call.viewWindow)
      SendMessageA(call.viewWindow, VM_RELAYOUT, 1, 0);
    if (call.ownerWindow) SendMessageA(call.ownerWindow, EM_NEW_FRAME, WPARAM(liveHandle), 0);
    if (call.viewWindow) {
      InvalidateRect(call.viewWindow, nullptr, FALSE);
      UpdateWindow(call.viewWindow);
    }
    if (!PumpFrameMessages(call.ownerWindow)) {
      // The program is quitting: the run ends as a cancel.
      stopRequested = 1;
      pendingClose_ = 0;
    }
  }
}

bool AnimationSession::OnPackageQuery(UINT message, WPARAM wParam, LPARAM lParam) {
  auto* query = reinterpret_cast<UINT_PTR*>(lParam);
  if (!query) return false;
  std::vector<uint8_t> block = SettingsBlock();
  if (block.empty()) return false;
  if (message == EM_PACKAGE_QUERY) {
    query[kQuerySupported] = 1;
    query[kQueryItemCount] = 1;
    return true;
  }
  if (wParam != 0) return false;
  // The block's address stays valid until the next query or the end of the
  // run.
  handedBlock_ = std::move(block);
  query[kQueryItemKind] = 1;
  query[kQueryItemSize] = UINT_PTR(handedBlock_.size());
  query[kQueryItemData] = UINT_PTR(handedBlock_.data());
  return true;
}

void AnimationSession::OnCommand(int id, int code, LPARAM lParam) {
  switch (id) {
    case IDC_EFFECT_APPLY:
      Play();
      return;
    case IDC_EFFECT_CANCEL:
      if (playing)
        stopRequested = 1;
      else
        Close(false);
      return;
    case IDC_EFFECT_OK:
      if (!playing) {
        Close(true);
        return;
      }
      if (OkRule() == OkWhilePlaying::kStopsPlaying) stopRequested = 1;
      if (OkRule() == OkWhilePlaying::kAcceptsAndCloses) Close(true);
      return;
  }
  Command(id, code, lParam);
}

INT_PTR CALLBACK AnimationSession::DialogProc(HWND dialog, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
  auto* session = reinterpret_cast<AnimationSession*>(GetWindowLongPtrA(dialog, GWLP_USERDATA));
  if (message == WM_INITDIALOG) {
    session = reinterpret_cast<AnimationSession*>(lParam);
    SetWindowLongPtrA(dialog, GWLP_USERDATA, LONG_PTR(session));
    session->OnInitDialog(dialog);
    return TRUE;
  }
  if (!session) return FALSE;
  INT_PTR result = 0;
  switch (message) {
    case WM_COMMAND:
      session->OnCommand(LOWORD(wParam), HIWORD(wParam), lParam);
      return TRUE;
    case WM_CLOSE:
      // The caption's close box acts as the cancel button.
      session->OnCommand(IDC_EFFECT_CANCEL, BN_CLICKED, 0);
      return TRUE;
    case WM_DESTROY:
      // Destroyed from outside (a saver ending the run) while playing: the
      // frame loop ends at its next check.
      session->dialogWindow = nullptr;
      session->stopRequested = 1;
      return FALSE;
    case TOOL_MOUSE_MESSAGE:
      session->ViewMouse(int(wParam), int16_t(LOWORD(lParam)), int16_t(HIWORD(lParam)));
      return TRUE;
    case EM_SAVER_TICK:
      if (!session->Tick(int(lParam))) return FALSE;
      SetWindowLongPtrA(dialog, DWLP_MSGRESULT, 1);
      return TRUE;
    case EM_PACKAGE_QUERY:
    case EM_PACKAGE_ITEM:
      return session->OnPackageQuery(message, wParam, lParam) ? TRUE : FALSE;
  }
  if (session->Message(message, wParam, lParam, &result)) {
    // Colour messages answer with their brush; others through the result slot.
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) return result;
    SetWindowLongPtrA(dialog, DWLP_MSGRESULT, result);
    return TRUE;
  }
  if (AnswerDialogColour(message, wParam, &result)) return result;
  return FALSE;
}

}  // namespace quillo::animation
