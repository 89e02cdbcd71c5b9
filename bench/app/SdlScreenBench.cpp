// Start-up and the first click on the real display, seen from the X server's
// side: the program runs on the SDL backend on a private Xvfb, and a small X
// client of this benchmark reads the screen (XGetImage) until the expected
// pixels are there. The expected picture of each moment comes from an untimed
// run, taken once the screen has settled; a timed run ends when the part of the
// screen that moment changes shows it (a blinking caret aside).
//
// Baselines in the same run: a bare SDL program (bare-sdl-window) that opens one
// window the login window's size and place and fills it, and opens a second the
// screen's size (as the materials browser is) when the first is clicked.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/XTest.h>
#include <signal.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "bench/app/BenchWorkspace.h"
#include "bench/common/BenchRunner.h"
#include "tests/realdisplay/XSession.h"

namespace fs = std::filesystem;

namespace {

using TClock = std::chrono::steady_clock;

double MsSince(TClock::time_point from) {
  return std::chrono::duration<double, std::milli>(TClock::now() - from).count();
}

// Pixels that may differ from the expected picture when it counts as shown: a
// caret's blink, never a window's worth.
constexpr double kTolerance = 0.002;
// The screen has settled when nothing beyond that changed for this long.
constexpr auto kSettled = std::chrono::milliseconds(800);
constexpr auto kLimit = std::chrono::seconds(60);
// Between two reads of the screen: the program under test needs the cores too.
constexpr auto kPollPause = std::chrono::milliseconds(2);

struct TArea {
  int X = 0, Y = 0, W = 0, H = 0;
  bool Empty() const { return W <= 0 || H <= 0; }
};

using TPixels = std::vector<std::uint32_t>;

// Where two pictures of the same area differ, and how many pixels do.
std::size_t Differences(const TPixels& a, const TPixels& b) {
  std::size_t n = 0;
  for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) n += a[i] != b[i];
  return n + (a.size() > b.size() ? a.size() - b.size() : b.size() - a.size());
}

class TScreen {
public:
  explicit TScreen(const std::string& display) : D_(XOpenDisplay(display.c_str())) {
    if (!D_) return;
    Root_ = DefaultRootWindow(D_);
    Whole_ = {0, 0, DisplayWidth(D_, DefaultScreen(D_)), DisplayHeight(D_, DefaultScreen(D_))};
  }
  ~TScreen() {
    for (auto& [size, shared] : Shared_) {
      XShmDetach(D_, &shared->Info);
      XDestroyImage(shared->Image);
      shmdt(shared->Info.shmaddr);
    }
    if (D_) XCloseDisplay(D_);
  }
  TScreen(const TScreen&) = delete;
  TScreen& operator=(const TScreen&) = delete;

  bool Ok() const { return D_ != nullptr; }
  const TArea& Whole() const { return Whole_; }

  // Through shared memory where the server offers it: a window-sized read then
  // costs a copy, not a trip of megabytes through the socket, and the screen can
  // be read often without taking the cores from the program under test.
  TPixels Read(const TArea& a) {
    TPixels pixels;
    XImage* image = SharedImage(a);
    const bool shared = image != nullptr;
    if (shared) {
      if (!XShmGetImage(D_, Root_, image, a.X, a.Y, AllPlanes)) return pixels;
    } else {
      image = XGetImage(D_, Root_, a.X, a.Y, static_cast<unsigned>(a.W), static_cast<unsigned>(a.H), AllPlanes, ZPixmap);
      if (!image) return pixels;
    }
    pixels.resize(static_cast<std::size_t>(a.W) * static_cast<std::size_t>(a.H));
    for (int y = 0; y < a.H; ++y) {
      const char* row = image->data + static_cast<std::ptrdiff_t>(y) * image->bytes_per_line;
      if (image->bits_per_pixel == 32) {
        std::memcpy(&pixels[static_cast<std::size_t>(y) * a.W], row, static_cast<std::size_t>(a.W) * 4);
      } else {
        for (int x = 0; x < a.W; ++x) pixels[static_cast<std::size_t>(y) * a.W + x] = XGetPixel(image, x, y);
      }
    }
    if (!shared) XDestroyImage(image);
    return pixels;
  }

  // Waits until the screen has changed from `from` and then stays still; the
  // settled screen, or nothing when it never settles.
  TPixels Settle(const TPixels& from) {
    const auto end = TClock::now() + kLimit;
    TPixels last = Read(Whole_);
    bool changed = Differences(last, from) > Allowed(Whole_);
    auto still = TClock::now();
    while (TClock::now() < end) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      TPixels now = Read(Whole_);
      if (Differences(now, last) > Allowed(Whole_)) {
        still = TClock::now();
        changed = changed || Differences(now, from) > Allowed(Whole_);
      }
      last = std::move(now);
      if (changed && TClock::now() - still >= kSettled) return last;
    }
    return {};
  }

  // Milliseconds from `from` until `area` shows `expected`; -1 past the limit.
  double Await(const TArea& area, const TPixels& expected, TClock::time_point from) {
    const auto end = from + kLimit;
    while (TClock::now() < end) {
      if (Differences(Read(area), expected) <= Allowed(area)) return MsSince(from);
      std::this_thread::sleep_for(kPollPause);
    }
    return -1;
  }

  void Click(int x, int y) {
    XTestFakeMotionEvent(D_, -1, x, y, CurrentTime);
    XTestFakeButtonEvent(D_, 1, True, CurrentTime);
    XTestFakeButtonEvent(D_, 1, False, CurrentTime);
    XFlush(D_);
  }

  void MovePointer(int x, int y) {
    XTestFakeMotionEvent(D_, -1, x, y, CurrentTime);
    XSync(D_, False);
  }

  std::pair<int, int> Pointer() {
    Window root = 0, child = 0;
    int x = 0, y = 0, wx = 0, wy = 0;
    unsigned mask = 0;
    XQueryPointer(D_, Root_, &root, &child, &x, &y, &wx, &wy, &mask);
    return {x, y};
  }

private:
  struct TShared {
    XImage* Image = nullptr;
    XShmSegmentInfo Info{};
  };

  // One shared image for each size read; nullptr without the extension.
  XImage* SharedImage(const TArea& a) {
    if (!XShmQueryExtension(D_)) return nullptr;
    const auto key = std::make_pair(a.W, a.H);
    if (auto it = Shared_.find(key); it != Shared_.end()) return it->second->Image;
    // The image keeps a pointer to its segment's description: it stays in place.
    auto owned = std::make_unique<TShared>();
    TShared& shared = *owned;
    Visual* visual = DefaultVisual(D_, DefaultScreen(D_));
    const auto depth = static_cast<unsigned>(DefaultDepth(D_, DefaultScreen(D_)));
    shared.Image = XShmCreateImage(D_, visual, depth, ZPixmap, nullptr, &shared.Info, static_cast<unsigned>(a.W),
                                   static_cast<unsigned>(a.H));
    if (!shared.Image) return nullptr;
    shared.Info.shmid = shmget(IPC_PRIVATE, static_cast<std::size_t>(shared.Image->bytes_per_line) * a.H, IPC_CREAT | 0600);
    if (shared.Info.shmid < 0) {
      XDestroyImage(shared.Image);
      return nullptr;
    }
    shared.Info.shmaddr = shared.Image->data = static_cast<char*>(shmat(shared.Info.shmid, nullptr, 0));
    shared.Info.readOnly = False;
    const bool attached = XShmAttach(D_, &shared.Info);
    XSync(D_, False);
    shmctl(shared.Info.shmid, IPC_RMID, nullptr);  // gone once both sides detach
    if (!attached) {
      shmdt(shared.Info.shmaddr);
      shared.Image->data = nullptr;
      XDestroyImage(shared.Image);
      return nullptr;
    }
    return Shared_.emplace(key, std::move(owned)).first->second->Image;
  }

  static std::size_t Allowed(const TArea& a) {
    return static_cast<std::size_t>(kTolerance * static_cast<double>(a.W) * static_cast<double>(a.H));
  }

  Display* D_ = nullptr;
  Window Root_ = 0;
  TArea Whole_;
  std::map<std::pair<int, int>, std::unique_ptr<TShared>> Shared_;
};

// The bounding box of the pixels where two pictures of the whole screen differ.
TArea ChangedArea(const TArea& whole, const TPixels& before, const TPixels& after) {
  int left = whole.W, top = whole.H, right = -1, bottom = -1;
  for (int y = 0; y < whole.H; ++y)
    for (int x = 0; x < whole.W; ++x) {
      const std::size_t i = static_cast<std::size_t>(y) * whole.W + x;
      if (before[i] == after[i]) continue;
      left = std::min(left, x), right = std::max(right, x);
      top = std::min(top, y), bottom = std::max(bottom, y);
    }
  if (right < 0) return {};
  return {left, top, right - left + 1, bottom - top + 1};
}

TPixels Crop(const TArea& whole, const TPixels& pixels, const TArea& a) {
  TPixels out;
  out.reserve(static_cast<std::size_t>(a.W) * a.H);
  for (int y = a.Y; y < a.Y + a.H; ++y) {
    const auto row = pixels.begin() + static_cast<std::ptrdiff_t>(y) * whole.W;
    out.insert(out.end(), row + a.X, row + a.X + a.W);
  }
  return out;
}

// One started program; ended (and waited for) with the object.
class TChild {
public:
  TChild(const std::vector<std::string>& args, const fs::path& dir, const std::string& display) {
    Pid_ = fork();
    if (Pid_ != 0) return;
    if (chdir(dir.c_str()) != 0) _exit(126);
    setenv("DISPLAY", display.c_str(), 1);
    if (!freopen("/dev/null", "w", stdout) || !freopen("/dev/null", "w", stderr)) _exit(126);
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  // Killed outright: what it does on its way out is not measured, and a program
  // asking whether to close would never go.
  ~TChild() {
    if (Pid_ <= 0) return;
    kill(Pid_, SIGKILL);
    int status = 0;
    waitpid(Pid_, &status, 0);
  }
  TChild(const TChild&) = delete;
  TChild& operator=(const TChild&) = delete;

private:
  pid_t Pid_ = -1;
};

// What one moment must look like, learnt from an untimed run.
struct TExpected {
  TArea Area;
  TPixels Pixels;
  bool Ok() const { return !Area.Empty(); }
};

struct TSetup {
  TXSession Session{""};
  TScreen Screen{Session.Display()};
  TBenchWorkspace Workspace;
  TPixels Empty;  // the screen with no program on it
  fs::path ClickScript, Ready;
  // The login window's size, placed as the program places it (the screen's centre).
  TArea Login;

  TSetup() {
    if (!Session.Ok() || !Screen.Ok()) return;
    Empty = Screen.Read(Screen.Whole());
    Ready = Workspace.Dir / "ready.png";
    ClickScript = Workspace.Dir / "click.txt";
    // Logs in, rests the pointer on "Уроки" and says so with a shot; then the
    // program runs on as usual (the script's wait handles real input) until killed.
    std::ofstream(ClickScript) << "type ivanov\nkey Tab\ntype qwe123\nkey Enter\nhover Form1.sSpeedButton1\n"
                                  "shot desktop "
                               << Ready.string() << "\nwait 600000\n";
    const TArea& w = Screen.Whole();
    Login = {(w.W - 395) / 2, (w.H - 109) / 2, 395, 109};
  }
  bool Ok() const { return !Empty.empty(); }

  // Until the last program's windows are gone.
  void AwaitEmptyScreen() { Screen.Await(Screen.Whole(), Empty, TClock::now()); }

  std::vector<std::string> Program(bool clickScript) const {
    if (!clickScript) return {TEXTBOOK_PROGRAM};
    return {TEXTBOOK_PROGRAM, "--real-display", "--script", ClickScript.string()};
  }
  std::vector<std::string> Bare() const {
    const TArea& w = Screen.Whole();
    return {BARE_SDL_WINDOW,         std::to_string(Login.X), std::to_string(Login.Y), std::to_string(Login.W),
            std::to_string(Login.H), "0",                     "0",                     std::to_string(w.W),
            std::to_string(w.H)};
  }

  // Waits for the click script's shot (the pointer then rests on the button).
  bool AwaitReady() {
    const auto end = TClock::now() + kLimit;
    while (TClock::now() < end) {
      std::error_code ec;
      if (fs::exists(Ready, ec)) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
  }
};

TSetup& Setup() {
  static TSetup setup;
  return setup;
}

// Start-up: from starting the process to the expected screen.
TExpected LearnStartup(const std::vector<std::string>& args) {
  TSetup& s = Setup();
  s.AwaitEmptyScreen();
  TChild child(args, s.Workspace.Dir, s.Session.Display());
  const TPixels settled = s.Screen.Settle(s.Empty);
  if (settled.empty()) return {};
  TExpected e;
  e.Area = ChangedArea(s.Screen.Whole(), s.Empty, settled);
  e.Pixels = Crop(s.Screen.Whole(), settled, e.Area);
  return e;
}

double TimeStartup(const std::vector<std::string>& args, const TExpected& expected) {
  TSetup& s = Setup();
  s.AwaitEmptyScreen();
  const auto start = TClock::now();
  TChild child(args, s.Workspace.Dir, s.Session.Display());
  return s.Screen.Await(expected.Area, expected.Pixels, start);
}

// A click: `prepare` brings the program to the moment before it and returns
// where to click; the expected screen is learnt from the settled screen after.
using TPrepare = std::function<bool(std::pair<int, int>& where)>;

TExpected LearnClick(const std::vector<std::string>& args, const TPrepare& prepare) {
  TSetup& s = Setup();
  s.AwaitEmptyScreen();
  TChild child(args, s.Workspace.Dir, s.Session.Display());
  std::pair<int, int> where;
  if (!prepare(where)) return {};
  const TPixels before = s.Screen.Settle(s.Empty);
  if (before.empty()) return {};
  s.Screen.Click(where.first, where.second);
  const TPixels after = s.Screen.Settle(before);
  if (after.empty()) return {};
  TExpected e;
  e.Area = ChangedArea(s.Screen.Whole(), before, after);
  e.Pixels = Crop(s.Screen.Whole(), after, e.Area);
  return e;
}

double TimeClick(const std::vector<std::string>& args, const TPrepare& prepare, const TExpected& expected) {
  TSetup& s = Setup();
  s.AwaitEmptyScreen();
  TChild child(args, s.Workspace.Dir, s.Session.Display());
  std::pair<int, int> where;
  if (!prepare(where) || s.Screen.Settle(s.Empty).empty()) return -1;
  const auto start = TClock::now();
  s.Screen.Click(where.first, where.second);
  return s.Screen.Await(expected.Area, expected.Pixels, start);
}

bool PrepareProgramClick(std::pair<int, int>& where) {
  TSetup& s = Setup();
  std::error_code ec;
  if (!s.AwaitReady()) return false;
  fs::remove(s.Ready, ec);
  where = s.Screen.Pointer();
  return true;
}

bool PrepareBareClick(std::pair<int, int>& where) {
  TSetup& s = Setup();
  where = {s.Login.X + s.Login.W / 2, s.Login.Y + s.Login.H / 2};
  return true;
}

// The timed runs of each benchmark, by name: the figures are their medians, which
// one run slowed by another program on the machine does not move.
std::map<std::string, std::vector<double>> gRuns;

double MedianMs(const std::string& name) { return Median(gRuns[name]); }

// One benchmark: an untimed run to learn the expected screen, then timed runs.
void Register(const char* name, int runs, std::function<TExpected()> learn, std::function<double(const TExpected&)> time) {
  benchmark::RegisterBenchmark(name, [name = std::string(name), learn, time](benchmark::State& state) {
    if (!Setup().Ok()) {
      state.SkipWithError("no private X server");
      for (auto _ : state) {
      }
      return;
    }
    const TExpected expected = learn();
    if (!expected.Ok()) {
      state.SkipWithError("the screen never settled");
      for (auto _ : state) {
      }
      return;
    }
    // The part of the screen the moment changes, for a reader to judge the figure by.
    state.counters["area_w"] = expected.Area.W;
    state.counters["area_h"] = expected.Area.H;
    for (auto _ : state) {
      const double ms = time(expected);
      if (ms < 0) {
        state.SkipWithError("the expected picture never came");
        break;
      }
      state.SetIterationTime(ms / 1000.0);
      gRuns[name].push_back(ms);
    }
  })->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(runs);
}

// A smoke run (--benchmark_min_time below a tenth of a second) times each once.
int RunsFor(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const std::string flag = "--benchmark_min_time=";
    if (arg.starts_with(flag) && std::atof(arg.c_str() + flag.size()) < 0.1) return 1;
  }
  return 7;
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = RunsFor(argc, argv);
  const auto program = [](bool click) { return Setup().Program(click); };
  Register("BM_SdlStartupToLogin", runs, [&] { return LearnStartup(program(false)); },
           [&](const TExpected& e) { return TimeStartup(program(false), e); });
  Register("BM_BareSdlWindow", runs, [] { return LearnStartup(Setup().Bare()); },
           [](const TExpected& e) { return TimeStartup(Setup().Bare(), e); });
  Register("BM_SdlClickToBrowser", runs, [&] { return LearnClick(program(true), PrepareProgramClick); },
           [&](const TExpected& e) { return TimeClick(program(true), PrepareProgramClick, e); });
  Register("BM_BareSdlClickToWindow", runs, [] { return LearnClick(Setup().Bare(), PrepareBareClick); },
           [](const TExpected& e) { return TimeClick(Setup().Bare(), PrepareBareClick, e); });
  TBenchTimes times;
  if (!RunBenchmarks(argc, argv, times)) return 1;
  const double startup = MedianMs("BM_SdlStartupToLogin"), bare = MedianMs("BM_BareSdlWindow");
  const double click = MedianMs("BM_SdlClickToBrowser"), bareClick = MedianMs("BM_BareSdlClickToWindow");
  if (startup > 0) std::printf("sdl_startup_to_login_ms = %.1f\n", startup);
  if (bare > 0) std::printf("sdl_bare_window_ms = %.1f\n", bare);
  if (startup > 0 && bare > 0) std::printf("sdl_startup_vs_bare_window = %.2f\n", startup / bare);
  if (click > 0) std::printf("sdl_click_to_browser_ms = %.1f\n", click);
  if (bareClick > 0) std::printf("sdl_bare_click_to_window_ms = %.1f\n", bareClick);
  if (click > 0 && bareClick > 0) std::printf("sdl_click_vs_bare_click = %.2f\n", click / bareClick);
  return 0;
}
