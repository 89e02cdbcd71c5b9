#include "forms/Font.h"

namespace {
// MulDiv with rounding half away from zero.
int MulDivRound(int a, int b, int c) {
  long long p = static_cast<long long>(a) * b;
  long long q = p >= 0 ? (p + c / 2) / c : -((-p + c / 2) / c);
  return static_cast<int>(q);
}
}  // namespace

void TFont::SetName(const std::string& name) {
  if (name.empty() || name == Name_) return;
  Name_ = name;
  Changed();
}

void TFont::SetHeight(int height) {
  if (height == Height_) return;
  Height_ = height;
  Changed();
}

int TFont::Size() const { return -MulDivRound(Height_, 72, kScreenPixelsPerInch); }

void TFont::SetSize(int points) { SetHeight(-MulDivRound(points, kScreenPixelsPerInch, 72)); }

void TFont::SetStyle(TFontStyles style) {
  if (style == Style_) return;
  Style_ = style;
  Changed();
}

void TFont::SetColor(TColor color) {
  if (color == Color_) return;
  Color_ = color;
  Changed();
}

void TFont::SetCharset(int charset) {
  if (charset == Charset_) return;
  Charset_ = charset;
  Changed();
}

void TFont::SetPitch(TFontPitch pitch) {
  if (pitch == Pitch_) return;
  Pitch_ = pitch;
  Changed();
}

TLogFont TFont::LogFont() const {
  TLogFont lf;
  lf.FaceName = Name_;
  lf.Height = Height_;
  lf.Weight = Style_.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
  lf.Italic = Style_.Contains(fsItalic);
  lf.Underline = Style_.Contains(fsUnderline);
  lf.StrikeOut = Style_.Contains(fsStrikeOut);
  return lf;
}

void TFont::Assign(const TPersistent& source) {
  if (auto* f = dynamic_cast<const TFont*>(&source)) {
    if (*f == *this) return;
    Name_ = f->Name_;
    Height_ = f->Height_;
    Style_ = f->Style_;
    Color_ = f->Color_;
    Charset_ = f->Charset_;
    Pitch_ = f->Pitch_;
    Changed();
    return;
  }
  TPersistent::Assign(source);
}

void TFont::Changed() {
  if (OnChange) OnChange(this);
}
