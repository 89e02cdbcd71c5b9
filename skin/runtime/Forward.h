#pragma once
// The skin runtime's types, declared for headers that only name them.
class TsSkinManager;
class TsCommonData;
class IacSkinnedControl;
struct TacBGInfo;
enum TacCommand : unsigned;
enum class TacPaintState : int;
