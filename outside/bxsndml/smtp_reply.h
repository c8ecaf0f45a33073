// Reassembles SMTP replies from the bytes a server sends: "250-first",
// "250-more", "250 last" make one reply with code 250 and three text lines.
// Anything that is not a reply line makes the reader fail for good, and the
// sizes a reply may take are bounded so a hostile server cannot grow memory.
#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <vector>

namespace quillo::bxsndml {

struct SmtpReply {
  int code = 0;
  std::vector<std::string> lines;  // text after "NNN-" / "NNN "
};

class SmtpReplyReader {
 public:
  static constexpr size_t kMaxLineLength = 4096;
  static constexpr size_t kMaxLinesPerReply = 256;
  static constexpr size_t kMaxQueuedReplies = 32;

  // False once the stream has proved not to be SMTP (stays false).
  bool Feed(const char* data, size_t size);
  bool HasReply() const { return !ready_.empty(); }
  SmtpReply TakeReply();
  bool failed() const { return failed_; }

 private:
  bool TakeLine(std::string line);
  std::string partial_;
  SmtpReply building_;
  std::deque<SmtpReply> ready_;
  bool failed_ = false;
};

}  // namespace quillo::bxsndml
