// The caller's mask as it came in: the source of effects that redraw the
// mask as they go, and what Cancel puts back.
#pragma once
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

namespace quillo {

class MaskCopy {
 public:
  // Copies the width x height mask at *maskAddress (none: an empty copy).
  // False when memory runs out.
  bool Take(BYTE** maskAddress, int width, int height) {
    if (!maskAddress || !*maskAddress) return true;
    try {
      bytes_.assign(*maskAddress, *maskAddress + size_t(width) * size_t(height));
    } catch (const std::bad_alloc&) {
      return false;
    }
    return true;
  }
  // Writes the copy back into the caller's mask.
  void PutBack(BYTE** maskAddress) const {
    if (!bytes_.empty() && maskAddress && *maskAddress) std::memcpy(*maskAddress, bytes_.data(), bytes_.size());
  }
  bool empty() const { return bytes_.empty(); }
  const uint8_t* data() const { return bytes_.empty() ? nullptr : bytes_.data(); }
  const std::vector<uint8_t>& bytes() const { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;
};

}  // namespace quillo
