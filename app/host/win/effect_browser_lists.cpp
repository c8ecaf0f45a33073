// The browsers' lists: the catalogue read into memory, the effect list in
// browser order, and the family list with its category rows.
#include <windows.h>

#include <algorithm>
#include <cstring>

#include "app/shell/app_state.h"
#include "app/shell/path_join.h"
#include "effect_browser_state.h"

namespace quillo {

namespace {

// A catalogue larger than this is read only this far (about 57000 effects).
constexpr DWORD kMaxCatalogueBytes = 16u * 1024 * 1024;

bool ReadWholeFile(const char* path, std::vector<uint8_t>& bytes) {
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size;
  bool ok = GetFileSizeEx(file, &size) != 0;
  if (ok) {
    const DWORD wanted = size.QuadPart > kMaxCatalogueBytes ? kMaxCatalogueBytes : DWORD(size.QuadPart);
    bytes.resize(wanted);
    DWORD total = 0;
    while (ok && total < wanted) {
      DWORD got = 0;
      ok = ReadFile(file, bytes.data() + total, wanted - total, &got, nullptr) != 0;
      if (got == 0) break;
      total += got;
    }
    bytes.resize(total);
  }
  CloseHandle(file);
  return ok;
}

HWND EffectList(const BrowserState& state) { return GetDlgItem(state.dialog, kBrowserEffectList); }
HWND FamilyList(const BrowserState& state) { return GetDlgItem(state.dialog, kBrowserFamilyList); }

int ItemCount(HWND list) { return int(SendMessageA(list, LB_GETCOUNT, 0, 0)); }

void AddItem(HWND list, int index, const void* data) {
  SendMessageA(list, LB_INSERTSTRING, WPARAM(index), LPARAM(data));
}

// Index of the family row of `kind` (a family, not a category), or -1.
int FindFamilyRow(HWND list, int32_t kind) {
  for (int i = 0, n = ItemCount(list); i < n; ++i)
    if (const FamilyEntry* e = FamilyAt(list, i); e && e->categoryId == 0 && e->kind == kind) return i;
  return -1;
}

int FindCategoryRow(HWND list, int32_t kind, int32_t categoryId) {
  for (int i = 0, n = ItemCount(list); i < n; ++i)
    if (const FamilyEntry* e = FamilyAt(list, i); e && e->kind == kind && e->categoryId == categoryId)
      return i;
  return -1;
}

void AddFamilyRows(BrowserState& state) {
  HWND list = FamilyList(state);
  for (const EffectFamily& family : EffectFamilies()) {
    auto entry = std::make_unique<FamilyEntry>();
    entry->name = LoadResString(UINT(family.nameStringId));
    entry->nameStringId = family.nameStringId;
    entry->kind = family.kind;
    entry->browserCommand = family.browserCommand;
    entry->iconColumn = family.itemSize;  // the table's item size is the icon column
    AddItem(list, -1, entry.get());
    state.families.push_back(std::move(entry));
  }
}

// Counts `record` in its family and makes the row of its category, right
// behind the family row, when it is the first of that category.
void EnterIntoFamilies(BrowserState& state, const EffectRecord& record) {
  HWND list = FamilyList(state);
  const int familyRow = FindFamilyRow(list, record.kindCopy);
  if (familyRow < 0) return;
  FamilyAt(list, familyRow)->effectCount++;
  if (record.categoryId == 0) return;
  if (int row = FindCategoryRow(list, record.kindCopy, record.categoryId); row >= 0) {
    FamilyAt(list, row)->effectCount++;
    return;
  }
  auto entry = std::make_unique<FamilyEntry>();
  entry->name = std::string(CategoryName(record));
  entry->kind = record.kindCopy;
  entry->categoryId = record.categoryId;
  entry->iconColumn = record.iconColumn;
  entry->iconRow = record.iconRow;
  entry->effectCount = 1;
  AddItem(list, familyRow + 1, entry.get());
  state.families.push_back(std::move(entry));
}

void RemoveEmptyFamilies(HWND list) {
  for (int i = ItemCount(list) - 1; i >= 0; --i)
    if (const FamilyEntry* e = FamilyAt(list, i); e && e->effectCount == 0)
      SendMessageA(list, LB_DELETESTRING, WPARAM(i), 0);
}

}  // namespace

bool LoadCatalogue(BrowserState& state) {
  state.catalogue.clear();
  state.fileRecords.clear();
  state.browserOrder.clear();
  char path[MAX_PATH];
  if (!JoinPathInto(path, sizeof path, ProgramDirectory(), "BXFun.inf")) return false;
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(path, bytes)) return false;
  state.fileRecords = ReadEffectRecords(bytes.data(), bytes.size());
  state.catalogue.reserve(state.fileRecords.size());
  for (const EffectRecord& record : state.fileRecords)
    state.catalogue.push_back(BrowserCopy(record, state.kind));
  state.browserOrder = BrowserOrder(state.catalogue);
  return true;
}

void FillBrowserLists(BrowserState& state) {
  HWND effects = EffectList(state);
  const bool families = state.kind == BrowserKind::kFamilies;
  if (families) AddFamilyRows(state);
  SendMessageA(effects, WM_SETREDRAW, FALSE, 0);
  for (size_t index : state.browserOrder) AddItem(effects, -1, &state.catalogue[index]);
  SendMessageA(effects, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(effects, nullptr, TRUE);
  if (!families) return;
  // Families and categories in file order, so category rows come in the
  // order their first effects were catalogued.
  for (const EffectRecord& record : state.catalogue) EnterIntoFamilies(state, record);
  HWND list = FamilyList(state);
  RemoveEmptyFamilies(list);
  SendMessageA(list, LB_SETCURSEL, 0, 0);
}

void RefillEffectList(BrowserState& state, const FamilyEntry& entry) {
  HWND effects = EffectList(state);
  SendMessageA(effects, WM_SETREDRAW, FALSE, 0);
  SendMessageA(effects, LB_RESETCONTENT, 0, 0);
  // A family's or category's effects come in catalogue order (the order
  // their plug-ins list them), unlike the sorted list shown at opening.
  for (const EffectRecord& record : state.catalogue)
    if (ListedUnderEntry(record, entry.kind, entry.categoryId)) AddItem(effects, -1, &record);
  SendMessageA(effects, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(effects, nullptr, TRUE);
}

const EffectRecord* EffectAt(HWND list, int index) {
  if (index < 0 || index >= ItemCount(list)) return nullptr;
  const LRESULT data = SendMessageA(list, LB_GETITEMDATA, WPARAM(index), 0);
  return data == LB_ERR ? nullptr : reinterpret_cast<const EffectRecord*>(data);
}

const EffectRecord* FileRecordOf(const BrowserState& state, const EffectRecord* copy) {
  if (!copy || state.catalogue.empty() || copy < state.catalogue.data() ||
      copy >= state.catalogue.data() + state.catalogue.size())
    return nullptr;
  return &state.fileRecords[size_t(copy - state.catalogue.data())];
}

FamilyEntry* FamilyAt(HWND list, int index) {
  if (index < 0 || index >= ItemCount(list)) return nullptr;
  const LRESULT data = SendMessageA(list, LB_GETITEMDATA, WPARAM(index), 0);
  return data == LB_ERR ? nullptr : reinterpret_cast<FamilyEntry*>(data);
}

void SelectFirstEffectOfKind(BrowserState& state, int32_t kind) {
  HWND effects = EffectList(state);
  for (int i = 0, n = ItemCount(effects); i < n; ++i) {
    const EffectRecord* record = EffectAt(effects, i);
    if (record && record->kind == kind) {
      SendMessageA(effects, LB_SETCURSEL, WPARAM(i), 0);
      ShowExampleOf(state, record);
      return;
    }
  }
}

}  // namespace quillo
