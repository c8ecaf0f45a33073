// Choosing the saver's picture: any format the codec library reads, stored
// as a 24-bit "Saver\Saver.bmp" in the engine's folder.
#include <windows.h>
#include <commdlg.h>

#include <string>

#include "choosers.h"
#include "contracts/dib_services.h"
#include "contracts/image_codecs.h"
#include "engine_state.h"

namespace quillo::effsaver {

namespace {

void AddFilter(std::string& filter, const char* name, const char* pattern) {
  filter.append(name).push_back('\0');
  filter.append(pattern).push_back('\0');
}

std::string PictureFilter() {
  std::string filter;
  AddFilter(filter, "All File(*.*)", "*.*");
  AddFilter(filter, "Bitmap Files", "*.bmp;*.dib");
  AddFilter(filter, "PCX File", "*.pcx");
  AddFilter(filter, "TGA File", "*.tga");
  AddFilter(filter, "GIF File", "*.gif");
  AddFilter(filter, "TIF File", "*.tif;*.tiff");
  AddFilter(filter, "wpg File", "*.wpg");
  AddFilter(filter, "GBR Files", "*.gbr");
  AddFilter(filter, "PAT Files", "*.pat");
  AddFilter(filter, "XBM File", "*.xbm;*.bm");
  AddFilter(filter, "XPM File", "*.xpm");
  AddFilter(filter, "WBMP File", "*.wbmp");
  AddFilter(filter, "PBM File", "*.pbm;*.pgm;*.ppm");
  AddFilter(filter, "JPG File", "*.jpg;*.jpeg;*.jpe");
  AddFilter(filter, "png File", "*.png");
  filter.push_back('\0');
  return filter;
}

// Writes `picture` as the saver's picture: first to a file beside it (the
// codec picks the format by extension, so that name ends in ".bmp"), which
// then replaces the old picture.
bool StorePicture(HGLOBAL picture) {
  const std::string folder = InEngineFolder("Saver");
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string temporary = folder + "\\Saver.new.bmp";
  DeleteFileA(temporary.c_str());
  if (!SaveDIB(picture, temporary.c_str())) {
    DeleteFileA(temporary.c_str());
    return false;
  }
  const std::string target = g_engine.picturePath;
  if (!MoveFileExA(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileA(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace

void ChoosePicture(HWND owner) {
  char path[400] = {};
  const std::string filter = PictureFilter();
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = path;
  ofn.nMaxFile = sizeof path;
  ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER | OFN_NOCHANGEDIR;
  if (!GetOpenFileNameA(&ofn)) return;
  HGLOBAL loaded = LoadDIB(path);
  HGLOBAL picture = loaded ? Duplicate24BitsDIB(loaded) : nullptr;
  if (loaded) DestroyDIB(loaded);
  const bool stored = picture && StorePicture(picture);
  if (picture) DestroyDIB(picture);
  if (!stored) MessageBeep(0);
}

}  // namespace quillo::effsaver
