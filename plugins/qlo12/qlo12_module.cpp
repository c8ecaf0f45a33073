// The animated distortions plug-in module: its resource module and
// information table, in catalogue order, ending with an entry of kind 0.
#include "plugins/framework/plugin_module.h"
#include "resources/qlo12/qlo12_ids.h"

namespace quillo {

namespace {

// Every row is of the warp family (32), ignores the mask and can be stored
// as a screen saver (0x8); bits 0x1000 and 0x20000 tell the host how to fit
// the picture before the run.
const PlugInInfo kInfoTable[] = {
    {32, 0, 1, 0, IDS_WORM, IDS_CATEGORY_TUNNELS, 0x1008, "ProcessWorm", "Wormhole.jpg"},
    {32, 0, 1, 0, IDS_WATER, IDS_CATEGORY_WATER, 0x1008, "ProcessWater", "Water.jpg"},
    {32, 0, 1, 0, IDS_TUNNEL, IDS_CATEGORY_TUNNELS, 0x1008, "ProcessTunnel", "Tunnel.jpg"},
    {32, 0, 1, 1, IDS_SPHERE, IDS_CATEGORY_TUNNELS, 0x1008, "ProcessTunnel", "Phered.jpg"},
    {32, 0, 1, 2, IDS_PLANE, IDS_CATEGORY_TUNNELS, 0x1008, "ProcessTunnel", "InfPlane.jpg"},
    {32, 0, 1, 0, IDS_BLOB, IDS_CATEGORY_WATER, 0x21008, "ProcessBlob", "Blob.jpg"},
    {32, 0, 1, 0, IDS_WARP, IDS_CATEGORY_DISTORT, 0x1008, "ProcessWarp", "AWarp.jpg"},
    {32, 0, 1, 0, IDS_KALE, IDS_CATEGORY_KALEIDOSCOPE, 0x1008, "ProcessKale", "Kale2.jpg"},
    {32, 0, 1, 0, IDS_ILLUSION, IDS_CATEGORY_ILLUSION, 0x1008, "ProcessIllusion", "ILLUSION.jpg"},
    {32, 0, 1, 0, IDS_DISTORT, IDS_CATEGORY_DISTORT, 0x1008, "ProcessDistort", "Distort.jpg"},
    {32, 0, 1, 0, IDS_DAWA, IDS_CATEGORY_FIRE, 0x1008, "ProcessDawa", "Dawa.jpg"},
    {0, 0, 0, 0, 0, 0, 0, nullptr, nullptr},
};

}  // namespace

const PluginModuleDescription kPluginModule = {"Qlo12.R", kInfoTable, "Qlo12.PL1"};

}  // namespace quillo
