#include "replace_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>

namespace quillo::gift {

bool WriteFileReplacing(const std::string& path, const uint8_t* data, size_t size) {
  if (path.empty()) return false;
  const size_t slash = path.rfind('/');
  std::string temporary = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + ".gift-XXXXXX";
  const int fd = mkstemp(temporary.data());
  if (fd < 0) return false;
  bool ok = true;
  while (ok && size > 0) {
    const ssize_t written = write(fd, data, size);
    ok = written > 0;
    if (ok) {
      data += written;
      size -= size_t(written);
    }
  }
  ok = fsync(fd) == 0 && ok;
  ok = close(fd) == 0 && ok;
  // mkstemp makes the file private; a program file is readable and runnable.
  ok = ok && chmod(temporary.c_str(), 0755) == 0;
  ok = ok && std::rename(temporary.c_str(), path.c_str()) == 0;
  if (!ok) unlink(temporary.c_str());
  return ok;
}

}  // namespace quillo::gift
