#include "forms/Memo.h"

#include <algorithm>

#include "platform/base/Exception.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/ScrollInfo.h"
#include "platform/win/VirtualKeys.h"

// --- lines view --------------------------------------------------------------

std::vector<std::string> TMemoStrings::Split() const {
  std::vector<std::string> lines;
  std::string text = Memo_.Text();
  if (text.empty()) return lines;
  size_t start = 0;
  for (;;) {
    size_t nl = text.find('\n', start);
    if (nl == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, nl - start));
    start = nl + 1;
    if (start == text.size()) break;  // a final break opens no line of its own
  }
  return lines;
}

void TMemoStrings::Join(const std::vector<std::string>& lines, bool trailingBreak, int caretLine) {
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i) text += '\n';
    text += lines[i];
  }
  if (trailingBreak && !lines.empty()) text += '\n';
  Memo_.SetText(text);
  if (caretLine >= 0) Memo_.SetCaretLine(caretLine);
}

int TMemoStrings::Count() const { return static_cast<int>(Split().size()); }

std::string TMemoStrings::Get(int index) const {
  auto lines = Split();
  if (index < 0 || index >= static_cast<int>(lines.size())) IndexError(index);
  return lines[static_cast<size_t>(index)];
}

void TMemoStrings::Put(int index, const std::string& text) {
  auto lines = Split();
  if (index < 0 || index >= static_cast<int>(lines.size())) IndexError(index);
  lines[static_cast<size_t>(index)] = text;
  bool trailing = !Memo_.Text().empty() && Memo_.Text().back() == '\n';
  Join(lines, trailing, -1);
}

void TMemoStrings::Insert(int index, const std::string& text) {
  auto lines = Split();
  if (index < 0 || index > static_cast<int>(lines.size())) IndexError(index);
  bool trailing = !Memo_.Text().empty() && Memo_.Text().back() == '\n';
  lines.insert(lines.begin() + index, text);
  // The line put in is brought into view, as appending to a log expects.
  Join(lines, trailing, index);
}

void TMemoStrings::Delete(int index) {
  auto lines = Split();
  if (index < 0 || index >= static_cast<int>(lines.size())) IndexError(index);
  lines.erase(lines.begin() + index);
  bool trailing = !Memo_.Text().empty() && Memo_.Text().back() == '\n';
  Join(lines, trailing && !lines.empty(), -1);
}

void TMemoStrings::Clear() { Memo_.SetText(""); }

std::string TMemoStrings::Text() const {
  std::string out;
  for (const auto& l : Split()) out += l + "\n";
  return out;
}

void TMemoStrings::SetText(const std::string& text) {
  std::string clean;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      clean += '\n';
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      clean += text[i];
    }
  }
  Memo_.SetText(clean);
}

// --- memo ----------------------------------------------------------------------

TCustomMemo::TCustomMemo(TComponent* owner) : TCustomEdit(owner), Lines_(std::make_unique<TMemoStrings>(*this)) {
  SetBounds(0, 0, 185, 89);
  SetAutoSelect(false);
}

TCustomMemo::~TCustomMemo() = default;

void TCustomMemo::CreateParams(TCreateParams& params) {
  TCustomEdit::CreateParams(params);
  if (ScrollBars_ == ssVertical || ScrollBars_ == ssBoth) params.Style |= WS_VSCROLL;
  if (ScrollBars_ == ssHorizontal || ScrollBars_ == ssBoth) params.Style |= WS_HSCROLL;
}

LRESULT TCustomMemo::DialogCode() const {
  LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_HASSETSEL;
  if (WantReturns_) code |= DLGC_WANTALLKEYS;
  if (WantTabs_) code |= DLGC_WANTTAB;
  return code;
}

void TCustomMemo::SetWordWrap(bool value) {
  if (value == WordWrap_) return;
  WordWrap_ = value;
  TextLaidOut();
  Invalidate();
}

void TCustomMemo::SetScrollBars(TScrollStyle value) {
  if (value == ScrollBars_) return;
  ScrollBars_ = value;
  RecreateWnd();
  TextLaidOut();
}

void TCustomMemo::SetAlignment(TAlignment value) {
  Alignment_ = value;
  Invalidate();
}

int TCustomMemo::TextAreaWidth() const { return std::max(1, ClientWidth() - 4); }

void TCustomMemo::TextLaidOut() {
  LayoutValid_ = false;
  UpdateScrollBar();
}

void TCustomMemo::Resize() {
  TCustomEdit::Resize();
  TextLaidOut();
}

void TCustomMemo::Layout() {
  if (LayoutValid_) return;
  LayoutValid_ = true;
  Lines2_.clear();
  WrapParagraphs(0, TextLength(), Lines2_);
}

void TCustomMemo::WrapParagraphs(int start, int last, std::vector<TVisualLine>& out) {
  const int n = TextLength();
  const int width = TextAreaWidth();
  const std::size_t first = out.size();
  while (start <= last) {
    int end = start;
    while (end < n && Chars_[static_cast<size_t>(end)] != '\n') ++end;
    // Wrap [start, end) into pieces that fit.
    int s = start;
    if (!WordWrap_ || s == end) {
      out.push_back({s, end});
    } else {
      while (s < end) {
        int fit = s + 1;
        int lastSpace = -1;
        for (int i = s + 1; i <= end; ++i) {
          if (TextWidthOf(s, i) > width) break;
          fit = i;
          if (i < end && Chars_[static_cast<size_t>(i)] == ' ') lastSpace = i + 1;
        }
        int brk = fit;
        if (fit < end && lastSpace > s) brk = lastSpace;
        out.push_back({s, brk});
        s = brk;
      }
    }
    if (end >= n || end >= last) break;
    start = end + 1;
    if (start == n) {
      out.push_back({n, n});
      break;
    }
  }
  if (out.size() == first) out.push_back({0, 0});
}

void TCustomMemo::TextEdited(int from, int removed, int inserted) {
  PensChanged(from);
  if (!LayoutValid_) {
    TextLaidOut();
    return;
  }
  // Only the paragraphs the edit touched are wrapped again; the lines after
  // them move by the change in length.
  const int n = TextLength();
  const int delta = inserted - removed;
  int first = from;
  while (first > 0 && Chars_[static_cast<size_t>(first - 1)] != '\n') --first;
  int last = std::min(n, from + inserted);
  while (last < n && Chars_[static_cast<size_t>(last)] != '\n') ++last;
  const int oldLast = last - delta;
  auto byStart = [](const TVisualLine& line, int pos) { return line.Start < pos; };
  const auto begin = std::lower_bound(Lines2_.begin(), Lines2_.end(), first, byStart);
  auto end = std::lower_bound(begin, Lines2_.end(), oldLast + 1, byStart);
  std::vector<TVisualLine> fresh;
  WrapParagraphs(first, last, fresh);
  const std::size_t at = static_cast<std::size_t>(begin - Lines2_.begin());
  for (auto it = end; it != Lines2_.end(); ++it) {
    it->Start += delta;
    it->End += delta;
  }
  Lines2_.erase(Lines2_.begin() + static_cast<std::ptrdiff_t>(at), end);
  Lines2_.insert(Lines2_.begin() + static_cast<std::ptrdiff_t>(at), fresh.begin(), fresh.end());
  UpdateScrollBar();
}

int TCustomMemo::VisualLineCount() {
  Layout();
  return static_cast<int>(Lines2_.size());
}

int TCustomMemo::VisibleLineCount() { return std::max(1, ClientHeight() / LineHeight()); }

int TCustomMemo::VisualLineOf(int pos) const {
  // The last line starting at or before pos (lines are in order of their starts).
  const auto after = std::upper_bound(Lines2_.begin(), Lines2_.end(), pos,
                                      [](int p, const TVisualLine& line) { return p < line.Start; });
  return std::max(0, static_cast<int>(after - Lines2_.begin()) - 1);
}

int TCustomMemo::XOf(int pos) {
  Layout();
  const TVisualLine& l = Lines2_[static_cast<size_t>(VisualLineOf(pos))];
  return TextWidthOf(l.Start, std::min(pos, l.End));
}

int TCustomMemo::PosAtX(int line, int x) {
  Layout();
  line = std::clamp(line, 0, static_cast<int>(Lines2_.size()) - 1);
  const TVisualLine& l = Lines2_[static_cast<size_t>(line)];
  int best = l.Start, bestDist = 1 << 30;
  for (int i = l.Start; i <= l.End; ++i) {
    int d = std::abs(TextWidthOf(l.Start, i) - x);
    if (d < bestDist) {
      bestDist = d;
      best = i;
    }
  }
  // A wrapped line's end is the next line's start: stay on this line.
  if (best == l.End && line + 1 < static_cast<int>(Lines2_.size()) && Lines2_[static_cast<size_t>(line + 1)].Start == l.End &&
      l.End > l.Start)
    best = l.End - 1 >= l.Start ? l.End : best;
  return best;
}

int TCustomMemo::HitTest(int x, int y) {
  Layout();
  int line = TopLine_ + y / LineHeight();
  return PosAtX(line, x - 2);
}

int TCustomMemo::LineStartOf(int pos) const {
  const_cast<TCustomMemo*>(this)->Layout();
  return Lines2_[static_cast<size_t>(VisualLineOf(pos))].Start;
}

int TCustomMemo::LineEndOf(int pos) const {
  const_cast<TCustomMemo*>(this)->Layout();
  return Lines2_[static_cast<size_t>(VisualLineOf(pos))].End;
}

void TCustomMemo::MoveVertical(int lines, bool extend) {
  Layout();
  if (DesiredX_ < 0) DesiredX_ = XOf(Caret_);
  int line = VisualLineOf(Caret_) + lines;
  int desired = DesiredX_;
  if (line < 0) MoveCaret(0, extend);
  else if (line >= static_cast<int>(Lines2_.size())) MoveCaret(TextLength(), extend);
  else MoveCaret(PosAtX(line, desired), extend);
  DesiredX_ = desired;
}

void TCustomMemo::ControlKeyPress(char32_t key) {
  if (ReadOnly()) return;
  DesiredX_ = -1;
  if (key == '\r' || key == '\n') {
    if (WantReturns_) ReplaceRange(SelStart(), SelStart() + SelLength(), U"\n", true);
    return;
  }
  if (key == '\t') {
    if (WantTabs_) ReplaceRange(SelStart(), SelStart() + SelLength(), U"\t", true);
    return;
  }
  TCustomEdit::ControlKeyPress(key);
}

void TCustomMemo::SetTopLine(int line) {
  int maxTop = std::max(0, VisualLineCount() - VisibleLineCount());
  line = std::clamp(line, 0, maxTop);
  if (line == TopLine_) return;
  TopLine_ = line;
  UpdateScrollBar();
  Invalidate();
}

void TCustomMemo::ScrollCaretIntoView() {
  if (!LayoutValid_ && IsLoading()) return;
  Layout();
  int line = VisualLineOf(Caret_);
  int visible = VisibleLineCount();
  if (line < TopLine_) TopLine_ = line;
  else if (line >= TopLine_ + visible) TopLine_ = line - visible + 1;
  UpdateScrollBar();
}

void TCustomMemo::SetCaretLine(int logicalLine) {
  int pos = 0, line = 0;
  while (line < logicalLine && pos < TextLength()) {
    if (Chars_[static_cast<size_t>(pos)] == '\n') ++line;
    ++pos;
  }
  Anchor_ = Caret_ = pos;
  ScrollCaretIntoView();
  Invalidate();
}

void TCustomMemo::UpdateScrollBar() {
  if (!HandleAllocated() || !(ScrollBars_ == ssVertical || ScrollBars_ == ssBoth)) return;
  Layout();
  SCROLLINFO si;
  si.fMask = SIF_ALL;
  si.nMin = 0;
  si.nMax = static_cast<int>(Lines2_.size()) - 1;
  si.nPage = static_cast<UINT>(VisibleLineCount());
  si.nPos = TopLine_;
  SetScrollInfo(Handle(), SB_VERT, &si, true);
}

void TCustomMemo::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_VSCROLL: {
      int code = static_cast<int>(LOWORD(message.WParam));
      int page = std::max(1, VisibleLineCount() - 1);
      switch (code) {
        case SB_LINEUP: SetTopLine(TopLine_ - 1); break;
        case SB_LINEDOWN: SetTopLine(TopLine_ + 1); break;
        case SB_PAGEUP: SetTopLine(TopLine_ - page); break;
        case SB_PAGEDOWN: SetTopLine(TopLine_ + page); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: SetTopLine(static_cast<int>(HIWORD(message.WParam))); break;
        case SB_TOP: SetTopLine(0); break;
        case SB_BOTTOM: SetTopLine(VisualLineCount()); break;
        default: break;
      }
      return;
    }
    case WM_MOUSEWHEEL:
      SetTopLine(TopLine_ - 3 * GET_WHEEL_DELTA_WPARAM(message.WParam) / WHEEL_DELTA);
      return;
    case WM_KEYDOWN:
      if (message.WParam != VK_UP && message.WParam != VK_DOWN && message.WParam != VK_PRIOR &&
          message.WParam != VK_NEXT && message.WParam != VK_SHIFT)
        DesiredX_ = -1;
      break;
    case WM_CREATE:
      TCustomEdit::WndProc(message);
      return;
    default: break;
  }
  TCustomEdit::WndProc(message);
}

void TCustomMemo::Paint() {
  Layout();
  UpdateScrollBar();
  TCanvas& c = Canvas();
  TRect r = ClientRect();
  c.Brush().SetColor(Enabled() ? Color() : clBtnFace);
  c.FillRect(r);
  c.Font().Assign(Font());
  TColor textColor = Enabled() ? Font().Color() : clGrayText;
  int lh = LineHeight();
  bool showSel = SelLength() > 0 && (Focused() || !HideSelection());
  int selA = SelStart(), selB = SelStart() + SelLength();
  int visible = r.Height() / lh + 1;
  for (int i = TopLine_; i < static_cast<int>(Lines2_.size()) && i < TopLine_ + visible; ++i) {
    const TVisualLine& l = Lines2_[static_cast<size_t>(i)];
    int y = (i - TopLine_) * lh;
    int x = 2;
    int w = TextWidthOf(l.Start, l.End);
    if (Alignment_ == taCenter) x = (r.Width() - w) / 2;
    else if (Alignment_ == taRightJustify) x = r.Width() - 2 - w;
    c.Font().SetColor(textColor);
    c.Brush().SetStyle(bsClear);
    c.TextOut(x, y, Utf32ToUtf8(DisplayChars(l.Start, l.End)));
    if (showSel) {
      int a = std::max(selA, l.Start), b = std::min(selB, l.End);
      bool breakSelected = selA <= l.End && selB > l.End;  // the line break itself
      if (a < b || breakSelected) {
        int sx = x + TextWidthOf(l.Start, std::max(a, l.Start));
        int sw = a < b ? TextWidthOf(a, b) : 0;
        if (breakSelected) sw += 4;
        c.Brush().SetColor(clHighlight);
        c.FillRect({sx, y, sx + sw, y + lh});
        if (a < b) {
          c.Font().SetColor(clHighlightText);
          c.Brush().SetStyle(bsClear);
          c.TextOut(sx, y, Utf32ToUtf8(DisplayChars(a, b)));
        }
      }
    }
  }
  if (Focused()) {
    int line = VisualLineOf(Caret_);
    if (line >= TopLine_ && line < TopLine_ + visible) {
      int cx = 2 + XOf(Caret_);
      int cy = (line - TopLine_) * lh;
      c.Brush().SetColor(clWindowText);
      c.FillRect({cx, cy, cx + 1, cy + lh});
    }
  }
}
