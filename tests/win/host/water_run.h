// Running Qlo12's Water through the in-process studio, for the tests of
// what the studio makes of a running effect (packages, gifts, mail).
#pragma once
#include <windows.h>

#include "app/host/effect_record.h"
#include "app/shell/app_state.h"
#include "contracts/plugin_contract.h"
#include "resources/qlo12/qlo12_ids.h"
#include <gtest/gtest.h>

namespace quillo::test {

inline EffectRecord WaterRecord() {
  EffectRecord r;
  EffectInfoEntry entry{32, 0, 1, 0, IDS_WATER, IDS_CATEGORY_WATER, 0x1008, "ProcessWater", "Water.jpg"};
  EXPECT_EQ(BuildEffectRecord(entry, "Qlo12.PL1", "Water", "Water", r), RecordBuildResult::kOk);
  return r;
}

// Playing disables the effect dialog's Play button.
inline bool WaterPlaying() {
  HWND d = g_app.effectDialog;
  HWND play = d && IsWindow(d) ? GetDlgItem(d, IDC_EFFECT_APPLY) : nullptr;
  return play && !IsWindowEnabled(play);
}

// Cancel as a click sends it: a stop while playing, then the end.
inline bool CancelWater() {
  PostMessageA(g_app.effectDialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  return true;
}

}  // namespace quillo::test
