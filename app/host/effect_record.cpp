#include "effect_record.h"

#include <cstring>

namespace quillo {

namespace {

// Copies text that is known to fit (size < fieldChars); the rest of the
// field stays zero.
void PutField(char* field, size_t fieldChars, std::string_view text) {
  size_t n = text.size() < fieldChars ? text.size() : fieldChars - 1;
  std::memcpy(field, text.data(), n);
}

// A string loaded into a buffer of fieldChars keeps at most fieldChars - 1
// characters; empty or missing means the load failed.
std::optional<std::string_view> Loaded(std::optional<std::string_view> text, size_t fieldChars) {
  if (!text || text->empty()) return std::nullopt;
  return text->substr(0, fieldChars - 1);
}

}  // namespace

RecordBuildResult BuildEffectRecord(const EffectInfoEntry& entry, std::string_view moduleName,
                                    std::optional<std::string_view> displayName,
                                    std::optional<std::string_view> category, EffectRecord& out,
                                    bool* displayNameMissing) {
  std::memset(&out, 0, sizeof out);
  if (displayNameMissing) *displayNameMissing = false;

  std::string_view function = entry.functionName ? std::string_view(entry.functionName) : "";
  std::string_view example = entry.exampleImage ? std::string_view(entry.exampleImage) : "N/A";
  if (moduleName.size() >= kModuleFieldChars) return RecordBuildResult::kModuleNameTooLong;
  if (function.empty()) return RecordBuildResult::kFunctionNameMissing;
  if (function.size() >= kFunctionFieldChars) return RecordBuildResult::kFunctionNameTooLong;
  if (example.size() >= kExampleFieldChars) return RecordBuildResult::kExampleNameTooLong;

  out.kind = entry.kindFlags;
  out.reserved1 = entry.reserved1;
  out.catalogFlags = entry.catalogFlag;
  out.effectValue = entry.effectValue;
  out.kindCopy = entry.kindFlags;
  out.categoryId = entry.categoryStringId;
  out.optionFlags = entry.optionFlags;
  PutField(out.module, kModuleFieldChars, moduleName);
  PutField(out.function, kFunctionFieldChars, function);
  PutField(out.example, kExampleFieldChars, example);

  auto name = Loaded(displayName, kDisplayNameFieldChars);
  if (!name && displayNameMissing) *displayNameMissing = true;
  PutField(out.displayName, kDisplayNameFieldChars, name ? *name : "N/A");

  auto categoryText = entry.categoryStringId != 0 ? Loaded(category, kCategoryFieldChars) : std::nullopt;
  PutField(out.category, kCategoryFieldChars, categoryText ? *categoryText : "MISC");
  return RecordBuildResult::kOk;
}

std::string BadPlugInfoText(std::string_view moduleName, std::string_view functionName) {
  std::string text = "A Bad Plug info:\nName = ";
  text += moduleName;
  text += "\nFunction : ";
  text += functionName;
  text += "\n";
  return text;
}

std::string_view FieldText(const char* field, size_t fieldChars) {
  const void* end = std::memchr(field, 0, fieldChars);
  return std::string_view(field, end ? size_t(static_cast<const char*>(end) - field) : fieldChars);
}

void TerminateStrings(EffectRecord& record) {
  record.module[kModuleFieldChars - 1] = 0;
  record.function[kFunctionFieldChars - 1] = 0;
  record.example[kExampleFieldChars - 1] = 0;
  record.displayName[kDisplayNameFieldChars - 1] = 0;
  record.category[kCategoryFieldChars - 1] = 0;
}

bool IsBareFileName(std::string_view name) {
  return !name.empty() && name.find_first_of("\\/:") == std::string_view::npos &&
         name.find("..") == std::string_view::npos;
}

}  // namespace quillo
