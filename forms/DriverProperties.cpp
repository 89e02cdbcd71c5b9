#include "forms/DriverProperties.h"

#include <algorithm>
#include <cstdio>
#include <set>

#include "forms/Button.h"
#include "forms/CheckBox.h"
#include "forms/CustomEdit.h"
#include "forms/Form.h"
#include "forms/ListBox.h"
#include "forms/Memo.h"
#include "forms/SpeedButton.h"
#include "platform/base/TextHelpers.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/ScrollInfo.h"

std::vector<TDriverProperties::TEntry>& TDriverProperties::Entries() {
  static std::vector<TEntry> entries;
  return entries;
}

std::vector<TDriverProperties::TRows>& TDriverProperties::Rows() {
  static std::vector<TRows> rows;
  return rows;
}

void TDriverProperties::Add(const std::string& name, TDumpAs dump, const std::string& dumpKey, TGetter getter) {
  Entries().push_back({name, dump, dumpKey, std::move(getter)});
}

std::vector<TDriverProperties::TSetterEntry>& TDriverProperties::Setters() {
  static std::vector<TSetterEntry> setters;
  return setters;
}

void TDriverProperties::AddSetter(const std::string& name, TSetter setter) {
  Setters().push_back({name, std::move(setter)});
}

std::optional<std::string> TDriverProperties::Write(TComponent& component, const std::string& name,
                                                    const std::string& value) {
  const auto& setters = Setters();
  for (auto it = setters.rbegin(); it != setters.rend(); ++it) {
    if (it->Name != name) continue;
    if (auto answer = it->Set(component, value)) return answer;
  }
  return std::nullopt;
}

void TDriverProperties::AddRows(TRowPoint point, std::function<bool(TComponent&)> applies) {
  Rows().push_back({std::move(point), std::move(applies)});
}

void TDriverProperties::Clear() {
  Entries().clear();
  Setters().clear();
  Rows().clear();
}

// The latest registration that applies to the component wins, for reading and
// dumping alike (a derived layer registers after the framework).
template <class Matches>
static std::optional<std::string> LatestValue(const std::vector<TDriverProperties::TEntry>& entries,
                                              TComponent& component, const TDriverProperties::TEntry** used,
                                              Matches matches) {
  for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
    if (!matches(*it)) continue;
    if (auto value = it->Get(component)) {
      if (used) *used = &*it;
      return value;
    }
  }
  return std::nullopt;
}

std::optional<std::string> TDriverProperties::Read(TComponent& component, const std::string& name) {
  return LatestValue(Entries(), component, nullptr, [&](const TEntry& e) { return e.Name == name; });
}

std::string TDriverProperties::DumpMembers(TComponent& component) {
  std::string out;
  std::set<std::string> done;
  // Keys in the order of their first registration, values from the latest.
  for (const TEntry& entry : Entries()) {
    if (entry.Dump == TDumpAs::None || !done.insert(entry.DumpKey).second) continue;
    const TEntry* used = nullptr;
    auto value = LatestValue(Entries(), component, &used,
                             [&](const TEntry& e) { return e.Dump != TDumpAs::None && e.DumpKey == entry.DumpKey; });
    if (!value) continue;
    out += "," + JsonString(entry.DumpKey) + ":" + (used->Dump == TDumpAs::Raw ? *value : JsonString(*value));
  }
  return out;
}

bool TDriverProperties::HasRows(TComponent& component) {
  for (auto it = Rows().rbegin(); it != Rows().rend(); ++it)
    if (it->Applies(component)) return true;
  return false;
}

std::optional<TPoint> TDriverProperties::RowPoint(TComponent& component, int row, int col) {
  for (auto it = Rows().rbegin(); it != Rows().rend(); ++it)
    if (it->Applies(component)) return it->Point(component, row, col);
  return std::nullopt;
}

std::string TDriverProperties::JsonString(const std::string& s) {
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

void RegisterFormsDriverProperties() {
  using P = TDriverProperties;
  P::Register<TComponent>("Name", [](TComponent& c) { return c.Name(); });
  P::Register<TComponent>("Tag", [](TComponent& c) { return std::to_string(c.Tag()); });
  P::Register<TComponent>("ClassName", [](TComponent& c) { return c.ClassName(); });
  P::Register<TControl>("Caption", [](TControl& c) { return c.Caption(); });
  P::Register<TControl>("Text", [](TControl& c) { return c.Text(); });
  P::Register<TControl>("Visible", [](TControl& c) { return BoolText(c.Visible()); });
  P::Register<TControl>("Showing", [](TControl& c) { return BoolText(c.Showing()); });
  P::Register<TControl>("Enabled", [](TControl& c) { return BoolText(c.Enabled()); });
  P::Register<TControl>("Left", [](TControl& c) { return std::to_string(c.Left()); });
  P::Register<TControl>("Top", [](TControl& c) { return std::to_string(c.Top()); });
  P::Register<TControl>("Width", [](TControl& c) { return std::to_string(c.Width()); });
  P::Register<TControl>("Height", [](TControl& c) { return std::to_string(c.Height()); });
  P::Register<TControl>("ClientWidth", [](TControl& c) { return std::to_string(c.ClientWidth()); });
  P::Register<TControl>("ClientHeight", [](TControl& c) { return std::to_string(c.ClientHeight()); });
  P::Register<TControl>("Hint", [](TControl& c) { return c.Hint(); });
  P::Register<TControl>("ShowHint", [](TControl& c) { return BoolText(c.ShowHint()); });
  P::Register<TControl>("Color", [](TControl& c) { return std::to_string(c.Color()); });
  P::Register<TControl>("Cursor", [](TControl& c) { return std::to_string(c.Cursor()); });
  P::Register<TControl>("Font.Name", [](TControl& c) { return c.Font().Name(); });
  P::Register<TControl>("Font.Height", [](TControl& c) { return std::to_string(c.Font().Height()); });
  P::Register<TControl>("Font.Size", [](TControl& c) { return std::to_string(c.Font().Size()); });
  P::Register<TControl>("Font.Color", [](TControl& c) { return std::to_string(c.Font().Color()); });
  P::Register<TControl>("MouseInControl", [](TControl& c) { return BoolText(c.MouseInControl()); });
  P::Register<TWinControl>("TabOrder", [](TWinControl& w) { return std::to_string(w.TabOrder()); });
  P::Register<TForm>("AlphaBlend", [](TForm& f) { return BoolText(f.AlphaBlend()); });
  P::Register<TForm>("AlphaBlendValue", [](TForm& f) { return std::to_string(f.AlphaBlendValue()); });
  P::Register<TForm>("ModalResult", [](TForm& f) { return std::to_string(f.ModalResult()); });
  P::Register<TForm>("Active", [](TForm& f) { return BoolText(f.Active()); });
  P::Register<TForm>("WindowState", [](TForm& f) {
    return std::string(f.WindowState() == wsMinimized ? "wsMinimized" : f.WindowState() == wsMaximized ? "wsMaximized"
                                                                                                      : "wsNormal");
  });
  P::Register<TForm>("ActiveControl", [](TForm& f) { return f.ActiveControl() ? f.ActiveControl()->Name() : ""; });
  P::Register<TSpeedButton>("Down", [](TSpeedButton& b) { return BoolText(b.Down()); }, TDumpAs::Raw, "down");
  P::Register<TSpeedButton>("GroupIndex", [](TSpeedButton& b) { return std::to_string(b.GroupIndex()); });
  P::Register<TButton>("Default", [](TButton& b) { return BoolText(b.Default()); });
  P::Register<TButton>("Cancel", [](TButton& b) { return BoolText(b.Cancel()); });
  P::Register<TButton>("ModalResult", [](TButton& b) { return std::to_string(b.ModalResult()); });
  P::Register<TCheckBox>("Checked", [](TCheckBox& b) { return BoolText(b.Checked()); }, TDumpAs::Raw, "checked");
  P::Register<TCheckBox>("State", [](TCheckBox& b) { return std::to_string(static_cast<int>(b.State())); });
  P::Register<TCustomEdit>("SelText", [](TCustomEdit& e) { return e.SelText(); });
  P::Register<TCustomEdit>("SelStart", [](TCustomEdit& e) { return std::to_string(e.SelStart()); });
  P::Register<TCustomEdit>("SelLength", [](TCustomEdit& e) { return std::to_string(e.SelLength()); });
  P::Register<TCustomEdit>("MaxLength", [](TCustomEdit& e) { return std::to_string(e.MaxLength()); });
  P::Register<TCustomEdit>("Modified", [](TCustomEdit& e) { return BoolText(e.Modified()); });
  P::Register<TCustomEdit>("TextLength", [](TCustomEdit& e) { return std::to_string(e.TextLength()); });
  P::Register<TCustomEdit>("ReadOnly", [](TCustomEdit& e) { return BoolText(e.ReadOnly()); });
  P::Register<TCustomMemo>("Lines.Count", [](TCustomMemo& m) { return std::to_string(m.Lines().Count()); });
  P::Register<TCustomMemo>("TopLine", [](TCustomMemo& m) { return std::to_string(m.TopLine()); });
  P::Register<TCustomListBox>("ItemIndex", [](TCustomListBox& l) { return std::to_string(l.ItemIndex()); },
                              TDumpAs::Raw, "itemIndex");
  P::Register<TCustomListBox>(
      "SelectedItem", [](TCustomListBox& l) { return l.ItemIndex() >= 0 ? l.Items().Get(l.ItemIndex()) : ""; },
      TDumpAs::Text, "selected");
  P::Register<TCustomListBox>("Items.Count", [](TCustomListBox& l) { return std::to_string(l.Items().Count()); });
  P::Register<TCustomListBox>("TopIndex", [](TCustomListBox& l) { return std::to_string(l.TopIndex()); });
  P::Register<TWinControl>("Focused", [](TWinControl& w) { return BoolText(w.Focused()); }, TDumpAs::Raw, "focused");
  for (const char* name : {"VScroll.Max", "VScroll.Page", "VScroll.Pos", "HScroll.Max", "HScroll.Page", "HScroll.Pos"}) {
    const std::string prop = name;
    P::RegisterOptional<TWinControl>(prop, [prop](TWinControl& w) -> std::optional<std::string> {
      if (!w.HandleAllocated()) return std::nullopt;
      SCROLLINFO si;
      si.fMask = SIF_ALL;
      GetScrollInfo(w.Handle(), prop[0] == 'V' ? SB_VERT : SB_HORZ, &si);
      const std::string field = prop.substr(8);
      if (field == "Max") return std::to_string(si.nMax);
      if (field == "Page") return std::to_string(si.nPage);
      return std::to_string(si.nPos);
    });
  }
  // List rows: scrolled into view, then the middle of the row.
  P::RegisterRows<TCustomListBox>([](TCustomListBox& l, int row, int) -> std::optional<TPoint> {
    if (row < 0 || row >= l.Items().Count()) return std::nullopt;
    if (row < l.TopIndex()) l.SetTopIndex(row);
    else if (row >= l.TopIndex() + l.VisibleItemCount()) l.SetTopIndex(row - l.VisibleItemCount() + 1);
    TRect r = l.ItemRect(row);
    return TPoint{std::min(r.Left + 8, r.Right - 1), (r.Top + r.Bottom) / 2};
  });
}
