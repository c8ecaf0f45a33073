#include "recent_files.h"

#include "path_join.h"

namespace quillo {

std::string RecentKey(int index) { return "i" + std::to_string(index + 1); }

std::string RecentValueFromSettings(std::string_view text) {
  return std::string(text.substr(0, kRecentValueChars));
}

static char Fold(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool SamePath(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Fold(a[i]) != Fold(b[i])) return false;
  return true;
}

bool EnterRecentFile(RecentFiles& list, std::string_view path) {
  if (path.empty() || path.size() >= kRecentValueChars || path[0] == ' ') return false;
  int from = kRecentCount - 1;  // not listed: the last entry drops out
  for (int i = 0; i < kRecentCount; ++i) {
    if (SamePath(list[i], path)) {
      from = i;
      break;
    }
  }
  for (int i = from; i > 0; --i) list[i] = std::move(list[i - 1]);
  list[0] = std::string(path);
  return true;
}

std::vector<int> RecentMenuOrderAtStart(const RecentFiles& list) {
  std::vector<int> order;
  for (int i = kRecentCount - 1; i >= 0; --i)
    if (!list[i].empty()) order.push_back(i);
  return order;
}

std::vector<int> RecentMenuOrderAfterOpen(const RecentFiles& list) {
  std::vector<int> order;
  for (int i = 0; i < kRecentCount; ++i)
    if (!list[i].empty()) order.push_back(i);
  return order;
}

std::string OpenDialogStartFolder(const RecentFiles& list, std::string_view programDirectory) {
  const std::string& newest = list[0];
  if (newest.size() >= 8 && newest.find('\\') != std::string::npos)
    return std::string(DirectoryOf(newest));
  return JoinPath(programDirectory, "Samples").value_or(std::string());
}

}  // namespace quillo
