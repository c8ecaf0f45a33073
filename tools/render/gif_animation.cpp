#include "gif_animation.h"

#include <algorithm>
#include <cstddef>
#include <vector>

#include "outside/bxdib3/dib_quantize.h"
#include "outside/bxload/gif_codec.h"

namespace quillo::render {

namespace {

constexpr int kMaxGifSide = 65535;
constexpr size_t kMaxSubBlock = 255;

void PutWord(std::vector<uint8_t>& out, int v) {
  out.push_back(uint8_t(v & 0xFF));
  out.push_back(uint8_t((v >> 8) & 0xFF));
}

// Bits an index needs for `count` colours: 1 .. 8.
int TableBits(uint32_t count) {
  int bits = 1;
  while ((1u << bits) < count) ++bits;
  return bits;
}

}  // namespace

bool GifAnimationWriter::Put(const void* bytes, size_t count) {
  return std::fwrite(bytes, 1, count, stream_) == count;
}

bool GifAnimationWriter::Begin(std::FILE* stream, int width, int height, std::string& error) {
  if (width < 1 || height < 1 || width > kMaxGifSide || height > kMaxGifSide) {
    error = "GIF frames are 1 to 65535 pixels wide and high";
    return false;
  }
  stream_ = stream;
  width_ = width;
  height_ = height;
  std::vector<uint8_t> head = {'G', 'I', 'F', '8', '9', 'a'};
  PutWord(head, width);
  PutWord(head, height);
  // No global table (every frame has its own), 8-bit colour resolution.
  head.insert(head.end(), {0x70, 0, 0});
  // The application extension that makes viewers loop: repeat count 0, forever.
  head.insert(head.end(), {0x21, 0xFF, 0x0B, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1, 0, 0, 0});
  if (!Put(head.data(), head.size())) {
    error = "cannot write the GIF file";
    return false;
  }
  return true;
}

bool GifAnimationWriter::AddFrame(const Picture& frame, int delay, int maxColours, std::string& error) {
  if (!stream_ || frame.width != width_ || frame.height != height_) {
    error = "GIF frames must all have the size of the first";
    return false;
  }
  const std::vector<uint8_t> block = PictureToDib(frame);
  dib::DibInfo info;
  dib::QuantPalette palette;
  if (block.empty() || dib::CheckDib(block.data(), block.size(), &info) != dib::DibFault::kSound ||
      !dib::ChoosePalette(block.data(), info, maxColours, &palette) || palette.count == 0) {
    error = "the frame's colours cannot be chosen";
    return false;
  }
  const dib::DibShape indexShape = dib::IndexShape(block.data(), info, palette);
  std::vector<uint8_t> indexDib(dib::DibBlockSize(indexShape));
  std::vector<uint8_t> indices(size_t(width_) * size_t(height_));
  if (indexDib.empty()) {
    error = "no memory for the frame's colour indices";
    return false;
  }
  dib::MapToPalette(block.data(), info, palette, indexDib.data(), indices.data());

  const int bits = TableBits(palette.count);
  std::vector<uint8_t> out = {0x21, 0xF9, 4, 0x04};  // control: disposal 1, keep the frame
  PutWord(out, delay);
  out.insert(out.end(), {0, 0});  // no transparent colour; block end
  out.push_back(0x2C);
  PutWord(out, 0);
  PutWord(out, 0);
  PutWord(out, width_);
  PutWord(out, height_);
  out.push_back(uint8_t(0x80 | (bits - 1)));  // a local table of 2^bits entries
  for (int i = 0; i < (1 << bits); ++i) {
    const DibColour c = uint32_t(i) < palette.count ? palette.colours[i] : DibColour{0, 0, 0, 0};
    out.insert(out.end(), {c.red, c.green, c.blue});
  }
  const int minCodeSize = bits < 2 ? 2 : bits;
  out.push_back(uint8_t(minCodeSize));
  const std::vector<uint8_t> codes = bxload::EncodeLzw(indices.data(), indices.size(), minCodeSize);
  for (size_t pos = 0; pos < codes.size(); pos += kMaxSubBlock) {
    const size_t n = std::min(kMaxSubBlock, codes.size() - pos);
    out.push_back(uint8_t(n));
    out.insert(out.end(), codes.begin() + std::ptrdiff_t(pos), codes.begin() + std::ptrdiff_t(pos + n));
  }
  out.push_back(0);
  if (!Put(out.data(), out.size())) {
    error = "cannot write the GIF file";
    return false;
  }
  return true;
}

bool GifAnimationWriter::Finish(std::string& error) {
  const uint8_t trailer = 0x3B;
  if (!stream_ || !Put(&trailer, 1)) {
    error = "cannot write the GIF file";
    return false;
  }
  return true;
}

}  // namespace quillo::render
