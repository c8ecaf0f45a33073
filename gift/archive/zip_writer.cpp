#include "zip_writer.h"

#include <zlib.h>

#include <algorithm>
#include <new>

#include "member_name.h"

namespace quillo::gift {
namespace {

// zlib counts in 32-bit units on Windows; large buffers go in pieces.
constexpr size_t kZlibChunk = size_t(1) << 30;

}  // namespace

DosDateTime DosDateTimeOf(int year, int month, int day, int hour, int minute, int second) {
  year = std::clamp(year, 1980, 2107);
  month = std::clamp(month, 1, 12);
  day = std::clamp(day, 1, 31);
  hour = std::clamp(hour, 0, 23);
  minute = std::clamp(minute, 0, 59);
  second = std::clamp(second, 0, 59);
  DosDateTime stamp;
  stamp.date = uint16_t((year - 1980) << 9 | month << 5 | day);
  stamp.time = uint16_t(hour << 11 | minute << 5 | second / 2);
  return stamp;
}

uint32_t Crc32Of(const uint8_t* data, size_t size) {
  uLong crc = crc32(0L, Z_NULL, 0);
  while (size > 0) {
    const size_t piece = std::min(size, kZlibChunk);
    crc = crc32(crc, data, uInt(piece));
    data += piece;
    size -= piece;
  }
  return uint32_t(crc);
}

std::optional<std::vector<uint8_t>> DeflateRaw(const uint8_t* data, size_t size) {
  z_stream stream = {};
  // windowBits -15: raw deflate, as zip members hold it.
  if (deflateInit2(&stream, 9, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY) != Z_OK) return std::nullopt;
  std::vector<uint8_t> out;
  uint8_t buffer[1 << 16];
  int status = Z_OK;
  size_t left = size;
  stream.next_in = const_cast<Bytef*>(data);
  while (status == Z_OK) {
    if (stream.avail_in == 0 && left > 0) {
      const size_t piece = std::min(left, kZlibChunk);
      stream.avail_in = uInt(piece);
      left -= piece;
    }
    stream.next_out = buffer;
    stream.avail_out = sizeof buffer;
    status = deflate(&stream, left == 0 ? Z_FINISH : Z_NO_FLUSH);
    if (status == Z_BUF_ERROR) status = Z_OK;  // no progress possible yet; feed more
    out.insert(out.end(), buffer, buffer + (sizeof buffer - stream.avail_out));
  }
  deflateEnd(&stream);
  if (status != Z_STREAM_END) return std::nullopt;
  return out;
}

uint64_t ZipWriter::FinishedSizeWith(size_t nameSize, uint64_t packedSize) const {
  return uint64_t(bytes_.size()) + kLocalHeaderSize + nameSize + packedSize + centralSize_ +
         kCentralHeaderSize + nameSize + kEndRecordSize;
}

ZipAddResult ZipWriter::Add(std::string_view name, const uint8_t* data, size_t size, DosDateTime when) {
  if (!IsSafeMemberName(name)) return ZipAddResult::kBadName;
  if (keys_.count(MemberNameKey(name))) return ZipAddResult::kDuplicate;
  if (entries_.size() >= kMaxMembers) return ZipAddResult::kTooMany;
  // 0xFFFFFFFF itself marks a zip64 field, so sizes stay below it.
  if (uint64_t(size) >= kMaxField32 || FinishedSizeWith(name.size(), size) >= kMaxField32)
    return ZipAddResult::kTooLarge;

  std::optional<std::vector<uint8_t>> packed;
  try {
    packed = size ? DeflateRaw(data, size) : std::vector<uint8_t>();
  } catch (const std::bad_alloc&) {
  }
  if (!packed) return ZipAddResult::kDeflateFailed;
  const bool stored = packed->size() >= size;
  const uint8_t* body = stored ? data : packed->data();
  const size_t bodySize = stored ? size : packed->size();

  Entry entry{std::string(name), stored ? kMethodStored : kMethodDeflate, when,
              Crc32Of(data, size), uint32_t(bodySize), uint32_t(size), uint32_t(bytes_.size())};
  try {
    // Everything below then appends without allocating, so a failure leaves
    // the archive as it was.
    const size_t needed = bytes_.size() + kLocalHeaderSize + name.size() + bodySize;
    if (needed > bytes_.capacity()) bytes_.reserve(std::max(needed, bytes_.capacity() * 2));
    if (entries_.size() == entries_.capacity()) entries_.reserve(entries_.size() * 2 + 16);
  } catch (const std::bad_alloc&) {
    return ZipAddResult::kDeflateFailed;
  }
  Put32(bytes_, kLocalHeaderSignature);
  Put16(bytes_, kVersionNeeded);
  Put16(bytes_, 0);  // flags
  Put16(bytes_, entry.method);
  Put16(bytes_, when.time);
  Put16(bytes_, when.date);
  Put32(bytes_, entry.crc);
  Put32(bytes_, entry.packedSize);
  Put32(bytes_, entry.size);
  Put16(bytes_, uint16_t(name.size()));
  Put16(bytes_, 0);  // extra field
  bytes_.insert(bytes_.end(), name.begin(), name.end());
  bytes_.insert(bytes_.end(), body, body + bodySize);
  entries_.push_back(std::move(entry));
  keys_.insert(MemberNameKey(name));
  centralSize_ += kCentralHeaderSize + name.size();
  return ZipAddResult::kAdded;
}

std::vector<uint8_t> ZipWriter::Finish() {
  std::vector<uint8_t> out = std::move(bytes_);
  const uint32_t centralOffset = uint32_t(out.size());
  for (const Entry& e : entries_) {
    Put32(out, kCentralHeaderSignature);
    Put16(out, kVersionNeeded);  // made by: MS-DOS attributes, version 2.0
    Put16(out, kVersionNeeded);
    Put16(out, 0);  // flags
    Put16(out, e.method);
    Put16(out, e.when.time);
    Put16(out, e.when.date);
    Put32(out, e.crc);
    Put32(out, e.packedSize);
    Put32(out, e.size);
    Put16(out, uint16_t(e.name.size()));
    Put16(out, 0);  // extra field
    Put16(out, 0);  // comment
    Put16(out, 0);  // disk
    Put16(out, 0);  // internal attributes
    Put32(out, 0x20);  // external attributes: FILE_ATTRIBUTE_ARCHIVE
    Put32(out, e.offset);
    out.insert(out.end(), e.name.begin(), e.name.end());
  }
  const uint32_t centralSize = uint32_t(out.size() - centralOffset);
  Put32(out, kEndRecordSignature);
  Put16(out, 0);  // this disk
  Put16(out, 0);  // disk of the central directory
  Put16(out, uint16_t(entries_.size()));
  Put16(out, uint16_t(entries_.size()));
  Put32(out, centralSize);
  Put32(out, centralOffset);
  Put16(out, 0);  // comment
  entries_.clear();
  keys_.clear();
  centralSize_ = 0;
  bytes_.clear();
  return out;
}

}  // namespace quillo::gift
