// The print preview library "BXPRT3.DLL": its window controls and exports.
//
// Loading the library registers four global window classes (so dialog
// templates of any module place them by name): the bitmap button, the tool
// bar, the tab control and the tip popup.
#pragma once
#include <windows.h>

#define BXPRT3_BUTTON_CLASS "BmpBtn"
#define BXPRT3_TOOLBAR_CLASS "ToolBar"
#define BXPRT3_TAB_CLASS "Bexa TabCtrl"
#define BXPRT3_POPUP_CLASS "Bexa Popup Class"

// ---- Bitmap button ---------------------------------------------------------
// Style bits (low word of the window style).
#define BBS_TOGGLE 0x0002  // a click flips the check
#define BBS_RADIO 0x0004   // a click / BM_SETCHECK(1) unchecks the group's other buttons
// Returns the second user value of the creation record.
#define BB_GETUSERVALUE2 1124
// Also: BM_GETCHECK, BM_SETCHECK (wParam 0 or 1).
// A click (press and release inside) sends the parent WM_COMMAND with
// LOWORD(wParam) = the button's ID, HIWORD(wParam) = BN_CLICKED, lParam = the
// button's window.

// Creation record, passed as the creation parameter (lpParam of CreateWindow).
// The strip holds cells of cellWidth x cellHeight: the button whose ID is
// baseId + k shows the cell in column k mod cellsPerRow of the three-row block
// starting at row 3 * (k div cellsPerRow): normal, pressed, checked or
// disabled. With deleteBitmap non-zero the button deletes the strip when it
// is destroyed (give each button its own strip then, or set it on one only).
// A button created without a record draws a plain face with its text.
typedef struct BitmapButtonCreate {
  INT32 cellWidth;
  INT32 cellHeight;
  HBITMAP strip;
  INT32 baseId;
  INT32 deleteBitmap;
  INT32 cellsPerRow;
  INT32 userValue;
  INT32 radioFirstId;  // group range for BBS_RADIO, both ends included
  INT32 radioLastId;
  INT32 userValue2;    // returned by BB_GETUSERVALUE2
} BitmapButtonCreate;
#if defined(__cplusplus) && defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(BitmapButtonCreate) == 40, "ten 32-bit words in the 32-bit build");
#endif

// ---- Tool bar --------------------------------------------------------------
// No messages of its own: it draws its lines and window text, forwards
// WM_COMMAND to its parent, and paints static children transparently on its
// light-grey background.

// ---- Tab control -----------------------------------------------------------
// The window text at creation lists the tab names separated by ';' (empty
// names are skipped; creation fails when no name is left; names past the
// 40th are dropped). Messages (an index outside 0..count-1 is ignored):
#define TCM_ADDTAB 1024       // lParam: text. Returns the new index, -1 when 40 tabs exist
                              // or the text is null. The first tab is selected (1029 is
                              // posted to the control).
#define TCM_DELETETAB 1025    // wParam: index. Returns TRUE when deleted
#define TCM_FINDTAB 1026      // lParam: text, compared ignoring case. Returns index or -1
#define TCM_GETCOUNT 1027     // returns the number of tabs
#define TCM_GETCURRENT 1028   // returns the selected index (-1 when there are no tabs)
#define TCM_SELECTTAB 1029    // wParam: index; selects without notifying. Returns TRUE
#define TCM_GETTEXTLENGTH 1030  // wParam: index. Returns the length, -1 for a bad index
#define TCM_GETTEXT 1031      // wParam: index, lParam: buffer of at least
                              // TCM_GETTEXTLENGTH + 1 chars. Returns the length copied
#define TCM_ATTACHCHILD 1032  // wParam: index, lParam: a window shown only while that
                              // tab is selected (moved from any other tab). Returns TRUE
#define TCM_MAXTABS 40
// Notifications: WM_COMMAND to the parent, LOWORD(wParam) = the control's ID,
// HIWORD(wParam) = code, lParam = the control's window. A change by mouse or
// the Left/Right arrow keys (which wrap around) sends TCN_SELCHANGING first;
// a parent returning -1 refuses the change (the control beeps); after the
// change TCN_SELCHANGE follows.
#define TCN_SELCHANGE 1036
#define TCN_SELCHANGING 1037
// Style bit: each label gets a white copy one pixel down-right underneath.
#define TCS_TEXTSHADOW 0x0001

#ifdef __cplusplus
extern "C" {
#endif

// Shows text in the tip popup with its top-left corner at point (screen
// coordinates; moved so the popup stays on the screen). Closes after
// milliseconds (5000 when 0), at any key press of this thread, or at any
// timer message to the popup. Only one popup exists per process: a request
// from the same owner with the same non-zero ID while it is up restarts its
// time and returns 0; any other request replaces it. Empty or null text does
// nothing. Returns the popup when a new one was made, otherwise 0.
HWND CreateRDPopup(HWND owner, POINT point, const char* text, int id, int milliseconds);
// Closes the popup if one is up.
void DestroyRDPopup(void);
// While flag is non-zero, requests close the current popup and show nothing.
void RDPopupStop(BOOL flag);
// The library's module handle (for its resources).
HINSTANCE PVGetInstance(void);

#ifdef __cplusplus
}
#endif
