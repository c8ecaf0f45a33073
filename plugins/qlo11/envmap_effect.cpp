// Envmap: a spinning torus mirroring the picture. The run animates a new
// black 640 x 480 picture (the caller's one taller than wide is turned a
// quarter turn first); the texture is the picture scaled to 1024 x 512.
// OK and Cancel alike give back the torus as last drawn.
#include <cstring>
#include <vector>

#include "contracts/dib_format.h"
#include "contracts/dib_services.h"
#include "contracts/imaging_library.h"
#include "plugins/animation/animation_run.h"
#include "plugins/qlo11/kernels/envmap.h"

namespace quillo::qlo11 {

namespace {

class EnvmapEffect : public animation::AnimationSession {
 public:
  const char* TemplateName() const override { return "Envmap"; }
  animation::StartCapture CaptureOnStart() const override { return animation::StartCapture::kCancelButton; }
  bool ShowsPlayingHint() const override { return true; }
  PictureShape WorkingShape(int w, int h) const override { return {kEnvmapWidth, kEnvmapHeight, w < h}; }

  // The texture is scaled from the picture in its working shape, before the
  // dialog clears that picture to black.
  bool Setup() override {
    if (!animation::TryResize(texture_, size_t(kEnvmapTextureStride) * kEnvmapTextureHeight)) return false;
    HGLOBAL scaled = ZoomDIBEx(liveHandle, kEnvmapTextureWidth, kEnvmapTextureHeight);
    if (!scaled) return false;
    bool copied = false;
    if (auto* dib = static_cast<char*>(GlobalLock(scaled))) {
      if (DIBWidth(dib) == kEnvmapTextureWidth && DIBHeight(dib) == kEnvmapTextureHeight) {
        std::memcpy(texture_.data(), FindDIBBits(dib), texture_.size());
        copied = true;
      }
      GlobalUnlock(scaled);
    }
    DestroyDIB(scaled);
    return copied;
  }

  void InitControls(HWND) override {
    Check(601, true);
    Check(801, true);
    ClearPictures();
  }

  bool StartPlaying() override {
    StartEnvmap(torus_);
    return true;
  }

  void DrawFrame() override { EnvmapFrame(torus_, texture_.data(), livePixels, width, height, stride); }

  // Cancel gives back the kit's backup: it holds the last frame too.
  void StopPlaying() override {
    std::memcpy(backupPixels, livePixels, size_t(stride) * size_t(height));
    if (call.viewWindow) SendMessageA(call.viewWindow, VM_REDRAW, 0, 0);
  }

 private:
  void ClearPictures() {
    std::memset(livePixels, 0, size_t(stride) * size_t(height));
    std::memset(backupPixels, 0, size_t(stride) * size_t(height));
  }

  std::vector<uint8_t> texture_;
  EnvmapState torus_;
};

}  // namespace

}  // namespace quillo::qlo11

QUILLO_ANIMATION_EXPORT(ProcessEnvmap, quillo::qlo11::EnvmapEffect)
