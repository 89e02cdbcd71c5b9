#include "forms/CustomEdit.h"

#include <algorithm>
#include <cstdlib>

#include "forms/Clipboard.h"
#include "forms/Menus.h"
#include "platform/base/Cp1251.h"
#include "platform/gfx/FontEngine.h"
#include "platform/gfx/FontFace.h"
#include "platform/win/Input.h"
#include "platform/win/VirtualKeys.h"

std::u32string Utf8ToUtf32(const std::string& text) {
  std::u32string out;
  size_t pos = 0;
  while (pos < text.size()) out.push_back(NextCodePoint(text, pos));
  return out;
}

std::string Utf32ToUtf8(const std::u32string& text) {
  std::string out;
  for (char32_t c : text) AppendUtf8(out, c);
  return out;
}

namespace {
// Byte offset of code point `index` in well-formed UTF-8, walked from a known
// code point `known` at byte `knownByte`.
std::size_t Utf8Walk(const std::string& text, int known, std::size_t knownByte, int index) {
  auto continuation = [&](std::size_t pos) { return (static_cast<unsigned char>(text[pos]) & 0xC0) == 0x80; };
  std::size_t pos = knownByte;
  for (; known < index; ++known)
    for (++pos; pos < text.size() && continuation(pos);) ++pos;
  for (; known > index; --known)
    for (--pos; pos > 0 && continuation(pos);) --pos;
  return pos;
}

bool IsWordChar(char32_t c) {
  return c == '_' || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c >= 0xC0;
}
}  // namespace

TCustomEdit::TCustomEdit(TComponent* owner) : TCustomControl(owner) {
  ControlStyle_ = {csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks, csOpaque};
  SetBounds(0, 0, 121, 21);
  TabStop_ = true;
  SetColor(clWindow);
  SetParentColor(false);
  SetCursor(crIBeam);
}

TCustomEdit::~TCustomEdit() = default;

TPopupMenu* TCustomEdit::ContextMenu() {
  if (PopupMenu()) return PopupMenu();
  if (!StandardMenu_) {
    // Each command is the key that does the same, so that whatever checks the
    // keyboard (read-only text, a record that cannot be edited) checks these too.
    StandardMenu_ = std::make_unique<TPopupMenu>(nullptr);
    auto key = [this](WORD k, bool ctrl) {
      return [this, k, ctrl](TObject*) { ControlKeyDown(k, ctrl ? TShiftState{ssCtrl} : TShiftState{}); };
    };
    StandardMenu_->Add("Вы&резать", key('X', true));
    StandardMenu_->Add("&Копировать", key('C', true));
    StandardMenu_->Add("Вст&авить", key('V', true));
    StandardMenu_->Add("&Удалить", key(VK_DELETE, false));
    StandardMenu_->Add("-");
    StandardMenu_->Add("Выделить &все", key('A', true));
    StandardMenu_->OnPopup = [this](TObject*) { UpdateStandardMenu(); };
  }
  return StandardMenu_.get();
}

void TCustomEdit::UpdateStandardMenu() {
  const bool selection = SelLength() > 0;
  const bool secret = PasswordChar_ != 0;
  const bool writable = !ReadOnly_ && Enabled();
  StandardMenu_->Items(0).SetEnabled(selection && writable && !secret);
  StandardMenu_->Items(1).SetEnabled(selection && !secret);
  StandardMenu_->Items(2).SetEnabled(writable && Clipboard().HasText());
  StandardMenu_->Items(3).SetEnabled(selection && writable);
  StandardMenu_->Items(5).SetEnabled(TextLength() > 0 && SelLength() < TextLength());
}

void TCustomEdit::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  if (BorderStyle_ == bsSingle) {
    if (Ctl3D_) params.ExStyle |= WS_EX_CLIENTEDGE;
    else params.Style |= WS_BORDER;
  }
}

void TCustomEdit::SetText(const std::string& text) { TCustomControl::SetText(text); }

void TCustomEdit::SyncFromText() {
  std::u32string now = Utf8ToUtf32(Text());
  // Edits change the UTF-8 text in place only where it spells the characters
  // byte for byte; the same characters may come back in other bytes.
  Utf8Exact_ = Utf32ToUtf8(now) == Text();
  MarkChar_ = 0;
  MarkByte_ = 0;
  if (now == Chars_) return;
  Chars_ = now;
  PensChanged(0);
  Anchor_ = std::min(Anchor_, TextLength());
  Caret_ = std::min(Caret_, TextLength());
  TextLaidOut();
}

void TCustomEdit::Change() {
  if (OnChange && !IsLoading()) OnChange(this);
}

void TCustomEdit::SetMaxLength(int value) { MaxLength_ = std::max(0, value); }

void TCustomEdit::SetPasswordChar(char32_t value) {
  if (value == PasswordChar_) return;
  PasswordChar_ = value;
  PensChanged(0);
  Invalidate();
}

void TCustomEdit::SetHideSelection(bool value) {
  HideSelection_ = value;
  Invalidate();
}

void TCustomEdit::SetBorderStyle(TBorderStyle value) {
  if (value == BorderStyle_) return;
  BorderStyle_ = value;
  RecreateWnd();
}

void TCustomEdit::SetCtl3D(bool value) {
  if (value == Ctl3D_) return;
  Ctl3D_ = value;
  RecreateWnd();
  Perform(CM_CTL3DCHANGED, 0, 0);
}

void TCustomEdit::SetBevelKind(TBevelKind value) {
  BevelKind_ = value;
  Invalidate();
}

void TCustomEdit::SetBevelInner(TBevelCut value) {
  BevelInner_ = value;
  Invalidate();
}

void TCustomEdit::SetBevelOuter(TBevelCut value) {
  BevelOuter_ = value;
  Invalidate();
}

void TCustomEdit::SetCharCase(TEditCharCase value) {
  if (value == CharCase_) return;
  CharCase_ = value;
  if (value != ecNormal) SetText(Utf32ToUtf8(ApplyCharCase(Chars_)));
}

std::u32string TCustomEdit::ApplyCharCase(std::u32string text) const {
  for (char32_t& c : text) {
    if (CharCase_ == ecUpperCase) c = UpperCodePoint(c);
    else if (CharCase_ == ecLowerCase) c = LowerCodePoint(c);
  }
  return text;
}

int TCustomEdit::SelStart() const { return std::min(Anchor_, Caret_); }
int TCustomEdit::SelLength() const { return std::abs(Caret_ - Anchor_); }

void TCustomEdit::SetSelStart(int value) {
  value = std::clamp(value, 0, TextLength());
  Anchor_ = Caret_ = value;
  ScrollCaretIntoView();
  Invalidate();
}

void TCustomEdit::SetSelLength(int value) {
  int start = SelStart();
  Anchor_ = start;
  Caret_ = std::clamp(start + value, 0, TextLength());
  ScrollCaretIntoView();
  Invalidate();
}

std::string TCustomEdit::SelText() const { return Utf32ToUtf8(Chars_.substr(static_cast<size_t>(SelStart()), static_cast<size_t>(SelLength()))); }

void TCustomEdit::SetSelText(const std::string& text) {
  ReplaceRange(SelStart(), SelStart() + SelLength(), Utf8ToUtf32(text), true);
}

void TCustomEdit::SelectAll() {
  Anchor_ = 0;
  Caret_ = TextLength();
  ScrollCaretIntoView();
  Invalidate();
}

void TCustomEdit::ClearSelection() {
  if (SelLength() > 0 && !ReadOnly_) ReplaceRange(SelStart(), SelStart() + SelLength(), U"", false);
}

void TCustomEdit::CopyToClipboard() {
  // Passwords never leave the box.
  if (SelLength() > 0 && PasswordChar_ == 0) Clipboard().SetAsText(SelText());
}

void TCustomEdit::CutToClipboard() {
  if (ReadOnly_ || PasswordChar_ != 0) return;
  CopyToClipboard();
  ClearSelection();
}

void TCustomEdit::PasteFromClipboard() {
  if (ReadOnly_) return;
  std::u32string text = Utf8ToUtf32(Clipboard().AsText());
  if (!IsMultiLine()) {
    // A single line keeps the first line only.
    size_t nl = text.find_first_of(U"\r\n");
    if (nl != std::u32string::npos) text.resize(nl);
  } else {
    std::u32string clean;
    for (size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '\r') {
        clean.push_back('\n');
        if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
      } else {
        clean.push_back(text[i]);
      }
    }
    text.swap(clean);
  }
  ReplaceRange(SelStart(), SelStart() + SelLength(), text, true);
}

bool TCustomEdit::ReplaceRange(int from, int to, const std::u32string& inserted, bool checkMaxLength) {
  from = std::clamp(from, 0, TextLength());
  to = std::clamp(to, from, TextLength());
  std::u32string add = ApplyCharCase(inserted);
  if (checkMaxLength && MaxLength_ > 0) {
    int room = MaxLength_ - (TextLength() - (to - from));
    if (room <= 0) add.clear();
    else if (static_cast<int>(add.size()) > room) add.resize(static_cast<size_t>(room));
  }
  if (add.empty() && from == to) return false;
  // The UTF-8 text changes where the characters change: a keystroke costs the
  // same in a long text as in a short one.
  std::string text;
  if (Utf8Exact_) {
    text = Text();
    // Walked from the nearest of the start, the end and where the last edit ended.
    const int n = TextLength();
    int known = 0;
    std::size_t knownByte = 0;
    if (std::abs(MarkChar_ - from) < from) known = MarkChar_, knownByte = MarkByte_;
    if (n - from < std::abs(known - from)) known = n, knownByte = text.size();
    const std::size_t a = Utf8Walk(text, known, knownByte, from);
    const std::size_t b = Utf8Walk(text, from, a, to);
    const std::string added = Utf32ToUtf8(add);
    text.replace(a, b - a, added);
    MarkChar_ = from + static_cast<int>(add.size());
    MarkByte_ = a + added.size();
  } else {
    MarkChar_ = 0;
    MarkByte_ = 0;
  }
  Chars_.replace(static_cast<size_t>(from), static_cast<size_t>(to - from), add);
  Anchor_ = Caret_ = from + static_cast<int>(add.size());
  Modified_ = true;
  TextEdited(from, to - from, static_cast<int>(add.size()));
  Syncing_ = true;
  TCustomControl::SetText(Utf8Exact_ ? text : Utf32ToUtf8(Chars_));
  Utf8Exact_ = true;
  Syncing_ = false;
  ScrollCaretIntoView();
  Invalidate();
  return true;
}

std::u32string TCustomEdit::DisplayChars(int from, int to) const {
  from = std::clamp(from, 0, TextLength());
  to = std::clamp(to, from, TextLength());
  if (PasswordChar_) return std::u32string(static_cast<size_t>(to - from), PasswordChar_);
  return Chars_.substr(static_cast<size_t>(from), static_cast<size_t>(to - from));
}

int TCustomEdit::LineHeight() {
  Measure_.Font().Assign(Font());
  return std::max(1, Measure_.TextHeight("Ag"));
}

void TCustomEdit::TextEdited(int from, int, int) {
  PensChanged(from);
  TextLaidOut();
}

std::int64_t TCustomEdit::Pen64(int pos) {
  TFontFace& face = TFontEngine::Instance().Face(Font().LogFont());
  if (&face != PenFace_) {
    PenFace_ = &face;
    PensValid_ = 0;
  }
  const int n = TextLength();
  pos = std::clamp(pos, 0, n);
  if (Pens_.size() != static_cast<std::size_t>(n) + 1) Pens_.resize(static_cast<std::size_t>(n) + 1);
  Pens_[0] = 0;
  if (pos > PensValid_) {
    // Measured ahead in short runs, so that walking along a line measures each character once.
    const int upTo = std::min(n, std::max(pos, PensValid_ + 64));
    for (int k = PensValid_; k < upTo; ++k)
      Pens_[static_cast<std::size_t>(k) + 1] =
          Pens_[static_cast<std::size_t>(k)] + face.Glyph(PasswordChar_ ? PasswordChar_ : Chars_[static_cast<std::size_t>(k)]).Advance64;
    Measured_ += upTo - PensValid_;
    PensValid_ = upTo;
  }
  return Pens_[static_cast<std::size_t>(pos)];
}

int TCustomEdit::CharAtX(int x) {
  Pen64(0);  // forgets the pens if the font changed
  const std::int64_t x64 = static_cast<std::int64_t>(x) * 64;
  const int n = TextLength();
  while (PensValid_ < n && Pens_[static_cast<std::size_t>(PensValid_)] <= x64) Pen64(PensValid_ + 1);
  const auto known = Pens_.begin() + PensValid_ + 1;
  const auto after = std::upper_bound(Pens_.begin(), known, x64);
  return std::max(0, static_cast<int>(after - Pens_.begin()) - 1);
}

int TCustomEdit::TextWidthOf(int from, int to) {
  if (to <= from) return 0;
  // The sum of the advances rounded once, as the text engine measures a run.
  return static_cast<int>((Pen64(to) - Pen64(from) + 32) >> 6);
}

int TCustomEdit::WordStart(int pos) const {
  while (pos > 0 && !IsWordChar(Chars_[static_cast<size_t>(pos - 1)])) --pos;
  while (pos > 0 && IsWordChar(Chars_[static_cast<size_t>(pos - 1)])) --pos;
  return pos;
}

int TCustomEdit::WordEnd(int pos) const {
  const int n = TextLength();
  while (pos < n && IsWordChar(Chars_[static_cast<size_t>(pos)])) ++pos;
  while (pos < n && !IsWordChar(Chars_[static_cast<size_t>(pos)]) && Chars_[static_cast<size_t>(pos)] != '\n') ++pos;
  return pos;
}

int TCustomEdit::LineStartOf(int) const { return 0; }
int TCustomEdit::LineEndOf(int) const { return TextLength(); }
void TCustomEdit::MoveVertical(int, bool) {}

int TCustomEdit::HitTest(int x, int) {
  int target = x - 2 + ScrollX_;
  int best = 0, bestDist = 1 << 30;
  for (int i = 0; i <= TextLength(); ++i) {
    int w = TextWidthOf(0, i);
    int d = std::abs(w - target);
    if (d < bestDist) {
      bestDist = d;
      best = i;
    }
    if (w > target) break;
  }
  return best;
}

void TCustomEdit::ScrollCaretIntoView() {
  int caretX = TextWidthOf(0, Caret_);
  int width = std::max(1, ClientWidth() - 4);
  if (caretX - ScrollX_ > width) ScrollX_ = caretX - width;
  if (caretX < ScrollX_) ScrollX_ = caretX;
  if (ScrollX_ < 0) ScrollX_ = 0;
}

void TCustomEdit::MoveCaret(int pos, bool extend) {
  Caret_ = std::clamp(pos, 0, TextLength());
  if (!extend) Anchor_ = Caret_;
  ScrollCaretIntoView();
  Invalidate();
}

void TCustomEdit::ControlKeyDown(WORD key, TShiftState shift) {
  bool ext = shift.Contains(ssShift);
  bool ctrl = shift.Contains(ssCtrl);
  switch (key) {
    case VK_LEFT:
      if (!ext && SelLength() > 0) MoveCaret(SelStart(), false);
      else MoveCaret(ctrl ? WordStart(Caret_) : Caret_ - 1, ext);
      return;
    case VK_RIGHT:
      if (!ext && SelLength() > 0) MoveCaret(SelStart() + SelLength(), false);
      else MoveCaret(ctrl ? WordEnd(Caret_) : Caret_ + 1, ext);
      return;
    case VK_HOME: MoveCaret(ctrl ? 0 : LineStartOf(Caret_), ext); return;
    case VK_END: MoveCaret(ctrl ? TextLength() : LineEndOf(Caret_), ext); return;
    case VK_UP: MoveVertical(-1, ext); return;
    case VK_DOWN: MoveVertical(1, ext); return;
    case VK_PRIOR: MoveVertical(-std::max(1, ClientHeight() / LineHeight() - 1), ext); return;
    case VK_NEXT: MoveVertical(std::max(1, ClientHeight() / LineHeight() - 1), ext); return;
    case VK_BACK:
      if (ReadOnly_) return;
      if (SelLength() > 0) ClearSelection();
      else if (Caret_ > 0) ReplaceRange(ctrl ? WordStart(Caret_) : Caret_ - 1, Caret_, U"", false);
      return;
    case VK_DELETE:
      if (ReadOnly_) return;
      if (ext) {
        CutToClipboard();
      } else if (SelLength() > 0) {
        ClearSelection();
      } else if (Caret_ < TextLength()) {
        ReplaceRange(Caret_, ctrl ? WordEnd(Caret_) : Caret_ + 1, U"", false);
      }
      return;
    case VK_INSERT:
      if (ctrl) CopyToClipboard();
      else if (ext) PasteFromClipboard();
      return;
    default: break;
  }
  if (ctrl && !shift.Contains(ssAlt)) {
    switch (key) {
      case 'A': SelectAll(); return;
      case 'C': CopyToClipboard(); return;
      case 'X': CutToClipboard(); return;
      case 'V': PasteFromClipboard(); return;
      default: break;
    }
  }
}

void TCustomEdit::ControlKeyPress(char32_t key) {
  if (ReadOnly_) return;
  if (key < 32 || key == 127) return;
  if (KeyboardShiftState().Contains(ssCtrl) && !KeyboardShiftState().Contains(ssAlt) && key < 128) return;
  ReplaceRange(SelStart(), SelStart() + SelLength(), std::u32string(1, key), true);
}

void TCustomEdit::MouseDown(TMouseBtn button, TShiftState shift, int x, int y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (button != mbLeft) return;
  int pos = HitTest(x, y);
  if (shift.Contains(ssDouble)) {
    Anchor_ = WordStart(std::min(pos + 1, TextLength()));
    if (Anchor_ > pos) Anchor_ = pos;
    Caret_ = pos;
    while (Caret_ < TextLength() && IsWordChar(Chars_[static_cast<size_t>(Caret_)])) ++Caret_;
    int a = pos;
    while (a > 0 && IsWordChar(Chars_[static_cast<size_t>(a - 1)])) --a;
    Anchor_ = a;
    WordSelect_ = true;
    Invalidate();
    return;
  }
  WordSelect_ = false;
  MoveCaret(pos, shift.Contains(ssShift));
  Dragging_ = true;
}

void TCustomEdit::MouseMove(TShiftState shift, int x, int y) {
  TCustomControl::MouseMove(shift, x, y);
  if (Dragging_ && !WordSelect_) MoveCaret(HitTest(x, y), true);
}

void TCustomEdit::MouseUp(TMouseBtn button, TShiftState shift, int x, int y) {
  TCustomControl::MouseUp(button, shift, x, y);
  if (button == mbLeft) Dragging_ = false;
}

void TCustomEdit::WndProc(TMessage& message) {
  // A right click into an edit puts the focus there first, as the commands need.
  if (message.Msg == WM_CONTEXTMENU && CanFocus() && !Focused()) SetFocus();
  switch (message.Msg) {
    case CM_TEXTCHANGED:
      if (!Syncing_) SyncFromText();
      TCustomControl::WndProc(message);
      Change();
      return;
    case WM_SETFOCUS:
      TCustomControl::WndProc(message);
      if (AutoSelect_ && !IsMultiLine() && !(GetKeyState(VK_LBUTTON) < 0)) SelectAll();
      return;
    default: break;
  }
  TCustomControl::WndProc(message);
}

void TCustomEdit::Paint() {
  TCanvas& c = Canvas();
  TRect r = ClientRect();
  c.Brush().SetColor(Enabled() ? Color() : clBtnFace);
  c.FillRect(r);
  if (BevelKind_ != bkNone) {
    TRect b = r;
    c.Frame3D(b, clBtnShadow, clBtnHighlight, 1);
  }
  c.Font().Assign(Font());
  if (!Enabled()) c.Font().SetColor(clGrayText);
  int lh = LineHeight();
  int y = (r.Height() - lh) / 2;
  int x0 = 2 - ScrollX_;
  bool showSel = SelLength() > 0 && (Focused() || !HideSelection_);
  c.Brush().SetStyle(bsClear);
  // Only the characters in view (and two either side for overhanging ink) are
  // drawn: a long text costs no more to paint than a short one.
  const int first = std::max(0, CharAtX(ScrollX_ - 2) - 2);
  const int last = std::min(TextLength(), CharAtX(ScrollX_ - 2 + r.Width()) + 3);
  c.TextOut(x0 + TextWidthOf(0, first), y, Utf32ToUtf8(DisplayChars(first, last)));
  if (showSel) {
    int sx = x0 + TextWidthOf(0, SelStart());
    int sw = TextWidthOf(SelStart(), SelStart() + SelLength());
    TRect sel{sx, y, sx + sw, y + lh};
    c.Brush().SetColor(clHighlight);
    c.FillRect(sel);
    c.Font().SetColor(clHighlightText);
    c.Brush().SetStyle(bsClear);
    c.TextOut(sx, y, Utf32ToUtf8(DisplayChars(SelStart(), SelStart() + SelLength())));
  }
  if (Focused()) {
    int cx = x0 + TextWidthOf(0, Caret_);
    c.Brush().SetColor(clWindowText);
    c.FillRect({cx, y, cx + 1, y + lh});
  }
}
