// String IDs of the fire and box plug-in's resource module.
#pragma once

#define IDS_TEX 14010
#define IDS_FLARES 33087
#define IDS_FLAMME 33089

#define IDS_CATEGORY_LIGHT 13506
#define IDS_CATEGORY_TUNNELS 13517
#define IDS_CATEGORY_FIRE 13546

#define IDS_CANCEL_IDLE 13800
#define IDS_CANCEL_PLAYING 13801
