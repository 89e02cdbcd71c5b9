#pragma once
// Top-level windows. A form is built in its constructor under the loading
// state; AfterConstruction then calls Loaded on every component it owns and
// runs OnCreate. Forms are created hidden; Show is modeless and only brings an
// already visible form to the front (OnShow runs on hidden -> visible only).
// Closing hides a form, closing the main form ends the program.
#include <functional>

#include "forms/WinControl.h"

enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon>;
enum TPosition { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
                 poMainFormCenter, poOwnerFormCenter };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TCloseAction { caNone, caHide, caFree, caMinimize };

using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
constexpr TModalResult mrAbort = 3;
constexpr TModalResult mrRetry = 4;
constexpr TModalResult mrIgnore = 5;
constexpr TModalResult mrYes = 6;
constexpr TModalResult mrNo = 7;
constexpr TModalResult mrAll = 8;

using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;
using TCloseQueryEvent = std::function<void(TObject* sender, bool& canClose)>;

class TForm : public TWinControl {
public:
  explicit TForm(TComponent* owner);
  ~TForm() override;
  std::string ClassName() const override { return "TForm"; }

  // Ends construction: Loaded on every owned component, then OnCreate.
  virtual void AfterConstruction();

  TFormBorderStyle BorderStyle() const { return BorderStyle_; }
  void SetBorderStyle(TFormBorderStyle style);
  TBorderIcons BorderIcons() const { return BorderIcons_; }
  void SetBorderIcons(TBorderIcons icons);
  TPosition Position() const { return Position_; }
  void SetPosition(TPosition position) { Position_ = position; }
  TWindowState WindowState() const { return WindowState_; }
  void SetWindowState(TWindowState state);
  TFormStyle FormStyle() const { return FormStyle_; }
  void SetFormStyle(TFormStyle style);
  bool KeyPreview() const { return KeyPreview_; }
  void SetKeyPreview(bool value) { KeyPreview_ = value; }
  bool AlphaBlend() const { return AlphaBlend_; }
  void SetAlphaBlend(bool value);
  std::uint8_t AlphaBlendValue() const { return AlphaBlendValue_; }
  void SetAlphaBlendValue(std::uint8_t value);
  TModalResult ModalResult() const { return ModalResult_; }
  void SetModalResult(TModalResult result) { ModalResult_ = result; }
  TWinControl* ActiveControl() const { return ActiveControl_; }
  void SetActiveControl(TWinControl* control);
  bool Active() const;
  bool Modal() const { return InModal_; }

  // Brings the form up modeless (to the front when already visible).
  virtual void Show();
  // Runs a nested loop until ModalResult is set; returns it.
  virtual TModalResult ShowModal();
  virtual void Close();
  // Focuses the form's window (raises when it cannot take the focus).
  void SetFocus() override;
  bool CanFocus() const override { return Visible() && Enabled(); }
  bool Showing() const override;
  void SetBounds(int left, int top, int width, int height) override;

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;

  void WndProc(TMessage& message) override;

protected:
  void CreateParams(TCreateParams& params) override;
  void ShowingChanged() override;
  bool KeyPreviewWanted() const override { return KeyPreview_; }
  virtual void DoCreate();
  virtual void DoShow();
  virtual void DoHide();
  virtual bool CloseQuery();
  void ApplyAlpha();
  void ApplyPosition();
  // Makes the window anew for a changed frame; a form on screen stays on screen.
  void RecreateFrame();

private:
  void LoadedAll(TComponent* root);

  TFormBorderStyle BorderStyle_ = bsSizeable;
  TBorderIcons BorderIcons_{biSystemMenu, biMinimize, biMaximize};
  TPosition Position_ = poDesigned;
  TWindowState WindowState_ = wsNormal;
  TFormStyle FormStyle_ = fsNormal;
  bool KeyPreview_ = false;
  bool AlphaBlend_ = false;
  std::uint8_t AlphaBlendValue_ = 255;
  TModalResult ModalResult_ = mrNone;
  TWinControl* ActiveControl_ = nullptr;
  bool InModal_ = false;
  bool ShownOnce_ = false;
  bool Created_ = false;
};

// The forms of the program and the screen they live on.
class TScreen {
public:
  int FormCount() const { return static_cast<int>(Forms_.size()); }
  TForm* Forms(int index) const { return Forms_.at(static_cast<size_t>(index)); }
  // By component name; null when none.
  TForm* FindForm(const std::string& name) const;
  TForm* ActiveForm() const;
  int Width() const;
  int Height() const;

private:
  friend class TForm;
  std::vector<TForm*> Forms_;
};

TScreen* Screen();
