// The preview library's exported helpers: the pane mapping with its
// matching screen font, rulers, the focus rectangle, the magnifying glass,
// fonts, the printer DC of the profile and the page label.
#include <cstdlib>
#include <cstring>
#include <string>

#include "controls_internal.h"
#include "preview_internal.h"

#include <commdlg.h>

using namespace quillo::prt;

namespace {

PreviewState* StateOfPane(HWND window) { return window ? PV_STATE_OF(window) : nullptr; }

bool IsPreviewFrame(HWND window) {
  char name[64] = {};
  if (!window || !GetClassNameA(window, name, sizeof name)) return false;
  return std::strcmp(name, BXPRT3_PREVIEW_CLASS) == 0 || std::strcmp(name, BXPRT3_MDI_PREVIEW_CLASS) == 0;
}

void ApplyMapping(HDC dc, const PageMapping& m) {
  SetMapMode(dc, MM_ANISOTROPIC);
  SetWindowOrgEx(dc, m.windowOrigin.x, m.windowOrigin.y, nullptr);
  SetWindowExtEx(dc, m.windowExtent.width, m.windowExtent.height, nullptr);
  SetViewportOrgEx(dc, m.viewportOrigin.x, m.viewportOrigin.y, nullptr);
  SetViewportExtEx(dc, m.viewportExtent.width, m.viewportExtent.height, nullptr);
}

// The page square the glass shows, in page units.
Box GlassPageWindow(const PreviewState& s) {
  const Point onPage = PaneToPage(MappingOf(s, 0), s.glassCentre);
  return MagnifierPageWindow(onPage, s.page, s.zoom.magnifierLevel, s.magnifierSize);
}

// A screen font as large on the mapped DC as the preview font is on the
// printer: its printer height and average width (times `scale`), in page
// units. When the realised height is off by more than 2 units, a font of the
// same pitch and family without a face name takes its place.
HFONT MatchingScreenFont(PreviewState& s, HDC dc, int scale) {
  HFONT chosen = s.font ? s.font
                        : static_cast<HFONT>(GetStockObject(s.printer ? DEVICE_DEFAULT_FONT : SYSTEM_FONT));
  if (s.screenFont && s.screenFontFor == chosen && s.screenFontScale == scale) return s.screenFont;
  LOGFONTA logical = {};
  GetObjectA(chosen, sizeof logical, &logical);
  TEXTMETRICA metrics = {};
  HDC measure = s.printer ? s.printer : s.screenDC;
  HGDIOBJ old = SelectObject(measure, chosen);
  GetTextMetricsA(measure, &metrics);
  SelectObject(measure, old);
  LOGFONTA wanted = logical;
  wanted.lfHeight = metrics.tmHeight * scale;
  wanted.lfWidth = metrics.tmAveCharWidth * scale;
  wanted.lfOutPrecision = OUT_TT_PRECIS;
  HFONT font = CreateFontIndirectA(&wanted);
  if (font) {
    HGDIOBJ previous = SelectObject(dc, font);
    TEXTMETRICA realised = {};
    GetTextMetricsA(dc, &realised);
    SelectObject(dc, previous);
    if (std::abs(realised.tmHeight - wanted.lfHeight) > 2) {
      DeleteObject(font);
      wanted.lfFaceName[0] = 0;
      wanted.lfPitchAndFamily = BYTE(metrics.tmPitchAndFamily & 0xF0) |
                                BYTE((metrics.tmPitchAndFamily & TMPF_FIXED_PITCH) ? VARIABLE_PITCH : FIXED_PITCH);
      font = CreateFontIndirectA(&wanted);
    }
  }
  if (!font) return nullptr;
  if (s.screenFont) {
    // The old match may still sit in the glass DC.
    if (s.memoryDC) SelectObject(s.memoryDC, GetStockObject(SYSTEM_FONT));
    DeleteObject(s.screenFont);
  }
  s.screenFont = font;
  s.screenFontFor = chosen;
  s.screenFontScale = scale;
  return font;
}

}  // namespace

extern "C" {

void PVPreviewMapMode(HWND pane, PreviewState* state, HDC dc) {
  if (!state || !dc) return;
  PreviewState& s = *state;
  const int index = std::max(0, PaneIndex(pane));
  const bool glass = index == 0 && s.mode == ViewMode::kMagnifier && s.glassUp && dc == s.memoryDC;
  if (glass)
    ApplyMapping(dc, MagnifierMapping(GlassPageWindow(s), s.magnifierSize));
  else
    ApplyMapping(dc, MappingOf(s, index));
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkColor(dc, RGB(255, 255, 255));
  SetBkMode(dc, TRANSPARENT);
  if (HFONT font = MatchingScreenFont(s, dc, glass ? s.zoom.magnifierLevel : 1)) SelectObject(dc, font);
}

void PVPaintMeter(HWND pane, HDC dc, PreviewState* state) {
  if (!state || !dc || !pane) return;
  const PreviewState& s = *state;
  const int index = std::max(0, PaneIndex(pane));
  const PageMapping m = MappingOf(s, index);
  const Size client = ClientSize(pane);
  const int oldRop = SetROP2(dc, R2_NOT);
  HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
  HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  const bool labels = index != 0;
  for (const RulerTick& t : RulerTicks(m, true, s.page.width, s.resolution.width, client.width)) {
    MoveToEx(dc, t.pixel, 0, nullptr);
    LineTo(dc, t.pixel, kRulerTickLength);
    if (labels && t.inch > 0) {
      const std::string text = std::to_string(t.inch);
      TextOutA(dc, t.pixel + 2, kRulerLabelInset, text.c_str(), int(text.size()));
    }
  }
  for (const RulerTick& t : RulerTicks(m, false, s.page.height, s.resolution.height, client.height)) {
    MoveToEx(dc, 0, t.pixel, nullptr);
    LineTo(dc, kRulerTickLength, t.pixel);
    if (labels && t.inch > 0) {
      const std::string text = std::to_string(t.inch);
      TextOutA(dc, kRulerLabelInset, t.pixel + 2, text.c_str(), int(text.size()));
    }
  }
  SelectObject(dc, oldFont);
  SelectObject(dc, oldPen);
  SetROP2(dc, oldRop);
}

void PVPaintFocusRegion(PreviewState* state, HDC dc) {
  if (!state || !dc || state->mode != ViewMode::kTwoPanes || !state->panes[0]) return;
  const Box r = DetailRect(state->focusOrigin, ClientSize(state->panes[0]), state->zoom.detailZoom);
  const int oldRop = SetROP2(dc, R2_NOT);
  HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
  HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(HOLLOW_BRUSH));
  Rectangle(dc, r.left, r.top, r.right, r.bottom);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  SetROP2(dc, oldRop);
}

void PVPaintMagnifier(HWND pane, PreviewState* state, HDC dc) {
  if (!state || !dc || PaneIndex(pane) != 0) return;
  PreviewState& s = *state;
  if (s.mode != ViewMode::kMagnifier || !s.glassUp || !s.memoryDC) return;
  const RECT glass = {0, 0, s.magnifierSize, s.magnifierSize};
  FillRect(s.memoryDC, &glass, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  const int saved = SaveDC(s.memoryDC);
  PVPreviewMapMode(pane, &s, s.memoryDC);
  if (s.palette) {
    SelectPalette(s.memoryDC, s.palette, FALSE);
    RealizePalette(s.memoryDC);
  }
  CallPaintHook(s, s.memoryDC, s.currentPage);
  RestoreDC(s.memoryDC, saved);
  const Box b = MagnifierSquare(s.glassCentre, ClientSize(pane), s.magnifierSize);
  BitBlt(dc, b.left, b.top, b.width(), b.height(), s.memoryDC, 0, 0, SRCCOPY);
  HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
  HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(HOLLOW_BRUSH));
  Rectangle(dc, b.left, b.top, b.right, b.bottom);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
}

void PVSelectFont(HWND pane, HFONT font) {
  PreviewState* s = StateOfPane(pane);
  if (!s) return;
  if (s->printing && s->printer) {
    SelectObject(s->printer, font ? font : GetStockObject(DEVICE_DEFAULT_FONT));
  } else {
    s->font = font;
    InvalidatePanes(*s);
  }
}

HFONT PVGetFont(HWND window, HFONT font, BOOL printerFonts, COLORREF* colour) {
  LOGFONTA logical = {};
  if (font) GetObjectA(font, sizeof logical, &logical);
  HDC dc = nullptr;
  bool ownDC = false, releaseDC = false;
  if (IsPreviewFrame(window) && StateOfPane(window)) {
    PreviewState* s = StateOfPane(window);
    dc = s->printer ? s->printer : s->screenDC;
  } else if ((dc = GetPrinterDC()) != nullptr) {
    ownDC = true;
  } else if (window) {
    dc = GetDC(window);
    releaseDC = dc != nullptr;
  }
  CHOOSEFONTA choose = {};
  choose.lStructSize = sizeof choose;
  choose.hwndOwner = window;
  choose.hDC = dc;
  choose.lpLogFont = &logical;
  choose.Flags = (printerFonts && dc ? CF_PRINTERFONTS : CF_SCREENFONTS) | CF_EFFECTS |
                 (font ? CF_INITTOLOGFONTSTRUCT : 0);
  choose.rgbColors = colour ? *colour : RGB(0, 0, 0);
  HFONT made = nullptr;
  if (ChooseFontA(&choose)) {
    made = CreateFontIndirectA(&logical);
    if (colour) *colour = choose.rgbColors;
  }
  if (ownDC) DeleteDC(dc);
  if (releaseDC) ReleaseDC(window, dc);
  return made;
}

LPARAM PVGetExtra(HWND window) {
  PreviewState* s = StateOfPane(window);
  return s ? s->extra : 0;
}

HDC GetPrinterDC(void) {
  char entry[512] = {};
  GetProfileStringA("windows", "device", ",,,", entry, sizeof entry);
  // device,driver,port: all three must be there.
  char* device = entry;
  char* driver = std::strchr(device, ',');
  if (!driver) return nullptr;
  *driver++ = 0;
  char* port = std::strchr(driver, ',');
  if (!port) return nullptr;
  *port++ = 0;
  if (char* more = std::strchr(port, ',')) *more = 0;
  if (!*device || !*driver || !*port) return nullptr;
  return CreateDCA(driver, device, port, nullptr);
}

void ShowPage(PreviewState* state) {
  if (!state || !state->pageLabel) return;
  SetWindowTextA(state->pageLabel, PageLabel(state->currentPage, state->pageCount).c_str());
}

void TouchBEXAPRT(void) {}

}  // extern "C"
