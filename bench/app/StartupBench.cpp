// Start-up of the textbook on the demo workspace, headless: from starting the
// process until the script, which runs once the login window is up and painted,
// has seen it (and the process has ended). The baseline is the same program
// started the same way but ending before any window exists (its script cannot be
// read), so the ratio is what creating the nine windows costs over starting the binary.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/app/BenchWorkspace.h"
#include "bench/common/BenchRunner.h"

namespace fs = std::filesystem;

namespace {

struct TWorkspace : TBenchWorkspace {
  fs::path Script;
  TWorkspace() {
    Script = Dir / "login.txt";
    std::ofstream(Script) << "expect Form3.Visible == true\nexpect Form3.Showing == true\n";
  }
};

TWorkspace& Workspace() {
  static TWorkspace workspace;
  return workspace;
}

// CPU seconds the started programs used (user and system), which a loaded machine
// disturbs less than the wall clock.
double gChildCpu = 0;
// CPU milliseconds per run of the last (measured) round of each benchmark.
double gStartupCpuMs = 0, gBareCpuMs = 0;

// Runs the program in the workspace with the script; returns its exit status.
int RunProgram(const std::string& script) {
  const pid_t pid = fork();
  if (pid == 0) {
    if (chdir(Workspace().Dir.c_str()) != 0) _exit(126);
    if (!freopen("/dev/null", "w", stderr)) _exit(126);
    execl(TEXTBOOK_PROGRAM, TEXTBOOK_PROGRAM, "--headless", "--script", script.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  gChildCpu += static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
               static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
}

void BM_StartupToLogin(benchmark::State& state) {
  gChildCpu = 0;
  for (auto _ : state)
    if (RunProgram(Workspace().Script.string()) != 0) state.SkipWithError("the login window did not come up");
  gStartupCpuMs = gChildCpu * 1000.0 / static_cast<double>(state.iterations());
  state.counters["child_cpu_ms"] = gStartupCpuMs;
}
BENCHMARK(BM_StartupToLogin)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ProgramWithoutWindows(benchmark::State& state) {
  const std::string missing = (Workspace().Dir / "no-such-script.txt").string();
  gChildCpu = 0;
  for (auto _ : state)
    if (RunProgram(missing) != 2) state.SkipWithError("the program did not refuse the missing script");
  gBareCpuMs = gChildCpu * 1000.0 / static_cast<double>(state.iterations());
  state.counters["child_cpu_ms"] = gBareCpuMs;
}
BENCHMARK(BM_ProgramWithoutWindows)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  Workspace();
  TBenchTimes times;
  if (!RunBenchmarks(argc, argv, times)) return 1;
  const double startup = times.RealSeconds("BM_StartupToLogin/real_time") * 1000.0;
  const double bare = times.RealSeconds("BM_ProgramWithoutWindows/real_time") * 1000.0;
  if (startup > 0) std::printf("startup_to_login_ms = %.1f\n", startup);
  if (startup > 0 && bare > 0) std::printf("startup_to_login_vs_bare_start = %.2f\n", startup / bare);
  if (gStartupCpuMs > 0) std::printf("startup_to_login_cpu_ms = %.1f\n", gStartupCpuMs);
  if (gStartupCpuMs > 0 && gBareCpuMs > 0)
    std::printf("startup_to_login_cpu_vs_bare_start = %.2f\n", gStartupCpuMs / gBareCpuMs);
  return 0;
}
