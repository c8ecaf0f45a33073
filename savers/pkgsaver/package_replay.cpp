// The saver window procedure: the picture of the current package on the
// stage, its effect replayed without a dialog, and the switch to the next
// package every switch period while two or more are listed.
#include "contracts/dib_services.h"
#include "engine_state.h"

namespace quillo::pkgsaver {

namespace {

// How many packages in a row may fail to open before the rotation gives up.
constexpr int kSwitchAttempts = 10;

// Reads every part of the next package before anything of the current one
// is given up; only a package that opened completely replaces it.
bool SwitchToNextPackage() {
  Engine& e = g_engine;
  for (int attempt = 0; attempt < kSwitchAttempts && !e.packages.empty(); ++attempt) {
    const std::string name = e.packages[e.rotation % e.packages.size()];
    e.rotation = (e.rotation + 1) % e.packages.size();
    LoadedPackage next;
    if (!ReadPackageFiles(e.directory, name, next) || !ReadPackagePicture(e.directory, next) ||
        !LoadPackageModule(e.directory, next)) {
      next.Release();
      continue;
    }
    stage::InstallPicture(e.stage, &next.picture);
    e.current.Release();
    e.current = std::move(next);
    next = LoadedPackage{};
    e.stage.name = e.current.name.c_str();
    return true;
  }
  return false;
}

void Replay() {
  Engine& e = g_engine;
  e.replaying = true;
  for (;;) {
    stage::FillHostContext(e.stage, e.current.Parameters());
    stage::FitPictureToScreen(e.stage, e.current.record.optionFlags);
    // Without the effect function the picture stays, still.
    if (!e.current.process) break;
    if (!stage::RunEffectOnStage(e.stage, e.current.process, e.current.record.effectValue)) break;
    if (e.packages.size() < 2 || !stage::StageImage(e.stage) || e.stage.closing) break;
    if (!SwitchToNextPackage()) break;
  }
  e.replaying = false;
}

void OnCreate(HWND window) {
  Engine& e = g_engine;
  e.stage.closing = false;
  LoadedPackage& current = e.current;
  if (!current.picture.working && !ReadPackagePicture(e.directory, current)) return;  // black screen
  stage::InstallPicture(e.stage, &current.picture);
  stage::StageOpen(e.stage, window, e.instance, kChildClass);
}

}  // namespace

}  // namespace quillo::pkgsaver

using quillo::pkgsaver::g_engine;

extern "C" LRESULT WINAPI SaverStageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (quillo::stage::AnswerStageMessage(g_engine.stage, message, wParam, lParam, &result)) return result;
  switch (message) {
    case WM_CREATE:
      quillo::pkgsaver::OnCreate(window);
      break;
    case WM_COMMAND:
      if (wParam == quillo::stage::kReplayCommand && !g_engine.stage.effectWindow && !g_engine.replaying &&
          window == g_engine.stage.saverWindow)
        quillo::pkgsaver::Replay();
      break;
    case WM_TIMER:
      if (wParam == quillo::stage::kTickTimerId)
        quillo::stage::StageTick(g_engine.stage, g_engine.switchTicks, g_engine.packages.size() >= 2);
      break;
    case WM_CLOSE:
      if (window == g_engine.stage.saverWindow) quillo::stage::StageClose(g_engine.stage);
      break;
    case WM_DESTROY:
      if (window == g_engine.stage.saverWindow) quillo::stage::StageDestroy(g_engine.stage);
      break;
  }
  return 0;
}
