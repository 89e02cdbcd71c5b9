#pragma once
// The skinned group box ("GROUPBOX"): the frame comes from the section's border
// mask, the caption sits in a band cut out of the frame's top edge, over what lies
// behind the box or over a section of its own (CaptionSkin). The face is rebuilt on
// every paint, since most of it is the parent's image showing through.
#include <memory>
#include <string>

#include "forms/GroupBox.h"
#include "skin/runtime/acSkinCommands.h"
#include "skin/runtime/sCommonData.h"

enum TsCaptionLayout { clTopLeft, clTopCenter, clTopRight };
// Reading order: anything but bdLeftToRight reads right to left (the caption's
// left and right layouts swap sides).
enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };

class TsGroupBox : public TGroupBox, public IacSkinnedControl, private TacSkinCommands {
public:
  explicit TsGroupBox(TComponent* owner);
  ~TsGroupBox() override;
  std::string ClassName() const override { return "TsGroupBox"; }
  TsCommonData* SkinData() override { return SkinData_.get(); }

  // --- Published ------------------------------------------------------------------
  TsCaptionLayout CaptionLayout() const { return CaptionLayout_; }
  void SetCaptionLayout(TsCaptionLayout value);
  // Moves the caption band and the client area down (positive) or the caption up.
  int CaptionYOffset() const { return CaptionYOffset_; }
  void SetCaptionYOffset(int value);
  // A section painted behind the caption instead of the default.
  const std::string& CaptionSkin() const { return CaptionSkin_; }
  void SetCaptionSkin(const std::string& value);
  // A caption band narrower than twice this widens by it on both sides.
  int BevelWidth() const { return BevelWidth_; }
  void SetBevelWidth(int value);
  TBiDiMode BiDiMode() const { return BiDiMode_; }
  void SetBiDiMode(TBiDiMode value);
  bool UseRightToLeftReading() const { return BiDiMode_ != bdLeftToRight; }

  // --- Painting ---------------------------------------------------------------------
  // Where the caption goes, in the box's coordinates.
  TRect CaptionRect();
  // Builds the whole face into the skin data's cache.
  void PrepareCache();
  void PaintTo(HDC dc, bool notify);
  int RenderCount() const { return RenderCount_; }

  void WndProc(TMessage& message) override;

protected:
  void Loaded() override;
  void AdjustClientRect(TRect& rect) const override;

private:
  void PassToChildren(const TMessage& message) override;
  void ShowSkinChange(TacCommand command) override;
  void ParentPainted() override;
  bool AnswerBackground(TMessage& message) override;
  bool OwnCommand(TacCommand command, TMessage& message) override;
  int SkinCaptionHeight() const;
  void LookChanged();

  std::unique_ptr<TsCommonData> SkinData_;
  TsCaptionLayout CaptionLayout_ = clTopLeft;
  int CaptionYOffset_ = 0;
  std::string CaptionSkin_;
  int BevelWidth_ = 1;
  TBiDiMode BiDiMode_ = bdLeftToRight;
  int RenderCount_ = 0;
};
