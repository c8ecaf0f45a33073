#include "zip_reader.h"

#include <zlib.h>

#include <algorithm>
#include <new>
#include <set>

#include "member_name.h"

namespace quillo::gift {
namespace {

// Deflate turns at most 1032 bytes of output out of one input byte; a
// declared size beyond that cannot be real and is refused before allocating.
constexpr uint64_t kMaxDeflateRatio = 1032;

// The end record that ends the buffer exactly: searched from the back so a
// comment (which may itself hold the signature) is stepped over.
bool FindEndRecord(const uint8_t* data, size_t size, size_t* position) {
  if (size < kEndRecordSize) return false;
  const size_t lowest = size - kEndRecordSize > kMaxCommentSize ? size - kEndRecordSize - kMaxCommentSize : 0;
  for (size_t at = size - kEndRecordSize + 1; at-- > lowest;) {
    if (Read32(data + at) != kEndRecordSignature) continue;
    if (at + kEndRecordSize + Read16(data + at + 20) == size) {
      *position = at;
      return true;
    }
  }
  return false;
}

ZipError ReadCentralEntry(const uint8_t* data, size_t archiveStart, size_t centralEnd, size_t* at,
                          ZipEntry* entry) {
  if (centralEnd - *at < kCentralHeaderSize) return ZipError::kBadDirectory;
  const uint8_t* h = data + *at;
  if (Read32(h) != kCentralHeaderSignature) return ZipError::kBadDirectory;
  const uint16_t flags = Read16(h + 8);
  const size_t nameSize = Read16(h + 28), extraSize = Read16(h + 30), commentSize = Read16(h + 32);
  if (centralEnd - *at - kCentralHeaderSize < nameSize + extraSize + commentSize)
    return ZipError::kBadDirectory;
  if (Read16(h + 34) != 0) return ZipError::kMultiDisk;
  entry->name.assign(reinterpret_cast<const char*>(h + kCentralHeaderSize), nameSize);
  entry->method = Read16(h + 10);
  entry->when.time = Read16(h + 12);
  entry->when.date = Read16(h + 14);
  entry->crc = Read32(h + 16);
  entry->packedSize = Read32(h + 20);
  entry->size = Read32(h + 24);
  entry->centralPosition = *at;
  // Counted in 64 bits: on a 32-bit build start + offset could wrap.
  const uint64_t local = uint64_t(archiveStart) + Read32(h + 42);
  if (local > centralEnd) return ZipError::kBadLocalHeader;
  entry->localPosition = size_t(local);
  if (flags & (kFlagEncrypted | kFlagStrongEncryption)) return ZipError::kEncrypted;
  if (entry->method != kMethodStored && entry->method != kMethodDeflate) return ZipError::kUnsupportedMethod;
  if (!IsSafeMemberName(entry->name)) return ZipError::kBadName;
  *at += kCentralHeaderSize + nameSize + extraSize + commentSize;
  return ZipError::kNone;
}

ZipError CheckLocalHeader(const uint8_t* data, size_t centralPosition, ZipEntry* entry) {
  // Member data lies before the central directory.
  if (entry->localPosition > centralPosition || centralPosition - entry->localPosition < kLocalHeaderSize)
    return ZipError::kBadLocalHeader;
  const uint8_t* h = data + entry->localPosition;
  if (Read32(h) != kLocalHeaderSignature) return ZipError::kBadLocalHeader;
  const uint16_t flags = Read16(h + 6);
  const size_t nameSize = Read16(h + 26), extraSize = Read16(h + 28);
  if (flags & (kFlagEncrypted | kFlagStrongEncryption)) return ZipError::kEncrypted;
  if (Read16(h + 8) != entry->method) return ZipError::kBadLocalHeader;
  // With a data descriptor the local header may leave CRC and sizes zero.
  if (!(flags & kFlagDataDescriptor) &&
      (Read32(h + 14) != entry->crc || Read32(h + 18) != entry->packedSize || Read32(h + 22) != entry->size))
    return ZipError::kBadLocalHeader;
  const size_t room = centralPosition - entry->localPosition - kLocalHeaderSize;
  if (room < nameSize + extraSize) return ZipError::kBadLocalHeader;
  if (nameSize != entry->name.size() ||
      !std::equal(entry->name.begin(), entry->name.end(), h + kLocalHeaderSize))
    return ZipError::kBadLocalHeader;
  entry->dataPosition = entry->localPosition + kLocalHeaderSize + nameSize + extraSize;
  if (entry->packedSize > room - nameSize - extraSize) return ZipError::kOutOfBounds;
  return ZipError::kNone;
}

ZipError InflateMember(const uint8_t* data, const ZipEntry& entry, std::vector<uint8_t>* out) {
  try {
    out->resize(size_t(entry.size));
  } catch (const std::bad_alloc&) {
    return ZipError::kOutOfMemory;
  }
  const uint8_t* packed = data + entry.dataPosition;
  if (entry.method == kMethodStored) {
    std::copy(packed, packed + entry.size, out->begin());
  } else {
    z_stream stream = {};
    if (inflateInit2(&stream, -15) != Z_OK) return ZipError::kOutOfMemory;
    // Sizes are below 4 GiB, so one call's counters hold them.
    stream.next_in = const_cast<Bytef*>(packed);
    stream.avail_in = uInt(entry.packedSize);
    uint8_t none = 0;  // zlib wants an output pointer even for no output
    stream.next_out = entry.size ? out->data() : &none;
    stream.avail_out = uInt(entry.size);
    int status = inflate(&stream, Z_FINISH);
    // An empty member may end its stream without needing any output room.
    const bool whole = status == Z_STREAM_END && stream.total_out == entry.size;
    inflateEnd(&stream);
    if (!whole) return status == Z_MEM_ERROR ? ZipError::kOutOfMemory : ZipError::kBadData;
  }
  if (Crc32Of(out->data(), out->size()) != entry.crc) return ZipError::kBadCrc;
  return ZipError::kNone;
}

}  // namespace

const char* ZipErrorText(ZipError error) {
  switch (error) {
    case ZipError::kNone: return "no error";
    case ZipError::kNoEndRecord: return "no archive found (missing or cut short)";
    case ZipError::kMultiDisk: return "the archive spans several disks";
    case ZipError::kBadDirectory: return "the archive directory is damaged";
    case ZipError::kTooManyMembers: return "the archive holds too many files";
    case ZipError::kBadName: return "a file name in the archive is not a plain file name";
    case ZipError::kDuplicateName: return "the archive holds two files of the same name";
    case ZipError::kEncrypted: return "the archive is encrypted";
    case ZipError::kUnsupportedMethod: return "the archive uses an unknown compression method";
    case ZipError::kBadLocalHeader: return "a file header in the archive is damaged";
    case ZipError::kOutOfBounds: return "a file in the archive is cut short";
    case ZipError::kOverlap: return "files in the archive overlap";
    case ZipError::kTooLarge: return "a file in the archive is too large";
    case ZipError::kBadData: return "the compressed data is damaged";
    case ZipError::kBadCrc: return "a file in the archive fails its checksum";
    case ZipError::kOutOfMemory: return "not enough memory";
  }
  return "unknown error";
}

ZipError ReadZipDirectory(const uint8_t* data, size_t size, const ZipLimits& limits,
                          ZipDirectory* directory) {
  *directory = ZipDirectory();
  size_t end = 0;
  if (!data || !FindEndRecord(data, size, &end)) return ZipError::kNoEndRecord;
  const uint8_t* e = data + end;
  if (Read16(e + 4) != 0 || Read16(e + 6) != 0 || Read16(e + 8) != Read16(e + 10)) return ZipError::kMultiDisk;
  const size_t count = Read16(e + 10);
  const uint64_t centralSize = Read32(e + 12), centralOffset = Read32(e + 16);
  if (centralSize + centralOffset > end) return ZipError::kBadDirectory;
  const size_t start = size_t(end - centralSize - centralOffset);
  const size_t central = start + size_t(centralOffset);
  if (count > limits.maxMembers) return ZipError::kTooManyMembers;
  if (count * kCentralHeaderSize > centralSize) return ZipError::kBadDirectory;
  directory->archiveStart = start;
  directory->centralPosition = central;
  directory->endRecordPosition = end;

  std::vector<ZipEntry>& entries = directory->entries;
  entries.reserve(count);
  uint64_t total = 0;
  std::set<std::string> keys;
  size_t at = central;
  for (size_t i = 0; i < count; ++i) {
    ZipEntry entry;
    if (ZipError error = ReadCentralEntry(data, start, end, &at, &entry); error != ZipError::kNone)
      return error;
    if (at > end) return ZipError::kBadDirectory;
    if (!keys.insert(MemberNameKey(entry.name)).second) return ZipError::kDuplicateName;
    if (ZipError error = CheckLocalHeader(data, central, &entry); error != ZipError::kNone) return error;
    if (entry.method == kMethodStored && entry.packedSize != entry.size) return ZipError::kBadLocalHeader;
    if (entry.size > limits.maxMemberSize ||
        (entry.method == kMethodDeflate && entry.size > entry.packedSize * kMaxDeflateRatio + 16))
      return ZipError::kTooLarge;
    total += entry.size;
    if (total > limits.maxTotalSize) return ZipError::kTooLarge;
    entries.push_back(std::move(entry));
  }
  if (at != end) return ZipError::kBadDirectory;

  // No two members may share bytes (a classic way to inflate one small
  // archive into many large files).
  std::vector<const ZipEntry*> order;
  for (const ZipEntry& entry : entries) order.push_back(&entry);
  std::sort(order.begin(), order.end(),
            [](const ZipEntry* a, const ZipEntry* b) { return a->localPosition < b->localPosition; });
  for (size_t i = 1; i < order.size(); ++i)
    if (order[i - 1]->dataPosition + order[i - 1]->packedSize > order[i]->localPosition)
      return ZipError::kOverlap;
  return ZipError::kNone;
}

ZipError ReadZip(const uint8_t* data, size_t size, const ZipLimits& limits, std::vector<ZipMember>* members) {
  members->clear();
  ZipDirectory directory;
  if (ZipError error = ReadZipDirectory(data, size, limits, &directory); error != ZipError::kNone) return error;
  std::vector<ZipMember> read;
  try {
    read.resize(directory.entries.size());
  } catch (const std::bad_alloc&) {
    return ZipError::kOutOfMemory;
  }
  for (size_t i = 0; i < directory.entries.size(); ++i) {
    const ZipEntry& entry = directory.entries[i];
    read[i].name = entry.name;
    read[i].when = entry.when;
    if (ZipError error = InflateMember(data, entry, &read[i].bytes); error != ZipError::kNone) return error;
  }
  *members = std::move(read);
  return ZipError::kNone;
}

}  // namespace quillo::gift
