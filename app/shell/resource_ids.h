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
#define FM_EFFECT_FRAME 2118
#define FM_SET_WORD12 2125
#define FM_GET_WORD12 2126
#define FM_SET_WORD16 2127
#define FM_GET_WORD16 2128

// ---- More strings of "BXFUN.R" ---------------------------------------------
#define IDS_NEW_IMAGE_FAILED 0x6024   // also the help string of 0x7116
// Menu help strings (WM_MENUSELECT), one per command that has one.
#define IDS_HELP_SAVE 0x6000
#define IDS_HELP_OPEN 0x6001
#define IDS_HELP_PRINT_PREVIEW 0x6002
#define IDS_HELP_CROP 0x6003
#define IDS_HELP_EXIT 0x6004
#define IDS_HELP_CLOSE_IMAGE 0x6005
#define IDS_HELP_PRODUCT_PAGE 0x6007
#define IDS_HELP_NEXT_WINDOW 0x6008
#define IDS_HELP_TILE_HORIZONTAL 0x6009
#define IDS_HELP_TILE_VERTICAL 0x600A
#define IDS_HELP_ARRANGE_ICONS 0x600B
#define IDS_HELP_CASCADE 0x600C
#define IDS_HELP_TOPICS 0x600D
#define IDS_HELP_UNDO 0x600E
#define IDS_HELP_BROWSER_1 0x6011     // also the name of effect family 0x1
#define IDS_HELP_IMAGE_INFO 0x6015
#define IDS_HELP_GREY 0x6016
#define IDS_HELP_INVERT 0x6017
#define IDS_HELP_TURN_RIGHT 0x6018
#define IDS_HELP_HALF_TURN 0x6019
#define IDS_HELP_TURN_LEFT 0x601A
#define IDS_HELP_MIRROR_X 0x601B
#define IDS_HELP_MIRROR_Y 0x601C
#define IDS_HELP_BROWSER_2 0x601E     // also the name of effect family 0x2
#define IDS_HELP_BROWSER_3 0x601F
#define IDS_HELP_VIEW_SELECT 0x6020
#define IDS_HELP_VIEW_MAGNIFIER 0x6021
#define IDS_HELP_COPY 0x6022
#define IDS_HELP_PASTE 0x6023
#define IDS_HELP_NEW_IMAGE 0x6024
#define IDS_HELP_BROWSER_4 0x602F
#define IDS_HELP_BROWSER_5 0x6030
#define IDS_HELP_EFFECT_BROWSER 0x6034  // also the name of the warp family 0x20
#define IDS_HELP_EFFECT_BROWSER_2 0x6035
#define IDS_HELP_VIEW_ZOOM_RECT 0x6036
#define IDS_HELP_BROWSER_7 0x6040
#define IDS_HELP_ZOOM_IN 0x6041
#define IDS_HELP_ZOOM_OUT 0x6042
#define IDS_HELP_BROWSER_8 0x6049
#define IDS_HELP_EFFECT_BROWSER_4 0x604A
#define IDS_HELP_FULL_EFFECT_LIST 0x604B
#define IDS_HELP_FULL_EFFECT_LIST_3 0x604E
#define IDS_HELP_SCANNER 0x6106
#define IDS_HELP_ACTUAL_SIZE 0x6107
#define IDS_HELP_FULL_EFFECT_LIST_2 0x610A
#define IDS_HELP_ANIMATION_INTERVAL 0x610E
#define IDS_HELP_AVI_CAPTURE 0x6115
#define IDS_HELP_BEST_FIT 0x6116
#define IDS_HELP_MAIL_GIFT 0x6120
#define IDS_HELP_MAIL_GIFT_RUNNING 0x6121
#define IDS_HELP_PANEL_PACK 0x6127
#define IDS_HELP_PANEL_SAVER 0x6132

// ---- Strings of the effect host ---------------------------------------------
// Family names (the family table of the catalogue); three of them double as
// the menu help of the browser commands.
#define IDS_FAMILY_FILTERS 0x6011
#define IDS_FAMILY_ARTISTIC 0x601E
#define IDS_FAMILY_MOVING 0x6034
#define IDS_FAMILY_SCENES 0x6037
#define IDS_CATALOGUE_BUILT 0x6044      // "OK" after a scan that catalogued effects
#define IDS_NO_EFFECTS_FOUND 0x6045     // no plug-in, or the catalogue cannot be written
#define IDS_NO_CATALOGUE 0x6046         // the browser finds no catalogue file
#define IDS_EFFECT_LOAD_FAILED 0x6047   // plug-in, function or image copy missing
#define IDS_NO_ACTIVE_PICTURE 0x604D
#define IDS_ANIMATION_NO_EFFECT 0x6051
#define IDS_EFFECT_NEEDS_MASK 0x6103
#define IDS_FAVOURITES_FAILED 0x610F
#define IDS_PACK_NEEDS_PICTURE 0x6128
#define IDS_SAVER_INSTALLED 0x6133
#define IDS_SAVER_FAILED 0x6134

// ---- Gifts and mail ----------------------------------------------------------
#define IDS_GIFT_TITLE 24834            // the gift program's title
#define IDS_GIFT_BUILD_FAILED 24866     // the gift could not be built or the mail not sent
#define IDS_MAIL_SENT 24867
#define IDS_MAIL_NEEDS_SERVER 24868     // To and the server are both needed
#define IDS_SAVE_GIFT_TITLE 24869       // title of the save dialog
#define IDS_GIFT_NEEDS_PICTURE 24872
#define IDS_GIFT_INTRO 24873
#define IDS_GIFT_INTRO_ENGLISH 24880
#define IDS_GIFT_TITLE_ENGLISH 24881
#define IDS_GIFT_SAVED 25091
#define IDS_GIFT_SAVE_FAILED 25092

// Controls of the mail dialogs "SendMail" and "SendRawMail".
#define IDC_MAIL_BODY 2301
#define IDC_MAIL_SUBJECT 2302
#define IDC_MAIL_TO 2303
#define IDC_MAIL_CC 2304
#define IDC_MAIL_SERVER 2306
#define IDC_MAIL_ADDRESS 2307
#define IDC_MAIL_PROGRESS_TEXT 2310
#define IDC_MAIL_PREVIEW 2311
#define IDC_MAIL_ATTACHMENT_NAME 2312
#define IDC_MAIL_SAVE_GIFT 2313
#define IDC_MAIL_INCLUDE_SAVER 2315
#define IDC_MAIL_ENGLISH 2316
#define IDC_MAIL_ATTACHMENTS 2317
#define IDC_MAIL_ADD 2318
#define IDC_MAIL_REMOVE 2319
#define IDC_MAIL_PROGRESS 100
// The save dialog's extra controls (template 10000).
#define IDD_SAVE_GIFT_EXTRA 10000
#define IDC_GIFT_ENGLISH 10001
#define IDC_GIFT_INCLUDE_SAVER 10002
#define IDC_GIFT_WEB_PAGE 10003

// ---- AVI capture ---------------------------------------------------------------
#define IDS_AVI_SAVE_TITLE 24853        // title of the save dialog
#define IDS_AVI_OLD_VFW 24855           // Video for Windows is older than 1.10
#define IDS_FIT_TO_PICTURE 24621        // the print preview panes' right-button menu item
// Controls of the capture dialog "Pages".
#define IDC_CAPTURE_RECORD 321
#define IDC_CAPTURE_STOP 305
#define IDC_CAPTURE_STEP 501            // sliders
#define IDC_CAPTURE_WIDTH 504
#define IDC_CAPTURE_HEIGHT 505
#define IDC_CAPTURE_SCALE 506
#define IDC_CAPTURE_STEP_TEXT 701       // texts
#define IDC_CAPTURE_FRAMES_TEXT 702
#define IDC_CAPTURE_FAILED 703
#define IDC_CAPTURE_WIDTH_TEXT 704
#define IDC_CAPTURE_HEIGHT_TEXT 705
#define IDC_CAPTURE_SCALE_TEXT 706
#define IDC_CAPTURE_WIDTH_LABEL 1504    // labels beside the size sliders
#define IDC_CAPTURE_HEIGHT_LABEL 1505
#define IDC_CAPTURE_SCALE_LABEL 1506
