#include "safe_file.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace quillo::render {

ReplacingFile::~ReplacingFile() {
  if (file_) {
    std::fclose(file_);
    std::remove(temporary_.c_str());
  }
}

bool ReplacingFile::Open(const std::string& path, std::string& error) {
  path_ = path;
  temporary_ = path + ".XXXXXX";
  const int fd = mkstemp(temporary_.data());
  if (fd < 0) {
    error = "cannot write " + path + ": " + std::strerror(errno);
    return false;
  }
  file_ = fdopen(fd, "wb");
  if (!file_) {
    error = "cannot write " + path + ": " + std::strerror(errno);
    close(fd);
    std::remove(temporary_.c_str());
    return false;
  }
  return true;
}

bool ReplacingFile::Commit(std::string& error) {
  if (!file_) {
    error = "cannot write " + path_;
    return false;
  }
  const bool written = std::ferror(file_) == 0 && std::fflush(file_) == 0;
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  // mkstemp makes the file readable by its owner only; give it the usual
  // permissions of a new file.
  const mode_t mask = umask(0);
  umask(mask);
  chmod(temporary_.c_str(), 0666 & ~mask);
  if (!written || !closed || std::rename(temporary_.c_str(), path_.c_str()) != 0) {
    error = "cannot write " + path_ + ": " + std::strerror(errno);
    std::remove(temporary_.c_str());
    return false;
  }
  return true;
}

}  // namespace quillo::render
