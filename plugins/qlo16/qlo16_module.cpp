// The fire and box plug-in module: its resource module and information
// table, in catalogue order, ending with an entry of kind 0.
#include "plugins/framework/plugin_module.h"
#include "resources/qlo16/qlo16_ids.h"

namespace quillo {

namespace {

// All rows are of the warp family (32), ignore the mask (flag 1) and can
// be stored as a screen saver (0x8); bits 0x1000 and 0x20000 tell the host
// how to fit the picture before the run (the box scales it itself).
const PlugInInfo kInfoTable[] = {
    {32, 0, 1, 0, IDS_FLARES, IDS_CATEGORY_LIGHT, 0x21008, "ProcessFlares", "Flares.jpg"},
    {32, 0, 1, 0, IDS_TEX, IDS_CATEGORY_TUNNELS, 0x8, "ProcessTex", "TexMap.jpg"},
    {32, 0, 1, 0, IDS_FLAMME, IDS_CATEGORY_FIRE, 0x1008, "ProcessFlamme", "Flamme.jpg"},
    {0, 0, 0, 0, 0, 0, 0, nullptr, nullptr},
};

}  // namespace

const PluginModuleDescription kPluginModule = {"Qlo16.R", kInfoTable, "Qlo16.PL1"};

}  // namespace quillo
