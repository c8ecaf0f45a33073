// Per-channel byte tables: the common last step of the colour effects whose
// result for a byte depends only on that byte and its channel.
#pragma once
#include <array>
#include <cstdint>
#include <memory>

#include "imaging/basics/pixel_pass.h"

namespace quillo {

using ByteTable = std::array<uint8_t, 256>;

// One table per byte of a 24-bit pixel: [0] blue, [1] green, [2] red.
struct ChannelTables {
  std::array<ByteTable, 3> byChannel;
};

ByteTable IdentityTable();

// target byte k of each pixel = tables.byChannel[k][source byte k], over the
// rows [rowBegin, rowEnd) of the pass rectangle, one byte at a time.
// Safe when source == target.
void ApplyChannelTables(const ChannelTables& tables, const PixelPass& pass, int rowBegin,
                        int rowEnd);

// The same mapping, looked up two bytes at a time: two pixels are three
// neighbouring byte pairs (blue+green, red+next blue, green+red), each mapped
// by a 65536-entry table built from the channel tables, which halves the
// memory operations of the byte-wise loop. Gives exactly the bytes of
// ApplyChannelTables.
class ChannelTableRunner {
 public:
  ChannelTableRunner();
  ~ChannelTableRunner();

  void Prepare(const ChannelTables& tables);
  void Run(const PixelPass& pass, int rowBegin, int rowEnd) const;

  const ChannelTables& Tables() const { return tables_; }

 private:
  ChannelTables tables_{{IdentityTable(), IdentityTable(), IdentityTable()}};
  std::unique_ptr<uint16_t[]> pairs_;  // three tables, or one when all channels agree
  const uint16_t* blueGreen_ = nullptr;
  const uint16_t* redBlue_ = nullptr;
  const uint16_t* greenRed_ = nullptr;
};

}  // namespace quillo
