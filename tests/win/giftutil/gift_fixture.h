// A gift unpacked by hand into the package directory, as the self-extractor
// leaves it: the package, the player copied as "_{package}.exe", its
// resource module and the saver stub beside it. Everything the player may
// change outside that folder is put back afterwards: the saver line of
// "system.ini", the saver switch, the stub in the system folder and the
// shortcut on the desktop.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "package_fixture.h"

namespace quillo::test {

// One key of a profile file in the Windows directory, put back as it was.
class SavedIniKey {
 public:
  SavedIniKey(const char* file, const char* section, const char* key);
  ~SavedIniKey();
  std::string Read() const;  // "<none>" when missing

 private:
  const char* file_;
  const char* section_;
  const char* key_;
  std::string value_;
  bool hadSection_;
};

class GiftFixture {
 public:
  GiftFixture();
  ~GiftFixture();
  bool ready() const { return ready_ && package.ready(); }

  // Puts the player beside package `name` as "name.exe".
  bool AddPlayer(const std::string& name);
  std::string PlayerPath(const std::string& name) const { return package.directory() + "\\" + name + ".exe"; }
  std::string ShortcutPath(const std::string& name) const { return desktop_ + "\\" + name + ".lnk"; }
  // The program a shortcut file points at, or empty.
  static std::string ShortcutTarget(const std::string& path);

  // The stub in the system folder: its path, and putting it there (removed
  // again at the end when it was not there before).
  std::string installedSaver() const { return installedSaver_; }
  bool InstallSaverStub();
  bool RemoveSaverStub();  // only a copy this run made or the player made

  PackageFixture package;
  SavedIniKey systemSaver{"system.ini", "boot", "SCRNSAVE.EXE"};

 private:
  bool Copy(const std::string& from, const std::string& to);
  std::vector<std::string> added_;  // full paths
  std::vector<std::string> players_;
  std::string desktop_;
  std::string installedSaver_;
  bool hadInstalledSaver_ = false;
  BOOL saverActive_ = FALSE;
  bool ready_ = false;
};

}  // namespace quillo::test
