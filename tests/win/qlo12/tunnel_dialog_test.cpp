// The tunnel driven as a user would: playing starts by itself, frames are
// the texture looked up through the map at the drift the cursor asks for,
// Stop, OK and Cancel, the surface radios and the seamless box while
// playing, F2, and a hidden run driven by the saver's ticks.
#include <gtest/gtest.h>

#include <vector>

#include "animation_steps.h"
#include "plugins/animation/kernels/cursor_speed.h"
#include "plugins/animation/kernels/seamless.h"
#include "plugins/animation/kernels/texture_map.h"
#include "plugins/qlo12/kernels/tunnel_map.h"

namespace quillo::test {
namespace {

constexpr int kW = 61, kH = 47;  // odd sizes: padded rows, odd middles
const int64_t kStride = (int64_t(kW) * 24 + 31) / 32 * 4;

struct TunnelFixture : ::testing::Test {
  PluginModule plugin{"Qlo12.PL1"};
  EffectRun run;
  std::vector<uint8_t> original;

  void SetUp() override {
    // A still cursor at the screen's centre: the texture drifts (2, 2) a frame.
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2);
    run.image = MakeTestPicture(kW, kH);
    original = DibPixels(run.image);
  }
  void TearDown() override {
    if (run.image) GlobalFree(run.image);
  }

  // Frame `frames` of a play that started with the texture in place.
  std::vector<uint8_t> ExpectedFrame(int mode, bool seamless, int frames) const {
    std::vector<uint8_t> texture = original;
    if (seamless) animation::MakeSeamless(original.data(), texture.data(), kW, kH, kStride);
    std::vector<animation::MapEntry> map(size_t(kW) * kH);
    qlo12::BuildTunnelMap(kW, kH, mode, map.data());
    POINT cursor;
    GetCursorPos(&cursor);
    const animation::Speed speed = animation::SpeedFromCursor(
        GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), cursor.x, cursor.y, kW, kH);
    std::vector<uint8_t> out = original;
    animation::DrawMappedFrame(texture.data(), out.data(), kW, kH, kStride, map.data(),
                               int64_t(speed.x) * (frames - 1), int64_t(speed.y) * (frames - 1),
                               animation::MapRows::kUpward);
    return out;
  }
};

TEST_F(TunnelFixture, PlaysAtOnceStopsOnCancelAndOkKeepsTheLastFrame) {
  HGLOBAL passed = run.image;
  std::string playingLabel, idleLabel;
  int notifiesWhilePlaying = -1;
  run.Run(plugin.Effect("ProcessTunnel"), [&](ScriptedUser& user, EffectRun& r) {
    WaitFrames(user, r, 4);
    user.Then([&] {
      playingLabel = ItemText(r, IDC_EFFECT_CANCEL);
      notifiesWhilePlaying = r.host.Count(HOST_NOTIFY_MESSAGE);
      return true;
    });
    StopPlaying(user, r);
    user.Then([&] {
      idleLabel = ItemText(r, IDC_EFFECT_CANCEL);
      return true;
    });
    Press(user, r, IDC_EFFECT_OK);
  });
  EXPECT_EQ(run.result, 1);
  EXPECT_EQ(run.image, passed);
  EXPECT_EQ(playingLabel, "&Stop");
  EXPECT_EQ(idleLabel, "Cancel");
  EXPECT_EQ(notifiesWhilePlaying, 0);
  EXPECT_EQ(run.host.Count(HOST_NOTIFY_MESSAGE), 1) << "one notice when playing stopped";
  EXPECT_EQ(run.host.Count(VM_EFFECT_ACTIVE), 2);
  EXPECT_EQ(run.host.Count(VM_SHARE_RECT), 1);
  EXPECT_EQ(DibPixels(run.image), ExpectedFrame(0, true, run.host.Count(EM_NEW_FRAME)));
}

TEST_F(TunnelFixture, CancelGivesBackTheOriginalPixelsInAnotherHandle) {
  HGLOBAL passed = run.image;
  run.Run(plugin.Effect("ProcessTunnel"), [&](ScriptedUser& user, EffectRun& r) {
    WaitFrames(user, r, 3);
    StopPlaying(user, r);
    Press(user, r, IDC_EFFECT_CANCEL);
  });
  EXPECT_EQ(run.result, 0);
  EXPECT_NE(run.image, passed);
  EXPECT_EQ(DibPixels(run.image), original);
}

TEST_F(TunnelFixture, PlaneRadioAndPlainTextureTakeEffectWhilePlaying) {
  std::string title;
  run.Run(plugin.Effect("ProcessTunnel"), [&](ScriptedUser& user, EffectRun& r) {
    WaitFrames(user, r, 2);
    ClickWhilePlaying(user, r, 803);
    ClickWhilePlaying(user, r, 601);
    user.Then([&] {
      char text[64] = {};
      GetWindowTextA(r.dialog, text, sizeof text);
      title = text;
      return true;
    });
    WaitFrames(user, r, 6);
    StopPlaying(user, r);
    Press(user, r, IDC_EFFECT_OK);
  });
  EXPECT_EQ(title, "Infinite Plane");
  EXPECT_EQ(DibPixels(run.image), ExpectedFrame(2, false, run.host.Count(EM_NEW_FRAME)));
}

TEST_F(TunnelFixture, SphereRowOpensInSphereModeAndF2AsksTheHostToSave) {
  run.effectValue = 1;
  bool sphereChecked = false;
  run.Run(plugin.Effect("ProcessTunnel"), [&](ScriptedUser& user, EffectRun& r) {
    WaitFrames(user, r, 2);
    user.Then([&] {
      sphereChecked = IsDlgButtonChecked(r.dialog, 802) == BST_CHECKED;
      PostMessageA(r.dialog, WM_KEYDOWN, VK_F2, 0);
      return true;
    });
    user.Then([&] { return r.host.CountCommand(28930) > 0; });
    StopPlaying(user, r);
    Press(user, r, IDC_EFFECT_OK);
  });
  EXPECT_TRUE(sphereChecked);
  EXPECT_EQ(run.host.CountCommand(28930), 1);
  EXPECT_EQ(DibPixels(run.image), ExpectedFrame(1, true, run.host.Count(EM_NEW_FRAME)));
}

TEST_F(TunnelFixture, HiddenRunChangesSceneEveryThirtiethTick) {
  run.context[kHostNoDialog] = 1;
  bool visible = true;
  LRESULT answer = 0;
  bool changedEarly = true, planeAfter = false, seamlessAfter = true;
  run.Run(plugin.Effect("ProcessTunnel"), [&](ScriptedUser& user, EffectRun& r) {
    WaitFrames(user, r, 2);
    user.Then([&] {
      visible = IsWindowVisible(r.dialog) != FALSE;
      for (int tick = 1; tick < 30; ++tick) SendMessageA(r.dialog, EM_SAVER_TICK, 0, tick);
      changedEarly = IsDlgButtonChecked(r.dialog, 801) != BST_CHECKED;
      answer = SendMessageA(r.dialog, EM_SAVER_TICK, 0, 30);
      planeAfter = IsDlgButtonChecked(r.dialog, 802) == BST_CHECKED;
      seamlessAfter = IsDlgButtonChecked(r.dialog, 601) == BST_CHECKED;
      return true;
    });
    WaitFrames(user, r, 5);
    StopPlaying(user, r);
    Press(user, r, IDC_EFFECT_CANCEL);
  });
  EXPECT_FALSE(visible);
  EXPECT_EQ(answer, 1);
  EXPECT_FALSE(changedEarly);
  EXPECT_TRUE(planeAfter) << "tick 30 moves from the tunnel to the sphere";
  EXPECT_FALSE(seamlessAfter) << "and turns the seamless texture off";
  EXPECT_EQ(DibPixels(run.image), original);
}

}  // namespace
}  // namespace quillo::test
