#pragma once
// The font property object of controls: face name, height (negative = character
// height in pixels at 96 dpi), style and colour, with a change event.
#include <string>

#include "forms/Object.h"
#include "forms/Sets.h"
#include "platform/gfx/FontTypes.h"
#include "platform/gfx/SystemColors.h"
#include "platform/gfx/Types.h"

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;
enum TFontPitch { fpDefault, fpVariable, fpFixed };

constexpr int kScreenPixelsPerInch = 96;

class TFont : public TPersistent {
public:
  TFont() = default;
  std::string ClassName() const override { return "TFont"; }

  const std::string& Name() const { return Name_; }
  void SetName(const std::string& name);
  int Height() const { return Height_; }
  void SetHeight(int height);
  // Points at 96 dpi, rounded as the classic framework rounds.
  int Size() const;
  void SetSize(int points);
  TFontStyles Style() const { return Style_; }
  void SetStyle(TFontStyles style);
  TColor Color() const { return Color_; }
  void SetColor(TColor color);
  int Charset() const { return Charset_; }
  void SetCharset(int charset);
  TFontPitch Pitch() const { return Pitch_; }
  void SetPitch(TFontPitch pitch);

  // The request handed to the device context.
  TLogFont LogFont() const;

  void Assign(const TPersistent& source) override;
  friend bool operator==(const TFont& a, const TFont& b) {
    return a.Name_ == b.Name_ && a.Height_ == b.Height_ && a.Style_ == b.Style_ && a.Color_ == b.Color_ &&
           a.Charset_ == b.Charset_ && a.Pitch_ == b.Pitch_;
  }

  TNotifyEvent OnChange;

protected:
  virtual void Changed();

private:
  std::string Name_ = "MS Sans Serif";
  int Height_ = -11;  // 8 pt
  TFontStyles Style_;
  TColor Color_ = clWindowText;
  int Charset_ = DEFAULT_CHARSET;
  TFontPitch Pitch_ = fpDefault;
};
