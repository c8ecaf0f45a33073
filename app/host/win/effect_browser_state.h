// State shared by the pieces of the effect browsers: the open dialog, the
// in-memory catalogue, the family and category entries, the icon bitmap and
// the example pictures. One browser exists at a time, so the state is one
// process-wide object, made when a browser opens and dropped when it closes.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/host/catalogue_file.h"
#include "app/host/effect_record.h"

namespace quillo {

// Control identifiers of both browser dialogs.
constexpr int kBrowserEffectList = 1501;
constexpr int kBrowserPreview = 1502;
constexpr int kBrowserFamilyList = 1503;
constexpr int kBrowserClose = IDCANCEL;
constexpr int kBrowserAddFavourite = 24844;

// Smallest size of a browser window, pixels.
constexpr int kBrowserMinWidth = 400;
constexpr int kBrowserMinHeight = 350;
// List items: the icon is kIconSize square; the name starts kNameIndent
// pixels from the item's left edge.
constexpr int kIconSize = 25;
constexpr int kNameIndent = 38;
// A selected item uses the icon this far below the plain one.
constexpr int kSelectedIconOffset = 50;

// A row of the family list: a family of the fixed table, or a category of
// the warp family created while the catalogue loads (categoryId != 0).
struct FamilyEntry {
  std::string name;
  int32_t nameStringId = 0;
  int32_t kind = 0;
  uint32_t browserCommand = 0;
  int32_t iconColumn = 0;
  int32_t iconRow = 0;
  int32_t effectCount = 0;
  int32_t categoryId = 0;
};

struct BrowserState {
  HWND dialog = nullptr;
  BrowserKind kind = BrowserKind::kFamilies;
  int openingCommand = 0;          // the command that opened the browser
  HBITMAP icons = nullptr;         // the program's bitmap "Plug"
  HDC iconDC = nullptr;            // memory device context holding `icons`
  HBRUSH selectionBrush = nullptr; // solid blue behind selected items
  HGLOBAL basicPicture = nullptr;  // "Examples\Basic.jpg"
  HGLOBAL example = nullptr;       // the selected effect's example, if loaded
  WNDPROC previewProc = nullptr;   // original procedures of the subclassed controls
  WNDPROC effectListProc = nullptr;
  // The browser's copies of the catalogue records, in file order. Loaded
  // once per opening and never resized afterwards: list items point into it.
  std::vector<EffectRecord> catalogue;
  // The records exactly as the file holds them, same order: favourites
  // store these, not the browser's rewritten copies.
  std::vector<EffectRecord> fileRecords;
  // Indices of `catalogue` in browser order (kind, then display name
  // without regard to case; equal records in file order).
  std::vector<size_t> browserOrder;
  // Family list rows; list items point at these entries.
  std::vector<std::unique_ptr<FamilyEntry>> families;
};

// The open browser's state, or nullptr.
BrowserState* Browser();
// Forgets the browser, writes its position and frees its state
// (effect_browser.cpp; called at the dialog's WM_DESTROY).
void DropBrowserState();
// The procedure of both browser dialogs (effect_browser_dialog.cpp).
INT_PTR CALLBACK BrowserDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// --- catalogue and lists (effect_browser_lists.cpp) ---
// Reads "BXFun.inf" into state.catalogue (the browser's copies); false when
// the file is missing or unreadable.
bool LoadCatalogue(BrowserState& state);
// Fills the lists from the catalogue: every record at its sorted position,
// and for the family browser the family and category rows.
void FillBrowserLists(BrowserState& state);
// Refills the effect list with the records listed under a family row.
void RefillEffectList(BrowserState& state, const FamilyEntry& entry);
// The record of effect list item `index`, or nullptr.
const EffectRecord* EffectAt(HWND list, int index);
FamilyEntry* FamilyAt(HWND list, int index);
// Selects (and scrolls to) the first listed effect of `kind`.
void SelectFirstEffectOfKind(BrowserState& state, int32_t kind);

// --- drawing (effect_browser_paint.cpp) ---
void MeasureBrowserItem(HWND dialog, MEASUREITEMSTRUCT* item);
void DrawBrowserItem(const BrowserState& state, const DRAWITEMSTRUCT* item);
// WM_CTLCOLOR* answers: grey buttons and statics, transparent lists on white.
HBRUSH BrowserControlColour(UINT message, HDC dc);
// Subclasses the preview so it paints the example picture.
void SubclassPreview(BrowserState& state);
// Loads "Basic.jpg" when the browser opens.
void LoadBasicPicture(BrowserState& state);
// Frees the shown example, loads the selected record's one when its file
// exists, and repaints the preview.
void ShowExampleOf(BrowserState& state, const EffectRecord* record);
void FreeExamples(BrowserState& state);
// With GET_SETUP_INFO: the frame title names the example, module and
// function, and every listed effect's example is copied to the collection
// folder.
void ShowSetupInfo(const BrowserState& state, const EffectRecord& record);

// --- favourites (effect_browser_favourites.cpp) ---
// Adds `record` to "Favor.INF" in the program directory: beeps on success,
// shows the favourites message (owned by `owner`) on failure; the old file
// then stays as it was.
bool AddToFavourites(HWND owner, const EffectRecord& record);
// The file record behind one of the browser's copies.
const EffectRecord* FileRecordOf(const BrowserState& state, const EffectRecord* copy);

// --- position (effect_browser_position.cpp) ---
void ApplyBrowserPosition(const BrowserState& state);
void WriteBrowserPosition(const BrowserState& state);

}  // namespace quillo
