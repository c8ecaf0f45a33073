// The gradient dialog driven as a user would, and the default gradient
// resource that programs carry.
#include <gtest/gtest.h>

#include <cstring>

#include "contracts/dib_services.h"
#include "gradient.h"
#include "gradient_dialog_ids.h"
#include "win_test_support.h"

using namespace quillo::test;
using namespace quillo::gradient;

namespace {

constexpr UINT kGradientMessage = 2085;

// The test program's own "GRADIENT" resource "Default" in a heap block, as a
// program copies it at start-up.
LPVOID LoadDefaultResource() {
  HRSRC found = FindResourceA(nullptr, "Default", "GRADIENT");
  if (!found) return nullptr;
  const DWORD size = SizeofResource(nullptr, found);
  const void* data = LockResource(LoadResource(nullptr, found));
  void* copy = HeapAlloc(GetProcessHeap(), 0, size);
  std::memcpy(copy, data, size);
  return copy;
}

void Pump(const bool& done) {
  MSG msg;
  const DWORD start = GetTickCount();
  while (!done && GetTickCount() - start < 8000 && GetMessageA(&msg, nullptr, 0, 0)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

TEST(Bxdib3Gradient, DefaultResourceIsTheDefaultTable) {
  LPVOID resource = LoadDefaultResource();
  ASSERT_NE(resource, nullptr);
  const auto expected = Serialize(DefaultGradient());
  uint32_t count;
  std::memcpy(&count, static_cast<BYTE*>(resource) + 36, 4);
  ASSERT_EQ(40u + 96u * count, expected.size());
  EXPECT_EQ(0, std::memcmp(resource, expected.data(), expected.size()));
  BYTE start[3], end[3];
  ASSERT_TRUE(grad_get_color_at(resource, 0, 100, start));  // Rainbow: red to violet
  ASSERT_TRUE(grad_get_color_at(resource, 100, 100, end));
  EXPECT_EQ(start[2], 255);
  EXPECT_EQ(start[0], 0);
  EXPECT_EQ(end[0], 211);
  FreeGradient(resource);
}

TEST(Bxdib3Gradient, OkSendsANewGradient) {
  RecordingHost host;
  ShowWindow(host.window(), SW_SHOW);
  LPVOID current = LoadDefaultResource();
  HWND dialog = nullptr;
  ASSERT_EQ(SetupGradient(host.window(), kGradientMessage, current, &dialog), dialog);
  ASSERT_NE(dialog, nullptr);
  HWND list = GetDlgItem(dialog, IDC_GRADIENT_LIST);
  EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), LRESULT(DefaultGradient().entries.size()));
  // A second call while the dialog is open gives the same window.
  EXPECT_EQ(SetupGradient(host.window(), kGradientMessage, current, &dialog), dialog);

  bool done = false;
  ScriptedUser user;
  user.Then([&] {
        SendMessageA(list, LB_SETCURSEL, 2, 0);
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_GRADIENT_LIST, LBN_SELCHANGE), LPARAM(list));
        return true;
      })
      .WaitTicks(2)
      .Command(&dialog, IDC_GRADIENT_REVERSE)
      .WaitTicks(2)
      .Command(&dialog, IDOK)
      .Then([&] { return dialog == nullptr && (done = true); });
  Pump(done);
  ASSERT_TRUE(done);
  ASSERT_EQ(host.Count(kGradientMessage), 1);
  const auto& m = host.messages().back();
  EXPECT_EQ(m.wParam, 0u);
  auto* result = reinterpret_cast<LPVOID>(m.lParam);
  ASSERT_NE(result, nullptr);
  EXPECT_NE(result, current);
  Gradient got;
  const auto* bytes = static_cast<const uint8_t*>(result);
  ASSERT_TRUE(Parse(bytes, ClaimedSize(bytes), &got));
  EXPECT_EQ(got.selected, 2u);
  GradientEntry reversed = DefaultGradient().entries[2];
  ReverseEntry(&reversed);
  EXPECT_EQ(0, std::memcmp(&got.entries[2], &reversed, sizeof reversed));
  BYTE start[3];
  ASSERT_TRUE(grad_get_color_at(result, 0, 10, start));
  EXPECT_EQ(start[0], reversed.stops[0].blue);
  FreeGradient(result);
  FreeGradient(current);
}

TEST(Bxdib3Gradient, CancelSendsNothingAndClearsTheVariable) {
  RecordingHost host;
  HWND dialog = nullptr;
  // Not a gradient: the dialog starts from the default table.
  const BYTE junk[64] = {9, 9, 9};
  ASSERT_NE(SetupGradient(host.window(), kGradientMessage, const_cast<BYTE*>(junk), &dialog), nullptr);
  EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_GRADIENT_LIST, LB_GETCOUNT, 0, 0),
            LRESULT(DefaultGradient().entries.size()));
  bool done = false;
  ScriptedUser user;
  user.WaitTicks(2).Command(&dialog, IDCANCEL).Then([&] { return dialog == nullptr && (done = true); });
  Pump(done);
  EXPECT_TRUE(done);
  EXPECT_EQ(host.Count(kGradientMessage), 0);
}

}  // namespace
