#include "catalogue_read.h"

#include <windows.h>

#include "app/host/effect_record.h"
#include "engine_state.h"

namespace quillo::effsaver {

namespace {

// Far more records than any set of plug-ins declares; a larger file is not
// a catalogue.
constexpr DWORD kMaxCatalogueBytes = 20000 * kEffectRecordSize;

}  // namespace

std::vector<uint8_t> ReadCatalogueFile() {
  const std::string path = InEngineFolder(kCatalogueName);
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::vector<uint8_t> bytes;
  LARGE_INTEGER size;
  if (GetFileSizeEx(file, &size) && size.QuadPart > 0 && size.QuadPart <= kMaxCatalogueBytes) {
    bytes.resize(size_t(size.QuadPart));
    DWORD read = 0;
    if (!ReadFile(file, bytes.data(), DWORD(bytes.size()), &read, nullptr)) read = 0;
    bytes.resize(read);
  }
  CloseHandle(file);
  return bytes;
}

}  // namespace quillo::effsaver
