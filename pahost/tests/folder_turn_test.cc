// The folder's turn on two shares the fault library stands in for.
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
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <thread>

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
  // The second run is its own process from the start: a process made
  // while the first holds the turn would hold its lock as well.
  int start[2];
  int held[2];
  int done[2];
  ASSERT_EQ(0, ::pipe(start));
  ASSERT_EQ(0, ::pipe(held));
  ASSERT_EQ(0, ::pipe(done));
  const pid_t waiter = ::fork();
  if (waiter == 0) {
    char go = 0;
    if (::read(start[0], &go, 1) != 1) ::_exit(1);
    FolderTurn second(folderFd, dir.string());
    const char said = second.take(static_cast<int>(kHangGuard.count()), nullptr) && second.held() ? 'y' : 'n';
    if (::write(held[1], &said, 1) != 1 || ::read(done[0], &go, 1) != 1) ::_exit(1);
    ::_exit(0);  // lets the turn go with the process
  }
  auto first = std::make_unique<FolderTurn>(folderFd, dir.string());
  ASSERT_TRUE(first->take(0, nullptr)) << first->error();
  ASSERT_TRUE(first->record({})) << first->error();
  ASSERT_EQ(1, ::write(start[1], "g", 1));
  const auto guard = std::chrono::steady_clock::now() + kHangGuard;
  while (!holdsOpen(waiter, lock) && std::chrono::steady_clock::now() < guard) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  first.reset();  // held up once it closed the file, while the waiter takes the turn
  char said = 'n';
  ASSERT_EQ(1, ::read(held[0], &said, 1));
  EXPECT_EQ('y', said) << "the waiting run never took the turn";

  FolderTurn third(folderFd, dir.string());
  EXPECT_FALSE(third.take(0, nullptr)) << "a third run holds the folder while the second does";
  EXPECT_TRUE(fs::exists(lock));

  ASSERT_EQ(1, ::write(done[1], "g", 1));
  int status = 0;
  ::waitpid(waiter, &status, 0);
  for (int fd : {start[0], start[1], held[0], held[1], done[0], done[1]}) ::close(fd);

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
  // The other run is its own process from the start, as in the test above.
  int start[2];
  int held[2];
  ASSERT_EQ(0, ::pipe(start));
  ASSERT_EQ(0, ::pipe(held));
  const pid_t other = ::fork();
  if (other == 0) {
    char go = 0;
    if (::read(start[0], &go, 1) != 1) ::_exit(1);
    FolderTurn second(folderFd, dir.string());
    const char said = second.take(0, nullptr) ? 'y' : 'n';
    ::_exit(::write(held[1], &said, 1) == 1 ? 0 : 1);
  }
  FolderTurn first(folderFd, dir.string());
  ASSERT_TRUE(first.take(0, nullptr)) << first.error();
  ASSERT_EQ(1u, first.recorded().size());
  ASSERT_TRUE(first.record({first.recorded()[0], own})) << first.error();
  EXPECT_EQ(".pahost-Killed\n.pahost-Ab3dE9\n", readLock());
  ASSERT_EQ(1, ::write(start[1], "g", 1));
  char said = 'y';
  ASSERT_EQ(1, ::read(held[0], &said, 1));
  EXPECT_EQ('n', said) << "another run took the turn this run holds";
  ::waitpid(other, nullptr, 0);
  for (int fd : {start[0], start[1], held[0], held[1]}) ::close(fd);
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

}  // namespace
