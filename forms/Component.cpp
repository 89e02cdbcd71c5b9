#include "forms/Component.h"

#include <algorithm>

#include "platform/base/Exception.h"

namespace {

bool SameTextAscii(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]);
    unsigned char y = static_cast<unsigned char>(b[i]);
    if (x >= 'a' && x <= 'z') x = static_cast<unsigned char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<unsigned char>(y - 32);
    if (x != y) return false;
  }
  return true;
}

}  // namespace

TComponent::TComponent(TComponent* owner) {
  if (owner) {
    owner->InsertComponent(this);
    if (owner->IsLoading()) State_.Include(csLoading);
  }
}

TComponent::~TComponent() {
  Destroying();
  // Those who asked to be told learn about it before anything goes.
  std::vector<TComponent*> notifies;
  notifies.swap(FreeNotifies_);
  for (TComponent* c : notifies) {
    auto& theirs = c->FreeNotifies_;
    theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
    c->Notification(this, opRemove);
  }
  DestroyComponents();
  if (Owner_) Owner_->RemoveComponent(this);
}

void TComponent::Destroying() { State_.Include(csDestroying); }

int TComponent::ComponentIndex() const {
  if (!Owner_) return -1;
  auto it = std::find(Owner_->Components_.begin(), Owner_->Components_.end(), this);
  return it == Owner_->Components_.end() ? -1 : static_cast<int>(it - Owner_->Components_.begin());
}

void TComponent::SetName(const std::string& name) {
  if (name == Name_) return;
  if (!name.empty() && Owner_) {
    TComponent* other = Owner_->FindComponent(name);
    if (other && other != this) throw Exception("A component named " + name + " already exists");
  }
  Name_ = name;
}

TComponent* TComponent::FindComponent(const std::string& name) const {
  if (name.empty()) return nullptr;
  for (TComponent* c : Components_)
    if (SameTextAscii(c->Name_, name)) return c;
  return nullptr;
}

void TComponent::DestroyComponents() {
  while (!Components_.empty()) {
    TComponent* last = Components_.back();
    // The destructor removes it from our list through RemoveComponent.
    delete last;
  }
}

void TComponent::BeginLoading() {
  State_.Include(csLoading);
  for (TComponent* c : Components_) c->BeginLoading();
}

void TComponent::FreeNotification(TComponent* component) {
  if (!component || component == this) return;
  if (std::find(FreeNotifies_.begin(), FreeNotifies_.end(), component) == FreeNotifies_.end()) {
    FreeNotifies_.push_back(component);
    component->FreeNotifies_.push_back(this);
  }
}

void TComponent::RemoveFreeNotification(TComponent* component) {
  if (!component) return;
  FreeNotifies_.erase(std::remove(FreeNotifies_.begin(), FreeNotifies_.end(), component), FreeNotifies_.end());
  auto& theirs = component->FreeNotifies_;
  theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
}

void TComponent::InsertComponent(TComponent* component) {
  if (!component || component->Owner_ == this) return;
  if (component->Owner_) component->Owner_->RemoveComponent(component);
  Components_.push_back(component);
  component->Owner_ = this;
  NotifyOwned(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
  auto it = std::find(Components_.begin(), Components_.end(), component);
  if (it == Components_.end()) return;
  Components_.erase(it);
  component->Owner_ = nullptr;
  NotifyOwned(component, opRemove);
}

void TComponent::NotifyOwned(TComponent* component, TOperation operation) {
  // The owner hears first, then its other components, as the classic framework
  // broadcasts; a component being destroyed is not told about its siblings.
  if (!IsDestroying()) Notification(component, operation);
}

void TComponent::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove && component) {
    FreeNotifies_.erase(std::remove(FreeNotifies_.begin(), FreeNotifies_.end(), component), FreeNotifies_.end());
  }
  // Forward to owned components so that references among siblings clear.
  std::vector<TComponent*> owned = Components_;
  for (TComponent* c : owned)
    if (c != component) c->Notification(component, operation);
}

void TComponent::Loaded() { State_.Exclude(csLoading); }
