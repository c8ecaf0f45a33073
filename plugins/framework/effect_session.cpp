#include "effect_session.h"

#include <algorithm>
#include <cstdio>

#include "contracts/dib_format.h"
#include "contracts/dib_services.h"
#include "contracts/plugin_contract.h"
#include "contracts/ui_controls.h"
#include "dialog_window.h"
#include "plugin_module.h"

namespace quillo {

namespace {

constexpr int kProgressRowStep = 16;

bool IsSlider(int id) { return id >= 501 && id < 600; }
bool IsCheckBox(int id) { return id >= 601 && id < 700; }
bool IsRadio(int id) { return id >= 801 && id < 900; }

}  // namespace

EffectSession::~EffectSession() { ReleasePreview(); }

void EffectSession::ParameterChanged() { RunPreviewPass(); }

PixelPass EffectSession::FullPass() const {
  PixelPass pass;
  pass.source = backupBits;
  pass.target = liveBits;
  pass.width = width;
  pass.height = height;
  pass.stride = stride;
  pass.colBegin = area.left;
  pass.colEnd = area.right;
  pass.rowBegin = area.firstRow;
  pass.rowEnd = area.endRow;
  return pass;
}

PixelPass EffectSession::PreviewPass() const {
  PixelPass pass;
  pass.source = previewSourceBits;
  pass.target = previewTarget;
  pass.width = previewWidth;
  pass.height = previewHeight;
  pass.stride = previewStride;
  const EffectArea scaled = ScaleArea(area, width, height, previewWidth, previewHeight);
  pass.colBegin = std::clamp(scaled.left, 0, previewWidth);
  pass.colEnd = std::clamp(scaled.right, pass.colBegin, previewWidth);
  pass.rowBegin = std::clamp(scaled.firstRow, 0, previewHeight);
  pass.rowEnd = std::clamp(scaled.endRow, pass.rowBegin, previewHeight);
  return pass;
}

bool EffectSession::RunPixelLoop(const PixelPass& pass, bool withProgress) {
  stopRequested = 0;
  busy = 1;
  return RunPass(pass, withProgress);
}

bool EffectSession::Checkpoint(int percent) {
  if (HWND progress = dialogWindow ? GetDlgItem(dialogWindow, IDC_EFFECT_PROGRESS) : nullptr)
    SendMessageA(progress, PB_SETPERCENT, WPARAM(std::clamp(percent, 0, 100)), 0);
  PumpWaitingMessages();
  return !stopRequested;
}

bool EffectSession::RunStage(int begin, int end, int fromPercent, int toPercent, int step,
                             bool withProgress, const std::function<void(int, int)>& work) {
  for (int i = begin; i < end;) {
    if (withProgress && i % step == 0 &&
        !Checkpoint(fromPercent + int(int64_t(i - begin) * (toPercent - fromPercent) / (end - begin))))
      return false;
    const int next = std::min(end, (i / step + 1) * step);
    work(i, next);
    i = next;
  }
  return true;
}

bool EffectSession::RunPass(const PixelPass& pass, bool withProgress) {
  PreparePass(pass);
  return RunStage(pass.rowBegin, pass.rowEnd, 0, 100, kProgressRowStep, withProgress,
                  [&](int begin, int end) { ProcessRows(pass, begin, end); });
}

void EffectSession::ReplacePicture(HGLOBAL picture, BYTE* mask) {
  if (replacement) DestroyDIB(replacement);
  if (replacementMask) FreeAlpha(replacementMask);
  replacement = picture;
  replacementMask = mask;
  if (imageHandle) *imageHandle = picture;
  if (maskAddress && originalMask) *maskAddress = mask;
}

void EffectSession::BeginPass(bool waitCursor) {
  HWND cancel = GetDlgItem(dialogWindow, IDC_EFFECT_CANCEL);
  SetCapture(cancel ? cancel : dialogWindow);
  if (waitCursor) SetCursor(LoadCursor(nullptr, IDC_WAIT));
  if (HWND progress = GetDlgItem(dialogWindow, IDC_EFFECT_PROGRESS)) {
    SendMessageA(progress, PB_SETPERCENT, 0, 0);
    ShowWindow(progress, SW_SHOW);
    UpdateWindow(progress);
  }
  if (HWND apply = GetDlgItem(dialogWindow, IDC_EFFECT_APPLY)) EnableWindow(apply, FALSE);
  busy = 1;
}

void EffectSession::EndPass(bool waitCursor) {
  busy = 0;
  if (waitCursor) SetCursor(LoadCursor(nullptr, IDC_ARROW));
  if (HWND progress = GetDlgItem(dialogWindow, IDC_EFFECT_PROGRESS)) ShowWindow(progress, SW_HIDE);
  if (ownerWindow) SendMessageA(ownerWindow, notifyMessage, ChangesSize() ? 1 : 0, 0);
  ReleaseCapture();
  if (HWND apply = GetDlgItem(dialogWindow, IDC_EFFECT_APPLY)) EnableWindow(apply, TRUE);
}

void EffectSession::RunPreviewPass() {
  if (!previewWindow || !ready || busy) return;
  ReadOptions(dialogWindow);
  BeginPass(false);
  const bool finished = RunPixelLoop(PreviewPass(), true);
  EndPass(false);
  if (!finished && BeepsOnStop()) MessageBeep(0);
  InvalidateRect(previewWindow, nullptr, FALSE);
}

void EffectSession::RunApplyPass() {
  if (busy) return;
  ReadOptions(dialogWindow);
  const bool stoppable = ApplyIsStoppable();
  BeginPass(true);
  const bool finished = RunPixelLoop(FullPass(), stoppable);
  EndPass(true);
  if (!finished && BeepsOnStop()) MessageBeep(0);
  if (viewWindow) {
    SendMessageA(viewWindow, VM_REDRAW, 0, 0);
    if (ChangesSize()) SendMessageA(viewWindow, VM_RELAYOUT, 0, 0);
  }
}

void EffectSession::RunLivePass() {
  if (!ready || busy) return;
  ReadOptions(dialogWindow);
  busy = 1;
  RunPixelLoop(FullPass(), false);
  busy = 0;
  if (viewWindow) {
    SendMessageA(viewWindow, VM_REDRAW, 0, 0);
    InvalidateRect(viewWindow, nullptr, FALSE);
  }
}

void EffectSession::PreparePreview() {
  HWND preview = GetDlgItem(dialogWindow, IDC_EFFECT_PREVIEW);
  if (!preview) return;
  if (!HasPreview()) return;
  SendMessageA(preview, PV_SET_PICTURE, WPARAM(liveHandle), 0);
  HGLOBAL shown = HGLOBAL(SendMessageA(preview, PV_GET_PICTURE, 0, 0));
  HGLOBAL source = shown ? Duplicate24BitsDIB(shown) : nullptr;
  auto* shownDib = shown ? static_cast<char*>(GlobalLock(shown)) : nullptr;
  auto* sourceDib = source ? static_cast<char*>(GlobalLock(source)) : nullptr;
  const bool sound = shownDib && sourceDib &&
                     reinterpret_cast<BITMAPINFOHEADER*>(shownDib)->biBitCount == 24 &&
                     DIBWidth(shownDib) == DIBWidth(sourceDib) &&
                     DIBHeight(shownDib) == DIBHeight(sourceDib) && DIBWidth(shownDib) > 0 &&
                     DIBHeight(shownDib) > 0;
  if (!sound) {
    if (shownDib) GlobalUnlock(shown);
    if (sourceDib) GlobalUnlock(source);
    if (source) DestroyDIB(source);
    DestroyWindow(preview);
    return;
  }
  previewWindow = preview;
  previewTargetHandle = shown;
  previewTarget = reinterpret_cast<uint8_t*>(FindDIBBits(shownDib));
  previewSource = source;
  previewSourceBits = reinterpret_cast<uint8_t*>(FindDIBBits(sourceDib));
  previewWidth = DIBWidth(shownDib);
  previewHeight = DIBHeight(shownDib);
  previewStride = int(Stride24(previewWidth));
}

void EffectSession::ReleasePreview() {
  if (previewTargetHandle) GlobalUnlock(previewTargetHandle);
  previewTargetHandle = nullptr;
  previewTarget = nullptr;
  if (previewSource) {
    GlobalUnlock(previewSource);
    DestroyDIB(previewSource);
  }
  previewSource = nullptr;
  previewSourceBits = nullptr;
  previewWindow = nullptr;
}

void EffectSession::OnInitDialog(HWND dialog) {
  dialogWindow = dialog;
  if (HWND progress = GetDlgItem(dialog, IDC_EFFECT_PROGRESS)) ShowWindow(progress, SW_HIDE);
  InitControls(dialog);
  if (HasPreview()) PreparePreview();
  ready = 1;
  PostMessageA(dialog, WM_COMMAND, IDC_EFFECT_REFRESH, 0);
  if (RemembersPosition()) RestoreDialogPosition(dialogWindow);
}

void EffectSession::Close(bool accept) {
  if (accept) accepted = 1;
  if (RemembersPosition()) SaveDialogPosition(dialogWindow);
  DestroyWindow(dialogWindow);
}

void EffectSession::OnCommand(int id, int code, LPARAM lParam) {
  if (id == IDC_EFFECT_CANCEL) {
    if (busy)
      stopRequested = 1;
    else
      Close(false);
    return;
  }
  if (busy) return;  // while a pass runs only the stop is heard
  if (id == IDC_EFFECT_OK) {
    Close(true);
  } else if (id == IDC_EFFECT_REFRESH) {
    RunPreviewPass();
  } else if (id == IDC_EFFECT_APPLY) {
    RunApplyPass();
  } else if (IsSlider(id)) {
    HWND slider = GetDlgItem(dialogWindow, id);
    if (!slider) return;
    const int position = int(SendMessageA(slider, SL_GETPOS, 0, 0));
    char label[32] = {};
    SliderChanged(id, position, label, sizeof label);
    if (label[0]) SetDlgItemTextA(dialogWindow, id + 200, label);
    if (lParam == 0) ParameterChanged();
  } else if (IsCheckBox(id) || IsRadio(id)) {
    ButtonClicked(dialogWindow, id);
    ParameterChanged();
  } else {
    OtherCommand(dialogWindow, id, code, lParam);
  }
}

INT_PTR CALLBACK EffectSession::DialogProc(HWND dialog, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
  auto* session = reinterpret_cast<EffectSession*>(GetWindowLongPtrA(dialog, GWLP_USERDATA));
  switch (message) {
    case WM_INITDIALOG:
      session = reinterpret_cast<EffectSession*>(lParam);
      SetWindowLongPtrA(dialog, GWLP_USERDATA, LONG_PTR(session));
      session->OnInitDialog(dialog);
      return TRUE;
    case WM_COMMAND:
      if (session) session->OnCommand(LOWORD(wParam), HIWORD(wParam), lParam);
      return TRUE;
    case TOOL_MOUSE_MESSAGE:
      if (session) session->ViewMouse(int(wParam), int16_t(LOWORD(lParam)), int16_t(HIWORD(lParam)));
      return TRUE;
    case WM_CLOSE:
      // The caption's close box acts as the cancel button.
      if (session) session->OnCommand(IDC_EFFECT_CANCEL, BN_CLICKED, 0);
      return TRUE;
    case WM_DESTROY:
      // The dialog hears WM_DESTROY before its controls do: the preview
      // control's picture is unlocked here, before the control frees it.
      if (session) {
        session->ReleasePreview();
        session->dialogWindow = nullptr;
      }
      return FALSE;
  }
  INT_PTR colour = 0;
  if (AnswerDialogColour(message, wParam, &colour)) return colour;
  return FALSE;
}

}  // namespace quillo
