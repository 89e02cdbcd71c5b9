#pragma once
// The framework's classes, declared for headers that only name them.
class TObject;
class TComponent;
class TControl;
class TWinControl;
class TCustomControl;
class TGraphicControl;
class TForm;
class TApplication;
class TCanvas;
class TFont;
class TTimer;
class TSpeedButton;
class TStrings;
class TStringList;
class TPopupMenu;
class TMenuItem;
