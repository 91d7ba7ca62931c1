// The folder's turn on three shares the fault library stands in for.
//
// Where a file held open cannot be removed, as the fault
// library stands in for such a share (see CMakeLists.txt): only the
// remover's own handles keep a file (the weakest such share), and a run is
// held up just after it closes the lock file. A run that lets the turn go
// while another waits never removes the file that one then holds: never
// two holders; the file stays, naming nothing, and the next run takes it.
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "pahost/folder_turn.h"

namespace {

namespace fs = std::filesystem;

// Only against a run that never gets there: the test then fails.
const std::chrono::seconds kHangGuard(60);

// Whether the process `pid` holds the file `path` open.
bool holdsOpen(pid_t pid, const fs::path& path) {
  struct stat file;
  if (::stat(path.c_str(), &file) != 0) return false;
  const fs::path open = "/proc/" + std::to_string(pid) + "/fd";
  std::error_code ignored;
  for (const auto& entry : fs::directory_iterator(open, ignored)) {
    struct stat info;
    if (::stat(entry.path().c_str(), &info) == 0 && info.st_dev == file.st_dev && info.st_ino == file.st_ino) {
      return true;
    }
  }
  return false;
}

// The whole seconds `message` names right after `words`; -1 where it has
// no such words.
int secondsAfter(const std::string& message, const std::string& words) {
  const std::size_t at = message.find(words);
  return at == std::string::npos ? -1 : std::atoi(message.c_str() + at + words.size());
}

// Another run in its own process from the start (a process made while
// this one holds the turn would hold its lock as well). Once started it
// tries to take the turn of `dir`, waiting at most `waitSeconds`, says how
// that went, and keeps what it took until it is finished.
class OtherRun {
 public:
  // What its take() came to.
  enum Outcome : char { kHeld = 'h', kUnheld = 'u', kRefused = 'r', kUnsaid = '?' };

  OtherRun(int folderFd, const fs::path& dir, int waitSeconds) {
    for (int* ends : {start_, said_, done_}) EXPECT_EQ(0, ::pipe(ends));
    pid_ = ::fork();
    if (pid_ != 0) return;
    for (int end : {start_[1], said_[0], done_[1]}) ::close(end);  // the parent's ends
    char go = 0;
    if (::read(start_[0], &go, 1) != 1) ::_exit(1);
    FolderTurn turn(folderFd, dir.string());
    const char outcome = !turn.take(waitSeconds, nullptr) ? kRefused : turn.held() ? kHeld : kUnheld;
    if (::write(said_[1], &outcome, 1) != 1 || ::read(done_[0], &go, 1) != 1) ::_exit(1);
    ::_exit(0);  // lets the turn go with the process
  }
  ~OtherRun() {
    finish();
    for (int* ends : {start_, said_, done_}) {
      ::close(ends[0]);
      ::close(ends[1]);
    }
  }
  OtherRun(const OtherRun&) = delete;
  OtherRun& operator=(const OtherRun&) = delete;

  pid_t pid() const { return pid_; }
  void start() { EXPECT_EQ(1, ::write(start_[1], "g", 1)); }
  // Waits until it says how its take() went.
  Outcome outcome() {
    char said = kUnsaid;
    return ::read(said_[0], &said, 1) == 1 ? static_cast<Outcome>(said) : kUnsaid;
  }
  // Lets it end, and what it took go with it.
  void finish() {
    if (pid_ <= 0) return;
    ::close(start_[1]);  // one never started ends at once
    start_[1] = -1;
    if (::write(done_[1], "g", 1) != 1) ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

 private:
  int start_[2] = {-1, -1};
  int said_[2] = {-1, -1};
  int done_[2] = {-1, -1};
  pid_t pid_ = -1;
};

// A test in the folder `dir` the stand-in share holds, emptied first and
// open as `folderFd` while the test runs.
class ShareFolderTest : public ::testing::Test {
 protected:
  explicit ShareFolderTest(const char* folder) : dir(folder) {}
  void SetUp() override {
    ASSERT_TRUE(fs::is_directory(dir)) << dir << " is made when the build is configured";
    for (const auto& entry : fs::directory_iterator(dir)) fs::remove_all(entry.path());
    folderFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(folderFd, 0);
  }
  void TearDown() override { ::close(folderFd); }

  const fs::path dir;
  int folderFd = -1;
};

class BusyShareTurnTest : public ShareFolderTest {
 protected:
  BusyShareTurnTest() : ShareFolderTest(PA_BUSY_SHARE) {}
};

TEST_F(BusyShareTurnTest, ARunThatLetsGoNeverRemovesTheFileAnotherHolds) {
  const fs::path lock = FolderTurn::lockFileIn(dir.string());
  OtherRun second(folderFd, dir, static_cast<int>(kHangGuard.count()));
  auto first = std::make_unique<FolderTurn>(folderFd, dir.string());
  ASSERT_TRUE(first->take(0, nullptr)) << first->error();
  ASSERT_TRUE(first->record({})) << first->error();
  second.start();
  const auto guard = std::chrono::steady_clock::now() + kHangGuard;
  while (!holdsOpen(second.pid(), lock) && std::chrono::steady_clock::now() < guard) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  first.reset();  // held up once it closed the file, while the waiter takes the turn
  EXPECT_EQ(OtherRun::kHeld, second.outcome()) << "the waiting run never took the turn";

  FolderTurn third(folderFd, dir.string());
  EXPECT_FALSE(third.take(0, nullptr)) << "a third run holds the folder while the second does";
  EXPECT_TRUE(fs::exists(lock));

  second.finish();
  FolderTurn fourth(folderFd, dir.string());
  ASSERT_TRUE(fourth.take(0, nullptr)) << fourth.error();
  EXPECT_TRUE(fourth.recorded().empty());
}

// A desktop's SMB view, as the fault library stands in for it (see
// CMakeLists.txt): a file that is there cannot be opened for writing, nor
// written through a handle opened before it was renamed. A run that takes
// the lock file a killed run left records through a new lock file, locked
// and holding the record before it takes the name: while it holds the
// turn no other run gets it, and the file at the name records its private
// folder. A new lock file that cannot take the name is not left behind.
class DesktopShareTurnTest : public ShareFolderTest {
 protected:
  DesktopShareTurnTest() : ShareFolderTest(PA_DESKTOP_SHARE) {}
  void SetUp() override {
    ShareFolderTest::SetUp();
    std::ofstream(lock) << ".pahost-Killed\n";  // a killed run's
    fs::permissions(lock, fs::perms::owner_read | fs::perms::owner_write);
  }

  std::string readLock() const {
    std::ifstream in(lock);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  const fs::path lock = FolderTurn::lockFileIn(dir.string());
  const FolderTurn::Entry own{".pahost-Ab3dE9", false, 0, 0};
};

TEST_F(DesktopShareTurnTest, ARecordThroughANewLockFileKeepsTheTurn) {
  OtherRun other(folderFd, dir, 0);
  FolderTurn first(folderFd, dir.string());
  ASSERT_TRUE(first.take(0, nullptr)) << first.error();
  ASSERT_EQ(1u, first.recorded().size());
  ASSERT_TRUE(first.record({first.recorded()[0], own})) << first.error();
  EXPECT_EQ(".pahost-Killed\n.pahost-Ab3dE9\n", readLock());
  other.start();
  EXPECT_EQ(OtherRun::kRefused, other.outcome()) << "another run took the turn this run holds";
  other.finish();
  EXPECT_FALSE(fs::exists(dir / (lock.filename().string() + ".new")));
}

TEST_F(DesktopShareTurnTest, ANewLockFileThatCannotTakeTheNameGoes) {
  FolderTurn first(folderFd, dir.string());
  ASSERT_TRUE(first.take(0, nullptr)) << first.error();
  // Someone moves the lock file aside and puts a folder at its name.
  fs::rename(lock, dir / "aside");
  fs::create_directory(lock);
  EXPECT_FALSE(first.record({own}));
  EXPECT_NE(std::string::npos, first.error().find("nor put a new one in its place")) << first.error();
  EXPECT_FALSE(fs::exists(dir / (lock.filename().string() + ".new")));
}

// The kernel's SMB client, as the fault library stands in for it (see
// CMakeLists.txt) in its folder PA_FAULT_DIR: a lock another holds is
// refused with EACCES, a removed name is still seen for a while (kLinger),
// and its mount's close timeout is what the file beside the folder says.
// The handovers of a crowd of runs do not wait for removed names, so that
// all of them have their turn within pahost's own wait, the first too;
// every wait keeps its bound; a run letting go of the lock file takes a
// freed turn promptly; and a wait that saw only refusals says what the
// system answered.
class KernelShareTurnTest : public ShareFolderTest {
 protected:
  KernelShareTurnTest() : ShareFolderTest(std::getenv("PA_FAULT_DIR") != nullptr ? std::getenv("PA_FAULT_DIR") : "") {}
  void SetUp() override {
    ShareFolderTest::SetUp();
    fs::remove(dir.string() + ".removed");  // the stand-in's record of names removed
    fs::remove(mount);
  }
  void TearDown() override {
    fs::remove(mount);
    ShareFolderTest::TearDown();
  }

  // Shows the share mounted with a close timeout under which waiting runs
  // let go of the lock file (share.h) from `from` to `to` from now, once
  // they saw no turn taken for a while.
  void letGoFromTo(std::chrono::milliseconds from, std::chrono::milliseconds to) {
    int seconds = 1;
    while (seconds < 600 && letGoLeft(std::chrono::system_clock::now() + from,
                                      letGoWindow(std::chrono::seconds(seconds)), std::chrono::hours(1)) < to - from) {
      ++seconds;
    }
    std::ofstream(mount) << "closetimeo=" << seconds << "\n";
  }

  // A run in a process of its own that starts once the pipe `go` is
  // closed, takes the turn with pahost's own wait, records a private
  // folder for kHold as a write does, and ends: its exit status 0 when it
  // held the turn.
  pid_t startRun(const int go[2]) {
    const pid_t pid = ::fork();
    if (pid != 0) return pid;
    ::close(go[1]);
    char ignored = 0;
    const bool started = ::read(go[0], &ignored, 1) == 0;
    bool held = false;
    {
      FolderTurn turn(folderFd, dir.string());
      held = started && turn.take(kDefaultWait, nullptr) && turn.held() && turn.record({own});
      std::this_thread::sleep_for(kHold);
      held = held && turn.record({});
    }
    ::_exit(held ? 0 : 1);
  }

  static constexpr int kDefaultWait = 30;  // pahost's, in seconds
  const std::chrono::milliseconds kLinger{PA_KERNEL_SHARE_LINGER};
  const std::chrono::milliseconds kHold{100};
  // What a handover takes at most where it is prompt: a few of a waiting
  // run's tries, 50 ms apart.
  const std::chrono::milliseconds kPromptHandover{300};
  const FolderTurn::Entry own{".pahost-Ab3dE9", false, 0, 0};
  const std::string mount = dir.string() + ".mount";  // the stand-in's mount options
};

TEST_F(KernelShareTurnTest, ACrowdHasItsTurnsPromptlyWithinTheDefaultWait) {
  const int kRuns = 30;
  int go[2];
  ASSERT_EQ(0, ::pipe(go));
  std::vector<pid_t> runs;
  for (int i = 0; i < kRuns; ++i) runs.push_back(startRun(go));
  const auto start = std::chrono::steady_clock::now();
  ::close(go[1]);
  int held = 0;
  for (const pid_t run : runs) {  // each ends within its own wait
    int status = 0;
    held += ::waitpid(run, &status, 0) == run && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  }
  const auto handovers = std::chrono::steady_clock::now() - start - kRuns * kHold;
  ::close(go[0]);
  EXPECT_EQ(kRuns, held);
  // A handover that waits for a removed name (the lock file's, or a file's
  // made to ask about permissions) takes the whole linger.
  EXPECT_LT(handovers / kRuns, kPromptHandover);
}

TEST_F(KernelShareTurnTest, AWaitForARemovedLockFileKeepsTheTurnsBound) {
  const fs::path lock = FolderTurn::lockFileIn(dir.string());
  std::ofstream(lock).close();
  ASSERT_EQ(0, ::unlink(lock.c_str()));  // still seen, with no name left, for kLinger
  FolderTurn turn(folderFd, dir.string());
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(turn.take(1, nullptr));
  EXPECT_LT(std::chrono::steady_clock::now() - start, kLinger / 2);
  EXPECT_NE(std::string::npos, turn.error().find("is there with no name left, still after 1 second:")) << turn.error();
}

// A removal met late in a wait (a turn taken anew) names the whole wait.
TEST_F(KernelShareTurnTest, ARemovalWaitedOutNamesTheWholeWait) {
  const fs::path lock = FolderTurn::lockFileIn(dir.string());
  std::ofstream(lock).close();
  ASSERT_EQ(0, ::unlink(lock.c_str()));
  const Deadline wait(0);
  std::this_thread::sleep_for(std::chrono::seconds(1));  // spent on an earlier take
  FolderTurn turn(folderFd, dir.string());
  EXPECT_FALSE(turn.take(wait, nullptr));
  EXPECT_GE(secondsAfter(turn.error(), "is there with no name left, still after "), 1) << turn.error();
}

// The first holder of a crowd was never refused: the run waiting takes its
// turn as promptly as after any other, not once the removed name of the
// lock file went (kLinger, longer than that run's wait).
TEST_F(KernelShareTurnTest, TheFirstHandoverIsAsPromptAsTheRest) {
  OtherRun waiter(folderFd, dir, 2);
  auto holder = std::make_unique<FolderTurn>(folderFd, dir.string());
  ASSERT_TRUE(holder->take(0, nullptr) && holder->record({own})) << holder->error();
  waiter.start();
  std::this_thread::sleep_for(std::chrono::milliseconds(300));  // refused meanwhile
  ASSERT_TRUE(holder->record({})) << holder->error();
  holder.reset();
  EXPECT_EQ(OtherRun::kHeld, waiter.outcome());
}

// A run that saw no turn taken for a while lets go of the lock file, for
// longer here than the rest of its wait: the holder ending meanwhile, it
// takes the turn promptly (a second where a handover takes 50 ms), not as
// the let-go or its wait ends.
TEST_F(KernelShareTurnTest, ARunLettingGoTakesAFreedTurnPromptly) {
  letGoFromTo(std::chrono::seconds(2), std::chrono::seconds(12));
  OtherRun waiter(folderFd, dir, 8);
  auto holder = std::make_unique<FolderTurn>(folderFd, dir.string());
  ASSERT_TRUE(holder->take(0, nullptr) && holder->record({own})) << holder->error();
  waiter.start();
  std::this_thread::sleep_for(std::chrono::seconds(4));  // no turn seen: the waiter lets go
  ASSERT_TRUE(holder->record({})) << holder->error();
  holder.reset();
  const auto freed = std::chrono::steady_clock::now();
  EXPECT_EQ(OtherRun::kHeld, waiter.outcome());
  EXPECT_LT(std::chrono::steady_clock::now() - freed, std::chrono::seconds(1));
}

// Letting go of the lock file never outlasts the wait.
TEST_F(KernelShareTurnTest, ALetGoEndsWithTheWait) {
  letGoFromTo(std::chrono::seconds(2), std::chrono::seconds(12));
  OtherRun waiter(folderFd, dir, 4);
  FolderTurn holder(folderFd, dir.string());
  ASSERT_TRUE(holder.take(0, nullptr) && holder.record({own})) << holder.error();
  const auto start = std::chrono::steady_clock::now();
  waiter.start();
  EXPECT_EQ(OtherRun::kRefused, waiter.outcome());
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(8));
}

// A waiting run notes each turn another run takes (its holder records):
// refused with EACCES as it is, its wait ends as one for a run that still
// writes, not as one that saw no run take its turn.
TEST_F(KernelShareTurnTest, AWaitThatSawATurnTakenSaysAnotherRunStillWrites) {
  FolderTurn holder(folderFd, dir.string()), waiter(folderFd, dir.string());
  ASSERT_TRUE(holder.take(0, nullptr) && holder.held()) << holder.error();
  std::thread records([&holder, this] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    holder.record({own});
  });
  EXPECT_FALSE(waiter.take(1, nullptr));
  records.join();
  EXPECT_NE(std::string::npos, waiter.error().find("another run of pahost still writes into " + dir.string()))
      << waiter.error();
}

// A wait that ends says how a lock a killed run left goes (no run holding
// the lock file open for the mount's close timeout and 1.5 seconds more,
// which waiting runs see to within 3 seconds without a turn and five such
// windows), and what the user can do, whether or not it saw a turn taken
// before (a run killed later in a crowd), and whatever the wait: a run
// started meanwhile opens the client's handle again.
TEST_F(KernelShareTurnTest, AWaitSaysHowAKilledRunsLockGoes) {
  const struct {
    int closeTimeout;
    int wait;
    bool turnSeen;
    bool told;
    const char* within;
  } kCases[] = {{40, 1, false, true, "211 seconds"},
                {40, 1, true, true, "211 seconds"},
                {30, 1, false, true, "161 seconds"},
                {0, 5, false, true, "11 seconds"}};
  for (const auto& c : kCases) {
    std::ofstream(mount) << "closetimeo=" << c.closeTimeout << "\n";
    FolderTurn holder(folderFd, dir.string()), waiter(folderFd, dir.string());
    ASSERT_TRUE(holder.take(0, nullptr) && holder.held()) << holder.error();
    std::thread records([&holder, &c, this] {
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
      if (c.turnSeen) holder.record({own});
    });
    EXPECT_FALSE(waiter.take(c.wait, nullptr));
    records.join();
    const std::string told = "the lock the server granted it may stay until no run has held the lock file open for "
                             "the mount's close timeout (closetimeo=" + std::to_string(c.closeTimeout) + ")";
    EXPECT_EQ(c.told, waiter.error().find(told) != std::string::npos) << waiter.error();
    EXPECT_NE(std::string::npos, waiter.error().find(std::string("for that long within ") + c.within))
        << waiter.error();
  }
}

// The kernel's SMB client changes the lock file's times with no turn taken
// (as a run closes the file, and as the server's are read again): a
// waiting run lets go of the file in its window all the same, and stays
// let go while they change, so that the client's handle, and a lock a
// killed run left with it, can go.
TEST_F(KernelShareTurnTest, ARunLetsGoThoughTheLockFilesTimesChange) {
  using std::chrono::steady_clock;
  letGoFromTo(std::chrono::seconds(4), std::chrono::seconds(14));
  const fs::path lock = FolderTurn::lockFileIn(dir.string());
  OtherRun waiter(folderFd, dir, 20);
  FolderTurn holder(folderFd, dir.string());
  ASSERT_TRUE(holder.take(0, nullptr) && holder.record({own})) << holder.error();
  std::atomic<bool> touching(true);
  std::thread touches([&touching, &lock] {
    for (; touching; std::this_thread::sleep_for(std::chrono::milliseconds(20))) {
      ::utimensat(AT_FDCWD, lock.c_str(), nullptr, 0);
    }
  });
  const auto start = steady_clock::now();
  waiter.start();
  while (!holdsOpen(waiter.pid(), lock) && steady_clock::now() < start + kHangGuard) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  while (holdsOpen(waiter.pid(), lock) && steady_clock::now() < start + std::chrono::seconds(12)) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  const bool letGo = !holdsOpen(waiter.pid(), lock);
  bool stayed = letGo;
  for (const auto watched = steady_clock::now() + std::chrono::seconds(1); stayed && steady_clock::now() < watched;) {
    stayed = !holdsOpen(waiter.pid(), lock);
  }
  touching = false;
  touches.join();
  ::kill(waiter.pid(), SIGKILL);
  EXPECT_TRUE(letGo) << "the waiting run held the lock file through its window";
  EXPECT_TRUE(stayed) << "the waiting run opened the lock file again within its window";
}

TEST_F(KernelShareTurnTest, ARefusalWithoutATurnSaysWhatTheSystemAnswered) {
  FolderTurn holder(folderFd, dir.string()), waiter(folderFd, dir.string());
  ASSERT_TRUE(holder.take(0, nullptr) && holder.held()) << holder.error();
  EXPECT_FALSE(waiter.take(0, nullptr));
  EXPECT_NE(std::string::npos, waiter.error().find("was refused for 0 seconds (" + std::string(std::strerror(EACCES)) +
                                                    "), and no run of pahost was seen to take its turn"))
      << waiter.error();
}

}  // namespace
