// Identifiers shared by the studio's code and its resource scripts: menu and
// accelerator commands, strings of the resource module "BXFUN.R", and the
// frame's private messages. Plain #defines so windres can read them too.
#pragma once

// ---- Commands -------------------------------------------------------------
#define CMD_CASCADE 0x283C
#define CMD_TILE_VERTICAL 0x283D
#define CMD_TILE_HORIZONTAL 0x283E
#define CMD_ARRANGE_ICONS 0x283F
#define CMD_IMAGE_INFO 0x2840
#define CMD_DOC_RIGHT 0x2842
#define CMD_JPEG_OPTIONS 0x28A0
#define CMD_TIFF_OPTIONS 0x28A1
#define CMD_TOGGLE_THUMBNAILS 0x28A3
#define CMD_THUMBNAIL_LIST 0x28A4
#define CMD_ANIMATION_INTERVAL 0x28A6
#define CMD_RECENT_FIRST 0x28AA  // 0x28AA..0x28AE
#define CMD_RECENT_LAST 0x28AE
#define CMD_AVI_CAPTURE 0x28AF   // also the recent-files separator
#define CMD_AVI_STOP 0x28B1
#define CMD_TOGGLE_BEST_FIT 0x28B0
#define CMD_EFFECT_SAVER_INSTALL 0x28EF
#define CMD_PANEL_PACK 0x28F0
#define CMD_PANEL_SAVER 0x28F1
#define CMD_DOC_DEMO 0x28F2
#define CMD_OPEN 0x7100
#define CMD_PRODUCT_PAGE 0x7101
#define CMD_SAVE 0x7102
#define CMD_PRINT_PREVIEW 0x7103
#define CMD_EXIT 0x7104
#define CMD_CROP 0x7105
#define CMD_HELP_EFFECTS 0x7108
#define CMD_HELP_TOPICS 0x7109
#define CMD_CLOSE_IMAGE 0x710C
#define CMD_UNDO 0x710D
#define CMD_NEXT_WINDOW 0x710E
#define CMD_FULL_EFFECT_LIST 0x710F
#define CMD_BROWSER_1 0x7111
#define CMD_BROWSER_2 0x7112
#define CMD_BROWSER_3 0x7113
#define CMD_COPY 0x7114
#define CMD_PASTE 0x7115
#define CMD_NEW_IMAGE 0x7116
#define CMD_MULTIMEDIA 0x7117
#define CMD_BROWSER_4 0x7118
#define CMD_BROWSER_5 0x7119
#define CMD_VIEW_SELECT 0x711B
#define CMD_VIEW_MAGNIFIER 0x711C
#define CMD_VIEW_ZOOM_RECT 0x711D
#define CMD_BROWSER_6 0x711F
#define CMD_EFFECT_BROWSER 0x7120
#define CMD_EFFECT_BROWSER_2 0x7121
#define CMD_EFFECT_BROWSER_3 0x7122
#define CMD_BROWSER_7 0x7124
#define CMD_ZOOM_IN 0x7125
#define CMD_ZOOM_OUT 0x7126
#define CMD_FULL_EFFECT_LIST_2 0x7127
#define CMD_EFFECT_BROWSER_4 0x7129
#define CMD_BROWSER_8 0x712A
#define CMD_SAVE_GIVEN_IMAGE 0x712D
#define CMD_BROWSER_9 0x712F
#define CMD_FULL_EFFECT_LIST_3 0x7130
#define CMD_DOC_MANUAL 0x7131
#define CMD_GREY 0x7406
#define CMD_INVERT 0x740D
#define CMD_TURN_RIGHT 0x740E
#define CMD_HALF_TURN 0x740F
#define CMD_TURN_LEFT 0x7410
#define CMD_MIRROR_X 0x7411
#define CMD_MIRROR_Y 0x7412
#define CMD_TOGGLE_MAXIMIZE 0x7418
#define CMD_REBUILD_CATALOGUE 0x7419
#define CMD_SCANNER 0x741C
#define CMD_MAIL_GIFT 0x7420
#define CMD_LIGHTNESS_GREY 0x7424
#define CMD_GRADIENT 0x7426
#define CMD_MASK_SHOW 0x7427
#define CMD_MASK_HIDE 0x7428
#define CMD_MASK_INVERT 0x7429
#define CMD_MASK_DROP 0x7430
#define CMD_ACTUAL_SIZE 0x743A

// ---- Strings of "BXFUN.R" ------------------------------------------------
// Tool button captions.
#define IDS_BTN_OPEN 0x578
#define IDS_BTN_PLAY 0x579
#define IDS_BTN_CLOSE 0x57A
#define IDS_BTN_EXIT 0x57C
#define IDS_BTN_CROP 0x57D
#define IDS_BTN_COPY 0x57E
#define IDS_BTN_PASTE 0x57F
#define IDS_BTN_SNAPSHOT 0x580
#define IDS_BTN_ZOOMIN 0x581
#define IDS_BTN_ZOOMOUT 0x582
#define IDS_BTN_ABOUT 0x583
#define IDS_BTN_UNDO 0x584
#define IDS_BTN_NEXT 0x58C
// Messages and titles.
#define IDS_SAVE_FORMAT_DEPTH 0x6028
#define IDS_SAVED_OK 0x6029
#define IDS_SAVE_FAILED_CAPTION 0x602A
#define IDS_CANNOT_OPEN 0x602C
#define IDS_EMPTY_SELECTION 0x6025
#define IDS_NO_MEMORY 0x6027
#define IDS_COPIED 0x6032
#define IDS_CLIPBOARD_BUSY 0x6033
#define IDS_STATUS_READY 0x6102
#define IDS_CROP_FAILED 0x6104
#define IDS_EXIT_QUESTION 0x6109
#define IDS_OVERWRITE_QUESTION 0x6114
#define IDS_FRAME_TITLE 0x6202
// Menu help strings are the ids of the table in menu_help.h (0x6000..0x6132).

// ---- Frame messages -------------------------------------------------------
#define FM_NOTIFY 2053
#define FM_EFFECT_ACTIVE 2065
#define FM_SET_WORD8 2073
#define FM_GET_WORD8 2074
#define FM_GET_STATUS_LINE 2076
#define FM_GET_GRADIENT 2083
#define FM_SET_GRADIENT 2085
#define FM_OPEN_DIB 2086
#define FM_CLOSE_VIEW 2087
#define FM_FIND_DOCUMENT 2104
#define FM_SET_WORD12 2125
#define FM_GET_WORD12 2126
#define FM_SET_WORD16 2127
#define FM_GET_WORD16 2128
