#pragma once
// The push button: Default answers Enter and Cancel answers Esc from any
// control that does not keep those keys; ModalResult closes a modal form.
#include "forms/CustomControl.h"

class TButton : public TCustomControl {
public:
  explicit TButton(TComponent* owner);
  std::string ClassName() const override { return "TButton"; }

  bool Default() const { return Default_; }
  void SetDefault(bool value);
  bool Cancel() const { return Cancel_; }
  void SetCancel(bool value) { Cancel_ = value; }
  int ModalResult() const { return ModalResult_; }
  void SetModalResult(int value) { ModalResult_ = value; }
  bool WordWrap() const { return WordWrap_; }
  void SetWordWrap(bool value);
  // Pressed look while the mouse or the space bar holds it.
  bool Pressed() const { return Pressed_; }

  void Click() override;
  void WndProc(TMessage& message) override;

protected:
  void Paint() override;
  // Caption and glyph drawing inside the face (bit buttons add a glyph).
  virtual void PaintContent(TRect rect, bool enabled);
  void MouseDown(TMouseBtn button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseBtn button, TShiftState shift, int x, int y) override;
  void ControlKeyDown(WORD key, TShiftState shift) override;
  void ControlKeyUp(WORD key, TShiftState shift) override;
  LRESULT DialogCode() const override;
  // True when Enter presses this button now (default, or focused).
  bool IsActiveDefault() const;

private:
  bool Default_ = false;
  bool Cancel_ = false;
  int ModalResult_ = 0;
  bool WordWrap_ = false;
  bool Pressed_ = false;
  bool Tracking_ = false;
  bool SpaceDown_ = false;
};
