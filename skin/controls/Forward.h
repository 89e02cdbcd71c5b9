#pragma once
// The skinned controls, declared for headers that only name them.
class TsPanel;
class TsSpeedButton;
class TsButton;
class TsBitBtn;
class TsCheckBox;
class TsEdit;
class TsMemo;
class TsLabel;
class TsGroupBox;
class TsDBNavigator;
class TacCtrlAdapter;
class TacMainWnd;
