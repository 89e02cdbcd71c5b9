#pragma once
// The skinned panel ("PANEL"): the bars and areas of the windows. A panel whose look
// is more than a plain colour keeps its finished face in the skin data's cache and
// hands it to its children when they ask what lies behind them (command 34); a plain
// or custom-coloured panel paints straight into its window and lets its children
// reach its parent. After painting, it tells its windowed children (command 6).
#include <functional>
#include <memory>
#include <string>

#include "forms/CustomPanel.h"
#include "forms/Forward.h"
#include "skin/runtime/acSkinCommands.h"
#include "skin/runtime/sCommonData.h"

using TPaintEvent = std::function<void(TObject* sender, TCanvas& canvas)>;

class TsPanel : public TPanel, public IacSkinnedControl, private TacSkinCommands {
public:
  explicit TsPanel(TComponent* owner);
  ~TsPanel() override;
  std::string ClassName() const override { return "TsPanel"; }
  TsCommonData* SkinData() override { return SkinData_.get(); }

  // Called with the face's canvas after the section and the caption were drawn.
  TPaintEvent OnPaint;

  // Whether the face is kept in the cache (the look is not a plain colour, or the
  // panel is hot) rather than painted straight into the window.
  bool UsesCache() const;
  // Rebuilds the cached face now (section, caption, OnPaint) and clears Dirty.
  void RebuildCache();
  // Paints the panel into dc; notify sends command 6 to the windowed children after.
  void PaintTo(HDC dc, bool notify);
  // A caption wider than its room is drawn in smaller sizes of the same font until it
  // fits (Font itself is left as it is); off by default.
  bool ShrinkCaption() const { return ShrinkCaption_; }
  void SetShrinkCaption(bool value);
  // The height (as Font.Height) the caption is drawn in within a room that wide:
  // Font's own, or a smaller one.
  int CaptionFontHeight(int room);
  // How many times the face was rebuilt (what a warm paint avoids).
  int RenderCount() const { return RenderCount_; }

  void WndProc(TMessage& message) override;

protected:
  void Loaded() override;
  // The caption in the section's font colours, vertically centred in the panel.
  void WriteText(TRect rect, TDeviceContext& dc);
  // The client rectangle less bevels and border, where the caption goes.
  TRect TextRect() const;

private:
  void SkinChanging(TacCommand command) override;
  void PassToChildren(const TMessage& message) override;
  void ShowSkinChange(TacCommand command) override;
  void ParentPainted() override;
  bool AnswerBackground(TMessage& message) override;
  bool OwnCommand(TacCommand command, TMessage& message) override;
  void PaintDirect(HDC dc);
  void CopyFaceToWindow(const TBitmap& face, HDC dc);
  void NotifyChildren();

  std::unique_ptr<TsCommonData> SkinData_;
  int RenderCount_ = 0;
  bool ShrinkCaption_ = false;
};

// Copies a finished face into a window's context except where opaque children
// stand (windowed ones and opaque windowless ones), then paints the windowless
// children on top. See-through windowless children (labels) get the face under them.
void CopyFaceAroundChildren(TWinControl* control, const TBitmap& face, HDC dc);
// Whether a container must wait before painting: its own flag, or a skinned
// container parent that has not painted yet (it sends command 6 when it has). Other
// parents never send command 6, so they are not waited for.
bool ContainerSuspended(TsCommonData& data);
// Sends command 6 to every showing windowed child of control.
void NotifyChildrenPainted(TWinControl* control);
// A skinned container's WM_PAINT: into the context the message brings (the
// children are not told), or between BeginPaint and EndPaint (they are told).
void PaintContainerMessage(TWinControl* control, TMessage& message, const std::function<void(HDC dc, bool notify)>& paintTo);
// The parent of a waiting container has painted (command 6): the container waits
// no longer unless a skinned container above still waits, and then paints at once.
void ResumeContainer(TWinControl* control, TsCommonData& data);
// Whether a skin command comes from the container's own skin manager (LParam names it).
bool FromOwnManager(const TMessage& message, TsCommonData& data);

// What scripts can read of a skinned face: its custom font, caption colour and fades.
void RegisterFaceDriverProperties();
