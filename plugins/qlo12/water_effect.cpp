// The ripple tank: a height field disturbed by mouse clicks, rain, a
// wandering surfer and a swirl, propagated with damping, and the picture
// refracted through its slopes.
#include <algorithm>
#include <vector>

#include "plugins/animation/animation_run.h"
#include "plugins/animation/module_random.h"
#include "plugins/qlo12/kernels/water_blob.h"
#include "plugins/qlo12/kernels/water_frame.h"
#include "widened_picture.h"

namespace quillo::qlo12 {

namespace {

constexpr int kDampingSlider = 501, kStrengthSlider = 502, kRadiusSlider = 503, kLightSlider = 504;
constexpr int kSurferBox = 601, kRainBox = 602, kRandomBox = 603, kSwirlBox = 604;
constexpr int kSplashBox = 605;
constexpr int kFlatPreset = 801, kOilyPreset = 802, kClearPreset = 803, kLivelyPreset = 804;
constexpr int kTicksPerScene = 15;
// Check boxes 601 ... 604 and the flag each one switches.
constexpr int kFlagBoxes[4][2] = {{kSurferBox, kWaterSurferFlag},
                                  {kRainBox, kWaterRainFlag},
                                  {kRandomBox, kWaterRandomDropsFlag},
                                  {kSwirlBox, kWaterSwirlFlag}};

class WaterEffect : public animation::AnimationSession {
 public:
  const char* TemplateName() const override { return "Water"; }
  const char* ViewCursorName() const override { return "Hit"; }
  bool NotifiesWhenPlayingStops() const override { return false; }
  bool SizeWorkable(int w, int h) const override {
    return w > 0 && WaterSizeWorkable(WidenedToFour(w), h);
  }
  PictureShape WorkingShape(int w, int h) const override { return {WidenedToFour(w), h, false}; }

  bool Setup() override { return StartWater(water_, width, height, animation::ModuleRandom()); }

  void ApplyStoredBlock(const uint8_t* data, std::size_t size) override {
    double v[kWaterFieldCount];
    if (!animation::ReadParamBlob(data, size, kWaterBlobMagic, kWaterBlobFields,
                                  kWaterFieldCount, v))
      return;
    water_.dampingShift = int(v[kWaterDamping]);
    water_.strength = int(v[kWaterStrength]);
    water_.radius = int(v[kWaterRadius]);
    water_.p1 = int(v[kWaterPhase1]);
    water_.p2 = int(v[kWaterPhase2]);
    water_.flags = int(v[kWaterFlags]);
    water_.light = int(v[kWaterLight]);
  }

  std::vector<uint8_t> SettingsBlock() const override {
    const double v[kWaterFieldCount] = {double(water_.dampingShift), double(water_.strength),
                                        double(water_.radius),       double(water_.p1),
                                        double(water_.p2),           double(water_.flags),
                                        double(water_.light)};
    return animation::WriteParamBlob(kWaterBlobMagic, kWaterBlobFields, kWaterFieldCount, v);
  }

  void InitControls(HWND) override {
    ShowSliders();
    for (const auto& box : kFlagBoxes) Check(box[0], (water_.flags & box[1]) != 0);
    Check(606, true);
    Check(607, true);
    CheckRadioButton(dialogWindow, kFlatPreset, kLivelyPreset,
                     water_.flags & kWaterFlatDropsFlag ? kFlatPreset : kClearPreset);
  }

  void DrawFrame() override {
    WaterFrame(water_, backupPixels, livePixels, stride, animation::ModuleRandom());
  }

  void Command(int id, int, LPARAM) override {
    const int position = SliderPosition(id);
    switch (id) {
      case kDampingSlider: water_.dampingShift = std::clamp(position, 1, 100); break;
      case kStrengthSlider: water_.strength = (position == 0 ? 1 : position) * 10; break;
      case kRadiusSlider: water_.radius = std::clamp(position, 1, 255); break;
      case kLightSlider: water_.light = std::clamp(position, 1, 8); break;
      case kSplashBox: Splash(); return;
      case kFlatPreset:
      case kOilyPreset:
      case kClearPreset:
      case kLivelyPreset:
        if (Checked(id)) Preset(id);
        return;
      default:
        for (const auto& box : kFlagBoxes) {
          if (id != box[0]) continue;
          water_.flags = Checked(id) ? water_.flags | box[1] : water_.flags & ~box[1];
          if (id == kSwirlBox) water_.p1 = water_.p2 = 0;
        }
        return;
    }
    SetLabel(id + 200, "%d", position);
  }

  // A press drops at the mouse point on the next frame; a move while the
  // button is held moves the point.
  void ViewMouse(int code, int x, int y) override {
    const int column = std::clamp(x, 0, width - 1), row = std::clamp(height - y - 1, 0, height - 1);
    switch (code) {
      case TOOL_LBUTTON_DOWN:
      case TOOL_RBUTTON_DOWN:
        water_.pendingDrop = code == TOOL_LBUTTON_DOWN ? kLeftButtonDrop : kRightButtonDrop;
        held_ = true;
        water_.mouseX = column;
        water_.mouseY = row;
        break;
      case TOOL_MOUSE_MOVE:
        if (!held_) break;
        water_.mouseX = column;
        water_.mouseY = row;
        break;
      case TOOL_LBUTTON_UP:
      case TOOL_RBUTTON_UP:
        held_ = false;
        water_.pendingDrop = kNoPendingDrop;
        break;
    }
  }

  // The saver's change of scene: random drops on or off, or a splash.
  bool Tick(int count) override {
    if (count % kTicksPerScene != 0) return true;
    if (animation::ModuleRandom().Below(2) == 0) {
      water_.flags ^= kWaterRandomDropsFlag;
      Check(kRandomBox, (water_.flags & kWaterRandomDropsFlag) != 0);
    } else {
      Splash();
    }
    return true;
  }

  bool Message(UINT message, WPARAM wParam, LPARAM, INT_PTR* result) override {
    if (message != WM_CTLCOLORLISTBOX) return false;
    SetBkColor(HDC(wParam), RGB(255, 255, 255));
    *result = INT_PTR(GetStockObject(WHITE_BRUSH));
    return true;
  }

 private:
  void ShowSliders() {
    const int strength = std::clamp(water_.strength / 10, -301, 301);
    SetSlider(kDampingSlider, 1, 100, water_.dampingShift);
    SetSlider(kStrengthSlider, 20, 301, strength);
    SetSlider(kRadiusSlider, 1, 255, water_.radius);
    SetSlider(kLightSlider, 1, 8, water_.light);
    SetLabel(kDampingSlider + 200, "%d", water_.dampingShift);
    SetLabel(kStrengthSlider + 200, "%d", strength);
    SetLabel(kRadiusSlider + 200, "%d", water_.radius);
    SetLabel(kLightSlider + 200, "%d", water_.light);
  }

  void Preset(int id) {
    if (id == kFlatPreset) {
      water_.flags |= kWaterFlatDropsFlag;
      water_.dampingShift = 4;
      water_.light = 1;
      water_.strength = 600;
    } else {
      water_.flags &= ~kWaterFlatDropsFlag;
      water_.dampingShift = id == kOilyPreset ? 3 : id == kClearPreset ? 6 : 8;
      water_.strength = 400;
    }
    ShowSliders();
  }

  // One big splash: random drops, gentle damping, a wide radius; the check
  // box says whether the water splashes up or falls in.
  void Splash() {
    water_.flags = (water_.flags & ~kWaterFlatDropsFlag) | kWaterRandomDropsFlag;
    Check(kRandomBox, true);
    water_.dampingShift = 4;
    water_.strength = Checked(kSplashBox) ? 1400 : -1400;
    const int widthInFours = width - width % 4;
    water_.radius = widthInFours == 320 || widthInFours < 317 ? std::max(1, width / 4) : 80;
    ShowSliders();
  }

  WaterState water_;
  bool held_ = false;
};

}  // namespace

}  // namespace quillo::qlo12

QUILLO_ANIMATION_EXPORT(ProcessWater, quillo::qlo12::WaterEffect)
