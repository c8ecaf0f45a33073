// String IDs of the jelly and lake plug-in's resource module.
#pragma once

#define IDS_LAKE 1828
#define IDS_GLOOP 1832

#define IDS_CATEGORY_DISTORT 13504
#define IDS_CATEGORY_WATER 13523

#define IDS_CANCEL_IDLE 13800
#define IDS_CANCEL_PLAYING 13801
