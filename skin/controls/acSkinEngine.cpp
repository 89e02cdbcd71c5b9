#include "skin/controls/acSkinEngine.h"

#include "forms/db/FormsDbEngine.h"
#include "forms/db/NavigatorLogic.h"
#include "skin/controls/acCtrlAdapter.h"
#include "skin/controls/acEditUpkeep.h"
#include "skin/controls/acMainWnd.h"
#include "skin/controls/acPopupMenuWnd.h"
#include "skin/controls/sBitBtn.h"
#include "skin/controls/sButton.h"
#include "skin/controls/sCheckBox.h"
#include "skin/controls/sDBNavigator.h"
#include "skin/controls/sEdit.h"
#include "skin/controls/sLabel.h"
#include "skin/controls/sPanel.h"
#include "skin/controls/sSpeedButton.h"
#include "skin/frame/acFrameEngine.h"

namespace {
void StartSkinControls() {
  StartCtrlAdapter();
  TacMainWnd::RegisterSkinReporter();
  TsCustomLabel::RegisterSkinReporter();
  RegisterSkinManagerDriverProperties();
  TsSpeedButton::RegisterDriverProperties();
  TsButton::RegisterDriverProperties();
  TsBitBtn::RegisterDriverProperties();
  TsCheckBox::RegisterDriverProperties();
  TsEdit::RegisterDriverProperties();
  TNavigatorLogic::RegisterDriverProperties<TsDBNavigator>();
  RegisterFaceDriverProperties();
  TacPopupMenuWindow::Install();
}

void StopSkinControls() {
  TacPopupMenuWindow::Uninstall();
  StopCtrlAdapter();
}
}  // namespace

// Reporters and properties go with the runtime's and the framework's parts.
TEnginePart SkinControlsEnginePart() { return {"skin/controls", StartSkinControls, StopSkinControls}; }

std::vector<TEnginePart> SkinEngineParts() {
  std::vector<TEnginePart> parts = SkinFrameEngineParts();
  parts.insert(parts.begin() + 1, FormsDbEnginePart());  // right after the framework
  parts.push_back(SkinControlsEnginePart());
  return parts;
}
