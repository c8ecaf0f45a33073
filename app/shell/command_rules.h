// The frame's fixed tables: which commands pass while an effect runs, the
// help string of each menu command, and the tool buttons a screen gets.
#pragma once
#include <vector>

namespace quillo {

// Commands that still work while an effect dialog works on a picture; all
// others are answered with a beep.
bool CommandAllowedDuringEffect(int command);

// String id of the help text the status line shows for a highlighted menu
// command, or 0 when the command has none.
int MenuHelpString(int command, bool effectActive);

struct ToolButtonSpec {
  const char* bitmap;   // bitmap resource of the program
  int captionString;    // string id, or 0 for the literal caption
  const char* literalCaption;
  int command;
};

// The tool buttons, left to right, for a screen `screenWidth` pixels wide:
// Copy and Paste only from 800 pixels, Next only above 800.
std::vector<ToolButtonSpec> ToolButtonsForScreen(int screenWidth);

constexpr int kToolButtonSize = 50;

}  // namespace quillo
