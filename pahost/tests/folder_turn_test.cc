// The folder's turn where a file held open cannot be removed, as the fault
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

class BusyShareTurnTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fs::is_directory(dir)) << dir << " is made when the build is configured";
    for (const auto& entry : fs::directory_iterator(dir)) fs::remove_all(entry.path());
    folderFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(folderFd, 0);
  }
  void TearDown() override { ::close(folderFd); }

  const fs::path dir = PA_BUSY_SHARE;
  int folderFd = -1;
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

}  // namespace
