// Control identifiers of the saver's configuration dialog (the template
// belongs to the saver program, the procedure to the engine) and the
// command through which the effect chooser reports a choice.
#pragma once

#define IDC_SETUP_PICTURE 100       // choose the picture
#define IDC_SETUP_RANDOM 101        // random effects radio button
#define IDC_SETUP_FIXED 102         // the chosen effect radio button
#define IDC_SETUP_EFFECT_NAME 103   // name of the chosen effect
#define IDC_SETUP_EFFECT 104        // choose the effect
#define IDC_SETUP_EFFECT_CHOSEN 105 // command from the chooser, lParam = effect record
#define IDC_SETUP_GROUP 200
#define IDC_SETUP_TIME_LABEL 201
#define IDC_SETUP_TIME 202          // switch time drop-down list
