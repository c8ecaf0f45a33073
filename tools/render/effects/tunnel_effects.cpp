// Tunnel, sphere, infinite plane and worm: a texture map built once by ray
// casting, then every frame the texture slides under it.
#include <memory>
#include <vector>

#include "plugins/animation/kernels/seamless.h"
#include "plugins/animation/kernels/texture_map.h"
#include "plugins/qlo12/kernels/tunnel_map.h"
#include "plugins/qlo12/kernels/worm_map.h"
#include "tools/render/effects/effect_rows.h"
#include "tools/render/effects/texture_drift.h"

namespace quillo::render {

namespace {

using animation::MapEntry;
using animation::MapRows;

const OptionInfo kTunnelOptions[] = {
    {"mode", OptionKind::kInteger, 0, 2, 0, "0 tunnel, 1 sphere, 2 infinite plane"},
    {"seamless", OptionKind::kSwitch, 0, 1, 1, "fold the picture so the texture tiles without seams"},
};
const OptionInfo kSeamlessOnly[] = {
    {"seamless", OptionKind::kSwitch, 0, 1, 1, "fold the picture so the texture tiles without seams"},
};

std::unique_ptr<EffectRun> StartTunnelMode(const EffectSetup& setup, int mode) {
  const Picture& p = setup.picture;
  std::vector<MapEntry> map(size_t(p.width) * size_t(p.height));
  qlo12::BuildTunnelMap(p.width, p.height, mode, map.data());
  return std::make_unique<MappedScroll>(p, setup.options.Switch("seamless"), std::move(map), MapRows::kUpward);
}

std::unique_ptr<EffectRun> StartTunnel(const EffectSetup& setup, std::string&) {
  return StartTunnelMode(setup, setup.options.Integer("mode"));
}
std::unique_ptr<EffectRun> StartSphere(const EffectSetup& setup, std::string&) {
  return StartTunnelMode(setup, qlo12::kTunnelSphere);
}
std::unique_ptr<EffectRun> StartPlane(const EffectSetup& setup, std::string&) {
  return StartTunnelMode(setup, qlo12::kTunnelPlane);
}

// The worm plays on a 640 x 480 picture: one taller than wide is turned a
// quarter turn first so it fills the frame the long way.
std::unique_ptr<EffectRun> StartWorm(const EffectSetup& setup, std::string& error) {
  Picture& picture = setup.picture;
  if (picture.height > picture.width && !QuarterTurnPicture(picture, picture)) {
    error = "the picture cannot be turned";
    return nullptr;
  }
  if (!ResamplePicture(picture, qlo12::kWormGridWidth, qlo12::kWormGridHeight, picture)) {
    error = "the picture cannot be scaled to 640 x 480";
    return nullptr;
  }
  std::vector<qlo12::WormCell> grid(size_t(qlo12::kWormGridWidth) * qlo12::kWormGridHeight);
  qlo12::BuildWormGrid(grid.data());
  std::vector<MapEntry> map(grid.size());
  qlo12::BuildWormMap(grid.data(), picture.width, picture.height, map.data());
  return std::make_unique<MappedScroll>(picture, setup.options.Switch("seamless"), std::move(map),
                                        MapRows::kDownward);
}

}  // namespace

const EffectRow kTunnelRow{"tunnel", "fly through a tube lined with the picture", EffectKind::kAnimated,
                           kTunnelOptions, StartTunnel};
const EffectRow kSphereRow{"sphere", "the picture lining a sphere seen from inside", EffectKind::kAnimated,
                           kSeamlessOnly, StartSphere};
const EffectRow kPlaneRow{"plane", "the picture as an endless floor and ceiling", EffectKind::kAnimated,
                          kSeamlessOnly, StartPlane};
const EffectRow kWormRow{"worm", "fly through a winding worm hole (plays at 640 x 480)", EffectKind::kAnimated,
                         kSeamlessOnly, StartWorm};

}  // namespace quillo::render
