#pragma once
// The skinned check box ("CHECKBOX" unless SkinData names another): the section's
// background over the parent's pixels, the check mark from the skin's
// BOXCHECKED/BOXUNCHECKED/BOXGRAYED masks (or own glyphs), the caption in the
// section's font colours; rebuilt on every paint and cross-faded on changes.
#include <memory>
#include <string>

#include "forms/CheckBox.h"
#include "skin/controls/acButtonCommon.h"
#include "skin/runtime/acSkinCommands.h"
#include "skin/paint/sFade.h"
#include "skin/runtime/sCommonData.h"

class TsCheckBox : public TCheckBox, public IacSkinnedControl, private TacSkinCommands {
public:
  // What scripts can read of it; registered when its layer's engine part starts.
  static void RegisterDriverProperties();
  explicit TsCheckBox(TComponent* owner);
  ~TsCheckBox() override;
  std::string ClassName() const override { return "TsCheckBox"; }
  TsCommonData* SkinData() override { return SkinData_.get(); }

  int Margin() const { return Margin_; }
  void SetMargin(int value);
  int TextIndent() const { return TextIndent_; }
  void SetTextIndent(int value);
  bool ShowFocus() const { return ShowFocus_; }
  void SetShowFocus(bool value);
  bool ReadOnly() const { return ReadOnly_; }
  void SetReadOnly(bool value);
  bool WordWrap() const { return WordWrap_; }
  void SetWordWrap(bool value);
  bool AutoSize() const { return AutoSize_; }
  void SetAutoSize(bool value);
  // Own check glyphs: three frames side by side (normal, hot, pressed).
  TBitmap& GlyphChecked() { return GlyphChecked_; }
  void SetGlyphChecked(const TBitmap& glyph);
  TBitmap& GlyphUnChecked() { return GlyphUnChecked_; }
  void SetGlyphUnChecked(const TBitmap& glyph);
  // Image-list indexes; used only with an image list, which this program has none of.
  int ImgChecked() const { return ImgChecked_; }
  void SetImgChecked(int value);
  int ImgUnchecked() const { return ImgUnchecked_; }
  void SetImgUnchecked(int value);
  TsDisabledKind DisabledKind() const { return DisabledKind_; }
  void SetDisabledKind(TsDisabledKind value);
  TacAnimatEvents AnimatEvents() const { return AnimatEvents_; }
  void SetAnimatEvents(TacAnimatEvents value) { AnimatEvents_ = value; }

  void SetState(TCheckBoxState state) override;
  void Toggle() override;

  // 1 when hot (and not ReadOnly), else 0.
  TacPaintState PaintState() const;
  // Size of the check glyph (16 x 16 without any source).
  TSize CheckSize() const;
  // Where the last rebuild put the box and the caption (cache coordinates).
  TRect LastBoxRect() const { return LastBoxRect_; }
  TRect LastTextRect() const { return LastTextRect_; }
  bool Pressed() const { return Pressed_; }
  TsFadeTimer* FadeTimer() const { return Fade_; }
  void RenderFace();
  void DoAutoSize();

  void WndProc(TMessage& message) override;

protected:
  void Loaded() override;
  void Paint() override;
  void MouseDown(TMouseBtn button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseBtn button, TShiftState shift, int x, int y) override;
  void ControlKeyDown(WORD key, TShiftState shift) override;
  void ControlKeyUp(WORD key, TShiftState shift) override;

private:
  void SkinChanging(TacCommand command) override;
  void SkinChanged(TacCommand command) override;
  void ParentPainted() override;
  bool OwnCommand(TacCommand command, TMessage& message) override;
  void SizeChanged();
  int CheckMaskIndex() const;
  void DrawCheck(TRect box, TacPaintState frame);
  TSize MeasureText(int available);
  void Change(bool half, TacAnimatEvent event);

  std::unique_ptr<TsCommonData> SkinData_;
  TsFadeTimer* Fade_ = nullptr;
  int Margin_ = 2;
  int TextIndent_ = 0;
  bool ShowFocus_ = true;
  bool ReadOnly_ = false;
  bool WordWrap_ = false;
  bool AutoSize_ = true;
  TBitmap GlyphChecked_;
  TBitmap GlyphUnChecked_;
  int ImgChecked_ = -1;
  int ImgUnchecked_ = -1;
  TsDisabledKind DisabledKind_{dkBlended};
  TacAnimatEvents AnimatEvents_{aeGlobalDef};
  bool Pressed_ = false;
  TRect LastBoxRect_;
  TRect LastTextRect_;
};
