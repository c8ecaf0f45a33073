#include "saver_install.h"

#include <optional>
#include <string>

#include "app/host/effect_record.h"
#include "app/host/package_naming.h"

namespace quillo::giftutil {

SaverInstallPlan PlanSaverInstall(const SaverInstallFacts& facts) {
  SaverInstallPlan plan;
  const bool possible = !facts.preview && facts.playable && (facts.optionFlags & kOptionSaver) &&
                        facts.inPackageFolder && (facts.saverInSystem || facts.saverBeside);
  if (!possible) return plan;
  plan.offer = true;
  plan.copySaver = !facts.saverInSystem;
  plan.installAtStart = true;
  return plan;
}

namespace {

std::string Folded(std::string_view path) {
  std::string out(path);
  while (!out.empty() && (out.back() == '\\' || out.back() == '/')) out.pop_back();
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    if (c == '/') c = '\\';
  }
  return out;
}

}  // namespace

bool IsPackageFolder(std::string_view folder, std::string_view windowsDirectory) {
  const std::optional<std::string> packages = PackageDirectoryOf(windowsDirectory);
  return packages && !folder.empty() && Folded(folder) == Folded(*packages);
}

}  // namespace quillo::giftutil
