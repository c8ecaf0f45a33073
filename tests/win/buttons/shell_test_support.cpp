#include "shell_test_support.h"

#include <map>

#include "app/shell/app_state.h"
#include "app/shell/document_window.h"
#include "app/shell/thumbnail_layout.h"
#include "app/shell/win/thumbnail_pane.h"
#include "contracts/dib_services.h"

namespace quillo {

// The document record as these tests need it: one current slot and the mask
// display mode.
struct DocumentRecord {
  UndoSlot slot;
  int maskMode = 1;
};

AppState g_app;

namespace {
std::map<HWND, DocumentRecord*> g_documents;
constexpr int kStatusHeight = 20;

LRESULT CALLBACK DocumentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCDESTROY) {
    auto found = g_documents.find(window);
    if (found != g_documents.end()) {
      DestroyDIB(HGLOBAL(found->second->slot.image));
      if (found->second->slot.displayCopy) DestroyDIB(HGLOBAL(found->second->slot.displayCopy));
      delete found->second;
      g_documents.erase(found);
    }
  }
  return DefMDIChildProcA(window, message, wParam, lParam);
}
}  // namespace

const char* LoadResString(UINT id) {
  static char buffer[500];
  wsprintfA(buffer, "help %u", id);
  return buffer;
}
void RefreshToolButtons() {}

void LayoutFrame() {
  if (!g_app.frame) return;
  RECT client;
  GetClientRect(g_app.frame, &client);
  const FrameLayout f = LayoutFrame(client.right, client.bottom, kStatusHeight,
                                    g_app.thumbnailFlag && ThumbnailPaneVisible());
  MoveWindow(g_app.mdiClient, f.mdiClient.left, f.mdiClient.top, f.mdiClient.right - f.mdiClient.left,
             f.mdiClient.bottom - f.mdiClient.top, TRUE);
  if (g_app.thumbnailFlag)
    PlaceThumbnailPane(f.pane.left, f.pane.top, f.pane.right - f.pane.left, f.pane.bottom - f.pane.top,
                       f.header.bottom - f.header.top);
}

DocumentRecord* RecordOf(HWND window) {
  auto found = g_documents.find(window);
  return found == g_documents.end() ? nullptr : found->second;
}
HWND ActiveDocument() {
  return g_app.mdiClient ? HWND(SendMessageA(g_app.mdiClient, WM_MDIGETACTIVE, 0, 0)) : nullptr;
}
UndoSlot* CurrentSlot(HWND document) {
  DocumentRecord* r = RecordOf(document);
  return r ? &r->slot : nullptr;
}
int MaskDisplayMode(HWND document) {
  DocumentRecord* r = RecordOf(document);
  return r ? r->maskMode : 0;
}

namespace test {

TestFrame::TestFrame() {
  static bool registered = false;
  if (!registered) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = HBRUSH(COLOR_BTNFACE + 1);
    wc.lpszClassName = "ButtonsTestFrame";
    RegisterClassA(&wc);
    wc.lpfnWndProc = DocumentProc;
    wc.lpszClassName = "bxViewChild";
    wc.hbrBackground = HBRUSH(COLOR_WINDOW + 1);
    RegisterClassA(&wc);
    registered = true;
  }
  frame_ = CreateWindowExA(0, "ButtonsTestFrame", "frame", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE,
                           10, 10, 640, 480, nullptr, nullptr, GetModuleHandleA(nullptr), this);
  g_app.frame = frame_;
  g_app.instance = GetModuleHandleA(nullptr);
  CLIENTCREATESTRUCT ccs{nullptr, 0xE000};
  client_ = CreateWindowExA(0, "MDICLIENT", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                            0, kButtonBarHeight, 640, 300, frame_, nullptr, GetModuleHandleA(nullptr), &ccs);
  g_app.mdiClient = client_;
  LayoutFrame();
}

TestFrame::~TestFrame() {
  DestroyThumbnailPane();
  DestroyWindow(frame_);
  g_app.frame = nullptr;
  g_app.mdiClient = nullptr;
  PumpMessages();
}

LRESULT CALLBACK TestFrame::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<TestFrame*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  HWND client = self ? self->client_ : nullptr;
  switch (message) {
    case WM_NCCREATE:
      SetWindowLongPtrA(window, GWLP_USERDATA,
                        LONG_PTR(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
      break;
    case WM_MEASUREITEM:
      if (OnThumbnailMeasureItem(window, reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) return TRUE;
      break;
    case WM_DRAWITEM:
      if (OnThumbnailDrawItem(window, reinterpret_cast<DRAWITEMSTRUCT*>(lParam))) return TRUE;
      break;
    case WM_COMMAND:
      if (self) self->commands_.push_back(wParam);
      if (LOWORD(wParam) == kThumbnailListId) OnThumbnailCommand(wParam, lParam);
      return 0;
    case WM_SIZE:
      return 0;
  }
  return DefFrameProcA(window, client, message, wParam, lParam);
}

HWND OpenStubDocument(HGLOBAL image, HGLOBAL displayCopy, int maskMode) {
  auto* record = new DocumentRecord;
  record->slot.image = uintptr_t(image);
  record->slot.displayCopy = uintptr_t(displayCopy);
  record->maskMode = maskMode;
  MDICREATESTRUCTA mcs{};
  mcs.szClass = "bxViewChild";
  mcs.szTitle = "doc";
  mcs.hOwner = GetModuleHandleA(nullptr);
  mcs.x = mcs.y = mcs.cx = mcs.cy = CW_USEDEFAULT;
  HWND document = HWND(SendMessageA(g_app.mdiClient, WM_MDICREATE, 0, LPARAM(&mcs)));
  if (!document) {
    delete record;
    return nullptr;
  }
  g_documents[document] = record;
  return document;
}

void PumpMessages() {
  MSG msg;
  for (int round = 0; round < 3; ++round) {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(5);
  }
}

HBITMAP MakeStrip(int width, int height, const std::vector<COLORREF>& colours) {
  HDC screen = GetDC(nullptr);
  HBITMAP strip = CreateCompatibleBitmap(screen, width, height * int(colours.size()));
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(dc, strip);
  for (size_t i = 0; i < colours.size(); ++i) {
    HBRUSH brush = CreateSolidBrush(colours[i]);
    RECT r{0, int(i) * height, width, int(i + 1) * height};
    FillRect(dc, &r, brush);
    DeleteObject(brush);
  }
  SelectObject(dc, old);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return strip;
}

Snapshot::Snapshot(int width, int height, COLORREF background, const std::function<void(HDC)>& draw)
    : width_(width), height_(height) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP section = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, section);
  HBRUSH brush = CreateSolidBrush(background);
  RECT all{0, 0, width, height};
  FillRect(dc, &all, brush);
  DeleteObject(brush);
  draw(dc);
  GdiFlush();
  pixels_.assign(static_cast<DWORD*>(bits), static_cast<DWORD*>(bits) + size_t(width) * height);
  SelectObject(dc, old);
  DeleteObject(section);
  DeleteDC(dc);
}

Snapshot::Snapshot(HWND window, COLORREF background)
    : Snapshot(
          [&] {
            RECT r;
            GetClientRect(window, &r);
            return int(r.right);
          }(),
          [&] {
            RECT r;
            GetClientRect(window, &r);
            return int(r.bottom);
          }(),
          background, [&](HDC dc) { SendMessageA(window, WM_PRINTCLIENT, WPARAM(dc), PRF_CLIENT); }) {}

COLORREF Snapshot::At(int x, int y) const {
  const DWORD p = pixels_[size_t(y) * width_ + x];
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

int Snapshot::Count(COLORREF colour, int top, int bottom) const {
  int n = 0;
  for (int y = top < 0 ? 0 : top; y < bottom && y < height_; ++y)
    for (int x = 0; x < width_; ++x) n += At(x, y) == colour;
  return n;
}

}  // namespace test
}  // namespace quillo
