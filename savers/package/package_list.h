// The list of packages a saver can replay, built from the "*.SSD" entries
// of the package directory.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quillo::package {

constexpr size_t kMaxPackages = 100;
// Longest package name taken: leaves room for "(k).bexa" in a path.
constexpr size_t kMaxPackageNameChars = 200;

// One directory entry as the shell found it. `bytes` holds the file's
// content when its size was exactly 292 bytes (the shell reads no other).
struct RecordFileEntry {
  std::string fileName;
  bool directory = false;
  uint64_t size = 0;
  std::vector<uint8_t> bytes;
};

// Package names in entry order, at most kMaxPackages: every plain file
// "name.SSD" (extension compared without regard to case; names without a
// dot or with an empty name are skipped) of exactly 292 bytes whose record
// has option flag 0x8 gives "name". Names that are not bare file names or
// longer than kMaxPackageNameChars are skipped.
std::vector<std::string> BuildPackageList(const std::vector<RecordFileEntry>& entries);

// The package name of a record file name ("name.SSD" -> "name"), or empty
// when the name has no dot, another extension, or an empty name part.
std::string PackageNameOfRecordFile(const std::string& fileName);

// Where rotation continues after the package `current` (the entry after it,
// wrapping), or 0 when it is not listed: each switch then goes to another
// package while more than one is listed.
size_t RotationStart(const std::vector<std::string>& list, const std::string& current);

}  // namespace quillo::package
