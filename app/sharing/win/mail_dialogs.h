// The mail command: the picture, or a gift of the running effect, mailed
// through the mail library; without a picture, any files.
#pragma once
#include <windows.h>

namespace quillo {

// Opens "SendMail" for `document` (a gift when an effect runs on it, else
// the picture) or, without a document, "SendRawMail". Returns false when
// the mail library is missing or refuses to open.
bool RunMailCommand(HWND document);

}  // namespace quillo
