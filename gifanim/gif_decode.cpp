#include "gif_decode.h"

#include <algorithm>
#include <cstring>
#include <span>

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

// Takes decoded pixels row by row in stream order and keeps those in the
// kept corner: a decode row whose image row (interlaced rows mapped) lies in
// the corner contributes its first kept_width pixels, appended to `kept`.
class PixelSink {
 public:
  PixelSink(const LzwShape& shape, uint8_t* kept, std::size_t capacity)
      : shape_(shape),
        count_(shape.width > 0 && shape.height > 0
                   ? static_cast<std::size_t>(shape.width) * static_cast<std::size_t>(shape.height)
                   : 0),
        kept_(kept),
        capacity_(capacity) {
    if (count_ != 0) SetRow();
  }
  // Puts `n` pixels in order, a row's kept part at a time. False when they
  // run past the end of the image (those that fit are put).
  bool Put(const uint8_t* pixels, std::size_t n) {
    const std::size_t width = static_cast<std::size_t>(shape_.width);
    while (n > 0) {
      if (written_ >= count_) return false;
      const std::size_t take = std::min(n, width - col_);
      if (col_ < keep_cols_)
        std::memcpy(kept_ + stored_ + col_, pixels, std::min(take, keep_cols_ - col_));
      written_ += take;
      col_ += take;
      pixels += take;
      n -= take;
      if (col_ == width) {
        stored_ += keep_cols_;
        col_ = 0;
        ++row_;
        if (written_ < count_) SetRow();
      }
    }
    return true;
  }
  std::size_t written() const { return written_; }
  std::size_t stored() const { return stored_ + std::min(col_, keep_cols_); }

 private:
  void SetRow() {
    const int r = shape_.interlaced ? InterlacedRow(row_, shape_.height) : row_;
    keep_cols_ = 0;
    if (r < shape_.kept_height && shape_.kept_width > 0)
      keep_cols_ = std::min(static_cast<std::size_t>(shape_.kept_width), capacity_ - stored_);
  }
  LzwShape shape_;
  std::size_t count_;  // pixels the image holds
  uint8_t* kept_;
  std::size_t capacity_;
  int row_ = 0;
  std::size_t col_ = 0;
  std::size_t keep_cols_ = 0;  // pixels of the current row that are kept
  std::size_t written_ = 0;
  std::size_t stored_ = 0;     // kept pixels of the rows before the current one
};

// The four passes of an interlaced image as (first row, step); a plain image
// is one pass of step 1.
struct Pass {
  int first, step;
};
constexpr Pass kInterlacePasses[] = {{0, 8}, {4, 8}, {2, 4}, {1, 2}};
constexpr Pass kPlainPass[] = {{0, 1}};

// Rows first, first + step, ... below `height`.
uint64_t RowsOfPass(const Pass& p, int height) {
  return height > p.first ? static_cast<uint64_t>(height - p.first + p.step - 1) / p.step : 0;
}

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

uint64_t MaxLzwPixels(int min_code_size, std::size_t code_bytes) {
  const int code_bits = std::max(min_code_size + 1, 2);
  constexpr uint64_t kLongest = kTableSize;
  if (code_bytes > UINT64_MAX / 8) return UINT64_MAX;
  const uint64_t codes = static_cast<uint64_t>(code_bytes) * 8 / code_bits;
  if (codes <= kLongest) return codes * (codes + 1) / 2;
  return kLongest * (kLongest + 1) / 2 + (codes - kLongest) * kLongest;
}

std::size_t KeptCount(const GifFrame& f) {
  if (f.width <= 0 || f.height <= 0 || f.kept_width <= 0 || f.kept_height <= 0) return 0;
  const uint64_t width = static_cast<uint64_t>(f.width);
  const uint64_t full_rows = f.decoded / width;
  uint64_t rows_left = full_rows, kept_rows = 0;
  for (const Pass& p : f.interlaced ? std::span<const Pass>(kInterlacePasses)
                                    : std::span<const Pass>(kPlainPass)) {
    // Within a pass rows go down, so the first `taken` rows of the pass
    // include all of its kept rows or only kept ones.
    const uint64_t taken = std::min(rows_left, RowsOfPass(p, f.height));
    kept_rows += std::min(taken, RowsOfPass(p, f.kept_height));
    rows_left -= taken;
  }
  uint64_t count = kept_rows * static_cast<uint64_t>(f.kept_width);
  const uint64_t partial = f.decoded % width;
  if (partial != 0 && full_rows < static_cast<uint64_t>(f.height)) {
    const int n = static_cast<int>(full_rows);
    const int r = f.interlaced ? InterlacedRow(n, f.height) : n;
    if (r < f.kept_height) count += std::min<uint64_t>(partial, static_cast<uint64_t>(f.kept_width));
  }
  return static_cast<std::size_t>(count);
}

int KeptRow(const GifFrame& f, int n) { return f.interlaced ? InterlacedRow(n, f.kept_height) : n; }

GifStatus DecodeLzw(int min_code_size, const uint8_t* codes, std::size_t size,
                    const LzwShape& shape, uint8_t* kept, std::size_t capacity,
                    std::size_t& decoded, std::size_t& stored) {
  decoded = 0;
  stored = 0;
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

  PixelSink sink(shape, kept, capacity);
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
      const uint8_t pixel = static_cast<uint8_t>(code);
      if (!sink.Put(&pixel, 1)) {
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
    if (!sink.Put(stack, static_cast<std::size_t>(n))) {
      status = GifStatus::kBadLzw;
      break;
    }
    prev = code;
  }
  decoded = sink.written();
  stored = sink.stored();
  return status;
}

GifStatus DecodeGif(const uint8_t* data, std::size_t size, GifImage& out, const GifLimits& limits,
                    GifKeep keep) {
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

    // A screen of no size (written by some tools) puts nothing off screen.
    if (keep == GifKeep::kWholeImage || img.screen_width == 0 || img.screen_height == 0) {
      f.kept_width = f.width;
      f.kept_height = f.height;
    } else {
      f.kept_width = std::clamp(img.screen_width - f.left, 0, f.width);
      f.kept_height = std::clamp(img.screen_height - f.top, 0, f.height);
    }
    // The buffer holds what can be kept and what the codes can deliver, so
    // an image far larger than its data costs no more than its data allows.
    const uint64_t kept_area =
        static_cast<uint64_t>(f.kept_width) * static_cast<uint64_t>(f.kept_height);
    const uint64_t capacity = std::min(kept_area, MaxLzwPixels(mcs, lzw.size()));
    if (capacity > limits.max_frame_pixels || capacity > limits.max_total_pixels - total_pixels ||
        img.frames.size() >= limits.max_frames)
      return GifStatus::kTooLarge;
    total_pixels += capacity;
    f.indices.assign(static_cast<std::size_t>(capacity), 0);
    const LzwShape shape{f.width, f.height, f.interlaced, f.kept_width, f.kept_height};
    std::size_t stored = 0;
    const GifStatus st = DecodeLzw(mcs, lzw.data(), lzw.size(), shape, f.indices.data(),
                                   f.indices.size(), f.decoded, stored);
    if (st != GifStatus::kOk) return st;
    f.indices.resize(stored);
    img.frames.push_back(std::move(f));
  }
  out = std::move(img);
  return GifStatus::kOk;
}

}  // namespace gifanim
