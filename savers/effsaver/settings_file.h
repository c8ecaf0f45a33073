// Reading and writing the saver's keys of the settings file.
#pragma once
#include "kernels/saver_settings.h"

namespace quillo::effsaver {

SaverSettings ReadSettingsFile();
void WriteSettingsFile(const SaverSettings& settings);

}  // namespace quillo::effsaver
