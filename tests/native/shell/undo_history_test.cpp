#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <vector>

#include "contracts/dib_format.h"
#include "history_tidy.h"
#include "undo_history.h"

namespace quillo {
namespace {

// Counts frees per handle and checks, at each free, that no slot still
// holds the handle.
class CountingReleaser : public HistoryAccess {
 public:
  explicit CountingReleaser(const UndoSlot* slots) : slots_(slots) {}
  std::map<uintptr_t, int> freed;
  std::map<uintptr_t, std::vector<uint8_t>> bytes;  // DIBs and masks by handle
  int locks = 0;

  void FreeImage(uintptr_t h) override { Free(h); }
  void FreeDisplayCopy(uintptr_t h) override { Free(h); }
  void FreePalette(uintptr_t h) override {
    EXPECT_FALSE(PaletteHeld(slots_, h)) << h;
    ++freed[h];
  }
  void FreeMask(uintptr_t h) override {
    EXPECT_FALSE(MaskHeld(slots_, h)) << h;
    ++freed[h];
  }
  ByteSpan LockDib(uintptr_t h) override { return Lock(h); }
  void UnlockDib(uintptr_t) override { --locks; }
  ByteSpan LockMask(uintptr_t h) override { return Lock(h); }
  void UnlockMask(uintptr_t) override { --locks; }

 private:
  void Free(uintptr_t h) {
    EXPECT_FALSE(DibHeld(slots_, h)) << "freed while held: " << h;
    ++freed[h];
  }
  ByteSpan Lock(uintptr_t h) {
    auto it = bytes.find(h);
    if (it == bytes.end()) return {};
    ++locks;
    return {it->second.data(), it->second.size()};
  }
  const UndoSlot* slots_;
};

UndoSlot Slot(uintptr_t image, uintptr_t palette = 0, uintptr_t mask = 0) {
  UndoSlot s;
  s.image = image;
  s.palette = palette;
  s.mask = mask;
  s.width = 4;
  s.height = 3;
  return s;
}

void ExpectEachFreedOnce(const CountingReleaser& r, std::initializer_list<uintptr_t> handles) {
  for (uintptr_t h : handles) {
    auto it = r.freed.find(h);
    ASSERT_NE(it, r.freed.end()) << "never freed: " << h;
    EXPECT_EQ(it->second, 1) << h;
  }
  EXPECT_EQ(r.freed.size(), handles.size());
}

TEST(UndoHistory, SharedHandlesAreFreedOnceWhenTheLastHolderGoes) {
  UndoSlot slots[kUndoSlotCount];
  CountingReleaser r(slots);
  slots[0] = Slot(100, 200, 300);
  slots[1] = Slot(100, 200, 300);  // an effect that changed nothing: all shared
  slots[2] = Slot(101, 200, 301);
  slots[2].displayCopy = 101;      // a display copy equal to its own image
  EXPECT_TRUE(PopUndoSlot(slots, r));
  EXPECT_EQ(r.freed.count(200), 0u);
  EXPECT_EQ(r.freed[101], 1);
  EXPECT_EQ(r.freed[301], 1);
  EXPECT_TRUE(PopUndoSlot(slots, r));
  EXPECT_EQ(r.freed.count(100), 0u) << "slot 0 still holds it";
  ReleaseAllUndoSlots(slots, r);
  ExpectEachFreedOnce(r, {100, 101, 200, 300, 301});
  for (const UndoSlot& s : slots) EXPECT_EQ(s.image, 0u);
}

TEST(UndoHistory, FullHistoryDropsOldestEditKeepsLoadedImage) {
  UndoSlot slots[kUndoSlotCount];
  CountingReleaser r(slots);
  slots[0] = Slot(1000);
  for (uintptr_t step = 1; step <= 5; ++step) {
    const int i = PushUndoSlot(slots, r);
    EXPECT_EQ(i, int(step));
    slots[i] = Slot(1000 + step);
  }
  EXPECT_TRUE(r.freed.empty());
  const int sixth = PushUndoSlot(slots, r);
  EXPECT_EQ(sixth, 5);
  EXPECT_EQ(slots[5].image, 0u);
  slots[5] = Slot(1006);
  ExpectEachFreedOnce(r, {1001});
  const uintptr_t expected[] = {1000, 1002, 1003, 1004, 1005, 1006};
  for (int i = 0; i < kUndoSlotCount; ++i) EXPECT_EQ(slots[i].image, expected[i]);
  // Five undos return to the loaded image; the sixth does nothing.
  for (int i = 0; i < 5; ++i) EXPECT_TRUE(PopUndoSlot(slots, r));
  EXPECT_EQ(CurrentUndoSlot(slots), 0);
  EXPECT_FALSE(HasUndoStep(slots));
  EXPECT_FALSE(PopUndoSlot(slots, r));
  EXPECT_EQ(slots[0].image, 1000u);
  EXPECT_EQ(r.freed.count(1000), 0u);
}

TEST(UndoHistory, FullPushKeepsHandlesSharedWithTheMovedSlots) {
  UndoSlot slots[kUndoSlotCount];
  CountingReleaser r(slots);
  slots[0] = Slot(1, 7, 9);
  slots[1] = Slot(2, 7, 9);
  slots[2] = Slot(2, 7, 9);  // slot 2 shares slot 1's image and mask
  for (int i = 3; i < kUndoSlotCount; ++i) slots[i] = Slot(uintptr_t(i), 7, 9);
  EXPECT_EQ(PushUndoSlot(slots, r), 5);
  EXPECT_TRUE(r.freed.empty()) << "every handle of slot 1 lives on";
  EXPECT_EQ(slots[1].image, 2u);
}

TEST(UndoHistory, PaletteReplacementDeletesOnlyAnUnsharedPalette) {
  UndoSlot slots[kUndoSlotCount];
  CountingReleaser r(slots);
  slots[0] = Slot(1, 50);
  slots[1] = Slot(2, 50);
  ReplaceCurrentPalette(slots, 51, r);  // 50 still held by slot 0
  EXPECT_TRUE(r.freed.empty());
  EXPECT_EQ(slots[1].palette, 51u);
  ReplaceCurrentPalette(slots, 51, r);  // the same palette again: kept
  EXPECT_TRUE(r.freed.empty());
  ReplaceCurrentPalette(slots, 52, r);
  ExpectEachFreedOnce(r, {51});
  EXPECT_TRUE(SlotsHoldImage(slots, 2));
  EXPECT_FALSE(SlotsHoldImage(slots, 0));
}

std::vector<uint8_t> MakeDib(int width, int height, int bits, uint8_t fill, uint8_t tableByte = 0) {
  const int colours = bits <= 8 ? 1 << bits : 0;
  const size_t pixels = size_t(DibStride(width, bits)) * size_t(height);
  std::vector<uint8_t> dib(40 + 4 * size_t(colours) + pixels, fill);
  DibHeader h{40, width, height, 1, uint16_t(bits), 0, uint32_t(pixels), 0, 0, 0, 0};
  std::memcpy(dib.data(), &h, 40);
  std::memset(dib.data() + 40, tableByte, 4 * size_t(colours));
  return dib;
}

TEST(HistoryTidy, ComparisonRefusesDifferentShapesAndTables) {
  const auto base = MakeDib(5, 3, 8, 9);
  const ByteSpan a{base.data(), base.size()};
  const auto same = MakeDib(5, 3, 8, 9);
  EXPECT_TRUE(DibPixelsEqual(a, {same.data(), same.size()}));
  struct Case {
    const char* name;
    std::vector<uint8_t> other;
  } cases[] = {
      {"wider", MakeDib(6, 3, 8, 9)},
      {"taller", MakeDib(5, 4, 8, 9)},
      {"other bit count", MakeDib(5, 3, 4, 9)},
      {"other palette", MakeDib(5, 3, 8, 9, 1)},
      {"truncated", std::vector<uint8_t>(base.begin(), base.end() - 1)},
  };
  for (const Case& c : cases)
    EXPECT_FALSE(DibPixelsEqual(a, {c.other.data(), c.other.size()})) << c.name;
  // Pixel bytes count over the real stride: a change in the last byte of a
  // 1-bit image's padded row still lies inside the compared span.
  auto mono = MakeDib(40, 2, 1, 0);
  auto mono2 = mono;
  mono2.back() = 1;
  EXPECT_FALSE(DibPixelsEqual({mono.data(), mono.size()}, {mono2.data(), mono2.size()}));
  // A height that would overflow the size product is refused, not read.
  auto huge = MakeDib(5, 3, 24, 0);
  const int32_t big = 0x7FFFFFFF;
  std::memcpy(huge.data() + 4, &big, 4);
  std::memcpy(huge.data() + 8, &big, 4);
  EXPECT_FALSE(DibPixelsEqual({huge.data(), huge.size()}, {huge.data(), huge.size()}));
}

TEST(HistoryTidy, SharesMaskAndImageOnlyWhenTheStepAddsNothing) {
  UndoSlot slots[kUndoSlotCount];
  CountingReleaser r(slots);
  r.bytes[10] = MakeDib(4, 3, 24, 7);
  r.bytes[11] = MakeDib(4, 3, 24, 7);      // same pixels
  r.bytes[20] = std::vector<uint8_t>(12, 128);
  r.bytes[21] = std::vector<uint8_t>(12, 255);  // full mask
  slots[0] = Slot(10, 0, 20);
  slots[0].displayCopy = 30;
  slots[1] = Slot(11, 0, 21);
  slots[1].displayCopy = 31;
  const TidyOutcome t = TidyHistory(slots, r);
  EXPECT_TRUE(t.maskShared);
  EXPECT_TRUE(t.imageShared);
  EXPECT_EQ(slots[1].mask, 20u);
  EXPECT_EQ(slots[1].image, 10u);
  EXPECT_EQ(slots[0].displayCopy, 0u);
  EXPECT_EQ(r.locks, 0) << "every lock is undone";
  ExpectEachFreedOnce(r, {11, 21, 30, 31});
  ReleaseAllUndoSlots(slots, r);
  ExpectEachFreedOnce(r, {10, 11, 20, 21, 30, 31});
}

TEST(HistoryTidy, KeepsAPartialMaskAndAChangedOrResizedImage) {
  struct Case {
    const char* name;
    std::vector<uint8_t> current;
    int width;
  } cases[] = {
      {"changed pixels", MakeDib(4, 3, 24, 8), 4},
      {"other size", MakeDib(5, 3, 24, 7), 5},
  };
  for (const Case& c : cases) {
    UndoSlot slots[kUndoSlotCount];
    CountingReleaser r(slots);
    r.bytes[10] = MakeDib(4, 3, 24, 7);
    r.bytes[11] = c.current;
    std::vector<uint8_t> partial(size_t(c.width) * 3, 255);
    partial[0] = 3;
    r.bytes[21] = partial;
    slots[0] = Slot(10, 0, 20);
    slots[1] = Slot(11, 0, 21);
    slots[1].width = c.width;
    const TidyOutcome t = TidyHistory(slots, r);
    EXPECT_FALSE(t.maskShared) << c.name;
    EXPECT_FALSE(t.imageShared) << c.name;
    EXPECT_EQ(slots[1].image, 11u) << c.name;
    EXPECT_TRUE(r.freed.empty()) << c.name;
  }
}

}  // namespace
}  // namespace quillo

namespace quillo {
namespace {

// An effect run opens a tentative step; a cancel must leave the history
// exactly as it was, even when all five steps were in use.
TEST(TentativeUndoStep, CancelWithFullHistoryRestoresEverySlot) {
  UndoSlot slots[kUndoSlotCount];
  slots[0] = Slot(100, 0, 900);
  for (int i = 1; i < kUndoSlotCount; ++i) slots[i] = Slot(100 + i, 0, 900 + i);
  UndoSlot before[kUndoSlotCount];
  std::memcpy(before, slots, sizeof slots);
  CountingReleaser releaser(slots);

  TentativeUndoStep step = BeginTentativeUndoStep(slots);
  ASSERT_EQ(step.index, 5);
  EXPECT_TRUE(releaser.freed.empty()) << "nothing is released before the effect is accepted";
  EXPECT_EQ(slots[1].image, 102u);
  slots[5] = Slot(555, 0, 955);  // the effect's copy and mask
  CancelTentativeUndoStep(slots, step, releaser);
  EXPECT_EQ(0, std::memcmp(before, slots, sizeof slots));
  EXPECT_EQ(releaser.freed, (std::map<uintptr_t, int>{{555, 1}, {955, 1}}));
}

TEST(TentativeUndoStep, CommitReleasesTheSetAsideOldestStepOnly) {
  UndoSlot slots[kUndoSlotCount];
  slots[0] = Slot(100);
  for (int i = 1; i < kUndoSlotCount; ++i) slots[i] = Slot(100 + i, 0, 900 + i);
  slots[2].mask = 901;  // the second step shares the oldest step's mask
  CountingReleaser releaser(slots);
  TentativeUndoStep step = BeginTentativeUndoStep(slots);
  slots[5] = Slot(555);
  CommitTentativeUndoStep(slots, step, releaser);
  EXPECT_EQ(releaser.freed, (std::map<uintptr_t, int>{{101, 1}})) << "shared mask 901 stays";
  EXPECT_EQ(slots[5].image, 555u);
  EXPECT_EQ(slots[1].image, 102u);
}

TEST(TentativeUndoStep, CancelWithRoomKeepsOlderStepsAndSharedHandles) {
  UndoSlot slots[kUndoSlotCount];
  slots[0] = Slot(100, 0, 900);
  UndoSlot before[kUndoSlotCount];
  std::memcpy(before, slots, sizeof slots);
  CountingReleaser releaser(slots);
  TentativeUndoStep step = BeginTentativeUndoStep(slots);
  ASSERT_EQ(step.index, 1);
  slots[1] = Slot(100, 0, 900);  // an effect that handed back the image it got
  CancelTentativeUndoStep(slots, step, releaser);
  EXPECT_EQ(0, std::memcmp(before, slots, sizeof slots));
  EXPECT_TRUE(releaser.freed.empty());
}

}  // namespace
}  // namespace quillo
