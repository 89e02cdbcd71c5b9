#include "media/HtmlElements.h"

#include <litehtml/el_anchor.h>
#include <litehtml/el_body.h>
#include <litehtml/el_break.h>
#include <litehtml/el_font.h>
#include <litehtml/el_image.h>
#include <litehtml/el_td.h>
#include <litehtml/html_tag.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

bool Same(const char* a, const char* b) { return a && b && litehtml::t_strcasecmp(a, b) == 0; }

// "10" -> "10px"; "50%" stays as it is.
std::string Length(const char* value) {
  std::string v = value;
  while (!v.empty() && (v.back() == ' ' || v.back() == '\t')) v.pop_back();
  if (!v.empty() && v.find_first_not_of("0123456789.") == std::string::npos) v += "px";
  return v;
}

bool IsNumber(const char* value) {
  return value && *value && std::string(value).find_first_not_of("0123456789. ") == std::string::npos;
}

// The nearest ancestor with the tag (tables nest, so the first one counts).
litehtml::element::ptr Ancestor(const litehtml::element* el, const char* tag) {
  for (litehtml::element::ptr p = el->parent(); p; p = p->parent())
    if (Same(p->get_tagName(), tag)) return p;
  return nullptr;
}

class TLegacyBody : public litehtml::el_body {
public:
  using el_body::el_body;
  void parse_attributes() override {
    if (const char* c = get_attr("bgcolor")) m_style.add_property("background-color", c, nullptr, false, this);
    if (const char* c = get_attr("text")) m_style.add_property("color", c, nullptr, false, this);
    if (const char* b = get_attr("background")) {
      const std::string url = std::string("url(") + b + ")";
      m_style.add_property("background-image", url.c_str(), nullptr, false, this);
    }
    if (const char* m = get_attr("leftmargin")) m_style.add_property("margin-left", Length(m).c_str(), nullptr, false, this);
    if (const char* m = get_attr("topmargin")) m_style.add_property("margin-top", Length(m).c_str(), nullptr, false, this);
    html_tag::parse_attributes();
  }
};

class TLegacyAnchor : public litehtml::el_anchor {
public:
  using el_anchor::el_anchor;
  void parse_attributes() override {
    // <body link="..."> colours every link of the page.
    if (get_attr("href")) {
      if (auto body = Ancestor(this, "body"))
        if (const char* c = body->get_attr("link")) m_style.add_property("color", c, nullptr, false, this);
    }
    html_tag::parse_attributes();
  }
};

// <h1 align=center>, <caption align>, <hr ...>: plain elements with an attribute or two.
class TLegacyBlock : public litehtml::html_tag {
public:
  using html_tag::html_tag;
  void parse_attributes() override {
    const char* tag = get_tagName();
    if (const char* a = get_attr("align")) {
      if (Same(tag, "hr")) {
        if (Same(a, "left")) m_style.add_property("margin-left", "0", nullptr, false, this);
        if (Same(a, "right")) m_style.add_property("margin-right", "0", nullptr, false, this);
      } else if (Same(a, "left") || Same(a, "right") || Same(a, "center") || Same(a, "justify")) {
        m_style.add_property("text-align", a, nullptr, false, this);
      }
    }
    if (Same(tag, "hr")) {
      if (const char* w = get_attr("width")) m_style.add_property("width", Length(w).c_str(), nullptr, false, this);
      const char* color = get_attr("color");
      if (const char* s = get_attr("size"); IsNumber(s)) {
        const int size = std::atoi(s);
        if (size > 2) m_style.add_property("height", (std::to_string(size - 2) + "px").c_str(), nullptr, false, this);
      }
      if (get_attr("noshade") || color) {
        m_style.add_property("border-style", "solid", nullptr, false, this);
        m_style.add_property("border-color", color ? color : "#808080", nullptr, false, this);
        m_style.add_property("background-color", color ? color : "#808080", nullptr, false, this);
      }
    }
    html_tag::parse_attributes();
  }
};

class TLegacyImage : public litehtml::el_image {
public:
  using el_image::el_image;
  void parse_attributes() override {
    if (const char* a = get_attr("align")) {
      if (Same(a, "left") || Same(a, "right"))
        m_style.add_property("float", a, nullptr, false, this);
      else if (Same(a, "middle") || Same(a, "absmiddle") || Same(a, "center"))
        m_style.add_property("vertical-align", "middle", nullptr, false, this);
      else if (Same(a, "top") || Same(a, "texttop"))
        m_style.add_property("vertical-align", "top", nullptr, false, this);
    }
    if (const char* h = get_attr("hspace"); IsNumber(h)) {
      m_style.add_property("margin-left", Length(h).c_str(), nullptr, false, this);
      m_style.add_property("margin-right", Length(h).c_str(), nullptr, false, this);
    }
    if (const char* v = get_attr("vspace"); IsNumber(v)) {
      m_style.add_property("margin-top", Length(v).c_str(), nullptr, false, this);
      m_style.add_property("margin-bottom", Length(v).c_str(), nullptr, false, this);
    }
    if (const char* b = get_attr("border"); IsNumber(b)) {
      m_style.add_property("border-width", Length(b).c_str(), nullptr, false, this);
      m_style.add_property("border-style", "solid", nullptr, false, this);
    }
    el_image::parse_attributes();
  }

  // A picture that cannot be shown keeps its place, framed, with its alt text, as
  // browsers show it.
  int render(int x, int y, int max_width, bool second_pass) override {
    int width = el_image::render(x, y, max_width, second_pass);
    if ((m_pos.width > 0 && m_pos.height > 0) || !Missing()) return width;
    const char* alt = get_attr("alt", "");
    litehtml::font_metrics fm;
    const litehtml::uint_ptr font = get_font(&fm);
    const int textWidth = *alt ? get_document()->container()->text_width(alt, font) : 0;
    if (m_pos.width <= 0) m_pos.width = std::min(textWidth + 8, std::max(8, max_width));
    if (m_pos.height <= 0) m_pos.height = fm.height + 6;
    return m_pos.width + content_margins_left() + content_margins_right();
  }

  void draw(litehtml::uint_ptr hdc, int x, int y, const litehtml::position* clip) override {
    el_image::draw(hdc, x, y, clip);
    if (!Missing()) return;
    litehtml::position pos = m_pos;
    pos.x += x;
    pos.y += y;
    if (pos.width <= 2 || pos.height <= 2 || (clip && !pos.does_intersect(clip))) return;
    litehtml::document_container* container = get_document()->container();
    litehtml::borders frame;
    frame.left.width = frame.top.width = frame.right.width = frame.bottom.width = 1;
    frame.left.style = frame.top.style = frame.right.style = frame.bottom.style = litehtml::border_style_inset;
    frame.left.color = frame.top.color = frame.right.color = frame.bottom.color = litehtml::web_color(160, 160, 160);
    container->draw_borders(hdc, frame, pos, false);
    const char* alt = get_attr("alt", "");
    if (!*alt) return;
    litehtml::font_metrics fm;
    const litehtml::uint_ptr font = get_font(&fm);
    litehtml::position inner(pos.x + 1, pos.y + 1, pos.width - 2, pos.height - 2);
    container->set_clip(inner, litehtml::border_radiuses(), true, true);
    container->draw_text(hdc, alt, font, get_color("color", true, litehtml::web_color(0, 0, 0)),
                         litehtml::position(pos.x + 4, pos.y + 3, pos.width - 8, fm.height));
    container->del_clip();
  }

private:
  bool Missing() {
    const char* src = get_attr("src", "");
    if (!*src) return true;
    litehtml::size natural;
    get_document()->container()->get_image_size(src, nullptr, natural);
    return natural.width <= 0 || natural.height <= 0;
  }
};

class TLegacyCell : public litehtml::el_td {
public:
  using el_td::el_td;
  void parse_attributes() override {
    if (auto table = Ancestor(this, "table")) {
      if (const char* p = table->get_attr("cellpadding"); IsNumber(p))
        m_style.add_property("padding", Length(p).c_str(), nullptr, false, this);
      if (const char* c = table->get_attr("bordercolor"))
        m_style.add_property("border-color", c, nullptr, false, this);
    }
    if (const char* h = get_attr("height")) m_style.add_property("height", Length(h).c_str(), nullptr, false, this);
    if (get_attr("nowrap")) m_style.add_property("white-space", "nowrap", nullptr, false, this);
    el_td::parse_attributes();
  }
};

class TLegacyBreak : public litehtml::el_break {
public:
  using el_break::el_break;
  void parse_attributes() override {
    if (const char* c = get_attr("clear")) {
      if (Same(c, "all") || Same(c, "both")) m_style.add_property("clear", "both", nullptr, false, this);
      else if (Same(c, "left") || Same(c, "right")) m_style.add_property("clear", c, nullptr, false, this);
    }
    html_tag::parse_attributes();
  }
};

class TLegacyFont : public litehtml::el_font {
public:
  using el_font::el_font;
  void parse_attributes() override {
    // size="+2" and size="-1" are steps from the base size 3.
    if (const char* s = get_attr("size"); s && (s[0] == '+' || s[0] == '-')) {
      int size = 3 + std::atoi(s);
      size = size < 1 ? 1 : (size > 7 ? 7 : size);
      set_attr("size", std::to_string(size).c_str());
    }
    el_font::parse_attributes();
  }
};

bool IsRowGroup(litehtml::style_display d) {
  return d == litehtml::display_table_row_group || d == litehtml::display_table_header_group ||
         d == litehtml::display_table_footer_group;
}

// The children of `parent` with display `wanted`, looking inside row groups as
// litehtml does when it builds a grid.
void TableParts(const litehtml::element::ptr& parent, litehtml::style_display wanted,
                std::vector<litehtml::element::ptr>& out) {
  for (std::size_t i = 0; i < parent->get_children_count(); ++i) {
    const litehtml::element::ptr child = parent->get_child(static_cast<int>(i));
    if (!child) continue;
    if (child->get_display() == wanted) out.push_back(child);
    else if (IsRowGroup(child->get_display())) TableParts(child, wanted, out);
  }
}

// A span attribute held to [1, limit] (litehtml takes any number, and a colspan
// of a billion becomes a billion cells); returns the span.
int ClampSpan(const litehtml::element::ptr& cell, const char* name, int limit) {
  const char* text = cell->get_attr(name);
  if (!text) return 1;
  errno = 0;
  const long value = std::strtol(text, nullptr, 10);
  const int span = static_cast<int>(std::clamp<long>(value, 1, limit));
  if (span != value || errno == ERANGE) cell->set_attr(name, std::to_string(span).c_str());
  return span;
}

// Spans clamped; a grid larger than the view allows raises EHtmlTooLarge.
void CheckTable(const litehtml::element::ptr& table) {
  std::vector<litehtml::element::ptr> rows;
  TableParts(table, litehtml::display_table_row, rows);
  std::size_t widest = 0;
  std::size_t pushed = 0;  // columns that cells spanning rows may push later cells across
  std::vector<litehtml::element::ptr> cells;
  for (const auto& row : rows) {
    cells.clear();
    TableParts(row, litehtml::display_table_cell, cells);
    std::size_t columns = 0;
    for (const auto& cell : cells) {
      const int colspan = ClampSpan(cell, "colspan", kHtmlMaxColSpan);
      if (ClampSpan(cell, "rowspan", kHtmlMaxRowSpan) > 1) pushed += static_cast<std::size_t>(colspan);
      columns += static_cast<std::size_t>(colspan);
    }
    widest = std::max(widest, columns);
  }
  const std::size_t columns = widest + pushed;
  if (rows.size() > kHtmlMaxTableRows || rows.size() * columns > kHtmlMaxTableCells)
    throw EHtmlTooLarge("В документе есть таблица из " + std::to_string(rows.size()) + " строк и " +
                        std::to_string(columns) + " столбцов, а показать можно таблицу не больше чем из " +
                        std::to_string(kHtmlMaxTableRows) + " строк и " + std::to_string(kHtmlMaxTableCells) +
                        " клеток. Разделите её на несколько таблиц.");
}

// <html>: before litehtml lays out its grids, every table of the page is checked.
class TLegacyRoot : public litehtml::html_tag {
public:
  using html_tag::html_tag;
  void init() override {
    std::vector<litehtml::element::ptr> pending{shared_from_this()};
    while (!pending.empty()) {
      const litehtml::element::ptr el = pending.back();
      pending.pop_back();
      const litehtml::style_display display = el->get_display();
      if (display == litehtml::display_table || display == litehtml::display_inline_table) CheckTable(el);
      for (std::size_t i = 0; i < el->get_children_count(); ++i)
        if (auto child = el->get_child(static_cast<int>(i))) pending.push_back(child);
    }
    html_tag::init();
  }
};

}  // namespace

std::shared_ptr<litehtml::element> CreateLegacyElement(const litehtml::tchar_t* tag, const litehtml::string_map&,
                                                       const std::shared_ptr<litehtml::document>& doc) {
  if (!tag) return nullptr;
  if (Same(tag, "html")) return std::make_shared<TLegacyRoot>(doc);
  if (Same(tag, "body")) return std::make_shared<TLegacyBody>(doc);
  if (Same(tag, "a")) return std::make_shared<TLegacyAnchor>(doc);
  if (Same(tag, "img")) return std::make_shared<TLegacyImage>(doc);
  if (Same(tag, "td") || Same(tag, "th")) return std::make_shared<TLegacyCell>(doc);
  if (Same(tag, "br")) return std::make_shared<TLegacyBreak>(doc);
  if (Same(tag, "font")) return std::make_shared<TLegacyFont>(doc);
  if (Same(tag, "hr") || Same(tag, "caption") ||
      (std::strlen(tag) == 2 && (tag[0] == 'h' || tag[0] == 'H') && tag[1] >= '1' && tag[1] <= '6'))
    return std::make_shared<TLegacyBlock>(doc);
  return nullptr;
}
