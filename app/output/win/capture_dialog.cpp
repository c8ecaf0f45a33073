#include "capture_dialog.h"

#include <commdlg.h>

#include <cstring>
#include <string>

#include "app/output/capture_rules.h"
#include "app/shell/app_state.h"
#include "app/shell/document_window.h"
#include "app/shell/resource_ids.h"
#include "avi_writer.h"
#include "contracts/dib_services.h"
#include "contracts/imaging_library.h"
#include "contracts/ui_controls.h"
#include "grey_dialog.h"
#include "modal_step.h"

namespace quillo {

namespace {

// Video for Windows 1.10 (high word of VideoForWindowsVersion) is needed.
constexpr DWORD kMinimumVfwVersion = 0x010A;

struct CaptureState {
  HWND dialog = nullptr;
  HHOOK keys = nullptr;
  int step = 1;  // kept between captures
  CaptureSize source, output;
  CaptureTimeline timeline;
  std::string path;
  AviWriter writer;
};
CaptureState g_capture;

void ShowNumber(HWND dialog, int id, int value) {
  SetDlgItemTextA(dialog, id, FormatCaptureNumber(value).c_str());
}

int SliderPosition(HWND dialog, int id) { return int(SendDlgItemMessageA(dialog, id, SL_GETPOS, 0, 0)); }

void SetSlider(HWND dialog, int id, int low, int high, int position) {
  HWND slider = GetDlgItem(dialog, id);
  SendMessageA(slider, SL_SETRANGE, 0, MAKELPARAM(low, high));
  SendMessageA(slider, SL_SETPOS, WPARAM(position), 1);
}

// Tab, Enter, Escape and the arrows move through the dialog whatever message
// loop runs (the studio's or a running effect's): a thread hook hands those
// keys to the dialog manager.
LRESULT CALLBACK CaptureKeysHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code >= 0 && wParam == PM_REMOVE && g_capture.dialog) {
    MSG* msg = reinterpret_cast<MSG*>(lParam);
    const bool key = msg->message == WM_KEYDOWN || msg->message == WM_KEYUP || msg->message == WM_CHAR;
    const bool navigation = msg->wParam == VK_TAB || msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE ||
                            (msg->wParam >= VK_LEFT && msg->wParam <= VK_DOWN && msg->message != WM_CHAR);
    if (((key && navigation) || msg->message == WM_SYSCHAR) &&
        (msg->hwnd == g_capture.dialog || IsChild(g_capture.dialog, msg->hwnd)) &&
        IsDialogMessageA(g_capture.dialog, msg)) {
      msg->message = WM_NULL;
      msg->wParam = 0;
      msg->lParam = 0;
    }
  }
  return CallNextHookEx(g_capture.keys, code, wParam, lParam);
}

void EnableSizeControls(HWND dialog, bool on) {
  for (int id : {IDC_CAPTURE_WIDTH_LABEL, IDC_CAPTURE_HEIGHT_LABEL, IDC_CAPTURE_SCALE_LABEL,
                 IDC_CAPTURE_WIDTH_TEXT, IDC_CAPTURE_HEIGHT_TEXT, IDC_CAPTURE_SCALE_TEXT,
                 IDC_CAPTURE_WIDTH, IDC_CAPTURE_HEIGHT, IDC_CAPTURE_SCALE})
    EnableWindow(GetDlgItem(dialog, id), on);
}

void OnInitDialog(HWND dialog) {
  g_capture.dialog = dialog;
  g_app.captureWindows[0] = dialog;
  g_capture.keys = SetWindowsHookExA(WH_GETMESSAGE, CaptureKeysHook, nullptr, GetCurrentThreadId());
  g_capture.step = CaptureStepOnOpen(g_capture.step);
  g_capture.output = {ClampCaptureSize(g_capture.source.width), ClampCaptureSize(g_capture.source.height)};
  SetSlider(dialog, IDC_CAPTURE_STEP, kCaptureMinStep, kCaptureMaxStep, g_capture.step);
  SetSlider(dialog, IDC_CAPTURE_WIDTH, kCaptureMinSize, kCaptureMaxSize, g_capture.output.width);
  SetSlider(dialog, IDC_CAPTURE_HEIGHT, kCaptureMinSize, kCaptureMaxSize, g_capture.output.height);
  SetSlider(dialog, IDC_CAPTURE_SCALE, kCaptureScaleMin, kCaptureScaleMax, kCaptureScaleNeutral);
  ShowNumber(dialog, IDC_CAPTURE_STEP_TEXT, g_capture.step);
  ShowNumber(dialog, IDC_CAPTURE_FRAMES_TEXT, 0);
  ShowWindow(GetDlgItem(dialog, IDC_CAPTURE_FAILED), SW_HIDE);
  ShowNumber(dialog, IDC_CAPTURE_WIDTH_TEXT, g_capture.output.width);
  ShowNumber(dialog, IDC_CAPTURE_HEIGHT_TEXT, g_capture.output.height);
  SetDlgItemTextA(dialog, IDC_CAPTURE_SCALE_TEXT,
                  FormatCaptureFactor(CaptureScaleFactor(kCaptureScaleNeutral)).c_str());
  EnableWindow(GetDlgItem(dialog, IDC_CAPTURE_STOP), FALSE);
}

void OnScale(HWND dialog) {
  const int position = SliderPosition(dialog, IDC_CAPTURE_SCALE);
  SetDlgItemTextA(dialog, IDC_CAPTURE_SCALE_TEXT, FormatCaptureFactor(CaptureScaleFactor(position)).c_str());
  g_capture.output = ScaledCaptureSize(g_capture.source.width, g_capture.source.height, position);
  // The size sliders move; their texts follow when they are touched.
  SendDlgItemMessageA(dialog, IDC_CAPTURE_WIDTH, SL_SETPOS, WPARAM(g_capture.output.width), 1);
  SendDlgItemMessageA(dialog, IDC_CAPTURE_HEIGHT, SL_SETPOS, WPARAM(g_capture.output.height), 1);
}

void OnRecord(HWND dialog, bool on) {
  if (on) g_capture.timeline.Record();
  else g_capture.timeline.Stop();
  EnableWindow(GetDlgItem(dialog, IDC_CAPTURE_RECORD), !on);
  EnableWindow(GetDlgItem(dialog, IDC_CAPTURE_STOP), on);
  EnableSizeControls(dialog, !on);
  // The focus must not stay on a button that just went grey.
  SetFocus(GetDlgItem(dialog, on ? IDC_CAPTURE_STOP : IDC_CAPTURE_RECORD));
}

void OnCommand(HWND dialog, int id) {
  switch (id) {
    case IDC_CAPTURE_STEP:
      g_capture.step = SliderPosition(dialog, id);
      ShowNumber(dialog, IDC_CAPTURE_STEP_TEXT, g_capture.step);
      break;
    case IDC_CAPTURE_WIDTH:
      g_capture.output.width = ClampCaptureSize(SliderPosition(dialog, id));
      ShowNumber(dialog, IDC_CAPTURE_WIDTH_TEXT, g_capture.output.width);
      break;
    case IDC_CAPTURE_HEIGHT:
      g_capture.output.height = ClampCaptureSize(SliderPosition(dialog, id));
      ShowNumber(dialog, IDC_CAPTURE_HEIGHT_TEXT, g_capture.output.height);
      break;
    case IDC_CAPTURE_SCALE: OnScale(dialog); break;
    case IDC_CAPTURE_RECORD: OnRecord(dialog, true); break;
    case IDC_CAPTURE_STOP: OnRecord(dialog, false); break;
    case IDCANCEL: DestroyWindow(dialog); break;
  }
}

// The file, its streams and the session go with the window, however it is
// destroyed (Close, or the frame ending), so what was written stays playable.
void OnDestroy() {
  g_capture.writer.Close();
  g_capture.timeline.Stop();
  if (g_capture.keys) UnhookWindowsHookEx(g_capture.keys);
  g_capture.keys = nullptr;
  g_capture.dialog = nullptr;
  g_app.captureWindows[0] = nullptr;
  RefreshToolButtons();
}

INT_PTR CALLBACK CaptureDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      OnInitDialog(dialog);
      return TRUE;
    case WM_COMMAND:
      OnCommand(dialog, LOWORD(wParam));
      return TRUE;
    case WM_DESTROY:
      OnDestroy();
      return TRUE;
  }
  return GreyDialogColours(message, wParam);
}

bool AskForFile(HWND frame, std::string* path) {
  char file[300] = "";
  const std::string title = LoadResString(IDS_AVI_SAVE_TITLE);
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = frame;
  ofn.lpstrFilter = "*.AVI\0*.avi\0";
  ofn.lpstrFile = file;
  ofn.nMaxFile = sizeof file;
  ofn.lpstrTitle = title.c_str();
  ofn.lpstrDefExt = "AVI";
  ofn.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_EXPLORER;
  if (!GetSaveFileNameA(&ofn)) return false;
  *path = file;
  return true;
}

// The first frame opens the file: header, streams and the codec choice.
bool OpenCaptureFile(const BITMAPINFOHEADER& first, LONG frameBytes) {
  const BITMAPINFOHEADER format = CaptureSampleFormat(first, g_capture.output.width, g_capture.output.height);
  ModalStep aside;  // the codec dialog is modal
  return g_capture.writer.Open(g_capture.path.c_str(), format, frameBytes, g_capture.dialog);
}

void ShowWriteResult(bool written) {
  HWND dialog = g_capture.dialog;
  if (written) {
    g_capture.timeline.CountWritten();
    ShowNumber(dialog, IDC_CAPTURE_FRAMES_TEXT, g_capture.timeline.framesWritten());
  }
  ShowWindow(GetDlgItem(dialog, IDC_CAPTURE_FAILED), written ? SW_HIDE : SW_SHOW);
}

}  // namespace

void StartAviCapture(HWND frame, HWND document) {
  UndoSlot* slot = document ? CurrentSlot(document) : nullptr;
  if (!slot || !slot->image || g_capture.dialog) return;
  g_capture.timeline.Reset();
  if (HIWORD(VideoForWindowsVersion()) < kMinimumVfwVersion) {
    MessageBoxA(frame, LoadResString(IDS_AVI_OLD_VFW), nullptr, MB_OK | MB_ICONHAND);
    return;
  }
  if (!AskForFile(frame, &g_capture.path)) return;
  // The document may have gone while the file dialog ran.
  slot = IsWindow(document) ? CurrentSlot(document) : nullptr;
  if (!slot || !slot->image) return;
  g_capture.source = {slot->width, slot->height};
  CreateDialogParamA(g_app.resources, "Pages", frame, CaptureDialogProc, 0);
  RefreshToolButtons();
}

void CaptureEffectFrame(HGLOBAL frame) {
  if (!g_capture.dialog || !g_capture.timeline.recording() || !IsValidDIB(frame)) return;
  const CaptureSize out = g_capture.output;
  const std::optional<int32_t> frameBytes = CaptureFrameBytes(out.width, out.height);
  if (!frameBytes) {
    // Too large for one stream sample: the frame stays as it is, unwritten.
    MessageBeep(0);
    ShowWriteResult(false);
    return;
  }
  // Other sizes are resampled, other depths brought to 24 bits.
  int width = 0, height = 0;
  BITMAPINFOHEADER first = {};
  if (auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(frame))) {
    width = header->biWidth;
    height = header->biHeight;
    first = *header;
    GlobalUnlock(frame);
  }
  HGLOBAL sample = width == out.width && height == out.height ? TrueColorDIB(frame)
                                                              : ZoomDIBEx(frame, out.width, out.height);
  if (!sample) {
    ShowWriteResult(false);
    return;
  }
  if (!g_capture.writer.opened() && !OpenCaptureFile(first, *frameBytes)) {
    if (sample != frame) DestroyDIB(sample);
    if (g_capture.dialog) DestroyWindow(g_capture.dialog);
    return;
  }
  bool written = false;
  if (auto* locked = static_cast<char*>(GlobalLock(sample))) {
    const std::optional<int32_t> position = g_capture.timeline.TakeSample(g_capture.step);
    if (position) written = g_capture.writer.Write(*position, FindDIBBits(locked), *frameBytes);
    GlobalUnlock(sample);
  }
  if (sample != frame) DestroyDIB(sample);
  if (g_capture.dialog) ShowWriteResult(written);
}

}  // namespace quillo
