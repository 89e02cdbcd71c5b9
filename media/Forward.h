#pragma once
// The media views, declared for headers that only name them.
class TWebBrowser;
class TMediaPlayer;
