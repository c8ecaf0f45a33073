// Geometry of the print preview controls, kept apart from the window code:
// bitmap-strip cells, tab sizes and rows, and where the tip popup goes.
// Portable: plain integers in, plain integers out.
#pragma once
#include <cstddef>
#include <cstdint>

namespace quillo::prt {

struct Box {
  int left = 0, top = 0, right = 0, bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
  bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
  bool operator==(const Box&) const = default;
};

// ---- Bitmap-strip cells ----------------------------------------------------

// Rows of a button's three-row block in the strip.
enum class StripRow { kNormal = 0, kPressed = 1, kCheckedOrDisabled = 2 };

// Cell of the button whose ID is base + k:
//   x = (k mod cellsPerRow) * cellWidth
//   y = (3 * (k div cellsPerRow) + row) * cellHeight
// Valid only when k >= 0, the cell sizes and cellsPerRow are positive and the
// whole cell lies inside a strip of stripWidth x stripHeight.
struct StripCell {
  bool valid = false;
  int x = 0, y = 0;
};
StripCell StripCellFor(int64_t k, int cellsPerRow, int cellWidth, int cellHeight, StripRow row,
                       int stripWidth, int stripHeight);

// Which row a button shows: a disabled or checked button the third, a button
// pressed with the pointer inside the second, otherwise the first.
StripRow RowForState(bool enabled, bool checked, bool pressedInside);

// ---- Tabs ------------------------------------------------------------------

constexpr int kTabWidthExtra = 10;   // tab width = widest text + 10
constexpr int kTabHeightExtra = 8;   // tab height = tallest text + 8
constexpr int kTabLabelInset = 3;

struct TabSize {
  int width = 0, height = 0;
};
// Common size of every tab from the text extents (width, height pairs).
TabSize TabSizeFor(const TabSize* textExtents, size_t count);

// Lays count tabs of one size out left to right from (0, 0), starting a new
// row below when the next tab would pass clientWidth (a row always holds at
// least one tab). Writes count boxes to out and returns the number of rows.
int LayoutTabs(size_t count, TabSize size, int clientWidth, Box* out);

// The label area of a tab: its box inset by 3 on every side.
Box LabelBox(const Box& tab);

// Index of the tab whose box holds (x, y), or -1.
int TabAt(const Box* tabs, size_t count, int x, int y);

// current + step wrapped into 0..count-1 (-1 when there are no tabs).
int WrapTab(int current, int step, int count);

// ---- Tip popup -------------------------------------------------------------

constexpr int kPopupFrame = 1;    // black border
constexpr int kPopupPadding = 2;  // between border and text
constexpr int kPopupShadow = 1;   // grey line right and bottom

// Outer size of a popup around text of the given extent.
TabSize PopupSizeFor(int textWidth, int textHeight);

// The popup box at (x, y) of the given size, moved left/up (and then
// right/down) so it lies inside the screen box as far as it fits.
Box PlacePopup(int x, int y, int width, int height, const Box& screen);

}  // namespace quillo::prt
