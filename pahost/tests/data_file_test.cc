// DataFilePlacement in a folder that others may write into: what they put
// there never redirects the write nor opens the new file to them; a disk
// that fails once the file is in place is reported as such; a private
// folder that cannot be removed stays recorded and is told; and a lock
// the system refuses is said.
#include "pahost/data_file.h"

#include <fcntl.h>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <memory>
#include <vector>

#include "pahost/folder_turn.h"

// While set, forcing a folder to the disk fails as on a failing disk.
bool failFolderSync = false;
// While not 0, locking a file fails with this cause.
int lockFailure = 0;

// Stands in for the system's flock in this program.
extern "C" int flock(int fd, int operation) noexcept {
  if (lockFailure != 0) {
    errno = lockFailure;
    return -1;
  }
  return static_cast<int>(::syscall(SYS_flock, fd, operation));
}

// While set, the lock file goes just as this run first records in it, the
// next time the run looks at it after reading its record: the kernel's SMB
// client shows a removal a holder killed as it made it that late.
bool removeAtRecord = false;
int readLockFd = -1;

// Whether `fd` is open on a file named like a lock file of pahost's.
bool isLockFd(int fd) {
  char path[4096];
  const ssize_t n = ::readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), path, sizeof path - 1);
  return n > 0 && std::string(path, static_cast<std::size_t>(n)).find(".lock") != std::string::npos;
}

// Stand in for the system's pread and fstat in this program.
extern "C" ssize_t pread(int fd, void* buffer, size_t size, off_t offset) {
  if (removeAtRecord && isLockFd(fd)) readLockFd = fd;
  return static_cast<ssize_t>(::syscall(SYS_pread64, fd, buffer, size, offset));
}
extern "C" int fstat(int fd, struct stat* info) noexcept {
  if (removeAtRecord && fd == readLockFd) {
    char path[4096];
    const ssize_t n = ::readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), path, sizeof path - 1);
    if (n > 0) ::unlink(std::string(path, static_cast<std::size_t>(n)).c_str());
    removeAtRecord = false;
    readLockFd = -1;
  }
  return static_cast<int>(::syscall(SYS_fstat, fd, info));
}

// Stands in for the system's fsync in this program.
extern "C" int fsync(int fd) {
  struct stat info;
  if (failFolderSync && ::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
    errno = EIO;
    return -1;
  }
  return static_cast<int>(::syscall(SYS_fsync, fd));
}

namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class DataFilePlacementTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::remove_all(dir);
    fs::create_directories(dir / "shared");
    fs::create_directories(dir / "theirs");
    std::ofstream(dir / "mine.txt") << "the user's own file\n";
  }
  void TearDown() override { fs::remove_all(dir); }

  // The private folder's name in the shared folder.
  std::string privateName(const DataFilePlacement& placement) {
    for (const auto& entry : fs::directory_iterator(dir / "shared")) {
      if (entry.path().filename().string().rfind(".pahost-", 0) == 0) return entry.path().filename();
    }
    ADD_FAILURE() << "no private folder beside " << placement.folder();
    return "";
  }

  // A whole write into the shared folder through `placement`.
  void write(DataFilePlacement& placement) {
    ASSERT_TRUE(placement.begin()) << placement.error();
    std::ofstream(placement.folder() + "/40.tif") << "the data file\n";
    ASSERT_TRUE(placement.commit()) << placement.error();
  }

  const fs::path dir = fs::path(::testing::TempDir()) / ("pahost_data_file." + std::to_string(::getpid()));
  const fs::path shared = dir / "shared";
  const fs::path target = dir / "shared" / "40.tif";
  fs::path lockFile() const { return shared / (".pahost." + std::to_string(::geteuid()) + ".lock"); }
};

// Someone who may write into the folder moves the private folder aside once
// it is made and puts a link to a folder of their own in its place, where
// the writer's temporary links to another file of the user.
TEST_F(DataFilePlacementTest, AFolderPutInPlaceOfThePrivateOneIsNeverWrittenInto) {
  DataFilePlacement placement(target.string(), "40.tif", "1.tif");
  ASSERT_TRUE(placement.begin()) << placement.error();
  const std::string name = privateName(placement);
  fs::rename(dir / "shared" / name, dir / "shared" / "moved");
  fs::create_directory_symlink(dir / "theirs", dir / "shared" / name);
  fs::create_symlink(dir / "mine.txt", dir / "theirs" / "40.tif.tmp");
  // The writer writes its temporary and renames it into place in its folder.
  std::ofstream(placement.folder() + "/40.tif.tmp") << "the data file\n";
  ASSERT_EQ(0, std::rename((placement.folder() + "/40.tif.tmp").c_str(), (placement.folder() + "/40.tif").c_str()));
  ASSERT_TRUE(placement.commit()) << placement.error();
  EXPECT_EQ("the user's own file\n", readFile(dir / "mine.txt"));
  EXPECT_EQ("the data file\n", readFile(target));
  EXPECT_TRUE(fs::is_symlink(dir / "theirs" / "40.tif.tmp"));
}

// An older file at the target that is not the user's own, or a link that
// is not, passes on none of its permissions: the new file is the user's
// alone. Only root can make files of another user.
TEST_F(DataFilePlacementTest, AnotherUsersOlderFileGivesNoPermissions) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to make another user's file";
  const uid_t other = 65534;
  std::ofstream(dir / "shared" / "readable") << "older\n";
  ::chmod((dir / "shared" / "readable").c_str(), 0644);
  ::chmod((dir / "mine.txt").c_str(), 0644);
  fs::create_symlink(dir / "mine.txt", dir / "shared" / "link");
  ASSERT_EQ(0, ::lchown((dir / "shared" / "readable").c_str(), other, other));
  ASSERT_EQ(0, ::lchown((dir / "shared" / "link").c_str(), other, other));
  for (const char* name : {"readable", "link"}) {
    DataFilePlacement placement((dir / "shared" / name).string(), "40.tif", "1.tif");
    ASSERT_TRUE(placement.begin()) << placement.error();
    std::ofstream(placement.folder() + "/40.tif") << "the data file\n";
    ASSERT_TRUE(placement.commit()) << placement.error();
    struct stat made;
    ASSERT_EQ(0, ::lstat((dir / "shared" / name).c_str(), &made));
    EXPECT_EQ(0600u, made.st_mode & 0777) << name;
  }
  EXPECT_EQ("the user's own file\n", readFile(dir / "mine.txt"));
}

// The folder cannot be forced to the disk after the rename: the new file
// is in place, and the cause says so rather than that it was not written.
TEST_F(DataFilePlacementTest, AFolderThatCannotBeFlushedLeavesTheNewFileInPlace) {
  std::ofstream(target) << "an older data file\n";
  DataFilePlacement placement(target.string(), "40.tif", "1.tif");
  ASSERT_TRUE(placement.begin()) << placement.error();
  std::ofstream(placement.folder() + "/40.tif") << "the data file\n";
  failFolderSync = true;
  const bool committed = placement.commit();
  failFolderSync = false;
  EXPECT_FALSE(committed);
  EXPECT_EQ("the data file\n", readFile(target));
  EXPECT_EQ(target.string() + " is in place but may not survive a crash: cannot flush the folder " +
                (dir / "shared").string() + ": " + std::strerror(EIO),
            placement.error());
}

// A file pahost did not put into its private folder keeps the folder: the
// caller is told, and the lock file keeps naming it, for the next run to
// try again, which removes pahost's own files alone, by their whole names.
TEST_F(DataFilePlacementTest, AFolderThatCannotBeRemovedStaysRecordedAndIsTold) {
  DataFilePlacement placement(target.string(), "40.tif", "1.tif");
  write(placement);
  const std::string name = privateName(placement);
  std::ofstream(shared / name / "40.tif.mine") << "the user's notes\n";
  EXPECT_FALSE(placement.finish());
  EXPECT_EQ(placement.leftBehind(), std::vector<std::string>{(shared / name).string()});
  EXPECT_NE(placement.error().find("it holds files pahost did not put there"), std::string::npos) << placement.error();
  std::ofstream(shared / name / "40.tif.tmp") << "a write's temporary\n";
  DataFilePlacement next(target.string(), "40.tif", "1.tif");
  write(next);
  EXPECT_FALSE(next.finish());
  EXPECT_FALSE(fs::exists(shared / name / "40.tif.tmp"));
  struct stat folder;
  ASSERT_EQ(0, ::stat((shared / name).c_str(), &folder));
  EXPECT_EQ(name + " " + std::to_string(folder.st_dev) + " " + std::to_string(folder.st_ino) + "\n",
            readFile(lockFile()));
  EXPECT_EQ("the user's notes\n", readFile(shared / name / "40.tif.mine"));
}

// The system cannot lock the lock file: the run goes on without the turn,
// says so, and leaves alone what a killed run left.
TEST_F(DataFilePlacementTest, ALockTheSystemRefusesIsSaidAndTheRunGoesOn) {
  fs::create_directory(shared / ".pahost-Killed");
  fs::permissions(shared / ".pahost-Killed", fs::perms::owner_all);
  std::ofstream(lockFile()) << ".pahost-Killed\n";
  fs::permissions(lockFile(), fs::perms::owner_read | fs::perms::owner_write);
  std::FILE* notices = std::tmpfile();
  {
    DataFilePlacement placement(target.string(), "40.tif", "1.tif");
    placement.setTurnWait(0, notices);
    lockFailure = ENOLCK;
    write(placement);
    lockFailure = 0;
  }
  std::rewind(notices);
  char said[256] = "";
  EXPECT_NE(std::fgets(said, sizeof said, notices), nullptr);
  std::fclose(notices);
  EXPECT_EQ(std::string(said).rfind("pahost: cannot lock " + lockFile().string(), 0), 0u) << said;
  EXPECT_TRUE(fs::exists(shared / ".pahost-Killed"));
}

// A lock refused as held elsewhere (EACCES, as the kernel's SMB client
// refuses it) is waited for; a lock that fails for another cause stops the
// run, saying why: neither goes on without the turn.
TEST_F(DataFilePlacementTest, ALockHeldOrFailingIsNoRunWithoutTheTurn) {
  const struct {
    int cause;
    const char* told;
  } kCases[] = {{EACCES, "another run of pahost still writes into "},
                {EIO, "cannot lock "}};
  for (const auto& c : kCases) {
    DataFilePlacement placement(target.string(), "40.tif", "1.tif");
    placement.setTurnWait(0, nullptr);
    lockFailure = c.cause;
    EXPECT_FALSE(placement.begin()) << c.told;
    lockFailure = 0;
    EXPECT_NE(placement.error().find(c.told), std::string::npos) << placement.error();
  }
}

// A lock file that turns out removed as the run first records in it holds
// nothing of the run's: the turn is taken anew, and the write goes on.
TEST_F(DataFilePlacementTest, ALockFileRemovedAsTheRunFirstRecordsIsTakenAnew) {
  {
    DataFilePlacement placement(target.string(), "40.tif", "1.tif");
    placement.setTurnWait(0, nullptr);
    removeAtRecord = true;
    write(placement);
    removeAtRecord = false;
    EXPECT_TRUE(placement.finish()) << placement.error();
  }
  EXPECT_EQ("the data file\n", readFile(target));
  EXPECT_FALSE(fs::exists(lockFile()));
}

// Three runs in turn, the holder removing its lock file as it ends: a run
// that gives up leaves the file to the holder; a run that waited on the
// removed file starts over with the file now at the name, and the third
// waits for it. A second name of a file of the user's is no lock file: the
// record would overwrite that file.
TEST_F(DataFilePlacementTest, OnlyTheHolderRemovesTheLockFile) {
  const int fd = ::open(shared.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  {  // the turns go before the folder they were given
  auto first = std::make_unique<FolderTurn>(fd, shared.string());
  FolderTurn second(fd, shared.string()), third(fd, shared.string());
  ASSERT_TRUE(first->take(0, nullptr) && first->held());
  EXPECT_FALSE(second.take(0, nullptr));
  std::make_unique<FolderTurn>(fd, shared.string())->take(0, nullptr);  // gives up and ends
  EXPECT_TRUE(fs::exists(lockFile()));
  first.reset();
  EXPECT_TRUE(second.take(0, nullptr) && second.held()) << second.error();
  EXPECT_FALSE(third.take(0, nullptr));
  fs::remove(lockFile());
  std::ofstream(shared / "notes.txt") << "the user's notes\n";
  fs::permissions(shared / "notes.txt", fs::perms::owner_read | fs::perms::owner_write);
  fs::create_hard_link(shared / "notes.txt", lockFile());
  FolderTurn linked(fd, shared.string());
  EXPECT_FALSE(linked.take(0, nullptr));
  EXPECT_NE(linked.error().find("it has other names (hard links to it)"), std::string::npos) << linked.error();
  EXPECT_EQ("the user's notes\n", readFile(shared / "notes.txt"));
  }
  ::close(fd);
}

}  // namespace
