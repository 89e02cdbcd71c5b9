#pragma once
// An ordered list of text lines with an object pointer per line: the common
// interface of string lists, memo lines and list-box items.
#include <string>
#include <vector>

#include "forms/Object.h"

// Line break used by Text: the program keeps text in UTF-8 with '\n'.
inline constexpr const char* sLineBreak = "\n";

class TStrings : public TPersistent {
public:
  std::string ClassName() const override { return "TStrings"; }

  virtual int Count() const = 0;
  virtual std::string Get(int index) const = 0;
  virtual void Put(int index, const std::string& text);
  virtual TObject* GetObject(int index) const;
  virtual void PutObject(int index, TObject* object);
  virtual void Insert(int index, const std::string& text) = 0;
  virtual void Delete(int index) = 0;
  virtual void Clear() = 0;

  std::string Strings(int index) const { return Get(index); }
  std::string operator[](int index) const { return Get(index); }
  TObject* Objects(int index) const { return GetObject(index); }

  virtual int Add(const std::string& text);
  int AddObject(const std::string& text, TObject* object);
  void InsertObject(int index, const std::string& text, TObject* object);
  void AddStrings(const TStrings& other);
  void Append(const std::string& text) { Add(text); }
  void Move(int from, int to);
  void Exchange(int a, int b);

  // Exact comparison by default; lists may fold case.
  virtual int IndexOf(const std::string& text) const;
  int IndexOfObject(const TObject* object) const;

  // Every line followed by a line break; setting splits at "\r\n", "\n" or "\r".
  virtual std::string Text() const;
  virtual void SetText(const std::string& text);
  // Lines separated by commas, quoting lines that hold spaces, commas or quotes.
  std::string CommaText() const;
  void SetCommaText(const std::string& text);

  // Change notifications are held back between BeginUpdate and EndUpdate.
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return UpdateCount_; }

  void Assign(const TPersistent& source) override;
  std::vector<std::string> ToVector() const;

protected:
  // Called when updating starts (true) or ends (false).
  virtual void SetUpdateState(bool updating);
  // Raises the classic "List index out of bounds (i)" error.
  [[noreturn]] static void IndexError(int index);

private:
  int UpdateCount_ = 0;
};
