#include "media/MediaEngine.h"

#include "forms/DriverProperties.h"
#include "media/MediaPlayer.h"
#include "media/WebBrowser.h"
#include "platform/base/TextHelpers.h"

namespace {
// Where the document view was sent and what it shows.
void RegisterWebBrowserProperties() {
  using P = TDriverProperties;
  P::Register<TWebBrowser>("LocationURL", [](TWebBrowser& b) { return b.LocationURL(); });
  P::Register<TWebBrowser>("LocationName", [](TWebBrowser& b) { return b.LocationName(); });
  P::Register<TWebBrowser>("ShowingErrorPage",
                           [](TWebBrowser& b) { return BoolText(b.ShowingErrorPage()); });
}
}  // namespace

TEnginePart MediaEnginePart() {
  return {"media",
          [] {
            RegisterWebBrowserProperties();
            TMediaPlayer::RegisterDriverProperties();
          },
          nullptr};
}
