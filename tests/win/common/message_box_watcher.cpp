#include "message_box_watcher.h"

namespace quillo::test {

namespace {

// Message boxes hold their text in a static control with id 0xFFFF, as many
// dialog templates' labels do (-1); what tells a message box apart is its
// icon control (0x440 in Wine's template, 20 in Windows').
constexpr int kMessageTextId = 0xFFFF;
constexpr int kMessageIconIds[] = {0x440, 20};

bool IsMessageBox(HWND window) {
  if (!GetDlgItem(window, kMessageTextId)) return false;
  for (int id : kMessageIconIds)
    if (GetDlgItem(window, id)) return true;
  return false;
}

struct Search {
  DWORD process;
  HWND found;
};

BOOL CALLBACK FindBox(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<Search*>(lParam);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  char cls[16] = {};
  GetClassNameA(window, cls, sizeof cls);
  if (process == search->process && lstrcmpA(cls, "#32770") == 0 && IsWindowVisible(window) &&
      IsMessageBox(window)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

MessageBoxWatcher::MessageBoxWatcher() : thread_([this] { Run(); }) {}

MessageBoxWatcher::~MessageBoxWatcher() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  thread_.join();
}

void MessageBoxWatcher::Run() {
  for (;;) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (stop_) return;
    }
    Search search{GetCurrentProcessId(), nullptr};
    EnumWindows(FindBox, LPARAM(&search));
    if (search.found) {
      char caption[256] = {}, text[1024] = {};
      GetWindowTextA(search.found, caption, sizeof caption);
      GetDlgItemTextA(search.found, kMessageTextId, text, sizeof text);
      int answer = 0;
      {
        std::lock_guard<std::mutex> lock(mutex_);
        boxes_.push_back({caption, text});
        answer = answer_;
      }
      // The chosen answer, or the default button (OK, or Yes for questions);
      // a box without one is closed.
      const LRESULT def = SendMessageA(search.found, DM_GETDEFID, 0, 0);
      int id = HIWORD(def) == DC_HASDEFID ? LOWORD(def) : IDCANCEL;
      if (answer) id = answer;
      SendMessageA(search.found, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
      // Wait until it is gone so it is not recorded twice.
      for (int i = 0; i < 200 && IsWindow(search.found) && IsWindowVisible(search.found); ++i) Sleep(10);
    }
    Sleep(20);
  }
}

std::vector<MessageBoxWatcher::Box> MessageBoxWatcher::boxes() {
  std::lock_guard<std::mutex> lock(mutex_);
  return boxes_;
}

void MessageBoxWatcher::Answer(int id) {
  std::lock_guard<std::mutex> lock(mutex_);
  answer_ = id;
}

void MessageBoxWatcher::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  boxes_.clear();
}

std::string MessageBoxWatcher::Describe() {
  std::lock_guard<std::mutex> lock(mutex_);
  std::string out;
  for (const Box& box : boxes_) out += "[" + box.caption + "] " + box.text + "\n";
  return out;
}

}  // namespace quillo::test
