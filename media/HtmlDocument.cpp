#include "media/HtmlDocument.h"

#include <litehtml/litehtml.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "media/HtmlAddress.h"
#include "media/HtmlCharset.h"
#include "media/HtmlElements.h"
#include "media/HtmlMasterCss.h"
#include "media/HtmlPages.h"
#include "media/HtmlPrepare.h"

namespace {

// The master styles are parsed once for the whole program.
litehtml::context& SharedContext() {
  static litehtml::context* context = [] {
    auto* c = new litehtml::context;
    c->load_master_stylesheet(HtmlMasterCss());
    return c;
  }();
  return *context;
}

// Reads a file; on failure returns false with the reason in Russian.
bool ReadFileBytes(const std::string& path, std::string& bytes, std::string& reason) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    reason = errno == EACCES ? "нет прав на чтение файла" : "файл не открывается (" + std::string(std::strerror(errno)) + ")";
    return false;
  }
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size < 0) {
    reason = "не удаётся узнать размер файла";
    return false;
  }
  in.seekg(0, std::ios::beg);
  bytes.resize(static_cast<std::size_t>(size));
  if (size > 0 && !in.read(bytes.data(), size)) {
    reason = "ошибка чтения файла";
    return false;
  }
  return true;
}

// Whether a page can be shown from the text before `cut` as it will look whole: the
// rest brings no style sheets and places nothing by coordinates, and no style of the
// first part picks elements by what follows them or places pictures by the page's height.
bool RestCannotRestyle(const std::string& text, std::size_t cut) {
  for (const char* pattern : {"<style", "<link", "<base", "position"})
    if (FindCaseless(text, pattern, cut) != std::string::npos) return false;
  const std::size_t body = FindCaseless(text, "<body");
  if (body == std::string::npos) return false;
  for (const char* pattern : {"last-", "only-", "url(", "background-position", "background-attachment"})
    if (FindCaseless(text, pattern) < cut) return false;
  const std::size_t bodyEnd = text.find('>', body);
  return FindCaseless(text.substr(body, bodyEnd - body), "background") == std::string::npos;
}

TColor ParseColor(const char* value, litehtml::document_container* container, bool& opaque) {
  opaque = false;
  if (!value || !*value) return clWhite;
  const litehtml::web_color c = litehtml::web_color::from_string(value, container);
  opaque = c.alpha != 0;
  return static_cast<TColor>(RGB(c.red, c.green, c.blue));
}

}  // namespace

THtmlDocument::THtmlDocument() = default;

THtmlDocument::~THtmlDocument() { Reset(); }

void THtmlDocument::Reset() {
  Whole_.clear();
  Settled_ = 0;
  Document_.reset();  // fonts go back to the container before it is cleared
  Container_.Images().Clear();
  LayoutWidth_ = -1;
}

const std::string& THtmlDocument::Title() const { return Container_.Title(); }

void THtmlDocument::ShowError(const std::string& page, const std::string& why, const std::string& path) {
  LoadHtml(page, {});
  Path_ = path;
  ErrorText_ = why;
}

bool THtmlDocument::Open(const std::string& address, const std::string& baseDir, THtmlLoad load) {
  const THtmlAddress where = ParseHtmlAddress(address, baseDir);
  Fragment_.clear();
  switch (where.Kind) {
    case THtmlAddress::TKind::Blank:
      LoadHtml("<html><body></body></html>", {});
      return true;
    case THtmlAddress::TKind::Remote:
      ShowError(UnreachablePage(where.Text), "Учебник открывает только файлы этого компьютера: " + where.Text, {});
      return false;
    case THtmlAddress::TKind::File: break;
  }
  const std::string& path = where.Path;
  std::error_code ec;
  const auto status = std::filesystem::status(path, ec);
  if (path.empty() || ec || !std::filesystem::exists(status)) {
    ShowError(FileNotFoundPage(path.empty() ? where.Text : path), "Файл не найден: " + path, path);
    return false;
  }
  if (std::filesystem::is_directory(status)) {
    ShowError(FolderPage(path), "Это папка: " + path, path);
    return false;
  }
  if (!std::filesystem::is_regular_file(status)) {
    // A pipe or a device would block the reader or never end.
    ShowError(ReadErrorPage(path, "это не обычный файл"), "Не удаётся прочитать файл: " + path, path);
    return false;
  }
  const auto size = std::filesystem::file_size(path, ec);
  if (!ec && size > kHtmlMaxFileBytes) {
    ShowError(TooLargePage(path, size, kHtmlMaxFileBytes), "Документ слишком велик: " + path, path);
    return false;
  }
  std::string bytes;
  std::string reason;
  if (!ReadFileBytes(path, bytes, reason)) {
    ShowError(ReadErrorPage(path, reason), "Не удаётся прочитать файл: " + reason, path);
    return false;
  }
  if (bytes.size() > kHtmlMaxFileBytes) {
    ShowError(TooLargePage(path, bytes.size(), kHtmlMaxFileBytes), "Документ слишком велик: " + path, path);
    return false;
  }
  if (LooksBinary(bytes)) {
    ShowError(NotTextPage(path), "Файл не является документом: " + path, path);
    return false;
  }
  THtmlDecoded decoded = DecodeHtmlBytes(bytes);
  bytes.clear();
  bytes.shrink_to_fit();
  THtmlPrepared prepared = PrepareHtml(decoded.Text);
  decoded.Text.clear();
  decoded.Text.shrink_to_fit();
  const std::size_t nodes = prepared.Elements + 2 * prepared.Words;
  if (nodes > kHtmlMaxNodes) {
    ShowError(ErrorPage("Документ слишком велик",
                        "В документе около " + std::to_string(nodes) +
                            " слов и элементов разметки, а показать можно не больше " + std::to_string(kHtmlMaxNodes) +
                            ". Разделите его на несколько частей.",
                        path),
              "Документ слишком велик: " + path, path);
    return false;
  }
  std::size_t cut = load == THtmlLoad::FirstPartFirst && where.Fragment.empty() ? prepared.FirstPartEnd : 0;
  if (cut > 0 && !RestCannotRestyle(prepared.Text, cut)) cut = 0;
  if (cut > 0) {
    std::string first = prepared.Text.substr(0, cut);
    first += "</body></html>";
    if (!LoadPrepared(first, path)) return false;
    Whole_ = std::move(prepared.Text);
  } else if (!LoadPrepared(prepared.Text, path)) {
    return false;
  }
  Charset_ = HtmlCharsetName(decoded.Charset);
  Fragment_ = where.Fragment;
  NodeCount_ = nodes;
  return true;
}

// Parses prepared text; on failure an error page stands in and the result is false.
bool THtmlDocument::LoadPrepared(const std::string& text, const std::string& path) {
  try {
    LoadHtml(text, path);
  } catch (const EHtmlTooLarge& e) {
    ShowError(ErrorPage("Документ слишком велик", e.what(), path), "Документ слишком велик: " + path, path);
    return false;
  } catch (const std::exception& e) {
    ShowError(ParseErrorPage(path, e.what()), std::string("Документ не удалось разобрать: ") + e.what(), path);
    return false;
  }
  return true;
}

void THtmlDocument::Complete() {
  if (Whole_.empty()) return;
  const std::string whole = std::move(Whole_);
  const std::string charset = Charset_, fragment = Fragment_, path = Path_;
  const std::size_t nodes = NodeCount_;
  const int width = LayoutWidth_;
  if (LoadPrepared(whole, path)) {
    Charset_ = charset;
    NodeCount_ = nodes;
  }
  Fragment_ = fragment;
  if (width >= 0) Layout(width, ViewHeight_);
}

// Rows from the top that the rest of a first part cannot change: what follows starts
// below the top of the body's lowest box in the flow (spaces and floats aside).
int THtmlDocument::FirstPartSettled() const {
  const auto root = Document_ ? Document_->root() : nullptr;
  const auto body = root ? root->select_one("body") : nullptr;
  if (!body) return 0;
  int settled = 0;
  for (std::size_t i = 0; i < body->get_children_count(); ++i) {
    const auto child = body->get_child(static_cast<int>(i));
    if (child->is_white_space() || child->get_float() != litehtml::float_none) continue;
    const litehtml::position box = child->get_placement();
    if (box.height > 0) settled = std::max(settled, box.y);
  }
  return settled;
}

void THtmlDocument::LoadHtml(const std::string& utf8, const std::string& path) {
  Reset();
  ErrorText_.clear();
  NodeCount_ = 0;
  Charset_ = "utf-8";
  Path_ = path;
  Container_.SetDocumentPath(path);
  Document_ = litehtml::document::createFromString(utf8.c_str(), &Container_, &SharedContext());
  if (!Document_) throw std::runtime_error("пустой результат разбора");
  // The page's colour: the root's background, else the body's (as browsers propagate it).
  Background_ = clWhite;
  if (auto root = Document_->root()) {
    bool opaque = false;
    const TColor rootColor = ParseColor(root->get_style_property("background-color", false, ""), &Container_, opaque);
    if (opaque) {
      Background_ = rootColor;
    } else if (auto body = root->select_one("body")) {
      const TColor bodyColor = ParseColor(body->get_style_property("background-color", false, ""), &Container_, opaque);
      if (opaque) Background_ = bodyColor;
    }
  }
}

void THtmlDocument::Layout(int width, int viewHeight) {
  if (!Document_) return;
  width = std::max(1, width);
  Container_.SetViewSize(width, viewHeight);
  ViewHeight_ = viewHeight;
  if (width == LayoutWidth_) return;
  Document_->media_changed();
  Document_->render(width);
  LayoutWidth_ = width;
  ++LayoutCount_;
  if (Partial()) {
    // The first part must settle two screens (and the view's strips below the first).
    Settled_ = FirstPartSettled();
    if (Settled_ < 2 * std::max(viewHeight, 512)) Complete();
  }
}

int THtmlDocument::Width() const { return Document_ ? std::max(Document_->width(), LayoutWidth_) : 0; }
int THtmlDocument::Height() const { return Document_ ? Document_->height() : 0; }

void THtmlDocument::Draw(TBitmap& target, TPoint origin, const TRect& clip) {
  const TRect area = clip.Intersect(Bounds(0, 0, target.Width(), target.Height()));
  if (area.IsEmpty()) return;
  THtmlCanvas canvas{&target, origin, area};
  // Around and behind the page: its own colour, as a browser fills the window.
  const litehtml::web_color bg(GetRValue(Background_), GetGValue(Background_), GetBValue(Background_));
  const int bpp = target.PixelFormat() == TPixelFormat::pf32bit ? 4 : 3;
  for (int y = area.Top; y < area.Bottom; ++y) {
    std::uint8_t* d = target.ScanLine(y) + area.Left * bpp;
    for (int x = area.Left; x < area.Right; ++x, d += bpp) {
      d[0] = bg.blue;
      d[1] = bg.green;
      d[2] = bg.red;
      if (bpp == 4) d[3] = 255;
    }
  }
  if (!Document_ || LayoutWidth_ < 0) return;
  if (Partial() && area.Bottom - origin.Y > Settled_) Complete();
  const litehtml::position pageClip(area.Left - origin.X, area.Top - origin.Y, area.Width(), area.Height());
  Document_->draw(reinterpret_cast<litehtml::uint_ptr>(&canvas), 0, 0, &pageClip);
}

std::shared_ptr<litehtml::element> THtmlDocument::FindElement(const std::string& name) const {
  if (!Document_ || name.empty()) return nullptr;
  // Depth first without recursion: the tree is as deep as the page nests.
  std::vector<litehtml::element::ptr> pending{Document_->root()};
  while (!pending.empty()) {
    litehtml::element::ptr el = pending.back();
    pending.pop_back();
    if (!el) continue;
    const char* id = el->get_attr("id");
    const char* tag = el->get_tagName();
    const char* anchorName = tag && std::strcmp(tag, "a") == 0 ? el->get_attr("name") : nullptr;
    if ((id && name == id) || (anchorName && name == anchorName)) return el;
    for (std::size_t i = el->get_children_count(); i > 0; --i) pending.push_back(el->get_child(static_cast<int>(i - 1)));
  }
  return nullptr;
}

TRect THtmlDocument::ElementRect(const std::string& name) const {
  const auto el = FindElement(name);
  if (!el) return {};
  const litehtml::position own = el->get_placement();
  if (own.width > 0 && own.height > 0) return Bounds(own.x, own.y, own.width, own.height);
  // Inline elements have no box of their own: their words have.
  TRect box;
  bool any = false;
  std::vector<litehtml::element::ptr> pending{el};
  while (!pending.empty()) {
    litehtml::element::ptr e = pending.back();
    pending.pop_back();
    const litehtml::position p = e->get_placement();
    if (p.width > 0 && p.height > 0) {
      const TRect r = Bounds(p.x, p.y, p.width, p.height);
      box = any ? TRect{std::min(box.Left, r.Left), std::min(box.Top, r.Top), std::max(box.Right, r.Right),
                        std::max(box.Bottom, r.Bottom)}
                : r;
      any = true;
      continue;
    }
    for (std::size_t i = 0; i < e->get_children_count(); ++i) pending.push_back(e->get_child(static_cast<int>(i)));
  }
  return any ? box : Bounds(own.x, own.y, 0, 0);
}

int THtmlDocument::AnchorTop(const std::string& name) const {
  const auto el = FindElement(name);
  return el ? std::max(0, el->get_placement().y) : -1;
}

bool THtmlDocument::MouseMove(int x, int y, int clientX, int clientY) {
  litehtml::position::vector boxes;
  return Document_ && Document_->on_mouse_over(x, y, clientX, clientY, boxes);
}

bool THtmlDocument::MouseDown(int x, int y, int clientX, int clientY) {
  litehtml::position::vector boxes;
  return Document_ && Document_->on_lbutton_down(x, y, clientX, clientY, boxes);
}

bool THtmlDocument::MouseUp(int x, int y, int clientX, int clientY) {
  litehtml::position::vector boxes;
  return Document_ && Document_->on_lbutton_up(x, y, clientX, clientY, boxes);
}

bool THtmlDocument::MouseLeave() {
  litehtml::position::vector boxes;
  return Document_ && Document_->on_mouse_leave(boxes);
}

bool THtmlDocument::OverLink() const { return Container_.CursorName() == "pointer"; }
