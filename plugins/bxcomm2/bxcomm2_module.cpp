// The geometry plug-in module: its resource module and information table.
// Entries appear in catalogue order; the table ends with an entry of -1s.
#include "plugin_module.h"
#include "resources/bxcomm2/bxcomm2_ids.h"

namespace quillo {

namespace {

const PlugInInfo kInfoTable[] = {
    {0x20, 0, 0, 1, IDS_ALWARP, IDS_CATEGORY_WARP, 0x30000, "ProcessALWarp", "ALWARP.jpg"},
    {0x4, 0, 0, 0, IDS_SHEAR, 0, 0x1, "ProcessShear", "Shear.jpg"},
    {0x4, 0, 0, 0, IDS_ZOOM, 0, 0x1, "ProcessZoom", "Zoom.jpg"},
    {0x4, 0, 0, 0, IDS_ROTATE, 0, 0x1, "ProcessRotate", "Rotate.jpg"},
    {0x1000, 0, 1, 0, IDS_TILEABLE, 0, 0x0, "ProcessTileable", "Tileable.jpg"},
    {-1, -1, -1, -1, -1, -1, -1, nullptr, nullptr},
};

}  // namespace

const PluginModuleDescription kPluginModule = {"BXCOMM2.R", kInfoTable};

}  // namespace quillo
