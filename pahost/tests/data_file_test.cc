// DataFilePlacement in a folder that others may write into: what they put
// there never redirects the write nor opens the new file to them; a disk
// that fails once the file is in place is reported as such; a private
// folder that cannot be removed stays recorded and is told; and a lock
// the system refuses is said.
#include "pahost/data_file.h"

#include <fcntl.h>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/file.h>
#include <sys/statfs.h>
#include <sys/syscall.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

#include "pahost/deadline.h"
#include "pahost/file_status.h"
#include "pahost/folder_turn.h"
#include "pahost/share.h"
#include "pahost/turn_record.h"

// While set, forcing a folder to the disk fails as on a failing disk.
bool failFolderSync = false;
// While not 0, locking a file fails with this cause.
std::atomic<int> lockFailure{0};
// While set, a lock file goes from its name each time just after it is
// locked (another program removing it), and the locks are counted.
bool removeAtLock = false;
int lockFileLocks = 0;

// The path the system gives the open file `fd` ("" for none).
std::string pathOf(int fd) {
  char path[4096];
  const ssize_t n = ::readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), path, sizeof path - 1);
  return n > 0 ? std::string(path, static_cast<std::size_t>(n)) : "";
}

// Whether `fd` is open on a file named like a lock file of pahost's, or
// like the one it is made anew under.
bool isLockFd(int fd) { return pathOf(fd).find(".lock") != std::string::npos; }
bool isFreshLockFd(int fd) { return pathOf(fd).find(".lock.new") != std::string::npos; }

// Stands in for the system's flock in this program.
extern "C" int flock(int fd, int operation) noexcept {
  if (lockFailure != 0) {
    errno = lockFailure;
    return -1;
  }
  const int result = static_cast<int>(::syscall(SYS_flock, fd, operation));
  if (result == 0 && removeAtLock && (operation & LOCK_UN) == 0 && isLockFd(fd)) {
    ++lockFileLocks;
    ::unlink(pathOf(fd).c_str());
  }
  return result;
}

// While not 0, the lock file goes just as this run first records in it,
// the next time the run looks at it after reading its record, this many
// more times: the kernel's SMB client shows a removal a holder killed as it
// made it that late. What else happens then (another run takes the turn).
int removeAtRecord = 0;
int readLockFd = -1;
std::function<void()> onRemovedAtRecord;
// The records of lock files read (from their start), and how many more
// reads of one are refused (EACCES, as the kernel's SMB client refuses one
// while another run's lock request reaches the server).
int recordReads = 0;
int readRefusals = 0;
int readRefusalCause = EACCES;
int readsRefused = 0;
// How many more writes of a lock file in place are refused (EACCES),
// likewise, once as many as writesPassing went through; a new lock file
// made to replace it is written.
int writeRefusals = 0;
int writeRefusalCause = EACCES;
int writesPassing = 0;
// How many times the file system's type was asked, whether it is the
// kernel's SMB client's, and while not 0 why it cannot be told.
int typeQuestions = 0;
bool smbShare = false;
int typeFailure = 0;

// Stand in for the system's pread and fstat in this program.
extern "C" ssize_t pread(int fd, void* buffer, size_t size, off_t offset) {
  if (isLockFd(fd)) {
    if (removeAtRecord > 0) readLockFd = fd;
    if (readRefusals > 0) {
      --readRefusals;
      ++readsRefused;
      errno = readRefusalCause;
      return -1;
    }
    if (offset == 0) ++recordReads;
  }
  return static_cast<ssize_t>(::syscall(SYS_pread64, fd, buffer, size, offset));
}
// Stands in for the system's pwrite in this program.
extern "C" ssize_t pwrite(int fd, const void* buffer, size_t size, off_t offset) {
  const bool inPlace = isLockFd(fd) && !isFreshLockFd(fd);
  if (writeRefusals > 0 && inPlace && writesPassing > 0) {
    --writesPassing;
  } else if (writeRefusals > 0 && inPlace) {
    --writeRefusals;
    errno = writeRefusalCause;
    return -1;
  }
  return static_cast<ssize_t>(::syscall(SYS_pwrite64, fd, buffer, size, offset));
}
extern "C" int fstat(int fd, struct stat* info) noexcept {
  if (removeAtRecord > 0 && fd == readLockFd) {
    ::unlink(pathOf(fd).c_str());
    --removeAtRecord;
    readLockFd = -1;
    if (onRemovedAtRecord) onRemovedAtRecord();
  }
  return static_cast<int>(::syscall(SYS_fstat, fd, info));
}
// Stands in for the system's fstatfs in this program, counting questions.
extern "C" int fstatfs(int fd, struct statfs* info) noexcept {
  ++typeQuestions;
  if (typeFailure != 0) {
    errno = typeFailure;
    return -1;
  }
  const int result = static_cast<int>(::syscall(SYS_fstatfs, fd, info));
  if (smbShare) info->f_type = 0xFE534D42;  // SMB 2 and later
  return result;
}

// While not empty, removing a file from a folder whose path holds this
// text is refused (EBUSY, as an SMB client over FUSE refuses it while
// another program holds the file open) busyLeft more times, and the tries
// are counted.
std::string busyFolder;
int busyLeft = 0;
int busyRemovals = 0;

// Stands in for the system's unlinkat in this program.
extern "C" int unlinkat(int dir, const char* name, int flags) noexcept {
  if (!busyFolder.empty() && flags == 0 && pathOf(dir).find(busyFolder) != std::string::npos) {
    ++busyRemovals;
    if (busyLeft > 0) {
      --busyLeft;
      errno = EBUSY;
      return -1;
    }
  }
  return static_cast<int>(::syscall(SYS_unlinkat, dir, name, flags));
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

  // Whether a placement into the shared folder begins while the stand-in's
  // `*fault` is `times` (0 again after it), with why not in beginError,
  // waiting `wait` seconds and telling `notices`.
  bool beginsWith(int* fault, int times, int wait = 0, std::FILE* notices = nullptr) {
    DataFilePlacement placement(target.string(), "40.tif", "1.tif");
    placement.setTurnWait(wait, notices);
    *fault = times;
    const bool begun = placement.begin();
    *fault = 0;
    beginError = placement.error();
    return begun;
  }

  // That a wait that ends while every read or write (`io`) of the record
  // is refused, as the stand-in's `*refusals` have it, says so.
  void expectAWaitEndingOnRefusals(int* refusals, const std::string& io) {
    EXPECT_FALSE(beginsWith(refusals, 1000));
    EXPECT_NE(beginError.find(lockFile().string() + " could be locked but not " + io + " (" + std::strerror(EACCES)),
              std::string::npos)
        << beginError;
  }

  // The lines said on `notices`, which it closes.
  static std::vector<std::string> linesOf(std::FILE* notices) {
    std::vector<std::string> lines;
    std::rewind(notices);
    for (char line[1024]; std::fgets(line, sizeof line, notices) != nullptr;) lines.push_back(line);
    std::fclose(notices);
    return lines;
  }

  std::string beginError;
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

// The system cannot lock the lock file (no locks: a network file system
// without its lock service, a FUSE driver without locks): the run goes on
// without the turn, says so, and leaves alone what a killed run left.
TEST_F(DataFilePlacementTest, ALockTheSystemRefusesIsSaidAndTheRunGoesOn) {
  fs::create_directory(shared / ".pahost-Killed");
  fs::permissions(shared / ".pahost-Killed", fs::perms::owner_all);
  for (const int cause : {ENOLCK, EOPNOTSUPP, ENOSYS, EINVAL}) {
    std::ofstream(lockFile()) << ".pahost-Killed\n";
    fs::permissions(lockFile(), fs::perms::owner_read | fs::perms::owner_write);
    std::FILE* notices = std::tmpfile();
    {
      DataFilePlacement placement(target.string(), "40.tif", "1.tif");
      placement.setTurnWait(0, notices);
      lockFailure = cause;
      write(placement);
      lockFailure = 0;
    }
    std::rewind(notices);
    char said[256] = "";
    EXPECT_NE(std::fgets(said, sizeof said, notices), nullptr);
    std::fclose(notices);
    EXPECT_EQ(std::string(said).rfind("pahost: cannot lock " + lockFile().string() + " (" + std::strerror(cause), 0),
              0u)
        << said;
    EXPECT_TRUE(fs::exists(shared / ".pahost-Killed"));
  }
}

// A lock that fails stops the run, saying why, and so does EACCES, which
// only the kernel's SMB client answers for a lock another holds: neither
// goes on without the turn, nor waits for a run that is not there.
TEST_F(DataFilePlacementTest, ALockHeldOrFailingIsNoRunWithoutTheTurn) {
  const struct {
    int cause;
    std::string told;
  } kCases[] = {{EACCES, "cannot lock " + lockFile().string() + ": " + std::strerror(EACCES)},
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
    removeAtRecord = 1;
    write(placement);
    removeAtRecord = 0;
    EXPECT_TRUE(placement.finish()) << placement.error();
  }
  EXPECT_EQ("the data file\n", readFile(target));
  EXPECT_FALSE(fs::exists(lockFile()));
}

// A lock file removed as the run first records in it, again and again: the
// turn is taken anew at most three times in all, and a third take that
// holds goes on.
TEST_F(DataFilePlacementTest, ATurnIsTakenAnewAtMostThreeTimes) {
  for (const int removals : {2, 100}) {
    recordReads = 0;
    EXPECT_EQ(removals == 2, beginsWith(&removeAtRecord, removals)) << beginError;
    EXPECT_EQ(3, recordReads) << removals;
  }
}

// A read of the record refused as the turn is taken (the kernel's SMB
// client refuses one while another run's lock request reaches the server)
// is tried again for a short while (20 tries in all) within the wait: the
// run takes its turn without waiting for it again. Where that refusal
// means nothing of the kind (elsewhere, or a read failing otherwise) the
// run stops at once, saying why.
TEST_F(DataFilePlacementTest, ARefusedReadOfTheRecordIsTriedAgainAWhile) {
  smbShare = true;
  std::FILE* notices = std::tmpfile();
  EXPECT_TRUE(beginsWith(&readRefusals, 19, 5, notices)) << beginError;
  smbShare = false;
  EXPECT_EQ(0u, linesOf(notices).size()) << "the run waited for its turn again";
  readsRefused = 0;
  EXPECT_FALSE(beginsWith(&readRefusals, 20));
  EXPECT_EQ(1, readsRefused);
  const std::string told = "cannot read the lock file " + lockFile().string() + " (" + std::strerror(EACCES) + ")";
  EXPECT_NE(beginError.find(told), std::string::npos) << beginError;
  readRefusalCause = EIO;
  EXPECT_FALSE(beginsWith(&readRefusals, 1));
  readRefusalCause = EACCES;
}

// So is a write of the record refused as the run records in it.
TEST_F(DataFilePlacementTest, ARefusedWriteOfTheRecordIsTriedAgainAWhile) {
  smbShare = true;
  std::FILE* notices = std::tmpfile();
  EXPECT_TRUE(beginsWith(&writeRefusals, 19, 5, notices)) << beginError;
  smbShare = false;
  EXPECT_EQ(0u, linesOf(notices).size()) << "the run waited for its turn again";
  EXPECT_FALSE(beginsWith(&writeRefusals, 20));
  const std::string told = "cannot write the lock file " + lockFile().string() + ": " + std::strerror(EACCES);
  EXPECT_NE(beginError.find(told), std::string::npos) << beginError;
}

// A refusal of the record's read or write means what the share reads it
// as (EACCES: a lock another run holds on the kernel's SMB client, and
// where the file system's type cannot be told; elsewhere a read that
// fails), and its retries pause within the wait: with none left, the
// record is read once. A read that would block (EAGAIN) fails at once with
// its own cause on any file system; a write in place that is not supported
// (a desktop's SMB view) has the record written through a new lock file.
TEST_F(DataFilePlacementTest, ARefusedReadMeansWhatTheShareReadsAndWaitsWithinTheWait) {
  const std::string unread = "cannot read the lock file " + lockFile().string() + " (";
  const struct {
    int* refusals;  // of reads or of writes
    int cause;
    bool smb;
    int typeFailure;
    std::string told;  // "" where the run begins
  } kCases[] = {
      {&readRefusals, EACCES, false, 0, unread + std::strerror(EACCES) + ")"},
      {&readRefusals, EACCES, true, 0,
       " could be locked but not read (" + std::string(std::strerror(EACCES)) + ") after a wait of 0 seconds:"},
      {&readRefusals, EACCES, false, EIO,
       " could be locked but not read (" + std::string(std::strerror(EACCES)) +
           ") after a wait of 0 seconds (its file system, which cannot be told from the kernel's SMB "
           "client that refuses a read or write another run's lock covers so: fstatfs: " +
           std::strerror(EIO) + ")"},
      {&readRefusals, EAGAIN, true, 0, unread + std::strerror(EAGAIN) + ")"},
      {&readRefusals, EAGAIN, false, EIO, unread + std::strerror(EAGAIN) + ")"},
      {&writeRefusals, EOPNOTSUPP, false, 0, ""},
  };
  for (const auto& c : kCases) {
    smbShare = c.smb;
    typeFailure = c.typeFailure;
    readRefusalCause = writeRefusalCause = c.cause;
    readsRefused = 0;
    EXPECT_EQ(c.told.empty(), beginsWith(c.refusals, 1000)) << beginError;
    smbShare = false;
    typeFailure = 0;
    EXPECT_EQ(c.refusals == &readRefusals ? 1 : 0, readsRefused) << c.told;
    EXPECT_NE(beginError.find(c.told), std::string::npos) << beginError;
  }
  readRefusalCause = writeRefusalCause = EACCES;
}

// A run whose writes of the record are refused (a lock another run still
// holds) waits for its turn anew and says so once, however many takes the
// wait spans, as a run whose read is refused does.
TEST_F(DataFilePlacementTest, OnTheKernelsSmbClientAWaitOnARefusedWriteIsToldOnce) {
  smbShare = true;
  std::FILE* notices = std::tmpfile();
  EXPECT_FALSE(beginsWith(&writeRefusals, 1000000, 1, notices));
  smbShare = false;
  const std::vector<std::string> told = linesOf(notices);
  ASSERT_EQ(1u, told.size());
  EXPECT_EQ(0u, told[0].rfind("pahost: waiting for another run of pahost that writes into " + shared.string() +
                                  " (at most ", 0))
      << told[0];
}

// A turn lost to a refused write is taken anew while the wait lasts, not a
// number of times: here four takes in a row lose it.
TEST_F(DataFilePlacementTest, OnTheKernelsSmbClientATurnLostToRefusedWritesIsTakenAnewWhileTheWaitLasts) {
  smbShare = true;
  EXPECT_TRUE(beginsWith(&writeRefusals, 4 * 20, 10)) << beginError;
  smbShare = false;
}

// The private folders killed runs left whose files another program holds
// open (a removal refused with EBUSY): each removal is tried again only
// while the wait lasts, then the folder stays, told once however many of
// its files stay, and the next run tries again.
TEST_F(DataFilePlacementTest, ABusyLeftoverIsTriedWithinTheWaitAndToldOnce) {
  std::string record;
  for (const std::string name : {".pahost-Left01", ".pahost-Left02", ".pahost-Left03"}) {
    fs::create_directory(shared / name);
    fs::permissions(shared / name, fs::perms::owner_all);
    std::ofstream(shared / name / "40.tif") << "a killed run's data file\n";
    std::ofstream(shared / name / "1.tif") << "its copy of the federal file\n";
    struct stat folder;
    ASSERT_EQ(0, ::stat((shared / name).c_str(), &folder));
    record += name + " " + std::to_string(folder.st_dev) + " " + std::to_string(folder.st_ino) + "\n";
  }
  std::ofstream(lockFile()) << record;
  fs::permissions(lockFile(), fs::perms::owner_read | fs::perms::owner_write);
  busyFolder = "/.pahost-Left0";
  busyLeft = 1000;
  busyRemovals = 0;
  {
    DataFilePlacement placement(target.string(), "40.tif", "1.tif");
    placement.setTurnWait(0, nullptr);
    write(placement);
    EXPECT_FALSE(placement.finish());
    EXPECT_EQ(6, busyRemovals);  // each file tried once: the wait was over
    EXPECT_EQ(3u, placement.leftBehind().size());
    int told = 0;
    for (std::size_t at = 0; (at = placement.error().find(std::strerror(EBUSY), at)) != std::string::npos; ++at) {
      ++told;
    }
    EXPECT_EQ(3, told) << placement.error();
  }
  busyLeft = 5;  // let go after a few tries, within the next run's wait
  {
    DataFilePlacement next(target.string(), "40.tif", "1.tif");
    next.setTurnWait(5, nullptr);
    write(next);
    EXPECT_TRUE(next.finish()) << next.error();
  }
  busyFolder.clear();
  for (const auto& entry : fs::directory_iterator(shared)) {
    EXPECT_EQ(std::string::npos, entry.path().string().find(".pahost-Left")) << entry.path();
  }
}

// On the kernel's SMB client a read of the record refused past those tries
// is a lock another run still holds on the file: the run lets go and waits
// for its turn, and says so when its wait ends first.
TEST_F(DataFilePlacementTest, OnTheKernelsSmbClientARecordNotReadIsATurnNotYetHad) {
  smbShare = true;
  {
    DataFilePlacement placement(target.string(), "40.tif", "1.tif");
    placement.setTurnWait(5, nullptr);
    readRefusals = 25;
    EXPECT_TRUE(placement.begin()) << placement.error();
    readRefusals = 0;
  }
  expectAWaitEndingOnRefusals(&readRefusals, "read");
  smbShare = false;
}

// So is a write of the record refused past its tries, the first (the
// private folder's name) or the next (what identifies it): the private
// folder made meanwhile goes with the next take.
TEST_F(DataFilePlacementTest, OnTheKernelsSmbClientARecordNotWrittenIsATurnNotYetHad) {
  smbShare = true;
  for (const int passing : {0, 1}) {
    DataFilePlacement placement(target.string(), "40.tif", "1.tif");
    placement.setTurnWait(5, nullptr);
    writesPassing = passing;
    writeRefusals = 25;
    EXPECT_TRUE(placement.begin()) << placement.error();
    writeRefusals = writesPassing = 0;
    EXPECT_TRUE(placement.finish()) << placement.error();
    for (const auto& entry : fs::directory_iterator(shared)) {  // but the lock file, empty, which a holder there leaves
      if (entry.path() != lockFile() || fs::file_size(lockFile()) != 0) ADD_FAILURE() << entry.path() << " stays";
    }
  }
  expectAWaitEndingOnRefusals(&writeRefusals, "written");
  smbShare = false;
}

// Nothing is judged of a turn whose record cannot be read yet: a lock file
// open to others is not asked about (no file is made to ask) before its
// record is read.
TEST_F(DataFilePlacementTest, OnTheKernelsSmbClientTheRecordIsReadBeforeAnythingIsJudged) {
  std::ofstream(lockFile()).close();
  fs::permissions(lockFile(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read);
  smbShare = true;
  EXPECT_FALSE(beginsWith(&readRefusals, 1000));
  smbShare = false;
  EXPECT_NE(beginError.find(" could be locked but not read ("), std::string::npos) << beginError;
}

// A lock refused with EACCES where the file system's type cannot be told
// may be the kernel's SMB client's refusal of a lock another run holds: a
// turn to wait for, and a wait that ends on it says why the type could not
// be told.
TEST_F(DataFilePlacementTest, ALockRefusedWhereTheTypeCannotBeToldIsATurnToWaitFor) {
  typeFailure = EIO;
  lockFailure = EACCES;
  EXPECT_FALSE(beginsWith(&readRefusals, 0));
  lockFailure = typeFailure = 0;
  EXPECT_NE(beginError.find("was refused for 0 seconds (" + std::string(std::strerror(EACCES)) +
                            "), and no run of pahost was seen to take its turn meanwhile (its file system, which "
                            "cannot be told from the kernel's SMB client that refuses a lock another run holds so: "
                            "fstatfs: " + std::strerror(EIO) + ")"),
            std::string::npos)
      << beginError;
}

// A lock file gone from its name each time it is locked (another program
// removing it) is tried again only while the wait lasts.
TEST_F(DataFilePlacementTest, ALockFileGoneEachTimeItIsLockedIsTriedWithinTheWait) {
  removeAtLock = true;
  lockFileLocks = 0;
  EXPECT_FALSE(beginsWith(&readRefusals, 0));
  removeAtLock = false;
  EXPECT_EQ(1, lockFileLocks);
  EXPECT_NE(beginError.find("was gone from its name when this run had last locked it, after a wait of 0 seconds"),
            std::string::npos)
      << beginError;
}

// A turn taken anew draws on the wait the first take began: a run whose
// wait was over when its turn was lost does not wait again for another run
// that took the turn meanwhile, and says how long it waited in all.
TEST_F(DataFilePlacementTest, ATurnTakenAnewDrawsOnTheOneWait) {
  const int fd = ::open(shared.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  std::unique_ptr<FolderTurn> other;
  onRemovedAtRecord = [&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(1600));  // the wait spent
    other.reset(new FolderTurn(fd, shared.string()));
    other->take(0, nullptr);
  };
  {
    DataFilePlacement placement(target.string(), "40.tif", "1.tif");
    placement.setTurnWait(1, nullptr);
    removeAtRecord = 1;
    EXPECT_FALSE(placement.begin());
    removeAtRecord = 0;
    const std::string told = "still writes into " + shared.string() + " after a wait of ";
    const std::size_t waited = placement.error().find(told);
    ASSERT_NE(waited, std::string::npos) << placement.error();
    EXPECT_GE(std::atoi(placement.error().c_str() + waited + told.size()), 2) << placement.error();
  }
  onRemovedAtRecord = nullptr;
  other.reset();
  ::close(fd);
}

// The run is told that it waits with the time its wait has left.
TEST_F(DataFilePlacementTest, TheRunIsToldHowLongItWaitsAtMost) {
  const int fd = ::open(shared.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  std::FILE* notices = std::tmpfile();
  {
    FolderTurn holder(fd, shared.string()), waiter(fd, shared.string());
    ASSERT_TRUE(holder.take(0, nullptr) && holder.held()) << holder.error();
    EXPECT_FALSE(waiter.take(2, notices));
  }
  std::rewind(notices);
  char said[512] = "";
  EXPECT_NE(std::fgets(said, sizeof said, notices), nullptr);
  std::fclose(notices);
  ::close(fd);
  EXPECT_EQ("pahost: waiting for another run of pahost that writes into " + shared.string() + " (at most 2 seconds)\n",
            std::string(said));
}

// The file system's type, a question to the server on a share, is asked
// once a run: not of a run that no other run kept waiting until it ends
// (when it asks whether to leave its lock file, whose removed name could
// keep the next run waiting), and once of a run refused again and again.
TEST_F(DataFilePlacementTest, TheFileSystemsTypeIsAskedOnlyOnceARun) {
  typeQuestions = 0;
  {
    DataFilePlacement placement(target.string(), "40.tif", "1.tif");
    placement.setTurnWait(0, nullptr);
    ASSERT_TRUE(placement.begin()) << placement.error();
    EXPECT_EQ(0, typeQuestions);
  }
  EXPECT_EQ(1, typeQuestions);
  const int fd = ::open(shared.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  {
    FolderTurn holder(fd, shared.string());
    ASSERT_TRUE(holder.take(0, nullptr) && holder.held()) << holder.error();
    typeQuestions = 0;
    {
      FolderTurn waiter(fd, shared.string());
      EXPECT_FALSE(waiter.take(1, nullptr));
    }
    EXPECT_EQ(1, typeQuestions);
  }
  ::close(fd);
}

// On the kernel's SMB client a run refused while no other run recorded in
// the lock file it then takes, or one that others than the user may write,
// asks whether its file system keeps permissions all the same: where they
// are kept, a lock file others may open is refused.
TEST_F(DataFilePlacementTest, ALockFileNoRunWasSeenToTakeIsAskedAbout) {
  const fs::perms kRead = fs::perms::group_read | fs::perms::others_read;
  const struct {
    fs::perms opened;
    bool recorded;  // by its holder while the other run waits
  } kCases[] = {{kRead, false}, {kRead | fs::perms::group_write | fs::perms::others_write, true}};
  const int fd = ::open(shared.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  smbShare = true;
  for (const auto& c : kCases) {
    std::ofstream(lockFile()) << ".pahost-Killed\n";  // its holder leaves it: it names a folder
    fs::permissions(lockFile(), fs::perms::owner_read | fs::perms::owner_write);
    auto holder = std::make_unique<FolderTurn>(fd, shared.string());
    ASSERT_TRUE(holder->take(0, nullptr) && holder->held()) << holder->error();
    fs::permissions(lockFile(), c.opened, fs::perm_options::add);
    std::thread ends([&holder, &c] {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      if (c.recorded) holder->record({{".pahost-Ab3dE9", false, 0, 0}});
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
      holder.reset();
    });
    FolderTurn waiter(fd, shared.string());
    EXPECT_FALSE(waiter.take(30, nullptr));
    ends.join();
    EXPECT_NE(waiter.error().find(" is open to others than you"), std::string::npos) << waiter.error();
  }
  smbShare = false;
  ::close(fd);
}

// The kernel's SMB client's close timeout, as the table of mounts shows it
// for the share's file system (and no other's).
TEST_F(DataFilePlacementTest, TheCloseTimeoutIsTheSharesOwn) {
  const std::string table = "98 29 0:52 / /mnt/a rw - cifs //h/a rw,vers=3.0,closetimeo=7,actimeo=1\n"
                            "99 29 0:53 / /mnt/b rw - cifs //h/b rw,vers=3.0,actimeo=1\n";
  EXPECT_EQ(7, closeTimeoutIn(table, makedev(0, 52)));
  EXPECT_EQ(-1, closeTimeoutIn(table, makedev(0, 53)));
  // Read from the table for the folder's file system: at most 600 s, and
  // the client's default, 1 s, where it shows none.
  struct stat folder;
  ASSERT_EQ(0, ::stat(shared.c_str(), &folder));
  const std::string numbered = std::to_string(major(folder.st_dev)) + ":" + std::to_string(minor(folder.st_dev));
  const fs::path mounts = dir / "mountinfo";
  const int fd = ::open(shared.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  for (const auto& shown : {std::make_pair("closetimeo=7", 7), std::make_pair("closetimeo=9999", 600),
                            std::make_pair("actimeo=1", 1)}) {
    std::ofstream(mounts) << "98 29 " << numbered << " / /mnt/a rw - cifs //h/a rw," << shown.first << "\n";
    EXPECT_EQ(std::chrono::seconds(shown.second), kernelSmbCloseTimeout(fd, mounts.c_str())) << shown.first;
  }
  ::close(fd);
}

// Waiting runs on the kernel's SMB client let go of the lock file together
// for the mount's close timeout and 1.5 seconds more, in every four such
// windows of the clock, once they saw no turn taken for 3 seconds; and its
// mount tells whether it keeps permissions.
TEST_F(DataFilePlacementTest, TheSharesMountTellsItsLetGoAndPermissions) {
  using std::chrono::milliseconds;
  const milliseconds window = letGoWindow(std::chrono::seconds(7));
  EXPECT_EQ(milliseconds(8500), window);
  const std::chrono::system_clock::time_point start(milliseconds(34000) * 1000);  // four windows a period
  for (const auto& at : {std::make_pair(0, 8500), std::make_pair(8400, 100), std::make_pair(8500, 0),
                         std::make_pair(17000, 0), std::make_pair(25500, 0), std::make_pair(33999, 0),
                         std::make_pair(34000, 8500)}) {
    EXPECT_EQ(milliseconds(at.second), letGoLeft(start + milliseconds(at.first), window, milliseconds(3001)))
        << at.first;
  }
  EXPECT_EQ(milliseconds(0), letGoLeft(start, window, milliseconds(3000)));
  // The share's own, from its mount, at a close timeout whose window has
  // more than 3 seconds left now.
  int seconds = 1;
  while (seconds < 600 && letGoLeft(std::chrono::system_clock::now(), letGoWindow(std::chrono::seconds(seconds)),
                                    std::chrono::hours(1)) < milliseconds(3500)) {
    ++seconds;
  }
  struct stat folder;
  ASSERT_EQ(0, ::stat(shared.c_str(), &folder));
  const std::string line = "98 29 " + std::to_string(major(folder.st_dev)) + ":" +
                           std::to_string(minor(folder.st_dev)) + " / /mnt/a rw - ";
  const fs::path mounts = dir / "mountinfo";
  const int fd = ::open(shared.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  smbShare = true;
  const struct {
    const char* mount;
    Permissions kept;
  } kMounts[] = {{"cifs //h/a rw,nounix,file_mode=0777", Permissions::kNone},
                 {"cifs //h/a rw,nounix,cifsacl,file_mode=0777", Permissions::kUnknown},
                 {"cifs //h/a rw,unix,file_mode=0777", Permissions::kUnknown},
                 {"smb3 //h/a rw,posix,file_mode=0777", Permissions::kUnknown},
                 {"cifs //h/a rw,nounix,modefromsid,file_mode=0777", Permissions::kUnknown},
                 {"cifs //h/a rw,nounix,dynperm,file_mode=0777", Permissions::kUnknown},
                 {"ext4 /dev/sda1 rw", Permissions::kUnknown}};
  for (const auto& m : kMounts) {
    std::ofstream(mounts) << line << m.mount << ",closetimeo=" << seconds << "\n";
    Share share(fd, mounts.c_str());
    EXPECT_EQ(m.kept, share.mountPermissions()) << m.mount;
    EXPECT_GT(share.letGo(std::chrono::hours(1)), milliseconds(3000)) << seconds;
    EXPECT_EQ(Share::Clock::duration::zero(), share.letGo(milliseconds(2000)));
  }
  smbShare = false;
  ::close(fd);
}

// The record is read whole from the file's start into the string given,
// in place of what it held, up to the longest record a run writes (64 KiB):
// a longer one is none of pahost's.
TEST_F(DataFilePlacementTest, ARecordIsReadFromItsStartUpToTheLongestARunWrites) {
  const fs::path file = dir / "record";
  for (const std::size_t size : {std::size_t{0}, std::size_t{22}, std::size_t{65536}, std::size_t{65537}}) {
    std::string record;
    while (record.size() < size) record += ".pahost-Ab3dE9 1 2\n";
    record.resize(size);
    std::ofstream(file, std::ios::binary | std::ios::trunc) << record;
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    std::string text = "what the caller held";
    errno = 0;
    const bool read = readRecordText(fd, &text);
    const int cause = errno;
    ::close(fd);
    EXPECT_EQ(size <= 65536, read) << size;
    EXPECT_EQ(read ? record : text, text) << size;
    EXPECT_EQ(read ? 0 : EFBIG, cause) << size;
  }
}

// A name being removed shows so whoever looks at it: with no name left,
// seen but not to be opened (ENOENT), not seen where it could not be made;
// anything else is no removal.
TEST_F(DataFilePlacementTest, ANameBeingRemovedIsToldOneWay) {
  struct stat named = {};
  named.st_nlink = 1;
  struct stat nameless = {};
  const struct {
    bool shown;
    const struct stat* seen;
    int cause;
    bool making;
    Removal removal;
  } kCases[] = {{true, &nameless, 0, false, Removal::kNameless},    {true, &nameless, EEXIST, true, Removal::kNameless},
                {true, &named, ENOENT, false, Removal::kNotOpened}, {true, &named, 0, false, Removal::kNone},
                {true, &named, EEXIST, true, Removal::kNone},       {true, &named, EACCES, false, Removal::kNone},
                {false, &named, EEXIST, true, Removal::kNotMade},   {false, &named, ENOENT, true, Removal::kNotMade},
                {false, &named, ENOENT, false, Removal::kNone},     {false, &named, EIO, true, Removal::kNone}};
  for (const auto& c : kCases) {
    EXPECT_EQ(c.removal, removalOf(c.shown, *c.seen, c.cause, c.making))
        << c.shown << " " << c.seen->st_nlink << " " << c.cause << " " << c.making;
  }
}

// A wait that spans takes of the turn (a turn taken anew) tells once that
// the run waits.
TEST_F(DataFilePlacementTest, AWaitOverTakesAnewIsToldOnce) {
  const int fd = ::open(shared.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  std::FILE* notices = std::tmpfile();
  {
    FolderTurn holder(fd, shared.string()), waiter(fd, shared.string());
    ASSERT_TRUE(holder.take(0, nullptr) && holder.held()) << holder.error();
    const Deadline wait(0);
    EXPECT_FALSE(waiter.take(wait, notices));
    EXPECT_FALSE(waiter.take(wait, notices));  // anew
  }
  std::rewind(notices);
  int told = 0;
  for (char line[512]; std::fgets(line, sizeof line, notices) != nullptr;) ++told;
  std::fclose(notices);
  ::close(fd);
  EXPECT_EQ(1, told);
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
