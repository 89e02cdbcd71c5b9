#pragma once
// The form provider: paints a form's whole window (frame, title band, window icon,
// caption text and caption buttons) from the active skin into one image, rebuilt
// only when dirty, copies the frame from it and answers the children's background
// requests from it. Its window procedure stands in front of the form's own.
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "forms/Component.h"
#include "forms/Controls.h"
#include "forms/Forward.h"
#include "platform/gfx/Bitmap.h"
#include "platform/win/WinTypes.h"
#include "skin/frame/acCtrlAdapterSeam.h"
#include "skin/runtime/acFormRegistry.h"
#include "skin/runtime/acPaintState.h"
#include "skin/runtime/acSkinCommands.h"
#include "skin/runtime/sCommonData.h"

enum TsGripMode { gmNone, gmRightBottom };
enum TsResizeMode { rmStandard, rmBorder };

struct TsTitleIcon {
  std::unique_ptr<TBitmap> Glyph;
  int Width = 0;
  int Height = 0;
};

struct TsTitleButton {
  bool Enabled = true;
  std::unique_ptr<TBitmap> Glyph;
  std::string Hint;
  std::string Name;
  bool UseSkinData = true;
  TNotifyEvent OnMouseDown;
  TNotifyEvent OnMouseUp;
};

// One caption button: its state, image, place in window coordinates and animation.
struct TsCaptionButton {
  TacPaintState State = TacPaintState::Normal;
  int ImageIndex = -1;  // mask index, -1 none
  TRect Rect;           // window coordinates, empty when absent
  bool Large = true;
  int HitCode = 0;
  bool Enabled = true;
  int GlowId = -1;
  // Hover animation: the new look blended over the old one in steps of 12 ms.
  int Level = 0;        // 0..255 of the hot look over the normal one
  int Target = 0;       // where Level runs to
  int Step = 0;         // change of Level per tick
  bool Animating() const { return Level != Target; }
};

class TsSkinProvider : public TComponent, public IacSkinDataOwner, public IacProviderLink, private TacSkinCommands {
public:
  // Raises "TsSkinProvider component must be used with forms only!" for an owner
  // that is not a form; frees an older provider found on the same form.
  explicit TsSkinProvider(TComponent* owner);
  ~TsSkinProvider() override;
  std::string ClassName() const override { return "TsSkinProvider"; }

  // --- Published -------------------------------------------------------------------
  bool AllowExtBorders = true;
  TAlignment CaptionAlignment = taLeftJustify;
  bool DrawNonClientArea() const { return DrawNonClientArea_; }
  void SetDrawNonClientArea(bool value);
  TsCommonData& SkinData() { return SkinData_; }
  TsGripMode GripMode() const { return GripMode_; }
  void SetGripMode(TsGripMode value);
  bool MakeSkinMenu = false;
  std::string MenuLineSkin;
  TsResizeMode ResizeMode = rmStandard;
  bool ScreenSnap = false;
  int SnapBuffer = 10;
  bool ShowAppIcon() const { return ShowAppIcon_; }
  void SetShowAppIcon(bool value);
  std::vector<TsTitleButton> TitleButtons;
  TsTitleIcon TitleIcon;
  const std::string& TitleSkin() const { return TitleSkin_; }
  void SetTitleSkin(const std::string& value);
  bool UseGlobalColor = true;
  std::function<void(TObject* item, bool& canSkin)> OnSkinItem;

  // --- Run-time state ----------------------------------------------------------------
  TForm* Form() const { return Form_; }
  // True while the provider paints the form's frame.
  bool FrameSkinned() const;
  // The section of the title band ("" when the form has no caption or no skin).
  std::string TitleSectionName() const;
  bool FormActive() const { return FormActive_; }
  const TBitmap* WindowImage() const { return SkinData_.Cache(); }
  // The title band as painted before the caption buttons (window coordinates from 0, 0).
  const TBitmap& TitleBackground() const { return TitleBg_; }
  const TsCaptionButton& Button(int hitCode) const;
  // The button under the mouse (a hit code, -1 none).
  int HotButton() const { return HotButton_; }
  IacCtrlAdapter* Adapter() const { return Adapter_.get(); }

  // Rebuilds the whole-window image now (it is kept until marked dirty).
  void PaintAll();
  // Marks the image dirty and repaints the frame (and the client with `all`).
  void Refresh(bool all);
  // One tick of the caption-button animation (the 12 ms timer runs it).
  void AnimationStep();
  // The provider attached to a form, or null.
  static TsSkinProvider* Of(TForm* form);

  // IacProviderLink
  TsSkinManager* LinkManager() const override { return SkinData_.GetManager(); }
  bool RedrawLocked() const override { return RedrawLocked_; }
  void SetRedrawLocked(bool locked) override { RedrawLocked_ = locked; }
  bool PaintsNonClient() const override { return FrameSkinned(); }
  void RebuildFrame() override { SkinData_.SetDirty(true); }

  // IacSkinDataOwner
  TWinControl* ProviderForm() const override;
  void OwnerCommand(TMessage& message) override;
  void SectionChanged() override;
  void RepaintFrame() override { Refresh(false); }

  void Loaded() override;

private:
  friend class TsProviderFrame;
  void Attach();
  void Detach();
  bool SkinnedNow(bool checkReady) const;
  void NewWndProc(TMessage& message);
  void CallOld(TMessage& message);
  // The skin commands (the one path): the provider's own steps and answers.
  void TakeSkinChange(TsCommonData* data, TMessage& message, TacCommand command) override;
  void SkinChanged(TacCommand command) override;
  bool AnswerBackground(TMessage& message) override;
  bool AnswerColor(TMessage& message) override;
  bool OwnCommand(TacCommand command, TMessage& message) override;
  void InitButtons();
  void RemoveSkin();
  void UpdateRegion();

  // Frame geometry (window coordinates).
  int BorderWidth() const;
  int CaptionHeight() const;
  bool HasCaption() const;
  TPoint ClientOffset() const;
  TRect CaptionBand() const;
  TRect IconRect() const;
  bool IconShown() const;

  // Painting (sSkinProviderPaint.cpp).
  void PaintTitle(TBitmap& image);
  void PaintCaptionText(TBitmap& image);
  void PaintButtons(TBitmap& image);
  void DrawButton(TBitmap& image, const TsCaptionButton& button);
  void RepaintButton(int hitCode);
  void CopyFrameToWindow(const TRect* only);
  void PaintClientBackground(HDC dc);
  int TitleSectionIndex() const;

  // Caption buttons and the mouse (sSkinProviderButtons.cpp).
  void LayoutButtons();
  TsCaptionButton* ButtonAt(int hitCode);
  LRESULT HitTest(TPoint screen);
  // Over the size grip (GRIPIMAGE with gmRightBottom, or the box between two scroll
  // bars); p in window coordinates.
  bool InGrip(TPoint p);
  void SetHotButton(int hitCode);
  void StartAnimation(TsCaptionButton& button, int target, int steps);
  void ShowButtonGlow(TsCaptionButton& button);
  void HideButtonGlow(TsCaptionButton& button);
  bool NcButtonDown(int hitCode);
  bool NcButtonUp(int hitCode);

  TForm* Form_ = nullptr;
  std::function<void(TMessage&)> OldWndProc_;
  TsCommonData SkinData_;
  bool DrawNonClientArea_ = true;
  TsGripMode GripMode_ = gmNone;
  bool ShowAppIcon_ = true;
  std::string TitleSkin_;
  bool FormActive_ = false;
  bool RedrawLocked_ = false;
  bool Attached_ = false;
  bool Initialized_ = false;
  int MenuRows_ = -1;
  int HotButton_ = -1;
  int PressedButton_ = -1;
  bool TimerOn_ = false;
  TBitmap TitleBg_;  // the caption band before the buttons were drawn
  TRect TitleBgRect_;
  std::array<TsCaptionButton, 7> Buttons_{};
  std::unique_ptr<IacCtrlAdapter> Adapter_;
  bool RegionSet_ = false;
};

// The timer id of the caption-button animation on the form's window.
constexpr UINT_PTR kCaptionAnimationTimer = 0xAC12;
