// Reading the package that lies beside the player. Every file comes from
// another machine: the record is checked before any name in it is used,
// the plug-in is loaded by its full path in the player's own folder only,
// and the parameter block is handed on only when its size field holds.
#include "contracts/dib_services.h"
#include "gift_state.h"
#include "kernels/gift_record.h"
#include "savers/package/package_record.h"
#include "savers/stage/stage_files.h"

namespace quillo::giftutil {

namespace {

// No effect stores a parameter block anywhere near this.
constexpr uint64_t kMaxParameterBytes = 16u << 20;

std::string Beside(const GiftPlayer& gift, const std::string& name) { return gift.folder + "\\" + name; }

}  // namespace

bool FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string SystemFolderPath(const char* fileName) {
  char folder[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryA(folder, sizeof folder);
  if (length == 0 || length >= sizeof folder) return {};
  std::string path = folder;
  if (!path.empty() && path.back() == '\\') path.pop_back();
  return path + "\\" + fileName;
}

bool ReadGiftPicture(GiftPlayer& gift) {
  HGLOBAL decoded = ReadJPEGFile(Beside(gift, gift.names.image).c_str());
  if (!decoded) return false;
  // Effects work on 24-bit pictures, whatever the file held.
  HGLOBAL working = Duplicate24BitsDIB(decoded);
  DestroyDIB(decoded);
  if (!working) return false;
  SetSlotPicture(gift, working);
  return true;
}

void ReadGiftEffect(GiftPlayer& gift) {
  gift.playable = false;
  std::vector<uint8_t> bytes;
  if (!stage::ReadWholeFile(Beside(gift, gift.names.record), 0, kEffectRecordSize, bytes) ||
      !ReadGiftRecord(bytes, gift.record))
    return;
  const std::string module = Beside(gift, std::string(ModuleName(gift.record)));
  gift.plugin = LoadLibraryExA(module.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (!gift.plugin) return;
  // A module without GetResInst is no effect plug-in: it is not called.
  auto resources = reinterpret_cast<GetResInstFunction>(
      reinterpret_cast<void*>(GetProcAddress(gift.plugin, "GetResInst")));
  if (!resources) {
    FreeLibrary(gift.plugin);
    gift.plugin = nullptr;
    return;
  }
  resources();
  gift.playable = true;
  // A missing or unusable block plays the effect with its own defaults.
  gift.hasParameters = stage::ReadWholeFile(Beside(gift, gift.names.parameters), 0, kMaxParameterBytes, gift.parameters) &&
                       package::AcceptParameterBlock(gift.parameters);
  if (!gift.hasParameters) gift.parameters.clear();
}

}  // namespace quillo::giftutil
