#include "control_geometry.h"

#include <algorithm>

namespace quillo::prt {

StripCell StripCellFor(int64_t k, int cellsPerRow, int cellWidth, int cellHeight, StripRow row,
                       int stripWidth, int stripHeight) {
  StripCell cell;
  if (k < 0 || cellsPerRow <= 0 || cellWidth <= 0 || cellHeight <= 0) return cell;
  const int64_t block = k / cellsPerRow;
  // Past this block the cell lies below any strip a 32-bit height can hold;
  // checking first keeps the products below inside 64 bits.
  if (block > INT32_MAX / 3) return cell;
  const int64_t x = (k % cellsPerRow) * int64_t(cellWidth);
  const int64_t y = (3 * block + int64_t(row)) * int64_t(cellHeight);
  if (x + cellWidth > stripWidth || y + cellHeight > stripHeight) return cell;
  cell.valid = true;
  cell.x = int(x);
  cell.y = int(y);
  return cell;
}

StripRow RowForState(bool enabled, bool checked, bool pressedInside) {
  if (!enabled || checked) return StripRow::kCheckedOrDisabled;
  return pressedInside ? StripRow::kPressed : StripRow::kNormal;
}

TabSize TabSizeFor(const TabSize* textExtents, size_t count) {
  int widest = 0, tallest = 0;
  for (size_t i = 0; i < count; ++i) {
    widest = std::max(widest, textExtents[i].width);
    tallest = std::max(tallest, textExtents[i].height);
  }
  return {widest + kTabWidthExtra, tallest + kTabHeightExtra};
}

int LayoutTabs(size_t count, TabSize size, int clientWidth, Box* out) {
  if (count == 0) return 0;
  int rows = 1, x = 0, y = 0;
  for (size_t i = 0; i < count; ++i) {
    if (x > 0 && int64_t(x) + size.width > clientWidth) {
      x = 0;
      y += size.height;
      ++rows;
    }
    out[i] = {x, y, x + size.width, y + size.height};
    x += size.width;
  }
  return rows;
}

Box LabelBox(const Box& tab) {
  return {tab.left + kTabLabelInset, tab.top + kTabLabelInset, tab.right - kTabLabelInset,
          tab.bottom - kTabLabelInset};
}

int TabAt(const Box* tabs, size_t count, int x, int y) {
  for (size_t i = 0; i < count; ++i)
    if (tabs[i].Contains(x, y)) return int(i);
  return -1;
}

int WrapTab(int current, int step, int count) {
  if (count <= 0) return -1;
  const int64_t next = (int64_t(current) + step) % count;
  return int(next < 0 ? next + count : next);
}

TabSize PopupSizeFor(int textWidth, int textHeight) {
  const int around = 2 * (kPopupFrame + kPopupPadding);
  return {std::max(0, textWidth) + around + kPopupShadow,
          std::max(0, textHeight) + around + kPopupShadow};
}

Box PlacePopup(int x, int y, int width, int height, const Box& screen) {
  int64_t left = x, top = y;
  if (left + width > screen.right) left = int64_t(screen.right) - width;
  if (top + height > screen.bottom) top = int64_t(screen.bottom) - height;
  left = std::max<int64_t>(left, screen.left);
  top = std::max<int64_t>(top, screen.top);
  return {int(left), int(top), int(left + width), int(top + height)};
}

}  // namespace quillo::prt
