#pragma once
// TWebBrowser: the embedded HTML view. A windowed control that shows one page
// (a lecture, a lab, the blank page, or a page saying why a document cannot be
// shown), scrolls it with the classic scroll bars, the wheel and the keys, and
// follows its links and anchors itself.
//
// The page is laid out once per client width. Scrolling moves the window image
// and paints only the band that comes into view.
#include <functional>
#include <memory>
#include <string>

#include "forms/WinControl.h"
#include "media/HtmlDocument.h"
#include "media/HtmlTileCache.h"
#include "platform/win/Messages.h"

class TWebBrowser : public TWinControl {
public:
  explicit TWebBrowser(TComponent* owner);
  ~TWebBrowser() override;
  std::string ClassName() const override { return "TWebBrowser"; }

  // Shows the document at a file path (absolute, relative to the working
  // directory, '\' or '/'), a file: URL or a network address. What cannot be
  // shown is replaced by a page that says why; nothing is raised.
  void Navigate(const std::string& address);
  // The address given to the last Navigate or link followed.
  const std::string& LocationURL() const { return Location_; }
  // The title of the page shown.
  std::string LocationName() const { return Page_.Title(); }
  // True when the page shown is an error page; ErrorText() says why.
  bool ShowingErrorPage() const { return Page_.IsErrorPage(); }
  const std::string& ErrorText() const { return Page_.ErrorText(); }

  // Scroll position (page pixels at the client's top-left corner).
  int ScrollLeft() const { return ScrollX_; }
  int ScrollTop() const { return ScrollY_; }
  void ScrollTo(int x, int y);
  // Scrolls so that the anchor (id, or name of <a>) is at the top; false when there is none.
  bool ScrollToAnchor(const std::string& name);

  THtmlDocument& Page() { return Page_; }
  const THtmlTileCache& Tiles() const { return Tiles_; }
  // The client area painted by the last WM_PAINT, and how many paints there were.
  const TRect& LastPaintRect() const { return LastPaint_; }
  int PaintCount() const { return PaintCount_; }

  // After every navigation, when the new page is shown.
  TNotifyEvent OnDocumentComplete;

  static constexpr int kLineStep = 20;  // pixels per arrow key or bar arrow
  static constexpr int kWheelLines = 3;  // lines per wheel notch
  // Posted after a page's first part is painted: the rest is read then.
  static constexpr UINT kCompletePageMessage = WM_APP + 0x221;

protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWindowHandle(const TCreateParams& params) override;
  void PaintWindow(HDC dc) override;
  void EraseBackground(HDC) override {}
  void WndProc(TMessage& message) override;
  void ControlKeyDown(WORD key, TShiftState shift) override;
  LRESULT DialogCode() const override { return DLGC_WANTARROWS; }

private:
  void Open(const std::string& address, const std::string& baseDir);
  void EnsureLayout();
  // Reads the rest of a page shown from its first part (scrolling, clicks and the
  // message posted after the first paint need all of it).
  void CompletePage();
  void UpdateScrollBars();
  int MaxScrollX() const;
  int MaxScrollY() const;
  // Moves the view; the window image is shifted and only the exposed band painted.
  void ScrollView(int x, int y);
  void HandleScroll(int bar, int code);
  void FollowLink(const std::string& href);
  void UpdateCursor();
  // The page looks different (hover, press): strips painted before are stale.
  void PageChanged();

  THtmlDocument Page_;
  THtmlTileCache Tiles_;
  std::string PendingAnchor_;  // a #fragment to show once the page is first laid out
  std::string Location_;
  int ScrollX_ = 0;
  int ScrollY_ = 0;
  bool UpdatingBars_ = false;
  bool CompletePosted_ = false;
  TRect LastPaint_;
  int PaintCount_ = 0;
};
