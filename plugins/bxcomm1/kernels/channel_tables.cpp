#include "channel_tables.h"

#include <bit>
#include <cstring>

#include "pass_rows.h"

namespace quillo {

ByteTable IdentityTable() {
  ByteTable table;
  for (int i = 0; i < 256; ++i) table[i] = uint8_t(i);
  return table;
}

void ApplyChannelTables(const ChannelTables& tables, const PixelPass& pass, int rowBegin,
                        int rowEnd) {
  const uint8_t* t0 = tables.byChannel[0].data();
  const uint8_t* t1 = tables.byChannel[1].data();
  const uint8_t* t2 = tables.byChannel[2].data();
  ForEachPassRow(pass, rowBegin, rowEnd, [&](const uint8_t* src, uint8_t* dst, int count) {
    for (int i = 0; i < count; ++i, src += 3, dst += 3) {
      const uint8_t v0 = t0[src[0]], v1 = t1[src[1]], v2 = t2[src[2]];
      dst[0] = v0, dst[1] = v1, dst[2] = v2;
    }
  });
}

namespace {

constexpr size_t kPairEntries = 65536;

// Keys and values are two bytes in memory order, read and written with
// memcpy, so the tables are right on either byte order.
void BuildPairTable(const ByteTable& first, const ByteTable& second, uint16_t* out) {
  for (int a = 0; a < 256; ++a) {
    for (int b = 0; b < 256; ++b) {
      const uint8_t keyBytes[2] = {uint8_t(a), uint8_t(b)};
      const uint8_t valueBytes[2] = {first[a], second[b]};
      uint16_t key, value;
      std::memcpy(&key, keyBytes, 2);
      std::memcpy(&value, valueBytes, 2);
      out[key] = value;
    }
  }
}

}  // namespace

ChannelTableRunner::ChannelTableRunner() = default;
ChannelTableRunner::~ChannelTableRunner() = default;

void ChannelTableRunner::Prepare(const ChannelTables& tables) {
  tables_ = tables;
  const auto& c = tables.byChannel;
  const bool shared = c[0] == c[1] && c[1] == c[2];
  if (!pairs_) pairs_.reset(new uint16_t[3 * kPairEntries]);
  uint16_t* p = pairs_.get();
  BuildPairTable(c[0], c[1], p);
  blueGreen_ = redBlue_ = greenRed_ = p;
  if (!shared) {
    BuildPairTable(c[2], c[0], p + kPairEntries);
    BuildPairTable(c[1], c[2], p + 2 * kPairEntries);
    redBlue_ = p + kPairEntries;
    greenRed_ = p + 2 * kPairEntries;
  }
}

void ChannelTableRunner::Run(const PixelPass& pass, int rowBegin, int rowEnd) const {
  if (!pairs_) return;
  const uint16_t* bg = blueGreen_;
  const uint16_t* rb = redBlue_;
  const uint16_t* gr = greenRed_;
  const uint8_t* t0 = tables_.byChannel[0].data();
  const uint8_t* t1 = tables_.byChannel[1].data();
  const uint8_t* t2 = tables_.byChannel[2].data();
  ForEachPassRow(pass, rowBegin, rowEnd, [&](const uint8_t* src, uint8_t* dst, int count) {
    int i = 0;
    if constexpr (std::endian::native == std::endian::little) {
      // Four pixels per step: one 8-byte and one 4-byte load, six lookups,
      // one 8-byte and one 4-byte store. On little-endian machines bits
      // 16k..16k+15 of a loaded word are the pair key memcpy would give.
      for (; i + 4 <= count; i += 4, src += 12, dst += 12) {
        uint64_t w0;
        uint32_t w1;
        std::memcpy(&w0, src, 8);
        std::memcpy(&w1, src + 8, 4);
        const uint64_t o0 = uint64_t(bg[w0 & 0xFFFF]) | uint64_t(rb[(w0 >> 16) & 0xFFFF]) << 16 |
                            uint64_t(gr[(w0 >> 32) & 0xFFFF]) << 32 | uint64_t(bg[w0 >> 48]) << 48;
        const uint32_t o1 = uint32_t(rb[w1 & 0xFFFF]) | uint32_t(gr[w1 >> 16]) << 16;
        std::memcpy(dst, &o0, 8);
        std::memcpy(dst + 8, &o1, 4);
      }
    }
    for (; i + 2 <= count; i += 2, src += 6, dst += 6) {
      uint16_t a, b, c;
      std::memcpy(&a, src, 2);
      std::memcpy(&b, src + 2, 2);
      std::memcpy(&c, src + 4, 2);
      a = bg[a], b = rb[b], c = gr[c];
      std::memcpy(dst, &a, 2);
      std::memcpy(dst + 2, &b, 2);
      std::memcpy(dst + 4, &c, 2);
    }
    if (i < count) {
      const uint8_t v0 = t0[src[0]], v1 = t1[src[1]], v2 = t2[src[2]];
      dst[0] = v0, dst[1] = v1, dst[2] = v2;
    }
  });
}

}  // namespace quillo
