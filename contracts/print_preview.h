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

// ---- Print preview window ------------------------------------------------
// The owner creates the frame with CreateWindowEx; the low bits of the
// window style are the options below. The library never knows what is on a
// page: the owner paints it, in printer device units ("page units"), either
// through the paint hook (message PVM_SETPAINTHOOK) or through a window
// procedure it installs on the three panes (PVM_SETPANEPROC), passing what it
// does not handle to the previous procedure with CallWindowProc.
#define BXPRT3_PREVIEW_CLASS "XXX BEXAPREVIEW 32 V2"
#define BXPRT3_MDI_PREVIEW_CLASS "XXX MDI BEXAPREVIEW 32 V2"
#define BXPRT3_PANE_CLASS "Preview"

#define PVS_HIDEPARENT 0x0001     // hide the parent while open, show it on destroy
#define PVS_DISABLEPARENT 0x0002  // disable the parent while open, enable and focus it on destroy
#define PVS_NOSETUP 0x0004        // grey the Printer Setup button
#define PVS_PRINTER 0x0020        // take a printer DC from GetPrinterDC; creation fails without one
#define PVS_SAVEFILE 0x0040       // add "Save To File" (24014, passed to the owner)
#define PVS_FONT 0x0080           // add "Font" (24015, passed to the owner)
#define PVS_ADDTEXT 0x0100        // add "Add Text" (24016, passed to the owner)
#define PVS_BUTTON24017 0x0200    // add button 24017 (passed to the owner)

// Panes (child IDs of the frame).
#define PV_PAGE_PANE 25001    // the whole page (also the magnifying glass)
#define PV_DETAIL_PANE 25002  // two-pane mode: the detail of the page pane's focus rectangle
#define PV_ZOOM_PANE 25003    // one-page mode zoomed in, scrolled

// Tool bar commands.
#define PV_CMD_TWO_PAGES 24000
#define PV_CMD_ONE_PAGE 24001
#define PV_CMD_PRINT_ALL 24002
#define PV_CMD_PREVIOUS 24003
#define PV_CMD_NEXT 24004
#define PV_CMD_SETUP 24005
#define PV_CMD_ZOOM_IN 24006
#define PV_CMD_ZOOM_OUT 24007
#define PV_CMD_EXIT 24008
#define PV_CMD_HELP 24009
#define PV_CMD_PRINT_PAGE 24010
#define PV_CMD_METER 24011
#define PV_CMD_MAGNIFIER 24012
#define PV_CMD_SAVE_FILE 24014
#define PV_CMD_FONT 24015
#define PV_CMD_ADD_TEXT 24016
#define PV_CMD_USER 24017
#define PV_CMD_COPIES 24018

// Messages to the frame or any of its panes (all reach the same state).
#define PVM_PAGETOPANE 1025     // pane only. lParam: POINT* in page units; returns a
                                // POINT* to the point in that pane's pixels (valid until
                                // the next call)
#define PVM_GETEXTRA 1026
#define PVM_GETPAGESIZE 1027    // lParam: POINT* out
#define PVM_GETRESOLUTION 1028  // lParam: POINT* out (dots per inch)
#define PVM_GETINSTANCE 1029
#define PVM_GETPRINTERDC 1030   // the printer DC, or the memory DC without a printer
#define PVM_GETMEMDC 1031
#define PVM_INDETAIL 1032       // pane only. lParam: POINT* in pane pixels; TRUE when the
                                // library handles the mouse there: inside the focus
                                // rectangle of the page pane in two-pane mode, anywhere on
                                // the page pane while the magnifying glass is on
#define PVM_INVALIDATE 1033     // wParam: pen width, lParam: RECT* in page units
#define PVM_INVALIDATEALL 1034
#define PVM_PANETOPAGE 1035     // pane only. lParam: POINT* in pane pixels; returns a POINT*
                                // to the page point
#define PVM_GOTOPAGE 1036       // lParam: page. 0 out of range, 1 already there, else 2
#define PVM_SETEXTRA 1037       // lParam: value
#define PVM_SETRESOLUTION 1038  // lParam: POINT*; 0 in printer mode or for values <= 0
#define PVM_SETPAGESIZE 1039    // lParam: POINT*; 0 in printer mode or for values <= 0
#define PVM_SETPAGECOUNT 1040   // lParam: count (negative keeps it)
#define PVM_SETPAINTHOOK 1041   // lParam: PVPaintHook
#define PVM_SETPALETTE 1042     // lParam: HPALETTE
#define PVM_SETPANEPROC 1043    // lParam: WNDPROC for the three panes; returns the previous
#define PVM_GETVIEWMODE 1044    // 0 one page, 1 two panes, 2 magnifying glass
#define PVM_SETTOOLBARHEIGHT 1045  // lParam: height in pixels
#define PVM_GETRULERS 1046      // TRUE while the rulers are shown
#define PVM_GETTOOLBAR 1091
#define PVM_GETPAGEPANE 1092
#define PVM_GETDETAILPANE 1093
#define PVM_GETZOOMPANE 1094

// Messages the page pane's procedure receives from the library.
#define PVN_CLOSING 1088         // wParam: the frame; sent at WM_CLOSE before it is destroyed
#define PVN_PRINTPAGE 1089       // wParam: page; print it on the printer DC (PVM_GETPRINTERDC).
                                 // The library's own pane procedure calls the paint hook.
#define PVN_PRINTERCHANGED 1090  // the printer set-up dialog changed the printer

// The paint hook: paints page `code` (1-based) on dc, which is mapped so
// that drawing is in page units. Code -1 tells the owner the page changed
// (a new printer): lay the page out afresh; dc is the new printer DC.
typedef void(CALLBACK* PVPaintHook)(HDC dc, int code);

// The preview state, shared by the frame and its panes; it is the first
// window word of each.
typedef struct PreviewState PreviewState;
#define PV_STATE_OF(window) ((PreviewState*)GetWindowLongPtrA((window), 0))

#ifdef __cplusplus
extern "C" {
#endif
// ---- Print preview exports -------------------------------------------------
// Maps dc so the owner paints pane in page units (MM_ANISOTROPIC): the page
// pane shows the whole page, the detail pane page / detail zoom from the
// focus origin, the zoom pane the reduced page times the zoom from the scroll
// position. On the library's memory DC (PVM_GETMEMDC) while the magnifying
// glass is up it maps the glass's square of the page onto the glass bitmap.
// Sets black text on white, transparent, and a screen font matching the
// preview font's printer metrics.
void PVPreviewMapMode(HWND pane, PreviewState* state, HDC dc);
// Inch rulers (NOT raster operation): ticks along the top and left edge,
// labelled except on the page pane. dc in MM_TEXT.
void PVPaintMeter(HWND pane, HDC dc, PreviewState* state);
// Draws, or drawn again erases, the focus rectangle on the page pane.
void PVPaintFocusRegion(PreviewState* state, HDC dc);
// Draws the magnifying glass on dc (pane pixels, MM_TEXT) when it is up on
// this pane: the glass square of the page painted through the paint hook,
// magnified, framed. Nothing otherwise.
void PVPaintMagnifier(HWND pane, PreviewState* state, HDC dc);
// The font for the owner's text: into the printer DC while printing, else
// the preview font. 0 for none.
void PVSelectFont(HWND pane, HFONT font);
// The font dialog against the preview's DC (printer fonts when printerFonts
// is non-zero); a new font or 0; *colour is updated.
HFONT PVGetFont(HWND window, HFONT font, BOOL printerFonts, COLORREF* colour);
LPARAM PVGetExtra(HWND window);
// A DC of the profile's default printer ("device" of [windows]: device,
// driver, port), 0 when there is none.
HDC GetPrinterDC(void);
// Updates the page label: "%d of %d", empty for a single page.
void ShowPage(PreviewState* state);
void TouchBEXAPRT(void);


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
