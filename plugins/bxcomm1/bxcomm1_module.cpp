// The colour plug-in module: its resource module and information table.
// Entries appear in catalogue order; the table ends with an entry of -1s.
#include "plugin_module.h"
#include "resources/bxcomm1/bxcomm1_ids.h"

namespace quillo {

namespace {

const PlugInInfo kInfoTable[] = {
    {0x1, 0, 0, 1, IDS_BRIGHTNESS_CONTRAST, IDS_CATEGORY_COLOUR, 0x1, "ProcessBrightnessContrast", "N/A"},
    {0x1, 0, 0, 0, IDS_BALANCE, IDS_CATEGORY_COLOUR, 0x1, "ProcessBalance", "Balance.jpg"},
    {0x1, 0, 0, 0, IDS_UNSHARP, IDS_CATEGORY_SHARPNESS, 0x1, "ProcessUnsharp", "Unsharp.jpg"},
    {0x1, 0, 0, 0, IDS_MODULATE, IDS_CATEGORY_COLOUR, 0x1, "ProcessModulate", "MODULATE.jpg"},
    {0x1, 0, 0, 0, IDS_GAMMA, IDS_CATEGORY_COLOUR, 0x1, "ProcessGamma", "Gamma2.jpg"},
    {0x1, 0, 0, 0, IDS_GAUSSIAN, IDS_CATEGORY_SHARPNESS, 0x1, "ProcessGaussrle", "Blur.jpg"},
    {0x1, 0, 0, 0, IDS_CSTRETCH, IDS_CATEGORY_COLOUR, 0x1, "ProcessCStretch", "N/A"},
    {0x1, 0, 0, 0, IDS_BLEED, IDS_CATEGORY_COLOUR, 0x1, "ProcessBleed", "Bleed.jpg"},
    {0x1, 0, 0, 0, IDS_EDGE, IDS_CATEGORY_EDGES, 0x1, "ProcessEdge", "Edge.jpg"},
    {0x1, 0, 0, 0, IDS_DESPECKLE, IDS_CATEGORY_NOISE, 0x1, "ProcessDespeckle2", "Despeck2.jpg"},
    {0x20, 0, 0, 0, IDS_WARP, IDS_CATEGORY_WARP, 0x10000, "ProcessWarp", "Warp1.jpg"},
    {0x1, 0, 0, 0, IDS_SHARPEN, IDS_CATEGORY_SHARPNESS, 0x1, "ProcessSharpen", "Sharpen.jpg"},
    {0x200, 0, 0, 0, IDS_CLRPACK, IDS_CATEGORY_COLOUR, 0x1, "ProcessClrPack", "ClrPack.jpg"},
    {0x4, 0, 0, 0, IDS_ZOOM, 0, 0x1, "ProcessZoom", "Zoom.jpg"},
    {-1, -1, -1, -1, -1, -1, -1, nullptr, nullptr},
};

}  // namespace

const PluginModuleDescription kPluginModule = {"BXCOMM1.R", kInfoTable};

}  // namespace quillo
