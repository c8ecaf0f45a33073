// Gift programs from files on disk, for the studio: the members are read
// from their paths, zipped under their archive names, appended to the stub
// and written to the target path through a temporary file.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "zip_format.h"
#include "zip_writer.h"

namespace quillo::gift {

struct GiftFile {
  std::string nameInArchive;  // a bare file name
  std::string pathOnDisk;
};

// The whole file, or nullopt when it cannot be read or holds more than
// `limit` bytes.
std::optional<std::vector<uint8_t>> ReadFileBytes(const std::string& path, uint64_t limit);

struct GiftZip {
  std::vector<uint8_t> zip;
  // Members left out: the file could not be read, or the writer refused it
  // (bad or duplicate name, too large). The archive holds all the others.
  struct Skipped {
    std::string nameInArchive;
    std::string reason;
  };
  std::vector<Skipped> skipped;
};

// Every file stamped with `when`. A member that cannot be added is left out
// and listed, so one missing support file does not stop the gift.
GiftZip BuildGiftZip(const std::vector<GiftFile>& files, DosDateTime when);

// MakeGiftProgram(stub, zip) written to `targetPath`; an existing file there
// is replaced only once the new one is complete. False when the archive is
// not one the stub accepts or the file cannot be written.
bool WriteGiftProgramFile(const std::string& targetPath, const std::vector<uint8_t>& stubBytes,
                          const std::vector<uint8_t>& zipBytes);

}  // namespace quillo::gift
