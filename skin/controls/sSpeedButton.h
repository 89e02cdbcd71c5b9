#pragma once
// The skinned speed button: a window-less button whose face comes from a skin
// section ("SPEEDBUTTON" unless SkinData names another). The face is kept in the
// skin data's cache and rebuilt only when dirty; showing it is one block copy, and
// hover and press changes cross-fade from the old face to the new one.
#include <memory>
#include <string>

#include "forms/SpeedButton.h"
#include "skin/controls/acButtonCommon.h"
#include "skin/controls/acButtonLook.h"
#include "skin/runtime/acSkinCommands.h"
#include "skin/paint/sFade.h"
#include "skin/runtime/sCommonData.h"

class TsSpeedButton : public TSpeedButton, public IacSkinnedControl, public TacButtonLookProperties, private TacSkinCommands {
public:
  // What scripts can read of it; registered when its layer's engine part starts.
  static void RegisterDriverProperties();
  explicit TsSpeedButton(TComponent* owner);
  ~TsSpeedButton() override;
  std::string ClassName() const override { return "TsSpeedButton"; }
  TsCommonData* SkinData() override { return SkinData_.get(); }

  // --- Published ------------------------------------------------------------------
  TToolButtonStyle ButtonStyle() const { return ButtonStyle_; }
  void SetButtonStyle(TToolButtonStyle value);
  // Hides the caption, which comes back as it was when shown again.
  void SetShowCaption(bool value);
  TBmpPaintEvent OnPaint;

  // --- Painting ---------------------------------------------------------------------
  // 0 normal, 1 hot, 2 pressed.
  virtual TacPaintState PaintState();
  // Rebuilds the face into the skin data's cache.
  virtual void RenderCache();
  // Rebuilds the face when dirty and copies it (or the fade frame) to the screen now.
  void UpdateFromCache();
  virtual void CaptionBounds(TRect& rect);
  virtual void GlyphBounds(TRect& rect);
  virtual int GlyphCellWidth() const;
  virtual int GlyphCellHeight() const;
  virtual void MeasureCaption(int& width, int& height);
  // 16 for a drop-down button, else 0.
  int ArrowWidth() const { return ButtonStyle_ == tbsDropDown ? 16 : 0; }
  // Margin + 3, or 0 when Margin is negative.
  int EffectiveMargin() const;
  // How many times the face was rebuilt (the cost a paint can avoid).
  int RenderCount() const { return RenderCount_; }
  // The running cross-fade (null when none).
  TsAnimTimer* FadeTimer() const { return Fade_.get(); }
  void StopCrossFade();

  // Marks the face dirty as well (the framework's glyph has no change event).
  void SetGlyph(const TBitmap& glyph);
  void SetBounds(int left, int top, int width, int height) override;

  void WndProc(TMessage& message) override;
  void Invalidate() override;
  void SetText(const std::string& text) override;

protected:
  void Loaded() override;
  void Paint() override;
  void MouseDown(TMouseBtn button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseBtn button, TShiftState shift, int x, int y) override;
  virtual void WriteCaption(TRect rect, unsigned flags);
  virtual void PaintCaption();
  virtual void PaintGlyph();
  virtual void PaintUnskinned(bool drawFrame);
  // A hover or press change: fade when wanted, else show the new face at once.
  void ChangeState(bool half, bool animate);
  void StartCrossFade(bool half);
  void PaintOverlappingSiblings();
  bool SkinnedAndReady() const;
  void SkinChanging(TacCommand command) override;
  void SkinChanged(TacCommand command) override;
  void ParentPainted() override;
  bool OwnCommand(TacCommand command, TMessage& message) override;
  void PaintArrowPart(const BackgroundInfo& bg);

private:
  void ButtonLookChanged(bool evenHidden) override { LookChanged(evenHidden); }
  struct TCaptionText;
  TCaptionText& CaptionText();
  void LookChanged(bool evenHidden = false);
  void UpdateOpaque();
  void CopyToScreen(const TBitmap& image);
  TacGlyphInfo GlyphInfo();

  std::unique_ptr<TsCommonData> SkinData_;
  std::unique_ptr<TsAnimTimer> Fade_;
  std::unique_ptr<TCaptionText> CaptionText_;
  TToolButtonStyle ButtonStyle_ = tbsButton;
  std::string SavedCaption_;
  bool OldDown_ = false;
  int OldNumGlyphs_ = 1;
  int OldSpacing_ = 4;
  int OldMargin_ = -1;
  TButtonLayout OldLayout_ = blGlyphLeft;
  int RenderCount_ = 0;
  bool SettingCaption_ = false;
};
