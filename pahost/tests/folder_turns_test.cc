// pahost runs that write into one folder: a run of the user's that holds
// the folder (stopped with Ctrl-Z) is waited for a bounded time and then
// given up, saying why, with the older file whole; another user cannot keep
// the user's runs waiting; and what a killed run left goes with the next
// run while folders of the user's named like it stay as they are.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;

const char kOlder[] = "an older data file\n";
// Only against a run that never ends: a run that waits for ever is then
// stopped and the test fails. No run here comes near it.
const std::chrono::seconds kHangGuard(120);
// The user id of no one.
const uid_t kOtherUser = 65534;

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The private folder of a write in `dir`, "" when there is none.
std::string privateFolderIn(const fs::path& dir) {
  for (const auto& entry : fs::directory_iterator(dir)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind(".pahost-", 0) == 0 && entry.is_directory()) return name;
  }
  return "";
}

// A finished run: its exit status (-1 when it did not exit) and standard error.
struct Outcome {
  int status;
  std::string errors;
};

class FolderTurnsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::remove_all(dir);
    fs::remove_all(logs);
    fs::create_directories(dir);
    fs::create_directories(logs);
  }
  void TearDown() override {
    fs::remove_all(dir);
    fs::remove_all(logs);
  }

  // Starts pahost writing `out` from `returnFile`, with `lockWait` as the
  // test's wait ("" for none) and standard error into `errors`.
  pid_t start(const fs::path& out, const char* returnFile, const char* lockWait, const fs::path& errors) {
    const pid_t pid = ::fork();
    if (pid == 0) {
      if (lockWait[0] != '\0') ::setenv("PAHOST_LOCK_WAIT", lockWait, 1);
      ::freopen("/dev/null", "w", stdout);
      ::freopen(errors.c_str(), "w", stderr);
      ::execl(PA_PAHOST, PA_PAHOST, "--out", out.c_str(), returnFile, static_cast<char*>(nullptr));
      ::_exit(127);
    }
    return pid;
  }
  // Waits for the run `pid` to end (stopping it past the hang guard).
  Outcome finish(pid_t pid, const fs::path& errors) {
    const auto guard = std::chrono::steady_clock::now() + kHangGuard;
    int status = 0;
    while (::waitpid(pid, &status, WNOHANG) != pid) {
      if (std::chrono::steady_clock::now() > guard) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
        ADD_FAILURE() << "pahost never ended";
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(errors)};
  }
  Outcome run(const fs::path& out, const char* lockWait) {
    const fs::path errors = logs / "errors.txt";
    return finish(start(out, PA_SAMPLE_RETURN, lockWait, errors), errors);
  }
  // Starts a large write into the folder and stops it with `signal` once
  // its private folder is there (it then holds the folder); false when
  // the run ended first.
  bool stopMidWrite(int signal, pid_t* pid) {
    *pid = start(target, PA_MANY_COPIES_RETURN, "", logs / "first.txt");
    int status = 0;
    while (privateFolderIn(dir).empty()) {
      if (::waitpid(*pid, &status, WNOHANG) == *pid) return false;
      std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    ::kill(*pid, signal);
    const int options = signal == SIGSTOP ? WUNTRACED : 0;
    return ::waitpid(*pid, &status, options) == *pid && (WIFSTOPPED(status) || WIFSIGNALED(status));
  }

  // Kills a large write into the folder once its private folder is there
  // (at most ten tries); false when every run ended first. `*leftover` is
  // the private folder the killed run left.
  bool killMidWrite(fs::path* leftover) {
    pid_t killed = 0;
    bool left = false;
    for (int attempt = 0; attempt < 10 && !left; ++attempt) left = stopMidWrite(SIGKILL, &killed);
    *leftover = dir / privateFolderIn(dir);
    return left;
  }

  const fs::path dir = fs::path(::testing::TempDir()) / ("pahost_turns." + std::to_string(::getpid()));
  const fs::path logs = fs::path(::testing::TempDir()) / ("pahost_turns_logs." + std::to_string(::getpid()));
  const fs::path target = dir / "40.tif";
};

TEST_F(FolderTurnsTest, AStoppedRunOfTheUsersIsWaitedForThenGivenUp) {
  pid_t first = 0;
  bool stopped = false;
  for (int attempt = 0; attempt < 10 && !stopped; ++attempt) {
    std::ofstream(target, std::ios::binary) << kOlder;
    stopped = stopMidWrite(SIGSTOP, &first);
  }
  ASSERT_TRUE(stopped) << "no run was stopped mid-write";
  const Outcome second = run(target, "0");
  EXPECT_EQ(kOlder, readFile(target));
  ::kill(first, SIGCONT);
  const Outcome resumed = finish(first, logs / "first.txt");
  EXPECT_EQ(1, second.status) << second.errors;
  EXPECT_NE(std::string::npos,
            second.errors.find("pahost: waiting for another run of pahost that writes into " + dir.string()))
      << second.errors;
  EXPECT_NE(std::string::npos, second.errors.find("could not be written: another run of pahost still writes into " +
                                                  dir.string() + " after a wait of 0 seconds"))
      << second.errors;
  EXPECT_EQ(0, resumed.status) << resumed.errors;
  EXPECT_GT(readFile(target).size(), sizeof kOlder);
}

// Another user locks the folder itself, as any user who may read it could:
// the user's run goes on as if no one did.
TEST_F(FolderTurnsTest, AnotherUserCannotHoldTheFolder) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to run as another user";
  int ready[2];
  ASSERT_EQ(0, ::pipe(ready));
  const pid_t other = ::fork();
  if (other == 0) {
    const int folder = ::setgid(kOtherUser) == 0 && ::setuid(kOtherUser) == 0
                           ? ::open(dir.c_str(), O_RDONLY | O_DIRECTORY)
                           : -1;
    const char held = folder >= 0 && ::flock(folder, LOCK_EX) == 0 ? 'y' : 'n';
    ::write(ready[1], &held, 1);
    ::pause();
    ::_exit(0);
  }
  char held = 'n';
  ASSERT_EQ(1, ::read(ready[0], &held, 1));
  const Outcome mine = run(target, "0");
  ::kill(other, SIGKILL);
  ::waitpid(other, nullptr, 0);
  ::close(ready[0]);
  ::close(ready[1]);
  ASSERT_EQ('y', held) << "the other user could not lock the folder";
  EXPECT_EQ(0, mine.status) << mine.errors;
  EXPECT_EQ(std::string::npos, mine.errors.find("waiting")) << mine.errors;
}

// The user's own folders named like a private folder, one of them with
// the files a write leaves and one holding an earlier data file, beside
// the folder a killed run left: the next run removes that one alone.
TEST_F(FolderTurnsTest, OnlyWhatAKilledRunLeftIsRemoved) {
  fs::path leftover;
  ASSERT_TRUE(killMidWrite(&leftover)) << "no run was killed mid-write";

  const fs::path backup = dir / ".pahost-backup";
  const fs::path mydata = dir / ".pahost-mydata";
  fs::create_directories(backup);
  fs::create_directories(mydata);
  fs::permissions(backup, fs::perms::owner_all);
  const std::vector<std::string> kept = {"40.tif", "40.tif.tmp", "1.tif"};
  for (const std::string& name : kept) std::ofstream(backup / name) << "the user's " << name << "\n";
  ASSERT_EQ(0, run(mydata / "40.tif", "").status);
  const std::string earlier = readFile(mydata / "40.tif");
  ASSERT_EQ(0, run(target, "").status);

  EXPECT_FALSE(fs::exists(leftover)) << leftover;
  for (const std::string& name : kept) EXPECT_EQ("the user's " + name + "\n", readFile(backup / name)) << name;
  EXPECT_EQ(earlier, readFile(mydata / "40.tif"));
  EXPECT_GT(earlier.size(), 0u);
}

// Someone who may write into the folder moves the folder a killed run left
// away and puts one of the user's own folders, holding the files a write
// leaves, at its name: it is not the folder the run made, and it stays as
// it is, told.
TEST_F(FolderTurnsTest, AFolderPutAtALeftoversNameStays) {
  fs::path leftover;
  ASSERT_TRUE(killMidWrite(&leftover)) << "no run was killed mid-write";
  fs::rename(leftover, logs / "moved");
  fs::create_directory(leftover);
  fs::permissions(leftover, fs::perms::owner_all);
  const std::vector<std::string> kept = {"40.tif", "1.tif"};
  for (const std::string& name : kept) std::ofstream(leftover / name) << "the user's " << name << "\n";
  const Outcome next = run(target, "");
  for (const std::string& name : kept) EXPECT_EQ("the user's " + name + "\n", readFile(leftover / name)) << name;
  EXPECT_EQ(1, next.status);
  EXPECT_NE(std::string::npos, next.errors.find("the folder at " + leftover.string() + ", where an earlier run left "
                                                "its private folder, is a folder of yours that holds files, and it "
                                                "is not known to be the folder pahost made: pahost leaves it and "
                                                "what it holds alone"))
      << next.errors;
}

}  // namespace
