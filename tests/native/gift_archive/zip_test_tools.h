// Helpers for tests that need archives the writer would never make: raw zip
// records put together field by field, and in-place edits of a good archive.
#pragma once
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "gift/archive/zip_format.h"

namespace quillo::gift::test {

using Bytes = std::vector<uint8_t>;

inline Bytes BytesOf(std::string_view text) { return Bytes(text.begin(), text.end()); }

// Replaces every occurrence of `from` by `to` (same length), e.g. a member
// name in both its local and its central header. The number replaced.
inline int ReplaceAll(Bytes& bytes, std::string_view from, std::string_view to) {
  int count = 0;
  for (size_t at = 0; at + from.size() <= bytes.size(); ++at) {
    if (std::equal(from.begin(), from.end(), bytes.begin() + at)) {
      std::copy(to.begin(), to.end(), bytes.begin() + at);
      ++count;
    }
  }
  return count;
}

// Positions of every record with this signature.
inline std::vector<size_t> Find(const Bytes& bytes, uint32_t signature) {
  std::vector<size_t> found;
  for (size_t at = 0; at + 4 <= bytes.size(); ++at)
    if (Read32(bytes.data() + at) == signature) found.push_back(at);
  return found;
}

// One member's fields as the raw records carry them.
struct RawMember {
  std::string name;
  Bytes data;  // stored as is
  uint32_t crc = 0;
  uint32_t size = 0;  // declared uncompressed size
  uint16_t method = kMethodStored;
  uint16_t flags = 0;
};

inline RawMember Stored(std::string name, std::string_view content) {
  RawMember m{std::move(name), BytesOf(content)};
  m.crc = Crc32Of(m.data.data(), m.data.size());
  m.size = uint32_t(m.data.size());
  return m;
}

inline void AppendLocal(Bytes& out, const RawMember& m) {
  Put32(out, kLocalHeaderSignature);
  Put16(out, kVersionNeeded);
  Put16(out, m.flags);
  Put16(out, m.method);
  Put16(out, 0);
  Put16(out, 0x21);
  Put32(out, m.crc);
  Put32(out, uint32_t(m.data.size()));
  Put32(out, m.size);
  Put16(out, uint16_t(m.name.size()));
  Put16(out, 0);
  out.insert(out.end(), m.name.begin(), m.name.end());
  out.insert(out.end(), m.data.begin(), m.data.end());
}

inline void AppendCentral(Bytes& out, const RawMember& m, uint32_t localOffset) {
  Put32(out, kCentralHeaderSignature);
  Put16(out, kVersionNeeded);
  Put16(out, kVersionNeeded);
  Put16(out, m.flags);
  Put16(out, m.method);
  Put16(out, 0);
  Put16(out, 0x21);
  Put32(out, m.crc);
  Put32(out, uint32_t(m.data.size()));
  Put32(out, m.size);
  Put16(out, uint16_t(m.name.size()));
  Put16(out, 0);
  Put16(out, 0);
  Put16(out, 0);
  Put16(out, 0);
  Put32(out, 0);
  Put32(out, localOffset);
  out.insert(out.end(), m.name.begin(), m.name.end());
}

inline void AppendEnd(Bytes& out, uint16_t count, uint32_t centralSize, uint32_t centralOffset,
                      std::string_view comment = {}) {
  Put32(out, kEndRecordSignature);
  Put16(out, 0);
  Put16(out, 0);
  Put16(out, count);
  Put16(out, count);
  Put32(out, centralSize);
  Put32(out, centralOffset);
  Put16(out, uint16_t(comment.size()));
  out.insert(out.end(), comment.begin(), comment.end());
}

// A well-formed archive of these members, laid out one after another.
inline Bytes RawZip(const std::vector<RawMember>& members, std::string_view comment = {}) {
  Bytes out;
  std::vector<uint32_t> offsets;
  for (const RawMember& m : members) {
    offsets.push_back(uint32_t(out.size()));
    AppendLocal(out, m);
  }
  const uint32_t central = uint32_t(out.size());
  for (size_t i = 0; i < members.size(); ++i) AppendCentral(out, members[i], offsets[i]);
  AppendEnd(out, uint16_t(members.size()), uint32_t(out.size() - central), central, comment);
  return out;
}

}  // namespace quillo::gift::test
