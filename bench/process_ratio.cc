// process_ratio: the whole pahost process on the sample return against the
// floor of this machine, a program that only dlopens an empty library,
// timed in the same run, alternately, and the ratio of their medians.
//
//   process_ratio [ROUNDS]   (default 200 runs of each)
//
// pahost writes its data file into a scratch folder; its output is thrown
// away. Exit status 0, or 1 when a run fails.
#include <fcntl.h>
#include <spawn.h>
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

// Runs the program with its output sent to /dev/null; the seconds it took,
// or a negative number when it failed.
double timedRun(const std::vector<std::string>& args) {
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
  const bool spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0;
  if (spawned) waitpid(pid, &status, 0);
  const auto end = std::chrono::steady_clock::now();
  posix_spawn_file_actions_destroy(&actions);
  if (!spawned || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
  return std::chrono::duration<double>(end - start).count();
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
  std::vector<double> pahostTimes, floorTimes;
  for (int i = 0; i < rounds; ++i) {
    const double p = timedRun(pahost);
    const double f = timedRun(floor);
    if (p < 0 || f < 0) {
      std::fprintf(stderr, "process_ratio: %s failed\n", p < 0 ? PA_PAHOST : PA_FLOOR);
      return 1;
    }
    pahostTimes.push_back(p);
    floorTimes.push_back(f);
  }
  std::remove(out.c_str());
  rmdir(scratch);
  const double p = median(pahostTimes), f = median(floorTimes);
  std::printf("pahost on the sample: %.2f ms, floor (dlopen of an empty library): %.2f ms, "
              "ratio %.2f (medians of %d runs each)\n", p * 1e3, f * 1e3, p / f, rounds);
  return 0;
}
