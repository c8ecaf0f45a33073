// The flying rocks and magic feedback plug-in module: its resource module
// and information table, in catalogue order, ending with an entry of kind 0.
// It has no name of its own (GetName answers an empty one), so hosts
// catalogue it under its file name.
#include "plugins/framework/plugin_module.h"
#include "resources/qlo18/qlo18_ids.h"

namespace quillo {

namespace {

// Both rows are of the warp family (32), ignore the picture's mask
// (flag 1) and can be stored as a screen saver (0x8); bit 0x1000 tells the
// host how to fit the picture before the run.
const PlugInInfo kInfoTable[] = {
    {32, 0, 1, 0, IDS_MAGIC, IDS_CATEGORY_GRADIENTS, 0x1008, "ProcessMagic", "Infinit8.jpg"},
    {32, 0, 1, 0, IDS_ROCK, IDS_CATEGORY_SKY, 0x1008, "ProcessRock", "FunRock.jpg"},
    {0, 0, 0, 0, 0, 0, 0, nullptr, nullptr},
};

}  // namespace

const PluginModuleDescription kPluginModule = {"Qlo18.R", kInfoTable, nullptr};

}  // namespace quillo
