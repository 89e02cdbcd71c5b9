#pragma once
// Controls: bounds, alignment and anchors, visibility, enabling, font, colour,
// cursor, hint, caption, and message dispatch through a replaceable WindowProc.
//
// Every message reaches a control through WindowProc (by default WndProc).
// WndProc is virtual so that derived controls (the skin engine's among them)
// handle what they want and pass the rest to the inherited WndProc; the chain
// ends in DefaultHandler.
#include <functional>
#include <memory>
#include <string>

#include "forms/Component.h"
#include "forms/Font.h"
#include "forms/Forward.h"
#include "forms/Messages.h"
#include "platform/gfx/Types.h"
#include "platform/win/WinTypes.h"

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = TSet<TAnchorKind>;
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TLeftRight { lrLeft = 0, lrRight = 1 };
enum TTextLayout { tlTop, tlCenter, tlBottom };
// Form frames; controls use the first two (their TBorderStyle).
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using TBorderStyle = TFormBorderStyle;

enum TShiftStateFlag { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateFlag>;
// The classic TMouseButton (the name is taken by the platform's input enum).
enum TMouseBtn { mbLeft, mbRight, mbMiddle };

enum TControlStateFlag {
  csLButtonDown,
  csClicked,
  csPalette,
  csReadingState,
  csAlignmentNeeded,
  csFocusing,
  csCreating,
  csPaintCopy,
  csCustomPaint,
  csDestroyingHandle,
  csDocking
};
using TControlState = TSet<TControlStateFlag>;

enum TControlStyleFlag {
  csAcceptsControls,
  csCaptureMouse,
  csDesignInteractive,
  csClickEvents,
  csFramed,
  csSetCaption,
  csOpaque,
  csDoubleClicks,
  csFixedWidth,
  csFixedHeight,
  csNoDesignVisible,
  csReplicatable,
  csNoStdEvents,
  csDisplayDragImage,
  csReflector,
  csActionClient,
  csMenuEvents,
  csNeedsBorderPaint,
  csParentBackground
};
using TControlStyle = TSet<TControlStyleFlag>;

// Cursor ids of the classic framework.
using TCursor = int;
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;
// The platform cursor of a framework cursor id (the arrow for unknown ids).
HCURSOR CursorHandle(TCursor cursor);

using TMouseEvent = std::function<void(TObject* sender, TMouseBtn button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y)>;
using TKeyEvent = std::function<void(TObject* sender, WORD& key, TShiftState shift)>;
using TKeyPressEvent = std::function<void(TObject* sender, char32_t& key)>;

// Modifier keys as the window system sees them now.
TShiftState KeyboardShiftState();
// Shift state of a mouse message's wParam (MK_* flags).
TShiftState MouseShiftState(WPARAM keys);

class TControl : public TComponent {
public:
  explicit TControl(TComponent* owner);
  ~TControl() override;
  std::string ClassName() const override { return "TControl"; }

  // --- tree and geometry ---------------------------------------------------
  TWinControl* Parent() const { return Parent_; }
  virtual void SetParent(TWinControl* parent);
  int Left() const { return Left_; }
  int Top() const { return Top_; }
  int Width() const { return Width_; }
  int Height() const { return Height_; }
  void SetLeft(int v) { SetBounds(v, Top_, Width_, Height_); }
  void SetTop(int v) { SetBounds(Left_, v, Width_, Height_); }
  void SetWidth(int v) { SetBounds(Left_, Top_, v, Height_); }
  void SetHeight(int v) { SetBounds(Left_, Top_, Width_, v); }
  virtual void SetBounds(int left, int top, int width, int height);
  TRect BoundsRect() const { return Bounds(Left_, Top_, Width_, Height_); }
  void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
  // Client area in client coordinates (origin 0, 0).
  virtual TRect ClientRect() const;
  int ClientWidth() const { return ClientRect().Width(); }
  int ClientHeight() const { return ClientRect().Height(); }
  virtual void SetClientSize(int width, int height);
  void SetClientWidth(int w) { SetClientSize(w, ClientHeight()); }
  void SetClientHeight(int h) { SetClientSize(ClientWidth(), h); }
  // Screen position of the client origin.
  virtual TPoint ClientOrigin() const;
  TPoint ClientToScreen(TPoint p) const;
  TPoint ScreenToClient(TPoint p) const;

  TAlign Align() const { return Align_; }
  void SetAlign(TAlign align);
  TAnchors Anchors() const { return Anchors_; }
  void SetAnchors(TAnchors anchors);

  // --- state ---------------------------------------------------------------
  bool Visible() const { return Visible_; }
  void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible with every parent up to a shown top-level window.
  virtual bool Showing() const;
  bool Enabled() const { return Enabled_; }
  virtual void SetEnabled(bool enabled);
  TFont& Font() { return *Font_; }
  const TFont& Font() const { return *Font_; }
  void SetFont(const TFont& font) { Font_->Assign(font); }
  bool ParentFont() const { return ParentFont_; }
  void SetParentFont(bool value);
  TColor Color() const { return Color_; }
  void SetColor(TColor color);
  bool ParentColor() const { return ParentColor_; }
  void SetParentColor(bool value);
  TCursor Cursor() const { return Cursor_; }
  void SetCursor(TCursor cursor);
  const std::string& Hint() const { return Hint_; }
  void SetHint(const std::string& hint) { Hint_ = hint; }
  bool ShowHint() const { return ShowHint_; }
  void SetShowHint(bool value);
  bool ParentShowHint() const { return ParentShowHint_; }
  void SetParentShowHint(bool value);

  // The menu a right click or the menu key opens over the control (none by default).
  TPopupMenu* PopupMenu() const { return PopupMenu_; }
  void SetPopupMenu(TPopupMenu* menu);
  // The menu the control opens: its PopupMenu, or a menu of its own (edits).
  virtual TPopupMenu* ContextMenu() { return PopupMenu_; }

  // Caption and Text are one value, as classically.
  const std::string& Caption() const { return Text_; }
  void SetCaption(const std::string& text) { SetText(text); }
  virtual std::string Text() const { return Text_; }
  virtual void SetText(const std::string& text);

  TControlState ControlState() const { return ControlState_; }
  void SetControlState(TControlState state) { ControlState_ = state; }
  TControlStyle ControlStyle() const { return ControlStyle_; }
  void SetControlStyle(TControlStyle style) { ControlStyle_ = style; }
  bool MouseInControl() const { return MouseInControl_; }

  // --- messages ------------------------------------------------------------
  // Sends a message through WindowProc and returns its result.
  LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
  // Replaceable message entry; by default calls WndProc.
  std::function<void(TMessage&)> WindowProc;
  virtual void WndProc(TMessage& message);
  virtual void DefaultHandler(TMessage& message);

  // --- painting ------------------------------------------------------------
  virtual void Invalidate();
  virtual void Update();
  virtual void Repaint();
  virtual void Refresh() { Repaint(); }
  void BringToFront();
  void SendToBack();

  // --- actions -------------------------------------------------------------
  virtual void Click();
  virtual void DblClick();
  // Windowed controls that can take the focus (visible, enabled, parents too).
  virtual bool CanFocus() const { return false; }

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TNotifyEvent OnResize;

protected:
  virtual void MouseDown(TMouseBtn button, TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseBtn button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  virtual void Resize();
  virtual void Paint() {}
  // Classic size hook for labels and buttons that size to their content.
  virtual void AdjustSize() {}
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;
  // The colour and font follow the parent when the Parent* flags are set.
  void ParentFontChanged();
  void ParentColorChanged();
  void Changed() { Perform(CM_CHANGED, 0, reinterpret_cast<LPARAM>(this)); }
  void SetMouseInControl(bool value) { MouseInControl_ = value; }
  // Sets the flag without notifications (forms start hidden).
  void SetVisibleFlag(bool value) { Visible_ = value; }
  // Records where the anchors hold the control (called after moves/parent size).
  void UpdateAnchorRules();

  TControlStyle ControlStyle_{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  TControlState ControlState_;

private:
  friend class TWinControl;
  void HandleMouseButton(TMessage& message, TMouseBtn button, bool down, bool dbl);
  // WM_CONTEXTMENU: opens ContextMenu() at the screen point (the control's corner
  // for the keyboard's -1); false when the control has none.
  bool OpenContextMenu(const TMessage& message);
  void RequestContextMenu(const TMessage& message);
  void FontChanged(TObject*);

  TWinControl* Parent_ = nullptr;
  int Left_ = 0, Top_ = 0, Width_ = 0, Height_ = 0;
  TAlign Align_ = alNone;
  TAnchors Anchors_{akLeft, akTop};
  // Distances to the parent's right and bottom client edges for anchoring, and
  // the parent's client size they were measured at.
  int AnchorRight_ = 0, AnchorBottom_ = 0;
  TSize AnchorParentSize_;
  bool AnchorRulesValid_ = false;
  bool Visible_ = true;
  bool Enabled_ = true;
  std::unique_ptr<TFont> Font_;
  bool ParentFont_ = true;
  TColor Color_ = clWindow;
  bool ParentColor_ = false;
  TCursor Cursor_ = crDefault;
  std::string Hint_;
  TPopupMenu* PopupMenu_ = nullptr;
  bool ShowHint_ = false;
  bool ParentShowHint_ = true;
  std::string Text_;
  bool MouseInControl_ = false;
  bool UpdatingFromParent_ = false;
};
