// Checks shared by the picture reader fuzz targets: an accepted picture is a
// sound DIB, and where the format has a writer, writing it and reading the
// file back gives the same DIB byte for byte.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "outside/bxload/packed_dib.h"

namespace quillo::fuzz {

// Largest DIB a fuzz input may make, so each run stays fast.
constexpr uint64_t kFuzzDibBytes = uint64_t(8) << 20;

inline bool SoundDib(const std::vector<uint8_t>& dib, bxload::DibView& view) {
  std::string error;
  if (!bxload::ParseDib(dib.data(), dib.size(), view, error)) __builtin_trap();
  return true;
}

template <class Writer, class Reader>
void ExpectRoundTrip(const std::vector<uint8_t>& dib, Writer writer, Reader reader) {
  bxload::DibView view;
  SoundDib(dib, view);
  if (view.width > 65535 || view.height > 65535) return;  // beyond what the writers store
  std::string error;
  const std::vector<uint8_t> file = writer(view, error);
  if (file.empty()) __builtin_trap();
  if (reader(file.data(), file.size(), kFuzzDibBytes * 4).dib != dib) __builtin_trap();
}

}  // namespace quillo::fuzz
