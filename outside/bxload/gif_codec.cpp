#include "gif_codec.h"

#include <algorithm>
#include <cstring>

#include "gifanim/gif_decode.h"
#include "gifanim/gif_frames.h"
#include "pnm_codec.h"  // kMaxFormatPixels

namespace quillo::bxload {
namespace {

constexpr int kMaxCodeBits = 12;
constexpr int kTableSize = 1 << kMaxCodeBits;

GifPicture Fail(const char* reason) { return GifPicture{{}, reason}; }

const char* StatusText(gifanim::GifStatus status) {
  switch (status) {
    case gifanim::GifStatus::kBadSignature: return "The file is not a GIF picture.";
    case gifanim::GifStatus::kTruncated: return "The GIF file ends before its last block.";
    case gifanim::GifStatus::kBadLzw: return "The compressed pixels of the GIF file are damaged.";
    case gifanim::GifStatus::kBadCodeSize: return "The GIF file gives an impossible code size.";
    case gifanim::GifStatus::kTooLarge: return "The picture is too large.";
    default: return "The GIF file cannot be read.";
  }
}

// Codes packed least significant bit first.
class BitWriter {
 public:
  explicit BitWriter(std::vector<uint8_t>& out) : out_(out) {}
  void Put(int code, int bits) {
    acc_ |= uint32_t(code) << count_;
    count_ += bits;
    while (count_ >= 8) {
      out_.push_back(uint8_t(acc_ & 0xFF));
      acc_ >>= 8;
      count_ -= 8;
    }
  }
  void Flush() {
    if (count_ > 0) out_.push_back(uint8_t(acc_ & 0xFF));
    acc_ = 0;
    count_ = 0;
  }

 private:
  std::vector<uint8_t>& out_;
  uint32_t acc_ = 0;
  int count_ = 0;
};

// String table of the encoder: (prefix code, next index) -> code, open
// addressing over twice the largest number of entries.
class StringTable {
 public:
  StringTable() : keys_(kSlots, 0), codes_(kSlots, 0) {}
  void Clear() { std::fill(keys_.begin(), keys_.end(), 0); }
  // Code of the string, or -1; `slot` is where it would be inserted.
  int Find(uint32_t key, size_t& slot) const {
    slot = (key * 2654435761u) >> (32 - kSlotBits);
    while (keys_[slot] != 0) {
      if (keys_[slot] == key + 1) return codes_[slot];
      slot = (slot + 1) & (kSlots - 1);
    }
    return -1;
  }
  void Insert(size_t slot, uint32_t key, int code) {
    keys_[slot] = key + 1;
    codes_[slot] = uint16_t(code);
  }

 private:
  static constexpr int kSlotBits = 13;
  static constexpr size_t kSlots = size_t(1) << kSlotBits;
  std::vector<uint32_t> keys_;  // key + 1; 0 marks an empty slot
  std::vector<uint16_t> codes_;
};

// Offset just past the first image block (its descriptor, colour table and
// code sub-blocks), found by walking the block structure without decoding;
// 0 when the file ends or its trailer comes first.
size_t FirstImageEnd(const uint8_t* data, size_t size) {
  size_t pos = 13;
  if (size < pos) return 0;
  if (data[10] & 0x80) pos += size_t(3) * (size_t(2) << (data[10] & 7));
  auto skipSubBlocks = [&] {
    while (pos < size) {
      const size_t length = data[pos++];
      if (length == 0) return true;
      pos += length;
    }
    return false;
  };
  while (pos < size) {
    const uint8_t tag = data[pos++];
    if (tag == 0x3B) return 0;
    if (tag == 0x21) {
      ++pos;  // label
      if (!skipSubBlocks()) return 0;
    } else if (tag == 0x2C) {
      if (size - pos < 10) return 0;
      const uint8_t flags = data[pos + 8];
      pos += 9;
      if (flags & 0x80) pos += size_t(3) * (size_t(2) << (flags & 7));
      ++pos;  // minimum code size
      return pos <= size && skipSubBlocks() ? pos : 0;
    }
  }
  return 0;
}

}  // namespace

GifPicture ReadGif(const uint8_t* data, size_t size, uint64_t maxDibBytes) {
  if (data == nullptr) return Fail("The file is not a GIF picture.");
  gifanim::GifImage gif;
  gifanim::GifLimits limits;
  // No image may hold more pixels than a 1-bit DIB of the allowed size.
  limits.max_frame_pixels = std::min<uint64_t>(kMaxFormatPixels, maxDibBytes * 8);
  // Only the blocks up to the first image are decoded (with a trailer put
  // after them), so the size and soundness of later frames do not matter.
  // A file that ends before the first image is complete goes to the decoder
  // whole, which names what is wrong with it.
  const size_t end = FirstImageEnd(data, size);
  std::vector<uint8_t> head;
  if (end != 0) {
    head.assign(data, data + end);
    head.push_back(0x3B);
  }
  const gifanim::GifStatus status = end != 0 ? gifanim::DecodeGif(head.data(), head.size(), gif, limits)
                                             : gifanim::DecodeGif(data, size, gif, limits);
  if (status != gifanim::GifStatus::kOk) return Fail(StatusText(status));
  if (gif.frames.empty()) return Fail("The GIF file holds no picture.");
  const gifanim::GifFrame& frame = gif.frames.front();
  if (frame.palette.empty()) return Fail("The GIF picture has no colour table.");
  for (const uint8_t index : frame.indices)
    if (index >= frame.palette.size()) return Fail("A pixel of the GIF picture lies outside its colour table.");

  // A screen of no size (written by some tools) takes the image's extent.
  int64_t width = gif.screen_width, height = gif.screen_height;
  if (width == 0 || height == 0) {
    width = int64_t(frame.left) + frame.width;
    height = int64_t(frame.top) + frame.height;
  }
  if (width == 0 || height == 0) return Fail("The picture has no pixels.");
  if (uint64_t(width) * uint64_t(height) > kMaxFormatPixels) return Fail("The picture is too large.");
  const size_t entries = frame.palette.size();
  const int bitCount = entries <= 2 ? 1 : entries <= 16 ? 4 : 8;
  std::vector<uint8_t> dib = NewDib(int32_t(width), int32_t(height), bitCount, maxDibBytes);
  if (dib.empty()) return Fail("The picture is too large.");
  DibColour* table = DibTable(dib);
  for (size_t i = 0; i < entries; ++i) table[i] = {frame.palette[i].b, frame.palette[i].g, frame.palette[i].r, 0};
  const size_t offset = DibBitsOffset(dib);
  if (!gifanim::PlaceFrame(frame, dib.data() + offset, dib.size() - offset, uint64_t(DibStride(width, bitCount)),
                           int(width), int(height), bitCount))
    return Fail("The GIF picture cannot be placed on its screen.");
  return GifPicture{std::move(dib), {}};
}

std::vector<uint8_t> EncodeLzw(const uint8_t* indices, size_t count, int minCodeSize) {
  const int clear = 1 << minCodeSize, end = clear + 1;
  int bits = minCodeSize + 1, next = clear + 2;
  std::vector<uint8_t> out;
  BitWriter writer(out);
  StringTable table;
  writer.Put(clear, bits);
  if (count > 0) {
    int prefix = indices[0];
    for (size_t i = 1; i < count; ++i) {
      const uint32_t key = uint32_t(prefix) << 8 | indices[i];
      size_t slot = 0;
      const int code = table.Find(key, slot);
      if (code >= 0) {
        prefix = code;
        continue;
      }
      writer.Put(prefix, bits);
      if (next < kTableSize) {
        table.Insert(slot, key, next++);
        // The decoder adds this entry one code later, so it widens its codes
        // once its own next free code reaches 2^bits, i.e. ours passes it.
        if (next > (1 << bits) && bits < kMaxCodeBits) ++bits;
      } else {
        writer.Put(clear, bits);
        table.Clear();
        bits = minCodeSize + 1;
        next = clear + 2;
      }
      prefix = indices[i];
    }
    writer.Put(prefix, bits);
    // Reading that last code the decoder adds one more entry and may widen.
    if (next < kTableSize && next + 1 > (1 << bits) && bits < kMaxCodeBits) ++bits;
  }
  writer.Put(end, bits);
  writer.Flush();
  return out;
}

std::vector<uint8_t> WriteGif(const DibView& view, std::string& error) {
  const int b = view.bitCount;
  if (b != 1 && b != 4 && b != 8) {
    error = "GIF files hold pictures of at most 256 colours.";
    return {};
  }
  if (view.width <= 0 || view.height <= 0 || view.width > 65535 || view.height > 65535) {
    error = "GIF pictures are at most 65535 pixels wide and high.";
    return {};
  }
  std::vector<uint8_t> indices(size_t(view.width) * size_t(view.height));
  for (int y = 0; y < view.height; ++y) {
    const uint8_t* row = view.Row(y);
    uint8_t* dst = indices.data() + size_t(y) * size_t(view.width);
    for (int x = 0; x < view.width; ++x) dst[x] = uint8_t(IndexAt(row, x, b));
  }
  const int minCodeSize = b < 2 ? 2 : b;
  const std::vector<uint8_t> codes = EncodeLzw(indices.data(), indices.size(), minCodeSize);

  const uint8_t w0 = uint8_t(view.width & 0xFF), w1 = uint8_t(view.width >> 8);
  const uint8_t h0 = uint8_t(view.height & 0xFF), h1 = uint8_t(view.height >> 8);
  std::vector<uint8_t> out = {'G', 'I', 'F', '8', '9', 'a', w0, w1, h0, h1,
                              uint8_t(0x80 | (b - 1) << 4 | (b - 1)), 0, 0};
  for (int i = 0; i < (1 << b); ++i) {
    const DibColour c = view.Colour(i);
    out.insert(out.end(), {c.red, c.green, c.blue});
  }
  out.insert(out.end(), {0x2C, 0, 0, 0, 0, w0, w1, h0, h1, 0, uint8_t(minCodeSize)});
  for (size_t pos = 0; pos < codes.size(); pos += 255) {
    const size_t n = codes.size() - pos < 255 ? codes.size() - pos : 255;
    out.push_back(uint8_t(n));
    out.insert(out.end(), codes.begin() + pos, codes.begin() + pos + n);
  }
  out.push_back(0);     // end of the image's sub-blocks
  out.push_back(0x3B);  // trailer
  return out;
}

}  // namespace quillo::bxload
