#pragma once
// The skinned edit (user and password fields of the user window). It paints its
// frame itself, from a face kept in the skin data's cache, in the non-client paint;
// the framework paints the client area with the section's colours (the hot ones
// while focused or under the mouse). A disabled edit paints everything, text
// included, from the face.
#include <memory>
#include <string>

#include "forms/CustomEdit.h"
#include "skin/controls/acButtonCommon.h"
#include "skin/runtime/acSkinCommands.h"
#include "skin/controls/sLabel.h"
#include "skin/runtime/sCommonData.h"

class TsEdit : public TEdit, public IacSkinnedControl, private TacSkinCommands {
public:
  // What scripts can read of it; registered when its layer's engine part starts.
  static void RegisterDriverProperties();
  explicit TsEdit(TComponent* owner);
  ~TsEdit() override;
  std::string ClassName() const override { return "TsEdit"; }
  TsCommonData* SkinData() override { return SkinData_.get(); }

  TsBoundLabel& BoundLabel() { return *BoundLabel_; }
  TsDisabledKind DisabledKind() const { return DisabledKind_; }
  void SetDisabledKind(TsDisabledKind value);

  // The face: section over what lies behind, the text, the disabled look.
  virtual void PrepareCache();
  // The text of the face (the password character once per character when set).
  virtual void PaintText();
  // Width of the frame ring the non-client paint copies from the face.
  int FrameRingWidth() const;
  // Bevels present while BevelKind is set (one pixel of frame each).
  int BevelCount() const;
  // How many times the face was rebuilt.
  int RenderCount() const { return RenderCount_; }

  void WndProc(TMessage& message) override;

protected:
  void Loaded() override;

private:
  void SkinChanged(TacCommand command) override;
  void ParentPainted() override;
  bool AnswerColor(TMessage& message) override;
  bool OwnCommand(TacCommand command, TMessage& message) override;
  void ApplySkinColors();
  void PaintFrame();
  void PaintDisabled(HDC dc);
  void PrintClient(HDC dc);
  void RepaintAll();

  std::unique_ptr<TsCommonData> SkinData_;
  std::unique_ptr<TsBoundLabel> BoundLabel_;
  TsDisabledKind DisabledKind_{dkBlended};
  int RenderCount_ = 0;
  bool ApplyingColors_ = false;
};
