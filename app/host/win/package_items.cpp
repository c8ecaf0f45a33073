#include "package_items.h"

#include "contracts/plugin_contract.h"

namespace quillo {

bool CaptureEffectItems(HWND effectWindow, const std::function<bool(const void*, size_t)>& onBlock,
                        const std::function<bool(unsigned, HGLOBAL)>& onPicture) {
  PackageItemQuery query = {};
  SendMessageA(effectWindow, EM_PACKAGE_QUERY, 0, LPARAM(query));
  if (!query[kQuerySupported]) return true;
  const UINT_PTR count = query[kQueryItemCount];
  for (UINT_PTR index = 0; index < count && index < 1000; ++index) {
    PackageItemQuery item = {};
    SendMessageA(effectWindow, EM_PACKAGE_ITEM, index, LPARAM(item));
    if (item[kQueryItemKind] == 1) {
      const auto* data = reinterpret_cast<const void*>(item[kQueryItemData]);
      if (item[kQueryItemSize] > 0 && data && !onBlock(data, size_t(item[kQueryItemSize]))) return false;
    } else if (item[kQueryItemKind] == 3) {
      const auto image = reinterpret_cast<HGLOBAL>(item[kQueryItemImage]);
      if (image && !onPicture(unsigned(index), image)) return false;
    }
  }
  return true;
}

bool ForEachExtraImport(HMODULE plugin, const std::function<bool(const char*)>& onName) {
  using ExtraImport = void(WINAPI*)(INT32*, char***);
  auto extra = reinterpret_cast<ExtraImport>(reinterpret_cast<void*>(GetProcAddress(plugin, "GetExtraImport")));
  if (!extra) return true;
  INT32 count = 0;
  char** names = nullptr;
  extra(&count, &names);
  for (INT32 i = 0; i < count && names; ++i)
    if (!names[i] || !onName(names[i])) return false;
  return true;
}

std::string ResourceModuleName(HMODULE plugin) {
  auto resName = reinterpret_cast<ResNameFunction>(reinterpret_cast<void*>(GetProcAddress(plugin, "ResName")));
  const char* name = resName ? resName() : nullptr;
  return name ? std::string(name) : std::string();
}

}  // namespace quillo
