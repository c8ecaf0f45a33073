#include "command_rules.h"

#include <algorithm>
#include <iterator>

#include "resource_ids.h"

namespace quillo {

bool CommandAllowedDuringEffect(int command) {
  static constexpr int kAllowed[] = {
      CMD_AVI_CAPTURE, CMD_AVI_STOP,   CMD_PANEL_PACK,  CMD_PANEL_SAVER,       CMD_SAVE,
      CMD_COPY,        CMD_VIEW_SELECT, CMD_VIEW_MAGNIFIER, CMD_VIEW_ZOOM_RECT, CMD_ZOOM_IN,
      CMD_ZOOM_OUT,    CMD_SAVE_GIVEN_IMAGE, CMD_MAIL_GIFT, CMD_MASK_SHOW,     CMD_MASK_HIDE,
      CMD_ACTUAL_SIZE};
  return std::find(std::begin(kAllowed), std::end(kAllowed), command) != std::end(kAllowed);
}

int MenuHelpString(int command, bool effectActive) {
  struct Entry { int command, string; };
  static constexpr Entry kHelp[] = {
      {0x283C, 0x600C}, {0x283D, 0x600A}, {0x283E, 0x6009}, {0x283F, 0x600B}, {0x2840, 0x6015},
      {0x28A6, 0x610E}, {0x28AF, 0x6115}, {0x28B0, 0x6116}, {0x28F0, 0x6127}, {0x28F1, 0x6132},
      {0x7100, 0x6001}, {0x7101, 0x6007}, {0x7102, 0x6000}, {0x7103, 0x6002}, {0x7104, 0x6004},
      {0x7105, 0x6003}, {0x7109, 0x600D}, {0x710C, 0x6005}, {0x710D, 0x600E}, {0x710E, 0x6008},
      {0x710F, 0x604B}, {0x7111, 0x6011}, {0x7112, 0x601E}, {0x7113, 0x601F}, {0x7114, 0x6022},
      {0x7115, 0x6023}, {0x7116, 0x6024}, {0x7118, 0x602F}, {0x7119, 0x6030}, {0x711B, 0x6020},
      {0x711C, 0x6021}, {0x711D, 0x6036}, {0x7120, 0x6034}, {0x7121, 0x6035}, {0x7124, 0x6040},
      {0x7125, 0x6041}, {0x7126, 0x6042}, {0x7127, 0x610A}, {0x7129, 0x604A}, {0x712A, 0x6049},
      {0x7130, 0x604E}, {0x7406, 0x6016}, {0x740D, 0x6017}, {0x740E, 0x6018}, {0x740F, 0x6019},
      {0x7410, 0x601A}, {0x7411, 0x601B}, {0x7412, 0x601C}, {0x741C, 0x6106}, {0x743A, 0x6107},
  };
  if (command == CMD_MAIL_GIFT) return effectActive ? 0x6121 : 0x6120;
  for (const Entry& e : kHelp)
    if (e.command == command) return e.string;
  return 0;
}

std::vector<ToolButtonSpec> ToolButtonsForScreen(int screenWidth) {
  std::vector<ToolButtonSpec> buttons = {
      {"Open", IDS_BTN_OPEN, nullptr, CMD_OPEN},
      {"Play", IDS_BTN_PLAY, nullptr, CMD_EFFECT_BROWSER},
      {"Snapshot", IDS_BTN_SNAPSHOT, nullptr, CMD_SAVE},
      {"Close", IDS_BTN_CLOSE, nullptr, CMD_CLOSE_IMAGE},
      {"Undo", IDS_BTN_UNDO, nullptr, CMD_UNDO},
      {"Crop", IDS_BTN_CROP, nullptr, CMD_CROP},
  };
  if (screenWidth >= 800) {
    buttons.push_back({"Copy", IDS_BTN_COPY, nullptr, CMD_COPY});
    buttons.push_back({"Paste", IDS_BTN_PASTE, nullptr, CMD_PASTE});
  }
  buttons.push_back({"ZOOMOUT", IDS_BTN_ZOOMOUT, nullptr, CMD_ZOOM_OUT});
  buttons.push_back({"Restore", 0, "1 : 1", CMD_ACTUAL_SIZE});
  buttons.push_back({"Zoomin", IDS_BTN_ZOOMIN, nullptr, CMD_ZOOM_IN});
  if (screenWidth > 800) buttons.push_back({"Next", IDS_BTN_NEXT, nullptr, CMD_NEXT_WINDOW});
  buttons.push_back({"About", IDS_BTN_ABOUT, nullptr, CMD_PRODUCT_PAGE});
  buttons.push_back({"Exit", IDS_BTN_EXIT, nullptr, CMD_EXIT});
  return buttons;
}

}  // namespace quillo
