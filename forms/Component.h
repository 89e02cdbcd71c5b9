#pragma once
// Components: objects with an owner that destroys them, a name unique among the
// owner's components, a tag and the component state of the classic framework.
//
// Windows are built in code under the loading state: components created while
// their owner is loading are loading too, and Loaded() clears it once every
// stored property has been set (see TForm::AfterConstruction).
#include <cstdint>
#include <string>
#include <vector>

#include "forms/Object.h"
#include "forms/Sets.h"

enum TComponentStateFlag {
  csLoading,
  csReading,
  csWriting,
  csDestroying,
  csDesigning,  // never set: the program has no designer
  csAncestor,
  csUpdating,
  csFixups,
  csFreeNotification,
  csInline,
  csDesignInstance
};
using TComponentState = TSet<TComponentStateFlag>;

enum TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
public:
  explicit TComponent(TComponent* owner);
  ~TComponent() override;
  std::string ClassName() const override { return "TComponent"; }

  TComponent* Owner() const { return Owner_; }
  const std::string& Name() const { return Name_; }
  // Raises Exception when another component of the same owner has the name.
  virtual void SetName(const std::string& name);
  std::intptr_t Tag() const { return Tag_; }
  void SetTag(std::intptr_t tag) { Tag_ = tag; }

  TComponentState ComponentState() const { return State_; }
  bool IsLoading() const { return State_.Contains(csLoading); }
  bool IsDestroying() const { return State_.Contains(csDestroying); }

  int ComponentCount() const { return static_cast<int>(Components_.size()); }
  TComponent* Components(int index) const { return Components_.at(static_cast<size_t>(index)); }
  int ComponentIndex() const;
  // Owned component by name, letter case ignored (ASCII); null when none.
  TComponent* FindComponent(const std::string& name) const;

  // Deletes every owned component, last created first.
  void DestroyComponents();

  // Marks this component and its owned components as loading.
  void BeginLoading();
  // Ask to be told (Notification opRemove) when `component` goes away, even
  // when it has another owner.
  void FreeNotification(TComponent* component);
  void RemoveFreeNotification(TComponent* component);

  // Takes over ownership of `component` (removing it from its old owner).
  void InsertComponent(TComponent* component);
  // Gives up ownership without destroying.
  void RemoveComponent(TComponent* component);

  // Called once every stored property is set; clears the loading state.
  virtual void Loaded();

protected:
  // Told about components inserted into or removed from the owner, and about
  // components this one asked FreeNotification for.
  virtual void Notification(TComponent* component, TOperation operation);
  // Marks destruction under way; derived destructors call it first.
  void Destroying();
  void SetComponentState(TComponentStateFlag flag, bool on) { State_.Set(flag, on); }

private:
  void NotifyOwned(TComponent* component, TOperation operation);

  TComponent* Owner_ = nullptr;
  std::string Name_;
  std::intptr_t Tag_ = 0;
  TComponentState State_;
  std::vector<TComponent*> Components_;
  std::vector<TComponent*> FreeNotifies_;
};
