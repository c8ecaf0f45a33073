// What the writer makes: read back by our reader, by Python's zipfile and by
// unzip, with the right compression choice per member; what it refuses.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include "gift/archive/zip_reader.h"
#include "gift/archive/zip_writer.h"
#include "zip_test_tools.h"

namespace quillo::gift {
namespace {

using test::Bytes;
using test::BytesOf;

const DosDateTime kWhen = DosDateTimeOf(2003, 5, 17, 14, 3, 9);

Bytes Noise(size_t size, unsigned seed) {
  std::mt19937 random(seed);
  Bytes bytes(size);
  for (uint8_t& b : bytes) b = uint8_t(random());
  return bytes;
}

Bytes Text(size_t size) {
  Bytes bytes;
  while (bytes.size() < size) {
    const std::string line = "The frame on screen when the user accepts becomes the result. ";
    bytes.insert(bytes.end(), line.begin(), line.end());
  }
  bytes.resize(size);
  return bytes;
}

struct Sample {
  std::string name;
  Bytes bytes;
};

std::vector<Sample> Samples() {
  return {{"_Gift.exe", Text(70000)}, {"empty.txt", {}}, {"noise.bin", Noise(5000, 7)},
          {"one.txt", BytesOf("x")}, {"_Gift.SSD", Bytes(292, 0)}};
}

Bytes WriteSamples() {
  ZipWriter writer;
  for (const Sample& s : Samples()) EXPECT_EQ(writer.Add(s.name, s.bytes, kWhen), ZipAddResult::kAdded) << s.name;
  return writer.Finish();
}

TEST(ZipRoundTrip, MembersComeBackWithNamesBytesAndTimes) {
  const Bytes zip = WriteSamples();
  std::vector<ZipMember> members;
  ASSERT_EQ(ReadZip(zip.data(), zip.size(), ZipLimits(), &members), ZipError::kNone);
  const std::vector<Sample> samples = Samples();
  ASSERT_EQ(members.size(), samples.size());
  for (size_t i = 0; i < samples.size(); ++i) {
    EXPECT_EQ(members[i].name, samples[i].name);
    EXPECT_EQ(members[i].bytes, samples[i].bytes) << samples[i].name;
    EXPECT_EQ(members[i].when.date, kWhen.date);
    EXPECT_EQ(members[i].when.time, kWhen.time);
  }
  // Text shrinks under deflate; noise and tiny members are kept stored.
  ZipDirectory directory;
  ASSERT_EQ(ReadZipDirectory(zip.data(), zip.size(), ZipLimits(), &directory), ZipError::kNone);
  EXPECT_EQ(directory.entries[0].method, kMethodDeflate);
  EXPECT_LT(directory.entries[0].packedSize, 2000u);
  EXPECT_EQ(directory.entries[1].method, kMethodStored);
  EXPECT_EQ(directory.entries[2].method, kMethodStored);
  EXPECT_EQ(directory.entries[2].packedSize, 5000u);
  EXPECT_EQ(directory.entries[3].method, kMethodStored);
}

TEST(ZipRoundTrip, DosTimeStampFieldsAndClamping) {
  const DosDateTime t = DosDateTimeOf(2003, 5, 17, 14, 3, 9);
  EXPECT_EQ(t.date, (23 << 9) | (5 << 5) | 17);
  EXPECT_EQ(t.time, (14 << 11) | (3 << 5) | 4);
  EXPECT_EQ(DosDateTimeOf(1970, 0, 0, -1, 99, 99).date, (0 << 9) | (1 << 5) | 1);
  EXPECT_EQ(DosDateTimeOf(2200, 13, 40, 30, 0, 0).date, (127 << 9) | (12 << 5) | 31);
}

TEST(ZipWriterRefuses, NamesThatAreNotPlainFileNames) {
  ZipWriter writer;
  const uint8_t byte = 1;
  for (const char* name : {"", "..\\x", "../x", "a\\b", "a/b", "/abs", "C:x", "..", "x..y", "nul", "NUL.txt",
                           "com1.dat", "Lpt9", "aux", "end.", "end ", "a?b", "a*b", "a|b", "tab\tname"})
    EXPECT_EQ(writer.Add(name, &byte, 1, kWhen), ZipAddResult::kBadName) << name;
  for (const char* name : {"_Eff01234.EXE", "com10.txt", "console.txt", "a.b.c", ".hidden", "(1).bexa"})
    EXPECT_EQ(writer.Add(name, &byte, 1, kWhen), ZipAddResult::kAdded) << name;
  EXPECT_EQ(writer.Add(std::string(256, 'a'), &byte, 1, kWhen), ZipAddResult::kBadName);
}

TEST(ZipWriterRefuses, DuplicatesIgnoringCaseAndTheMemberAfter65535) {
  ZipWriter writer;
  EXPECT_EQ(writer.Add("Readme.TXT", {}, kWhen), ZipAddResult::kAdded);
  EXPECT_EQ(writer.Add("readme.txt", {}, kWhen), ZipAddResult::kDuplicate);
  for (int i = 1; i < 65535; ++i)
    ASSERT_EQ(writer.Add("m" + std::to_string(i), {}, kWhen), ZipAddResult::kAdded) << i;
  EXPECT_EQ(writer.Add("one-too-many", {}, kWhen), ZipAddResult::kTooMany);
  const Bytes zip = writer.Finish();
  ZipDirectory directory;
  ASSERT_EQ(ReadZipDirectory(zip.data(), zip.size(), ZipLimits(), &directory), ZipError::kNone);
  EXPECT_EQ(directory.entries.size(), 65535u);
}

TEST(ZipWriterRefuses, SizesOf4GiBWithoutReadingThem) {
  if constexpr (sizeof(size_t) > 4) {
    ZipWriter writer;
    const uint8_t byte = 0;
    // The size is refused before the bytes are touched (there is only one).
    EXPECT_EQ(writer.Add("big.bin", &byte, size_t(0xFFFFFFFFu), kWhen), ZipAddResult::kTooLarge);
    EXPECT_EQ(writer.Add("big.bin", &byte, size_t(1) << 33, kWhen), ZipAddResult::kTooLarge);
    EXPECT_EQ(writer.count(), 0u);
  }
}

#ifndef _WIN32
// Outside zip tools agree with us, both ways. They run only natively.
class ZipOutsideTools : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("quillo-gift-zip-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }
  std::string Save(const std::string& name, const Bytes& bytes) {
    const std::string path = (folder_ / name).string();
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return path;
  }
  std::filesystem::path folder_;
};

TEST_F(ZipOutsideTools, PythonAndUnzipAcceptWhatWeWrite) {
  const std::string path = Save("gift.zip", WriteSamples());
  // Python checks every CRC and compares the bytes with ours.
  std::string check = "import zipfile,sys\n"
                      "z=zipfile.ZipFile(sys.argv[1])\n"
                      "assert z.testzip() is None\n"
                      "assert [i.filename for i in z.infolist()]==['_Gift.exe','empty.txt','noise.bin','one.txt','_Gift.SSD']\n"
                      "assert z.read('one.txt')==b'x' and len(z.read('_Gift.exe'))==70000\n"
                      "assert z.getinfo('one.txt').date_time==(2003,5,17,14,3,8)\n";
  const std::string script = Save("check.py", BytesOf(check));
  EXPECT_EQ(std::system(("python3 " + script + " " + path).c_str()), 0);
  EXPECT_EQ(std::system(("unzip -tqq " + path).c_str()), 0);
}

TEST_F(ZipOutsideTools, WeReadWhatPythonWrites) {
  const std::string path = (folder_ / "py.zip").string();
  const std::string make = "import zipfile,sys\n"
                           "with zipfile.ZipFile(sys.argv[1],'w',zipfile.ZIP_DEFLATED) as z:\n"
                           "  z.writestr('a.txt','hello '*1000)\n"
                           "  z.writestr(zipfile.ZipInfo('b.bin'),bytes(range(256)))\n"
                           "  z.comment=b'PK\\x05\\x06 a comment that looks like an end record'\n";
  const std::string script = Save("make.py", BytesOf(make));
  ASSERT_EQ(std::system(("python3 " + script + " " + path).c_str()), 0);
  std::ifstream in(path, std::ios::binary);
  const Bytes zip((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<ZipMember> members;
  ASSERT_EQ(ReadZip(zip.data(), zip.size(), ZipLimits(), &members), ZipError::kNone);
  ASSERT_EQ(members.size(), 2u);
  EXPECT_EQ(members[0].bytes.size(), 6000u);
  EXPECT_EQ(members[1].bytes[255], 255);
}
#endif

}  // namespace
}  // namespace quillo::gift
