#include "forms/ScriptDriver.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "forms/Application.h"
#include "forms/DriverProperties.h"
#include "forms/Form.h"
#include "forms/HintWindow.h"
#include "forms/Menus.h"
#include "forms/PopupMenuWindow.h"
#include "platform/backend/HeadlessBackend.h"
#include "platform/backend/HeadlessScriptedDisplay.h"
#include "platform/base/Exception.h"
#include "platform/base/TextHelpers.h"
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

bool ParseInt(const std::string& text, int& value) {
  char* end = nullptr;
  long v = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0') return false;
  value = static_cast<int>(v);
  return true;
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

// A child control of a windowed control by name (controls that no form owns,
// such as the navigator's buttons, are reached this way).
TControl* FindChild(TComponent* parent, const std::string& name) {
  auto* w = dynamic_cast<TWinControl*>(parent);
  if (!w || name.empty()) return nullptr;
  for (int i = 0; i < w->ControlCount(); ++i)
    if (w->Controls(i)->Name() == name) return w->Controls(i);
  return nullptr;
}

// The hint window seen as the window "Hint".
std::optional<std::string> HintProperty(const std::string& prop) {
  THintManager& hints = HintManager();
  if (prop == "Visible" || prop == "Showing") return BoolText(hints.HintShowing());
  if (prop == "Caption" || prop == "Text") return hints.HintShowing() ? hints.HintText() : "";
  if (THintWindow* w = hints.HintWindow()) return TDriverProperties::Read(*w, prop);
  return std::nullopt;
}

void DumpControl(std::string& out, TControl* c) {
  std::string section;
  int index = -1;
  if (TScriptDriver::SkinInfo()) TScriptDriver::SkinInfo()(c, section, index);
  const auto& J = TDriverProperties::JsonString;
  out += "{\"name\":" + J(c->Name()) + ",\"class\":" + J(c->ClassName());
  out += ",\"parent\":" + J(c->Parent() ? c->Parent()->Name() : "");
  out += ",\"caption\":" + J(c->Caption());
  out += ",\"bounds\":[" + std::to_string(c->Left()) + "," + std::to_string(c->Top()) + "," + std::to_string(c->Width()) +
         "," + std::to_string(c->Height()) + "]";
  out += ",\"visible\":" + BoolText(c->Visible()) + ",\"enabled\":" + BoolText(c->Enabled());
  out += TDriverProperties::DumpMembers(*c);
  out += ",\"skinSection\":" + J(section) + ",\"skinIndex\":" + std::to_string(index) + "}";
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

const std::vector<TScriptDriver::TAction>& TScriptDriver::Actions() {
  static const std::vector<TAction> actions = {
      {"click", "TARGET [x,y]", &TScriptDriver::DoClick},
      {"dblclick", "TARGET [x,y]", &TScriptDriver::DoClick},
      {"rclick", "TARGET [x,y]", &TScriptDriver::DoClick},
      {"hover", "TARGET [x,y]", &TScriptDriver::DoHover},
      {"select", "TARGET ROW", &TScriptDriver::DoSelect},
      {"dblselect", "TARGET ROW", &TScriptDriver::DoSelect},
      {"cell", "TARGET ROW COL", &TScriptDriver::DoCell},
      {"dblcell", "TARGET ROW COL", &TScriptDriver::DoCell},
      {"close", "FORM", &TScriptDriver::DoClose},
      {"raise", "FORM", &TScriptDriver::DoRaise},
      {"menu", "ITEM", &TScriptDriver::DoMenu},
      {"type", "TEXT", &TScriptDriver::DoType},
      {"key", "KEY", &TScriptDriver::DoKey},
      {"wait", "MILLISECONDS", &TScriptDriver::DoWait},
      {"shot", "FORM|desktop FILE", &TScriptDriver::DoShot},
      {"dump", "FILE", &TScriptDriver::DoDump},
      {"expect", "PATH == VALUE | PATH != VALUE", &TScriptDriver::DoExpect},
      {"set", "PATH VALUE", &TScriptDriver::DoSet},
  };
  return actions;
}

std::function<void(TControl*, std::string&, int&)>& TScriptDriver::SkinInfo() {
  static std::function<void(TControl*, std::string&, int&)> provider;
  return provider;
}

namespace {
std::string StartFolder() {
  std::error_code ec;
  return std::filesystem::current_path(ec).string();
}
}  // namespace

TScriptDriver::TScriptDriver(TScriptedDisplay& display, std::vector<std::string> lines, std::string scriptName)
    : Display_(display), Lines_(std::move(lines)), Name_(std::move(scriptName)), StartDir_(StartFolder()) {}

TScriptDriver::TScriptDriver(THeadlessBackend& backend, std::vector<std::string> lines, std::string scriptName)
    : OwnDisplay_(std::make_unique<THeadlessScriptedDisplay>(backend)),
      Display_(*OwnDisplay_),
      Lines_(std::move(lines)),
      Name_(std::move(scriptName)),
      StartDir_(StartFolder()) {}

std::string TScriptDriver::OutputPath(const std::string& name) const {
  if (StartDir_.empty()) return name;
  return (std::filesystem::path(StartDir_) / name).string();
}

TScriptDriver::~TScriptDriver() = default;

std::unique_ptr<TScriptDriver> TScriptDriver::FromFile(TScriptedDisplay& display, const std::string& path,
                                                     std::string& error) {
  std::ifstream in(path);
  if (!in) {
    error = "Cannot open script " + path;
    return nullptr;
  }
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return std::make_unique<TScriptDriver>(display, std::move(lines), path);
}

void TScriptDriver::Attach() {
  Display_.SetIdleHandler([this] {
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

void TScriptDriver::Run(const std::string& line) {
  TCall call{line, SplitWords(line)};
  ProcessPendingMessages();
  for (const TAction& action : Actions())
    if (call.Args[0] == action.Name) return (this->*action.Handler)(call);
  Fail("unknown action '" + call.Args[0] + "'");
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
  if (!c) c = FindChild(form, parts[1]);
  if (!c) {
    error = parts[0] + " has no control named " + parts[1];
    return nullptr;
  }
  for (size_t i = 2; i < parts.size(); ++i) {
    TControl* child = FindChild(c, parts[i]);
    if (!child) {
      error = parts[i - 1] + " has no control named " + parts[i];
      return nullptr;
    }
    c = child;
  }
  return c;
}

TControl* TScriptDriver::VisibleControl(const std::string& spec) {
  std::string error;
  TComponent* target = FindTarget(spec, error);
  if (!target) {
    Fail(error);
    return nullptr;
  }
  auto* control = dynamic_cast<TControl*>(target);
  if (!control) {
    Fail(spec + " is not a control");
    return nullptr;
  }
  if (!control->Showing() && !(dynamic_cast<TForm*>(control) && control->Visible())) {
    Fail(spec + " is not visible");
    return nullptr;
  }
  return control;
}

bool TScriptDriver::TargetPoint(const std::vector<std::string>& args, TPoint& point) {
  if (args.size() < 2) {
    Fail("missing target");
    return false;
  }
  TControl* control = VisibleControl(args[1]);
  if (!control) return false;
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

void TScriptDriver::ClickAt(TPoint p, bool right, bool twice) {
  // Two separate clicks on one spot: let the double-click time pass first.
  std::uint64_t now = Display_.Now();
  std::uint64_t limit = GetDoubleClickTime();
  if (HaveClicked_ && std::abs(p.X - LastClick_.X) <= 4 && std::abs(p.Y - LastClick_.Y) <= 4 &&
      now - LastClickTime_ <= limit)
    Display_.Advance(static_cast<int>(limit + 1 - (now - LastClickTime_)));
  const std::string error = Display_.Click(p, right ? TMouseButton::Right : TMouseButton::Left, twice ? 2 : 1);
  HaveClicked_ = true;
  LastClick_ = p;
  LastClickTime_ = Display_.Now();
  if (!error.empty()) Fail(error);
}

// --- actions -----------------------------------------------------------------------------

void TScriptDriver::DoClick(const TCall& call) {
  TPoint p;
  if (!TargetPoint(call.Args, p)) return;
  ClickAt(p, call.Args[0] == "rclick", call.Args[0] == "dblclick");
}

void TScriptDriver::DoHover(const TCall& call) {
  TPoint p;
  if (!TargetPoint(call.Args, p)) return;
  if (const std::string error = Display_.MouseMove(p); !error.empty()) Fail(error);
}

void TScriptDriver::DoSelect(const TCall& call) {
  const std::string& action = call.Args[0];
  int row = 0;
  if (call.Args.size() < 3 || !ParseInt(call.Args[2], row)) return Fail(action + ": expected a target and a row number");
  TControl* control = VisibleControl(call.Args[1]);
  if (!control) return;
  if (!TDriverProperties::HasRows(*control)) return Fail(call.Args[1] + " has no rows");
  auto point = TDriverProperties::RowPoint(*control, row, 0);
  if (!point) return Fail(call.Args[1] + " has no row " + call.Args[2]);
  ProcessPendingMessages();
  ClickAt(control->ClientToScreen(*point), false, action == "dblselect");
}

void TScriptDriver::DoCell(const TCall& call) {
  const std::string& action = call.Args[0];
  int row = 0, col = 0;
  if (call.Args.size() < 4 || !ParseInt(call.Args[2], row) || !ParseInt(call.Args[3], col))
    return Fail(action + ": expected a target, a row and a column");
  TControl* control = VisibleControl(call.Args[1]);
  if (!control) return;
  if (!TDriverProperties::HasRows(*control)) return Fail(call.Args[1] + " has no rows");
  auto point = TDriverProperties::RowPoint(*control, row, col);
  if (!point) return Fail(call.Args[1] + " has no cell " + call.Args[2] + "," + call.Args[3]);
  ProcessPendingMessages();
  ClickAt(control->ClientToScreen(*point), false, action == "dblcell");
}

void TScriptDriver::DoRaise(const TCall& call) {
  if (call.Args.size() < 2) return Fail("raise: which window?");
  TForm* form = FindForm(call.Args[1]);
  if (!form) return Fail("no window named " + call.Args[1]);
  if (!form->Visible() || !form->HandleAllocated()) return Fail(call.Args[1] + " is not visible");
  if (std::string error = Display_.RaiseFromOutside(form->Handle()); !error.empty()) Fail(error);
}

void TScriptDriver::DoMenu(const TCall& call) {
  // The item's caption as shown (without "&"), spaces included.
  std::string caption = call.Line.substr(call.Line.find("menu") + 4);
  caption.erase(0, caption.find_first_not_of(' '));
  TPopupMenu* menu = TPopupMenu::Showing();
  if (!menu || !menu->Window()) return Fail("menu: no menu is open");
  TMenuItem* item = menu->Find(caption);
  if (!item || item->IsLine()) return Fail("the open menu has no item " + caption);
  if (!item->Enabled()) return Fail("menu item " + caption + " is unavailable");
  int index = 0;
  while (&menu->Items(index) != item) ++index;
  const TRect r = menu->Window()->ItemRect(index);
  ClickAt(menu->Window()->ClientToScreen({(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}), false, false);
}

void TScriptDriver::DoClose(const TCall& call) {
  if (call.Args.size() < 2) return Fail("close: which window?");
  TForm* form = FindForm(call.Args[1]);
  if (!form) return Fail("no window named " + call.Args[1]);
  if (!form->Visible() || !form->HandleAllocated()) return Fail(call.Args[1] + " is not visible");
  HWND window = form->Handle();
  TRect r;
  GetWindowRect(window, &r);
  // Find the close box by asking the frame what lies where, top rows first, from the right.
  const int rows = std::min(r.Height(), 64);
  for (int y = r.Top; y < r.Top + rows; ++y)
    for (int x = r.Right - 1; x >= r.Left; --x) {
      if (SendMessage(window, WM_NCHITTEST, 0, MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y))) != HTCLOSE)
        continue;
      int right = x, bottom = y;
      while (bottom + 1 < r.Bottom &&
             SendMessage(window, WM_NCHITTEST, 0, MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(bottom + 1))) ==
                 HTCLOSE)
        ++bottom;
      int left = x;
      while (left - 1 >= r.Left &&
             SendMessage(window, WM_NCHITTEST, 0, MAKELPARAM(static_cast<WORD>(left - 1), static_cast<WORD>(y))) ==
                 HTCLOSE)
        --left;
      ClickAt({(left + right) / 2, (y + bottom) / 2}, false, false);
      return;
    }
  Fail(call.Args[1] + " has no close box");
}

void TScriptDriver::DoType(const TCall& call) {
  size_t at = call.Line.find("type") + 4;
  std::string text = call.Line.substr(at);
  if (!text.empty() && text[0] == ' ') text.erase(0, 1);
  if (!GetFocus()) return Fail("type: no control has the focus");
  if (const std::string error = Display_.Text(text); !error.empty()) Fail(error);
}

void TScriptDriver::DoKey(const TCall& call) {
  if (call.Args.size() < 2) return Fail("key: which key?");
  std::vector<int> mods;
  int key = 0;
  if (!ParseKey(call.Args[1], mods, key)) return Fail("key: unknown key '" + call.Args[1] + "'");
  if (const std::string error = Display_.Key(mods, key); !error.empty()) Fail(call.Args[1] + ": " + error);
}

void TScriptDriver::DoWait(const TCall& call) {
  int ms = 0;
  if (call.Args.size() < 2 || std::sscanf(call.Args[1].c_str(), "%d", &ms) != 1 || ms < 0)
    return Fail("wait: expected milliseconds");
  Display_.Advance(ms);
}

void TScriptDriver::DoShot(const TCall& call) {
  const auto& args = call.Args;
  if (args.size() < 3) return Fail("shot: expected a window (or desktop) and a file name");
  UpdateAllWindows();
  if (args[1] == "desktop") {
    if (!Display_.SaveDesktopPng(OutputPath(args[2]))) Fail("shot: the desktop cannot be read");
    return;
  }
  TForm* form = FindForm(args[1]);
  if (!form) return Fail("no window named " + args[1]);
  if (!form->HandleAllocated() || !Display_.SaveWindowPng(form->Handle(), OutputPath(args[2])))
    return Fail("shot: " + args[1] + " has no window image");
}

void TScriptDriver::DoDump(const TCall& call) {
  if (call.Args.size() < 2) return Fail("dump: expected a file name");
  std::ofstream out(OutputPath(call.Args[1]));
  if (!out) return Fail("dump: cannot write " + call.Args[1]);
  out << DumpJson();
}

void TScriptDriver::DoSet(const TCall& call) {
  // set Form.Control.Property VALUE (the value is the rest of the line)
  if (call.Args.size() < 3) return Fail("set: expected a property and a value");
  const std::string& path = call.Args[1];
  const size_t dot = path.rfind('.');
  if (dot == std::string::npos) return Fail("set: expected Form.Property or Form.Control.Property");
  const std::string value = Trim(call.Line.substr(call.Line.find(path) + path.size()));
  std::string error;
  TComponent* target = FindTarget(path.substr(0, dot), error);
  if (!target) return Fail(error);
  const std::string name = path.substr(dot + 1);
  auto answer = TDriverProperties::Write(*target, name, value);
  if (!answer) return Fail(path.substr(0, dot) + " has no property " + name + " that scripts may set");
  if (!answer->empty()) return Fail("set " + path + ": " + *answer);
  ProcessPendingMessages();
}

void TScriptDriver::DoExpect(const TCall& call) {
  // expect PATH == VALUE  /  expect PATH != VALUE
  std::string rest = Trim(call.Line.substr(6));
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
  std::optional<std::string> got;
  if (path.rfind("Screen.", 0) == 0 && !FindForm("Screen")) {
    got = ScreenProperty(path.substr(7));
    if (!got) error = "the screen has no property " + path.substr(7) + " (Top, Keyboard, Order)";
  } else {
    got = ReadProperty(path, error);
  }
  if (!got) return Fail("expect " + path + ": " + error);
  if ((*got == want) != equal) {
    if (equal) Fail("expected " + path + " == '" + want + "', found '" + *got + "'");
    else Fail("expected " + path + " != '" + want + "', found it equal");
  }
}

// --- reading -------------------------------------------------------------------------------

namespace {

// The form a top-level window belongs to; null for other windows (hints, glows).
TForm* FormOfWindow(HWND window) {
  for (int i = 0; i < Screen()->FormCount(); ++i) {
    TForm* f = Screen()->Forms(i);
    if (window && f->HandleAllocated() && f->Handle() == window) return f;
  }
  return nullptr;
}

}  // namespace

std::optional<std::string> TScriptDriver::ScreenProperty(const std::string& name) {
  if (name == "Keyboard") {
    TForm* form = FormOfWindow(Display_.KeyboardWindow());
    return form ? form->Name() : "";
  }
  if (name != "Top" && name != "Order") return std::nullopt;
  std::string order;
  for (HWND window : Display_.Stacking()) {
    TForm* form = FormOfWindow(window);
    if (!form) continue;
    if (name == "Top") return form->Name();
    order += (order.empty() ? "" : ",") + form->Name();
  }
  return order;
}

std::optional<std::string> TScriptDriver::ReadProperty(const std::string& path, std::string& error) {
  auto parts = SplitDots(path);
  if (parts.size() < 2) {
    error = "expected Form.Property or Form.Control.Property";
    return std::nullopt;
  }
  TForm* form = FindForm(parts[0]);
  if (!form && parts[0] == "Hint") {
    std::string prop = path.substr(5);
    auto value = HintProperty(prop);
    if (!value) error = "the hint has no property " + prop;
    return value;
  }
  if (!form) {
    error = "no window named " + parts[0];
    return std::nullopt;
  }
  TComponent* target = form;
  size_t propStart = 1;
  TComponent* named = form->FindComponent(parts[1]);
  if (!named) named = FindChild(form, parts[1]);
  if (parts.size() >= 3 || (parts.size() == 2 && named && !TDriverProperties::Read(*form, parts[1]))) {
    if (named) {
      target = named;
      propStart = 2;
      // Further names may pick child controls (Form.Navigator.nbNext.Enabled).
      while (propStart + 1 < parts.size()) {
        TControl* child = FindChild(target, parts[propStart]);
        if (!child) break;
        target = child;
        ++propStart;
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
  auto value = TDriverProperties::Read(*target, prop);
  if (!value) error = target->ClassName() + " has no property " + prop;
  return value;
}

std::string TScriptDriver::DumpJson() {
  const auto& J = TDriverProperties::JsonString;
  std::string out = "{\"windows\":[";
  for (int i = 0; i < Screen()->FormCount(); ++i) {
    TForm* f = Screen()->Forms(i);
    if (i) out += ",";
    out += "\n{\"name\":" + J(f->Name()) + ",\"class\":" + J(f->ClassName());
    out += ",\"caption\":" + J(f->Caption());
    out += ",\"bounds\":[" + std::to_string(f->Left()) + "," + std::to_string(f->Top()) + "," +
           std::to_string(f->Width()) + "," + std::to_string(f->Height()) + "]";
    out += ",\"visible\":" + BoolText(f->Visible()) + ",\"enabled\":" + BoolText(f->Enabled());
    out += ",\"alphaBlend\":" + BoolText(f->AlphaBlend()) + ",\"alpha\":" + std::to_string(f->AlphaBlend() ? f->AlphaBlendValue() : 255);
    out += TDriverProperties::DumpMembers(*f);  // what later layers report of a window
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
