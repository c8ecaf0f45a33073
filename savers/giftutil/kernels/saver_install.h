// When the gift player makes its package the screen saver. The saver stub
// "MailSaver.SCR" lives in the system folder and replays the package named
// in the settings from the package folder through the plug-in named in its
// record; installing anything it cannot replay would leave the receiver
// with a black screen instead of the saver he had.
#pragma once
#include <cstdint>
#include <string_view>

namespace quillo::giftutil {

struct SaverInstallFacts {
  bool preview = false;           // "/preview": the sender looks at his own gift
  bool playable = false;          // record checked and plug-in loaded
  int32_t optionFlags = 0;        // of the record; 0x8 marks a replayable effect
  bool saverInSystem = false;     // "MailSaver.SCR" in the system folder
  bool saverBeside = false;       // "MailSaver.SCR" in the player's own folder
  bool inPackageFolder = false;   // the player runs in the package folder
};

struct SaverInstallPlan {
  bool offer = false;           // keep the menu item
  bool copySaver = false;       // copy the stub into the system folder first
  bool installAtStart = false;  // install at once, without a message
};

// Installing is possible when the gift is not a preview, plays, carries
// the replay flag, lies in the package folder and the stub is in the
// system folder or can be copied there from beside the player. Then the
// menu item stays, the stub is copied when missing and the package
// becomes the saver at start; otherwise none of it happens.
SaverInstallPlan PlanSaverInstall(const SaverInstallFacts& facts);

// Whether `folder` is the package folder of `windowsDirectory` (its "Bexa"
// folder), compared without regard to case or a trailing backslash.
bool IsPackageFolder(std::string_view folder, std::string_view windowsDirectory);

}  // namespace quillo::giftutil
