// What the printing tests share about the session's test printer: the
// profile's "device" entry that names it (changed for a test and put back)
// and the job files its port spools, one per print job, in
// PRINTER_STATE/jobs.
#pragma once
#include <windows.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace quillo::test {

inline std::string ProfileDevice() {
  char buffer[1024] = {};
  GetProfileStringA("windows", "device", ",,,", buffer, sizeof buffer);
  return buffer;
}

// Changes the device entry (null removes it) for one scope.
class DeviceEntryChange {
 public:
  explicit DeviceEntryChange(const char* value) : saved_(ProfileDevice()) {
    WriteProfileStringA("windows", "device", value);
  }
  ~DeviceEntryChange() { WriteProfileStringA("windows", "device", saved_.c_str()); }
  DeviceEntryChange(const DeviceEntryChange&) = delete;
  DeviceEntryChange& operator=(const DeviceEntryChange&) = delete;
  const std::string& saved() const { return saved_; }

 private:
  std::string saved_;
};

inline std::string JobFolder() { return std::string(PRINTER_STATE) + "/jobs"; }

// The printer's job file names, oldest (lowest number) first.
inline std::vector<std::string> JobFiles() {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((JobFolder() + "/job-*.ps").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do names.push_back(found.cFileName);
  while (FindNextFileA(search, &found));
  FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

inline std::string ReadAll(const std::string& path) {
  std::ostringstream s;
  s << std::ifstream(path, std::ios::binary).rdbuf();
  return s.str();
}

}  // namespace quillo::test
