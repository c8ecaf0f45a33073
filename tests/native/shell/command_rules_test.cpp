// The frame's fixed tables: the effect-time command filter, menu help and
// the tool buttons per screen width.
#include <gtest/gtest.h>

#include <string>

#include "app/shell/command_rules.h"
#include "app/shell/resource_ids.h"

using namespace quillo;

TEST(CommandRules, OnlyTheListedCommandsPassWhileAnEffectRuns) {
  for (int command : {CMD_SAVE, CMD_COPY, CMD_ZOOM_IN, CMD_ZOOM_OUT, CMD_ACTUAL_SIZE,
                      CMD_SAVE_GIVEN_IMAGE, CMD_PANEL_PACK, CMD_PANEL_SAVER, CMD_MASK_SHOW,
                      CMD_MASK_HIDE, CMD_MAIL_GIFT, CMD_VIEW_SELECT, CMD_VIEW_ZOOM_RECT})
    EXPECT_TRUE(CommandAllowedDuringEffect(command)) << std::hex << command;
  for (int command : {CMD_OPEN, CMD_EXIT, CMD_UNDO, CMD_CROP, CMD_PASTE, CMD_CLOSE_IMAGE,
                      CMD_EFFECT_BROWSER, CMD_GREY, CMD_NEW_IMAGE, CMD_RECENT_FIRST})
    EXPECT_FALSE(CommandAllowedDuringEffect(command)) << std::hex << command;
}

TEST(CommandRules, MenuHelpFollowsTheTableAndTheEffectState) {
  EXPECT_EQ(MenuHelpString(CMD_OPEN, false), 0x6001);
  EXPECT_EQ(MenuHelpString(CMD_SAVE, false), 0x6000);
  EXPECT_EQ(MenuHelpString(CMD_ACTUAL_SIZE, false), 0x6107);
  EXPECT_EQ(MenuHelpString(CMD_MAIL_GIFT, false), 0x6120);
  EXPECT_EQ(MenuHelpString(CMD_MAIL_GIFT, true), 0x6121);
  EXPECT_EQ(MenuHelpString(CMD_RECENT_FIRST, false), 0);  // recent files have no help
  EXPECT_EQ(MenuHelpString(0, false), 0);
}

TEST(CommandRules, NarrowScreensLoseCopyPasteAndNext) {
  auto names = [](int width) {
    std::string s;
    for (const ToolButtonSpec& b : ToolButtonsForScreen(width)) s += std::string(b.bitmap) + " ";
    return s;
  };
  const std::string base = "Open Play Snapshot Close Undo Crop ";
  EXPECT_EQ(names(1024), base + "Copy Paste ZOOMOUT Restore Zoomin Next About Exit ");
  EXPECT_EQ(names(800), base + "Copy Paste ZOOMOUT Restore Zoomin About Exit ");
  EXPECT_EQ(names(799), base + "ZOOMOUT Restore Zoomin About Exit ");
  for (const ToolButtonSpec& b : ToolButtonsForScreen(1024))
    if (b.command == CMD_ACTUAL_SIZE) EXPECT_STREQ(b.literalCaption, "1 : 1");
}
