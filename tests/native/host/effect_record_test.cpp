#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "effect_record.h"

namespace quillo {
namespace {

EffectInfoEntry Entry(const char* function = "ProcessBalance", const char* example = "Bal.jpg") {
  EffectInfoEntry e;
  e.kindFlags = 0x20;
  e.reserved1 = 1;
  e.catalogFlag = 2;
  e.effectValue = 77;
  e.nameStringId = 100;
  e.categoryStringId = 200;
  e.optionFlags = 0x2008;
  e.functionName = function;
  e.exampleImage = example;
  return e;
}

uint32_t WordAt(const EffectRecord& r, size_t offset) {
  uint32_t v;
  std::memcpy(&v, reinterpret_cast<const uint8_t*>(&r) + offset, 4);
  return v;
}

TEST(EffectRecordBuild, FieldsLandAtTheirFileOffsets) {
  EffectRecord r;
  ASSERT_EQ(BuildEffectRecord(Entry(), "BXCOMM1.PL1", "Balance", "Colour", r), RecordBuildResult::kOk);
  EXPECT_EQ(WordAt(r, 0), 0x20u);
  EXPECT_EQ(WordAt(r, 4), 1u);
  EXPECT_EQ(WordAt(r, 8), 2u);
  EXPECT_EQ(WordAt(r, 12), 77u);
  EXPECT_EQ(WordAt(r, 16), 0x20u);
  EXPECT_EQ(WordAt(r, 20), 200u);
  EXPECT_EQ(WordAt(r, 24), 0x2008u);
  EXPECT_EQ(WordAt(r, 28), 0u);
  EXPECT_EQ(WordAt(r, 32), 0u);
  const char* bytes = reinterpret_cast<const char*>(&r);
  EXPECT_STREQ(bytes + 36, "BXCOMM1.PL1");
  EXPECT_STREQ(bytes + 52, "ProcessBalance");
  EXPECT_STREQ(bytes + 92, "Bal.jpg");
  EXPECT_STREQ(bytes + 108, "Balance");
  EXPECT_STREQ(bytes + 188, "Colour");
}

TEST(EffectRecordBuild, BytesBehindStringsAndReservedAreZero) {
  EffectRecord r;
  std::memset(&r, 0xAB, sizeof r);
  ASSERT_EQ(BuildEffectRecord(Entry("ProcessX", "x.jpg"), "Q.PL1", "Nm", "Ct", r), RecordBuildResult::kOk);
  const uint8_t* b = reinterpret_cast<const uint8_t*>(&r);
  struct Field {
    size_t offset, size, used;
  } fields[] = {{36, 16, 5}, {52, 40, 8}, {92, 16, 5}, {108, 80, 2}, {188, 80, 2}, {268, 24, 0}, {28, 8, 0}};
  for (const Field& f : fields)
    for (size_t i = f.used; i < f.size; ++i) EXPECT_EQ(b[f.offset + i], 0) << "offset " << f.offset + i;
}

TEST(EffectRecordBuild, FallbacksForMissingStrings) {
  EffectRecord r;
  bool bad = false;
  // Display name not loadable: "N/A" and the entry is reported as bad.
  ASSERT_EQ(BuildEffectRecord(Entry(), "A.PL1", std::nullopt, "Cat", r, &bad), RecordBuildResult::kOk);
  EXPECT_EQ(DisplayName(r), "N/A");
  EXPECT_TRUE(bad);
  ASSERT_EQ(BuildEffectRecord(Entry(), "A.PL1", "", "Cat", r, &bad), RecordBuildResult::kOk);
  EXPECT_EQ(DisplayName(r), "N/A");
  EXPECT_TRUE(bad);
  ASSERT_EQ(BuildEffectRecord(Entry(), "A.PL1", "Name", "Cat", r, &bad), RecordBuildResult::kOk);
  EXPECT_FALSE(bad);

  // Category: "MISC" when the id is 0 (even when a text is at hand) or the
  // string cannot be loaded.
  EffectInfoEntry noCategory = Entry();
  noCategory.categoryStringId = 0;
  ASSERT_EQ(BuildEffectRecord(noCategory, "A.PL1", "Name", "Cat", r), RecordBuildResult::kOk);
  EXPECT_EQ(CategoryName(r), "MISC");
  EXPECT_EQ(r.categoryId, 0);
  ASSERT_EQ(BuildEffectRecord(Entry(), "A.PL1", "Name", std::nullopt, r), RecordBuildResult::kOk);
  EXPECT_EQ(CategoryName(r), "MISC");
  EXPECT_EQ(r.categoryId, 200);

  // No example name at all: "N/A".
  ASSERT_EQ(BuildEffectRecord(Entry("ProcessX", nullptr), "A.PL1", "Name", "Cat", r), RecordBuildResult::kOk);
  EXPECT_EQ(ExampleName(r), "N/A");
}

TEST(EffectRecordBuild, LoadedNamesAreCutTo79Characters) {
  EffectRecord r;
  std::string longName(200, 'n'), longCategory(200, 'c');
  ASSERT_EQ(BuildEffectRecord(Entry(), "A.PL1", longName, longCategory, r), RecordBuildResult::kOk);
  EXPECT_EQ(DisplayName(r), std::string(79, 'n'));
  EXPECT_EQ(CategoryName(r), std::string(79, 'c'));
  EXPECT_EQ(r.displayName[79], 0);
  EXPECT_EQ(r.category[79], 0);
}

TEST(EffectRecordBuild, OverlongNamesAreRefusedNeverCut) {
  std::string m15(15, 'm'), m16(16, 'm'), f39(39, 'f'), f40(40, 'f'), e15(15, 'e'), e16(16, 'e');
  EffectRecord r;
  EXPECT_EQ(BuildEffectRecord(Entry(), m15, "N", "C", r), RecordBuildResult::kOk);
  EXPECT_EQ(ModuleName(r), m15);
  EXPECT_EQ(BuildEffectRecord(Entry(f39.c_str()), "A.PL1", "N", "C", r), RecordBuildResult::kOk);
  EXPECT_EQ(FunctionName(r), f39);
  EXPECT_EQ(BuildEffectRecord(Entry("P", e15.c_str()), "A.PL1", "N", "C", r), RecordBuildResult::kOk);
  EXPECT_EQ(ExampleName(r), e15);

  EXPECT_EQ(BuildEffectRecord(Entry(), m16, "N", "C", r), RecordBuildResult::kModuleNameTooLong);
  EXPECT_EQ(BuildEffectRecord(Entry(f40.c_str()), "A.PL1", "N", "C", r), RecordBuildResult::kFunctionNameTooLong);
  EXPECT_EQ(BuildEffectRecord(Entry("P", e16.c_str()), "A.PL1", "N", "C", r), RecordBuildResult::kExampleNameTooLong);
  EXPECT_EQ(BuildEffectRecord(Entry(nullptr), "A.PL1", "N", "C", r), RecordBuildResult::kFunctionNameMissing);
  EXPECT_EQ(BuildEffectRecord(Entry(""), "A.PL1", "N", "C", r), RecordBuildResult::kFunctionNameMissing);
  // A refused record is left all zero, so it cannot be appended by mistake
  // with a half-filled name.
  EffectRecord zero{};
  EXPECT_EQ(std::memcmp(&r, &zero, sizeof r), 0);
}

TEST(EffectRecordBuild, BadPlugInfoText) {
  EXPECT_EQ(BadPlugInfoText("Q.PL1", "ProcessX"), "A Bad Plug info:\nName = Q.PL1\nFunction : ProcessX\n");
}

TEST(EffectRecordStrings, TerminateAtFieldEnd) {
  EffectRecord r;
  std::memset(&r, 'x', sizeof r);
  EXPECT_EQ(ModuleName(r).size(), kModuleFieldChars);  // FieldText never runs past the field
  TerminateStrings(r);
  EXPECT_EQ(std::strlen(r.module), 15u);
  EXPECT_EQ(std::strlen(r.function), 39u);
  EXPECT_EQ(std::strlen(r.example), 15u);
  EXPECT_EQ(std::strlen(r.displayName), 79u);
  EXPECT_EQ(std::strlen(r.category), 79u);
}

}  // namespace
}  // namespace quillo
