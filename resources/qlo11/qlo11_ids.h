// String IDs of the light, particle and space plug-in's resource module.
#pragma once

#define IDS_BUMP 30206
#define IDS_STAR 30207
#define IDS_FLASH 30306
#define IDS_FTRACE 33129
#define IDS_ENVMAP 33130

#define IDS_CATEGORY_LIGHT 13506
#define IDS_CATEGORY_TUNNELS 13517
#define IDS_CATEGORY_SKY 13539

#define IDS_CANCEL_IDLE 13800
#define IDS_CANCEL_PLAYING 13801
