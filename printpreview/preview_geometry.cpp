#include "preview_geometry.h"

#include <algorithm>
#include <cstdio>

namespace quillo::prt {
namespace {

int32_t Clamp32(int64_t v) { return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

// a / b rounded to nearest, halves away from zero, for b > 0.
int64_t DivRound(int64_t a, int64_t b) { return a >= 0 ? (a + b / 2) / b : -((-a + b / 2) / b); }

int64_t AtLeast1(int64_t v) { return std::max<int64_t>(v, 1); }

// One axis of a mapping: to + (v - from) * toExtent / fromExtent. The
// difference spans at most 33 bits and the extent 31, so the product fits.
int32_t MapAxis(int32_t v, int32_t from, int32_t fromExtent, int32_t to, int32_t toExtent) {
  return Clamp32(to + DivRound((int64_t(v) - from) * AtLeast1(toExtent), AtLeast1(fromExtent)));
}

// Start of a span of `size` at `start`, moved to lie inside 0..limit (the
// start edge wins when it does not fit).
int64_t KeepInside(int64_t start, int64_t size, int64_t limit) {
  if (start + size > limit) start = limit - size;
  return std::max<int64_t>(start, 0);
}

Box MakeBox(int64_t left, int64_t top, int64_t right, int64_t bottom) {
  return {Clamp32(left), Clamp32(top), Clamp32(right), Clamp32(bottom)};
}

Box NormalisedBox(const Box& b) {
  return {std::min(b.left, b.right), std::min(b.top, b.bottom), std::max(b.left, b.right),
          std::max(b.top, b.bottom)};
}

int32_t WrapLevel(int64_t level) {
  const int64_t r = (level - 1) % kMaxMagnifierLevel;
  return int32_t((r < 0 ? r + kMaxMagnifierLevel : r) + 1);
}

}  // namespace

Size PageSizeWithoutPrinter(int32_t screenWidth, int32_t screenHeight) {
  auto keep = [](int64_t v) { return int32_t(std::clamp<int64_t>(v, 0, INT32_MAX)); };
  return {keep(int64_t(screenWidth) * 5 / 2), keep(int64_t(screenHeight) * 5)};
}

Size PrinterPageSize(Size physical, Size printable) {
  return physical.width > 0 && physical.height > 0 ? physical : printable;
}

ReducedPage ReducePage(Size page, Size pane) {
  const int64_t paneWidth = AtLeast1(pane.width), paneHeight = AtLeast1(pane.height);
  int64_t d = 1;
  while (paneWidth * 2 * d < page.width && paneHeight * 2 * d < page.height) d *= 2;
  return {int32_t(d), {int32_t(page.width / d), int32_t(page.height / d)}};
}

ZoomButtons ZoomButtonsFor(ViewMode mode, const ZoomState& s, const ZoomLimits& limits) {
  switch (mode) {
    case ViewMode::kOnePage: {
      const int64_t widest =
          AtLeast1(std::max(limits.reducedPage.width, limits.reducedPage.height));
      return {int64_t(s.zoom) * widest <= kZoomPaneLimit, s.zoom > 0};
    }
    case ViewMode::kTwoPanes: {
      const int64_t widest = AtLeast1(std::max(limits.detailPane.width, limits.detailPane.height));
      const bool in = AtLeast1(s.detailZoom) * widest < kDetailPaneLimit;
      return {in, s.detailZoom > 1};
    }
    case ViewMode::kMagnifier:
      break;
  }
  return {true, true};
}

ZoomState ZoomIn(ViewMode mode, const ZoomState& state, const ZoomLimits& limits) {
  ZoomState s = state;
  if (!ZoomButtonsFor(mode, state, limits).zoomIn) return s;
  switch (mode) {
    case ViewMode::kOnePage:
      s.zoom = s.zoom <= 0 ? 1 : s.zoom * 2;
      break;
    case ViewMode::kTwoPanes:
      s.detailZoom = int32_t(AtLeast1(s.detailZoom) * 2);
      break;
    case ViewMode::kMagnifier:
      s.magnifierLevel = WrapLevel(int64_t(s.magnifierLevel) + 1);
      break;
  }
  return s;
}

ZoomState ZoomOut(ViewMode mode, const ZoomState& state, const ZoomLimits& limits) {
  ZoomState s = state;
  if (!ZoomButtonsFor(mode, state, limits).zoomOut) return s;
  switch (mode) {
    case ViewMode::kOnePage:
      s.zoom /= 2;
      break;
    case ViewMode::kTwoPanes:
      s.detailZoom /= 2;
      break;
    case ViewMode::kMagnifier:
      s.magnifierLevel = WrapLevel(int64_t(s.magnifierLevel) - 1);
      break;
  }
  return s;
}

Box FitPage(const Box& area, Size page) {
  const int64_t aw = std::max(0, area.width()), ah = std::max(0, area.height());
  if (page.width <= 0 || page.height <= 0)
    return MakeBox(area.left, area.top, area.left + aw, area.top + ah);
  int64_t w = aw, h = ah;
  if (aw * page.height >= ah * page.width)
    w = DivRound(ah * page.width, page.height);  // the area is wider: full height
  else
    h = DivRound(aw * page.height, page.width);
  const int64_t left = area.left + (aw - w) / 2, top = area.top + (ah - h) / 2;
  return MakeBox(left, top, left + w, top + h);
}

PreviewLayout LayoutPreview(Size client, int toolBarHeight, int border, ViewMode mode, Size page) {
  PreviewLayout out;
  const int64_t cw = std::max(0, client.width), ch = std::max(0, client.height);
  const int64_t bar = std::clamp<int64_t>(toolBarHeight, 0, ch), b = std::max(0, border);
  out.toolBar = MakeBox(0, 0, cw, bar);
  const int64_t left = std::min(b, cw), top = std::min(bar + b, ch);
  out.area = MakeBox(left, top, std::max(left, cw - b), std::max(top, ch - b));
  if (mode == ViewMode::kTwoPanes) {
    const int64_t half = std::max<int64_t>(0, (int64_t(out.area.width()) - b) / 2);
    out.pagePane =
        FitPage(MakeBox(out.area.left, out.area.top, out.area.left + half, out.area.bottom), page);
    out.detailPane = FitPage(
        MakeBox(out.area.right - half, out.area.top, out.area.right, out.area.bottom), page);
  } else {
    out.pagePane = FitPage(out.area, page);
  }
  return out;
}

Point PageToPane(const PageMapping& m, Point page) {
  return {MapAxis(page.x, m.windowOrigin.x, m.windowExtent.width, m.viewportOrigin.x,
                  m.viewportExtent.width),
          MapAxis(page.y, m.windowOrigin.y, m.windowExtent.height, m.viewportOrigin.y,
                  m.viewportExtent.height)};
}

Point PaneToPage(const PageMapping& m, Point pane) {
  return {MapAxis(pane.x, m.viewportOrigin.x, m.viewportExtent.width, m.windowOrigin.x,
                  m.windowExtent.width),
          MapAxis(pane.y, m.viewportOrigin.y, m.viewportExtent.height, m.windowOrigin.y,
                  m.windowExtent.height)};
}

PageMapping PagePaneMapping(Size page, Size client) {
  PageMapping m;
  m.windowExtent = {int32_t(AtLeast1(page.width)), int32_t(AtLeast1(page.height))};
  m.viewportExtent = {int32_t(AtLeast1(client.width)), int32_t(AtLeast1(client.height))};
  return m;
}

PageMapping DetailPaneMapping(Size page, Size pagePaneClient, Point focusOrigin, int32_t detailZoom,
                              Size detailClient) {
  const int64_t zoom = AtLeast1(detailZoom);
  PageMapping m;
  m.windowOrigin = PaneToPage(PagePaneMapping(page, pagePaneClient), focusOrigin);
  m.windowExtent = {int32_t(AtLeast1(page.width / zoom)), int32_t(AtLeast1(page.height / zoom))};
  m.viewportExtent = {int32_t(AtLeast1(detailClient.width)),
                      int32_t(AtLeast1(detailClient.height))};
  return m;
}

PageMapping ZoomPaneMapping(Size page, Size reducedPage, int32_t zoom, Point scrollPosition) {
  const int64_t z = AtLeast1(zoom);
  auto extent = [z](int32_t v) { return int32_t(std::clamp<int64_t>(v * z, 1, INT32_MAX)); };
  PageMapping m;
  m.windowExtent = {int32_t(AtLeast1(page.width)), int32_t(AtLeast1(page.height))};
  m.viewportOrigin = {Clamp32(-int64_t(scrollPosition.x)), Clamp32(-int64_t(scrollPosition.y))};
  m.viewportExtent = {extent(reducedPage.width), extent(reducedPage.height)};
  return m;
}

PageMapping MagnifierMapping(const Box& pageWindow, int32_t magnifierSize) {
  PageMapping m;
  m.windowOrigin = {pageWindow.left, pageWindow.top};
  m.windowExtent = {
      int32_t(std::clamp<int64_t>(int64_t(pageWindow.right) - pageWindow.left, 1, INT32_MAX)),
      int32_t(std::clamp<int64_t>(int64_t(pageWindow.bottom) - pageWindow.top, 1, INT32_MAX))};
  m.viewportExtent = {int32_t(AtLeast1(magnifierSize)), int32_t(AtLeast1(magnifierSize))};
  return m;
}

Box CentredSquareInside(Point centre, int32_t size, Size bounds) {
  const int64_t s = std::max(0, size);
  const int64_t left = KeepInside(int64_t(centre.x) - s / 2, s, bounds.width);
  const int64_t top = KeepInside(int64_t(centre.y) - s / 2, s, bounds.height);
  return MakeBox(left, top, left + s, top + s);
}

Box MagnifierPageWindow(Point cursorOnPage, Size page, int32_t level, int32_t size) {
  const int32_t side =
      int32_t(AtLeast1(std::max(0, size) / std::clamp(level, 1, kMaxMagnifierLevel)));
  return CentredSquareInside(cursorOnPage, side, page);
}

Box DetailRect(Point focusOrigin, Size pageClient, int32_t detailZoom) {
  const int64_t zoom = AtLeast1(detailZoom);
  return MakeBox(focusOrigin.x, focusOrigin.y, focusOrigin.x + AtLeast1(pageClient.width / zoom),
                 focusOrigin.y + AtLeast1(pageClient.height / zoom));
}

Point DragFocusOrigin(Point originAtPress, Point press, Point pointer, Size pageClient,
                      int32_t detailZoom) {
  const Box r = DetailRect({0, 0}, pageClient, detailZoom);
  const int64_t x = int64_t(originAtPress.x) + pointer.x - press.x;
  const int64_t y = int64_t(originAtPress.y) + pointer.y - press.y;
  return {int32_t(KeepInside(x, r.right, pageClient.width)),
          int32_t(KeepInside(y, r.bottom, pageClient.height))};
}

Box InvalidationOnPage(const Box& pageRect, Size page) {
  const Box n = NormalisedBox(pageRect);
  const int w = std::max(0, page.width), h = std::max(0, page.height);
  return {std::clamp(n.left, 0, w), std::clamp(n.top, 0, h), std::clamp(n.right, 0, w),
          std::clamp(n.bottom, 0, h)};
}

Box GrowForPen(const Box& paneRect, int32_t penWidth) {
  const Box n = NormalisedBox(paneRect);
  const int64_t w = std::max(0, penWidth);
  return MakeBox(n.left - (2 * w + 1), n.top - (2 * w + 1), n.right + (2 * w + 2),
                 n.bottom + (2 * w + 2));
}

Box InvalidationOnPane(const Box& pageRect, Size page, const PageMapping& pane, int32_t penWidth) {
  const Box onPage = InvalidationOnPage(pageRect, page);
  const Point a = PageToPane(pane, {onPage.left, onPage.top});
  const Point b = PageToPane(pane, {onPage.right, onPage.bottom});
  return GrowForPen({a.x, a.y, b.x, b.y}, penWidth);
}

int32_t ZoomScrollRange(int32_t reducedExtent, int32_t zoom, int32_t clientExtent) {
  return int32_t(
      std::clamp<int64_t>(int64_t(reducedExtent) * std::max(0, zoom) - clientExtent, 0, INT32_MAX));
}

int32_t ScrollPosition(ScrollStep step, int32_t position, int32_t range, int32_t clientExtent,
                       int32_t thumb) {
  const int64_t line = AtLeast1(clientExtent / 10), page = std::max(0, clientExtent);
  int64_t p = position;
  switch (step) {
    case ScrollStep::kLineBack:
      p -= line;
      break;
    case ScrollStep::kLineForward:
      p += line;
      break;
    case ScrollStep::kPageBack:
      p -= page;
      break;
    case ScrollStep::kPageForward:
      p += page;
      break;
    case ScrollStep::kHome:
      p = 0;
      break;
    case ScrollStep::kEnd:
      p = range;
      break;
    case ScrollStep::kThumb:
      p = thumb;
      break;
  }
  return int32_t(std::clamp<int64_t>(p, 0, std::max(0, range)));
}

bool ScrollsByCopy(int32_t from, int32_t to, int32_t clientExtent, bool rulersShown) {
  const int64_t move = int64_t(to) - from;
  return !rulersShown && (move < 0 ? -move : move) < clientExtent;
}

std::string PageLabel(int32_t page, int32_t pageCount) {
  if (pageCount <= 1) return {};
  char text[32];
  std::snprintf(text, sizeof text, "%d of %d", int(page), int(pageCount));
  return text;
}

std::vector<RulerTick> RulerTicks(const PageMapping& m, bool horizontal, int32_t pageExtent,
                                  int32_t unitsPerInch, int32_t clientExtent) {
  std::vector<RulerTick> ticks;
  if (unitsPerInch <= 0 || pageExtent < 0 || clientExtent < 0) return ticks;
  const int32_t winOrg = horizontal ? m.windowOrigin.x : m.windowOrigin.y;
  const int32_t winExt = horizontal ? m.windowExtent.width : m.windowExtent.height;
  const int32_t vpOrg = horizontal ? m.viewportOrigin.x : m.viewportOrigin.y;
  const int32_t vpExt = horizontal ? m.viewportExtent.width : m.viewportExtent.height;
  // Only the inches the client shows, give or take one for rounding.
  const int64_t from = MapAxis(0, vpOrg, vpExt, winOrg, winExt);
  const int64_t to = MapAxis(clientExtent, vpOrg, vpExt, winOrg, winExt);
  const int64_t first = std::max<int64_t>(0, std::min(from, to) / unitsPerInch - 1);
  const int64_t last =
      std::min<int64_t>(pageExtent / unitsPerInch, std::max(from, to) / unitsPerInch + 1);
  // Inches closer together than a pixel would be drawn over each other; then
  // only every step-th inch gets a tick.
  const int64_t perPixel = int64_t(unitsPerInch) * AtLeast1(vpExt);
  const int64_t step = std::max<int64_t>(1, (AtLeast1(winExt) + perPixel - 1) / perPixel);
  for (int64_t inch = (first + step - 1) / step * step; inch <= last; inch += step) {
    const int32_t pixel = MapAxis(int32_t(inch * unitsPerInch), winOrg, winExt, vpOrg, vpExt);
    if (pixel >= 0 && pixel <= clientExtent) ticks.push_back({int32_t(inch), pixel});
  }
  return ticks;
}

}  // namespace quillo::prt
