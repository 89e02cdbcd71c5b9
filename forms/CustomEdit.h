#pragma once
// The single-line text box and the editing core the memo builds on: caret,
// selection, keyboard and mouse editing, clipboard, MaxLength, PasswordChar.
// Text is UTF-8 outside and code points inside; positions count code points.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "forms/Canvas.h"
#include "forms/CustomPanel.h"
#include "forms/WinControl.h"
#include "platform/gfx/Forward.h"
#include "platform/win/Messages.h"

enum TBevelKind { bkNone, bkTile, bkSoft, bkFlat };
enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

class TCustomEdit : public TCustomControl {
public:
  explicit TCustomEdit(TComponent* owner);
  ~TCustomEdit() override;
  std::string ClassName() const override { return "TCustomEdit"; }
  // Without a PopupMenu of its own, an edit offers the standard editing commands.
  TPopupMenu* ContextMenu() override;

  void SetText(const std::string& text) override;
  int MaxLength() const { return MaxLength_; }
  void SetMaxLength(int value);
  char32_t PasswordChar() const { return PasswordChar_; }
  void SetPasswordChar(char32_t value);
  bool ReadOnly() const { return ReadOnly_; }
  void SetReadOnly(bool value) { ReadOnly_ = value; }
  bool Modified() const { return Modified_; }
  void SetModified(bool value) { Modified_ = value; }
  bool AutoSelect() const { return AutoSelect_; }
  void SetAutoSelect(bool value) { AutoSelect_ = value; }
  bool HideSelection() const { return HideSelection_; }
  void SetHideSelection(bool value);
  TBorderStyle BorderStyle() const { return BorderStyle_; }
  void SetBorderStyle(TBorderStyle value);
  bool Ctl3D() const { return Ctl3D_; }
  void SetCtl3D(bool value);
  TBevelKind BevelKind() const { return BevelKind_; }
  void SetBevelKind(TBevelKind value);
  // The bevels drawn while BevelKind is set (bvNone: that bevel is absent).
  TBevelCut BevelInner() const { return BevelInner_; }
  void SetBevelInner(TBevelCut value);
  TBevelCut BevelOuter() const { return BevelOuter_; }
  void SetBevelOuter(TBevelCut value);
  TEditCharCase CharCase() const { return CharCase_; }
  void SetCharCase(TEditCharCase value);

  // Selection in code points; SelStart is where the selection begins.
  int SelStart() const;
  void SetSelStart(int value);
  int SelLength() const;
  void SetSelLength(int value);
  std::string SelText() const;
  // Replaces the selection (MaxLength applies).
  void SetSelText(const std::string& text);
  void SelectAll();
  void ClearSelection();
  void CopyToClipboard();
  void CutToClipboard();
  void PasteFromClipboard();
  void Clear() { SetText(""); }
  // Caret position (code points).
  int CaretPos() const { return Caret_; }
  int TextLength() const { return static_cast<int>(Chars_.size()); }
  // Characters measured so far: each is measured once, and again only when the
  // text before it, the font or the password character changes.
  long MeasuredChars() const { return Measured_; }

  TNotifyEvent OnChange;
  void WndProc(TMessage& message) override;

protected:
  void CreateParams(TCreateParams& params) override;
  void Paint() override;
  void MouseDown(TMouseBtn button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseBtn button, TShiftState shift, int x, int y) override;
  void ControlKeyDown(WORD key, TShiftState shift) override;
  void ControlKeyPress(char32_t key) override;
  LRESULT DialogCode() const override { return DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_HASSETSEL; }
  virtual void Change();

  // Layout hooks the memo replaces.
  virtual bool IsMultiLine() const { return false; }
  virtual int HitTest(int x, int y);
  virtual void MoveVertical(int lines, bool extend);
  virtual int LineStartOf(int pos) const;
  virtual int LineEndOf(int pos) const;
  virtual void ScrollCaretIntoView();
  // Called whenever the characters change as a whole (the memo re-lays its lines).
  virtual void TextLaidOut() {}
  // Called when [from, from + removed) became `inserted` characters by editing;
  // by default the pen positions after `from` are forgotten and TextLaidOut runs.
  virtual void TextEdited(int from, int removed, int inserted);
  // The pen positions from `from` on are forgotten (the text there changed).
  void PensChanged(int from) { PensValid_ = std::min(PensValid_, std::max(0, from)); }
  // The characters shown (password characters in place of the text).
  std::u32string DisplayChars(int from, int to) const;
  int LineHeight();
  int TextWidthOf(int from, int to);
  void MoveCaret(int pos, bool extend);
  // Replaces [from, to) with the inserted text; false when nothing changed.
  bool ReplaceRange(int from, int to, const std::u32string& inserted, bool checkMaxLength);
  std::u32string ApplyCharCase(std::u32string text) const;
  int WordStart(int pos) const;
  int WordEnd(int pos) const;

  std::u32string Chars_;
  int Anchor_ = 0;
  int Caret_ = 0;
  int ScrollX_ = 0;
  bool Dragging_ = false;
  bool WordSelect_ = false;
  TCanvas Measure_;

private:
  void SyncFromText();
  // Enables the standard menu's commands for the text, selection and clipboard now.
  void UpdateStandardMenu();
  std::unique_ptr<TPopupMenu> StandardMenu_;
  // Where displayed character `pos` starts, in 1/64 pixel from the text's start.
  std::int64_t Pen64(int pos);
  // The last character starting at or before pixel x of the text (0 before the text).
  int CharAtX(int x);
  // Pens_[i] for i <= PensValid_ are known; typing makes known the few after
  // the caret again, not the whole text.
  std::vector<std::int64_t> Pens_;
  int PensValid_ = 0;
  TFontFace* PenFace_ = nullptr;
  long Measured_ = 0;
  // The UTF-8 text spells Chars_ byte for byte (not so after invalid UTF-8 was set).
  bool Utf8Exact_ = true;
  // A code point and its byte in the UTF-8 text (where the last edit ended), so
  // that typing in one place walks no further than the keys typed.
  int MarkChar_ = 0;
  std::size_t MarkByte_ = 0;
  int MaxLength_ = 0;
  char32_t PasswordChar_ = 0;
  bool ReadOnly_ = false;
  bool Modified_ = false;
  bool AutoSelect_ = true;
  bool HideSelection_ = true;
  TBorderStyle BorderStyle_ = bsSingle;
  bool Ctl3D_ = true;
  TBevelKind BevelKind_ = bkNone;
  TBevelCut BevelInner_ = bvRaised;
  TBevelCut BevelOuter_ = bvLowered;
  TEditCharCase CharCase_ = ecNormal;
  bool Syncing_ = false;
};

class TEdit : public TCustomEdit {
public:
  explicit TEdit(TComponent* owner) : TCustomEdit(owner) {}
  std::string ClassName() const override { return "TEdit"; }
};

std::u32string Utf8ToUtf32(const std::string& text);
std::string Utf32ToUtf8(const std::u32string& text);
