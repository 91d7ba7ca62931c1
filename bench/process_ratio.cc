// process_ratio: the whole pahost process on the sample return against the
// floor of this machine, a program that only dlopens an empty library,
// timed in the same run, alternately, and the ratio of their medians: by
// CPU (user and system time of the finished child, which a busy machine
// disturbs least) and by wall time.
//
//   process_ratio [ROUNDS]   (default 200 runs of each)
//
// pahost writes its data file into a scratch folder; its output is thrown
// away. Exit status 0, or 1 when a run fails.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace {

const int kDefaultRounds = 200;

// Seconds of wall time and of CPU (user + system) of one run.
struct RunTimes {
  double wall;
  double cpu;
};

double seconds(const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) * 1e-6; }

// Runs the program with its output sent to /dev/null; the seconds it took,
// or a negative wall time when it failed.
RunTimes timedRun(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  int status = 1;
  struct rusage usage = {};
  const bool spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0;
  if (spawned) wait4(pid, &status, 0, &usage);
  const auto end = std::chrono::steady_clock::now();
  posix_spawn_file_actions_destroy(&actions);
  if (!spawned || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return {-1, -1};
  return {std::chrono::duration<double>(end - start).count(), seconds(usage.ru_utime) + seconds(usage.ru_stime)};
}

double median(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultRounds;
  char scratch[] = "/tmp/process_ratio-XXXXXX";
  if (mkdtemp(scratch) == nullptr) return 1;
  const std::string out = std::string(scratch) + "/40.tif";
  const std::vector<std::string> pahost = {PA_PAHOST, "--out", out, PA_SAMPLE_RETURN};
  const std::vector<std::string> floor = {PA_FLOOR, PA_EMPTY_LIBRARY};
  std::vector<double> pahostWall, floorWall, pahostCpu, floorCpu;
  for (int i = 0; i < rounds; ++i) {
    const RunTimes p = timedRun(pahost);
    const RunTimes f = timedRun(floor);
    if (p.wall < 0 || f.wall < 0) {
      std::fprintf(stderr, "process_ratio: %s failed\n", p.wall < 0 ? PA_PAHOST : PA_FLOOR);
      return 1;
    }
    pahostWall.push_back(p.wall);
    floorWall.push_back(f.wall);
    pahostCpu.push_back(p.cpu);
    floorCpu.push_back(f.cpu);
  }
  std::remove(out.c_str());
  rmdir(scratch);
  const struct {
    const char* what;
    double pahost, floor;
  } figures[] = {{"CPU", median(pahostCpu), median(floorCpu)}, {"wall", median(pahostWall), median(floorWall)}};
  for (const auto& f : figures) {
    std::printf("%-4s pahost on the sample: %.2f ms, floor (dlopen of an empty library): %.2f ms, "
                "ratio %.2f (medians of %d runs each)\n", f.what, f.pahost * 1e3, f.floor * 1e3, f.pahost / f.floor,
                rounds);
  }
  return 0;
}
