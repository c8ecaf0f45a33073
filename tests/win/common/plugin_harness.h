// Loads a real plug-in module from the build output and runs its effects
// with a scripted user acting inside the plug-in's own message loop.
#pragma once
#include <windows.h>

#include <functional>
#include <initializer_list>
#include <span>
#include <string>

#include "contracts/plugin_contract.h"
#include "win_test_support.h"

namespace quillo::test {

class PluginModule {
 public:
  explicit PluginModule(const char* fileName);
  ~PluginModule();
  HMODULE module() const { return module_; }
  EffectFunction Effect(const char* name) const;
  template <class F>
  F Export(const char* name) const {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
  }

 private:
  HMODULE module_ = nullptr;
};

// One effect run: the host window, the image handle the host holds, the
// dialog variable, the caller's context words, and the result.
struct EffectRun {
  RecordingHost host;
  HostContext context = {};
  int effectValue = 0;
  HGLOBAL image = nullptr;
  HWND dialog = nullptr;
  BYTE* mask = nullptr;
  int result = -1;
  bool selectionGiven = false;
  INT32 selection[4] = {0, 0, 0, 0};

  // Calls the effect; `script` queues the user's actions before the call.
  void Run(EffectFunction effect, const std::function<void(ScriptedUser&, EffectRun&)>& script);
  HWND Item(int id) const { return GetDlgItem(dialog, id); }
};

// Posts what a user's slider drag ending at `position` sends: the slider moves
// and its parent hears the end of the change (lParam 0).
ScriptedUser& MoveSlider(ScriptedUser& user, EffectRun& run, int id, int position);
// A click on a check box or radio button at once (its state toggles first).
void ClickNow(EffectRun& run, int id);
// Posts a click on a check box or radio button (its state toggles first).
ScriptedUser& ClickButton(ScriptedUser& user, EffectRun& run, int id);
// Posts what a click on the item `text` of list box `id` sends: the item
// becomes the selection and the dialog hears LBN_SELCHANGE.
ScriptedUser& ChooseListItem(ScriptedUser& user, EffectRun& run, int id, const char* text);
// Waits until the dialog no longer runs a pass (the apply button is enabled).
ScriptedUser& WaitIdle(ScriptedUser& user, EffectRun& run);

// Presses button `id` once the dialog runs no pass (a press during a pass
// is ignored by the dialog, except cancel, which stops the pass).
ScriptedUser& Press(ScriptedUser& user, EffectRun& run, int id);
// Waits for the dialog to be idle, presses apply, waits for the pass to end,
// then presses `closeId` (accept or cancel).
ScriptedUser& ApplyThenClose(ScriptedUser& user, EffectRun& run, int closeId);

// Posts what the view forwards of a mouse event over the picture (message
// 5120 with the event's code and the position in picture pixels).
ScriptedUser& ForwardMouse(ScriptedUser& user, EffectRun& run, int code, int x, int y);

// Width and height of a DIB.
int PictureWidth(HGLOBAL dib);
int PictureHeight(HGLOBAL dib);

// Checks a plug-in's plain exports: version 1, the module's name
// (`moduleName`; empty for modules the hosts catalogue under their file
// name), the resource module's name, that module loaded from beside the
// plug-in and holding every dialog template of `dialogs` and every string of
// `strings`. Returns the resource module (null on failure).
HINSTANCE ExpectPlainExports(const PluginModule& plugin, const char* resourceName,
                             std::initializer_list<const char*> dialogs,
                             std::initializer_list<UINT> strings = {}, const char* moduleName = "");

// One row a plug-in's information table should hold.
struct InfoRow {
  int kind, catalog, value, nameId, categoryId, options;
  const char* function;
  const char* example;
};
// Checks the module's table row by row against `rows`, that it ends there
// with an entry whose kind is `endKind`, that each function is exported and
// that each name and category (0: none) is a string of the resource module.
void ExpectInformationTable(const PluginModule& plugin, std::span<const InfoRow> rows, int endKind);

// Settings file entry of the effect dialogs' position.
void WriteDialogPosition(const char* value);
std::string ReadDialogPosition();

}  // namespace quillo::test
