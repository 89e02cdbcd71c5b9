#pragma once
// The standard-control adapter: each skinned form's provider owns one. It scans
// the form's controls and attaches a window subclass (TacMainWnd family) to every
// plain control whose class name one of the skin manager's ThirdParty lists names,
// so that the control is painted from a skin section without being replaced.
// Plain labels become transparent and take the skin's text colour (Tag 98 keeps
// a label's own colour; Tag -98 keeps any control out of all skinning).
#include <memory>
#include <string>
#include <vector>

#include "forms/Forward.h"
#include "skin/controls/Forward.h"
#include "skin/controls/acMainWnd.h"
#include "skin/frame/Forward.h"
#include "skin/frame/acCtrlAdapterSeam.h"
#include "skin/runtime/Forward.h"

// The subclass attached for each list, by list index, and its section.
struct TacThirdPartyKind {
  const char* Section;
  enum TKind { Edit, Button, BitBtn, Base, SpeedButton } Kind;
};
const TacThirdPartyKind& ThirdPartyKind(int listIndex);
// The first list (index order) naming the class; -1 for none. Blank lines match nothing.
int ThirdPartyIndexOf(const TsSkinManager& manager, const std::string& className);
// Creates and installs the subclass of a list for a window.
std::unique_ptr<TacMainWnd> MakeThirdPartySubclass(int listIndex, HWND window, TsCommonData* skinData,
                                                   TsSkinManager* manager);

// One adapted windowed control: its own skin data (kind 227) and its subclass.
class TacAdapterItem {
public:
  TacAdapterItem(TacCtrlAdapter& adapter, TWinControl* control);
  ~TacAdapterItem();
  // Attaches the subclass of the control's list; false when no list names it.
  bool Hook();
  // The subclass's window was destroyed.
  bool Dead() const { return Wnd && Wnd->Destroyed(); }

  TacCtrlAdapter& Adapter;
  TWinControl* Control = nullptr;
  std::unique_ptr<TsCommonData> SkinData;
  std::unique_ptr<TacMainWnd> Wnd;
};

class TacCtrlAdapter : public IacCtrlAdapter {
public:
  explicit TacCtrlAdapter(TsSkinProvider& provider);
  ~TacCtrlAdapter() override;

  // IacCtrlAdapter
  void AddAllItems() override;
  void RemoveAllItems() override;
  void AddNewItem(TControl* control) override;

  // Scans a window (the form when null) and its children.
  void ScanControls(TWinControl* window = nullptr);
  bool CanAdapt(TControl* control) const;
  void AdaptWindowed(TWinControl* control, const std::string& section);
  void RemoveDeadItems();
  // Sends a message to every hooked window.
  void SendToAll(UINT msg, WPARAM wParam, LPARAM lParam);

  TsSkinProvider& Provider() const { return Provider_; }
  TsSkinManager* Manager() const;
  const std::vector<std::unique_ptr<TacAdapterItem>>& Items() const { return Items_; }
  TacAdapterItem* ItemOf(const TControl* control) const;
  std::string DefaultSection = "EDIT";

private:
  void Scan(TWinControl* window);
  void Treat(TControl* control);
  void TreatLabel(TCustomLabel* label);
  bool ProviderAllows(TControl* control) const;
  void RestoreLabels(TWinControl* window);

  TsSkinProvider& Provider_;
  std::vector<std::unique_ptr<TacAdapterItem>> Items_;
  bool Removing_ = false;
  bool LabelsTreated_ = false;
};

// Gives every form provider an adapter, and takes the factory back (the skinned
// controls' engine part, skin/controls/acSkinEngine.h).
void StartCtrlAdapter();
void StopCtrlAdapter();
