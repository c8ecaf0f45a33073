// The effect chooser: categories, the effects of the chosen category with
// their icons, and the selected effect's example picture.
#include <windows.h>

#include <string>
#include <vector>

#include "app/host/catalogue_file.h"
#include "catalogue_builder.h"
#include "catalogue_read.h"
#include "choosers.h"
#include "contracts/dib_services.h"
#include "contracts/image_codecs.h"
#include "effsaver_resources.h"
#include "engine_state.h"
#include "kernels/chooser_placement.h"
#include "setup_controls.h"

namespace quillo::effsaver {

namespace {

constexpr int kIconSize = 25;
// The warp family's icon in the bitmap "Plug"; a selected row uses the
// picture 50 pixels further down.
constexpr int kIconColumn = 25;
constexpr int kSelectedIconOffset = 50;
constexpr int kNameIndent = 38;
constexpr COLORREF kSelectionBlue = RGB(0, 0, 255);
constexpr int kMinWidth = 400;
constexpr int kMinHeight = 350;

struct Category {
  std::string name;
  int32_t id = 0;  // 0: every effect
};

struct ChooserState {
  HWND owner = nullptr;
  HMODULE resources = nullptr;
  std::vector<EffectRecord> records;  // in the chooser's order
  std::vector<Category> categories;
  HBITMAP icons = nullptr;
  HDC iconDC = nullptr;
  HGDIOBJ oldIcon = nullptr;
  HBRUSH selection = nullptr;
  HGLOBAL basic = nullptr;    // Examples\Basic.jpg
  HGLOBAL example = nullptr;  // the selected effect's example
};

bool IsFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

HGLOBAL LoadExample(std::string_view name) {
  if (!IsBareFileName(name) || name == "N/A") return nullptr;
  const std::string path = InEngineFolder("Examples\\" + std::string(name));
  return IsFile(path) ? LoadDIB(path.c_str()) : nullptr;
}

std::string ResourceText(HMODULE resources, UINT id) {
  char text[256];
  return resources && LoadStringA(resources, id, text, sizeof text) > 0 ? text : "";
}

void FillCategories(HWND dialog, ChooserState& s) {
  s.categories.push_back({ResourceText(s.resources, IDS_CHOOSER_ALL), 0});
  for (const EffectRecord& r : s.records) {
    if (r.categoryId == 0) continue;
    bool known = false;
    for (const Category& c : s.categories) known = known || c.id == r.categoryId;
    if (!known) s.categories.push_back({std::string(CategoryName(r)), r.categoryId});
  }
  HWND list = GetDlgItem(dialog, IDC_CHOOSER_CATEGORIES);
  for (const Category& c : s.categories) SendMessageA(list, LB_ADDSTRING, 0, LPARAM(c.name.c_str()));
  SendMessageA(list, LB_SETCURSEL, 0, 0);
}

// The effects of the selected category (all of them for the first entry).
void FillEffects(HWND dialog, ChooserState& s) {
  HWND list = GetDlgItem(dialog, IDC_CHOOSER_EFFECTS);
  const LRESULT selected = SendDlgItemMessageA(dialog, IDC_CHOOSER_CATEGORIES, LB_GETCURSEL, 0, 0);
  const Category* category =
      selected >= 0 && size_t(selected) < s.categories.size() ? &s.categories[size_t(selected)] : nullptr;
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  for (size_t i = 0; i < s.records.size(); ++i) {
    const EffectRecord& r = s.records[i];
    if (category && category->id != 0 && !ListedUnderEntry(r, r.kindCopy, category->id)) continue;
    SendMessageA(list, LB_ADDSTRING, 0, LPARAM(i));
  }
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

const EffectRecord* SelectedEffect(HWND dialog, const ChooserState& s) {
  HWND list = GetDlgItem(dialog, IDC_CHOOSER_EFFECTS);
  const LRESULT item = SendMessageA(list, LB_GETCURSEL, 0, 0);
  if (item < 0) return nullptr;
  const LRESULT index = SendMessageA(list, LB_GETITEMDATA, WPARAM(item), 0);
  return index >= 0 && size_t(index) < s.records.size() ? &s.records[size_t(index)] : nullptr;
}

void OnEffectSelected(HWND dialog, ChooserState& s) {
  const EffectRecord* record = SelectedEffect(dialog, s);
  if (!record) return;
  if (s.example) DestroyDIB(s.example);
  s.example = LoadExample(ExampleName(*record));
  InvalidateRect(GetDlgItem(dialog, IDC_CHOOSER_PREVIEW), nullptr, TRUE);
  SendMessageA(s.owner, WM_COMMAND, IDC_SETUP_EFFECT_CHOSEN, reinterpret_cast<LPARAM>(record));
}

void Layout(HWND dialog) {
  RECT client;
  GetClientRect(dialog, &client);
  const int w = client.right, h = client.bottom, margin = 8, buttonW = 75, buttonH = 23;
  const int listH = h - 3 * margin - buttonH;
  const int categoriesW = w / 4, effectsW = (w * 35) / 100;
  const int previewX = 3 * margin + categoriesW + effectsW;
  MoveWindow(GetDlgItem(dialog, IDC_CHOOSER_CATEGORIES), margin, margin, categoriesW, listH, TRUE);
  MoveWindow(GetDlgItem(dialog, IDC_CHOOSER_EFFECTS), 2 * margin + categoriesW, margin, effectsW, listH, TRUE);
  MoveWindow(GetDlgItem(dialog, IDC_CHOOSER_PREVIEW), previewX, margin, w - previewX - margin, listH, TRUE);
  MoveWindow(GetDlgItem(dialog, IDC_CHOOSER_CLOSE), w - margin - buttonW, h - margin - buttonH, buttonW, buttonH,
             TRUE);
}

// The place the studio's browser remembered, when it fits the screen.
void ApplyPlacement(HWND dialog) {
  char text[128] = {};
  GetPrivateProfileStringA("Meridian", "Pos", "", text, sizeof text, kSettingsFile);
  const auto placement =
      ParseChooserPlacement(text, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  if (placement)
    SetWindowPos(dialog, nullptr, placement->left, placement->top, placement->width, placement->height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

int TextHeight(HDC dc) {
  TEXTMETRICA tm;
  return GetTextMetricsA(dc, &tm) ? int(tm.tmHeight) : 16;
}

void MeasureItem(HWND dialog, MEASUREITEMSTRUCT* item) {
  HDC dc = GetDC(dialog);
  HFONT font = HFONT(SendMessageA(dialog, WM_GETFONT, 0, 0));
  HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
  const int height = TextHeight(dc);
  if (old) SelectObject(dc, old);
  ReleaseDC(dialog, dc);
  item->itemHeight = UINT(height > kIconSize ? height : kIconSize);
}

void DrawEffect(const ChooserState& s, const DRAWITEMSTRUCT* item) {
  HDC dc = item->hDC;
  const RECT& r = item->rcItem;
  if (int(item->itemID) < 0 || item->itemData >= s.records.size()) {
    if (item->itemState & ODS_FOCUS) DrawFocusRect(dc, &r);
    return;
  }
  const EffectRecord& record = s.records[item->itemData];
  const bool selected = (item->itemState & ODS_SELECTED) != 0;
  FillRect(dc, &r, selected ? s.selection : HBRUSH(GetStockObject(WHITE_BRUSH)));
  if (s.iconDC)
    BitBlt(dc, r.left, r.top, kIconSize, kIconSize, s.iconDC, kIconColumn, selected ? kSelectedIconOffset : 0,
           SRCCOPY);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, selected ? RGB(255, 255, 255) : RGB(0, 0, 0));
  RECT text = r;
  text.left += kNameIndent;
  text.top += (kIconSize + 1 - TextHeight(dc)) / 2;
  const std::string_view name = DisplayName(record);
  DrawTextA(dc, name.data(), int(name.size()), &text, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  if (item->itemState & ODS_FOCUS) DrawFocusRect(dc, &r);
}

// The example centred in the preview at actual size.
void DrawPreview(const ChooserState& s, const DRAWITEMSTRUCT* item) {
  const RECT& area = item->rcItem;
  FillRect(item->hDC, &area, HBRUSH(GetStockObject(LTGRAY_BRUSH)));
  HGLOBAL picture = s.example ? s.example : s.basic;
  if (!picture) return;
  const char* locked = static_cast<const char*>(GlobalLock(picture));
  if (!locked) return;
  const int width = DIBWidth(locked), height = DIBHeight(locked);
  GlobalUnlock(picture);
  const int areaW = area.right - area.left, areaH = area.bottom - area.top;
  RECT target = {area.left + (areaW - width) / 2, area.top + (areaH - height) / 2, 0, 0};
  target.right = target.left + width;
  target.bottom = target.top + height;
  RECT source = {0, 0, width, height};
  const int saved = SaveDC(item->hDC);
  IntersectClipRect(item->hDC, area.left, area.top, area.right, area.bottom);
  PaintDIB(item->hDC, &target, picture, &source, nullptr);
  RestoreDC(item->hDC, saved);
}

void OnInit(HWND dialog, ChooserState& s) {
  SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&s));
  s.icons = LoadBitmapA(s.resources, "Plug");
  if (s.icons) {
    s.iconDC = CreateCompatibleDC(nullptr);
    s.oldIcon = SelectObject(s.iconDC, s.icons);
  }
  s.selection = CreateSolidBrush(kSelectionBlue);
  s.basic = LoadExample("Basic.jpg");
  FillCategories(dialog, s);
  FillEffects(dialog, s);
  ApplyPlacement(dialog);
  Layout(dialog);
}

void Release(ChooserState& s) {
  if (s.iconDC) {
    SelectObject(s.iconDC, s.oldIcon);
    DeleteDC(s.iconDC);
  }
  if (s.icons) DeleteObject(s.icons);
  if (s.selection) DeleteObject(s.selection);
  if (s.basic) DestroyDIB(s.basic);
  if (s.example) DestroyDIB(s.example);
  s = ChooserState{};
}

INT_PTR CALLBACK ChooserProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    OnInit(dialog, *reinterpret_cast<ChooserState*>(lParam));
    return TRUE;
  }
  // The list asks for its item height while the dialog is being made,
  // before WM_INITDIALOG.
  if (message == WM_MEASUREITEM) {
    MeasureItem(dialog, reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
    return TRUE;
  }
  auto* s = reinterpret_cast<ChooserState*>(GetWindowLongPtrA(dialog, DWLP_USER));
  if (!s) return FALSE;
  switch (message) {
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMinTrackSize = {kMinWidth, kMinHeight};
      return TRUE;
    }
    case WM_SIZE:
      Layout(dialog);
      return TRUE;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item->CtlID == IDC_CHOOSER_EFFECTS) DrawEffect(*s, item);
      else if (item->CtlID == IDC_CHOOSER_PREVIEW) DrawPreview(*s, item);
      return TRUE;
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_CHOOSER_CATEGORIES:
          if (HIWORD(wParam) == LBN_SELCHANGE) FillEffects(dialog, *s);
          return TRUE;
        case IDC_CHOOSER_EFFECTS:
          if (HIWORD(wParam) == LBN_SELCHANGE) OnEffectSelected(dialog, *s);
          if (HIWORD(wParam) == LBN_DBLCLK) {
            OnEffectSelected(dialog, *s);
            EndDialog(dialog, IDOK);
          }
          return TRUE;
        case IDC_CHOOSER_CLOSE:
        case IDOK:
        case IDCANCEL:
          EndDialog(dialog, IDCANCEL);
          return TRUE;
      }
      return FALSE;
  }
  return FALSE;
}

}  // namespace

void ChooseEffect(HWND owner) {
  ChooserState state;
  state.owner = owner;
  const std::string path = InEngineFolder(kResourceModuleName);
  state.resources = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!state.resources) {
    MessageBeep(0);
    return;
  }
  if (!IsFile(InEngineFolder(kCatalogueName))) BuildCatalogue(owner);
  const std::vector<uint8_t> bytes = ReadCatalogueFile();
  state.records = ChooserRecords(bytes.data(), bytes.size());
  if (state.records.empty()) {
    const std::string text = ResourceText(state.resources, IDS_CHOOSER_NO_CATALOGUE);
    MessageBoxA(owner, text.c_str(), nullptr, MB_OK | MB_ICONINFORMATION);
  } else {
    DialogBoxParamA(state.resources, "Plug", owner, ChooserProc, reinterpret_cast<LPARAM>(&state));
  }
  HMODULE resources = state.resources;
  Release(state);
  FreeLibrary(resources);
}

}  // namespace quillo::effsaver
