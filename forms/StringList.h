#pragma once
// The general-purpose string list: optional sorting, duplicate handling and
// change events.
#include <functional>

#include "forms/Strings.h"

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList : public TStrings {
public:
  TStringList() = default;
  std::string ClassName() const override { return "TStringList"; }

  int Count() const override { return static_cast<int>(Items_.size()); }
  std::string Get(int index) const override;
  void Put(int index, const std::string& text) override;
  TObject* GetObject(int index) const override;
  void PutObject(int index, TObject* object) override;
  // Raises "Operation not allowed on sorted list" while sorted.
  void Insert(int index, const std::string& text) override;
  void Delete(int index) override;
  void Clear() override;
  // Sorted lists insert in order and apply Duplicates.
  int Add(const std::string& text) override;
  int IndexOf(const std::string& text) const override;

  // Binary search of a sorted list: true when found; index is the match or the
  // insertion point.
  bool Find(const std::string& text, int& index) const;
  void Sort();
  void CustomSort(const std::function<int(const TStringList&, int, int)>& compare);

  bool Sorted() const { return Sorted_; }
  void SetSorted(bool sorted);
  TDuplicates Duplicates() const { return Duplicates_; }
  void SetDuplicates(TDuplicates d) { Duplicates_ = d; }
  bool CaseSensitive() const { return CaseSensitive_; }
  void SetCaseSensitive(bool value);

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

protected:
  void SetUpdateState(bool updating) override;
  virtual void Changed();
  virtual void Changing();
  int CompareStrings(const std::string& a, const std::string& b) const;

private:
  struct TItem {
    std::string Text;
    TObject* Object = nullptr;
  };
  void CheckIndex(int index, bool allowEnd) const;
  void InsertItem(int index, const std::string& text);

  std::vector<TItem> Items_;
  bool Sorted_ = false;
  bool CaseSensitive_ = false;
  TDuplicates Duplicates_ = dupIgnore;
};
