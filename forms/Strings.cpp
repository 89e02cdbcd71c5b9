#include "forms/Strings.h"

#include "platform/base/Exception.h"

void TStrings::IndexError(int index) {
  throw Exception("List index out of bounds (" + std::to_string(index) + ")");
}

void TStrings::Put(int index, const std::string& text) {
  TObject* object = GetObject(index);
  BeginUpdate();
  Delete(index);
  InsertObject(index, text, object);
  EndUpdate();
}

TObject* TStrings::GetObject(int) const { return nullptr; }
void TStrings::PutObject(int, TObject*) {}

int TStrings::Add(const std::string& text) {
  int index = Count();
  Insert(index, text);
  return index;
}

int TStrings::AddObject(const std::string& text, TObject* object) {
  int index = Add(text);
  PutObject(index, object);
  return index;
}

void TStrings::InsertObject(int index, const std::string& text, TObject* object) {
  Insert(index, text);
  PutObject(index, object);
}

void TStrings::AddStrings(const TStrings& other) {
  BeginUpdate();
  for (int i = 0; i < other.Count(); ++i) AddObject(other.Get(i), other.GetObject(i));
  EndUpdate();
}

void TStrings::Move(int from, int to) {
  if (from == to) return;
  BeginUpdate();
  std::string text = Get(from);
  TObject* object = GetObject(from);
  Delete(from);
  InsertObject(to, text, object);
  EndUpdate();
}

void TStrings::Exchange(int a, int b) {
  if (a == b) return;
  BeginUpdate();
  std::string ta = Get(a), tb = Get(b);
  TObject* oa = GetObject(a);
  TObject* ob = GetObject(b);
  Put(a, tb);
  PutObject(a, ob);
  Put(b, ta);
  PutObject(b, oa);
  EndUpdate();
}

int TStrings::IndexOf(const std::string& text) const {
  for (int i = 0; i < Count(); ++i)
    if (Get(i) == text) return i;
  return -1;
}

int TStrings::IndexOfObject(const TObject* object) const {
  for (int i = 0; i < Count(); ++i)
    if (GetObject(i) == object) return i;
  return -1;
}

std::string TStrings::Text() const {
  std::string out;
  for (int i = 0; i < Count(); ++i) {
    out += Get(i);
    out += sLineBreak;
  }
  return out;
}

void TStrings::SetText(const std::string& text) {
  BeginUpdate();
  Clear();
  size_t start = 0;
  size_t i = 0;
  while (i < text.size()) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      Add(text.substr(start, i - start));
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      start = i + 1;
    }
    ++i;
  }
  if (start < text.size()) Add(text.substr(start));
  EndUpdate();
}

std::string TStrings::CommaText() const {
  std::string out;
  for (int i = 0; i < Count(); ++i) {
    if (i) out += ',';
    std::string s = Get(i);
    bool quote = s.empty() && Count() > 1;
    for (char c : s)
      if (c == ' ' || c == ',' || c == '"' || static_cast<unsigned char>(c) < 32) quote = true;
    if (!quote) {
      out += s;
      continue;
    }
    out += '"';
    for (char c : s) {
      if (c == '"') out += '"';
      out += c;
    }
    out += '"';
  }
  return out;
}

void TStrings::SetCommaText(const std::string& text) {
  BeginUpdate();
  Clear();
  size_t i = 0;
  const size_t n = text.size();
  while (i < n) {
    while (i < n && text[i] == ' ') ++i;
    if (i >= n) break;
    std::string item;
    if (text[i] == '"') {
      ++i;
      while (i < n) {
        if (text[i] == '"') {
          if (i + 1 < n && text[i + 1] == '"') {
            item += '"';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        item += text[i++];
      }
      while (i < n && text[i] != ',') ++i;
    } else {
      while (i < n && text[i] != ',' && text[i] != ' ') item += text[i++];
      while (i < n && text[i] == ' ') ++i;
    }
    Add(item);
    if (i < n && text[i] == ',') {
      ++i;
      if (i >= n) Add("");
    }
  }
  EndUpdate();
}

void TStrings::BeginUpdate() {
  if (UpdateCount_ == 0) SetUpdateState(true);
  ++UpdateCount_;
}

void TStrings::EndUpdate() {
  if (UpdateCount_ == 0) return;
  if (--UpdateCount_ == 0) SetUpdateState(false);
}

void TStrings::SetUpdateState(bool) {}

void TStrings::Assign(const TPersistent& source) {
  if (auto* other = dynamic_cast<const TStrings*>(&source)) {
    if (other == this) return;
    BeginUpdate();
    Clear();
    AddStrings(*other);
    EndUpdate();
    return;
  }
  TPersistent::Assign(source);
}

std::vector<std::string> TStrings::ToVector() const {
  std::vector<std::string> out;
  out.reserve(static_cast<size_t>(Count()));
  for (int i = 0; i < Count(); ++i) out.push_back(Get(i));
  return out;
}
