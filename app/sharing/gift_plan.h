// The rules a gift is put together by: its file names, the members it holds
// and which of the listed files are temporary. A gift is a self-extracting
// program holding a package (under the name "_" + the gift's base name), the
// gift player and the modules the effect needs.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillo {

// Where the pieces of a gift saved under `fileName` (a bare file name the
// user chose) are made, relative to the program folder.
struct GiftPaths {
  std::string target;       // "Temp\Gift.exe"
  std::string base;         // "Gift"
  std::string archive;      // "Temp\Gift.ZIP"
  std::string program;      // "Temp\Gift.exe", the finished gift
  std::string packageName;  // "_Gift", the package's name on the receiver's machine
};
// Nullopt when the name is empty, not a bare file name, has no base or is
// longer than 50 characters.
std::optional<GiftPaths> GiftPathsFor(std::string_view fileName);

// "Eff01234.exe" for 1234 (taken modulo 100000).
std::string DefaultGiftName(unsigned number);

// The files a gift build lists: at most 60, each path at most 70
// characters; a temporary one is deleted by the clean-up unless it is a
// program file (".dll", ".pl1", ".ico", ".pan", in any case), which is
// never deleted whatever the list says.
class GiftFileList {
 public:
  static constexpr size_t kMaxEntries = 60;
  static constexpr size_t kMaxPathChars = 70;
  struct Entry {
    std::string path;
    bool temporary;
  };
  // False (nothing added) when the list is full or the path too long: the
  // build then fails rather than leave a member out.
  bool Add(std::string path, bool temporary);
  const std::vector<Entry>& entries() const { return entries_; }
  // The paths the clean-up deletes; the list is emptied.
  std::vector<std::string> TakeFilesToDelete();

 private:
  std::vector<Entry> entries_;
};

bool IsKeptProgramFile(std::string_view path);

}  // namespace quillo
