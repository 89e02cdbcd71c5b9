#pragma once
// Skinned labels: window-less captions that take their font colour from the skin
// (the first ancestor whose section is not mostly see-through), optionally drawn
// over a section of their own (SkinSection), and the caption label an edit can carry
// (TsBoundLabel owning a TsEditLabel).
#include <memory>
#include <string>

#include "forms/CustomLabel.h"
#include "forms/Font.h"
#include "skin/runtime/acSkinCommands.h"

class TsBoundLabel;

class TsCustomLabel : public TCustomLabel, private TacSkinCommands {
public:
  // Lets the driver report the section it paints with (its layer's engine part).
  static void RegisterSkinReporter();
  explicit TsCustomLabel(TComponent* owner);
  std::string ClassName() const override { return "TsCustomLabel"; }

  // A section painted behind the text ("BAR" for the about window's credit line).
  const std::string& SkinSection() const { return SkinSection_; }
  void SetSkinSection(const std::string& value);
  // Whether the font colour follows the skin (TsLabel publishes it; on by default).
  bool UseSkinColor() const { return UseSkinColor_; }
  void SetUseSkinColor(bool value);

  // Takes Font.Color from the skin as a paint would (tests and the driver ask for it).
  void UpdateSkinColor();
  // The index of SkinSection in the default manager's skin, -1 when none.
  int SectionIndex() const;

  void WndProc(TMessage& message) override;

protected:
  void Paint() override;
  void DoDrawText(TRect& rect, unsigned flags) override;

private:
  // A label has no skin data: it follows the default manager's announcements only.
  void ShowSkinChange(TacCommand command) override;

  std::string SkinSection_;
  bool UseSkinColor_ = true;
};

class TsLabel : public TsCustomLabel {
public:
  explicit TsLabel(TComponent* owner) : TsCustomLabel(owner) {}
  std::string ClassName() const override { return "TsLabel"; }
};

// The caption label of an edit; its bound label learns when it goes.
class TsEditLabel : public TsLabel {
public:
  explicit TsEditLabel(TComponent* owner) : TsLabel(owner) {}
  ~TsEditLabel() override;
  std::string ClassName() const override { return "TsEditLabel"; }
  TsBoundLabel* BoundLabel = nullptr;
};

// Where a bound label sits against its edit.
enum TsLabelLayout { sclLeft, sclTopLeft, sclTopCenter, sclTopRight };

// The optional caption of a skinned edit: while Active it owns a TsEditLabel placed
// beside or above the edit.
class TsBoundLabel {
public:
  explicit TsBoundLabel(TWinControl* edit);
  ~TsBoundLabel();
  TsBoundLabel(const TsBoundLabel&) = delete;
  TsBoundLabel& operator=(const TsBoundLabel&) = delete;

  bool Active() const { return Active_; }
  void SetActive(bool value);
  // Empty: the edit's name.
  const std::string& Caption() const { return Caption_; }
  void SetCaption(const std::string& value);
  int Indent() const { return Indent_; }
  void SetIndent(int value);
  TFont& Font() { return Font_; }
  TsLabelLayout Layout() const { return Layout_; }
  void SetLayout(TsLabelLayout value);
  // Above 0: fixed width with word wrap, at least as tall as the edit.
  int MaxWidth() const { return MaxWidth_; }
  void SetMaxWidth(int value);
  bool UseSkinColor() const { return UseSkinColor_; }
  void SetUseSkinColor(bool value);

  TsEditLabel* Label() const { return Label_; }
  // Places the label against the edit again (after the edit moved or resized).
  void UpdatePosition();
  // The label is being destroyed by its owner.
  void LabelDestroyed();

private:
  void Apply();

  TWinControl* Edit_;
  TsEditLabel* Label_ = nullptr;
  bool Active_ = false;
  std::string Caption_;
  int Indent_ = 0;
  TFont Font_;
  TsLabelLayout Layout_ = sclLeft;
  int MaxWidth_ = 0;
  bool UseSkinColor_ = true;
};
