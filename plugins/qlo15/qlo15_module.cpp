// The weather and particle plug-in module: its resource module and
// information table, in catalogue order, ending with an entry of kind 0.
// It has no name of its own (GetName answers an empty one), so hosts
// catalogue it under its file name.
#include "plugins/framework/plugin_module.h"
#include "resources/qlo15/qlo15_ids.h"

namespace quillo {

namespace {

// All rows are of the warp family (32), make no claim about the mask
// (flag 0) and can be stored as a screen saver (0x8); bit 0x1000 tells the
// host how to fit the picture before the run.
const PlugInInfo kInfoTable[] = {
    {32, 0, 0, 0, IDS_AQUARIUM, IDS_CATEGORY_WATER, 0x1008, "ProcessAquarium", "Aquarium.jpg"},
    // The puzzles are games played in the view, never savers.
    {32, 0, 0, 0, IDS_PUZZLE1, IDS_CATEGORY_GAMES, 0x1000, "ProcessPuzzle1", "Puzzle.jpg"},
    {32, 0, 0, 0, IDS_PUZZLE, IDS_CATEGORY_GAMES, 0x21000, "ProcessPuzzle", "Puzzle.jpg"},
    {32, 0, 0, 0, IDS_FIREWORK, IDS_CATEGORY_SKY, 0x1008, "ProcessFireWork", "FireWK.jpg"},
    {32, 0, 0, 0, IDS_QUAKE, IDS_CATEGORY_GAMES, 0x1008, "ProcessQuake", "QUAKE.jpg"},
    {32, 0, 0, 0, IDS_RAIN, IDS_CATEGORY_WATER, 0x1008, "ProcessRain", "RAIN.jpg"},
    {32, 0, 0, 0, IDS_CLOUD, IDS_CATEGORY_SKY, 0x1008, "ProcessCloud", "Cloudj.jpg"},
    {32, 0, 0, 0, IDS_LIGHT, IDS_CATEGORY_LIGHT, 0x21008, "ProcessLight", "LightJ.jpg"},
    {32, 0, 0, 0, IDS_SNOW, IDS_CATEGORY_SKY, 0x1008, "ProcessSnow", "SNowJ.jpg"},
    {0, 0, 0, 0, 0, 0, 0, nullptr, nullptr},
};

}  // namespace

const PluginModuleDescription kPluginModule = {"Qlo15.R", kInfoTable, nullptr};

}  // namespace quillo
