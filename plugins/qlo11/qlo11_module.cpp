// The light, particle and space plug-in module: its resource module and
// information table, in catalogue order, ending with an entry of kind 0.
#include "plugins/framework/plugin_module.h"
#include "resources/qlo11/qlo11_ids.h"

namespace quillo {

namespace {

// All rows are of the warp family (32), ignore the picture's mask (flag 1)
// and can be stored as a screen saver (0x8); the bits from 0x1000 up tell
// the host how to fit the picture before the run.
const PlugInInfo kInfoTable[] = {
    {32, 0, 1, 0, IDS_FTRACE, IDS_CATEGORY_SKY, 0x21008, "ProcessFTrace", "FTrace2.jpg"},
    {32, 0, 1, 0, IDS_STAR, IDS_CATEGORY_SKY, 0x1008, "ProcessStar", "StarBack.jpg"},
    {32, 0, 1, 0, IDS_FLASH, IDS_CATEGORY_SKY, 0x21008, "ProcessFlash", "Flash.jpg"},
    {32, 0, 1, 0, IDS_ENVMAP, IDS_CATEGORY_TUNNELS, 0x1008, "ProcessEnvmap", "Envmap.jpg"},
    {32, 0, 1, 0, IDS_BUMP, IDS_CATEGORY_LIGHT, 0x21008, "ProcessBump", "Bump.jpg"},
    {0, 0, 0, 0, 0, 0, 0, nullptr, nullptr},
};

}  // namespace

const PluginModuleDescription kPluginModule = {"Qlo11.R", kInfoTable, "Qlo11.PL1"};

}  // namespace quillo
