// Building a gift of the running effect: the package of the effect (under
// "_" + the gift's base name), the gift player, the modules it needs and,
// when asked, the package screen saver, zipped behind the self-extracting
// stub into "Temp\{base}.exe" of the program folder.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "app/host/effect_record.h"

namespace quillo {

struct GiftOptions {
  bool english = false;       // take members from the "English" folder where it has them
  bool includeSaver = false;  // add PkgSaver.dll and MailSaver.scr
};

// Builds the gift for `fileName` (a bare file name the user chose) from the
// picture already saved as "Temp\Mail.jpg", the record and the running
// effect window. Returns the finished program's path (relative to the
// program folder, which must be current) or nullopt when any member is
// missing: a gift without one of its members is never made. The files the
// build wrote beside it are removed again.
std::optional<std::string> BuildGift(const std::string& fileName, const EffectRecord& record, HWND effectWindow,
                                     const GiftOptions& options);

// Saves `image` as "Temp\Mail.jpg" of the program folder (made current),
// making the folder when needed. False after a beep when it cannot.
bool SaveGiftPicture(HGLOBAL image);

}  // namespace quillo
