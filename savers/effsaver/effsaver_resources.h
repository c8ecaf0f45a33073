// Identifiers of the resource module EffSaver.R: the configuration dialog's
// texts and the effect chooser's dialog.
#pragma once

#define IDS_SETUP_OK 1
#define IDS_SETUP_CANCEL 2
#define IDS_SETUP_CHOOSE_EFFECT 1000
#define IDS_SETUP_CHOOSE_PICTURE 1001
#define IDS_SETUP_TIME_LABEL 1002
#define IDS_SETUP_TITLE 1003
#define IDS_SETUP_RANDOM 1004
#define IDS_SETUP_FIXED 1005
#define IDS_SETUP_GROUP 1006
#define IDS_CHOOSER_ALL 1010
#define IDS_CHOOSER_NO_CATALOGUE 1011

// The effect chooser: dialog "Plug".
#define IDC_CHOOSER_EFFECTS 1501   // owner-drawn effect list
#define IDC_CHOOSER_PREVIEW 1502   // example picture
#define IDC_CHOOSER_CATEGORIES 1503
#define IDC_CHOOSER_CLOSE 1504     // moves with the bottom edge
