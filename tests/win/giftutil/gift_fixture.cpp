#include "gift_fixture.h"

#include <objbase.h>
#include <shlobj.h>

#include "win_test_support.h"

namespace quillo::test {

namespace {

constexpr char kMissing[] = "<none>";

}  // namespace

bool HasSection(const char* file, const char* section) {
  char keys[64] = {};
  return GetPrivateProfileSectionA(section, keys, sizeof keys, file) > 0;
}

SavedIniKey::SavedIniKey(const char* file, const char* section, const char* key)
    : file_(file), section_(section), key_(key), value_(Read()), hadSection_(HasSection(file, section)) {}

SavedIniKey::~SavedIniKey() {
  WritePrivateProfileStringA(section_, key_, value_ == kMissing ? nullptr : value_.c_str(), file_);
  if (!hadSection_ && !HasSection(file_, section_)) WritePrivateProfileStringA(section_, nullptr, nullptr, file_);
}

std::string SavedIniKey::Read() const {
  char value[MAX_PATH] = {};
  GetPrivateProfileStringA(section_, key_, kMissing, value, sizeof value, file_);
  return value;
}

GiftFixture::GiftFixture() {
  char folder[MAX_PATH] = {};
  if (SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, folder)))
    desktop_ = folder;
  if (!desktop_.empty() && desktop_.back() == '\\') desktop_.pop_back();
  GetSystemDirectoryA(folder, sizeof folder);
  installedSaver_ = std::string(folder) + "\\MailSaver.SCR";
  hadInstalledSaver_ = GetFileAttributesA(installedSaver_.c_str()) != INVALID_FILE_ATTRIBUTES;
  SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &saverActive_, 0);
  const std::string bin = ProgramDir() + "\\";
  const std::string here = package.directory() + "\\";
  ready_ = !desktop_.empty() && Copy(bin + "Posy.R", here + "Posy.R") &&
           Copy(bin + "MailSaver.scr", here + "MailSaver.scr");
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
}

GiftFixture::~GiftFixture() {
  for (const std::string& name : players_) DeleteFileA(ShortcutPath(name).c_str());
  for (const std::string& path : added_) DeleteFileA(path.c_str());
  if (!hadInstalledSaver_) DeleteFileA(installedSaver_.c_str());
  SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, saverActive_, nullptr, SPIF_UPDATEINIFILE);
  CoUninitialize();
}

bool GiftFixture::Copy(const std::string& from, const std::string& to) {
  if (GetFileAttributesA(to.c_str()) != INVALID_FILE_ATTRIBUTES) return true;  // someone else's
  if (!CopyFileA(from.c_str(), to.c_str(), TRUE)) return false;
  added_.push_back(to);
  return true;
}

bool GiftFixture::AddPlayer(const std::string& name) {
  players_.push_back(name);
  DeleteFileA(ShortcutPath(name).c_str());
  return Copy(ProgramDir() + "\\GiftUtil.EXE", PlayerPath(name));
}

std::string GiftFixture::ShortcutTarget(const std::string& path) {
  IShellLinkA* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&link))))
    return {};
  std::string target;
  IPersistFile* file = nullptr;
  wchar_t wide[MAX_PATH] = {};
  MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
  char found[MAX_PATH] = {};
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
      SUCCEEDED(file->Load(wide, STGM_READ)) && SUCCEEDED(link->GetPath(found, sizeof found, nullptr, 0)))
    target = found;
  if (file) file->Release();
  link->Release();
  return target;
}

bool GiftFixture::InstallSaverStub() {
  if (GetFileAttributesA(installedSaver_.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
  return CopyFileA((ProgramDir() + "\\MailSaver.scr").c_str(), installedSaver_.c_str(), TRUE) != FALSE;
}

bool GiftFixture::RemoveSaverStub() {
  if (hadInstalledSaver_) return false;
  DeleteFileA(installedSaver_.c_str());
  return GetFileAttributesA(installedSaver_.c_str()) == INVALID_FILE_ATTRIBUTES;
}

}  // namespace quillo::test
