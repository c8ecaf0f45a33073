// Steps of a scripted user watching an animated effect: wait for frames,
// stop playing, wait for the dialog to be idle again.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "contracts/plugin_contract.h"
#include "contracts/ui_controls.h"
#include "plugin_harness.h"

namespace quillo::test {

// Playing disables the Play button.
inline bool IsPlaying(EffectRun& run) {
  HWND play = run.Item(IDC_EFFECT_APPLY);
  return run.dialog && play && !IsWindowEnabled(play);
}

// Waits until the host has been told of `frames` frames in all.
inline ScriptedUser& WaitFrames(ScriptedUser& user, EffectRun& run, int frames) {
  return user.Then([&run, frames] { return run.host.Count(EM_NEW_FRAME) >= frames; });
}

// Presses Cancel while playing (a stop) and waits until the dialog is idle.
inline ScriptedUser& StopPlaying(ScriptedUser& user, EffectRun& run) {
  user.Then([&run] { return IsPlaying(run); });
  user.Command(&run.dialog, IDC_EFFECT_CANCEL);
  return user.Then([&run] { return run.dialog && !IsPlaying(run); });
}

// Stops playing, then notes the frame playing stopped at and how many frames
// the host has been told of in all.
inline ScriptedUser& StopAndNoteFrame(ScriptedUser& user, EffectRun& run, std::vector<uint8_t>& frame,
                                      int& frames) {
  StopPlaying(user, run);
  return user.Then([&run, &frame, &frames] {
    frame = DibPixels(run.image);
    frames = run.host.Count(EM_NEW_FRAME);
    return true;
  });
}

// From idle: presses Play, waits for `more` frames, then stops and notes
// the frame and the count as above.
inline ScriptedUser& PlayOnAndNoteFrame(ScriptedUser& user, EffectRun& run, int more, std::vector<uint8_t>& frame,
                                        int& frames) {
  user.Then([&run, &frames] {
    frames = run.host.Count(EM_NEW_FRAME);
    return true;
  });
  user.Command(&run.dialog, IDC_EFFECT_APPLY);
  user.Then([&run, &frames, more] { return run.host.Count(EM_NEW_FRAME) >= frames + more; });
  return StopAndNoteFrame(user, run, frame, frames);
}

// Clicks a check box or radio button while the animation plays.
inline ScriptedUser& ClickWhilePlaying(ScriptedUser& user, EffectRun& run, int id) {
  return user.Then([&run, id] {
    if (!IsPlaying(run)) return false;
    ClickNow(run, id);
    return true;
  });
}

inline std::string ItemText(EffectRun& run, int id) {
  char text[64] = {};
  GetDlgItemTextA(run.dialog, id, text, sizeof text);
  return text;
}

// A slider's position, and the block an effect hands out to the item
// queries.
inline int SliderAt(EffectRun& run, int id) { return int(SendMessageA(run.Item(id), SL_GETPOS, 0, 0)); }

struct HandedBlock {
  UINT_PTR supported = 0, count = 0, kind = 0;
  LRESULT answer = 0;
  std::vector<uint8_t> bytes;
};

// Asks with 2122, then for item 0 with 2121.
inline HandedBlock AskForBlock(EffectRun& run) {
  PackageItemQuery query = {}, item = {};
  HandedBlock handed;
  handed.answer = SendMessageA(run.dialog, EM_PACKAGE_QUERY, 0, LPARAM(query));
  SendMessageA(run.dialog, EM_PACKAGE_ITEM, 0, LPARAM(item));
  handed.supported = query[kQuerySupported];
  handed.count = query[kQueryItemCount];
  handed.kind = item[kQueryItemKind];
  if (const auto* data = reinterpret_cast<const uint8_t*>(item[kQueryItemData]))
    handed.bytes.assign(data, data + item[kQueryItemSize]);
  return handed;
}

}  // namespace quillo::test
