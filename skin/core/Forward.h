#pragma once
// The skin model's types, declared for headers that only name them.
class TacSkinModel;
struct TsGeneralData;
struct TsSkinData;
class TacSkinBudget;
class TacIniFile;
