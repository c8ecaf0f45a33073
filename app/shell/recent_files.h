// The list of the five most recently opened image files ("i1" newest) and
// the order its menu items take.
#pragma once
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace quillo {

constexpr int kRecentCount = 5;
constexpr unsigned kRecentFirstCommand = 0x28AA;  // item i = 0x28AA + i
constexpr unsigned kRecentSeparator = 0x28AF;
constexpr size_t kRecentValueChars = 299;         // a 300-byte buffer per key

using RecentFiles = std::array<std::string, kRecentCount>;

// "i1" ... "i5" for index 0 ... 4.
std::string RecentKey(int index);

// A value as read from the settings file, cut to the length the program
// reads.
std::string RecentValueFromSettings(std::string_view text);

// Paths compare as Windows compares file names: ignoring the case of ASCII
// letters.
bool SamePath(std::string_view a, std::string_view b);

// Enters an opened file: a path of 299 characters or more, an empty one, or
// one that starts with a blank is ignored (false). A path already listed
// moves to the first place; otherwise the fifth entry drops out, the others
// move down and the path becomes the first.
bool EnterRecentFile(RecentFiles& list, std::string_view path);

// Menu items, in menu order, each placed before Exit: at start-up the
// non-empty entries oldest first ("i5" ... "i1"), after a file was entered
// newest first ("i1" ... "i5"). The separator follows when any item exists.
std::vector<int> RecentMenuOrderAtStart(const RecentFiles& list);
std::vector<int> RecentMenuOrderAfterOpen(const RecentFiles& list);

// Starting folder of the open dialog: the directory part of "i1" when that
// is at least 8 characters long and holds a backslash, otherwise "Samples"
// in the program directory; empty when that path would be too long.
std::string OpenDialogStartFolder(const RecentFiles& list, std::string_view programDirectory);

}  // namespace quillo
