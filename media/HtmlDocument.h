#pragma once
// One page of the HTML view, without a window: read from a file or an address
// (or an error page saying why it could not be), laid out for a width once, and
// drawn any number of times into any part of a bitmap.
#include <cstddef>
#include <memory>
#include <string>

#include "media/HtmlContainer.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Types.h"

namespace litehtml {
class document;
class element;
}

// Bigger files are refused with a page saying so (they would take too long).
constexpr std::size_t kHtmlMaxFileBytes = 6u << 20;
// So are pages with more nodes than this: the layout makes a node of every
// element, word and space, and time and memory grow with them.
constexpr std::size_t kHtmlMaxNodes = 300000;

// How Open reads a page: all of it, or (for a view that wants its first screen
// soon) a long page's first part first, the rest on Complete.
enum class THtmlLoad { Whole, FirstPartFirst };

class THtmlDocument {
public:
  THtmlDocument();
  ~THtmlDocument();
  THtmlDocument(const THtmlDocument&) = delete;
  THtmlDocument& operator=(const THtmlDocument&) = delete;

  // Opens a file path, file: URL or network address; relative paths start at
  // `baseDir` (the working directory when empty). Returns false when an error page
  // stands in for the document (ErrorText() says why).
  bool Open(const std::string& address, const std::string& baseDir = {}, THtmlLoad load = THtmlLoad::Whole);
  // True while only the first part of the page is read (Height() is that part's);
  // drawing below what that part settles, Complete() and opening another page end it.
  bool Partial() const { return !Whole_.empty(); }
  // Reads the whole page and lays it out again at the width it had.
  void Complete();
  // Shows page text (UTF-8) as if read from `path`.
  void LoadHtml(const std::string& utf8, const std::string& path = {});

  bool Loaded() const { return Document_ != nullptr; }
  bool IsErrorPage() const { return !ErrorText_.empty(); }
  const std::string& ErrorText() const { return ErrorText_; }
  // The file shown (empty for error pages of addresses and for text loaded without a path).
  const std::string& Path() const { return Path_; }
  // The part after '#' of the address last opened.
  const std::string& Fragment() const { return Fragment_; }
  const std::string& Title() const;
  const char* CharsetName() const { return Charset_.c_str(); }
  // Elements, words and spaces of the page last read from a file (before layout).
  std::size_t NodeCount() const { return NodeCount_; }

  // Lays the page out for a width; does nothing when already laid out for it.
  void Layout(int width, int viewHeight);
  int LayoutWidth() const { return LayoutWidth_; }
  // Forgets the layout, so that the next Layout lays the page out again.
  void InvalidateLayout() { LayoutWidth_ = -1; }
  int LayoutCount() const { return LayoutCount_; }
  // Size of the laid-out page (at least the layout width wide).
  int Width() const;
  int Height() const;
  // The colour around and behind the page.
  TColor BackgroundColor() const { return Background_; }

  // Draws the part of the page inside `clip` (target pixels); the page's (0, 0)
  // lands on target pixel `origin`.
  void Draw(TBitmap& target, TPoint origin, const TRect& clip);

  // Top of the element named by an anchor (id, or name of <a>); -1 when there is none.
  int AnchorTop(const std::string& name) const;
  // Box of that element in page coordinates (for inline elements, the box around
  // their words; empty when there is none).
  TRect ElementRect(const std::string& name) const;

  // Mouse over the page at page coordinates (x, y) and view coordinates
  // (clientX, clientY). Each returns true when the page looks different now.
  bool MouseMove(int x, int y, int clientX, int clientY);
  bool MouseDown(int x, int y, int clientX, int clientY);
  bool MouseUp(int x, int y, int clientX, int clientY);
  bool MouseLeave();
  // The link clicked by the last MouseUp (empty when none).
  std::string TakeClickedLink() { return Container_.TakeClickedLink(); }
  // True while the mouse is over something that asks for the hand cursor.
  bool OverLink() const;

  THtmlContainer& Container() { return Container_; }

private:
  void ShowError(const std::string& page, const std::string& why, const std::string& path);
  bool LoadPrepared(const std::string& text, const std::string& path);
  int FirstPartSettled() const;
  std::shared_ptr<litehtml::element> FindElement(const std::string& name) const;
  void Reset();

  THtmlContainer Container_;
  std::shared_ptr<litehtml::document> Document_;
  std::string Path_;
  std::string Fragment_;
  std::string ErrorText_;
  std::string Charset_ = "utf-8";
  TColor Background_ = clWhite;
  std::string Whole_;    // the prepared text of a page shown from its first part
  int Settled_ = 0;      // rows of a first part that the rest cannot change
  int LayoutWidth_ = -1;
  int ViewHeight_ = 0;
  int LayoutCount_ = 0;
  std::size_t NodeCount_ = 0;
};
