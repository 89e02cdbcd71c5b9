#include "forms/Controls.h"

#include "forms/HintWindow.h"
#include "forms/Menus.h"
#include "forms/WinControl.h"
#include "platform/base/Exception.h"
#include "platform/win/Win.h"

namespace {
TControl* gMouseControl = nullptr;
}

HCURSOR CursorHandle(TCursor cursor) {
  std::uintptr_t id = IDC_ARROW;
  switch (cursor) {
    case crCross: id = IDC_CROSS; break;
    case crIBeam: id = IDC_IBEAM; break;
    case crSizeNESW: id = IDC_SIZENESW; break;
    case crSizeNS: id = IDC_SIZENS; break;
    case crSizeNWSE: id = IDC_SIZENWSE; break;
    case crSizeWE: id = IDC_SIZEWE; break;
    case crUpArrow: id = IDC_UPARROW; break;
    case crHourGlass: id = IDC_WAIT; break;
    case crNo: id = IDC_NO; break;
    case crAppStart: id = IDC_APPSTARTING; break;
    case crHelp: id = IDC_HELP; break;
    case crHandPoint: id = IDC_HAND; break;
    case crSizeAll: id = IDC_SIZEALL; break;
    default: break;
  }
  return LoadCursor(nullptr, id);
}

TShiftState KeyboardShiftState() {
  TShiftState s;
  if (GetKeyState(VK_SHIFT) < 0) s.Include(ssShift);
  if (GetKeyState(VK_CONTROL) < 0) s.Include(ssCtrl);
  if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
  return s;
}

TShiftState MouseShiftState(WPARAM keys) {
  TShiftState s;
  if (keys & MK_SHIFT) s.Include(ssShift);
  if (keys & MK_CONTROL) s.Include(ssCtrl);
  if (keys & MK_LBUTTON) s.Include(ssLeft);
  if (keys & MK_RBUTTON) s.Include(ssRight);
  if (keys & MK_MBUTTON) s.Include(ssMiddle);
  if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
  return s;
}

TControl::TControl(TComponent* owner) : TComponent(owner), Font_(std::make_unique<TFont>()) {
  WindowProc = [this](TMessage& m) { WndProc(m); };
  Font_->OnChange = [this](TObject* s) { FontChanged(s); };
}

TControl::~TControl() {
  Destroying();
  if (gMouseControl == this) gMouseControl = nullptr;
  HintManager().MouseActivity(this, CM_MOUSELEAVE);
  if (Parent_) Parent_->RemoveControl(this);
}

void TControl::Loaded() {
  TComponent::Loaded();
  UpdateAnchorRules();
}

void TControl::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component && component == PopupMenu_) PopupMenu_ = nullptr;
}

void TControl::SetPopupMenu(TPopupMenu* menu) {
  if (menu == PopupMenu_) return;
  if (PopupMenu_) RemoveFreeNotification(PopupMenu_);
  PopupMenu_ = menu;
  if (menu) FreeNotification(menu);
}

bool TControl::OpenContextMenu(const TMessage& message) {
  TPopupMenu* menu = ContextMenu();
  if (!menu || !Visible_ || TPopupMenu::Showing()) return false;
  TPoint at{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
  // The keyboard asks with -1: the menu opens at the control's top-left corner.
  if (message.LParam == -1 || (at.X == -1 && at.Y == -1)) at = ClientToScreen({0, 0});
  menu->SetPopupComponent(this);
  menu->Popup(at.X, at.Y);
  return true;
}

void TControl::RequestContextMenu(const TMessage& message) {
  // A window's default procedure turns the released right button into WM_CONTEXTMENU;
  // a windowless control asks its parent's window, which finds it under the point.
  if (auto* windowed = dynamic_cast<TWinControl*>(this)) {
    TMessage copy = message;
    windowed->DefaultHandler(copy);
    return;
  }
  if (!Parent_ || !Parent_->HandleAllocated()) return;
  const TPoint at = ClientToScreen({GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)});
  SendMessage(Parent_->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Parent_->Handle()), PointToLParam(at));
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == Parent_) return;
  if (parent == this) throw Exception("A control cannot have itself as its parent");
  if (Parent_) Parent_->RemoveControl(this);
  if (parent) parent->InsertControl(this);
}

void TControl::SetBounds(int left, int top, int width, int height) {
  if (width < 0) width = 0;
  if (height < 0) height = 0;
  if (left == Left_ && top == Top_ && width == Width_ && height == Height_) return;
  bool sized = width != Width_ || height != Height_;
  Invalidate();
  Left_ = left;
  Top_ = top;
  Width_ = width;
  Height_ = height;
  Invalidate();
  if (Parent_ && !Parent_->Aligning_) {
    UpdateAnchorRules();
    if (Align_ != alNone) Parent_->AlignControl(this);
  }
  if (sized) Resize();
}

TRect TControl::ClientRect() const { return {0, 0, Width_, Height_}; }

void TControl::SetClientSize(int width, int height) {
  TRect c = ClientRect();
  SetBounds(Left_, Top_, Width_ + width - c.Width(), Height_ + height - c.Height());
}

TPoint TControl::ClientOrigin() const {
  if (!Parent_) return {Left_, Top_};
  TPoint p = Parent_->ClientOrigin();
  return {p.X + Left_, p.Y + Top_};
}

TPoint TControl::ClientToScreen(TPoint p) const {
  TPoint o = ClientOrigin();
  return {p.X + o.X, p.Y + o.Y};
}

TPoint TControl::ScreenToClient(TPoint p) const {
  TPoint o = ClientOrigin();
  return {p.X - o.X, p.Y - o.Y};
}

void TControl::SetAlign(TAlign align) {
  if (align == Align_) return;
  TAlign old = Align_;
  Align_ = align;
  switch (align) {
    case alLeft:
    case alRight: Anchors_ = {akLeft, akTop, akBottom}; break;
    case alTop:
    case alBottom: Anchors_ = {akLeft, akTop, akRight}; break;
    case alClient: Anchors_ = {akLeft, akTop, akRight, akBottom}; break;
    case alNone:
    case alCustom:
      if (old != alNone) Anchors_ = {akLeft, akTop};
      break;
  }
  if (Parent_) Parent_->AlignControl(this);
}

void TControl::SetAnchors(TAnchors anchors) {
  Anchors_ = anchors;
  UpdateAnchorRules();
}

void TControl::UpdateAnchorRules() {
  if (!Parent_) return;
  TRect pc = Parent_->ClientRect();
  Parent_->AdjustClientRect(pc);
  AnchorRight_ = pc.Right - (Left_ + Width_);
  AnchorBottom_ = pc.Bottom - (Top_ + Height_);
  AnchorParentSize_ = {pc.Width(), pc.Height()};
  AnchorRulesValid_ = true;
}

void TControl::SetVisible(bool visible) {
  if (visible == Visible_) return;
  if (!visible) Invalidate();
  Visible_ = visible;
  Perform(CM_VISIBLECHANGED, visible ? 1 : 0, 0);
  if (visible) Invalidate();
  if (Parent_ && Align_ != alNone) Parent_->Realign();
}

bool TControl::Showing() const { return Visible_ && Parent_ && Parent_->Showing(); }

void TControl::SetEnabled(bool enabled) {
  if (enabled == Enabled_) return;
  Enabled_ = enabled;
  Perform(CM_ENABLEDCHANGED, 0, 0);
}

void TControl::SetParentFont(bool value) {
  if (value == ParentFont_) return;
  ParentFont_ = value;
  if (value) ParentFontChanged();
}

void TControl::ParentFontChanged() {
  if (!ParentFont_ || !Parent_) return;
  UpdatingFromParent_ = true;
  Font_->Assign(Parent_->Font());
  UpdatingFromParent_ = false;
}

void TControl::FontChanged(TObject*) {
  if (!UpdatingFromParent_) ParentFont_ = false;
  Perform(CM_FONTCHANGED, 0, 0);
}

void TControl::SetColor(TColor color) {
  ParentColor_ = false;
  if (color == Color_) return;
  Color_ = color;
  Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::SetParentColor(bool value) {
  if (value == ParentColor_) return;
  ParentColor_ = value;
  if (value) ParentColorChanged();
}

void TControl::ParentColorChanged() {
  if (!ParentColor_ || !Parent_) return;
  if (Color_ != Parent_->Color()) {
    Color_ = Parent_->Color();
    Perform(CM_COLORCHANGED, 0, 0);
  }
}

void TControl::SetCursor(TCursor cursor) {
  if (cursor == Cursor_) return;
  Cursor_ = cursor;
  Perform(CM_CURSORCHANGED, 0, 0);
}

void TControl::SetShowHint(bool value) {
  ParentShowHint_ = false;
  if (value == ShowHint_) return;
  ShowHint_ = value;
  Perform(CM_SHOWHINTCHANGED, 0, 0);
}

void TControl::SetParentShowHint(bool value) {
  ParentShowHint_ = value;
  if (value && Parent_) ShowHint_ = Parent_->ShowHint();
}

void TControl::SetText(const std::string& text) {
  if (text == Text_) return;
  Text_ = text;
  Perform(CM_TEXTCHANGED, 0, 0);
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage m{msg, wParam, lParam, 0};
  if (WindowProc) WindowProc(m);
  return m.Result;
}

void TControl::HandleMouseButton(TMessage& message, TMouseBtn button, bool down, bool dbl) {
  int x = GET_X_LPARAM(message.LParam), y = GET_Y_LPARAM(message.LParam);
  TShiftState shift = MouseShiftState(message.WParam);
  if (down) {
    HintManager().MouseActivity(this, message.Msg);
    if (button == mbLeft) {
      if (ControlStyle_.Contains(csCaptureMouse)) {
        if (auto* wc = dynamic_cast<TWinControl*>(this)) {
          if (wc->HandleAllocated()) ::SetCapture(wc->Handle());
        } else if (Parent_) {
          Parent_->SetCaptureControl(this);
        }
      }
      ControlState_.Include(csLButtonDown);
      if (ControlStyle_.Contains(csClickEvents)) ControlState_.Include(csClicked);
    }
    if (dbl) {
      shift.Include(ssDouble);
      if (ControlStyle_.Contains(csDoubleClicks)) DblClick();
    }
    MouseDown(button, shift, x, y);
    return;
  }
  if (button == mbLeft) {
    ControlState_.Exclude(csLButtonDown);
    if (ControlStyle_.Contains(csCaptureMouse)) {
      if (auto* wc = dynamic_cast<TWinControl*>(this)) {
        if (wc->HandleAllocated() && GetCapture() == wc->Handle()) ReleaseCapture();
      } else if (Parent_ && Parent_->CaptureControl() == this) {
        Parent_->SetCaptureControl(nullptr);
      }
    }
    if (ControlState_.Contains(csClicked)) {
      ControlState_.Exclude(csClicked);
      if (ClientRect().Contains({x, y})) Click();
    }
  }
  MouseUp(button, shift, x, y);
}

void TControl::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_MOUSEMOVE:
      MouseMove(MouseShiftState(message.WParam), GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam));
      return;
    case WM_LBUTTONDOWN: HandleMouseButton(message, mbLeft, true, false); return;
    case WM_LBUTTONDBLCLK: HandleMouseButton(message, mbLeft, true, true); return;
    case WM_LBUTTONUP: HandleMouseButton(message, mbLeft, false, false); return;
    case WM_RBUTTONDOWN: HandleMouseButton(message, mbRight, true, false); return;
    case WM_RBUTTONDBLCLK: HandleMouseButton(message, mbRight, true, true); return;
    case WM_RBUTTONUP:
      HandleMouseButton(message, mbRight, false, false);
      RequestContextMenu(message);
      return;
    case WM_CONTEXTMENU:
      if (OpenContextMenu(message)) {
        message.Result = 1;
        return;
      }
      break;
    case WM_MBUTTONDOWN: HandleMouseButton(message, mbMiddle, true, false); return;
    case WM_MBUTTONUP: HandleMouseButton(message, mbMiddle, false, false); return;
    case CM_MOUSEENTER:
      if (message.LParam == 0 || message.LParam == reinterpret_cast<LPARAM>(this)) {
        MouseInControl_ = true;
        if (OnMouseEnter) OnMouseEnter(this);
      }
      if (Parent_) Parent_->Perform(CM_MOUSEENTER, 0, message.LParam ? message.LParam : reinterpret_cast<LPARAM>(this));
      return;
    case CM_MOUSELEAVE:
      if (message.LParam == 0 || message.LParam == reinterpret_cast<LPARAM>(this)) {
        MouseInControl_ = false;
        if (OnMouseLeave) OnMouseLeave(this);
      }
      if (Parent_) Parent_->Perform(CM_MOUSELEAVE, 0, message.LParam ? message.LParam : reinterpret_cast<LPARAM>(this));
      return;
    case CM_HITTEST: message.Result = HTCLIENT; return;
    case CM_VISIBLECHANGED:
      if (!Visible_ && gMouseControl == this) gMouseControl = nullptr;
      if (!Visible_) HintManager().MouseActivity(this, CM_MOUSELEAVE);
      return;
    case CM_ENABLEDCHANGED:
    case CM_COLORCHANGED:
    case CM_TEXTCHANGED: Invalidate(); return;
    case CM_FONTCHANGED:
      Invalidate();
      return;
    case CM_PARENTFONTCHANGED: ParentFontChanged(); return;
    case CM_PARENTCOLORCHANGED: ParentColorChanged(); return;
    case CM_PARENTSHOWHINTCHANGED:
      if (ParentShowHint_ && Parent_) ShowHint_ = Parent_->ShowHint();
      return;
    default: break;
  }
  DefaultHandler(message);
}

void TControl::DefaultHandler(TMessage& message) {
  if (message.Msg == WM_GETTEXTLENGTH) message.Result = static_cast<LRESULT>(Text_.size());
}

void TControl::Invalidate() {
  if (!Parent_ || !Parent_->HandleAllocated() || Width_ <= 0 || Height_ <= 0) return;
  if (!Visible_) return;
  TRect r = BoundsRect();
  InvalidateRect(Parent_->Handle(), &r, !ControlStyle_.Contains(csOpaque));
}

void TControl::Update() {
  if (Parent_) Parent_->Update();
}

void TControl::Repaint() {
  Invalidate();
  Update();
}

void TControl::BringToFront() {
  if (Parent_) Parent_->SetChildOrder(this, Parent_->ControlCount() - 1);
}

void TControl::SendToBack() {
  if (Parent_) Parent_->SetChildOrder(this, 0);
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseBtn button, TShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseUp(TMouseBtn button, TShiftState shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TControl::Resize() {
  if (OnResize) OnResize(this);
}

TWinControl* GetParentForm(const TControl* control) {
  const TControl* c = control;
  while (c && c->Parent()) c = c->Parent();
  return const_cast<TWinControl*>(dynamic_cast<const TWinControl*>(c));
}

void TWinControl::SetMouseControl(TControl* control) {
  if (control == gMouseControl) return;
  TControl* old = gMouseControl;
  gMouseControl = control;
  if (old) old->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(old));
  if (old) HintManager().MouseActivity(old, CM_MOUSELEAVE);
  if (control && gMouseControl == control) control->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(control));
  if (control && gMouseControl == control) HintManager().MouseActivity(control, CM_MOUSEENTER);
}

TControl* TWinControl::MouseControl() { return gMouseControl; }
