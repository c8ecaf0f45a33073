#include "effect_run.h"

#include "contracts/dib_format.h"
#include "contracts/dib_services.h"
#include "contracts/plugin_contract.h"
#include "dialog_window.h"
#include "plugin_module.h"

namespace quillo {

int RunEffectSession(EffectSession* session, const EffectCall& call) {
  HWND ownerWindow = call.ownerWindow, viewWindow = call.viewWindow;
  HGLOBAL* imageHandle = call.imageHandle;
  HWND* dialogOut = call.dialogOut;
  if (dialogOut) *dialogOut = nullptr;
  if (!imageHandle || !IsWorkablePicture(*imageHandle)) {
    MessageBeep(0);
    delete session;
    return 0;
  }
  HGLOBAL live = *imageHandle;
  char* liveDib = static_cast<char*>(GlobalLock(live));
  if (!liveDib) {
    MessageBeep(0);
    delete session;
    return 0;
  }
  HGLOBAL backup = DuplicateDIB(live, 1);
  char* backupDib = backup ? static_cast<char*>(GlobalLock(backup)) : nullptr;
  if (!backupDib) {
    if (backup) DestroyDIB(backup);
    GlobalUnlock(live);
    delete session;
    return 0;
  }

  session->imageHandle = imageHandle;
  session->liveHandle = live;
  session->backupHandle = backup;
  session->width = DIBWidth(liveDib);
  session->height = DIBHeight(liveDib);
  session->stride = int(Stride24(session->width));
  session->liveBits = reinterpret_cast<uint8_t*>(FindDIBBits(liveDib));
  session->backupBits = reinterpret_cast<uint8_t*>(FindDIBBits(backupDib));
  session->area = SettleArea(call.selection, session->width, session->height);
  session->ownerWindow = ownerWindow;
  session->viewWindow = viewWindow;
  session->notifyMessage = call.notifyMessage;
  session->maskAddress = call.alphaMask;
  session->originalMask = call.alphaMask ? *call.alphaMask : nullptr;
  session->Setup();

  if (viewWindow && session->ResetsViewTool()) SendMessageA(viewWindow, WM_RBUTTONDOWN, 0, 0);
  HWND dialog = CreateDialogParamA(PluginResources(), session->TemplateName(), ownerWindow,
                                   EffectSession::DialogProc, LPARAM(session));
  if (dialogOut) *dialogOut = dialog;
  if (!dialog) {
    MessageBeep(0);
    GlobalUnlock(backup);
    DestroyDIB(backup);
    GlobalUnlock(live);
    delete session;
    return 0;
  }
  ShowWindow(dialog, SW_SHOW);

  if (viewWindow) {
    SendMessageA(viewWindow, VM_EFFECT_ACTIVE, 0, 1);
    SendMessageA(viewWindow, VM_SET_TOOL_WINDOW, TOOL_MOUSE_MESSAGE, LPARAM(dialog));
    if (session->SharesRectangle())
      SendMessageA(viewWindow, VM_SHARE_RECT, 0, LPARAM(session->sharedRect));
  }
  HCURSOR cursor = nullptr;
  if (const char* name = session->ViewCursorName(); name && viewWindow) {
    cursor = LoadCursorA(PluginResources(), name);
    if (cursor) SendMessageA(viewWindow, VM_SET_CURSOR, WPARAM(cursor), 0);
  }

  RunDialogLoop(session->dialogWindow);

  if (viewWindow) SendMessageA(viewWindow, VM_EFFECT_ACTIVE, 0, 0);
  GlobalUnlock(live);
  GlobalUnlock(backup);

  const int accepted = session->accepted ? 1 : 0;
  if (session->replacement) {
    // A new picture was made: accepting keeps it, cancelling brings back
    // the picture and mask passed in, untouched.
    DestroyDIB(backup);
    if (accepted) {
      DestroyDIB(live);
      if (session->originalMask && session->maskAddress) FreeAlpha(session->originalMask);
    } else {
      DestroyDIB(session->replacement);
      if (session->replacementMask) FreeAlpha(session->replacementMask);
      *imageHandle = live;
      if (session->maskAddress) *session->maskAddress = session->originalMask;
    }
  } else if (accepted) {
    DestroyDIB(backup);
  } else {
    DestroyDIB(live);
    *imageHandle = backup;
  }
  if (dialogOut) *dialogOut = nullptr;
  if (viewWindow) SendMessageA(viewWindow, VM_REDRAW, 0, 0);
  if (cursor) {
    SendMessageA(viewWindow, VM_SET_CURSOR, 0, 0);
    DestroyCursor(cursor);
  }
  if (session->ChangesSize() && ownerWindow) SendMessageA(ownerWindow, call.notifyMessage, 1, 0);
  session->AfterClose();
  delete session;
  return accepted;
}

}  // namespace quillo
