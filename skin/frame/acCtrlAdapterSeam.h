#pragma once
// The seam to the standard-control adapter. Each form provider owns one adapter
// that skins the form's plain framework controls; the adapter lives in the
// skinned-controls layer above this one, which registers a factory here. Without
// a factory a provider has no adapter and plain controls keep their own look.
#include <functional>
#include <memory>

#include "forms/Forward.h"
#include "skin/frame/Forward.h"

class IacCtrlAdapter {
public:
  virtual ~IacCtrlAdapter() = default;
  // Scans the form and attaches to every control it skins.
  virtual void AddAllItems() = 0;
  // Detaches from every control (the skin was removed or the provider goes).
  virtual void RemoveAllItems() = 0;
  // A control was added to the form after the scan.
  virtual void AddNewItem(TControl* /*control*/) {}
};

using TacCtrlAdapterFactory = std::function<std::unique_ptr<IacCtrlAdapter>(TsSkinProvider& provider)>;

void SetCtrlAdapterFactory(TacCtrlAdapterFactory factory);
// An adapter for the provider from the registered factory; null without one.
std::unique_ptr<IacCtrlAdapter> MakeCtrlAdapter(TsSkinProvider& provider);
