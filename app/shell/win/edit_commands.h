// The picture editing commands of the frame: crop, grey and lightness grey,
// the six transforms, the mask commands, copy, paste and new image. Each
// works on the active document's current undo slot and reports failures
// with strings of the resource module.
#pragma once
#include <windows.h>

namespace quillo {

// Runs `command` when it is one of the editing commands, with `document`
// the active document window (may be null: commands that need one beep).
// Returns false for every other command, doing nothing.
bool OnEditCommand(HWND frame, int command, HWND document);

// ---- Pieces of the editing commands (edit_commands.cpp, clipboard_commands.cpp,
// new_image_dialog.cpp) ---------------------------------------------------

// Opens `image` and `mask` (both taken over; the mask may be null) in a new
// document window titled `title` and refreshes the thumbnail pane and the
// tool buttons. Returns the window, or null with both freed.
HWND OpenPictureWindow(HGLOBAL image, LPBYTE mask, const char* title);

// Copy (0x7114): the selection, or the whole picture, onto the clipboard:
// as CF_BITMAP without a mask, as a "BEXA_RGBA" block with one.
void CopyPicture(HWND frame, HWND document);
// Paste (0x7115): CF_BITMAP or a sound "BEXA_RGBA" block into a new window
// titled "Noname"; anything else is ignored.
void PastePicture(HWND frame);
// The registered clipboard format "BEXA_RGBA".
UINT RgbaClipboardFormat();

// New image (0x7116): dialog "Create" of the resource module, then a new
// window "Noname" filled with the chosen colour.
void CreateNewPicture(HWND frame);
// The fill colour of new pictures: the Create dialog starts with it, its
// colour button (105, the standard colour dialog) changes it, and OK keeps
// the choice for the next time. White at start.
COLORREF NewImageColour();
void SetNewImageColour(COLORREF colour);

}  // namespace quillo
