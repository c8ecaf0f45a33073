#include "gift_files.h"

#include <cstdio>
#include <memory>
#include <new>

#include "gift_program.h"
#include "replace_file.h"
#include "zip_reader.h"

namespace quillo::gift {
namespace {

const char* AddResultText(ZipAddResult result) {
  switch (result) {
    case ZipAddResult::kAdded: return "added";
    case ZipAddResult::kBadName: return "not a plain file name";
    case ZipAddResult::kDuplicate: return "a member of that name is already in the archive";
    case ZipAddResult::kTooMany: return "too many members";
    case ZipAddResult::kTooLarge: return "too large";
    case ZipAddResult::kDeflateFailed: return "could not be compressed";
  }
  return "refused";
}

}  // namespace

std::optional<std::vector<uint8_t>> ReadFileBytes(const std::string& path, uint64_t limit) {
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!file) return std::nullopt;
  std::vector<uint8_t> bytes;
  uint8_t buffer[1 << 16];
  try {
    for (;;) {
      const size_t got = std::fread(buffer, 1, sizeof buffer, file.get());
      if (got == 0) break;
      if (bytes.size() + got > limit) return std::nullopt;
      bytes.insert(bytes.end(), buffer, buffer + got);
    }
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
  if (std::ferror(file.get())) return std::nullopt;
  return bytes;
}

GiftZip BuildGiftZip(const std::vector<GiftFile>& files, DosDateTime when) {
  const ZipLimits limits;
  GiftZip result;
  ZipWriter writer;
  uint64_t total = 0;
  for (const GiftFile& file : files) {
    std::optional<std::vector<uint8_t>> bytes = ReadFileBytes(file.pathOnDisk, limits.maxMemberSize);
    if (!bytes) {
      result.skipped.push_back({file.nameInArchive, "cannot be read (missing or too large)"});
      continue;
    }
    // Keep within what the stub unpacks, so a gift never fails only on the
    // receiver's machine.
    if (total + bytes->size() > limits.maxTotalSize) {
      result.skipped.push_back({file.nameInArchive, "the gift would be too large"});
      continue;
    }
    const ZipAddResult added = writer.Add(file.nameInArchive, *bytes, when);
    if (added == ZipAddResult::kAdded)
      total += bytes->size();
    else
      result.skipped.push_back({file.nameInArchive, AddResultText(added)});
  }
  result.zip = writer.Finish();
  return result;
}

bool WriteGiftProgramFile(const std::string& targetPath, const std::vector<uint8_t>& stubBytes,
                          const std::vector<uint8_t>& zipBytes) {
  const std::optional<std::vector<uint8_t>> program = MakeGiftProgram(stubBytes, zipBytes);
  return program && WriteFileReplacing(targetPath, program->data(), program->size());
}

}  // namespace quillo::gift
