#include "catalogue_file.h"

#include <algorithm>
#include <cstring>

namespace quillo {

std::vector<EffectRecord> ReadEffectRecords(const uint8_t* data, size_t size) {
  std::vector<EffectRecord> records;
  if (!data) return records;
  size_t count = size / kEffectRecordSize;
  records.resize(count);
  for (size_t i = 0; i < count; ++i) {
    std::memcpy(&records[i], data + i * kEffectRecordSize, kEffectRecordSize);
    TerminateStrings(records[i]);
  }
  return records;
}

void AppendEffectRecord(std::vector<uint8_t>& bytes, const EffectRecord& record) {
  EffectRecord copy = record;
  copy.listLink = 0;
  const uint8_t* p = reinterpret_cast<const uint8_t*>(&copy);
  bytes.insert(bytes.end(), p, p + kEffectRecordSize);
}

std::vector<uint8_t> WriteEffectRecords(const std::vector<EffectRecord>& records) {
  std::vector<uint8_t> bytes;
  bytes.reserve(records.size() * kEffectRecordSize);
  for (const EffectRecord& r : records) AppendEffectRecord(bytes, r);
  return bytes;
}

bool SameFavourite(const EffectRecord& a, const EffectRecord& b) {
  return a.effectValue == b.effectValue && FunctionName(a) == FunctionName(b) &&
         ModuleName(a) == ModuleName(b);
}

bool RemoveFavourite(std::vector<EffectRecord>& favourites, const EffectRecord& record) {
  auto end = std::remove_if(favourites.begin(), favourites.end(),
                            [&](const EffectRecord& r) { return SameFavourite(r, record); });
  bool removed = end != favourites.end();
  favourites.erase(end, favourites.end());
  return removed;
}

void AddFavourite(std::vector<EffectRecord>& favourites, const EffectRecord& record) {
  EffectRecord copy = record;  // `record` may be an element of `favourites`
  RemoveFavourite(favourites, copy);
  copy.listLink = 0;
  favourites.push_back(copy);
}

std::vector<uint8_t> FavouritesFileWithAdded(const uint8_t* oldData, size_t oldSize,
                                             const EffectRecord& record) {
  std::vector<EffectRecord> favourites = ReadEffectRecords(oldData, oldSize);
  AddFavourite(favourites, record);
  return WriteEffectRecords(favourites);
}

namespace {

int FoldedCompare(std::string_view a, std::string_view b) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

}  // namespace

bool SortsBefore(const EffectRecord& a, const EffectRecord& b) {
  if (a.kind != b.kind) return a.kind < b.kind;
  return FoldedCompare(DisplayName(a), DisplayName(b)) < 0;
}

size_t SortedInsertPosition(const std::vector<EffectRecord>& sorted, const EffectRecord& record) {
  auto it = std::upper_bound(sorted.begin(), sorted.end(), record, SortsBefore);
  return static_cast<size_t>(it - sorted.begin());
}

std::vector<size_t> BrowserOrder(const std::vector<EffectRecord>& records) {
  std::vector<size_t> order(records.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(),
                   [&](size_t a, size_t b) { return SortsBefore(records[a], records[b]); });
  return order;
}

namespace {

struct IconPosition {
  int32_t kind, column, row;
};

// Icons of the full list, in pixels of the browser bitmap.
constexpr IconPosition kFullListIcons[] = {
    {0x1, 150, 0},   {0x2, 50, 25},    {0x4, 0, 25},     {0x8, 75, 0},
    {0x10, 175, 0},  {0x20, 25, 0},    {0x40, 0, 0},     {0x80, 50, 0},
    {0x200, 100, 0}, {0x800, 125, 25}, {0x1000, 150, 25}, {0x4000, 75, 25},
};

}  // namespace

EffectRecord BrowserCopy(const EffectRecord& record, BrowserKind browser) {
  EffectRecord copy = record;
  copy.listLink = 0;
  if (browser == BrowserKind::kFamilies) {
    // The family browser keeps the warp family with its categories and
    // gathers every other effect under kind 1.
    if (record.kind == kWarpKind) {
      copy.iconColumn = 25;
      copy.iconRow = 0;
    } else {
      copy.kind = copy.kindCopy = 1;
      copy.categoryId = 0;
      copy.iconColumn = 150;
      copy.iconRow = 0;
    }
    return copy;
  }
  copy.kindCopy = record.kind;
  for (const IconPosition& icon : kFullListIcons) {
    if (icon.kind == record.kind) {
      copy.iconColumn = icon.column;
      copy.iconRow = icon.row;
    }
  }
  return copy;
}

bool ListedUnderEntry(const EffectRecord& record, int32_t kind, int32_t categoryId) {
  if (record.optionFlags < 0) return false;
  if (record.kindCopy != kind) return false;
  return categoryId == 0 || record.categoryId == categoryId;
}

const std::vector<EffectFamily>& EffectFamilies() {
  static const std::vector<EffectFamily> families = {
      {0x20, 0x6034, 0x7120, 25},
      {0x80, 0x6037, 0x7122, 50},
      {0x1, 0x6011, 0x7111, 150},
      {0x2, 0x601E, 0x7112, 50},
  };
  return families;
}

const EffectFamily* FindEffectFamily(int32_t kind) {
  for (const EffectFamily& f : EffectFamilies())
    if (f.kind == kind) return &f;
  return nullptr;
}

namespace {

// printf's "%<width>s": right-aligned in at least `width` characters.
void PutRight(std::string& line, std::string_view text, size_t width) {
  if (text.size() < width) line.append(width - text.size(), ' ');
  line += text;
}

}  // namespace

std::string PluginDumpLine(const EffectRecord& record, std::string_view familyName) {
  std::string line;
  PutRight(line, ModuleName(record), 12);
  line += ' ';
  PutRight(line, familyName.empty() ? std::string_view("Unknown") : familyName, 35);
  line += ' ';
  PutRight(line, CategoryName(record), 30);
  line += ' ';
  PutRight(line, DisplayName(record), 40);
  line += ' ';
  PutRight(line, FunctionName(record), 30);
  line += '\n';
  return line;
}

}  // namespace quillo
