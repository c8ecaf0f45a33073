#include "gift_program.h"

#include "zip_format.h"
#include "zip_reader.h"

namespace quillo::gift {

std::optional<std::vector<uint8_t>> MakeGiftProgram(const std::vector<uint8_t>& stubBytes,
                                                    const std::vector<uint8_t>& zipBytes) {
  ZipDirectory directory;
  if (ReadZipDirectory(zipBytes.data(), zipBytes.size(), ZipLimits(), &directory) != ZipError::kNone)
    return std::nullopt;
  const size_t archiveSize = zipBytes.size() - directory.archiveStart;
  if (uint64_t(stubBytes.size()) + archiveSize >= kMaxField32) return std::nullopt;

  std::vector<uint8_t> program;
  program.reserve(stubBytes.size() + archiveSize);
  program.insert(program.end(), stubBytes.begin(), stubBytes.end());
  program.insert(program.end(), zipBytes.begin() + directory.archiveStart, zipBytes.end());
  // Positions in `program` of the fields to move: the zip's own positions
  // with its prefix replaced by the stub.
  auto move = [&](size_t fieldInZip) {
    uint8_t* field = program.data() + (fieldInZip - directory.archiveStart) + stubBytes.size();
    Write32(field, uint32_t(Read32(field) + stubBytes.size()));
  };
  for (const ZipEntry& entry : directory.entries) move(entry.centralPosition + 42);
  move(directory.endRecordPosition + 16);
  return program;
}

}  // namespace quillo::gift
