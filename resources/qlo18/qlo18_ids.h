// String IDs of the flying rocks and magic feedback plug-in's resource
// module.
#pragma once

#define IDS_MAGIC 33156
#define IDS_ROCK 33158

#define IDS_CATEGORY_GRADIENTS 13503
#define IDS_CATEGORY_SKY 13539

#define IDS_CANCEL_IDLE 13800
#define IDS_CANCEL_PLAYING 13801
