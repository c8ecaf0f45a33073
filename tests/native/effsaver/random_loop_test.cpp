#include <gtest/gtest.h>

#include <vector>

#include "savers/effsaver/kernels/random_loop.h"

namespace quillo::effsaver {
namespace {

TEST(RandomLoop, PicksAsTheRuntimeGeneratorDoesUntilClosing) {
  RuntimeRandom random(1234), expected(1234);
  std::vector<size_t> picked;
  bool closing = false;
  const LoopEnd end = RunRandomLoop(7, random, [&] { return closing; }, [&](size_t index) {
    picked.push_back(index);
    if (picked.size() == 5) closing = true;
    return PlayOutcome::kSwitched;
  });
  EXPECT_EQ(end, LoopEnd::kStopped);
  ASSERT_EQ(picked.size(), 5u);
  for (size_t index : picked) EXPECT_EQ(index, size_t(expected.Next() % 7));
}

TEST(RandomLoop, TenFailedPicksInARowEndIt) {
  RuntimeRandom random(1);
  int plays = 0;
  EXPECT_EQ(RunRandomLoop(3, random, [] { return false; }, [&](size_t) {
              ++plays;
              return PlayOutcome::kNotStarted;
            }),
            LoopEnd::kTooManyFailures);
  EXPECT_EQ(plays, kMaxFailedPicks);

  // Effects that return at once count as failures too, so the loop cannot
  // spin without ever handling a message.
  plays = 0;
  EXPECT_EQ(RunRandomLoop(3, random, [] { return false; }, [&](size_t) {
              ++plays;
              return plays % 2 ? PlayOutcome::kNotStarted : PlayOutcome::kEndedItself;
            }),
            LoopEnd::kTooManyFailures);
  EXPECT_EQ(plays, kMaxFailedPicks);
}

TEST(RandomLoop, ASwitchedEffectStartsTheCountAgain) {
  RuntimeRandom random(1);
  int plays = 0;
  // Nine failures, one effect that played until switched, nine failures ...
  const LoopEnd end = RunRandomLoop(4, random, [&] { return plays >= 40; }, [&](size_t) {
    ++plays;
    return plays % 10 == 0 ? PlayOutcome::kSwitched : PlayOutcome::kNotStarted;
  });
  EXPECT_EQ(end, LoopEnd::kStopped);
  EXPECT_EQ(plays, 40);
}

TEST(RandomLoop, EmptyCatalogueOrNoFreshImagePlaysNoMore) {
  RuntimeRandom random(1);
  int plays = 0;
  EXPECT_EQ(RunRandomLoop(0, random, [] { return false; }, [&](size_t) {
              ++plays;
              return PlayOutcome::kSwitched;
            }),
            LoopEnd::kEmptyCatalogue);
  EXPECT_EQ(plays, 0);
  EXPECT_EQ(RunRandomLoop(5, random, [] { return false; }, [&](size_t index) {
              EXPECT_LT(index, 5u);
              ++plays;
              return PlayOutcome::kStop;
            }),
            LoopEnd::kStopped);
  EXPECT_EQ(plays, 1);
}

}  // namespace
}  // namespace quillo::effsaver
