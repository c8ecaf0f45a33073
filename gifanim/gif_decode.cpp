#include "gif_decode.h"

#include <cstring>

namespace gifanim {
namespace {

constexpr int kMaxCodeBits = 12;
constexpr int kTableSize = 1 << kMaxCodeBits;  // 4096 codes

// Reads the file front to back; every read is checked against the end.
class Reader {
 public:
  Reader(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool Byte(uint8_t& v) {
    if (pos_ >= size_) return false;
    v = data_[pos_++];
    return true;
  }
  bool Word(int& v) {
    if (size_ - pos_ < 2) return false;
    v = data_[pos_] | (data_[pos_ + 1] << 8);
    pos_ += 2;
    return true;
  }
  bool Bytes(std::size_t n, const uint8_t*& p) {
    if (size_ - pos_ < n) return false;
    p = data_ + pos_;
    pos_ += n;
    return true;
  }
  // Skips a sequence of sub-blocks up to and including the zero length.
  bool SkipSubBlocks() {
    for (;;) {
      uint8_t len;
      if (!Byte(len)) return false;
      if (len == 0) return true;
      const uint8_t* p;
      if (!Bytes(len, p)) return false;
    }
  }
  // Appends the data of a sequence of sub-blocks to `out`.
  bool ReadSubBlocks(std::vector<uint8_t>& out) {
    for (;;) {
      uint8_t len;
      if (!Byte(len)) return false;
      if (len == 0) return true;
      const uint8_t* p;
      if (!Bytes(len, p)) return false;
      out.insert(out.end(), p, p + len);
    }
  }

 private:
  const uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

bool ReadTable(Reader& in, int entries, std::vector<Rgb>& table) {
  const uint8_t* p;
  if (!in.Bytes(static_cast<std::size_t>(entries) * 3, p)) return false;
  table.resize(entries);
  for (int i = 0; i < entries; ++i) table[i] = Rgb{p[3 * i], p[3 * i + 1], p[3 * i + 2]};
  return true;
}

// Places decoded pixels into the index buffer, row by row in decode order,
// mapping decode rows to image rows for interlaced images.
class PixelSink {
 public:
  PixelSink(uint8_t* pixels, std::size_t count, bool interlaced, int width, int height)
      : pixels_(pixels), count_(count), interlaced_(interlaced), width_(width), height_(height) {
    SetRow();
  }
  // False when the image is already full.
  bool Put(uint8_t v) {
    if (written_ >= count_) return false;
    pixels_[row_base_ + col_] = v;
    ++written_;
    if (++col_ == width_) {
      col_ = 0;
      ++row_;
      if (written_ < count_) SetRow();
    }
    return true;
  }
  std::size_t written() const { return written_; }

 private:
  void SetRow() {
    const int r = interlaced_ ? InterlacedRow(row_, height_) : row_;
    row_base_ = static_cast<std::size_t>(r) * static_cast<std::size_t>(width_);
  }
  uint8_t* pixels_;
  std::size_t count_;
  bool interlaced_;
  int width_, height_;
  int row_ = 0, col_ = 0;
  std::size_t row_base_ = 0;
  std::size_t written_ = 0;
};

}  // namespace

int InterlacedRow(int n, int height) {
  // Pass 1 holds rows 0, 8, 16...; pass 2 rows 4, 12...; pass 3 rows 2, 6...;
  // pass 4 rows 1, 3, 5...
  const int pass1 = (height + 7) / 8;
  if (n < pass1) return n * 8;
  n -= pass1;
  const int pass2 = (height + 3) / 8;
  if (n < pass2) return 4 + n * 8;
  n -= pass2;
  const int pass3 = (height + 1) / 4;
  if (n < pass3) return 2 + n * 4;
  n -= pass3;
  return 1 + n * 2;
}

GifStatus DecodeLzw(int min_code_size, const uint8_t* codes, std::size_t size,
                    uint8_t* pixels, std::size_t pixel_count, bool interlaced, int width,
                    int height, std::size_t& decoded) {
  decoded = 0;
  if (min_code_size > kMaxCodeBits - 1) return GifStatus::kBadCodeSize;
  static_assert(kTableSize <= 65535);
  uint16_t prefix[kTableSize];
  uint8_t suffix[kTableSize];
  uint8_t first[kTableSize];
  uint16_t length[kTableSize];
  uint8_t stack[kTableSize + 1];

  const int clear = 1 << min_code_size;
  const int end = clear + 1;
  for (int i = 0; i < clear; ++i) {
    prefix[i] = 0;
    suffix[i] = static_cast<uint8_t>(i);
    first[i] = static_cast<uint8_t>(i);
    length[i] = 1;
  }
  int code_bits = 0, next = 0, prev = -1;
  auto reset = [&] {
    code_bits = min_code_size + 1;
    next = clear + 2;
    // With a code size of 0 the end code needs two bits from the start.
    while (next > (1 << code_bits) && code_bits < kMaxCodeBits) ++code_bits;
    prev = -1;
  };
  reset();

  PixelSink sink(pixels, pixel_count, interlaced, width, height);
  std::size_t pos = 0;
  uint32_t acc = 0;
  int acc_bits = 0;
  GifStatus status = GifStatus::kOk;
  for (;;) {
    while (acc_bits < code_bits && pos < size) {
      acc |= static_cast<uint32_t>(codes[pos++]) << acc_bits;
      acc_bits += 8;
    }
    if (acc_bits < code_bits) break;  // data ends without an end code
    const int code = static_cast<int>(acc & ((1u << code_bits) - 1));
    acc >>= code_bits;
    acc_bits -= code_bits;

    if (code == clear) {
      reset();
      continue;
    }
    if (code == end) break;
    if (prev < 0) {
      // First code of the stream or after a clear: must be a single colour.
      if (code >= clear) {
        status = GifStatus::kBadLzw;
        break;
      }
      if (!sink.Put(static_cast<uint8_t>(code))) {
        status = GifStatus::kBadLzw;
        break;
      }
      prev = code;
      continue;
    }
    if (code > next || (code == next && next >= kTableSize)) {
      status = GifStatus::kBadLzw;
      break;
    }
    const uint8_t head = code < next ? first[code] : first[prev];
    if (next < kTableSize) {
      prefix[next] = static_cast<uint16_t>(prev);
      suffix[next] = head;
      first[next] = first[prev];
      length[next] = static_cast<uint16_t>(length[prev] + 1);
      ++next;
      if (next >= (1 << code_bits) && code_bits < kMaxCodeBits) ++code_bits;
    }
    // Every entry refers to a lower code, so the chain always ends.
    int n = length[code];
    int c = code;
    for (int i = n - 1; i >= 0; --i) {
      stack[i] = suffix[c];
      c = prefix[c];
    }
    bool overflow = false;
    for (int i = 0; i < n; ++i) {
      if (!sink.Put(stack[i])) {
        overflow = true;
        break;
      }
    }
    if (overflow) {
      status = GifStatus::kBadLzw;
      break;
    }
    prev = code;
  }
  decoded = sink.written();
  return status;
}

GifStatus DecodeGif(const uint8_t* data, std::size_t size, GifImage& out, const GifLimits& limits) {
  out = GifImage{};
  GifImage img;
  Reader in(data, size);
  const uint8_t* sig;
  if (!in.Bytes(6, sig)) return GifStatus::kTruncated;
  if (std::memcmp(sig, "GIF87a", 6) != 0 && std::memcmp(sig, "GIF89a", 6) != 0)
    return GifStatus::kBadSignature;

  uint8_t flags, background, aspect;
  if (!in.Word(img.screen_width) || !in.Word(img.screen_height) || !in.Byte(flags) ||
      !in.Byte(background) || !in.Byte(aspect))
    return GifStatus::kTruncated;
  img.colour_resolution = ((flags & 0x70) >> 3) + 1;
  img.global_table_size = 2 << (flags & 7);
  if (flags & 0x80) {
    if (!ReadTable(in, img.global_table_size, img.global_palette)) return GifStatus::kTruncated;
    img.global_count = img.global_table_size;
    img.background = background;
  }

  // Control values waiting for the next image (or plain-text block).
  bool pending = false;
  int p_transparent = -1, p_delay = 0, p_user = 0, p_disposal = 0;
  uint64_t total_pixels = 0;
  std::vector<uint8_t> lzw;

  for (;;) {
    uint8_t tag;
    if (!in.Byte(tag)) return GifStatus::kTruncated;  // no trailer
    if (tag == 0x3B) break;
    if (tag == 0x21) {
      uint8_t label;
      if (!in.Byte(label)) return GifStatus::kTruncated;
      if (label == 0xF9) {
        uint8_t len;
        if (!in.Byte(len)) return GifStatus::kTruncated;
        const uint8_t* p;
        if (!in.Bytes(len, p)) return GifStatus::kTruncated;
        if (len >= 4) {
          pending = true;
          p_user = (p[0] >> 1) & 1;
          p_disposal = (p[0] >> 2) & 7;
          p_delay = (p[1] | (p[2] << 8)) * 10;
          p_transparent = (p[0] & 1) ? p[3] : -1;
        }
        if (len != 0 && !in.SkipSubBlocks()) return GifStatus::kTruncated;
      } else {
        if (label == 0x01) {
          // A plain-text block takes the pending control values.
          pending = false;
          p_transparent = -1;
          p_delay = p_user = p_disposal = 0;
        }
        if (!in.SkipSubBlocks()) return GifStatus::kTruncated;
      }
      continue;
    }
    if (tag != 0x2C) continue;  // stray byte between blocks

    GifFrame f;
    uint8_t iflags;
    if (!in.Word(f.left) || !in.Word(f.top) || !in.Word(f.width) || !in.Word(f.height) ||
        !in.Byte(iflags))
      return GifStatus::kTruncated;
    f.has_control = pending;
    f.transparent = p_transparent;
    f.delay_ms = p_delay;
    f.user_input = p_user;
    f.disposal = p_disposal;
    pending = false;
    p_transparent = -1;
    p_delay = p_user = p_disposal = 0;
    f.interlaced = (iflags & 0x40) != 0;
    if (iflags & 0x80) {
      f.local_table = true;
      if (!ReadTable(in, 2 << (iflags & 7), f.palette)) return GifStatus::kTruncated;
    } else {
      f.palette = img.global_palette;
    }
    uint8_t mcs;
    if (!in.Byte(mcs)) return GifStatus::kTruncated;
    lzw.clear();
    if (!in.ReadSubBlocks(lzw)) return GifStatus::kTruncated;
    if (mcs > kMaxCodeBits - 1) return GifStatus::kBadCodeSize;

    const uint64_t pixels = static_cast<uint64_t>(f.width) * static_cast<uint64_t>(f.height);
    if (pixels > limits.max_frame_pixels || pixels > limits.max_total_pixels - total_pixels ||
        img.frames.size() >= limits.max_frames)
      return GifStatus::kTooLarge;
    total_pixels += pixels;
    f.indices.assign(static_cast<std::size_t>(pixels), 0);
    const GifStatus st = DecodeLzw(mcs, lzw.data(), lzw.size(), f.indices.data(),
                                   f.indices.size(), f.interlaced, f.width, f.height, f.decoded);
    if (st != GifStatus::kOk) return st;
    img.frames.push_back(std::move(f));
  }
  out = std::move(img);
  return GifStatus::kOk;
}

}  // namespace gifanim
