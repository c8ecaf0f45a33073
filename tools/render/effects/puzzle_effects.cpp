// Puzzle and Puzzle1 as still effects: the picture scaled to sides that are
// multiples of N, cut into N x N pieces and dealt as the games deal them
// (or shuffled less, to show a board with a few pieces out of place).
#include <memory>

#include "plugins/qlo15/kernels/puzzle.h"
#include "tools/render/effects/effect_rows.h"

namespace quillo::render {

namespace {

using namespace qlo15;

const OptionInfo kPuzzleOptions[] = {
    {"side", OptionKind::kInteger, kPuzzleMinSide, kSlidingMaxSide, kSlidingDefaultSide, "pieces per side"},
    {"moves", OptionKind::kInteger, 0, 10000, kSlidingShuffleMoves, "moves of the empty cell in the shuffle"},
};
const OptionInfo kPuzzle1Options[] = {
    {"side", OptionKind::kInteger, kPuzzleMinSide, kSwapMaxSide, kSwapDefaultSide, "pieces per side"},
    {"swaps", OptionKind::kInteger, 0, 100000, kSwapShuffleSwaps, "swaps of two cells in the shuffle"},
};

// The board is drawn by the set-up; frames leave it as it is.
class DealtRun : public EffectRun {
 public:
  void Frame(const FrameInput&, Picture&) override {}
};

std::unique_ptr<EffectRun> Deal(const EffectSetup& setup, bool sliding, std::string& error) {
  const int n = setup.options.Integer("side");
  const int w = RoundUpToMultiple(setup.picture.width, n), h = RoundUpToMultiple(setup.picture.height, n);
  Picture scaled;
  std::vector<uint8_t> tiles;
  if (!ResamplePicture(setup.picture, w, h, scaled) ||
      !CutTiles(scaled.pixels.data(), w, h, scaled.stride, n, tiles)) {
    error = "the picture cannot be cut into pieces";
    return nullptr;
  }
  PuzzleBoard board;
  if (sliding)
    ShuffleSliding(board, n, setup.random, setup.options.Integer("moves"));
  else
    ShuffleSwap(board, n, setup.random, setup.options.Integer("swaps"));
  DrawBoard(board, tiles, w / n, h / n, sliding, scaled.pixels.data(), w, h, scaled.stride);
  setup.picture = std::move(scaled);
  return std::make_unique<DealtRun>();
}

std::unique_ptr<EffectRun> StartPuzzle(const EffectSetup& setup, std::string& error) {
  return Deal(setup, true, error);
}
std::unique_ptr<EffectRun> StartPuzzle1(const EffectSetup& setup, std::string& error) {
  return Deal(setup, false, error);
}

}  // namespace

const EffectRow kPuzzleRow{"puzzle", "the sliding puzzle's board dealt from the picture", EffectKind::kStill,
                           kPuzzleOptions, StartPuzzle};
const EffectRow kPuzzle1Row{"puzzle1", "the swap puzzle's board dealt from the picture", EffectKind::kStill,
                            kPuzzle1Options, StartPuzzle1};

}  // namespace quillo::render
