// Archives made to hurt the receiver: each is refused as a whole, before any
// member is handed out, and nothing in them makes the reader go out of
// bounds or allocate what they declare.
#include <gtest/gtest.h>

#include "gift/archive/zip_reader.h"
#include "gift/archive/zip_writer.h"
#include "zip_test_tools.h"

namespace quillo::gift {
namespace {

using namespace test;

ZipError Read(const Bytes& zip) {
  std::vector<ZipMember> members;
  const ZipError error = ReadZip(zip.data(), zip.size(), ZipLimits(), &members);
  if (error != ZipError::kNone) {
    EXPECT_TRUE(members.empty());
  }
  return error;
}

Bytes Good() {
  ZipWriter writer;
  const DosDateTime when;
  writer.Add("aa_x.txt", BytesOf(std::string(3000, 'a')), when);  // deflated
  writer.Add("bb_y.txt", BytesOf("short"), when);                 // stored
  return writer.Finish();
}

TEST(ZipHostile, NamesReachingOutsideTheFolder) {
  for (const char* name : {"..\\x.txt", "../x.txt", "/abs.txt", "\\ab.txt", "C:x.txtt", "a/b.txtt", "nul.txtt",
                           "a\x01.txtt"}) {
    Bytes zip = Good();
    const std::string evil = std::string(name).substr(0, 8);
    ASSERT_EQ(ReplaceAll(zip, "bb_y.txt", evil), 2);
    EXPECT_EQ(Read(zip), ZipError::kBadName) << evil;
  }
  // A local header that names another file than its directory entry.
  Bytes zip = Good();
  const size_t local = Find(zip, kLocalHeaderSignature)[1];
  zip[local + kLocalHeaderSize] = '.';
  EXPECT_EQ(Read(zip), ZipError::kBadLocalHeader);
}

TEST(ZipHostile, DuplicateNamesIgnoringCase) {
  Bytes zip = Good();
  ReplaceAll(zip, "bb_y.txt", "AA_X.TXT");
  EXPECT_EQ(Read(zip), ZipError::kDuplicateName);
}

TEST(ZipHostile, BadCrcAndDamagedData) {
  Bytes zip = Good();
  for (size_t at : Find(zip, kLocalHeaderSignature)) zip[at + 14] ^= 1;
  for (size_t at : Find(zip, kCentralHeaderSignature)) zip[at + 16] ^= 1;
  EXPECT_EQ(Read(zip), ZipError::kBadCrc);

  // Only one copy of the CRC changed: headers disagree.
  zip = Good();
  zip[Find(zip, kCentralHeaderSignature)[1] + 16] ^= 1;
  EXPECT_EQ(Read(zip), ZipError::kBadLocalHeader);

  // The deflate stream of the first member damaged.
  zip = Good();
  zip[kLocalHeaderSize + 8 + 3] ^= 0x55;
  const ZipError error = Read(zip);
  EXPECT_TRUE(error == ZipError::kBadData || error == ZipError::kBadCrc) << ZipErrorText(error);
}

TEST(ZipHostile, EveryTruncationIsRefused) {
  const Bytes zip = Good();
  for (size_t size = 0; size < zip.size(); ++size) {
    const Bytes cut(zip.begin(), zip.begin() + size);
    EXPECT_NE(Read(cut), ZipError::kNone) << size;
  }
  EXPECT_EQ(Read(zip), ZipError::kNone);
}

TEST(ZipHostile, HugeDeclaredSizesAreRefusedBeforeAllocating) {
  // 2 GiB declared for a stored member: beyond the member limit.
  Bytes zip = Good();
  for (size_t at : Find(zip, kLocalHeaderSignature)) Write32(zip.data() + at + 22, 0x7FFFFFFF);
  for (size_t at : Find(zip, kCentralHeaderSignature)) Write32(zip.data() + at + 24, 0x7FFFFFFF);
  EXPECT_EQ(Read(zip), ZipError::kTooLarge);

  // 200 MiB from 20 bytes of deflate: more than deflate can produce.
  RawMember bomb = Stored("bomb.bin", std::string(20, '\0'));
  bomb.method = kMethodDeflate;
  bomb.size = 200u << 20;
  EXPECT_EQ(Read(RawZip({bomb})), ZipError::kTooLarge);

  // Each member within the limit, the total beyond it.
  ZipLimits tight;
  tight.maxMemberSize = 3000;
  tight.maxTotalSize = 3004;
  std::vector<ZipMember> members;
  zip = Good();
  EXPECT_EQ(ReadZip(zip.data(), zip.size(), tight, &members), ZipError::kTooLarge);
  tight.maxTotalSize = 3005;
  EXPECT_EQ(ReadZip(zip.data(), zip.size(), tight, &members), ZipError::kNone);

  // A stored member whose sizes disagree, and a declared size the data
  // does not fill.
  RawMember lying = Stored("lying.txt", "abc");
  lying.size = 4;
  EXPECT_EQ(Read(RawZip({lying})), ZipError::kBadLocalHeader);
  ZipWriter writer;
  writer.Add("big.txt", BytesOf(std::string(5000, 'z')), DosDateTime());
  zip = writer.Finish();
  Write32(zip.data() + 22, 5001);
  Write32(zip.data() + Find(zip, kCentralHeaderSignature)[0] + 24, 5001);
  EXPECT_EQ(Read(zip), ZipError::kBadData);
}

TEST(ZipHostile, OverlappingAndMisplacedMembers) {
  // Member "b" lives inside the data of member "a": one set of bytes unpacked
  // twice.
  Bytes inner;
  AppendLocal(inner, Stored("b.txt", "hello"));
  RawMember outer{"a.txt", inner};
  outer.crc = Crc32Of(inner.data(), inner.size());
  outer.size = uint32_t(inner.size());
  Bytes zip;
  AppendLocal(zip, outer);
  const uint32_t central = uint32_t(zip.size());
  AppendCentral(zip, outer, 0);
  AppendCentral(zip, Stored("b.txt", "hello"), uint32_t(kLocalHeaderSize + 5));
  AppendEnd(zip, 2, uint32_t(zip.size() - central), central);
  EXPECT_EQ(Read(zip), ZipError::kOverlap);

  // Two entries on the same local header.
  zip.clear();
  const RawMember one = Stored("c.txt", "data");
  AppendLocal(zip, one);
  const uint32_t centralOfOne = uint32_t(zip.size());
  AppendCentral(zip, one, 0);
  AppendCentral(zip, one, 0);
  AppendEnd(zip, 2, uint32_t(zip.size() - centralOfOne), centralOfOne);
  EXPECT_EQ(Read(zip), ZipError::kDuplicateName);

  // Data running into the central directory.
  RawMember longer = Stored("d.txt", "1234");
  zip = RawZip({longer});
  Write32(zip.data() + 18, 40);
  Write32(zip.data() + 22, 40);
  Write32(zip.data() + Find(zip, kCentralHeaderSignature)[0] + 20, 40);
  Write32(zip.data() + Find(zip, kCentralHeaderSignature)[0] + 24, 40);
  EXPECT_EQ(Read(zip), ZipError::kOutOfBounds);

  // A local offset pointing past the central directory.
  zip = RawZip({longer});
  Write32(zip.data() + Find(zip, kCentralHeaderSignature)[0] + 42, 0xFFFFFFF0u);
  EXPECT_EQ(Read(zip), ZipError::kBadLocalHeader);
}

TEST(ZipHostile, EncryptionUnknownMethodsAndBadDirectories) {
  RawMember locked = Stored("locked.txt", "secret");
  locked.flags = kFlagEncrypted;
  EXPECT_EQ(Read(RawZip({locked})), ZipError::kEncrypted);
  RawMember bzip = Stored("bz.txt", "data");
  bzip.method = 12;
  EXPECT_EQ(Read(RawZip({bzip})), ZipError::kUnsupportedMethod);

  Bytes zip = Good();
  const size_t end = Find(zip, kEndRecordSignature).back();
  Bytes wrong = zip;
  Write16(wrong.data() + end + 8, 3);  // more entries than the directory holds
  Write16(wrong.data() + end + 10, 3);
  EXPECT_NE(Read(wrong), ZipError::kNone);
  wrong = zip;
  Write32(wrong.data() + end + 12, 0xFFFFFF00u);  // directory larger than the file
  EXPECT_EQ(Read(wrong), ZipError::kBadDirectory);
  wrong = zip;
  Write16(wrong.data() + end + 4, 1);  // second disk of a set
  EXPECT_EQ(Read(wrong), ZipError::kMultiDisk);
  EXPECT_EQ(Read(BytesOf("not an archive at all, no end record here")), ZipError::kNoEndRecord);
  EXPECT_EQ(Read(Bytes()), ZipError::kNoEndRecord);
}

TEST(ZipPlacement, ArchiveAfterOtherBytesAndBehindAComment) {
  // Offsets relative to the archive's own start, behind 1000 bytes of
  // program, with a comment that holds an end record signature.
  const Bytes zip = RawZip({Stored("a.txt", "alpha"), Stored("b.txt", "beta")}, "PK\x05\x06-not-the-end");
  Bytes file(1000 + zip.size(), 0x90);
  std::copy(zip.begin(), zip.end(), file.begin() + 1000);
  std::vector<ZipMember> members;
  ASSERT_EQ(ReadZip(file.data(), file.size(), ZipLimits(), &members), ZipError::kNone);
  ASSERT_EQ(members.size(), 2u);
  EXPECT_EQ(members[1].bytes, BytesOf("beta"));
  ZipDirectory directory;
  ASSERT_EQ(ReadZipDirectory(file.data(), file.size(), ZipLimits(), &directory), ZipError::kNone);
  EXPECT_EQ(directory.archiveStart, 1000u);
}

}  // namespace
}  // namespace quillo::gift
