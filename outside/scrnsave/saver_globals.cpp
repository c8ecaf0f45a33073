#include "saver_globals.h"

#include <commdlg.h>
#include <scrnsave.h>

HINSTANCE hMainInstance = nullptr;
HWND hMainWindow = nullptr;
WINBOOL fChildPreview = FALSE;
TCHAR szName[TITLEBARNAMELEN] = {};
TCHAR szAppName[APPNAMEBUFFERLEN] = {};
TCHAR szIniFile[MAXFILELEN] = {};
TCHAR szScreenSaver[22] = {};
TCHAR szHelpFile[MAXFILELEN] = {};
TCHAR szNoHelpMemory[BUFFLEN] = {};
UINT MyHelpMessage = 0;

namespace quillo::saver {

void LoadSaverGlobals(HINSTANCE instance) {
  hMainInstance = instance;
  // Strings the saver does not define stay empty.
  LoadStringA(instance, IDS_DESCRIPTION, szName, TITLEBARNAMELEN);
  LoadStringA(instance, idsAppName, szAppName, APPNAMEBUFFERLEN);
  LoadStringA(instance, idsIniFile, szIniFile, MAXFILELEN);
  LoadStringA(instance, idsScreenSaver, szScreenSaver, sizeof szScreenSaver);
  LoadStringA(instance, idsHelpFile, szHelpFile, MAXFILELEN);
  LoadStringA(instance, idsNoHelpMemory, szNoHelpMemory, BUFFLEN);
  // The message common dialogs send for their Help button, so a settings
  // dialog can treat a common dialog's help request like its own.
  MyHelpMessage = RegisterWindowMessageA(HELPMSGSTRING);
}

}  // namespace quillo::saver
