#pragma once
// The bridge between litehtml and our drawing: fonts resolved through the font
// engine, text drawn with the glyph renderer, boxes, borders, list markers and
// pictures drawn straight into the target bitmap's rows.
//
// litehtml hands every drawing call an opaque `hdc`; here it is the address of a
// THtmlCanvas: the target bitmap, where the document's (0, 0) lands on it, and the
// clip in target pixels.
#include <litehtml/litehtml.h>

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "media/HtmlImages.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Forward.h"
#include "platform/gfx/Types.h"

struct THtmlCanvas {
  TBitmap* Bitmap = nullptr;
  TPoint Origin;  // target pixel of drawing coordinate (0, 0)
  TRect Clip;     // target pixels
};

class THtmlContainer : public litehtml::document_container {
public:
  THtmlContainer();
  ~THtmlContainer();

  // The document's own file: relative pictures, styles and links start from its folder.
  void SetDocumentPath(const std::string& path);
  const std::string& DocumentPath() const { return DocumentPath_; }
  // The viewport litehtml lays out for (media queries, percentages of the window).
  void SetViewSize(int width, int height);
  const std::string& Title() const { return Title_; }
  // The cursor the element under the mouse asks for ("pointer", "auto" ...).
  const std::string& CursorName() const { return Cursor_; }
  // The address of a link clicked during the last mouse call (empty when none).
  std::string TakeClickedLink();
  // A file path for a page-relative address; empty for network addresses.
  std::string ResolveFile(const std::string& src, const std::string& baseUrl) const;
  THtmlImageCache& Images() { return Images_; }
  int FontCount() const { return static_cast<int>(Fonts_.size()); }

  // --- litehtml::document_container ---------------------------------------------
  litehtml::uint_ptr create_font(const litehtml::tchar_t* faceName, int size, int weight, litehtml::font_style italic,
                                 unsigned int decoration, litehtml::font_metrics* fm) override;
  void delete_font(litehtml::uint_ptr hFont) override;
  int text_width(const litehtml::tchar_t* text, litehtml::uint_ptr hFont) override;
  void draw_text(litehtml::uint_ptr hdc, const litehtml::tchar_t* text, litehtml::uint_ptr hFont,
                 litehtml::web_color color, const litehtml::position& pos) override;
  int pt_to_px(int pt) const override;
  int get_default_font_size() const override;
  const litehtml::tchar_t* get_default_font_name() const override;
  void draw_list_marker(litehtml::uint_ptr hdc, const litehtml::list_marker& marker) override;
  void load_image(const litehtml::tchar_t* src, const litehtml::tchar_t* baseurl, bool redraw_on_ready) override;
  void get_image_size(const litehtml::tchar_t* src, const litehtml::tchar_t* baseurl, litehtml::size& sz) override;
  void draw_background(litehtml::uint_ptr hdc, const litehtml::background_paint& bg) override;
  void draw_borders(litehtml::uint_ptr hdc, const litehtml::borders& borders, const litehtml::position& draw_pos,
                    bool root) override;
  void set_caption(const litehtml::tchar_t* caption) override;
  void set_base_url(const litehtml::tchar_t* base_url) override;
  void link(const std::shared_ptr<litehtml::document>& doc, const litehtml::element::ptr& el) override;
  void on_anchor_click(const litehtml::tchar_t* url, const litehtml::element::ptr& el) override;
  void set_cursor(const litehtml::tchar_t* cursor) override;
  void transform_text(litehtml::tstring& text, litehtml::text_transform tt) override;
  void import_css(litehtml::tstring& text, const litehtml::tstring& url, litehtml::tstring& baseurl) override;
  void set_clip(const litehtml::position& pos, const litehtml::border_radiuses& bdr_radius, bool valid_x,
                bool valid_y) override;
  void del_clip() override;
  void get_client_rect(litehtml::position& client) const override;
  std::shared_ptr<litehtml::element> create_element(const litehtml::tchar_t* tag_name,
                                                    const litehtml::string_map& attributes,
                                                    const std::shared_ptr<litehtml::document>& doc) override;
  void get_media_features(litehtml::media_features& media) const override;
  void get_language(litehtml::tstring& language, litehtml::tstring& culture) const override;

private:
  struct TFont;
  TRect ClipOf(const THtmlCanvas& canvas) const;
  void Fill(const THtmlCanvas& canvas, const TRect& rect, litehtml::web_color color);
  void DrawSide(const THtmlCanvas& canvas, const TRect& rect, const litehtml::border& side, bool horizontal,
                bool topLeft);
  std::string BaseFolder(const std::string& baseUrl) const;

  std::string DocumentPath_;
  std::string BaseUrl_;
  std::string Title_;
  std::string Cursor_;
  std::string ClickedLink_;
  int ViewWidth_ = 800;
  int ViewHeight_ = 600;
  std::unordered_map<litehtml::uint_ptr, std::unique_ptr<TFont>> Fonts_;
  std::vector<TRect> Clips_;  // drawing coordinates; a side that is not clipped is wide open
  THtmlImageCache Images_;
};
