// String IDs of the BXCOMM2 resource module: effect names and categories.
#pragma once

#define IDS_ROTATE 7033
#define IDS_ZOOM 7038
#define IDS_SHEAR 7053
#define IDS_TILEABLE 10215
#define IDS_ALWARP 33138

#define IDS_CATEGORY_WARP 13541
