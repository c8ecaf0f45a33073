// An effect module that records how the host calls it (see probe_plugin.h)
// and does a simple, checkable thing to the picture.
#include "probe_plugin.h"

#include <cstring>

#include "contracts/dib_format.h"
#include "contracts/dib_services.h"
#include "contracts/plugin_contract.h"

static HINSTANCE g_self;
static ProbeState g_state;

static const PlugInInfo kTable[] = {
    {0x1, 0, 0, 42, 100, 0, 0x1, "ProcessProbe", "N/A"},
    {-1, -1, -1, -1, -1, -1, -1, nullptr, nullptr},
};

extern "C" {
BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) g_self = self;
  return TRUE;
}
int WINAPI PlugInGetVersion(void) { return 1; }
const char* WINAPI GetName(void) { return ""; }
const PlugInInfo* WINAPI GetPlugInInfo(void) { return kTable; }
HINSTANCE WINAPI GetResInst(void) { return g_self; }
ProbeState* ProbeStateOf(void) { return &g_state; }

int WINAPI ProcessProbe(HWND owner, HWND view, HINSTANCE, UINT notify, int effectValue,
                        UINT_PTR* context, HGLOBAL* image, INT32* selection, HWND* dialog,
                        BYTE** mask, int) {
  ProbeState& s = g_state;
  ++s.calls;
  s.owner = owner;
  s.view = view;
  s.notify = notify;
  s.effectValue = effectValue;
  std::memcpy(s.context, context, sizeof s.context);
  s.imageGiven = image != nullptr;
  s.selectionGiven = selection != nullptr;
  if (selection) std::memcpy(s.selection, selection, sizeof s.selection);
  s.maskGiven = mask != nullptr;
  s.mask = mask ? *mask : nullptr;
  s.image = image ? *image : nullptr;
  s.imageWidth = s.imageHeight = 0;
  if (s.image) {
    const auto* p = static_cast<const char*>(GlobalLock(s.image));
    s.imageWidth = DIBWidth(p);
    s.imageHeight = DIBHeight(p);
    GlobalUnlock(s.image);
  }
  s.runContext = context;
  s.imageAddress = image;
  HWND active = s.activeOnFrameOnly ? owner : view;
  if (active) SendMessageA(active, 2065, 0, 1);
  // A dialog of its own, as real effects have, so the host's panel and
  // dialog-variable handling can be watched.
  HWND window = CreateWindowA("STATIC", "Probe", WS_POPUP, 0, 0, 10, 10, owner, nullptr, g_self, nullptr);
  if (dialog) *dialog = window;
  s.dialog = window;
  if (s.duringRun) s.duringRun(s.duringRunContext);
  if (image && *image && s.invert) {
    auto* p = static_cast<char*>(GlobalLock(*image));
    const int w = DIBWidth(p), h = DIBHeight(p);
    auto* bits = reinterpret_cast<BYTE*>(FindDIBBits(p));
    const size_t stride = ((size_t(w) * 24 + 31) / 32) * 4;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < 3 * w; ++x) bits[y * stride + x] = BYTE(255 - bits[y * stride + x]);
    GlobalUnlock(*image);
  }
  if (image && *image && s.replaceImage) {
    HGLOBAL replacement = CreateDIB(7, 5, 24);
    if (replacement) {
      DestroyDIB(*image);
      *image = replacement;
    }
  }
  if (window) DestroyWindow(window);
  if (active) SendMessageA(active, 2065, 0, 0);
  s.runContext = nullptr;
  s.imageAddress = nullptr;
  s.dialog = nullptr;
  return s.result;
}
}
