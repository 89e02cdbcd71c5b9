#pragma once
// The push button with a glyph. Kind bkOK and bkCancel bring the program's own
// two-cell 16-colour glyphs (normal, disabled), their modal results and, when
// no caption was given, the standard captions.
#include "forms/Button.h"
#include "forms/ButtonGlyph.h"
#include "platform/gfx/Bitmap.h"

enum TBitBtnKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };

class TBitBtn : public TButton {
public:
  explicit TBitBtn(TComponent* owner);
  std::string ClassName() const override { return "TBitBtn"; }

  TBitBtnKind Kind() const { return Kind_; }
  void SetKind(TBitBtnKind kind);
  TBitmap& Glyph() { return Glyph_; }
  void SetGlyph(const TBitmap& glyph);
  int NumGlyphs() const { return NumGlyphs_; }
  void SetNumGlyphs(int n);
  TButtonLayout Layout() const { return Layout_; }
  void SetLayout(TButtonLayout layout);
  int Margin() const { return Margin_; }
  void SetMargin(int margin);
  int Spacing() const { return Spacing_; }
  void SetSpacing(int spacing);

  // The glyph a kind supplies (36 x 18, 4 bits per pixel; empty for bkCustom).
  static TBitmap KindGlyph(TBitBtnKind kind);

protected:
  void PaintContent(TRect rect, bool enabled) override;

private:
  TBitBtnKind Kind_ = bkCustom;
  TBitmap Glyph_;
  int NumGlyphs_ = 1;
  TButtonLayout Layout_ = blGlyphLeft;
  int Margin_ = -1;
  int Spacing_ = 4;
};
