// The effect panel: a captionless popup whose body drags like a caption,
// holding the "Pack" button and, for effects that can become screen savers,
// the "Saver" button. The buttons send their commands to the frame.
#include "effect_panel.h"

#include "app/shell/app_state.h"
#include "app/shell/resource_ids.h"
#include "bitmap_button.h"

namespace quillo {

namespace {

HWND g_panel = nullptr;

constexpr int kPanelHeight = 67;
constexpr int kPanelWidth = 90;
constexpr int kPanelWidthWithSaver = 175;
constexpr int kButtonY = 22;

}  // namespace

LRESULT CALLBACK EffectPanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCHITTEST: {
      // The body moves the panel; the buttons keep their own hit test.
      const LRESULT hit = DefWindowProcA(panel, message, wParam, lParam);
      return hit == HTCLIENT ? HTCAPTION : hit;
    }
    case WM_COMMAND:
      // A button without a frame reports here; pass it on.
      if (g_app.frame) return SendMessageA(g_app.frame, message, wParam, lParam);
      return 0;
    case WM_DESTROY:
      if (g_panel == panel) g_panel = nullptr;
      return 0;
  }
  return DefWindowProcA(panel, message, wParam, lParam);
}

HWND CreateEffectPanel(const EffectRecord& record) {
  DestroyEffectPanel();
  const bool saver = (record.optionFlags & kOptionSaver) != 0;
  POINT origin = {0, 0};
  if (g_app.frame) ClientToScreen(g_app.frame, &origin);
  g_panel = CreateWindowExA(0, kEffectPanelClass, "", WS_POPUP | WS_BORDER | WS_VISIBLE, origin.x,
                            origin.y - 15, saver ? kPanelWidthWithSaver : kPanelWidth, kPanelHeight,
                            g_app.frame, nullptr, g_app.instance, nullptr);
  if (!g_panel) return nullptr;
  CreatePanelButton(g_panel, 5, kButtonY, "Pack", CMD_PANEL_PACK, true);
  if (saver) CreatePanelButton(g_panel, 90, kButtonY, "Saver", CMD_PANEL_SAVER, false);
  return g_panel;
}

void DestroyEffectPanel() {
  if (g_panel) DestroyWindow(g_panel);
  g_panel = nullptr;
}

HWND EffectPanel() { return g_panel; }

}  // namespace quillo
