// The folders and files the stub works with.
#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

namespace quillo::gift {

// "{windows}\Bexa\", created when missing; nullopt when it cannot be.
std::optional<std::string> EnsurePackageFolder();
// A new empty folder under the user's temporary folder, ending in a
// backslash; nullopt when none can be made.
std::optional<std::string> MakeFreshTemporaryFolder();
// Deletes `folder` (ending in a backslash) with everything in it.
void RemoveFolder(const std::string& folder);
// The folder part of `path`, with its backslash.
std::string FolderOf(const std::string& path);

// A whole file mapped read-only into memory.
class MappedFile {
 public:
  MappedFile(const std::string& path, uint64_t limit);
  ~MappedFile();
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;
  const uint8_t* data() const { return view_; }
  size_t size() const { return size_; }
  bool tooLarge() const { return tooLarge_; }

 private:
  HANDLE file_ = INVALID_HANDLE_VALUE;
  HANDLE mapping_ = nullptr;
  const uint8_t* view_ = nullptr;
  size_t size_ = 0;
  bool tooLarge_ = false;
};

}  // namespace quillo::gift
