#include "gift_names.h"

#include "app/host/effect_record.h"  // IsBareFileName
#include "savers/package/package_names.h"

namespace quillo::giftutil {

std::string_view FileNamePart(std::string_view path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::optional<GiftNames> GiftNamesOf(std::string_view programFileName) {
  if (programFileName.size() >= kMaxProgramNameChars) return std::nullopt;
  const size_t dot = programFileName.rfind('.');
  if (dot == std::string_view::npos) return std::nullopt;
  const std::string_view base = programFileName.substr(0, dot);
  if (!IsBareFileName(base)) return std::nullopt;
  GiftNames names;
  names.base = std::string(base);
  names.image = package::ImageFileName(base);
  names.record = package::RecordFileName(base);
  names.parameters = package::ParameterFileName(base);
  return names;
}

}  // namespace quillo::giftutil
