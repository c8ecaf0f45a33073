// The twinkling stars and sprite storm plug-in module: its resource module
// and information table, in catalogue order, ending with an entry of kind
// 0. It has no name of its own (GetName answers an empty one), so hosts
// catalogue it under its file name.
#include "plugins/framework/plugin_module.h"
#include "resources/qlo17/qlo17_ids.h"

namespace quillo {

namespace {

// Both rows are of the warp family (32), ignore the mask (flag 1), are
// handed the value 1 and can be stored as a screen saver (0x8); bits
// 0x1000 and 0x20000 tell the host how to fit the picture before the run.
const PlugInInfo kInfoTable[] = {
    {32, 0, 1, 1, IDS_STORM, IDS_CATEGORY_LIGHT, 0x21008, "ProcessStorm", "Storm.jpg"},
    {32, 0, 1, 1, IDS_STAR, IDS_CATEGORY_LIGHT, 0x1008, "ProcessStar", "Star.jpg"},
    {0, 0, 0, 0, 0, 0, 0, nullptr, nullptr},
};

}  // namespace

const PluginModuleDescription kPluginModule = {"Qlo17.R", kInfoTable, nullptr};

}  // namespace quillo
