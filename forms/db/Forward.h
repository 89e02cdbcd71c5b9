#pragma once
// The data-aware controls and the components the windows hold, declared for
// headers that only name them.
class TADOConnectionComponent;
class TDataSetComponent;
class TADOQueryComponent;
class TADOTableComponent;
class TDataSourceComponent;
class TDBEdit;
class TDBGrid;
class TDBListBox;
class TDBLookupListBox;
class TDBMemo;
class TDBNavigator;
class TDBTextBinding;
class TNavigatorLogic;
