// A small plug-in module built several times with different definitions, so
// the catalogue scan meets sound and broken modules of every kind:
//   FAKE_VERSION      what PlugInGetVersion answers (default 1)
//   FAKE_NAME         what GetName answers ("" by default)
//   FAKE_FIRST_KIND   kind of the first info entry (default 0x1)
//   FAKE_NAME_ID      display-name string id of the first entry (100 exists)
//   FAKE_LONG_EXAMPLE the second entry names a 16-character example file
#include <windows.h>

#include "contracts/plugin_contract.h"

#ifndef FAKE_VERSION
#define FAKE_VERSION 1
#endif
#ifndef FAKE_NAME
#define FAKE_NAME ""
#endif
#ifndef FAKE_FIRST_KIND
#define FAKE_FIRST_KIND 0x1
#endif
#ifndef FAKE_NAME_ID
#define FAKE_NAME_ID 100
#endif
#ifdef FAKE_LONG_EXAMPLE
#define FAKE_SECOND_EXAMPLE "SixteenChars.jpg"
#else
#define FAKE_SECOND_EXAMPLE "Second.jpg"
#endif

static HINSTANCE g_self;

static const PlugInInfo kTable[] = {
    {FAKE_FIRST_KIND, 0, 2, 7, FAKE_NAME_ID, 101, 0x8, "ProcessFirst", "First.jpg"},
    {0x20, 1, 1, 8, 102, 0, 0x1000, "ProcessSecond", FAKE_SECOND_EXAMPLE},
    {-1, -1, -1, -1, -1, -1, -1, nullptr, nullptr},
};

extern "C" {
BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) g_self = self;
  return TRUE;
}
int WINAPI PlugInGetVersion(void) { return FAKE_VERSION; }
const char* WINAPI GetName(void) { return FAKE_NAME; }
const PlugInInfo* WINAPI GetPlugInInfo(void) { return kTable; }
HINSTANCE WINAPI GetResInst(void) { return g_self; }
int WINAPI ProcessFirst(HWND, HWND, HINSTANCE, UINT, int, UINT_PTR*, HGLOBAL*, INT32*, HWND*,
                        BYTE**, int) {
  return 0;
}
int WINAPI ProcessSecond(HWND, HWND, HINSTANCE, UINT, int, UINT_PTR*, HGLOBAL*, INT32*, HWND*,
                         BYTE**, int) {
  return 0;
}
}
