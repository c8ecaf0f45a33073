// Answers the message boxes a test provokes: a thread finds every dialog box
// of this process with a message-box text, records caption and text, and
// presses its default button (or closes it).
#pragma once
#include <windows.h>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace quillo::test {

class MessageBoxWatcher {
 public:
  struct Box {
    std::string caption;
    std::string text;
  };
  MessageBoxWatcher();
  ~MessageBoxWatcher();
  // The boxes answered so far, oldest first.
  std::vector<Box> boxes();
  void Clear();
  // The button later boxes get (IDNO, IDCANCEL ...); 0 = the default button.
  void Answer(int id);
  // Captions and texts joined, for failure messages.
  std::string Describe();

 private:
  void Run();
  std::mutex mutex_;
  std::vector<Box> boxes_;
  bool stop_ = false;
  int answer_ = 0;
  std::thread thread_;  // last: it starts once everything above exists
};

}  // namespace quillo::test
