#pragma once
// The skinned bit button: a skinned push button with the glyph (Kind, Glyph) and
// caption laid out by the bit-button rules over a face from the skin section.
#include <memory>
#include <string>

#include "forms/BitBtn.h"
#include "skin/controls/acButtonCommon.h"
#include "skin/paint/sFade.h"
#include "skin/runtime/sCommonData.h"

class TacButtonLogic;

class TsBitBtn : public TBitBtn, public IacSkinnedControl {
public:
  // What scripts can read of it; registered when its layer's engine part starts.
  static void RegisterDriverProperties();
  explicit TsBitBtn(TComponent* owner);
  ~TsBitBtn() override;
  std::string ClassName() const override { return "TsBitBtn"; }
  TsCommonData* SkinData() override { return SkinData_.get(); }

  bool ShowFocus() const;
  void SetShowFocus(bool value);
  int FocusMargin() const;
  void SetFocusMargin(int value);
  bool Down() const;
  void SetDown(bool value);
  TsDisabledKind DisabledKind() const;
  void SetDisabledKind(TsDisabledKind value);
  TacAnimatEvents AnimatEvents() const;
  void SetAnimatEvents(TacAnimatEvents value);
  TAlignment Alignment() const { return Alignment_; }
  void SetAlignment(TAlignment value);
  TAlignment TextAlignment() const { return TextAlignment_; }
  void SetTextAlignment(TAlignment value);
  int Blend() const { return Blend_; }
  void SetBlend(int value);  // clamped to 0..100
  TsDisabledGlyphKind DisabledGlyphKind() const { return DisabledGlyphKind_; }
  void SetDisabledGlyphKind(TsDisabledGlyphKind value);
  bool Grayed() const { return Grayed_; }
  void SetGrayed(bool value);
  bool Reflected() const { return Reflected_; }
  void SetReflected(bool value);
  bool ShowCaption() const { return ShowCaption_; }
  void SetShowCaption(bool value);
  bool DrawOverBorder() const { return DrawOverBorder_; }
  void SetDrawOverBorder(bool value);
  int TextOffset() const { return TextOffset_; }
  void SetTextOffset(int value);
  TBmpPaintEvent OnPaint;

  TacPaintState PaintState() const;
  int RenderCount() const;
  TsFadeTimer* FadeTimer() const;
  // Where the last rebuild put the glyph and the caption (cache coordinates).
  TRect LastGlyphRect() const { return LastGlyphRect_; }
  TRect LastCaptionRect() const { return LastCaptionRect_; }

  void WndProc(TMessage& message) override;

protected:
  void Loaded() override;
  void Paint() override;
  virtual void RenderFace(TacPaintState state);

private:
  void LookChanged();

  std::unique_ptr<TsCommonData> SkinData_;
  std::unique_ptr<TacButtonLogic> Logic_;
  TAlignment Alignment_ = taCenter;
  TAlignment TextAlignment_ = taCenter;
  int Blend_ = 0;
  TsDisabledGlyphKind DisabledGlyphKind_{dgBlended};
  bool Grayed_ = false;
  bool Reflected_ = false;
  bool ShowCaption_ = true;
  bool DrawOverBorder_ = true;
  int TextOffset_ = 0;
  TRect LastGlyphRect_;
  TRect LastCaptionRect_;
};
