// GiftSfx: the self-extracting stub of a gift program. The program is this
// stub with a zip archive appended. At start it reads the archive from its
// own file and checks all of it (names, sizes, headers, CRCs) before writing
// anything; then it writes every member into the package folder
// "{windows}\Bexa\" (each through a temporary file that replaces an older
// file of that name only when complete) and starts "_{base}.exe" there, base
// being the stub's own file name without extension.
//
// "/preview" is the sender looking at their own gift: nothing on their
// machine may change, so the members go to a fresh temporary folder, the
// player gets "/preview" too, and the folder is removed when it exits.
#include <windows.h>

#include <string>
#include <vector>

#include "gift/archive/gift_launch.h"
#include "gift/archive/member_name.h"
#include "gift/archive/replace_file.h"
#include "gift/archive/zip_reader.h"
#include "sfx_folders.h"

namespace quillo::gift {
namespace {

// Largest gift program the stub maps: the archive limits plus room for the
// stub and the zip records.
constexpr uint64_t kMaxProgramSize = (uint64_t(1) << 30) + (uint64_t(64) << 20);

int Fail(const std::string& text) {
  MessageBoxA(nullptr, text.c_str(), "Quillo gift", MB_OK | MB_ICONERROR | MB_SYSTEMMODAL);
  return 1;
}

// The members, checked. An empty `error` means success.
std::vector<ZipMember> ReadOwnArchive(const std::string& self, std::string* error) {
  std::vector<ZipMember> members;
  MappedFile program(self, kMaxProgramSize);
  if (program.tooLarge()) {
    *error = "This gift program is too large to be unpacked.";
  } else if (!program.data()) {
    *error = "This gift program cannot read its own file.";
  } else if (ZipError failure = ReadZip(program.data(), program.size(), ZipLimits(), &members);
             failure != ZipError::kNone) {
    *error = std::string("This gift program is damaged and cannot be unpacked: ") + ZipErrorText(failure) + ".";
  }
  return members;
}

// Writes every member into `folder`; the failing path, or empty.
std::string WriteMembers(const std::string& folder, const std::vector<ZipMember>& members) {
  for (const ZipMember& member : members) {
    const std::string path = folder + member.name;
    if (path.size() >= MAX_PATH || !WriteFileReplacing(path, member.bytes.data(), member.bytes.size()))
      return path;
  }
  return {};
}

int Run() {
  char self[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, self, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return Fail("This gift program cannot find its own file.");
  const std::optional<GiftLaunch> launch = GiftLaunchOf(self, GetCommandLineA());
  if (!launch) return Fail("This gift program has no usable file name.");

  std::string error;
  const std::vector<ZipMember> members = ReadOwnArchive(self, &error);
  if (!error.empty()) return Fail(error);
  const ZipMember* player = nullptr;
  for (const ZipMember& member : members)
    if (SameMemberName(member.name, launch->player)) player = &member;
  if (!player)
    return Fail("This gift program does not hold its player \"" + launch->player +
                "\". Was the gift program renamed? Give it back its original name and start it again.");

  const std::optional<std::string> folder = launch->preview ? MakeFreshTemporaryFolder() : EnsurePackageFolder();
  if (!folder) return Fail("The folder to unpack the gift into cannot be created.");
  if (const std::string failed = WriteMembers(*folder, members); !failed.empty()) {
    if (launch->preview) RemoveFolder(*folder);
    return Fail("The gift cannot be unpacked: writing \"" + failed + "\" failed.");
  }

  const std::string playerPath = *folder + player->name;
  std::string commandLine = "\"" + playerPath + "\"";
  if (launch->preview) commandLine += " /preview";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(playerPath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder->c_str(), &startup, &process)) {
    if (launch->preview) RemoveFolder(*folder);
    return Fail("The gift was unpacked, but its player \"" + playerPath + "\" cannot be started.");
  }
  CloseHandle(process.hThread);
  if (launch->preview) {
    WaitForSingleObject(process.hProcess, INFINITE);
    RemoveFolder(*folder);
  }
  CloseHandle(process.hProcess);
  return 0;
}

}  // namespace
}  // namespace quillo::gift

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return quillo::gift::Run(); }
