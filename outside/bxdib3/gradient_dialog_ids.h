// Resource and control identifiers of the gradient dialog (shared by the
// resource script, the dialog code and the tests).
#pragma once

#define IDD_GRADIENT 100
#define IDC_GRADIENT_LIST 1001
#define IDC_GRADIENT_STOP 1002
#define IDC_GRADIENT_COLOUR 1003
#define IDC_GRADIENT_REVERSE 1004
#define IDC_GRADIENT_PREVIEW 1005
