// Writing a file so that the target is replaced only by a complete file:
// the data goes to a temporary file in the target's folder, which is moved
// over the target once everything was written.
#pragma once
#include <windows.h>

#include <cstddef>
#include <string>

namespace quillo::wic {

// Why a file operation failed, as a reason for the user ("the folder does
// not exist.").
std::string FileErrorReason(DWORD error);

class ReplacingFile {
 public:
  // Creates the (empty) temporary file beside `target`. ok() tells whether
  // that worked; reason() says why not.
  explicit ReplacingFile(const char* target);
  // Removes the temporary file unless Commit succeeded.
  ~ReplacingFile();
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  bool ok() const { return !temp_.empty(); }
  const std::string& reason() const { return reason_; }
  const char* tempPath() const { return temp_.c_str(); }

  // Moves the finished temporary file over the target.
  bool Commit();

 private:
  std::string target_;
  std::string temp_;
  std::string reason_;
  bool committed_ = false;
};

// Writes `size` bytes to `target` through a ReplacingFile. False with the
// reason in `reason` on failure; the target is then unchanged.
bool WriteFileReplacing(const char* target, const void* data, size_t size, std::string& reason);

}  // namespace quillo::wic
