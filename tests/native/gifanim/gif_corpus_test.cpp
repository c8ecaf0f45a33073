// Runs the decoder over the outside GIF corpus and compares every image
// block with the independent reference dump (reference.txt): screen size,
// and per block its rectangle, disposal, delay, transparent index and the
// CRC-32 of its own colour indices. Files where the two decoders reach
// different verdicts are listed below with the rule that decides them.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "gifanim/gif_decode.h"

namespace {

uint32_t Crc32(const std::vector<uint8_t>& v) {
  static uint32_t table[256];
  if (table[1] == 0) {
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      table[i] = c;
    }
  }
  uint32_t crc = 0xFFFFFFFFu;
  for (uint8_t b : v) crc = table[(crc ^ b) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

std::vector<uint8_t> ReadFile(const std::filesystem::path& p) {
  std::ifstream f(p, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), {});
}

// The whole image's indices, rows top to bottom, undelivered pixels 0: what
// the reference's CRC covers.
std::vector<uint8_t> ImageRows(const gifanim::GifFrame& f) {
  std::vector<uint8_t> rows(static_cast<std::size_t>(f.width) * f.height, 0);
  for (std::size_t i = 0; i < f.indices.size(); ++i) {
    const int n = static_cast<int>(i / f.width);
    rows[static_cast<std::size_t>(gifanim::KeptRow(f, n)) * f.width + i % f.width] = f.indices[i];
  }
  return rows;
}

// Our verdict in the reference's one-line form (after the file name).
std::string Describe(const std::vector<uint8_t>& bytes) {
  gifanim::GifImage img;
  const auto st = gifanim::DecodeGif(bytes.data(), bytes.size(), img, gifanim::GifLimits{},
                                     gifanim::GifKeep::kWholeImage);
  if (st != gifanim::GifStatus::kOk) return "ERROR " + std::to_string(static_cast<int>(st));
  std::ostringstream s;
  s << img.screen_width << 'x' << img.screen_height << ' ' << img.frames.size();
  for (const auto& f : img.frames) {
    char crc[16];
    std::snprintf(crc, sizeof crc, "%08x", Crc32(ImageRows(f)));
    s << ' ' << f.left << ',' << f.top << ',' << f.width << ',' << f.height << ','
      << f.disposal << ',' << f.delay_ms << ',' << f.transparent << ',' << crc;
  }
  return s.str();
}

// Files on which this decoder and the reference rightly disagree.
const std::map<std::string, std::string> kDecidedOtherwise = {
    {"extra-pixels.gif", "more pixels than width x height: decode error"},
    {"pixel-data-too-much-bad-lzw.gif", "more pixels than width x height: decode error"},
    {"pixel-data-too-much-good-lzw.gif", "more pixels than width x height: decode error"},
    {"zero-width-frame.gif", "0x0 image whose codes still deliver pixels: decode error"},
    {"pixel-data-none.gif", "too few pixels: the rest stays index 0"},
    {"pixel-data-not-enough.gif", "too few pixels: the rest stays index 0"},
    {"image-zero-width.gif", "file ends inside the image data: the load fails"},
    {"issue-101-infinite-empty-loop.gif", "file ends inside the image data: the load fails"},
    {"zero_width.gif", "file ends inside the image data: the load fails"},
    {"issue-96-small-codesize.gif", "no trailer: the load fails"},
};

TEST(GifCorpus, EveryFileMatchesReferenceOrIsExplained) {
  const std::filesystem::path dir = std::filesystem::path(QUILLO_CORPUS_DIR) / "gif";
  std::ifstream ref(dir / "reference.txt");
  ASSERT_TRUE(ref) << "reference.txt missing in " << dir;
  std::map<std::string, std::string> expected;
  for (std::string line; std::getline(ref, line);) {
    const auto sp = line.find(' ');
    if (sp == std::string::npos) continue;
    std::string rest = line.substr(sp + 1);
    if (rest.rfind("ERROR", 0) == 0) rest = "ERROR";
    expected[line.substr(0, sp)] = rest;
  }

  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(dir))
    if (e.path().extension() == ".gif") names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  ASSERT_GE(names.size(), 150u);

  int matched = 0, explained = 0;
  for (const auto& name : names) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(expected.count(name)) << "no reference line";
    std::string ours = Describe(ReadFile(dir / name));
    const std::string detail = ours;
    if (ours.rfind("ERROR", 0) == 0) ours = "ERROR";
    const bool same = ours == expected[name];
    const auto reason = kDecidedOtherwise.find(name);
    if (reason == kDecidedOtherwise.end()) {
      EXPECT_TRUE(same) << "\n ours: " << detail << "\n  ref: " << expected[name];
      matched += same;
    } else {
      EXPECT_FALSE(same) << "listed as differing (" << reason->second << ") but matches";
      explained += !same;
    }
  }
  for (const auto& [name, why] : kDecidedOtherwise)
    EXPECT_TRUE(std::find(names.begin(), names.end(), name) != names.end()) << name;
  std::printf("gif corpus: %zu files, %d match, %d differ by a listed rule\n", names.size(),
              matched, explained);
}

}  // namespace
