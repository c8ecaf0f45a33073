#include "smtp_reply.h"

#include <cstring>

namespace quillo::bxsndml {

bool SmtpReplyReader::Feed(const char* data, size_t size) {
  for (size_t i = 0; i < size && !failed_; ++i) {
    if (data[i] == '\n') {
      std::string line = std::move(partial_);
      partial_.clear();
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (!TakeLine(std::move(line))) failed_ = true;
    } else if (partial_.size() >= kMaxLineLength) {
      failed_ = true;
    } else {
      partial_ += data[i];
    }
  }
  return !failed_;
}

bool SmtpReplyReader::TakeLine(std::string line) {
  if (line.size() < 3 || line[0] < '2' || line[0] > '5' || line[1] < '0' || line[1] > '9' ||
      line[2] < '0' || line[2] > '9')
    return false;
  const char separator = line.size() > 3 ? line[3] : ' ';
  if (separator != ' ' && separator != '-') return false;
  const int code = (line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0');
  if (!building_.lines.empty() && code != building_.code) return false;
  if (building_.lines.size() >= kMaxLinesPerReply) return false;
  building_.code = code;
  building_.lines.push_back(line.size() > 4 ? line.substr(4) : std::string());
  if (separator == ' ') {
    if (ready_.size() >= kMaxQueuedReplies) return false;
    ready_.push_back(std::move(building_));
    building_ = SmtpReply{};
  }
  return true;
}

SmtpReply SmtpReplyReader::TakeReply() {
  SmtpReply reply = std::move(ready_.front());
  ready_.pop_front();
  return reply;
}

}  // namespace quillo::bxsndml
