// The 292-byte effect record: one catalogued effect as the catalogue file
// "BXFun.inf", the favourites file "Favor.INF" and a package's ".SSD" file
// store it. The record holds no pointers, so every build writes the same
// bytes; the static_asserts below pin every field offset.
#pragma once
#include <bit>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillo {

constexpr size_t kEffectRecordSize = 292;
constexpr size_t kModuleFieldChars = 16;
constexpr size_t kFunctionFieldChars = 40;
constexpr size_t kExampleFieldChars = 16;
constexpr size_t kDisplayNameFieldChars = 80;
constexpr size_t kCategoryFieldChars = 80;

// Option flag bits of the record.
constexpr int32_t kOptionSaver = 0x8;
constexpr int32_t kOptionFitMask = 0xFFF000;
// Catalog flag bits.
constexpr int32_t kCatalogIgnoresMask = 0x1;
constexpr int32_t kCatalogNeedsMask = 0x2;
// The warp family.
constexpr int32_t kWarpKind = 0x20;

struct EffectRecord {
  int32_t kind;          // effect family, > 0
  int32_t reserved1;     // 0: run on the image, 1: run on the example
  int32_t catalogFlags;  // kCatalogIgnoresMask, kCatalogNeedsMask
  int32_t effectValue;   // handed back to the effect function as argument 5
  int32_t kindCopy;      // the kind again; the browser regroups by it
  int32_t categoryId;    // string id in the plug-in's resource module, 0 = none
  int32_t optionFlags;   // kOptionSaver, kOptionFitMask
  int32_t iconColumn;    // browser icon position in memory; zero in files
  int32_t iconRow;
  char module[kModuleFieldChars];          // plug-in file name
  char function[kFunctionFieldChars];      // export name of the effect function
  char example[kExampleFieldChars];        // example picture file name or "N/A"
  char displayName[kDisplayNameFieldChars];
  char category[kCategoryFieldChars];
  uint32_t listLink;     // in-memory list link of the original browser; zero in files
  int32_t reserved2[5];
};

static_assert(std::endian::native == std::endian::little,
              "records are stored little-endian and copied byte for byte");
static_assert(sizeof(EffectRecord) == kEffectRecordSize);
static_assert(offsetof(EffectRecord, kind) == 0);
static_assert(offsetof(EffectRecord, reserved1) == 4);
static_assert(offsetof(EffectRecord, catalogFlags) == 8);
static_assert(offsetof(EffectRecord, effectValue) == 12);
static_assert(offsetof(EffectRecord, kindCopy) == 16);
static_assert(offsetof(EffectRecord, categoryId) == 20);
static_assert(offsetof(EffectRecord, optionFlags) == 24);
static_assert(offsetof(EffectRecord, iconColumn) == 28);
static_assert(offsetof(EffectRecord, iconRow) == 32);
static_assert(offsetof(EffectRecord, module) == 36);
static_assert(offsetof(EffectRecord, function) == 52);
static_assert(offsetof(EffectRecord, example) == 92);
static_assert(offsetof(EffectRecord, displayName) == 108);
static_assert(offsetof(EffectRecord, category) == 188);
static_assert(offsetof(EffectRecord, listLink) == 268);
static_assert(offsetof(EffectRecord, reserved2) == 272);

// One entry of a plug-in's info table, as plain data (the 36-byte entry
// itself holds two name pointers; the host copies it into this form).
struct EffectInfoEntry {
  int32_t kindFlags = 0;
  int32_t reserved1 = 0;
  int32_t catalogFlag = 0;
  int32_t effectValue = 0;
  int32_t nameStringId = 0;
  int32_t categoryStringId = 0;
  int32_t optionFlags = 0;
  const char* functionName = nullptr;
  const char* exampleImage = nullptr;
};

enum class RecordBuildResult {
  kOk,
  kModuleNameTooLong,    // 16 characters or more
  kFunctionNameTooLong,  // 40 characters or more
  kFunctionNameMissing,  // null or empty: nothing could ever be called
  kExampleNameTooLong,   // 16 characters or more
};

// Fills a zeroed record from an info entry, the plug-in's file name and the
// two strings loaded from its resource module (nullopt or empty = the string
// could not be loaded). The display name falls back to "N/A" (and
// *displayNameMissing is set: the entry is reported as a bad plug info), the
// category to "MISC" when its id is 0 or it could not be loaded; both are
// cut to 79 characters as a loaded string is. A null example name becomes
// "N/A". Names that do not fit their field are refused, never cut: a cut
// module or function name would load another file or export. On failure
// `out` is left all zero.
RecordBuildResult BuildEffectRecord(const EffectInfoEntry& entry, std::string_view moduleName,
                                    std::optional<std::string_view> displayName,
                                    std::optional<std::string_view> category, EffectRecord& out,
                                    bool* displayNameMissing = nullptr);

// "A Bad Plug info:\nName = %s\nFunction : %s\n" for the file and function.
std::string BadPlugInfoText(std::string_view moduleName, std::string_view functionName);

// Field text up to its first zero byte or the field's end.
std::string_view FieldText(const char* field, size_t fieldChars);
inline std::string_view ModuleName(const EffectRecord& r) { return FieldText(r.module, kModuleFieldChars); }
inline std::string_view FunctionName(const EffectRecord& r) { return FieldText(r.function, kFunctionFieldChars); }
inline std::string_view ExampleName(const EffectRecord& r) { return FieldText(r.example, kExampleFieldChars); }
inline std::string_view DisplayName(const EffectRecord& r) { return FieldText(r.displayName, kDisplayNameFieldChars); }
inline std::string_view CategoryName(const EffectRecord& r) { return FieldText(r.category, kCategoryFieldChars); }

// A file name that names nothing outside its folder: not empty, no path
// separator or drive colon, no "..". Every module, resource and picture name
// read from a record (which may come from another machine) is checked so.
bool IsBareFileName(std::string_view name);

// Makes every string field end with a zero byte at the latest in its last
// byte, so a record from a file can be used as zero-terminated text.
void TerminateStrings(EffectRecord& record);

}  // namespace quillo
