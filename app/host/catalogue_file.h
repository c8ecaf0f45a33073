// The catalogue file "BXFun.inf" and the favourites file "Favor.INF": plain
// sequences of 292-byte effect records with nothing before, between or
// after them. Reading and writing work on byte buffers; the Win32 shell
// moves the bytes to and from disk (writing a temporary file and replacing
// the old one only when every write succeeded).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "effect_record.h"

namespace quillo {

// Records back to back; a short final record ends the reading, an empty
// buffer is an empty list. Every string field is terminated at its field's
// end, so a file with unterminated names cannot make a reader run past a
// field.
std::vector<EffectRecord> ReadEffectRecords(const uint8_t* data, size_t size);

// One record's 292 bytes appended to `bytes`, with the in-memory list link
// zeroed.
void AppendEffectRecord(std::vector<uint8_t>& bytes, const EffectRecord& record);
std::vector<uint8_t> WriteEffectRecords(const std::vector<EffectRecord>& records);

// Favourites hold no two records with the same function name, the same
// module name (both compared with case) and the same effect value.
bool SameFavourite(const EffectRecord& a, const EffectRecord& b);

// Adding removes every equal record and appends the new one, so an effect
// added again moves to the end. Removing drops every equal record and says
// whether there was one.
void AddFavourite(std::vector<EffectRecord>& favourites, const EffectRecord& record);
bool RemoveFavourite(std::vector<EffectRecord>& favourites, const EffectRecord& record);

// The new contents of "Favor.INF" after adding `record` to the old contents
// (empty when the file did not exist).
std::vector<uint8_t> FavouritesFileWithAdded(const uint8_t* oldData, size_t oldSize,
                                             const EffectRecord& record);

// Browser order: ascending kind (signed), then display name compared without
// regard to ASCII case. Returns the position at which `record` goes into the
// sorted list: behind every record that does not sort after it, so equal
// records keep their file order.
bool SortsBefore(const EffectRecord& a, const EffectRecord& b);
size_t SortedInsertPosition(const std::vector<EffectRecord>& sorted, const EffectRecord& record);
// Indices of `records` in browser order, built by inserting one record after
// another in file order.
std::vector<size_t> BrowserOrder(const std::vector<EffectRecord>& records);

// The two browsers rewrite their in-memory copies of the records.
enum class BrowserKind { kFamilies, kFullList };
EffectRecord BrowserCopy(const EffectRecord& record, BrowserKind browser);

// After a family (categoryId 0) or category entry is selected the effect list
// holds the records whose kind copy equals the entry's kind and, for a
// category, whose category id equals the entry's; a record with negative
// option flags is left out.
bool ListedUnderEntry(const EffectRecord& record, int32_t kind, int32_t categoryId);

// The fixed family table.
struct EffectFamily {
  int32_t kind;
  int32_t nameStringId;
  uint32_t browserCommand;
  int32_t itemSize;
};
// The family of `kind`, or nullptr when the table has none.
const EffectFamily* FindEffectFamily(int32_t kind);
const std::vector<EffectFamily>& EffectFamilies();

// One line of "Plugin.txt": "%12s %35s %30s %40s %30s\n" from module,
// family name ("Unknown" when empty), category, display name, function.
std::string PluginDumpLine(const EffectRecord& record, std::string_view familyName);

}  // namespace quillo
