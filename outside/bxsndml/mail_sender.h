// Sends one parsed mail request: reads the body and attachments, builds the
// message, talks SMTP over a MailConnection and reports progress to the
// caller's window (WM_COMMAND 101 with the total before DATA, then 102 with
// the bytes sent so far after each chunk).
#pragma once

#include <windows.h>

#include <atomic>

#include "mail_error.h"
#include "mail_request.h"

namespace quillo::bxsndml {

constexpr int kProgressTotalId = 101;
constexpr int kProgressDoneId = 102;

struct SendContext {
  HWND target = nullptr;             // progress reports, may be null
  const std::atomic<bool>* cancel = nullptr;
  unsigned timeoutMs = 20000;        // connect and every single send or receive
};

MailError SendMailRequest(const MailRequest& request, const SendContext& context);

// 20 s, or the value of the environment variable BXSNDML_TIMEOUT_MS
// (100 .. 600000) so tests need not wait that long for a dead server.
unsigned MailTimeoutMs();

}  // namespace quillo::bxsndml
