// New image (0x7116): the "Create" dialog asks for a size and a colour; the
// new picture opens in a window titled "Noname".
#include <windows.h>
#include <commdlg.h>

#include "app/shell/app_state.h"
#include "app/shell/resource_ids.h"
#include "contracts/dib_services.h"
#include "edit_commands.h"
#include "effect_browser.h"
#include "modal_step.h"

namespace quillo {

namespace {

// Controls of the "Create" dialog.
constexpr int kWidthField = 100;
constexpr int kHeightField = 101;
constexpr int kWidthList = 102;
constexpr int kHeightList = 103;
constexpr int kColourSwatch = 104;
constexpr int kColourButton = 105;

constexpr int kMinSide = 1;
constexpr int kMaxSide = 16383;
constexpr int kSizes[] = {32, 64, 100, 120, 160, 200, 250, 320, 500, 640, 800, 1000, 1240, 1600, 2000};

COLORREF g_newImageColour = RGB(255, 255, 255);

struct CreateState {
  COLORREF colour;
  HBRUSH swatch;
  int width;
  int height;
};

void FillSizeList(HWND dialog, int list) {
  for (int size : kSizes) {
    char text[16];
    wsprintfA(text, "%d", size);
    SendDlgItemMessageA(dialog, list, CB_ADDSTRING, 0, LPARAM(text));
  }
}

// The size in a number field; values below 1 (or no number) take the list's
// selection, values above the range are cut to 16383. 0 when neither gives
// a size.
int ChosenSide(HWND dialog, int field, int list) {
  BOOL read = FALSE;
  int value = int(GetDlgItemInt(dialog, field, &read, TRUE));
  if (!read || value < kMinSide) {
    const LRESULT index = SendDlgItemMessageA(dialog, list, CB_GETCURSEL, 0, 0);
    const int count = int(sizeof kSizes / sizeof kSizes[0]);
    value = index >= 0 && index < count ? kSizes[index] : 0;
  }
  return value > kMaxSide ? kMaxSide : value;
}

void SetSwatch(CreateState* state, HWND dialog, COLORREF colour) {
  state->colour = colour;
  if (state->swatch) DeleteObject(state->swatch);
  state->swatch = CreateSolidBrush(colour);
  InvalidateRect(GetDlgItem(dialog, kColourSwatch), nullptr, TRUE);
}

void ChooseFillColour(HWND dialog, CreateState* state) {
  static COLORREF custom[16] = {};
  CHOOSECOLORA choose = {};
  choose.lStructSize = sizeof choose;
  choose.hwndOwner = dialog;
  choose.rgbResult = state->colour;
  choose.lpCustColors = custom;
  choose.Flags = CC_RGBINIT | CC_FULLOPEN;
  if (ChooseColorA(&choose)) SetSwatch(state, dialog, choose.rgbResult);
}

INT_PTR CALLBACK CreateDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<CreateState*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      state = reinterpret_cast<CreateState*>(lParam);
      SetWindowLongPtrA(dialog, DWLP_USER, LONG_PTR(state));
      SendDlgItemMessageA(dialog, kWidthField, EM_LIMITTEXT, 5, 0);
      SendDlgItemMessageA(dialog, kHeightField, EM_LIMITTEXT, 5, 0);
      SetDlgItemInt(dialog, kWidthField, 640, FALSE);
      SetDlgItemInt(dialog, kHeightField, 480, FALSE);
      FillSizeList(dialog, kWidthList);
      FillSizeList(dialog, kHeightList);
      SetSwatch(state, dialog, state->colour);
      return TRUE;
    case WM_CTLCOLORSTATIC:
      if (state && HWND(lParam) == GetDlgItem(dialog, kColourSwatch) && state->swatch)
        return INT_PTR(state->swatch);
      return FALSE;
    case WM_COMMAND: {
      if (!state) return FALSE;
      const int id = LOWORD(wParam);
      const int code = HIWORD(wParam);
      if ((id == kWidthList || id == kHeightList) && code == CBN_SELCHANGE) {
        const LRESULT index = SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0);
        if (index >= 0 && index < LRESULT(sizeof kSizes / sizeof kSizes[0]))
          SetDlgItemInt(dialog, id == kWidthList ? kWidthField : kHeightField, UINT(kSizes[index]), FALSE);
        return TRUE;
      }
      if (id == kColourButton && code == BN_CLICKED) {
        ChooseFillColour(dialog, state);
        return TRUE;
      }
      if (id == IDOK) {
        state->width = ChosenSide(dialog, kWidthField, kWidthList);
        state->height = ChosenSide(dialog, kHeightField, kHeightList);
        if (state->width < kMinSide || state->height < kMinSide) {
          MessageBeep(0);  // no size given: the dialog stays open
          return TRUE;
        }
        EndDialog(dialog, IDOK);
        return TRUE;
      }
      if (id == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      return FALSE;
    }
    case WM_DESTROY:
      if (state && state->swatch) {
        DeleteObject(state->swatch);
        state->swatch = nullptr;
      }
      return FALSE;
  }
  return FALSE;
}

}  // namespace

COLORREF NewImageColour() { return g_newImageColour; }
void SetNewImageColour(COLORREF colour) { g_newImageColour = colour; }

void CreateNewPicture(HWND frame) {
  CreateState state = {g_newImageColour, nullptr, 0, 0};
  INT_PTR answer;
  {
    ModalStep aside;
    answer = DialogBoxParamA(g_app.resources, "Create", frame, CreateDialogProc, LPARAM(&state));
  }
  if (answer != IDOK) return;
  g_newImageColour = state.colour;
  HGLOBAL image = CreateDIB(state.width, state.height, 24);
  if (image && !SingleColorDIB(image, state.colour)) {
    DestroyDIB(image);
    image = nullptr;
  }
  if (!image || !OpenPictureWindow(image, nullptr, "Noname"))
    MessageBoxA(frame, LoadResString(IDS_NEW_IMAGE_FAILED), nullptr, MB_OK | MB_ICONINFORMATION);
}

}  // namespace quillo
