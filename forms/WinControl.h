#pragma once
// Windowed controls: own a platform window (created on first need), hold child
// controls, lay them out by Align and Anchors, paint windowless children in
// z-order, take the focus and follow the tab order.
#include <memory>
#include <vector>

#include "forms/Brush.h"
#include "forms/Controls.h"
#include "platform/win/WindowProc.h"
#include "platform/win/WindowStyles.h"

struct TCreateParams {
  std::string Caption;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  int X = 0, Y = 0, Width = 0, Height = 0;
  HWND WndParent = nullptr;
  std::string WinClassName;
  UINT ClassStyle = CS_DBLCLKS;
};

class TWinControl : public TControl {
public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;
  std::string ClassName() const override { return "TWinControl"; }

  // --- window --------------------------------------------------------------
  HWND Handle();
  bool HandleAllocated() const { return Handle_ != nullptr; }
  void HandleNeeded() { Handle(); }
  // The object behind a window made by the framework (null for others).
  static TWinControl* FromHandle(HWND window);
  // The procedure the framework's window procedure chains to.
  TWindowProc DefWndProc() const { return DefWndProc_; }
  void RecreateWnd();

  // --- children --------------------------------------------------------------
  int ControlCount() const { return static_cast<int>(Controls_.size()); }
  TControl* Controls(int index) const { return Controls_.at(static_cast<size_t>(index)); }
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  bool ContainsControl(const TControl* control) const;
  // Topmost visible child at a client point (windowless and windowed).
  TControl* ControlAtPos(TPoint pos, bool allowDisabled, bool allowWinControls = false) const;
  void DisableAlign() { ++AlignDisabled_; }
  void EnableAlign();
  void Realign();
  // Lays out again, giving `control` the place it was just moved to.
  void AlignControl(TControl* control);
  void SetChildOrder(TControl* child, int order);

  // --- focus and tab order ---------------------------------------------------
  bool TabStop() const { return TabStop_; }
  void SetTabStop(bool value) { TabStop_ = value; }
  int TabOrder() const;
  void SetTabOrder(int order);
  bool CanFocus() const override;
  bool Focused() const;
  virtual void SetFocus();
  // Windowed descendants in tab order (depth first).
  void GetTabOrderList(std::vector<TWinControl*>& list) const;
  TWinControl* FindNextControl(TWinControl* current, bool goForward, bool checkTabStop, bool checkParent) const;
  void SelectNext(TWinControl* current, bool goForward, bool checkTabStop);

  // --- geometry ------------------------------------------------------------
  void SetBounds(int left, int top, int width, int height) override;
  TRect ClientRect() const override;
  TPoint ClientOrigin() const override;
  bool Showing() const override;
  void SetEnabled(bool enabled) override;
  void SetText(const std::string& text) override;

  // --- painting --------------------------------------------------------------
  void Invalidate() override;
  void Update() override;
  void Repaint() override;
  // Paints the windowless children (z-order, bottom first) into the context.
  void PaintControls(HDC dc, TControl* first);
  TBrush& Brush() { return Brush_; }
  bool ParentBackground() const { return ControlStyle_.Contains(csParentBackground); }
  void SetParentBackground(bool value);
  bool DoubleBuffered() const { return DoubleBuffered_; }
  void SetDoubleBuffered(bool v) { DoubleBuffered_ = v; }

  void WndProc(TMessage& message) override;
  void DefaultHandler(TMessage& message) override;
  // Broadcast to every child control (each once).
  void Broadcast(TMessage& message);
  // Moves the mouse-over state to `control` (null: none), sending CM_MOUSELEAVE
  // to the old one and CM_MOUSEENTER to the new one.
  static void SetMouseControl(TControl* control);
  static TControl* MouseControl();
  // The windowless child that holds the mouse between a press and its release.
  TControl* CaptureControl() const { return CaptureControl_; }
  void SetCaptureControl(TControl* control);

  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;

protected:
  virtual void CreateParams(TCreateParams& params);
  virtual void CreateWnd();
  virtual void CreateHandle();
  virtual void DestroyHandle();
  // After the window exists: children get theirs.
  virtual void CreateWindowHandle(const TCreateParams& params);
  virtual void AlignControls(TControl* control, TRect& rect);
  // The area children align in (client rect less borders).
  virtual void AdjustClientRect(TRect& rect) const;
  virtual void PaintWindow(HDC dc);
  virtual void EraseBackground(HDC dc);
  // Keyboard: the framework's part first (preview, events, dialog keys), then the control's.
  virtual void KeyDown(WORD& key, TShiftState shift);
  virtual void KeyUp(WORD& key, TShiftState shift);
  virtual void KeyPress(char32_t& key);
  virtual void ControlKeyDown(WORD, TShiftState) {}
  virtual void ControlKeyUp(WORD, TShiftState) {}
  virtual void ControlKeyPress(char32_t) {}
  // One typed character through the form's preview, KeyPress and ControlKeyPress.
  void CharMessage(char32_t ch);
  // Which keys the control keeps for itself (DLGC_* flags).
  virtual LRESULT DialogCode() const { return 0; }
  virtual void DoEnter();
  virtual void DoExit();
  virtual void ShowingChanged();
  // True when the key was consumed before the control saw it.
  bool DoKeyDown(TMessage& message);
  // Forms answer true when they preview their controls' keys.
  virtual bool KeyPreviewWanted() const { return false; }
  void UpdateBoundsFromWindow();
  LRESULT CallDefault(UINT msg, WPARAM w, LPARAM l);

  bool TabStop_ = false;
  bool DoubleBuffered_ = false;

private:
  friend class TControl;
  static LRESULT InitWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT MainWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  bool IsControlMouseMsg(TMessage& message);
  void DoAlign(TAlign align, TRect& rect);
  void PaintHandler(TMessage& message);
  void ApplyAnchors();
  void CreateParamsForMeasure(TCreateParams& params);
  // WndProc's handlers, one per message; a bool one answers whether it took the
  // message (false lets the framework's control have it too).
  bool WmContextMenu(TMessage& message);
  void WmPrintClient(TMessage& message);
  void WmEraseBkgnd(TMessage& message);
  void WmMouseLeave(TMessage& message);
  void WmSetCursor(TMessage& message);
  void WmSetFocus(TMessage& message);
  void WmKillFocus(TMessage& message);
  void WmKeyDown(TMessage& message);
  void WmKeyUp(TMessage& message);
  void WmChar(TMessage& message);
  void WmBoundsChanged(TMessage& message);
  bool WmSetText(TMessage& message);
  bool WmMouseButton(TMessage& message);
  void CmColorChanged();
  void CmFontChanged();
  void CmShowHintChanged();
  void CmEnabledChanged();
  void CmVisibleChanged(TMessage& message);

  HWND Handle_ = nullptr;
  TWindowProc DefWndProc_;
  std::vector<TControl*> Controls_;  // z-order, bottom first
  std::vector<TWinControl*> TabList_;
  TBrush Brush_;
  TControl* CaptureControl_ = nullptr;
  TControl* AlignPriority_ = nullptr;
  int AlignDisabled_ = 0;
  bool AlignPending_ = false;
  bool Aligning_ = false;
  bool SettingBounds_ = false;
  bool DestroyingHandle_ = false;
  char32_t PendingHighSurrogate_ = 0;
};

// The form (or parent-less windowed control) a control lives on.
TWinControl* GetParentForm(const TControl* control);

// The two kinds of control every other control derives from.
#include "forms/CustomControl.h"
#include "forms/GraphicControl.h"
