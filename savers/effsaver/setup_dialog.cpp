// The configuration dialog procedure: the saver program owns the template,
// the engine fills and reads it. Texts come from EffSaver.R.
#include <windows.h>

#include <cstring>
#include <string>

#include "app/host/catalogue_file.h"
#include "catalogue_read.h"
#include "choosers.h"
#include "effsaver_resources.h"
#include "engine_exports.h"
#include "engine_state.h"
#include "settings_file.h"
#include "setup_controls.h"

namespace quillo::effsaver {

namespace {

// What the dialog will write on OK; starts as the configured effect.
SaverSettings g_working;

void SetTexts(HWND dialog) {
  const std::string path = InEngineFolder(kResourceModuleName);
  HMODULE resources = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!resources) return;
  const struct {
    int control;
    UINT string;
  } texts[] = {{IDC_SETUP_EFFECT, IDS_SETUP_CHOOSE_EFFECT}, {IDOK, IDS_SETUP_OK},
               {IDCANCEL, IDS_SETUP_CANCEL},               {IDC_SETUP_PICTURE, IDS_SETUP_CHOOSE_PICTURE},
               {IDC_SETUP_TIME_LABEL, IDS_SETUP_TIME_LABEL}, {IDC_SETUP_RANDOM, IDS_SETUP_RANDOM},
               {IDC_SETUP_FIXED, IDS_SETUP_FIXED},         {IDC_SETUP_GROUP, IDS_SETUP_GROUP}};
  char text[256];
  if (LoadStringA(resources, IDS_SETUP_TITLE, text, sizeof text) > 0) SetWindowTextA(dialog, text);
  for (const auto& t : texts)
    if (LoadStringA(resources, t.string, text, sizeof text) > 0) SetDlgItemTextA(dialog, t.control, text);
  FreeLibrary(resources);
}

// The configured effect's display name from the catalogue, or its function
// name when the catalogue does not list it.
std::string ConfiguredEffectName(const SaverSettings& s) {
  const std::vector<uint8_t> bytes = ReadCatalogueFile();
  for (const EffectRecord& r : ReadEffectRecords(bytes.data(), bytes.size()))
    if (ModuleName(r) == s.module && FunctionName(r) == s.function && r.effectValue == s.id)
      return std::string(DisplayName(r));
  return s.function;
}

void OnInit(HWND dialog) {
  g_working = g_engine.settings;
  CheckRadioButton(dialog, IDC_SETUP_RANDOM, IDC_SETUP_FIXED,
                   g_working.random ? IDC_SETUP_RANDOM : IDC_SETUP_FIXED);
  SetTexts(dialog);
  SetDlgItemTextA(dialog, IDC_SETUP_EFFECT_NAME, ConfiguredEffectName(g_working).c_str());
  HWND time = GetDlgItem(dialog, IDC_SETUP_TIME);
  SendMessageA(time, CB_RESETCONTENT, 0, 0);
  for (int minutes = 1; minutes <= kMaxMinutes; ++minutes)
    SendMessageA(time, CB_ADDSTRING, 0, LPARAM(std::to_string(minutes).c_str()));
  SendMessageA(time, CB_SETCURSEL, WPARAM(g_working.minutes - 1), 0);
}

void OnOk(HWND dialog) {
  g_working.random = IsDlgButtonChecked(dialog, IDC_SETUP_RANDOM) == BST_CHECKED;
  const LRESULT selected = SendDlgItemMessageA(dialog, IDC_SETUP_TIME, CB_GETCURSEL, 0, 0);
  if (selected >= 0 && selected < kMaxMinutes) g_working.minutes = int(selected) + 1;
  WriteSettingsFile(g_working);
  g_engine.settings = g_working;
}

// The chooser's choice: an effect record of the catalogue.
void OnEffectChosen(HWND dialog, const EffectRecord* record) {
  if (!record) return;
  EffectRecord chosen = *record;
  TerminateStrings(chosen);
  if (!IsBareFileName(ModuleName(chosen)) || FunctionName(chosen).empty()) return;
  g_working.module = std::string(ModuleName(chosen));
  g_working.function = std::string(FunctionName(chosen));
  g_working.id = chosen.effectValue;
  SetDlgItemTextA(dialog, IDC_SETUP_EFFECT_NAME, std::string(DisplayName(chosen)).c_str());
  // Choosing an effect means playing it.
  CheckRadioButton(dialog, IDC_SETUP_RANDOM, IDC_SETUP_FIXED, IDC_SETUP_FIXED);
}

}  // namespace

INT_PTR WINAPI SetupDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      OnInit(dialog);
      return 0;
    case stage::kGradientMessage:
      return reinterpret_cast<LRESULT>(g_engine.stage.gradient);
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:
          OnOk(dialog);
          return 0;  // the saver program ends the dialog
        case IDC_SETUP_PICTURE:
          ChoosePicture(dialog);
          return 1;
        case IDC_SETUP_EFFECT:
          ChooseEffect(dialog);
          return 1;
        case IDC_SETUP_EFFECT_CHOSEN:
          OnEffectChosen(dialog, reinterpret_cast<const EffectRecord*>(lParam));
          return 1;
      }
      return 0;
  }
  return 0;
}

}  // namespace quillo::effsaver
