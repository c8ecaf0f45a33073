// The thumbnail pane at the right edge of the frame: an owner-drawn list
// (identifier 0x28A4) with one fitted picture per open document window, and
// the two-half spin button ("Bexa Spin - 2", identifier 0x28A5) in the
// header strip above it. The pane shows with the first document window and
// hides with the last; every function does nothing while the pane does not
// exist.
#pragma once
#include <windows.h>

namespace quillo {

struct DocumentRecord;

inline constexpr char kSpinClass[] = "Bexa Spin - 2";
inline constexpr int kThumbnailListId = 0x28A4;
inline constexpr int kSpinButtonId = 0x28A5;
inline constexpr UINT_PTR kSpinTimer = 1030;
inline constexpr UINT kSpinRepeatMs = 100;

// Registers "Bexa Spin - 2" for `instance`.
BOOL RegisterThumbnailClasses(HINSTANCE instance);

// With the thumbnail setting on and no pane: creates the hidden list and
// spin button in `frame`, loads the pane bitmap and fills the list (which
// shows the pane when a document window exists).
void CreateThumbnailPane(HWND frame);
// Destroys list and spin button.
void DestroyThumbnailPane();
// Creates (true) or destroys (false) the pane; the caller lays out after.
void ShowThumbnailPane(bool show);
// The pane exists and is shown (its own visible style, whatever the frame's).
bool ThumbnailPaneVisible();
// Places the list at (left, top) width x height and the spin button in the
// headerHeight strip straight above it (repainted).
void PlaceThumbnailPane(int left, int top, int width, int height, int headerHeight);

// Brings the list in line with the document windows of the MDI client: adds
// an item (in child order) for each window not yet listed, drops items whose
// window is gone, selects the active window's item, and shows or hides the
// pane (with a frame layout) when it becomes non-empty or empty.
void RefreshThumbnails();
// Drops the item of a document window that is being destroyed (call from its
// WM_DESTROY, while its record still exists).
void ForgetThumbnail(HWND document);
// Invalidates the item of a document window (after an effect, undo, mask).
void RepaintThumbnail(HWND document);
// Makes a document window's item the current selection.
void SelectThumbnail(HWND document);
// Index of the item holding `record`, or -1.
int FindThumbnail(const DocumentRecord* record);
// The list window, or null.
HWND ThumbnailList();

// Frame's WM_MEASUREITEM / WM_DRAWITEM: TRUE when the item was the list's.
BOOL OnThumbnailMeasureItem(HWND frame, MEASUREITEMSTRUCT* item);
BOOL OnThumbnailDrawItem(HWND frame, const DRAWITEMSTRUCT* item);
// Frame's WM_COMMAND with LOWORD(wParam) = 0x28A4 (wParam and lParam as
// received): a changed selection activates that item's document window.
void OnThumbnailCommand(WPARAM wParam, LPARAM lParam);

}  // namespace quillo
