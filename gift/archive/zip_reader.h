// Reads a zip archive from a byte buffer and checks all of it before anyone
// writes a file: the end record (found back over a possible comment), the
// central directory, every local header against its central entry, member
// names, sizes, the placement of every member inside the archive, and
// finally each member's data (inflated into memory, size and CRC-32 checked).
//
// The archive may sit at the end of a larger file (a gift program is the
// stub followed by the archive). Offsets are taken relative to where the
// archive starts, which the end record gives: start = end record position -
// central directory size - central directory offset. For an archive whose
// offsets count from the file's start (as MakeGiftProgram writes them) that
// start is 0.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "zip_format.h"

namespace quillo::gift {

enum class ZipError {
  kNone,
  kNoEndRecord,        // no end record (not a zip, or cut short)
  kMultiDisk,          // spans several disks
  kBadDirectory,       // central directory outside the archive or malformed
  kTooManyMembers,
  kBadName,            // a name that is not a bare, safe file name
  kDuplicateName,
  kEncrypted,
  kUnsupportedMethod,  // neither stored nor deflate
  kBadLocalHeader,     // local header missing or disagreeing with the directory
  kOutOfBounds,        // member data outside the archive
  kOverlap,            // two members share bytes
  kTooLarge,           // a member or the total passes the limits
  kBadData,            // deflate data broken or of the wrong length
  kBadCrc,
  kOutOfMemory
};

// A short English description, for messages.
const char* ZipErrorText(ZipError error);

struct ZipLimits {
  uint64_t maxMemberSize = uint64_t(256) << 20;
  uint64_t maxTotalSize = uint64_t(1) << 30;
  size_t maxMembers = kMaxMembers;
};

// One member as the central directory describes it, with absolute positions
// in the buffer.
struct ZipEntry {
  std::string name;
  uint16_t method = 0;
  DosDateTime when;
  uint32_t crc = 0;
  uint64_t packedSize = 0;
  uint64_t size = 0;
  size_t centralPosition = 0;  // of the entry's central header
  size_t localPosition = 0;    // of the local header
  size_t dataPosition = 0;     // of the member's data
};

struct ZipDirectory {
  size_t archiveStart = 0;    // where the archive begins in the buffer
  size_t centralPosition = 0;
  size_t endRecordPosition = 0;
  std::vector<ZipEntry> entries;  // in directory order
};

// Everything except the members' data: names, sizes, headers, placement.
ZipError ReadZipDirectory(const uint8_t* data, size_t size, const ZipLimits& limits,
                          ZipDirectory* directory);

struct ZipMember {
  std::string name;
  DosDateTime when;
  std::vector<uint8_t> bytes;
};

// ReadZipDirectory, then every member inflated and checked. On failure
// `members` is left empty.
ZipError ReadZip(const uint8_t* data, size_t size, const ZipLimits& limits,
                 std::vector<ZipMember>* members);

}  // namespace quillo::gift
