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

}  // namespace quillo
