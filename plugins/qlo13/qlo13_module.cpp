// The animated light effects plug-in module: its resource module and
// information table, in catalogue order, ending with an entry of kind 0.
#include "plugins/framework/plugin_module.h"
#include "resources/qlo13/qlo13_ids.h"

namespace quillo {

namespace {

// Every row is of the warp family (32), makes no claim about the mask
// (flag 0) and can be stored as a screen saver (0x8); bit 0x1000 tells the
// host how to fit the picture before the run.
const PlugInInfo kInfoTable[] = {
    {32, 0, 0, 0, IDS_POOL, IDS_CATEGORY_LIGHT, 0x1008, "ProcessPool", "Pool2.jpg"},
    {32, 0, 0, 0, IDS_MAGIC, IDS_CATEGORY_KALEIDOSCOPE, 0x1008, "ProcessMagic", "Magic.jpg"},
    {32, 0, 0, 0, IDS_WAVY, IDS_CATEGORY_WATER, 0x1008, "ProcessWavy", "FWavy.jpg"},
    {32, 0, 0, 0, IDS_DISCO, IDS_CATEGORY_LIGHT, 0x1008, "ProcessDisco", "Disco.jpg"},
    {32, 0, 0, 0, IDS_GRADIENT, IDS_CATEGORY_GRADIENTS, 0x1008, "ProcessGradient", "XGrad.jpg"},
    {0, 0, 0, 0, 0, 0, 0, nullptr, nullptr},
};

}  // namespace

const PluginModuleDescription kPluginModule = {"Qlo13.R", kInfoTable, "Qlo13.PL1"};

}  // namespace quillo
