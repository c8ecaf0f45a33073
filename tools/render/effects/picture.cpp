#include "picture.h"

#include <cstring>
#include <utility>

#include "contracts/dib_format.h"
#include "imaging/zoom.h"
#include "outside/bxdib3/dib_check.h"
#include "outside/bxdib3/dib_transform.h"

namespace quillo::render {

namespace {

// The DIB services' quarter turn clockwise.
constexpr int kQuarterTurnMode = 16;

imaging::Bgr24Picture View(const Picture& picture) {
  return {const_cast<uint8_t*>(picture.pixels.data()), picture.width, picture.height, picture.stride};
}

}  // namespace

PixelPass Picture::PassFrom(const Picture& source) {
  PixelPass pass;
  pass.source = source.pixels.data();
  pass.target = pixels.data();
  pass.width = width;
  pass.height = height;
  pass.stride = stride;
  pass.colEnd = width;
  pass.rowEnd = height;
  return pass;
}

bool PictureSizeUsable(int width, int height) {
  return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
         int64_t(width) * height <= kMaxPicturePixels;
}

bool MakePicture(int width, int height, Picture& out) {
  if (!PictureSizeUsable(width, height)) return false;
  out.width = width;
  out.height = height;
  out.stride = int(Stride24(width));
  out.pixels.assign(size_t(out.stride) * size_t(height), 0);
  return true;
}

bool ResamplePicture(const Picture& source, int width, int height, Picture& out) {
  Picture result;
  if (!MakePicture(width, height, result)) return false;
  if (imaging::ZoomBgr24(View(source), View(result)) != imaging::ZoomStatus::kDone) return false;
  out = std::move(result);
  return true;
}

std::vector<uint8_t> PictureToDib(const Picture& picture) {
  dib::DibShape shape;
  shape.width = picture.width;
  shape.height = picture.height;
  shape.bitCount = 24;
  const uint64_t size = dib::DibBlockSize(shape);
  if (size == 0) return {};
  std::vector<uint8_t> block(size);
  const dib::DibInfo info = dib::InitDib(block.data(), shape);
  std::memcpy(block.data() + info.bitsOffset, picture.pixels.data(), picture.pixels.size());
  return block;
}

bool QuarterTurnPicture(const Picture& source, Picture& out) {
  const std::vector<uint8_t> block = PictureToDib(source);
  dib::DibInfo info;
  if (block.empty() || dib::CheckDib(block.data(), block.size(), &info) != dib::DibFault::kSound) return false;
  dib::DibShape shape;
  if (!dib::TransformShape(block.data(), info, kQuarterTurnMode, &shape)) return false;
  std::vector<uint8_t> turned(dib::DibBlockSize(shape));
  if (turned.empty()) return false;
  dib::TransformDib(block.data(), info, kQuarterTurnMode, turned.data());
  dib::DibInfo turnedInfo;
  if (dib::CheckDib(turned.data(), turned.size(), &turnedInfo) != dib::DibFault::kSound) return false;
  Picture result;
  if (!MakePicture(turnedInfo.width, turnedInfo.height, result)) return false;
  std::memcpy(result.pixels.data(), turned.data() + turnedInfo.bitsOffset, result.pixels.size());
  out = std::move(result);
  return true;
}

}  // namespace quillo::render
