#pragma once
// The multi-line text box: lines (Lines), word wrap, a vertical scroll bar fed
// through the platform's scroll information, and appending lines that scroll
// into view.
#include <memory>
#include <vector>

#include "forms/CustomEdit.h"
#include "forms/Strings.h"

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TCustomMemo;

// The memo's text seen as a list of lines.
class TMemoStrings : public TStrings {
public:
  explicit TMemoStrings(TCustomMemo& memo) : Memo_(memo) {}
  std::string ClassName() const override { return "TMemoStrings"; }
  int Count() const override;
  std::string Get(int index) const override;
  void Put(int index, const std::string& text) override;
  void Insert(int index, const std::string& text) override;
  void Delete(int index) override;
  void Clear() override;
  std::string Text() const override;
  void SetText(const std::string& text) override;

private:
  std::vector<std::string> Split() const;
  void Join(const std::vector<std::string>& lines, bool trailingBreak, int caretLine);
  TCustomMemo& Memo_;
};

class TCustomMemo : public TCustomEdit {
public:
  explicit TCustomMemo(TComponent* owner);
  ~TCustomMemo() override;
  std::string ClassName() const override { return "TCustomMemo"; }

  TStrings& Lines() { return *Lines_; }
  bool WordWrap() const { return WordWrap_; }
  void SetWordWrap(bool value);
  TScrollStyle ScrollBars() const { return ScrollBars_; }
  void SetScrollBars(TScrollStyle value);
  bool WantReturns() const { return WantReturns_; }
  void SetWantReturns(bool value) { WantReturns_ = value; }
  bool WantTabs() const { return WantTabs_; }
  void SetWantTabs(bool value) { WantTabs_ = value; }
  TAlignment Alignment() const { return Alignment_; }
  void SetAlignment(TAlignment value);

  // First visible visual line, and how many fit.
  int TopLine() const { return TopLine_; }
  void SetTopLine(int line);
  int VisualLineCount();
  int VisibleLineCount();
  // Moves the caret and scrolls it into view.
  void SetCaretLine(int logicalLine);

  void WndProc(TMessage& message) override;

protected:
  friend class TMemoStrings;
  void CreateParams(TCreateParams& params) override;
  void Paint() override;
  bool IsMultiLine() const override { return true; }
  int HitTest(int x, int y) override;
  void MoveVertical(int lines, bool extend) override;
  int LineStartOf(int pos) const override;
  int LineEndOf(int pos) const override;
  void ScrollCaretIntoView() override;
  void TextLaidOut() override;
  void TextEdited(int from, int removed, int inserted) override;
  void ControlKeyPress(char32_t key) override;
  LRESULT DialogCode() const override;
  void Resize() override;

  struct TVisualLine {
    int Start = 0;
    int End = 0;  // exclusive, before any line break
  };
  void Layout();
  // The visual lines of the paragraphs from the one holding `start` to the one
  // ending at `end` (a line break or the end of the text), appended to `out`.
  void WrapParagraphs(int start, int end, std::vector<TVisualLine>& out);
  int VisualLineOf(int pos) const;
  int XOf(int pos);
  int PosAtX(int line, int x);
  void UpdateScrollBar();
  int TextAreaWidth() const;

  std::vector<TVisualLine> Lines2_;
  int TopLine_ = 0;
  int DesiredX_ = -1;
  bool LayoutValid_ = false;

private:
  std::unique_ptr<TMemoStrings> Lines_;
  bool WordWrap_ = true;
  TScrollStyle ScrollBars_ = ssNone;
  bool WantReturns_ = true;
  bool WantTabs_ = false;
  TAlignment Alignment_ = taLeftJustify;
};

class TMemo : public TCustomMemo {
public:
  explicit TMemo(TComponent* owner) : TCustomMemo(owner) {}
  std::string ClassName() const override { return "TMemo"; }
};
