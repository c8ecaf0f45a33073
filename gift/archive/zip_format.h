// The pieces of the zip container both the writer and the reader use: record
// signatures and sizes, little-endian field access and DOS time stamps.
// Only the classic format is used (no zip64): every size and offset fits in
// 32 bits and an archive holds at most 65535 members.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace quillo::gift {

constexpr uint32_t kLocalHeaderSignature = 0x04034b50;
constexpr uint32_t kCentralHeaderSignature = 0x02014b50;
constexpr uint32_t kEndRecordSignature = 0x06054b50;
constexpr size_t kLocalHeaderSize = 30;
constexpr size_t kCentralHeaderSize = 46;
constexpr size_t kEndRecordSize = 22;
constexpr size_t kMaxCommentSize = 0xFFFF;

constexpr uint16_t kMethodStored = 0;
constexpr uint16_t kMethodDeflate = 8;
// Version 2.0: deflate, the oldest version every reader knows.
constexpr uint16_t kVersionNeeded = 20;
// General-purpose flag bits the reader looks at.
constexpr uint16_t kFlagEncrypted = 0x0001;
constexpr uint16_t kFlagDataDescriptor = 0x0008;
constexpr uint16_t kFlagStrongEncryption = 0x0040;

constexpr size_t kMaxMembers = 0xFFFF;
constexpr uint64_t kMaxField32 = 0xFFFFFFFFu;

// A DOS time stamp as zip stores it: date = (year - 1980) << 9 | month << 5
// | day, time = hour << 11 | minute << 5 | second / 2.
struct DosDateTime {
  uint16_t date = 0x21;  // 1980-01-01
  uint16_t time = 0;
};

// Clamps the year to 1980..2107 (what 7 bits can hold) and every other
// field to its range.
DosDateTime DosDateTimeOf(int year, int month, int day, int hour, int minute, int second);

inline uint16_t Read16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
inline uint32_t Read32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
inline void Write16(uint8_t* p, uint16_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
}
inline void Write32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}
inline void Put16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(uint8_t(v));
  out.push_back(uint8_t(v >> 8));
}
inline void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

// CRC-32 (the zip polynomial) of a buffer of any size.
uint32_t Crc32Of(const uint8_t* data, size_t size);

}  // namespace quillo::gift
