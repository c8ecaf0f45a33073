// String IDs of the animated light effects plug-in's resource module.
#pragma once

#define IDS_POOL 20186
#define IDS_MAGIC 20187
#define IDS_WAVY 20189
#define IDS_DISCO 20190
#define IDS_GRADIENT 20038

#define IDS_CATEGORY_GRADIENTS 13503
#define IDS_CATEGORY_LIGHT 13506
#define IDS_CATEGORY_WATER 13523
#define IDS_CATEGORY_KALEIDOSCOPE 13537

#define IDS_CANCEL_IDLE 13800
#define IDS_CANCEL_PLAYING 13801
