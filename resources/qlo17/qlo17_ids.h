// String IDs of the twinkling stars and sprite storm plug-in's resource
// module.
#pragma once

#define IDS_STORM 21006
#define IDS_STAR 21007

#define IDS_CATEGORY_LIGHT 13506

#define IDS_CANCEL_IDLE 13800
#define IDS_CANCEL_PLAYING 13801
