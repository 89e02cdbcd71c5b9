#pragma once
// The skinned bit button: a skinned push button with the glyph (Kind, Glyph) and
// caption laid out by the bit-button rules over a face from the skin section.
#include <memory>
#include <string>

#include "forms/BitBtn.h"
#include "skin/controls/acButtonCommon.h"
#include "skin/controls/acButtonLook.h"
#include "skin/controls/acPushButtonProperties.h"
#include "skin/runtime/sCommonData.h"

class TsBitBtn : public TBitBtn,
                 public IacSkinnedControl,
                 public TacPushButtonProperties,
                 public TacButtonLookProperties {
public:
  // What scripts can read of it; registered when its layer's engine part starts.
  static void RegisterDriverProperties();
  explicit TsBitBtn(TComponent* owner);
  ~TsBitBtn() override;
  std::string ClassName() const override { return "TsBitBtn"; }
  TsCommonData* SkinData() override { return SkinData_.get(); }

  TBmpPaintEvent OnPaint;

  // Where the last rebuild put the glyph and the caption (cache coordinates).
  TRect LastGlyphRect() const { return LastGlyphRect_; }
  TRect LastCaptionRect() const { return LastCaptionRect_; }

  void WndProc(TMessage& message) override;

protected:
  void Loaded() override;
  void Paint() override;
  virtual void RenderFace(TacPaintState state);

private:
  void ButtonLookChanged(bool evenHidden) override;

  std::unique_ptr<TsCommonData> SkinData_;
  TRect LastGlyphRect_;
  TRect LastCaptionRect_;
};
