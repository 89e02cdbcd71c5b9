#include "data/TParameters.h"

#include "data/TextCollation.h"
#include "platform/base/Exception.h"

TParameter* TParameters::FindParam(std::string_view name) {
  for (auto& item : Items_)
    if (SameFoldedText(item->Name(), name)) return item.get();
  return nullptr;
}

TParameter& TParameters::ParamByName(std::string_view name) {
  if (TParameter* found = FindParam(name)) return *found;
  throw EDatabaseError("Parameter '" + std::string(name) + "' not found");
}

void TParameters::Rebuild(const std::vector<std::string>& names) {
  std::vector<std::unique_ptr<TParameter>> fresh;
  fresh.reserve(names.size());
  for (const auto& name : names) {
    auto item = std::make_unique<TParameter>(name);
    if (TParameter* old = FindParam(name)) item->SetValue(old->Value());
    fresh.push_back(std::move(item));
  }
  Items_ = std::move(fresh);
}
