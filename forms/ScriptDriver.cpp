#include "forms/ScriptDriver.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>

#include "forms/Button.h"
#include "forms/CheckBox.h"
#include "forms/CustomEdit.h"
#include "forms/CustomLabel.h"
#include "forms/ListBox.h"
#include "forms/Memo.h"
#include "forms/SpeedButton.h"
#include "platform/backend/SdlBackend.h"
#include "platform/base/Exception.h"
#include "platform/win/Win.h"

namespace {

std::string Trim(const std::string& s) {
  size_t a = s.find_first_not_of(" \t\r\n");
  if (a == std::string::npos) return "";
  size_t b = s.find_last_not_of(" \t\r\n");
  return s.substr(a, b - a + 1);
}

// A '#' after blank space starts a comment.
std::string StripComment(const std::string& line) {
  for (size_t i = 0; i < line.size(); ++i)
    if (line[i] == '#' && (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t')) return line.substr(0, i);
  return line;
}

std::vector<std::string> SplitWords(const std::string& s) {
  std::vector<std::string> out;
  std::istringstream in(s);
  std::string w;
  while (in >> w) out.push_back(w);
  return out;
}

std::vector<std::string> SplitDots(const std::string& s) {
  std::vector<std::string> out;
  size_t start = 0;
  for (;;) {
    size_t dot = s.find('.', start);
    out.push_back(s.substr(start, dot == std::string::npos ? std::string::npos : dot - start));
    if (dot == std::string::npos) break;
    start = dot + 1;
  }
  return out;
}

std::string Bool(bool b) { return b ? "true" : "false"; }

std::string JsonString(const std::string& s) {
  std::string out = "\"";
  for (unsigned char c : s) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

// The form shown on top among those with the name (dialogs may stack).
TForm* FindForm(const std::string& name) {
  TForm* found = nullptr;
  for (int i = 0; i < Screen()->FormCount(); ++i) {
    TForm* f = Screen()->Forms(i);
    if (f->Name() == name && (!found || f->Visible())) found = f;
  }
  return found;
}

std::optional<std::string> ControlProperty(TControl* c, const std::string& prop) {
  if (prop == "Caption") return c->Caption();
  if (prop == "Text") return c->Text();
  if (prop == "Visible") return Bool(c->Visible());
  if (prop == "Showing") return Bool(c->Showing());
  if (prop == "Enabled") return Bool(c->Enabled());
  if (prop == "Left") return std::to_string(c->Left());
  if (prop == "Top") return std::to_string(c->Top());
  if (prop == "Width") return std::to_string(c->Width());
  if (prop == "Height") return std::to_string(c->Height());
  if (prop == "ClientWidth") return std::to_string(c->ClientWidth());
  if (prop == "ClientHeight") return std::to_string(c->ClientHeight());
  if (prop == "Hint") return c->Hint();
  if (prop == "Tag") return std::to_string(c->Tag());
  if (prop == "Color") return std::to_string(c->Color());
  if (prop == "Font.Name") return c->Font().Name();
  if (prop == "Font.Height") return std::to_string(c->Font().Height());
  if (prop == "Font.Size") return std::to_string(c->Font().Size());
  if (prop == "Font.Color") return std::to_string(c->Font().Color());
  if (prop == "MouseInControl") return Bool(c->MouseInControl());
  if (auto* w = dynamic_cast<TWinControl*>(c)) {
    if (prop == "Focused") return Bool(w->Focused());
    if (prop == "TabOrder") return std::to_string(w->TabOrder());
  }
  if (auto* f = dynamic_cast<TForm*>(c)) {
    if (prop == "AlphaBlend") return Bool(f->AlphaBlend());
    if (prop == "AlphaBlendValue") return std::to_string(f->AlphaBlendValue());
    if (prop == "ModalResult") return std::to_string(f->ModalResult());
    if (prop == "Active") return Bool(f->Active());
    if (prop == "ActiveControl") return f->ActiveControl() ? f->ActiveControl()->Name() : "";
  }
  if (auto* b = dynamic_cast<TSpeedButton*>(c)) {
    if (prop == "Down") return Bool(b->Down());
    if (prop == "GroupIndex") return std::to_string(b->GroupIndex());
  }
  if (auto* b = dynamic_cast<TButton*>(c)) {
    if (prop == "Default") return Bool(b->Default());
    if (prop == "Cancel") return Bool(b->Cancel());
    if (prop == "ModalResult") return std::to_string(b->ModalResult());
  }
  if (auto* b = dynamic_cast<TCheckBox*>(c)) {
    if (prop == "Checked") return Bool(b->Checked());
    if (prop == "State") return std::to_string(static_cast<int>(b->State()));
  }
  if (auto* m = dynamic_cast<TCustomMemo*>(c)) {
    if (prop == "Lines.Count") return std::to_string(m->Lines().Count());
    if (prop == "TopLine") return std::to_string(m->TopLine());
  }
  if (auto* e = dynamic_cast<TCustomEdit*>(c)) {
    if (prop == "SelText") return e->SelText();
    if (prop == "SelStart") return std::to_string(e->SelStart());
    if (prop == "SelLength") return std::to_string(e->SelLength());
    if (prop == "MaxLength") return std::to_string(e->MaxLength());
    if (prop == "Modified") return Bool(e->Modified());
    if (prop == "TextLength") return std::to_string(e->TextLength());
  }
  if (auto* l = dynamic_cast<TCustomListBox*>(c)) {
    if (prop == "ItemIndex") return std::to_string(l->ItemIndex());
    if (prop == "Items.Count") return std::to_string(l->Items().Count());
    if (prop == "TopIndex") return std::to_string(l->TopIndex());
    if (prop == "SelectedItem") return l->ItemIndex() >= 0 ? l->Items().Get(l->ItemIndex()) : "";
  }
  if (auto* w = dynamic_cast<TWinControl*>(c); w && w->HandleAllocated() && prop.rfind("VScroll.", 0) == 0) {
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    GetScrollInfo(w->Handle(), SB_VERT, &si);
    if (prop == "VScroll.Max") return std::to_string(si.nMax);
    if (prop == "VScroll.Page") return std::to_string(si.nPage);
    if (prop == "VScroll.Pos") return std::to_string(si.nPos);
  }
  return std::nullopt;
}

void DumpControl(std::string& out, TControl* c) {
  std::string section;
  int index = -1;
  if (TScriptDriver::SkinInfo()) TScriptDriver::SkinInfo()(c, section, index);
  out += "{\"name\":" + JsonString(c->Name()) + ",\"class\":" + JsonString(c->ClassName());
  out += ",\"parent\":" + JsonString(c->Parent() ? c->Parent()->Name() : "");
  out += ",\"caption\":" + JsonString(c->Caption());
  out += ",\"bounds\":[" + std::to_string(c->Left()) + "," + std::to_string(c->Top()) + "," + std::to_string(c->Width()) +
         "," + std::to_string(c->Height()) + "]";
  out += ",\"visible\":" + Bool(c->Visible()) + ",\"enabled\":" + Bool(c->Enabled());
  if (auto* b = dynamic_cast<TSpeedButton*>(c)) out += ",\"down\":" + Bool(b->Down());
  if (auto* b = dynamic_cast<TCheckBox*>(c)) out += ",\"checked\":" + Bool(b->Checked());
  if (auto* l = dynamic_cast<TCustomListBox*>(c)) {
    out += ",\"itemIndex\":" + std::to_string(l->ItemIndex());
    out += ",\"selected\":" + JsonString(l->ItemIndex() >= 0 ? l->Items().Get(l->ItemIndex()) : "");
  }
  if (auto* w = dynamic_cast<TWinControl*>(c)) out += ",\"focused\":" + Bool(w->Focused());
  out += ",\"skinSection\":" + JsonString(section) + ",\"skinIndex\":" + std::to_string(index) + "}";
}

const std::map<std::string, int>& KeyNames() {
  static const std::map<std::string, int> names = {
      {"Enter", VK_RETURN}, {"Return", VK_RETURN}, {"Esc", VK_ESCAPE}, {"Escape", VK_ESCAPE},
      {"Tab", VK_TAB}, {"Space", VK_SPACE}, {"Left", VK_LEFT}, {"Right", VK_RIGHT},
      {"Up", VK_UP}, {"Down", VK_DOWN}, {"Home", VK_HOME}, {"End", VK_END},
      {"PageUp", VK_PRIOR}, {"PageDown", VK_NEXT}, {"Delete", VK_DELETE}, {"Del", VK_DELETE},
      {"Backspace", VK_BACK}, {"Insert", VK_INSERT}, {"F1", VK_F1}, {"F2", VK_F2},
      {"F3", VK_F3}, {"F4", VK_F4}, {"F5", VK_F5}, {"F6", VK_F6},
      {"F7", VK_F7}, {"F8", VK_F8}, {"F9", VK_F9}, {"F10", VK_F10},
      {"F11", VK_F11}, {"F12", VK_F12}};
  return names;
}

}  // namespace

std::function<void(TControl*, std::string&, int&)>& TScriptDriver::SkinInfo() {
  static std::function<void(TControl*, std::string&, int&)> provider;
  return provider;
}

TDriverOptions ParseDriverOptions(int& argc, char** argv) {
  TDriverOptions options;
  int out = 1;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--headless") == 0) {
      options.Headless = true;
    } else if (std::strcmp(argv[i], "--script") == 0) {
      if (i + 1 >= argc) {
        options.Error = "--script needs a file name";
      } else {
        options.ScriptFile = argv[++i];
      }
    } else {
      argv[out++] = argv[i];
    }
  }
  argc = out;
  argv[argc] = nullptr;
  return options;
}

TScriptDriver::TScriptDriver(THeadlessBackend& backend, std::vector<std::string> lines, std::string scriptName)
    : Backend_(backend), Lines_(std::move(lines)), Name_(std::move(scriptName)) {}

std::unique_ptr<TScriptDriver> TScriptDriver::FromFile(THeadlessBackend& backend, const std::string& path,
                                                     std::string& error) {
  std::ifstream in(path);
  if (!in) {
    error = "Cannot open script " + path;
    return nullptr;
  }
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return std::make_unique<TScriptDriver>(backend, std::move(lines), path);
}

void TScriptDriver::Attach() {
  Backend_.SetIdleHandler([this] {
    if (Step()) {
      // A message for the loop that is waiting, so that a modal loop sees the
      // result of the action (ModalResult set) before the next line runs.
      PostMessage(nullptr, WM_NULL, 0, 0);
      return true;
    }
    if (!Ended_) {
      Ended_ = true;
      if (Application) Application->Terminate();
      else PostQuitMessage(ExitCode());
    }
    return true;
  });
}

void TScriptDriver::Fail(const std::string& message) {
  if (Failed_) return;
  Failed_ = true;
  Failure_ = Name_ + ":" + std::to_string(Current_ + 1) + ": " + message;
  std::fprintf(stderr, "%s\n", Failure_.c_str());
}

bool TScriptDriver::Step() {
  while (!Failed_ && Next_ < Lines_.size()) {
    Current_ = Next_++;
    std::string line = Trim(StripComment(Lines_[Current_]));
    if (line.empty()) continue;
    try {
      Run(line);
    } catch (const std::exception& e) {
      Fail(std::string("error: ") + e.what());
    }
    return !Failed_;
  }
  return false;
}

TComponent* TScriptDriver::FindTarget(const std::string& spec, std::string& error) {
  auto parts = SplitDots(spec);
  TForm* form = FindForm(parts[0]);
  if (!form) {
    error = "no window named " + parts[0];
    return nullptr;
  }
  if (parts.size() == 1) return form;
  TComponent* c = form->FindComponent(parts[1]);
  if (!c) {
    error = parts[0] + " has no control named " + parts[1];
    return nullptr;
  }
  return c;
}

bool TScriptDriver::TargetPoint(const std::vector<std::string>& args, TPoint& point) {
  if (args.size() < 2) {
    Fail("missing target");
    return false;
  }
  std::string error;
  TComponent* target = FindTarget(args[1], error);
  if (!target) {
    Fail(error);
    return false;
  }
  auto* control = dynamic_cast<TControl*>(target);
  if (!control) {
    Fail(args[1] + " is not a control");
    return false;
  }
  if (!control->Showing() && !(dynamic_cast<TForm*>(control) && control->Visible())) {
    Fail(args[1] + " is not visible");
    return false;
  }
  TPoint local{control->Width() / 2, control->Height() / 2};
  if (dynamic_cast<TForm*>(control)) local = {control->ClientWidth() / 2, control->ClientHeight() / 2};
  if (args.size() >= 3) {
    int x = 0, y = 0;
    if (std::sscanf(args[2].c_str(), "%d,%d", &x, &y) != 2) {
      Fail("bad point '" + args[2] + "' (expected x,y)");
      return false;
    }
    local = {x, y};
  }
  point = control->ClientToScreen(local);
  return true;
}

bool TScriptDriver::ParseKey(const std::string& spec, std::vector<int>& modifiers, int& key) {
  std::string rest = spec;
  for (;;) {
    size_t plus = rest.find('+');
    if (plus == std::string::npos || plus + 1 >= rest.size()) break;
    std::string mod = rest.substr(0, plus);
    if (mod == "Ctrl") modifiers.push_back(VK_CONTROL);
    else if (mod == "Shift") modifiers.push_back(VK_SHIFT);
    else if (mod == "Alt") modifiers.push_back(VK_MENU);
    else return false;
    rest = rest.substr(plus + 1);
  }
  auto it = KeyNames().find(rest);
  if (it != KeyNames().end()) {
    key = it->second;
    return true;
  }
  if (rest.size() == 1) {
    char c = rest[0];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) {
      key = c;
      return true;
    }
  }
  return false;
}

void TScriptDriver::Run(const std::string& line) {
  auto args = SplitWords(line);
  const std::string& action = args[0];
  ProcessPendingMessages();
  if (action == "click" || action == "dblclick" || action == "rclick" || action == "hover") {
    TPoint p;
    if (!TargetPoint(args, p)) return;
    if (action == "hover") {
      Backend_.MouseMove(p);
      return;
    }
    // Two separate clicks on one spot: let the double-click time pass first.
    std::uint64_t now = Backend_.Now();
    std::uint64_t limit = GetDoubleClickTime();
    if (HaveClicked_ && std::abs(p.X - LastClick_.X) <= 4 && std::abs(p.Y - LastClick_.Y) <= 4 &&
        now - LastClickTime_ <= limit)
      Backend_.Advance(static_cast<int>(limit + 1 - (now - LastClickTime_)));
    if (action == "rclick") {
      Backend_.Click(p, TMouseButton::Right);
    } else {
      Backend_.Click(p);
      if (action == "dblclick") Backend_.Click(p);
    }
    HaveClicked_ = true;
    LastClick_ = p;
    LastClickTime_ = Backend_.Now();
    return;
  }
  if (action == "type") {
    size_t at = line.find("type") + 4;
    std::string text = line.substr(at);
    if (!text.empty() && text[0] == ' ') text.erase(0, 1);
    if (!GetFocus()) {
      Fail("type: no control has the focus");
      return;
    }
    Backend_.Text(text);
    return;
  }
  if (action == "key") {
    if (args.size() < 2) return Fail("key: which key?");
    std::vector<int> mods;
    int key = 0;
    if (!ParseKey(args[1], mods, key)) return Fail("key: unknown key '" + args[1] + "'");
    for (int m : mods) Backend_.KeyDown(m);
    Backend_.Key(key);
    for (auto it = mods.rbegin(); it != mods.rend(); ++it) Backend_.KeyUp(*it);
    return;
  }
  if (action == "wait") {
    int ms = 0;
    if (args.size() < 2 || std::sscanf(args[1].c_str(), "%d", &ms) != 1 || ms < 0)
      return Fail("wait: expected milliseconds");
    Backend_.Advance(ms);
    return;
  }
  if (action == "shot") {
    if (args.size() < 3) return Fail("shot: expected a window (or desktop) and a file name");
    UpdateAllWindows();
    if (args[1] == "desktop") {
      Backend_.SaveDesktopPng(args[2]);
      return;
    }
    TForm* form = FindForm(args[1]);
    if (!form) return Fail("no window named " + args[1]);
    if (!form->HandleAllocated() || !Backend_.SaveWindowPng(form->Handle(), args[2]))
      return Fail("shot: " + args[1] + " has no window image");
    return;
  }
  if (action == "dump") {
    if (args.size() < 2) return Fail("dump: expected a file name");
    std::ofstream out(args[1]);
    if (!out) return Fail("dump: cannot write " + args[1]);
    out << DumpJson();
    return;
  }
  if (action == "expect") {
    // expect PATH == VALUE  /  expect PATH != VALUE
    std::string rest = Trim(line.substr(6));
    size_t op = rest.find(" == ");
    bool equal = true;
    if (op == std::string::npos) {
      op = rest.find(" != ");
      equal = false;
    }
    std::string path, want;
    if (op == std::string::npos) {
      // "expect PATH ==" with an empty value
      if (rest.size() > 3 && (rest.substr(rest.size() - 3) == " ==" || rest.substr(rest.size() - 3) == " !=")) {
        equal = rest.substr(rest.size() - 2) == "==";
        path = Trim(rest.substr(0, rest.size() - 3));
      } else {
        return Fail("expect: expected 'PATH == VALUE' or 'PATH != VALUE'");
      }
    } else {
      path = Trim(rest.substr(0, op));
      want = Trim(rest.substr(op + 4));
    }
    std::string error;
    auto got = ReadProperty(path, error);
    if (!got) return Fail("expect " + path + ": " + error);
    if ((*got == want) != equal) {
      if (equal) Fail("expected " + path + " == '" + want + "', found '" + *got + "'");
      else Fail("expected " + path + " != '" + want + "', found it equal");
    }
    return;
  }
  Fail("unknown action '" + action + "'");
}

std::optional<std::string> TScriptDriver::ReadProperty(const std::string& path, std::string& error) {
  auto parts = SplitDots(path);
  if (parts.size() < 2) {
    error = "expected Form.Property or Form.Control.Property";
    return std::nullopt;
  }
  TForm* form = FindForm(parts[0]);
  if (!form) {
    error = "no window named " + parts[0];
    return std::nullopt;
  }
  TControl* target = form;
  size_t propStart = 1;
  if (parts.size() >= 3 || (parts.size() == 2 && form->FindComponent(parts[1]) && !ControlProperty(form, parts[1]))) {
    TComponent* c = form->FindComponent(parts[1]);
    if (c) {
      target = dynamic_cast<TControl*>(c);
      propStart = 2;
      if (!target) {
        error = parts[1] + " is not a control";
        return std::nullopt;
      }
    } else if (parts.size() >= 3 && parts[1] != "Font") {
      error = parts[0] + " has no control named " + parts[1];
      return std::nullopt;
    }
  }
  std::string prop;
  for (size_t i = propStart; i < parts.size(); ++i) prop += (i > propStart ? "." : "") + parts[i];
  if (prop.empty()) {
    error = "which property?";
    return std::nullopt;
  }
  auto value = ControlProperty(target, prop);
  if (!value) error = target->ClassName() + " has no property " + prop;
  return value;
}

std::string TScriptDriver::DumpJson() {
  std::string out = "{\"windows\":[";
  for (int i = 0; i < Screen()->FormCount(); ++i) {
    TForm* f = Screen()->Forms(i);
    if (i) out += ",";
    out += "\n{\"name\":" + JsonString(f->Name()) + ",\"class\":" + JsonString(f->ClassName());
    out += ",\"caption\":" + JsonString(f->Caption());
    out += ",\"bounds\":[" + std::to_string(f->Left()) + "," + std::to_string(f->Top()) + "," +
           std::to_string(f->Width()) + "," + std::to_string(f->Height()) + "]";
    out += ",\"visible\":" + Bool(f->Visible()) + ",\"enabled\":" + Bool(f->Enabled());
    out += ",\"alphaBlend\":" + Bool(f->AlphaBlend()) + ",\"alpha\":" + std::to_string(f->AlphaBlend() ? f->AlphaBlendValue() : 255);
    out += ",\"controls\":[";
    bool first = true;
    for (int k = 0; k < f->ComponentCount(); ++k) {
      auto* c = dynamic_cast<TControl*>(f->Components(k));
      if (!c) continue;
      out += first ? "\n  " : ",\n  ";
      first = false;
      DumpControl(out, c);
    }
    out += "]}";
  }
  out += "\n]}\n";
  return out;
}

int RunFormsProgram(int argc, char** argv, const std::function<void(TApplication&)>& createForms) {
  TDriverOptions options = ParseDriverOptions(argc, argv);
  if (!options.Error.empty()) {
    std::fprintf(stderr, "%s\n", options.Error.c_str());
    return 2;
  }
  // A script always runs on the headless display: its clock and input are the script's.
  bool headless = options.Headless || !options.ScriptFile.empty();
  THeadlessBackend backend;
  std::unique_ptr<TSdlBackend> sdl;
  if (headless) {
    backend.Install();
  } else {
    sdl = std::make_unique<TSdlBackend>();
    if (!sdl->Ok()) {
      std::fprintf(stderr, "Cannot open the display: %s (use --headless)\n", sdl->Error());
      return 1;
    }
    sdl->Install();
  }
  std::unique_ptr<TScriptDriver> driver;
  if (!options.ScriptFile.empty()) {
    std::string error;
    driver = TScriptDriver::FromFile(backend, options.ScriptFile, error);
    if (!driver) {
      std::fprintf(stderr, "%s\n", error.c_str());
      return 2;
    }
  }
  int status = 0;
  {
  TApplication app;
  try {
    createForms(app);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  if (driver) driver->Attach();
  app.Run();
  if (driver) {
    if (!driver->Failed() && !driver->Finished()) {
      std::fprintf(stderr, "%s:%zu: the program ended before the script did\n", options.ScriptFile.c_str(),
                   driver->NextLine());
      return 1;
    }
    status = driver->ExitCode();
  } else {
    status = app.ExitCode();
  }
  }
  // The forms go before the display they were shown on.
  return status;
}
