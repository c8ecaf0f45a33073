#include "picture_files.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include <png.h>
#if QUILLO_RENDER_JPEG
#include <jpeglib.h>
#endif

#include "outside/bxload/packed_dib.h"
#include "outside/bxload/pnm_codec.h"
#include "tools/render/safe_file.h"

namespace quillo::render {

namespace {

// No picture file of a usable size comes near this.
constexpr long kMaxFileBytes = long(1) << 30;

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& error) {
  std::unique_ptr<std::FILE, FileCloser> f(std::fopen(path.c_str(), "rb"));
  if (!f) {
    error = "cannot open " + path;
    return false;
  }
  if (std::fseek(f.get(), 0, SEEK_END) != 0) {
    error = "cannot read " + path;
    return false;
  }
  const long size = std::ftell(f.get());
  if (size < 0 || size > kMaxFileBytes || std::fseek(f.get(), 0, SEEK_SET) != 0) {
    error = "cannot read " + path + " (not a file, or too large)";
    return false;
  }
  bytes.resize(size_t(size));
  if (size > 0 && std::fread(bytes.data(), 1, bytes.size(), f.get()) != bytes.size()) {
    error = "cannot read " + path;
    return false;
  }
  return true;
}

bool SizeFits(int width, int height, const std::string& path, std::string& error) {
  if (PictureSizeUsable(width, height)) return true;
  error = path + ": a picture of " + std::to_string(width) + " x " + std::to_string(height) +
          " pixels is beyond what the tool takes";
  return false;
}

bool DecodePng(const std::vector<uint8_t>& bytes, const std::string& path, Picture& out, std::string& error) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) {
    error = path + ": " + image.message;
    return false;
  }
  image.format = PNG_FORMAT_BGR;
  const int width = int(image.width), height = int(image.height);
  if (image.width > uint32_t(kMaxPictureSide) || image.height > uint32_t(kMaxPictureSide) ||
      !SizeFits(width, height, path, error) || !MakePicture(width, height, out)) {
    if (error.empty()) error = path + ": the picture is too large";
    png_image_free(&image);
    return false;
  }
  // A negative stride (in bytes here: one byte a component) fills the
  // buffer bottom-up, as the DIB layout keeps the rows.
  if (!png_image_finish_read(&image, nullptr, out.pixels.data(), -out.stride, nullptr)) {
    error = path + ": " + image.message;
    png_image_free(&image);
    return false;
  }
  return true;
}

#if QUILLO_RENDER_JPEG
struct JpegErrors {
  jpeg_error_mgr manager;
  std::jmp_buf escape;
  char message[JMSG_LENGTH_MAX];
};

void JpegFail(j_common_ptr info) {
  JpegErrors* errors = reinterpret_cast<JpegErrors*>(info->err);
  (*info->err->format_message)(info, errors->message);
  std::longjmp(errors->escape, 1);
}

// Kept apart from everything with a destructor: a decoding error jumps back
// to the setjmp here, past libjpeg's own frames only; `out` and `row` live
// in the caller.
bool DecodeJpegInto(jpeg_decompress_struct& info, JpegErrors& errors, const std::vector<uint8_t>& bytes,
                    Picture& out, std::vector<uint8_t>& row, std::string& message) {
  if (setjmp(errors.escape)) {
    message = errors.message;
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  if (!PictureSizeUsable(int(info.image_width), int(info.image_height)) ||
      info.image_width > uint32_t(kMaxPictureSide) || info.image_height > uint32_t(kMaxPictureSide)) {
    message = "the picture is too large";
    return false;
  }
  jpeg_start_decompress(&info);
  if (info.output_components != 3 || !MakePicture(int(info.output_width), int(info.output_height), out)) {
    message = "unsupported colour layout";
    return false;
  }
  row.resize(size_t(out.width) * 3);
  while (info.output_scanline < info.output_height) {
    const int y = int(info.output_scanline);
    JSAMPROW rows[1] = {row.data()};
    jpeg_read_scanlines(&info, rows, 1);
    uint8_t* target = out.Row(out.height - 1 - y);
    for (int x = 0; x < out.width; ++x) {
      target[3 * x + 0] = row[3 * size_t(x) + 2];
      target[3 * x + 1] = row[3 * size_t(x) + 1];
      target[3 * x + 2] = row[3 * size_t(x) + 0];
    }
  }
  jpeg_finish_decompress(&info);
  // libjpeg pads a file cut short with grey and only warns: such a file is
  // refused rather than animated half grey.
  if (errors.manager.num_warnings > 0) {
    message = "the file is damaged or cut short";
    return false;
  }
  return true;
}

bool DecodeJpeg(const std::vector<uint8_t>& bytes, const std::string& path, Picture& out, std::string& error) {
  jpeg_decompress_struct info;
  JpegErrors errors;
  std::memset(&info, 0, sizeof info);
  std::memset(&errors, 0, sizeof errors);
  info.err = jpeg_std_error(&errors.manager);
  errors.manager.error_exit = JpegFail;
  errors.manager.output_message = [](j_common_ptr) {};  // warnings stay quiet
  std::vector<uint8_t> row;
  std::string message;
  const bool ok = DecodeJpegInto(info, errors, bytes, out, row, message);
  jpeg_destroy_decompress(&info);
  if (!ok) error = path + ": " + message;
  return ok;
}
#endif

bool DecodePnm(const std::vector<uint8_t>& bytes, const std::string& path, Picture& out, std::string& error) {
  const bxload::PnmImage pnm = bxload::ReadPnm(bytes.data(), bytes.size());
  bxload::DibView view;
  std::string reason;
  if (pnm.dib.empty() || !bxload::ParseDib(pnm.dib.data(), pnm.dib.size(), view, reason)) {
    error = path + ": " + (pnm.dib.empty() ? pnm.error : reason);
    return false;
  }
  const std::vector<uint8_t> colour = bxload::ToBgr24(view);
  bxload::DibView colourView;
  if (colour.empty() || !bxload::ParseDib(colour.data(), colour.size(), colourView, reason) ||
      !SizeFits(colourView.width, colourView.height, path, error) ||
      !MakePicture(colourView.width, colourView.height, out)) {
    if (error.empty()) error = path + ": the picture cannot be converted";
    return false;
  }
  for (int y = 0; y < out.height; ++y)
    std::memcpy(out.Row(out.height - 1 - y), colourView.Row(y), size_t(out.width) * 3);
  return true;
}

}  // namespace

bool ReadPicture(const std::string& path, Picture& out, std::string& error) {
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(path, bytes, error)) return false;
  static const uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Picture picture;
  bool ok = false;
  if (bytes.size() >= 8 && std::memcmp(bytes.data(), kPngSignature, 8) == 0) {
    ok = DecodePng(bytes, path, picture, error);
  } else if (bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF) {
#if QUILLO_RENDER_JPEG
    ok = DecodeJpeg(bytes, path, picture, error);
#else
    error = path + ": this build reads no JPEG files; convert it first (convert in.jpg out.png)";
#endif
  } else if (bytes.size() >= 2 && bytes[0] == 'P' && bytes[1] >= '1' && bytes[1] <= '6') {
    ok = DecodePnm(bytes, path, picture, error);
  } else {
    error = path + " is not a PNG, JPEG or PNM picture";
  }
  if (ok) out = std::move(picture);
  return ok;
}

bool WritePng(const std::string& path, const Picture& picture, std::string& error) {
  ReplacingFile file;
  if (!file.Open(path, error)) return false;
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = uint32_t(picture.width);
  image.height = uint32_t(picture.height);
  image.format = PNG_FORMAT_BGR;
  if (!png_image_write_to_stdio(&image, file.stream(), 0, picture.pixels.data(), -picture.stride,
                                nullptr)) {
    error = "cannot write " + path + ": " + image.message;
    return false;
  }
  return file.Commit(error);
}

}  // namespace quillo::render
