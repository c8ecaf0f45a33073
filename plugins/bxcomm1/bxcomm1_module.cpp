// The colour plug-in module: its resource module and information table.
// Entries appear in catalogue order; the table ends with an entry of -1s.
#include "plugin_module.h"
#include "resources/bxcomm1/bxcomm1_ids.h"

namespace quillo {

namespace {

const PlugInInfo kInfoTable[] = {
    {0x1, 0, 0, 1, IDS_BRIGHTNESS_CONTRAST, IDS_CATEGORY_COLOUR, 0x1, "ProcessBrightnessContrast", "N/A"},
    {0x1, 0, 0, 0, IDS_BALANCE, IDS_CATEGORY_COLOUR, 0x1, "ProcessBalance", "Balance.jpg"},
    {0x1, 0, 0, 0, IDS_MODULATE, IDS_CATEGORY_COLOUR, 0x1, "ProcessModulate", "MODULATE.jpg"},
    {0x1, 0, 0, 0, IDS_GAMMA, IDS_CATEGORY_COLOUR, 0x1, "ProcessGamma", "Gamma2.jpg"},
    {-1, -1, -1, -1, -1, -1, -1, nullptr, nullptr},
};

}  // namespace

const PluginModuleDescription kPluginModule = {"BXCOMM1.R", kInfoTable};

}  // namespace quillo
