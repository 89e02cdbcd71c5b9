#include "forms/StringList.h"

#include <algorithm>

#include "platform/base/Cp1251.h"
#include "platform/base/Exception.h"

std::string TStringList::Get(int index) const {
  CheckIndex(index, false);
  return Items_[static_cast<size_t>(index)].Text;
}

void TStringList::Put(int index, const std::string& text) {
  if (Sorted_) throw Exception("Operation not allowed on sorted list");
  CheckIndex(index, false);
  Changing();
  Items_[static_cast<size_t>(index)].Text = text;
  Changed();
}

TObject* TStringList::GetObject(int index) const {
  CheckIndex(index, false);
  return Items_[static_cast<size_t>(index)].Object;
}

void TStringList::PutObject(int index, TObject* object) {
  CheckIndex(index, false);
  Changing();
  Items_[static_cast<size_t>(index)].Object = object;
  Changed();
}

void TStringList::Insert(int index, const std::string& text) {
  if (Sorted_) throw Exception("Operation not allowed on sorted list");
  CheckIndex(index, true);
  InsertItem(index, text);
}

void TStringList::InsertItem(int index, const std::string& text) {
  Changing();
  Items_.insert(Items_.begin() + index, TItem{text, nullptr});
  Changed();
}

void TStringList::Delete(int index) {
  CheckIndex(index, false);
  Changing();
  Items_.erase(Items_.begin() + index);
  Changed();
}

void TStringList::Clear() {
  if (Items_.empty()) return;
  Changing();
  Items_.clear();
  Changed();
}

int TStringList::Add(const std::string& text) {
  if (!Sorted_) {
    int index = Count();
    InsertItem(index, text);
    return index;
  }
  int index = 0;
  if (Find(text, index)) {
    switch (Duplicates_) {
      case dupIgnore: return index;
      case dupError: throw Exception("String list does not allow duplicates");
      case dupAccept: break;
    }
  }
  InsertItem(index, text);
  return index;
}

int TStringList::IndexOf(const std::string& text) const {
  if (Sorted_) {
    int index = 0;
    return Find(text, index) ? index : -1;
  }
  for (int i = 0; i < Count(); ++i)
    if (CompareStrings(Items_[static_cast<size_t>(i)].Text, text) == 0) return i;
  return -1;
}

bool TStringList::Find(const std::string& text, int& index) const {
  int lo = 0, hi = Count() - 1;
  bool found = false;
  while (lo <= hi) {
    int mid = (lo + hi) / 2;
    int c = CompareStrings(Items_[static_cast<size_t>(mid)].Text, text);
    if (c < 0) {
      lo = mid + 1;
    } else {
      hi = mid - 1;
      if (c == 0) {
        found = true;
        if (Duplicates_ != dupAccept) lo = mid;
      }
    }
  }
  index = lo;
  return found;
}

void TStringList::Sort() {
  CustomSort([](const TStringList& list, int a, int b) {
    return list.CompareStrings(list.Items_[static_cast<size_t>(a)].Text, list.Items_[static_cast<size_t>(b)].Text);
  });
}

void TStringList::CustomSort(const std::function<int(const TStringList&, int, int)>& compare) {
  if (Items_.size() < 2) return;
  Changing();
  // Sort a permutation so the comparer sees indexes into the unsorted list.
  std::vector<int> order(Items_.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return compare(*this, a, b) < 0; });
  std::vector<TItem> sorted;
  sorted.reserve(Items_.size());
  for (int i : order) sorted.push_back(Items_[static_cast<size_t>(i)]);
  Items_.swap(sorted);
  Changed();
}

void TStringList::SetSorted(bool sorted) {
  if (sorted == Sorted_) return;
  if (sorted) Sort();
  Sorted_ = sorted;
}

void TStringList::SetCaseSensitive(bool value) {
  if (value == CaseSensitive_) return;
  CaseSensitive_ = value;
  if (Sorted_) Sort();
}

int TStringList::CompareStrings(const std::string& a, const std::string& b) const {
  if (CaseSensitive_) return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
  std::string ua = UpperCaseUtf8(a), ub = UpperCaseUtf8(b);
  int c = ua.compare(ub);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

void TStringList::SetUpdateState(bool updating) {
  if (updating) Changing();
  else Changed();
}

void TStringList::Changed() {
  if (UpdateCount() == 0 && OnChange) OnChange(this);
}

void TStringList::Changing() {
  if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}

void TStringList::CheckIndex(int index, bool allowEnd) const {
  int limit = allowEnd ? Count() : Count() - 1;
  if (index < 0 || index > limit) IndexError(index);
}
