#include "codec_table.h"

#include <cctype>
#include <cstring>

namespace quillo::bxload {

std::string ExtensionOf(const char* path) {
  if (!path) return {};
  const char* name = path;
  for (const char* p = path; *p; ++p)
    if (*p == '\\' || *p == '/' || *p == ':') name = p + 1;
  const char* dot = std::strrchr(name, '.');
  if (!dot) return {};
  std::string ext(dot + 1);
  for (char& c : ext) c = char(std::tolower(static_cast<unsigned char>(c)));
  return ext;
}

Codec CodecForExtension(const std::string& e) {
  if (e == "bmp" || e == "dib" || e == "rle") return Codec::Bmp;
  if (e == "jpg" || e == "jpeg" || e == "jpe" || e == "bexa") return Codec::Jpeg;
  if (e == "png") return Codec::Png;
  if (e == "tif" || e == "tiff") return Codec::Tiff;
  if (e == "pbm" || e == "pgm" || e == "ppm") return Codec::Pnm;
  if (e == "wbmp") return Codec::Wbmp;
  if (e == "tga") return Codec::Tga;
  if (e == "pcx") return Codec::Pcx;
  if (e == "gif") return Codec::Gif;
  if (e == "gbr") return Codec::Gbr;
  if (e == "pat") return Codec::Pat;
  if (e == "xbm" || e == "bm") return Codec::Xbm;
  if (e == "xpm") return Codec::Xpm;
  if (e == "wpg") return Codec::Wpg;
  return Codec::Unknown;
}

bool DepthAllowed(Codec codec, int depth) {
  if (depth != 1 && depth != 4 && depth != 8 && depth != 24) return false;
  switch (codec) {
    case Codec::Bmp:
    case Codec::Png:
    case Codec::Tga:
    case Codec::Pcx: return true;
    case Codec::Gif:
    case Codec::Wpg: return depth != 24;
    case Codec::Wbmp: return depth == 1;
    case Codec::Jpeg: return depth == 24;
    case Codec::Tiff: return depth == 8 || depth == 24;
    default: return false;
  }
}

int SaveDepth(Codec codec, int bitCount) {
  for (int depth : {bitCount, 24, 8, 4, 1})
    if (DepthAllowed(codec, depth)) return depth;
  return 24;  // refused later with the format's own reason
}

std::string DepthRefusal(Codec codec, int depth) {
  if (depth != 1 && depth != 4 && depth != 8 && depth != 24)
    return "The colour depth must be 2, 16 or 256 colours or true colour.";
  switch (codec) {
    case Codec::Jpeg: return "JPEG files hold only true colour images.";
    case Codec::Tiff: return "TIFF files hold only 256-colour or true colour images.";
    case Codec::Wbmp: return "WBMP files hold only 2-colour images.";
    case Codec::Pnm: return "PBM, PGM and PPM files can be opened but not saved.";
    case Codec::Gif: return "GIF files hold only 2, 16 or 256-colour images.";
    case Codec::Wpg: return "WPG files hold only 2, 16 or 256-colour images.";
    case Codec::Gbr:
    case Codec::Pat: return "Brush and pattern files can be opened but not saved.";
    case Codec::Xbm:
    case Codec::Xpm: return "XBM and XPM files can be opened but not saved.";
    default: return "This file format cannot hold that colour depth.";
  }
}

std::string WriteError(const std::string& path, const std::string& reason, size_t capacity) {
  if (capacity == 0) return {};
  const size_t room = capacity - 1;
  const std::string lead = "Cannot write ", sep = ": ";
  std::string text = lead + path + sep + reason;
  if (text.size() <= room) return text;
  const size_t fixed = lead.size() + sep.size() + reason.size() + 3;
  if (fixed + 8 <= room) {
    const size_t keep = room - fixed;  // path characters kept around "..."
    const size_t head = keep / 2, tail = keep - head;
    return lead + path.substr(0, head) + "..." + path.substr(path.size() - tail) + sep + reason;
  }
  return text.substr(0, room);
}

}  // namespace quillo::bxload
