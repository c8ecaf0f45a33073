// The jelly and lake plug-in module: its resource module and information
// table, in catalogue order, ending with an entry of kind 0.
#include "plugins/framework/plugin_module.h"
#include "resources/qlo14/qlo14_ids.h"

namespace quillo {

namespace {

// Both rows are of the warp family (32), make no claim about the mask
// (flag 0) and can be stored as a screen saver (0x8); bit 0x1000 tells the
// host how to fit the picture before the run.
const PlugInInfo kInfoTable[] = {
    {32, 0, 0, 0, IDS_GLOOP, IDS_CATEGORY_DISTORT, 0x1008, "ProcessGloop", "Gloop.jpg"},
    {32, 0, 0, 0, IDS_LAKE, IDS_CATEGORY_WATER, 0x1008, "ProcessLake", "Lakej.jpg"},
    {0, 0, 0, 0, 0, 0, 0, nullptr, nullptr},
};

}  // namespace

const PluginModuleDescription kPluginModule = {"Qlo14.R", kInfoTable, "Qlo14.PL1"};

}  // namespace quillo
