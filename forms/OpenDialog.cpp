#include "forms/OpenDialog.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <system_error>

#include "forms/Button.h"
#include "forms/CustomEdit.h"
#include "forms/CustomLabel.h"
#include "forms/Dialogs.h"
#include "forms/Form.h"
#include "forms/ListBox.h"
#include "platform/base/Cp1251.h"

namespace fs = std::filesystem;

namespace {

// The folder of the last file chosen in any open dialog of the program.
std::string& LastFolder() {
  static std::string folder;
  return folder;
}

bool GlobMatch(const std::u32string& p, size_t pi, const std::u32string& s, size_t si) {
  while (pi < p.size()) {
    if (p[pi] == '*') {
      for (size_t k = si; k <= s.size(); ++k)
        if (GlobMatch(p, pi + 1, s, k)) return true;
      return false;
    }
    if (si >= s.size()) return false;
    if (p[pi] != '?' && p[pi] != s[si]) return false;
    ++pi;
    ++si;
  }
  return si == s.size();
}

std::u32string Folded(const std::string& s) {
  std::u32string out = Utf8ToUtf32(s);
  for (char32_t& c : out) c = UpperCodePoint(c);
  return out;
}

class TOpenDialogForm : public TForm {
public:
  TOpenDialogForm(TComponent* owner, TOpenDialog& dialog, const std::string& folder) : TForm(owner) {
    SetName("OpenDialog");
    SetBorderStyle(bsDialog);
    SetBorderIcons({biSystemMenu});
    SetPosition(poMainFormCenter);
    SetCaption(dialog.Title().empty() ? "Открыть" : dialog.Title());
    Font().SetName("Arial");
    Font().SetHeight(-13);
    SetClientSize(470, 352);

    FolderLabel = AddLabel("FolderLabel", "Папка:", 12, 12, 60);
    Folder = AddLabel("Folder", "", 76, 12, 382);
    Folder->SetShowAccelChar(false);

    Files = new TListBox(this);
    Files->SetName("Files");
    Files->SetParent(this);
    Files->SetBounds(12, 34, 446, 206);
    Files->OnClick = [this](TObject*) { FileClicked(); };
    Files->OnDblClick = [this](TObject*) { FileDoubleClicked(); };
    Files->OnMouseDown = [this](TObject*, TMouseBtn, TShiftState shift, int, int) {
      if (!shift.Contains(ssDouble)) PressGoesOn_ = false;
    };
    Files->OnMouseUp = [this](TObject*, TMouseBtn, TShiftState, int, int) { PressGoesOn_ = false; };

    FileNameLabel = AddLabel("FileNameLabel", "Имя файла:", 12, 254, 84);
    FileName = new TEdit(this);
    FileName->SetName("FileName");
    FileName->SetParent(this);
    FileName->SetBounds(100, 250, 262, 23);

    FileTypeLabel = AddLabel("FileTypeLabel", "Тип файлов:", 12, 284, 84);
    FileType = new TListBox(this);
    FileType->SetName("FileType");
    FileType->SetParent(this);
    FileType->SetBounds(100, 282, 262, 58);
    Filters_ = TOpenDialog::ParseFilter(dialog.Filter());
    if (Filters_.empty()) Filters_.push_back({"Все файлы (*.*)", "*.*"});
    for (const auto& f : Filters_) FileType->Items().Add(f.first);
    FileType->SetItemIndex(std::clamp(dialog.FilterIndex() - 1, 0, static_cast<int>(Filters_.size()) - 1));
    FileType->OnClick = [this](TObject*) { Fill(); };

    Open = new TButton(this);
    Open->SetName("Open");
    Open->SetParent(this);
    Open->SetBounds(374, 249, 84, 25);
    Open->SetCaption("Открыть");
    Open->SetDefault(true);
    Open->OnClick = [this](TObject*) { OpenClicked(); };

    Cancel = new TButton(this);
    Cancel->SetName("Cancel");
    Cancel->SetParent(this);
    Cancel->SetBounds(374, 281, 84, 25);
    Cancel->SetCaption("Отмена");
    Cancel->SetModalResult(mrCancel);
    Cancel->SetCancel(true);

    Navigate(folder);
    if (!dialog.FileName().empty()) FileName->SetText(fs::path(dialog.FileName()).filename().string());
    SetActiveControl(FileName);
  }
  std::string ClassName() const override { return "TOpenDialogForm"; }

  std::string Chosen;
  std::string CurrentFolder;
  TLabel* FolderLabel = nullptr;
  TLabel* Folder = nullptr;
  TListBox* Files = nullptr;
  TLabel* FileNameLabel = nullptr;
  TEdit* FileName = nullptr;
  TLabel* FileTypeLabel = nullptr;
  TListBox* FileType = nullptr;
  TButton* Open = nullptr;
  TButton* Cancel = nullptr;

  int FilterIndex() const { return FileType->ItemIndex() + 1; }

private:
  TLabel* AddLabel(const char* name, const std::string& caption, int x, int y, int w) {
    auto* l = new TLabel(this);
    l->SetName(name);
    l->SetParent(this);
    l->SetAutoSize(false);
    l->SetBounds(x, y, w, 17);
    l->SetCaption(caption);
    return l;
  }

  void Navigate(const std::string& folder) {
    std::error_code ec;
    fs::path p = fs::weakly_canonical(fs::path(folder.empty() ? "." : folder), ec);
    if (ec || !fs::is_directory(p, ec)) p = fs::current_path(ec);
    CurrentFolder = p.string();
    Folder->SetCaption(CurrentFolder);
    Fill();
  }

  void Fill() {
    Files->Items().BeginUpdate();
    Files->Items().Clear();
    fs::path p(CurrentFolder);
    if (p.has_parent_path() && p != p.root_path()) Files->Items().Add("..");
    std::vector<std::string> dirs, files;
    std::error_code ec;
    std::string patterns = Filters_[static_cast<size_t>(std::max(0, FileType->ItemIndex()))].second;
    for (fs::directory_iterator it(p, fs::directory_options::skip_permission_denied, ec), end; !ec && it != end;
         it.increment(ec)) {
      std::string name = it->path().filename().string();
      if (name.empty() || name[0] == '.') continue;
      std::error_code e2;
      if (it->is_directory(e2)) dirs.push_back(name + "/");
      else if (TOpenDialog::MatchesPatterns(name, patterns)) files.push_back(name);
    }
    auto byName = [](const std::string& a, const std::string& b) { return Folded(a) < Folded(b); };
    std::sort(dirs.begin(), dirs.end(), byName);
    std::sort(files.begin(), files.end(), byName);
    for (const auto& d : dirs) Files->Items().Add(d);
    for (const auto& f : files) Files->Items().Add(f);
    Files->Items().EndUpdate();
    // A new listing has nothing chosen: the old row number means another file now.
    Files->SetItemIndex(-1);
  }

  void FileDoubleClicked() {
    const std::string before = CurrentFolder;
    FileChosen();
    // The press that made the double click goes on over the new listing (it selects
    // the row under the pointer, dragging moves the selection): none of it chooses.
    if (CurrentFolder != before) PressGoesOn_ = true;
  }

  void FileClicked() {
    if (PressGoesOn_) {
      Files->SetItemIndex(-1);
      return;
    }
    int i = Files->ItemIndex();
    if (i < 0) return;
    std::string item = Files->Items().Get(i);
    if (item != ".." && item.back() != '/') FileName->SetText(item);
  }

  void FileChosen() {
    int i = Files->ItemIndex();
    if (i < 0) return;
    std::string item = Files->Items().Get(i);
    if (item == "..") {
      Navigate(fs::path(CurrentFolder).parent_path().string());
    } else if (item.back() == '/') {
      Navigate((fs::path(CurrentFolder) / item.substr(0, item.size() - 1)).string());
    } else {
      FileName->SetText(item);
      OpenClicked();
    }
  }

  void OpenClicked() {
    std::string text = FileName->Text();
    if (text.empty()) {
      // Enter on a folder in the list opens it.
      int i = Files->ItemIndex();
      if (i >= 0 && Files->Focused()) FileChosen();
      return;
    }
    if (text.find('*') != std::string::npos || text.find('?') != std::string::npos) {
      Filters_.push_back({text, text});
      FileType->Items().Add(text);
      FileType->SetItemIndex(FileType->Items().Count() - 1);
      FileName->SetText("");
      Fill();
      return;
    }
    fs::path p(text);
    if (p.is_relative()) p = fs::path(CurrentFolder) / p;
    std::error_code ec;
    if (fs::is_directory(p, ec)) {
      Navigate(p.string());
      FileName->SetText("");
      return;
    }
    if (!fs::is_regular_file(p, ec)) {
      MessageDlg(text + "\nФайл не найден.", mtWarning, {mbOK});
      return;
    }
    Chosen = fs::weakly_canonical(p, ec).string();
    if (ec) Chosen = p.string();
    SetModalResult(mrOk);
  }

  std::vector<std::pair<std::string, std::string>> Filters_;
  bool PressGoesOn_ = false;  // the double click that opened a folder is still held
};

}  // namespace

std::vector<std::pair<std::string, std::string>> TOpenDialog::ParseFilter(const std::string& filter) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= filter.size()) {
    size_t bar = filter.find('|', start);
    parts.push_back(filter.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  std::vector<std::pair<std::string, std::string>> out;
  for (size_t i = 0; i + 1 < parts.size(); i += 2)
    if (!parts[i + 1].empty()) out.push_back({parts[i], parts[i + 1]});
  return out;
}

bool TOpenDialog::MatchesPatterns(const std::string& name, const std::string& patterns) {
  std::u32string n = Folded(name);
  size_t start = 0;
  while (start <= patterns.size()) {
    size_t semi = patterns.find(';', start);
    std::string p = patterns.substr(start, semi == std::string::npos ? std::string::npos : semi - start);
    while (!p.empty() && p.front() == ' ') p.erase(0, 1);
    while (!p.empty() && p.back() == ' ') p.pop_back();
    if (p == "*.*" || p == "*") return true;
    if (!p.empty() && GlobMatch(Folded(p), 0, n, 0)) return true;
    if (semi == std::string::npos) break;
    start = semi + 1;
  }
  return false;
}

bool TOpenDialog::Execute() {
  std::string folder;
  std::error_code ec;
  if (!FileName_.empty() && fs::path(FileName_).has_parent_path()) folder = fs::path(FileName_).parent_path().string();
  if (folder.empty() || !fs::is_directory(folder, ec)) folder = InitialDir_;
  if (folder.empty() || !fs::is_directory(folder, ec)) folder = LastFolder();
  auto form = std::make_unique<TOpenDialogForm>(nullptr, *this, folder);
  form->AfterConstruction();
  bool ok = form->ShowModal() == mrOk && !form->Chosen.empty();
  FilterIndex_ = form->FilterIndex();
  if (ok) {
    FileName_ = form->Chosen;
    LastFolder() = fs::path(FileName_).parent_path().string();
  }
  return ok;
}
