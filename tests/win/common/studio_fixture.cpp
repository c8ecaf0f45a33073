#include "studio_fixture.h"

#include <gtest/gtest.h>

#include "app/shell/app_state.h"
#include "app/shell/document_window.h"
#include "app/shell/win/studio.h"

namespace quillo::test {

int StartInProcessStudio(HACCEL* accelerators) {
  HACCEL loaded = nullptr;
  const int started = StartStudio(GetModuleHandleA(nullptr), "", SW_SHOWNORMAL, &loaded);
  if (accelerators) *accelerators = loaded;
  if (HWND logo = FindWindowA("BEXALogo", nullptr)) SendMessageA(logo, WM_LBUTTONDOWN, 0, 0);
  PumpMessages();
  return started;
}

int StartStudioOnce() {
  static int started = 0;
  static bool tried = false;
  if (!tried) {
    tried = true;
    started = StartInProcessStudio();
    struct Stop : ::testing::Environment {
      void TearDown() override { StopInProcessStudio(); }
    };
    ::testing::AddGlobalTestEnvironment(new Stop);
  }
  return started;
}

void StopInProcessStudio() {
  if (g_app.frame) DestroyWindow(g_app.frame);
  PumpMessages();
  StopStudio();
}

void PumpMessages(int rounds) {
  MSG msg;
  for (int round = 0; round < rounds; ++round) {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(10);
  }
}

void CloseAllDocuments() {
  while (HWND document = ActiveDocument()) SendMessageA(g_app.mdiClient, WM_MDIDESTROY, WPARAM(document), 0);
  PumpMessages();
}

}  // namespace quillo::test
