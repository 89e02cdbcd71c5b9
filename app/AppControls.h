#pragma once
// The classes the windows' members are made of, named once: the skinned controls,
// and the framework's controls that the standard-control adapter skins in place.
#include "forms/BitBtn.h"
#include "forms/Button.h"
#include "forms/CheckBox.h"
#include "forms/CustomEdit.h"
#include "forms/CustomLabel.h"
#include "forms/CustomPanel.h"
#include "forms/GroupBox.h"
#include "forms/Image.h"
#include "forms/ListBox.h"
#include "forms/Memo.h"
#include "forms/SpeedButton.h"
#include "forms/db/DBListBox.h"
#include "skin/controls/sBitBtn.h"
#include "skin/controls/sButton.h"
#include "skin/controls/sCheckBox.h"
#include "skin/controls/sEdit.h"
#include "skin/controls/sGroupBox.h"
#include "skin/controls/sLabel.h"
#include "skin/controls/sMemo.h"
#include "skin/controls/sPanel.h"
#include "skin/controls/sSpeedButton.h"


// Makes a control owned by `form`, names it and puts it on `parent`.
template <class T>
T* MakeControl(TComponent* form, TWinControl* parent, const char* name) {
  auto* control = new T(form);
  control->SetName(name);
  control->SetParent(parent);
  return control;
}
// The same, placed at the given bounds.
template <class T>
T* MakeControl(TComponent* form, TWinControl* parent, const char* name, int left, int top, int width, int height) {
  T* control = MakeControl<T>(form, parent, name);
  control->SetBounds(left, top, width, height);
  return control;
}
// A component that is not a control (datasets, data sources, timers).
template <class T>
T* MakeComponent(TComponent* form, const char* name) {
  auto* component = new T(form);
  component->SetName(name);
  return component;
}
