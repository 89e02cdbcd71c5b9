#pragma once
// The open-file dialog. Execute shows a form named "OpenDialog" with the list
// of the current folder ("Files": ".." and folders ending in "/", then the
// files of the chosen type), the file name edit ("FileName"), the file type
// list ("FileType") and the buttons "Open" and "Cancel". It starts in the folder
// of the last file chosen (or InitialDir) and remembers it.
#include <string>
#include <utility>
#include <vector>

#include "forms/Component.h"

class TOpenDialog : public TComponent {
public:
  explicit TOpenDialog(TComponent* owner) : TComponent(owner) {}
  std::string ClassName() const override { return "TOpenDialog"; }

  // "Описание|*.txt;*.htm|Все файлы|*.*"
  const std::string& Filter() const { return Filter_; }
  void SetFilter(const std::string& filter) { Filter_ = filter; }
  // 1-based, as classically.
  int FilterIndex() const { return FilterIndex_; }
  void SetFilterIndex(int index) { FilterIndex_ = index; }
  const std::string& FileName() const { return FileName_; }
  void SetFileName(const std::string& name) { FileName_ = name; }
  const std::string& InitialDir() const { return InitialDir_; }
  void SetInitialDir(const std::string& dir) { InitialDir_ = dir; }
  const std::string& Title() const { return Title_; }
  void SetTitle(const std::string& title) { Title_ = title; }

  // True when a file was chosen (FileName is then its full path).
  virtual bool Execute();

  // The filter's (description, patterns) pairs.
  static std::vector<std::pair<std::string, std::string>> ParseFilter(const std::string& filter);
  // Case-insensitive match of a file name against "*.txt;*.htm".
  static bool MatchesPatterns(const std::string& name, const std::string& patterns);

private:
  std::string Filter_;
  int FilterIndex_ = 1;
  std::string FileName_;
  std::string InitialDir_;
  std::string Title_;
};
