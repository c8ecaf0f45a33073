// Printing the active picture: the print command opens the print preview
// with the picture placed on the single page, the user moves and sizes the
// placement with the mouse on the preview's panes (or snaps it to the
// picture's proportions from the right-button menu), and the preview prints
// the page as it shows it.
#pragma once
#include <windows.h>

#include <optional>

#include "app/output/print_layout.h"

namespace quillo {

// Command CMD_PRINT_PREVIEW for the active `document` (may be null). With a
// preview already open it is brought to the front. Otherwise, with a picture
// and a printer, the preview opens over the main frame, which is hidden
// while it is open. Without a picture or a printer nothing happens.
void OpenPrintPreview(HWND document);

// The open preview frame, or null.
HWND PrintPreviewFrame();

// Where the picture lies on the page (page units) while a preview is open.
std::optional<LayoutRect> CurrentPlacement();

}  // namespace quillo
