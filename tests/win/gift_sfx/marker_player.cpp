// Stands in for the gift player: writes its command line and current folder
// to the file named by QUILLO_GIFT_MARKER (one per line) and exits. The file
// is written under another name and renamed, so a reader never sees half.
#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char marker[MAX_PATH];
  const DWORD length = GetEnvironmentVariableA("QUILLO_GIFT_MARKER", marker, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return 2;
  char folder[MAX_PATH];
  if (!GetCurrentDirectoryA(MAX_PATH, folder)) return 3;
  const std::string text = std::string(GetCommandLineA()) + "\n" + folder + "\n";
  const std::string partial = std::string(marker) + ".part";
  HANDLE file = CreateFileA(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 4;
  DWORD written = 0;
  const bool ok = WriteFile(file, text.data(), DWORD(text.size()), &written, nullptr) && written == text.size();
  CloseHandle(file);
  return ok && MoveFileExA(partial.c_str(), marker, MOVEFILE_REPLACE_EXISTING) ? 0 : 5;
}
