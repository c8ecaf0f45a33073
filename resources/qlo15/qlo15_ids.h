// String IDs of the weather and particle plug-in's resource module.
#pragma once

#define IDS_AQUARIUM 1800
#define IDS_QUAKE 1801
#define IDS_SNOW 1802
#define IDS_PUZZLE 1803
#define IDS_CLOUD 1804
#define IDS_RAIN 1805
#define IDS_PUZZLE1 1806
#define IDS_FIREWORK 1807
#define IDS_LIGHT 1810

#define IDS_CATEGORY_LIGHT 13506
#define IDS_CATEGORY_WATER 13523
#define IDS_CATEGORY_SKY 13539
#define IDS_CATEGORY_GAMES 13541

#define IDS_CANCEL_IDLE 13800
#define IDS_CANCEL_PLAYING 13801

// The message a solved puzzle shows.
#define IDS_PUZZLE_SOLVED 3000
