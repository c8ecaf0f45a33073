// GDI print jobs on the printer DC that the "device" entry of the [windows]
// profile section names, as the studio and its print preview get it: the
// session's test printer (printer_fixture.sh) is Wine's PostScript driver,
// and each job it prints arrives as a numbered PostScript file in
// PRINTER_STATE/jobs. The pages of the two jobs here are handed over to the
// native page check (check_printed_pages.sh), which renders them with
// Ghostscript and looks for the rectangles at their places.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "printer_profile.h"

using namespace quillo::test;

namespace {

// Where the pages are drawn, in printer units; the page check has the same
// numbers from CMakeLists.txt.
constexpr int kPageWidth = PAGE_WIDTH, kPageHeight = PAGE_HEIGHT, kResolution = PRINTER_DPI;
constexpr RECT kFirstRect = {FIRST_JOB_RECT};
constexpr int kFirstColour[] = {FIRST_JOB_COLOUR};
constexpr RECT kSecondRect = {SECOND_JOB_RECT};
constexpr int kSecondColour[] = {SECOND_JOB_COLOUR};
constexpr RECT kTextBand = {TEXT_BAND};
constexpr int kTextHeight = 100;

const std::string kPrinterName = PRINTER_NAME;

struct DeviceEntry {
  std::string name, driver, port;
};

// "name,driver,port"; nothing when a part is missing or empty.
std::optional<DeviceEntry> ParseDevice(const std::string& entry) {
  size_t first = entry.find(',');
  if (first == std::string::npos) return std::nullopt;
  size_t second = entry.find(',', first + 1);
  if (second == std::string::npos) return std::nullopt;
  DeviceEntry d{entry.substr(0, first), entry.substr(first + 1, second - first - 1), entry.substr(second + 1)};
  if (d.name.empty() || d.driver.empty() || d.port.empty()) return std::nullopt;
  return d;
}

HDC CreatePrinterDc(const DeviceEntry& d) {
  return CreateDCA(d.driver.c_str(), d.name.c_str(), d.port.c_str(), nullptr);
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::vector<std::string> NewJobs(const std::vector<std::string>& before) {
  std::vector<std::string> added;
  for (const auto& name : JobFiles())
    if (std::find(before.begin(), before.end(), name) == before.end()) added.push_back(name);
  return added;
}

size_t Count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// A one-page PostScript document of Wine's driver with this title.
void ExpectOnePagePostScript(const std::string& ps, const std::string& title) {
  EXPECT_EQ(ps.rfind("%!PS-Adobe-3.0", 0), 0u) << ps.substr(0, 40);
  EXPECT_NE(ps.find("\n%%Title: " + title + "\n"), std::string::npos);
  EXPECT_EQ(Count(ps, "\n%%Page: "), 1u);
  EXPECT_NE(ps.find("\n%%Pages: 1\n"), std::string::npos);
  EXPECT_NE(ps.find("showpage"), std::string::npos);
  EXPECT_NE(ps.find("\n%%EOF"), std::string::npos);
}

// Prints one page: the rectangle filled with the colour and a line of text
// at the top-left of the text band. Returns false at the first failing step.
bool PrintPage(HDC dc, const char* title, const RECT& rect, const int colour[3], const char* text,
               const char* output = nullptr) {
  DOCINFOA info = {sizeof info, title, output, nullptr, 0};
  if (StartDocA(dc, &info) <= 0) return false;
  if (StartPage(dc) <= 0) {
    AbortDoc(dc);
    return false;
  }
  HBRUSH brush = CreateSolidBrush(RGB(colour[0], colour[1], colour[2]));
  FillRect(dc, &rect, brush);
  DeleteObject(brush);
  HFONT font = CreateFontA(-kTextHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS, "Tahoma");
  HGDIOBJ old = SelectObject(dc, font);
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkMode(dc, TRANSPARENT);
  SIZE extent = {};
  GetTextExtentPoint32A(dc, text, lstrlenA(text), &extent);
  TextOutA(dc, kTextBand.left, kTextBand.top, text, lstrlenA(text));
  SelectObject(dc, old);
  DeleteObject(font);
  // The page check looks for the text inside the band only.
  EXPECT_LE(kTextBand.left + extent.cx, kTextBand.right) << text;
  EXPECT_LE(kTextBand.top + extent.cy, kTextBand.bottom) << text;
  if (EndPage(dc) <= 0) {
    AbortDoc(dc);
    return false;
  }
  return EndDoc(dc) > 0;
}

class PrinterDc : public ::testing::Test {
 protected:
  void SetUp() override {
    auto device = ParseDevice(ProfileDevice());
    ASSERT_TRUE(device) << "device entry \"" << ProfileDevice() << "\" (the printer fixture sets it)";
    dc_ = CreatePrinterDc(*device);
    ASSERT_NE(dc_, nullptr) << "CreateDC failed, error " << GetLastError();
  }
  void TearDown() override {
    if (dc_) DeleteDC(dc_);
  }
  HDC dc_ = nullptr;
};

TEST(DeviceEntry, NamesTheSessionPrinterOnWinePostScript) {
  auto device = ParseDevice(ProfileDevice());
  ASSERT_TRUE(device) << ProfileDevice();
  EXPECT_EQ(device->name, kPrinterName);
  EXPECT_STRCASEEQ(device->driver.c_str(), "WINEPS.DRV");
  EXPECT_FALSE(device->port.empty());
}

TEST_F(PrinterDc, HasTheLetterPageAtThreeHundredDpi) {
  EXPECT_EQ(GetDeviceCaps(dc_, TECHNOLOGY), DT_RASPRINTER);
  EXPECT_EQ(GetDeviceCaps(dc_, PHYSICALWIDTH), kPageWidth);
  EXPECT_EQ(GetDeviceCaps(dc_, PHYSICALHEIGHT), kPageHeight);
  EXPECT_EQ(GetDeviceCaps(dc_, LOGPIXELSX), kResolution);
  EXPECT_EQ(GetDeviceCaps(dc_, LOGPIXELSY), kResolution);
  // All of the page is printable, so printer units are page units and one
  // unit is one pixel of a rendering at the printer's resolution.
  EXPECT_EQ(GetDeviceCaps(dc_, PHYSICALOFFSETX), 0);
  EXPECT_EQ(GetDeviceCaps(dc_, PHYSICALOFFSETY), 0);
  EXPECT_EQ(GetDeviceCaps(dc_, HORZRES), kPageWidth);
  EXPECT_EQ(GetDeviceCaps(dc_, VERTRES), kPageHeight);
}

TEST_F(PrinterDc, EachJobArrivesAsItsOwnPostScriptFile) {
  const std::string pages = PRINTED_PAGES;
  CreateDirectoryA(pages.c_str(), nullptr);
  // No page of an earlier run may reach the page check.
  DeleteFileA((pages + "/first_job.ps").c_str());
  DeleteFileA((pages + "/second_job.ps").c_str());

  auto before = JobFiles();
  ASSERT_TRUE(PrintPage(dc_, "Quillo print check 1", kFirstRect, kFirstColour, "Quillo first job"))
      << "error " << GetLastError();
  // The spooler has handed the job over when EndDoc returns.
  auto first = NewJobs(before);
  ASSERT_EQ(first.size(), 1u) << "jobs in " << JobFolder() << ": " << JobFiles().size();
  const std::string firstPath = JobFolder() + "/" + first[0];
  const std::string firstJob = ReadAll(firstPath);
  ExpectOnePagePostScript(firstJob, "Quillo print check 1");

  ASSERT_TRUE(PrintPage(dc_, "Quillo print check 2", kSecondRect, kSecondColour, "Quillo second job"))
      << "error " << GetLastError();
  auto second = NewJobs(before);
  ASSERT_EQ(second.size(), 2u);
  EXPECT_EQ(second[0], first[0]);
  const std::string secondPath = JobFolder() + "/" + second[1];
  const std::string secondJob = ReadAll(secondPath);
  ExpectOnePagePostScript(secondJob, "Quillo print check 2");
  // The second job left the first one as it was.
  EXPECT_EQ(ReadAll(firstPath), firstJob);
  EXPECT_EQ(secondJob.find("Quillo print check 1"), std::string::npos);

  ASSERT_TRUE(CopyFileA(firstPath.c_str(), (pages + "/first_job.ps").c_str(), FALSE));
  ASSERT_TRUE(CopyFileA(secondPath.c_str(), (pages + "/second_job.ps").c_str(), FALSE));
}

TEST_F(PrinterDc, OutputFileOfTheDocumentTakesTheJobInsteadOfThePort) {
  const std::string output = std::string(PRINTER_STATE) + "/document_output.ps";
  DeleteFileA(output.c_str());
  auto before = JobFiles();
  ASSERT_TRUE(PrintPage(dc_, "Quillo print to file", kFirstRect, kFirstColour, "Quillo to a file", output.c_str()))
      << "error " << GetLastError();
  ASSERT_TRUE(Exists(output));
  ExpectOnePagePostScript(ReadAll(output), "Quillo print to file");
  EXPECT_TRUE(NewJobs(before).empty());
  DeleteFileA(output.c_str());
}

TEST(NoPrinter, UnknownPrinterNameGivesNoDc) {
  auto device = ParseDevice(ProfileDevice());
  ASSERT_TRUE(device);
  device->name = "No Such Printer";
  HDC dc = CreatePrinterDc(*device);
  EXPECT_EQ(dc, nullptr);
  if (dc) DeleteDC(dc);
}

TEST(NoPrinter, WithoutTheDeviceEntryTheDefaultIsIncompleteAndThereIsNoDc) {
  std::string saved;
  {
    DeviceEntryChange removed(nullptr);
    saved = removed.saved();
    ASSERT_TRUE(ParseDevice(saved)) << saved;
    EXPECT_EQ(ProfileDevice(), ",,,");
    EXPECT_FALSE(ParseDevice(ProfileDevice()));
    // What a caller that skips the check would pass on: three empty parts.
    HDC dc = CreateDCA("", "", "", nullptr);
    EXPECT_EQ(dc, nullptr);
    if (dc) DeleteDC(dc);
  }
  EXPECT_EQ(ProfileDevice(), saved);
  auto device = ParseDevice(ProfileDevice());
  ASSERT_TRUE(device);
  HDC dc = CreatePrinterDc(*device);
  EXPECT_NE(dc, nullptr);
  if (dc) DeleteDC(dc);
}

TEST(NoPrinter, AnEmptyDeviceEntryIsIncompleteAndThereIsNoDc) {
  std::string saved;
  {
    DeviceEntryChange emptied("");
    saved = emptied.saved();
    EXPECT_EQ(ProfileDevice(), "");
    EXPECT_FALSE(ParseDevice(ProfileDevice()));
    HDC dc = CreateDCA(nullptr, "", nullptr, nullptr);
    EXPECT_EQ(dc, nullptr);
    if (dc) DeleteDC(dc);
  }
  EXPECT_EQ(ProfileDevice(), saved);
}

}  // namespace
