// Output files written so that a failed or cut-short write never destroys
// what the path held before: the bytes go to a new file beside the target,
// which replaces the target only once it is complete.
#pragma once
#include <cstdio>
#include <string>

namespace quillo::render {

class ReplacingFile {
 public:
  ReplacingFile() = default;
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;
  // Removes the unfinished file unless Commit succeeded.
  ~ReplacingFile();

  // Creates the new file beside `path`. False with `error` set.
  bool Open(const std::string& path, std::string& error);
  std::FILE* stream() const { return file_; }
  // Closes the new file and puts it in the target's place. False with
  // `error` set when a write failed; the target is then left as it was.
  bool Commit(std::string& error);

 private:
  std::FILE* file_ = nullptr;
  std::string path_, temporary_;
};

}  // namespace quillo::render
