#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/Component.h"
#include "platform/base/Exception.h"

namespace {

// Records its own destruction and the removals it is told about.
class TProbe : public TComponent {
public:
  TProbe(TComponent* owner, std::vector<std::string>* log) : TComponent(owner), Log(log) {}
  ~TProbe() override {
    if (Log) Log->push_back("destroy " + Name());
  }
  void Loaded() override {
    TComponent::Loaded();
    if (Log) Log->push_back("loaded " + Name());
  }
  TComponent* Watched = nullptr;
  std::vector<std::string>* Log;

protected:
  void Notification(TComponent* component, TOperation operation) override {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == Watched) Watched = nullptr;
  }
};

}  // namespace

TEST(Component, OwnerDestroysOwnedComponentsLastFirst) {
  std::vector<std::string> log;
  {
    TProbe root(nullptr, &log);
    root.SetName("Root");
    auto* a = new TProbe(&root, &log);
    a->SetName("A");
    auto* b = new TProbe(&root, &log);
    b->SetName("B");
    auto* c = new TProbe(a, &log);
    c->SetName("C");
    EXPECT_EQ(root.ComponentCount(), 2);
    EXPECT_EQ(a->ComponentCount(), 1);
    EXPECT_EQ(b->ComponentIndex(), 1);
  }
  std::vector<std::string> expected{"destroy Root", "destroy B", "destroy A", "destroy C"};
  EXPECT_EQ(log, expected);
}

TEST(Component, DeletingAnOwnedComponentRemovesItFromItsOwner) {
  TComponent root(nullptr);
  auto* a = new TComponent(&root);
  a->SetName("A");
  delete a;
  EXPECT_EQ(root.ComponentCount(), 0);
  EXPECT_EQ(root.FindComponent("A"), nullptr);
}

TEST(Component, FindComponentIgnoresLetterCase) {
  TComponent root(nullptr);
  auto* edit = new TComponent(&root);
  edit->SetName("UserName");
  EXPECT_EQ(root.FindComponent("username"), edit);
  EXPECT_EQ(root.FindComponent("USERNAME"), edit);
  EXPECT_EQ(root.FindComponent("User"), nullptr);
  EXPECT_EQ(root.FindComponent(""), nullptr);
}

TEST(Component, DuplicateNameIsRefusedAndKeepsTheOldName) {
  TComponent root(nullptr);
  auto* a = new TComponent(&root);
  auto* b = new TComponent(&root);
  a->SetName("Button1");
  b->SetName("Button2");
  EXPECT_THROW(b->SetName("button1"), Exception);
  EXPECT_EQ(b->Name(), "Button2");
  // Renaming to its own name with another case is fine.
  EXPECT_NO_THROW(a->SetName("BUTTON1"));
}

TEST(Component, SiblingsAreToldWhenAComponentGoes) {
  TComponent root(nullptr);
  auto* watcher = new TProbe(&root, nullptr);
  auto* target = new TComponent(&root);
  watcher->Watched = target;
  delete target;
  EXPECT_EQ(watcher->Watched, nullptr);
}

TEST(Component, FreeNotificationReachesAcrossOwners) {
  TComponent ownerA(nullptr), ownerB(nullptr);
  auto* watcher = new TProbe(&ownerA, nullptr);
  auto* target = new TComponent(&ownerB);
  watcher->Watched = target;
  watcher->FreeNotification(target);
  delete target;
  EXPECT_EQ(watcher->Watched, nullptr);
  // And the watcher going first leaves no dangling link behind: the target's
  // later removal still reaches the watcher that stays, and only that one.
  auto* target2 = new TComponent(&ownerB);
  auto* watcher2 = new TProbe(&ownerA, nullptr);
  auto* watcher3 = new TProbe(&ownerA, nullptr);
  watcher2->Watched = target2;
  watcher3->Watched = target2;
  watcher2->FreeNotification(target2);
  watcher3->FreeNotification(target2);
  delete watcher2;
  delete target2;
  EXPECT_EQ(watcher3->Watched, nullptr);
}

TEST(Component, ComponentsCreatedUnderALoadingOwnerLoadToo) {
  std::vector<std::string> log;
  TProbe root(nullptr, &log);
  root.BeginLoading();
  auto* a = new TProbe(&root, nullptr);
  EXPECT_TRUE(root.IsLoading());
  EXPECT_TRUE(a->IsLoading());
  EXPECT_FALSE(a->ComponentState().Contains(csDesigning));
  a->Loaded();
  EXPECT_FALSE(a->IsLoading());
}

TEST(Component, InsertComponentMovesOwnership) {
  TComponent a(nullptr), b(nullptr);
  auto* c = new TComponent(&a);
  b.InsertComponent(c);
  EXPECT_EQ(c->Owner(), &b);
  EXPECT_EQ(a.ComponentCount(), 0);
  EXPECT_EQ(b.ComponentCount(), 1);
}
