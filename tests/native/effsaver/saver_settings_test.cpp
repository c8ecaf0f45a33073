#include <gtest/gtest.h>

#include "savers/effsaver/kernels/saver_settings.h"

namespace quillo::effsaver {
namespace {

SaverSettingsText Names(const char* module, const char* function) {
  SaverSettingsText t;
  if (module) t.module = module;
  if (function) t.function = function;
  return t;
}

TEST(SaverSettings, ShortMissingOrUnsafeNamesGiveTheDefaultEffect) {
  const struct {
    const char* module;
    const char* function;
  } fallbacks[] = {
      {"Q.P", "ProcessWater"},            // 3 characters: whatever Function says
      {"Qlo12.PL1", "Pro"},               // short function takes the module too
      {nullptr, "ProcessWater"},          // missing
      {"Qlo12.PL1", nullptr},
      {"", ""},
      {"..\\Evil.PL1", "ProcessWater"},   // outside the saver's folder
      {"C:\\x\\Qlo12.PL1", "ProcessWater"},
      {"sub/Qlo12.PL1", "ProcessWater"},
      {"D:Qlo12.PL1", "ProcessWater"},
  };
  for (const auto& f : fallbacks) {
    SCOPED_TRACE(f.module ? f.module : "(missing)");
    const SaverSettings s = ParseSaverSettings(Names(f.module, f.function));
    EXPECT_EQ(s.module, "Qlo11.PL1");
    EXPECT_EQ(s.function, "ProcessEnvmap");
  }
  const SaverSettings kept = ParseSaverSettings(Names("Q.PL", "Proc"));
  EXPECT_EQ(kept.module, "Q.PL");
  EXPECT_EQ(kept.function, "Proc");
}

TEST(SaverSettings, NamesAreCutToWhatTheSaverReads) {
  const std::string longModule(40, 'm');
  const std::string longFunction(70, 'f');
  const SaverSettings s = ParseSaverSettings(Names(longModule.c_str(), longFunction.c_str()));
  EXPECT_EQ(s.module, std::string(30, 'm'));
  EXPECT_EQ(s.function, std::string(60, 'f'));
}

TEST(SaverSettings, NumbersAndTheirDefaults) {
  SaverSettingsText t;
  SaverSettings s = ParseSaverSettings(t);
  EXPECT_EQ(s.id, 0);
  EXPECT_EQ(s.minutes, 5);
  EXPECT_TRUE(s.random);  // "Random" missing means random

  const struct {
    const char* time;
    int minutes;
  } times[] = {{"1", 1}, {"30", 30}, {"0", 5}, {"31", 5}, {"-3", 5}, {"x", 5}, {"", 5},
               {"99999999999", 5}, {" 7", 7}};
  for (const auto& c : times) {
    SCOPED_TRACE(c.time);
    t.time = c.time;
    EXPECT_EQ(ParseSaverSettings(t).minutes, c.minutes);
  }

  const struct {
    const char* random;
    bool on;
  } randoms[] = {{"1", true}, {"0", false}, {"2", true}, {"", false}, {"no", false}};
  for (const auto& c : randoms) {
    SCOPED_TRACE(c.random);
    t.random = c.random;
    EXPECT_EQ(ParseSaverSettings(t).random, c.on);
  }

  t.id = "2";
  EXPECT_EQ(ParseSaverSettings(t).id, 2);
  t.id = "-7";
  EXPECT_EQ(ParseSaverSettings(t).id, -7);
  t.id = "abc";
  EXPECT_EQ(ParseSaverSettings(t).id, 0);
}

TEST(SaverSettings, WrittenValuesReadBackUnchanged) {
  SaverSettings s;
  s.module = "Qlo12.PL1";
  s.function = "ProcessTunnel";
  s.id = 2;
  s.minutes = 17;
  s.random = false;
  SaverSettingsText t;
  for (const auto& [key, value] : SettingsToWrite(s)) {
    if (key == "Modual") t.module = value;
    else if (key == "Function") t.function = value;
    else if (key == "ID") t.id = value;
    else if (key == "Time") t.time = value;
    else if (key == "Random") t.random = value;
    else ADD_FAILURE() << key;
  }
  const SaverSettings back = ParseSaverSettings(t);
  EXPECT_EQ(back.module, s.module);
  EXPECT_EQ(back.function, s.function);
  EXPECT_EQ(back.id, s.id);
  EXPECT_EQ(back.minutes, s.minutes);
  EXPECT_EQ(back.random, s.random);
}

TEST(SaverSettings, SwitchPeriodIsSixtyTicksAMinute) {
  EXPECT_EQ(SwitchPeriodTicks(1), 60);
  EXPECT_EQ(SwitchPeriodTicks(30), 1800);
  EXPECT_EQ(SwitchPeriodTicks(0), 300);
}

}  // namespace
}  // namespace quillo::effsaver
