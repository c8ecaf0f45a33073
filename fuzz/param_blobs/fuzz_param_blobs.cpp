// libFuzzer target: saved-parameter blocks as a gift or package from another
// machine may carry them. Reading must accept exactly the blocks whose magic
// and size match and that are wholly there, give only finite values inside
// each field's range, and a block written from what was read must read back
// to the same values.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "plugins/animation/kernels/param_blob.h"
#include "plugins/qlo12/kernels/kale_blob.h"
#include "plugins/qlo12/kernels/water_blob.h"

using namespace quillo;

namespace {

struct Kind {
  uint32_t magic;
  const animation::BlobField* fields;
  std::size_t count;
};

// A layout with doubles at unaligned places, besides the effects' own.
const animation::BlobField kMixed[] = {{animation::BlobFieldKind::kInt32, 2, 12, 5},
                                       {animation::BlobFieldKind::kDouble, 0, 1000, 320},
                                       {animation::BlobFieldKind::kDouble, -1, 1, 0},
                                       {animation::BlobFieldKind::kInt32, 0, 1, 1}};

const Kind kKinds[] = {{qlo12::kWaterBlobMagic, qlo12::kWaterBlobFields, qlo12::kWaterFieldCount},
                       {0x117577EA, kMixed, 4}};

uint32_t Get32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // An exact-size copy, so reading past the block is caught.
  const std::vector<uint8_t> block(data, data + size);
  for (const Kind& k : kKinds) {
    // The first byte picks whether the magic is forced to match, so the
    // fuzzer reaches the field parsing at once.
    std::vector<uint8_t> input = block;
    if (input.size() >= 8 && (input[0] & 1)) {
      for (int i = 0; i < 4; ++i) input[size_t(i)] = uint8_t(k.magic >> (8 * i));
    }
    double values[16];
    const bool accepted =
        animation::ReadParamBlob(input.data(), input.size(), k.magic, k.fields, k.count, values);
    const std::size_t want = animation::ParamBlobSize(k.fields, k.count);
    const bool expected = input.size() >= want && Get32(input.data()) == k.magic &&
                          Get32(input.data() + 4) == want;
    if (accepted != expected) __builtin_trap();
    if (!accepted) continue;
    for (std::size_t i = 0; i < k.count; ++i)
      if (!std::isfinite(values[i]) || values[i] < k.fields[i].low || values[i] > k.fields[i].high)
        __builtin_trap();
    const std::vector<uint8_t> again = animation::WriteParamBlob(k.magic, k.fields, k.count, values);
    double reread[16];
    if (!animation::ReadParamBlob(again.data(), again.size(), k.magic, k.fields, k.count, reread))
      __builtin_trap();
    for (std::size_t i = 0; i < k.count; ++i) {
      const double expect = k.fields[i].kind == animation::BlobFieldKind::kInt32
                                ? std::trunc(values[i])
                                : values[i];
      if (reread[i] != expect) __builtin_trap();
    }
  }
  // The kaleidoscope's and the illusion's blocks, whose ranges follow the
  // picture: a size taken from the input's last bytes.
  const int width = size >= 2 ? 1 + data[size - 1] * 7 : 1, height = size >= 2 ? 1 + data[size - 2] * 5 : 1;
  std::vector<uint8_t> input = block;
  if (input.size() >= 8) {
    for (int i = 0; i < 4; ++i) input[size_t(i)] = uint8_t(qlo12::kKaleBlobMagic >> (8 * i));
    input[4] = 32;
    input[5] = input[6] = input[7] = 0;
  }
  qlo12::KaleParameters kale = qlo12::DefaultKaleParameters(width, height);
  if (qlo12::ReadKaleBlob(input.data(), input.size(), width, height, kale)) {
    if (kale.segments < qlo12::kKaleMinSegments || kale.segments > qlo12::kKaleMaxSegments ||
        !std::isfinite(kale.centreX) || !std::isfinite(kale.centreY) || kale.centreX < 0 ||
        kale.centreX > width - 1 || kale.centreY < 0 || kale.centreY > height - 1 ||
        (kale.mirror != 0 && kale.mirror != 1))
      __builtin_trap();
  }
  qlo12::IllusionSettings illusion;
  if (qlo12::ReadIllusionBlob(block.data(), block.size(), width, height, illusion)) {
    if (illusion.sectors < qlo12::kIllusionMinSectors || illusion.sectors > qlo12::kIllusionMaxSectors ||
        illusion.speedX < 0 || illusion.speedY < 0)
      __builtin_trap();
  }
  return 0;
}
