#include "grey_dialog.h"

namespace quillo {

INT_PTR GreyDialogColours(UINT message, WPARAM wParam) {
  switch (message) {
    case WM_CTLCOLORSTATIC:
      SetBkColor(HDC(wParam), RGB(0xC0, 0xC0, 0xC0));
      return INT_PTR(GetStockObject(LTGRAY_BRUSH));
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
      return INT_PTR(GetStockObject(LTGRAY_BRUSH));
  }
  return 0;
}

}  // namespace quillo
