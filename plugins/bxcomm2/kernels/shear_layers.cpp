#include "shear_layers.h"

namespace quillo::bxcomm2 {

std::vector<Layer> LayersOf(const Picture& source, Picture& target, const std::vector<Move>& rowMoves,
                            const std::vector<Move>& columnMoves, int lineLength, Background background) {
  const Layout colour{3, {background.blue, background.green, background.red}};
  const Layout mask{1, {0, 0, 0}};
  std::vector<Layer> layers;
  layers.reserve(2);
  layers.push_back({colour, PixelPlane(target),
                    ShearPair(PixelPlane(source), source.width, source.height, colour, rowMoves, columnMoves),
                    std::vector<uint8_t>(size_t(lineLength) * 3)});
  if (!source.mask.empty())
    layers.push_back({mask, MaskPlane(target),
                      ShearPair(MaskPlane(source), source.width, source.height, mask, rowMoves, columnMoves),
                      std::vector<uint8_t>(size_t(lineLength))});
  return layers;
}

}  // namespace quillo::bxcomm2
