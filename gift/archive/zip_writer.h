// Builds a zip archive in memory, member by member: each member is deflated
// at level 9 and kept stored when deflating would not make it smaller.
// Names are stored as given (bare file names, no folders).
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "zip_format.h"

namespace quillo::gift {

enum class ZipAddResult {
  kAdded,
  kBadName,       // not a bare, safe file name
  kDuplicate,     // an earlier member has this name (case ignored)
  kTooMany,       // the archive already holds 65535 members
  kTooLarge,      // the member or the archive would pass 4 GiB
  kDeflateFailed  // zlib refused (out of memory)
};

class ZipWriter {
 public:
  ZipAddResult Add(std::string_view name, const uint8_t* data, size_t size, DosDateTime when);
  ZipAddResult Add(std::string_view name, const std::vector<uint8_t>& bytes, DosDateTime when) {
    return Add(name, bytes.data(), bytes.size(), when);
  }
  size_t count() const { return entries_.size(); }
  // The finished archive: every member, the central directory and the end
  // record. The writer is empty again afterwards.
  std::vector<uint8_t> Finish();

 private:
  struct Entry {
    std::string name;
    uint16_t method;
    DosDateTime when;
    uint32_t crc, packedSize, size, offset;
  };
  uint64_t FinishedSizeWith(size_t nameSize, uint64_t packedSize) const;
  std::vector<uint8_t> bytes_;  // local headers and member data so far
  std::vector<Entry> entries_;
  uint64_t centralSize_ = 0;     // the central directory so far
  std::set<std::string> keys_;  // MemberNameKey of every name so far
};

// Raw deflate (no zlib header) of a buffer at level 9; nullopt when zlib
// fails.
std::optional<std::vector<uint8_t>> DeflateRaw(const uint8_t* data, size_t size);

}  // namespace quillo::gift
