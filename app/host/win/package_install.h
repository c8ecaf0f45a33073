// Keeping the running effect as a package and making a screen saver of it:
// the picture the effect started from, its record and parameters go into
// the package folder with the modules needed to replay it, and MailSaver.scr
// becomes the system screen saver. The other installer makes BXSaver.SCR,
// which plays catalogued effects live, the screen saver.
#pragma once

namespace quillo {

// The running effect as a package. 1 on success, 0 on failure (only a
// picture that cannot be written beeps). A failure leaves no listed package
// behind: the record, which makes a package visible, is written last, and
// the package's own files are removed again when a later step fails.
int InstallPackageAsScreenSaver();

// Copies BXSaver.SCR into the system directory when it is missing, tells it
// where EffSaver.DLL lies, and makes it the system screen saver. False
// (after a beep, nothing changed) when the saver program or its short path
// cannot be had.
bool InstallEffectScreenSaver();

}  // namespace quillo
