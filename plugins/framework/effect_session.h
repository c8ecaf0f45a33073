// The effect record and the mechanics every effect dialog shares: set-up of
// the image and its backup, the modeless dialog with preview, sliders,
// progress and stop, apply passes over the real picture, accept or cancel,
// and the settlement of the caller's image handle.
//
// An effect derives from EffectSession, says which dialog template it uses
// and what its controls mean, and supplies its pixel loop for a row range;
// RunEffect (effect_run.h) does everything else.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>

#include "imaging/basics/effect_area.h"
#include "imaging/basics/pixel_pass.h"

namespace quillo {

class EffectSession {
 public:
  virtual ~EffectSession();

  // --- What the effect says about itself -------------------------------
  virtual const char* TemplateName() const = 0;
  // The dialog has a preview control (item 316) fed by preview passes.
  virtual bool HasPreview() const { return true; }
  // The apply pass reports progress every 16 rows and can be stopped.
  virtual bool ApplyIsStoppable() const { return true; }
  // Beep when a pass was left by a stop.
  virtual bool BeepsOnStop() const { return false; }
  // Sends the view the address of the shared rectangle after set-up.
  virtual bool SharesRectangle() const { return false; }
  // Restores and saves "DlgWinPos".
  virtual bool RemembersPosition() const { return true; }
  // The effect makes pictures of another size: after each apply the owner
  // hears the notify message with 1 and the view re-reads the size; the
  // owner hears 1 again when the dialog has closed.
  virtual bool ChangesSize() const { return false; }
  // Sends the view a right-button press before the dialog opens, so it
  // drops whatever the user was dragging.
  virtual bool ResetsViewTool() const { return false; }
  // Cursor of the resource module shown over the view during the run.
  virtual const char* ViewCursorName() const { return nullptr; }

  // --- Effect hooks ------------------------------------------------------
  // Tables built once before the dialog opens.
  virtual void Setup() {}
  // Slider ranges, positions and button states at WM_INITDIALOG.
  virtual void InitControls(HWND dialog) {}
  // A slider moved to `position`: keep the parameter and write its label text.
  virtual void SliderChanged(int id, int position, char* label, size_t labelSize) {}
  // A check box or radio button was clicked.
  virtual void ButtonClicked(HWND dialog, int id) {}
  // Any other command (list boxes, combo boxes, buttons of the effect's
  // own), with its notification code; heard only while no pass runs.
  virtual void OtherCommand(HWND dialog, int id, int code, LPARAM lParam) {}
  // A mouse event the view forwarded: code 22220 .. 22224, position in
  // picture pixels, y counted from the top.
  virtual void ViewMouse(int code, int x, int y) {}
  // Read the option buttons that matter before a preview or apply pass.
  virtual void ReadOptions(HWND dialog) {}
  // A parameter changed (slider end, check box, radio): by default refresh
  // the preview; effects without a preview may work on the live image.
  virtual void ParameterChanged();
  // Build the pass's tables, then process rows [rowBegin, rowEnd).
  virtual void PreparePass(const PixelPass& pass) {}
  virtual void ProcessRows(const PixelPass& pass, int rowBegin, int rowEnd) {}
  // The whole pass: by default PreparePass, then the rows in runs up to
  // each row numbered a multiple of 16, with progress and a stop check
  // before each such row. Effects that work in stages (rows, then columns,
  // then channels) override it and call Checkpoint between their steps.
  // False when a stop ended it.
  virtual bool RunPass(const PixelPass& pass, bool withProgress);
  // Shows `percent` on the progress bar and dispatches waiting messages;
  // false when the user asked to stop.
  bool Checkpoint(int percent);
  // One stage of a pass: `work` over [begin, end) in runs up to each index
  // that is a multiple of `step`, with progress running fromPercent ..
  // toPercent and a stop check before each such index. False when stopped.
  bool RunStage(int begin, int end, int fromPercent, int toPercent, int step, bool withProgress,
                const std::function<void(int, int)>& work);
  // After the dialog closed and the caller's handle was settled.
  virtual void AfterClose() {}

  // --- Framework state (the record's common fields) ----------------------
  HWND dialogWindow = nullptr;
  HWND previewWindow = nullptr;
  uint8_t* previewTarget = nullptr;
  HGLOBAL previewTargetHandle = nullptr;
  HGLOBAL previewSource = nullptr;
  uint8_t* previewSourceBits = nullptr;
  int previewWidth = 0, previewHeight = 0, previewStride = 0;

  int width = 0, height = 0, stride = 0;
  uint8_t* liveBits = nullptr;    // target of apply passes
  uint8_t* backupBits = nullptr;  // source of apply passes
  EffectArea area;                // full-image area in bottom-up rows

  HWND ownerWindow = nullptr;
  HWND viewWindow = nullptr;
  UINT notifyMessage = 0;
  HGLOBAL* imageHandle = nullptr;
  HGLOBAL liveHandle = nullptr;
  HGLOBAL backupHandle = nullptr;

  BYTE** maskAddress = nullptr;   // the caller's mask pointer, or null
  BYTE* originalMask = nullptr;   // the mask passed in
  HGLOBAL replacement = nullptr;  // a new picture made by an apply, or null
  BYTE* replacementMask = nullptr;

  int32_t sharedRect[4] = {0, 0, 0, 0};
  int32_t busy = 0;
  int32_t stopRequested = 0;
  int32_t ready = 0;
  int32_t accepted = 0;

  // --- Passes (public so effects without a preview can run them) ---------
  void RunPreviewPass();
  void RunApplyPass();
  // Processes the full-image area into the live image at once, without
  // progress, then asks the view to redraw (effects that edit live).
  void RunLivePass();
  // Row loop with progress every 16 rows and a stop check; false if stopped.
  bool RunPixelLoop(const PixelPass& pass, bool withProgress);

  // For effects that make a new picture: `picture` (with `mask`, made for
  // it when the picture passed in has one) becomes the caller's picture at
  // once, replacing an earlier replacement. The picture and mask passed in
  // stay until the run ends: accepting frees them, cancelling puts them
  // back.
  void ReplacePicture(HGLOBAL picture, BYTE* mask);

  PixelPass FullPass() const;
  PixelPass PreviewPass() const;

  // Dialog procedure shared by every effect dialog.
  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void OnInitDialog(HWND dialog);
  void OnCommand(int id, int code, LPARAM lParam);
  void PreparePreview();
  void ReleasePreview();
  void Close(bool accept);
  void BeginPass(bool waitCursor);
  void EndPass(bool waitCursor);

  friend int RunEffectSession(EffectSession* session, const struct EffectCall& call);
};

}  // namespace quillo
