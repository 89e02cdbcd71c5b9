#pragma once
// A private X server for one run: Xvfb on a free display it picks itself
// (-displayfd), and optionally a window manager on it, ready when the
// constructor returns. Both end with the session, and with this process if it
// is killed. Header only, so that the scenario runner stays one source file.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

class TXSession {
public:
  // `windowManager`: empty for none, or the program to start ("openbox").
  explicit TXSession(const std::string& windowManager) {
    int fds[2];
    if (pipe(fds) != 0) {
      Error_ = "cannot make a pipe";
      return;
    }
    const std::string fd = std::to_string(fds[1]);
    Server_ = Start({"Xvfb", "-displayfd", fd, "-screen", "0", "1280x800x24", "-nolisten", "tcp", "-noreset"}, fds[1]);
    close(fds[1]);
    Display_ = ReadDisplay(fds[0]);
    close(fds[0]);
    if (Display_.empty()) {
      Error_ = "Xvfb did not start";
      return;
    }
    if (windowManager.empty()) return;
    setenv("DISPLAY", Display_.c_str(), 1);
    Manager_ = Start({windowManager, "--sm-disable"}, -1);
    if (!AwaitManager()) Error_ = windowManager + " did not take over the display";
  }

  ~TXSession() {
    Stop(Manager_);
    Stop(Server_);
  }

  TXSession(const TXSession&) = delete;
  TXSession& operator=(const TXSession&) = delete;

  bool Ok() const { return Error_.empty(); }
  const std::string& Error() const { return Error_; }
  // ":N"
  const std::string& Display() const { return Display_; }

private:
  static constexpr int StartLimitMs = 10000;

  static pid_t Start(const std::vector<std::string>& args, int keepFd) {
    const pid_t pid = fork();
    if (pid != 0) return pid;
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    const int null = open("/dev/null", O_RDWR);
    dup2(null, 0);
    dup2(null, 1);
    dup2(null, 2);
    for (int f = 3; f < 256; ++f)
      if (f != keepFd) close(f);
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
  }

  static void Stop(pid_t pid) {
    if (pid <= 0) return;
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
  }

  // Xvfb writes the display number and a newline once it accepts clients.
  static std::string ReadDisplay(int fd) {
    std::string number;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(StartLimitMs);
    while (number.empty() || number.back() != '\n') {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
      pollfd p{fd, POLLIN, 0};
      if (left.count() <= 0 || poll(&p, 1, static_cast<int>(left.count())) <= 0) return "";
      char c = 0;
      if (read(fd, &c, 1) != 1) return "";
      number += c;
    }
    number.pop_back();
    return ":" + number;
  }

  // A window manager announces itself with _NET_SUPPORTING_WM_CHECK on the root.
  bool AwaitManager() {
    ::Display* d = XOpenDisplay(Display_.c_str());
    if (!d) return false;
    const Window root = DefaultRootWindow(d);
    XSelectInput(d, root, PropertyChangeMask);
    const Atom check = XInternAtom(d, "_NET_SUPPORTING_WM_CHECK", False);
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(StartLimitMs);
    bool ready = false;
    for (;;) {
      while (XPending(d)) {
        XEvent e;
        XNextEvent(d, &e);
      }
      Atom type = 0;
      int format = 0;
      unsigned long items = 0, after = 0;
      unsigned char* data = nullptr;
      if (XGetWindowProperty(d, root, check, 0, 1, False, XA_WINDOW, &type, &format, &items, &after, &data) ==
              Success &&
          data) {
        XFree(data);
        ready = items == 1;
      }
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
      if (ready || left.count() <= 0) break;
      // Sleep until the root's next property change (one that came meanwhile is queued).
      if (XPending(d)) continue;
      pollfd p{ConnectionNumber(d), POLLIN, 0};
      poll(&p, 1, static_cast<int>(left.count()));
    }
    XCloseDisplay(d);
    return ready;
  }

  pid_t Server_ = -1;
  pid_t Manager_ = -1;
  std::string Display_;
  std::string Error_;
};
