#pragma once
// What the scenario runner and the golden-image runner share: a fresh demo
// workspace in a temporary folder, and one run of the textbook in it with a
// script (headless, or on a real display), its error output going to a file. Header only, so that each
// runner stays a single source file.
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

enum class TWorkspaceResult { Made, NoFolder, MakeFailed };

// Makes the folder <temp>/<prefix>-XXXXXX and fills it with the make-workspace
// tool. `dir` is the folder (or the unfilled name pattern when none was made).
inline TWorkspaceResult MakeFreshWorkspace(const std::string& makeWorkspace, const std::string& prefix,
                                           std::filesystem::path& dir) {
  std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
  const bool made = mkdtemp(pattern.data()) != nullptr;
  dir = pattern;
  if (!made) return TWorkspaceResult::NoFolder;
  const std::string make = makeWorkspace + " '" + dir.string() + "' > /dev/null";
  return std::system(make.c_str()) == 0 ? TWorkspaceResult::Made : TWorkspaceResult::MakeFailed;
}

// What RunProgramScript returns when the program outlived its time limit.
constexpr int kProgramDidNotEnd = -2;

// Waits up to `seconds` for the child to end; false when it is still running.
// Without a process descriptor (an old kernel) it waits for as long as it takes.
inline bool AwaitEnd(pid_t pid, int seconds) {
  const int fd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
  if (fd < 0) return true;
  pollfd p{fd, POLLIN, 0};
  int ready = 0;
  do {
    ready = poll(&p, 1, seconds * 1000);
  } while (ready < 0 && errno == EINTR);
  close(fd);
  return ready > 0;
}

// Appends every thread's stack of a stuck program to `errors`, so that a hang
// seen once (on a loaded machine, say) can be read afterwards.
inline void AppendStacks(pid_t pid, const std::filesystem::path& errors) {
  const std::string command = "gdb -batch -p " + std::to_string(pid) + " -ex 'thread apply all bt' >> '" +
                              errors.string() + "' 2>&1 || echo 'gdb could not read the stacks' >> '" + errors.string() + "'";
  std::FILE* out = std::fopen(errors.c_str(), "a");
  if (out) {
    std::fprintf(out, "\nThe program's threads when it was stopped:\n");
    std::fclose(out);
  }
  [[maybe_unused]] const int status = std::system(command.c_str());
}

// Runs the program in `dir` on `script` with the display options given
// (--headless, or --real-display); its error output goes to `errors`. The
// exit status, 128 + the signal when killed, -1 when it could not be started,
// or kProgramDidNotEnd when it ran past `limitSeconds` (0: no limit); then its
// stacks are added to `errors` and it is killed.
inline int RunProgramScript(const std::string& program, const std::filesystem::path& dir, const std::filesystem::path& script,
                            const std::filesystem::path& errors, const std::vector<std::string>& options,
                            int limitSeconds = 0) {
  const pid_t pid = fork();
  if (pid < 0) return -1;
  if (pid == 0) {
    prctl(PR_SET_PDEATHSIG, SIGKILL);  // a killed runner leaves no program behind
    if (chdir(dir.c_str()) != 0) _exit(126);
    if (!freopen(errors.c_str(), "w", stderr)) _exit(126);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& o : options) argv.push_back(const_cast<char*>(o.c_str()));
    argv.push_back(const_cast<char*>("--script"));
    argv.push_back(const_cast<char*>(script.c_str()));
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  const bool ended = limitSeconds <= 0 || AwaitEnd(pid, limitSeconds);
  if (!ended) {
    AppendStacks(pid, errors);
    kill(pid, SIGKILL);
  }
  int status = 0;
  if (waitpid(pid, &status, 0) < 0) return -1;
  if (!ended) return kProgramDidNotEnd;
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return WEXITSTATUS(status);
}

inline int RunHeadless(const std::string& program, const std::filesystem::path& dir,
                       const std::filesystem::path& script, const std::filesystem::path& errors) {
  return RunProgramScript(program, dir, script, errors, {"--headless"});
}
