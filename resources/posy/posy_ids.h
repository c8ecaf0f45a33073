// Command and string ids of the gift player's resource module "Posy.R".
#pragma once

#define IDM_GIFT_SHORTCUT 2314
#define IDM_GIFT_INSTALL_SAVER 2320
#define IDM_GIFT_ZOOM_IN 2322
#define IDM_GIFT_ZOOM_OUT 2323
#define IDM_GIFT_PLAY 3201
#define IDM_GIFT_WEB_PAGE 3202
#define IDM_GIFT_EXIT 3203

#define IDS_GIFT_TITLE 25090
