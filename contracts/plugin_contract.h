// The call contract between hosts (the main program, the screen-saver
// engines, the gift player) and effect plug-in modules (".PL1").
#pragma once
#include <windows.h>
#include <stdint.h>

// One entry of a plug-in's information table. The table ends at the first
// entry whose kindFlags is zero or negative.
struct PlugInInfo {
  INT32 kindFlags;         // effect family (> 0); 0x20 is the warp family
  INT32 reserved1;         // 0
  INT32 catalogFlag;       // bit 0: ignores the image mask; bit 1: needs a mask
  INT32 effectValue;       // handed back to the effect function as argument 5
  INT32 nameStringId;      // display name, string table of the resource module
  INT32 categoryStringId;  // category name, 0 = none
  INT32 optionFlags;       // 0x8 storable as screen saver; 0xFFF000 image fitting
  const char* functionName;
  const char* exampleImage;  // example picture file name, or "N/A"
};

#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(PlugInInfo) == 36, "PlugInInfo is 36 bytes in the 32-bit build");
#endif

// Option bits of PlugInInfo::optionFlags.
#define PLUGIN_OPTION_SAVER 0x8
#define PLUGIN_OPTION_FIT_MASK 0xFFF000

// The host context: twelve numbered words, read by index.
typedef UINT_PTR HostContext[12];
enum HostContextWord {
  kHostFrame = 0,          // the caller's frame window
  kHostView = 1,           // the view window
  kHostBusy = 7,           // set to 1 by an effect that wants mouse input refused
  kHostOriginalImage = 9,  // the image as it was before the run
  kHostNoDialog = 10,      // non-zero: run without showing the dialog
  kHostParameters = 11,    // address of a stored parameter blob, or 0
};
#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(HostContext) == 48, "HostContext is 48 bytes in the 32-bit build");
#endif

// The package item query a host sends with 2122 and 2121.
typedef UINT_PTR PackageItemQuery[137];
enum PackageItemWord {
  kQuerySupported = 0,
  kQueryItemCount = 1,
  kQueryItemKind = 2,   // 1 parameter block, 3 image
  kQueryItemSize = 3,
  kQueryItemData = 4,
  kQueryItemImage = 5,
};
#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(PackageItemQuery) == 548, "PackageItemQuery is 548 bytes in the 32-bit build");
#endif

// The effect function every "Process..." export has.
typedef int(WINAPI* EffectFunction)(HWND ownerWindow, HWND viewWindow, HINSTANCE hostInstance,
                                     UINT notifyMessage, int effectValue, UINT_PTR* runContext,
                                     HGLOBAL* imageHandle, INT32* selection, HWND* dialogOut,
                                     BYTE** alphaMask, int reserved);

typedef int(WINAPI* PlugInGetVersionFunction)(void);
typedef const char*(WINAPI* GetNameFunction)(void);
typedef const PlugInInfo*(WINAPI* GetPlugInInfoFunction)(void);
typedef HINSTANCE(WINAPI* GetResInstFunction)(void);
typedef const char*(WINAPI* ResNameFunction)(void);

#define PLUGIN_CONTRACT_VERSION 1

// Messages a plug-in sends to the host's view window.
#define VM_RELAYOUT 2054
#define VM_SET_TOOL_WINDOW 2057
#define VM_SHARE_RECT 2064
#define VM_EFFECT_ACTIVE 2065
#define VM_SET_CURSOR 2066
#define VM_MAP_RECT 2069
#define VM_REDRAW 2099

// The notification hosts pass as notifyMessage.
#define HOST_NOTIFY_MESSAGE 2053

// Animation protocol.
#define EM_NEW_FRAME 2118
#define EM_SAVER_TICK 2119
#define EM_PACKAGE_ITEM 2121
#define EM_PACKAGE_QUERY 2122

// Mouse events the view posts to the tool window (message 5120, wParam code).
#define TOOL_MOUSE_MESSAGE 5120
#define TOOL_LBUTTON_DOWN 22222
#define TOOL_MOUSE_MOVE 22224
#define TOOL_LBUTTON_UP 22220
#define TOOL_RBUTTON_DOWN 22223
#define TOOL_RBUTTON_UP 22221

// Effect dialog control IDs shared by every effect.
#define IDC_EFFECT_OK 1
#define IDC_EFFECT_CANCEL 2
#define IDC_EFFECT_REFRESH 309
#define IDC_EFFECT_PREVIEW 316
#define IDC_EFFECT_APPLY 321
#define IDC_EFFECT_PROGRESS 323
#define IDC_FIRST_SLIDER 501
#define IDC_FIRST_CHECK 601
#define IDC_FIRST_LABEL 701
#define IDC_FIRST_RADIO 801
