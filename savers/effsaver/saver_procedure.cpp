// The saver window procedure: the picture on the stage, then either the
// configured effect until the saver closes, or effects of the catalogue
// picked at random and switched every few minutes.
#include <windows.h>

#include "contracts/image_codecs.h"
#include "effect_trace.h"
#include "engine_exports.h"
#include "engine_state.h"
#include "kernels/random_loop.h"

namespace quillo::effsaver {

namespace {

stage::SaverStage& Stage() { return g_engine.stage; }

// The picture from Saver\Saver.bmp; without one the screen stays black and
// nothing plays.
void OnCreate(HWND window) {
  EffSaverEngine& e = g_engine;
  HGLOBAL decoded = LoadDIB(e.picturePath.c_str());
  stage::StagePicture picture;
  if (!decoded || !stage::PreparePicture(decoded, &picture)) return;
  stage::InstallPicture(e.stage, &picture);
  e.randomMode = e.settings.random;
  // A full catalogue plays at random; an empty one cannot.
  if (e.catalogue.size() >= kCatalogueCapacity) e.randomMode = true;
  if (e.catalogue.empty()) e.randomMode = false;
  // Centred at once, so a picture with nothing to play on it still shows in
  // the middle of the screen.
  if (stage::StageOpen(e.stage, window, e.instance, kChildClass)) PostMessageA(e.stage.child, VM_RELAYOUT, 0, 0);
}

// Loads `module` from the engine's folder (never through the search order)
// and plays `function` on the stage until it ends.
PlayOutcome Play(const std::string& module, const std::string& function, int id) {
  EffSaverEngine& e = g_engine;
  if (!IsBareFileName(module)) return PlayOutcome::kNotStarted;
  const std::string path = InEngineFolder(module);
  HMODULE library = LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (!library) return PlayOutcome::kNotStarted;
  auto effect = reinterpret_cast<EffectFunction>(
      reinterpret_cast<void*>(GetProcAddress(library, function.c_str())));
  if (!effect) {
    FreeLibrary(library);
    return PlayOutcome::kNotStarted;
  }
  TraceEffectStart(module.c_str(), function.c_str(), id);
  stage::FillHostContext(e.stage, nullptr);
  // The effect draws into the image child, which is the view.
  e.stage.context[kHostView] = reinterpret_cast<UINT_PTR>(e.stage.child);
  InvalidateRect(e.stage.saverWindow, nullptr, TRUE);
  InvalidateRect(e.stage.child, nullptr, TRUE);
  e.endedBySaver = false;
  const bool fresh = stage::RunEffectOnStage(e.stage, effect, id);
  e.stage.effectWindow = nullptr;
  FreeLibrary(library);
  if (!fresh) return PlayOutcome::kStop;
  return e.endedBySaver ? PlayOutcome::kSwitched : PlayOutcome::kEndedItself;
}

void RunPlayLoop() {
  EffSaverEngine& e = g_engine;
  if (e.running || e.stage.effectWindow || !stage::StageImage(e.stage)) return;
  e.running = true;
  if (e.randomMode) {
    RunRandomLoop(e.catalogue.size(), e.random, [&] { return e.stage.closing; }, [&](size_t index) {
      const SaverCatalogueEntry& entry = e.catalogue[index];
      return Play(entry.module, entry.function, entry.id);
    });
  } else if (!e.stage.closing) {
    Play(e.settings.module, e.settings.function, e.settings.id);
  }
  e.running = false;
}

void OnTick() {
  EffSaverEngine& e = g_engine;
  const uint32_t period = uint32_t(SwitchPeriodTicks(e.settings.minutes));
  if (stage::StageTick(e.stage, period, e.randomMode)) e.endedBySaver = true;
}

}  // namespace

LRESULT WINAPI SaverWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (stage::AnswerStageMessage(Stage(), message, wParam, lParam, &result)) return result;
  switch (message) {
    case WM_CREATE:
      OnCreate(window);
      break;
    case WM_COMMAND:
      if (wParam == stage::kReplayCommand && window == Stage().saverWindow) RunPlayLoop();
      break;
    case WM_TIMER:
      if (wParam == stage::kTickTimerId && window == Stage().saverWindow) OnTick();
      break;
    case WM_CLOSE:
      stage::StageClose(Stage());
      break;
    case WM_DESTROY:
      if (window == Stage().saverWindow || !Stage().saverWindow) stage::StageDestroy(Stage());
      break;
  }
  return 0;
}

}  // namespace quillo::effsaver
