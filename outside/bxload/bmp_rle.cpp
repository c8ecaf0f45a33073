#include "bmp_rle.h"

namespace quillo::bxload {

namespace {

// Where the decoder writes: pixel x of file row y (row 0 is the first row
// stored in the file). Writes outside the picture are dropped.
class RleTarget {
 public:
  RleTarget(int bitCount, int32_t width, int32_t height, bool topDown, uint8_t* rows,
            int64_t stride)
      : bitCount_(bitCount), width_(width), height_(height), topDown_(topDown), rows_(rows),
        stride_(stride) {}

  bool Finished() const { return y_ >= height_; }
  void Put(int index) {
    if (x_ < width_ && y_ < height_) {
      const int64_t row = topDown_ ? int64_t(height_) - 1 - y_ : y_;
      uint8_t* p = rows_ + row * stride_;
      if (bitCount_ == 8) p[x_] = uint8_t(index);
      else p[x_ >> 1] |= uint8_t((x_ & 1) ? (index & 0x0F) : (index & 0x0F) << 4);
    }
    if (x_ < width_) ++x_;  // a run past the row end is clipped there
  }
  void EndOfLine() {
    x_ = 0;
    ++y_;
  }
  void Delta(int dx, int dy) {
    x_ += dx;
    if (x_ > width_) x_ = width_;
    y_ += dy;
  }
  void EndOfBitmap() { y_ = height_; }

 private:
  int bitCount_;
  int64_t width_, height_;
  bool topDown_;
  uint8_t* rows_;
  int64_t stride_;
  int64_t x_ = 0, y_ = 0;
};

}  // namespace

void DecodeRle(const uint8_t* data, size_t size, int bitCount, int32_t width, int32_t height,
               bool topDown, uint8_t* rows, int64_t stride) {
  RleTarget out(bitCount, width, height, topDown, rows, stride);
  size_t pos = 0;
  while (!out.Finished() && size - pos >= 2) {
    const int count = data[pos];
    const int value = data[pos + 1];
    pos += 2;
    if (count > 0) {  // encoded run
      for (int i = 0; i < count; ++i) {
        if (bitCount == 8) out.Put(value);
        else out.Put((i & 1) ? (value & 0x0F) : (value >> 4));
      }
      continue;
    }
    switch (value) {
      case 0: out.EndOfLine(); break;
      case 1: out.EndOfBitmap(); break;
      case 2:
        if (size - pos < 2) return;
        out.Delta(data[pos], data[pos + 1]);
        pos += 2;
        break;
      default: {  // absolute run of `value` pixels, padded to a 16-bit boundary
        const size_t bytes = bitCount == 8 ? size_t(value) : (size_t(value) + 1) / 2;
        if (size - pos < bytes) return;
        for (int i = 0; i < value; ++i) {
          if (bitCount == 8) out.Put(data[pos + i]);
          else out.Put((i & 1) ? (data[pos + i / 2] & 0x0F) : (data[pos + i / 2] >> 4));
        }
        pos += bytes + (bytes & 1);
        if (pos > size) pos = size;
        break;
      }
    }
  }
}

}  // namespace quillo::bxload
