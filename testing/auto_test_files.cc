// Option and clear files of the automated-test hooks, the resolution of the
// paths they name, the hooks' outputs and the line reader.
#include "testing/auto_test_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "host/configuration.h"
#include "host/io.h"
#include "host/orvane_exception.h"
#include "host/string_utils.h"
#include "host/xml.h"
#include "testing/auto_test_report.h"

namespace AutoTestFiles {

const char kOptionsFileName[] = "OrvaneAutoTest_OVQA.xml";
const char kClearTag[] = "CLEAR";
const char kDriverClearTail[] = "OrvaneAutoTest_Clear.xml";
const char kScrubberClearTail[] = "OrvaneAutoTest_Clear_Scrubber.xml";
const char kCycleDaemonClearTail[] = "OrvaneAutoTest_Clear_KXTDaemon.xml";
const char kLinkedFileRefusal[] = "names a file with more than one hard link";
const char* const kInputTags[4] = {"PAFIELDLIST", "PAFIELDRELATIONFORMSAFFECTED", "PAFIELDRELATIONINPUTFIELDS",
                                   "INPUTFIELDLIST"};

namespace {

// The inputs of the hooks running now (RunInputs), as resolved paths.
std::vector<std::string> runInputs;

const char kReadByTheRun[] = "names a file this run reads";
const char kWrittenByTheRun[] = "names a file this run writes";

const char kClearFileLines[][40] = {
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>",
    "<AUTOTESTOPTIONS>",
    "<CLEAR>No</CLEAR>",
    "</AUTOTESTOPTIONS>",
};

// A clear file is written anew under its name, the writing process's
// number and this tail, beside it; with these permissions where there was
// none (the mask narrows them), else the old one's.
const char kRewriteTail[] = ".new";
const mode_t kNewClearFileMode = 0666;
const mode_t kAccessBits = 0777;
// How many times a new file a remover took for a leftover is made again
// before the rewrite gives up.
const int kMakeAttempts = 100;

// Whether `name` is one a rewrite of the clear file named `clear` writes
// under (`clear`, ".", a process number without a leading 0, kRewriteTail).
bool isRewriteName(const std::string& name, const std::string& clear) {
  const std::size_t tail = sizeof kRewriteTail - 1;
  if (name.size() <= clear.size() + 1 + tail || name.compare(0, clear.size(), clear) != 0 ||
      name[clear.size()] != '.' || name.compare(name.size() - tail, tail, kRewriteTail) != 0) {
    return false;
  }
  const std::string number = name.substr(clear.size() + 1, name.size() - clear.size() - 1 - tail);
  return number.size() <= 9 && number[0] != '0' && number.find_first_not_of("0123456789") == std::string::npos;
}

bool isSameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// Whether the file shown as `seen` may be what a rewrite killed while it
// wrote `text` left: a plain file of the user's with one name, no longer.
bool mayBeLeftover(const struct stat& seen, const std::string& text) {
  return S_ISREG(seen.st_mode) && seen.st_uid == ::geteuid() && seen.st_nlink == 1 &&
         seen.st_size <= static_cast<off_t>(text.size());
}

// Whether the open file `fd`, of `size` bytes, holds a beginning of `text`.
bool holdsBeginningOf(int fd, off_t size, const std::string& text) {
  std::string held(text.size() + 1, '\0');
  std::size_t got = 0;
  for (ssize_t n; got < held.size() && (n = IOMgmt::readSome(fd, &held[got], held.size() - got)) > 0;) {
    got += static_cast<std::size_t>(n);
  }
  return got == static_cast<std::size_t>(size) && text.compare(0, got, held, 0, got) == 0;
}

// Removes `path` when it is what a rewrite killed while it wrote `text`
// left: a file no writer holds locked, wherever the writer runs (another
// container or machine sharing the folder, whose process numbers mean
// nothing here). A shared lock tells, had on a file open for reading: a
// writer holds its new file locked alone until its rename. The file is
// looked at by its name before it is opened (a device is never opened),
// and removed only while it is still the one at the name. A file that
// cannot be locked (a file system without locks) stays: its writer may be
// running.
void removeIfLeftover(const std::string& path, const std::string& text) {
  struct stat named;
  if (::lstat(path.c_str(), &named) != 0 || !mayBeLeftover(named, text)) return;
  const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return;
  struct stat opened;
  const bool left = ::flock(fd, LOCK_SH | LOCK_NB) == 0 && ::fstat(fd, &opened) == 0 &&
                    isSameFile(opened, named) && mayBeLeftover(opened, text) &&
                    holdsBeginningOf(fd, opened.st_size, text) && ::lstat(path.c_str(), &named) == 0 &&
                    isSameFile(opened, named);
  if (left) ::unlink(path.c_str());
  ::close(fd);  // the lock goes with it
}

// Removes what rewrites of the clear file `path` killed before their
// rename left beside it (removeIfLeftover); nothing else.
void removeKilledRewrites(const std::string& path, const std::string& text) {
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  const std::string clear = slash == std::string::npos ? path : path.substr(slash + 1);
  DIR* listing = ::opendir(folder.c_str());
  if (listing == nullptr) return;
  while (const dirent* entry = ::readdir(listing)) {
    if (!isRewriteName(entry->d_name, clear)) continue;
    removeIfLeftover(slash == std::string::npos ? entry->d_name : folder + entry->d_name, text);
  }
  ::closedir(listing);
}

// Locks the new file `fd` just made at `path` for its writer; false when
// it is no longer the file at the name. A remover that opened it before
// the lock may hold it while it looks, and remove it: the lock waits for
// the remover to let go. Where the file cannot be locked (a file system
// without locks) it is written unlocked: no remover can lock it there
// either, and none removes it.
bool lockAtName(int fd, const std::string& path) {
  while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
  }
  struct stat opened;
  struct stat named;
  return ::fstat(fd, &opened) == 0 && ::lstat(path.c_str(), &named) == 0 && isSameFile(opened, named);
}

// Makes the new file `fresh` with `mode` and locks it (lockAtName); -1
// with errno set when it cannot be made.
int makeLockedRewrite(const std::string& fresh, mode_t mode) {
  for (int attempt = 0; attempt < kMakeAttempts; ++attempt) {
    const int fd = ::open(fresh.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd < 0 || lockAtName(fd, fresh)) return fd;
    ::close(fd);
  }
  errno = EAGAIN;
  return -1;
}

std::string withSlashes(std::string path) {
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

// Whether `text` starts with `head`, letters in any case.
bool startsWithAnyCase(const std::string& text, const std::string& head) {
  return text.size() >= head.size() &&
         Utils::OVStringUtils::toUpperCase(text.substr(0, head.size())) == Utils::OVStringUtils::toUpperCase(head);
}

// The parts of a relative path, "." and empty parts dropped; false (`why`
// set) for a ".." part or one holding a drive colon.
bool relativeParts(const std::string& path, std::vector<std::string>& parts, std::string* why) {
  parts.clear();
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    const std::string part = path.substr(start, end - start);
    if (part == "..") return *why = "a \"..\" part leads out of the test folder", false;
    if (part.find(':') != std::string::npos) return *why = "another drive than the test folder's", false;
    if (!part.empty() && part != ".") parts.push_back(part);
    start = end + 1;
  }
  return true;
}

std::string joinUnderAutoTestDirectory(const std::vector<std::string>& parts) {
  std::string path = autoTestDirectory();
  for (std::size_t k = 0; k < parts.size(); ++k) {
    if (k > 0) path += "/";
    path += parts[k];
  }
  return path;
}

// False (`why` set) when one of the parts below the automated-test
// directory, as far as they exist, is a symbolic link.
bool noSymbolicLink(const std::vector<std::string>& parts, std::string* why) {
  std::string path = autoTestDirectory();
  for (const std::string& part : parts) {
    path += part;
    struct stat status;
    if (::lstat(path.c_str(), &status) != 0) return true;  // nothing further exists
    if (S_ISLNK(status.st_mode)) return *why = "passes through a symbolic link: " + path, false;
    path += "/";
  }
  return true;
}

// The value below the automated-test directory, as parts.
bool partsBelowAutoTestDirectory(const std::string& value, std::vector<std::string>& parts, std::string* why) {
  if (!hasAutoTestDirectory()) return *why = "no test folder", false;
  const std::string base = withSlashes(autoTestDirectory());  // ends with "/"
  const std::string hostBase = DataMgmt::OrvaneConfiguration::kWindowsAutoTestDir;
  std::string rest = withSlashes(value);
  if (rest.compare(0, base.size(), base) == 0) {
    rest.erase(0, base.size());
  } else if (rest == base.substr(0, base.size() - 1)) {
    rest.clear();
  } else if (startsWithAnyCase(rest, hostBase)) {
    rest.erase(0, hostBase.size());  // the host's own folder is the test folder
  } else if (startsWithAnyCase(rest + "/", hostBase)) {
    rest.clear();
  } else if (!rest.empty() && rest[0] == '/') {
    return *why = "an absolute path outside the test folder", false;
  }
  return relativeParts(rest, parts, why) && noSymbolicLink(parts, why);
}

// The folder `path` is in, by its spelling; "" for a name alone and for "/".
std::string folderOfPath(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos || path == "/") return "";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Whether `path` is the host's output `output` or, when that is a folder,
// lies in it: the folder is looked at once, and each of the path's
// folders that exists is told by the disk.
bool isOrLiesIn(const std::string& path, const std::string& output) {
  if (IOMgmt::sameFile(path, output)) return true;
  struct stat outputFolder;
  if (::stat(output.c_str(), &outputFolder) != 0 || !S_ISDIR(outputFolder.st_mode)) return false;
  for (std::string folder = folderOfPath(path); !folder.empty(); folder = folderOfPath(folder)) {
    struct stat status;
    if (::stat(folder.c_str(), &status) == 0 && status.st_dev == outputFolder.st_dev &&
        status.st_ino == outputFolder.st_ino) {
      return true;
    }
  }
  return false;
}

// The file name of a control file of the hooks, in the test folder itself.
bool isControlFileName(const std::string& name) {
  if (name == kOptionsFileName || name == AutoTestReport::kReportFileName) return true;
  for (const std::string tail : {kDriverClearTail, kScrubberClearTail, kCycleDaemonClearTail}) {
    if (name.size() >= tail.size() && name.compare(name.size() - tail.size(), tail.size(), tail) == 0) {
      return true;
    }
  }
  return false;
}

// Why a hook may not write `path`; "" when it may.
std::string outputRefusal(const std::string& path) {
  const std::string base = withSlashes(autoTestDirectory());
  const std::string target = withSlashes(path);
  if (base.empty() || target.compare(0, base.size(), base) != 0) return "";  // not the hooks' folder
  std::vector<std::string> parts;
  std::string why;
  if (!relativeParts(target.substr(base.size()), parts, &why) || !noSymbolicLink(parts, &why)) return why;
  if (parts.empty()) return "names no file";
  if (parts.size() == 1 && isControlFileName(parts[0])) return "names a control file of the hooks";
  const std::string file = joinUnderAutoTestDirectory(parts);
  if (const char* why = runFileRefusal(file)) return why;
  struct stat status;
  if (::stat(file.c_str(), &status) != 0) return "";  // a new file
  if (!S_ISREG(status.st_mode)) return "names something that is not a regular file";
  if (status.st_nlink > 1) return kLinkedFileRefusal;
  return "";
}

// Why the control file `path` (options or clear file) is not read: ""
// when it is a regular file or missing (`missing` set).
std::string controlFileRefusal(const std::string& path, bool* missing) {
  struct stat status;
  *missing = false;
  if (::lstat(path.c_str(), &status) != 0) {
    *missing = errno == ENOENT || errno == ENOTDIR;
    return *missing ? "" : std::string("cannot be examined: ") + std::strerror(errno);
  }
  if (S_ISLNK(status.st_mode)) return "a symbolic link, which is not followed";
  return whyNotReadable(path);
}

// Makes the directory and any missing parent; errors are ignored (an
// existing directory is fine).
void makeDirectories(const std::string& path) {
  const std::string target = withSlashes(path);
  std::size_t at = 0;
  while (at != std::string::npos) {
    at = target.find('/', at + 1);
    const std::string prefix = target.substr(0, at);
    if (!prefix.empty()) ::mkdir(prefix.c_str(), 0755);
  }
}

// The text of an element: its text and CDATA children, in order.
std::string elementText(const XmlDom::XmlNode& element) {
  std::string text;
  const SmartPointers::CountedPtr<XmlDom::XmlNodeList> children = element.getChildNodes();
  for (int i = 0; !children.isNull() && i < children->length(); ++i) {
    const XmlDom::XmlNodePtr child = children->item(i);
    if (!child.isNull() && (child->getName() == "#text" || child->getName() == "#cdata-section")) {
      text += child->getValue();
    }
  }
  return text;
}

// Fills the value of every tag not yet found from the elements at and
// below `node`, in document order (the first element of a tag counts).
void findTags(const XmlDom::XmlNodePtr& node, const std::vector<std::string>& tags, OptionValues& values,
              std::vector<bool>& found) {
  if (node.isNull() || !node->isElement()) return;
  const std::string name = node->getName();
  for (std::size_t k = 0; k < tags.size(); ++k) {
    if (!found[k] && tags[k] == name) {
      values[tags[k]] = elementText(*node);
      found[k] = true;
    }
  }
  const SmartPointers::CountedPtr<XmlDom::XmlNodeList> children = node->getChildNodes();
  for (int i = 0; !children.isNull() && i < children->length(); ++i) findTags(children->item(i), tags, values, found);
}

// Whether the host's reader read the option file `path` whole: `why`
// says why not ("" when it did). False when the reader raised
// Exceptions::OrvaneException (the reader closes its file as it goes).
bool hostReaderReads(const std::string& path, std::string* why) {
  PersistanceMgmt::XMLParser parser;
  bool read = false;
  int readError = 0;
  try {
    std::string text;
    parser.open(IOMgmt::FileNamePtr(new IOMgmt::FileName(path)), 1);
    read = parser.readXmlIntoMemory(text, true);
    readError = parser.readError();
  } catch (const Exceptions::OrvaneException&) {
    return false;
  }
  parser.close();
  if (!read) *why = readError != 0 ? std::string("cannot be read: ") + std::strerror(readError) : "cannot be read";
  return true;
}

// Cuts the bytes of a file into lines as readLines gives them, block by
// block: a line ends at "\n", "\r\n" or a lone "\r", even when a block
// ends between "\r" and "\n". The lines and the numbers of those too long
// go to the vectors given, which the cutter does not own.
class LineCutter {
 public:
  LineCutter(std::vector<std::string>& lines, std::vector<long>* tooLong) : lines_(lines), tooLong_(tooLong) {}

  void add(const char* bytes, std::size_t size) {
    for (std::size_t k = 0; k < size; ++k) addByte(bytes[k]);
  }
  // The end of the file ends a last line that has at least one byte.
  void finish() {
    if (any_) endLine();
  }

 private:
  void addByte(char c) {
    const bool lineFeedOfCrLf = afterCr_ && c == '\n';
    afterCr_ = c == '\r';
    if (lineFeedOfCrLf) return;
    if (c == '\n' || c == '\r') return endLine();
    any_ = true;
    if (line_.size() == IOMgmt::kMaxLineLength) cut_ = true;  // the rest of the line is passed over
    if (!cut_) line_.push_back(c);
  }
  void endLine() {
    lines_.push_back(cut_ ? std::string() : line_);
    if (cut_ && tooLong_ != nullptr) tooLong_->push_back(static_cast<long>(lines_.size()));
    line_.clear();
    cut_ = any_ = false;
  }

  std::vector<std::string>& lines_;
  std::vector<long>* tooLong_;
  std::string line_;
  bool cut_ = false;      // the line is longer than kMaxLineLength
  bool any_ = false;      // the line has a byte
  bool afterCr_ = false;  // the byte before was "\r"
};

// Reads the open file `fd` to its end into `cutter`, each read a signal
// interrupts tried again; 0, or the system's error of a read that failed.
int cutLines(int fd, LineCutter& cutter) {
  char block[4096];
  for (;;) {
    const ssize_t got = IOMgmt::readSome(fd, block, sizeof block);
    if (got < 0) return errno;
    if (got == 0) break;
    cutter.add(block, static_cast<std::size_t>(got));
  }
  cutter.finish();
  return 0;
}

}  // namespace

bool hasAutoTestDirectory() {
  return !DataMgmt::OrvaneConfiguration::getInstance().getAutoTestDir().empty();
}

std::string autoTestDirectory() {
  std::string dir = DataMgmt::OrvaneConfiguration::getInstance().getAutoTestDir();
  if (!dir.empty() && dir.back() != '/' && dir.back() != '\\') dir += "/";
  return dir;
}

std::string autoTestFile(const std::string& fileName) { return autoTestDirectory() + fileName; }

bool readOptions(const std::string& path, const std::vector<std::string>& tags, OptionValues& values) {
  values.clear();
  for (const std::string& tag : tags) values[tag];
  bool missing = false;
  const std::string refusal = controlFileRefusal(path, &missing);
  if (!refusal.empty()) AutoTestReport::fileNotRead(path, refusal);
  if (missing || !refusal.empty()) return true;
  // The host's reader says whether the file can be read (and may raise);
  // the elements come from the XML library, which reads it as XML.
  std::string unread;
  if (!hostReaderReads(path, &unread)) {
    values.clear();
    return false;
  }
  if (!unread.empty()) {
    AutoTestReport::fileNotRead(path, unread);
    return true;
  }
  PersistanceMgmt::XmlTextReader reader;
  if (!reader.loadXml(IOMgmt::FileNamePtr(new IOMgmt::FileName(path)))) {
    AutoTestReport::fileNotRead(path, reader.loadError());
    return true;
  }
  std::vector<bool> found(tags.size(), false);
  findTags(reader.getXmlDocument()->getDocumentElement(), tags, values, found);
  return true;
}

// Written whole under a name of this process's beside it, then renamed
// over it (a link at its name goes, never followed), with the old file's
// permissions: those it is made with may be narrowed by the process's
// mask, and are set again (where the file system refuses, they stay
// narrower). The new file stays locked until it is renamed or removed (a
// copy of its descriptor keeps the lock past the close that tells whether
// it was written): a rewrite elsewhere would take it, whole and unlocked,
// for a leftover.
bool rewriteClearFile(const std::string& path) {
  std::string text;
  for (const char* line : kClearFileLines) text += std::string(line) + "\n";
  removeKilledRewrites(path, text);
  const std::string fresh = path + "." + std::to_string(::getpid()) + kRewriteTail;
  struct stat old;
  const bool kept = ::lstat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode);
  const mode_t mode = kept ? old.st_mode & kAccessBits : kNewClearFileMode;
  const int fd = makeLockedRewrite(fresh, mode);
  if (fd >= 0 && kept) (void)::fchmod(fd, mode);
  if (fd < 0) {
    AutoTestReport::add("output " + path + ": cannot be opened for writing");
    return false;
  }
  const bool written = IOMgmt::writeAll(fd, text.data(), text.size());
  const int lock = ::dup(fd);
  const bool placed = ::close(fd) == 0 && written && ::rename(fresh.c_str(), path.c_str()) == 0;
  if (!placed) ::unlink(fresh.c_str());
  if (lock >= 0) ::close(lock);
  if (!placed) AutoTestReport::add("output " + path + ": could not be written whole");
  return placed;
}

void removeAutoTestDirectory() {
  if (hasAutoTestDirectory()) ::rmdir(autoTestDirectory().c_str());
}

RunInputs::RunInputs(const OptionValues& options) {
  for (const char* tag : kInputTags) {
    const auto value = options.find(tag);
    std::string path;
    std::string why;
    if (value != options.end() && !value->second.empty() && resolveFile(value->second, path, &why)) {
      runInputs.push_back(path);
      ++added_;
    }
  }
}

RunInputs::~RunInputs() { runInputs.resize(runInputs.size() - added_); }

bool isRunInput(const std::string& path) {
  for (const std::string& input : runInputs) {
    if (IOMgmt::sameFile(path, input)) return true;
  }
  for (const std::string& input : DataMgmt::OrvaneConfiguration::getInstance().getHostInputFiles()) {
    if (!input.empty() && IOMgmt::sameFile(path, input)) return true;
  }
  return false;
}

bool isHostOutput(const std::string& path) {
  for (const std::string& output : DataMgmt::OrvaneConfiguration::getInstance().getHostOutputs()) {
    if (!output.empty() && isOrLiesIn(path, output)) return true;
  }
  return false;
}

const char* runFileRefusal(const std::string& path) {
  if (isRunInput(path)) return kReadByTheRun;
  return isHostOutput(path) ? kWrittenByTheRun : nullptr;
}

bool loadXmlInput(const std::string& path, const std::string& root, PersistanceMgmt::XmlTextReader& reader) {
  if (!reader.loadXml(IOMgmt::FileNamePtr(new IOMgmt::FileName(path)))) {
    AutoTestReport::fileNotRead(path, reader.loadError());
    return false;
  }
  const std::string name = reader.getXmlDocument()->getDocumentElement()->getName();
  if (name == root) return true;
  AutoTestReport::fileNotRead(path, "its root element is " + name + ", not " + root);
  return false;
}

bool resolveDirectory(const std::string& value, std::string& path, std::string* why) {
  std::vector<std::string> parts;
  if (!partsBelowAutoTestDirectory(value, parts, why)) return false;
  path = joinUnderAutoTestDirectory(parts);
  return true;
}

bool resolveFile(const std::string& value, std::string& path, std::string* why) {
  std::vector<std::string> parts;
  if (!partsBelowAutoTestDirectory(value, parts, why)) return false;
  if (parts.empty()) return *why = "names no file", false;
  path = joinUnderAutoTestDirectory(parts);
  return true;
}

std::string fileInFolder(const std::string& folder, const std::string& name) {
  return folder.empty() || folder.back() == '/' ? folder + name : folder + "/" + name;
}

bool isPlainName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of("/\\:") == std::string::npos;
}

bool openOutput(const std::string& path, bool append, std::ofstream& out) {
  const std::string refusal = outputRefusal(path);
  if (!refusal.empty()) {
    AutoTestReport::add("output " + path + ": " + refusal);
    return false;
  }
  const std::size_t slash = withSlashes(path).rfind('/');
  if (slash != std::string::npos && slash > 0) makeDirectories(path.substr(0, slash));
  out.open(path, std::ios::out | std::ios::binary | (append ? std::ios::app : std::ios::trunc));
  if (!out.is_open()) AutoTestReport::add("output " + path + ": cannot be opened for writing");
  return out.is_open();
}

bool closeOutput(std::ofstream& out, const std::string& path) {
  if (!out.is_open()) return false;  // openOutput said why
  const bool written = out.good();    // every write so far went to the file
  out.close();
  if (written && !out.fail()) return true;
  AutoTestReport::add("output " + path + ": could not be written whole");
  return false;
}

std::string whyNotReadable(const std::string& path) {
  std::string why;
  const int fd = IOMgmt::openRegularFile(path, &why);
  if (fd >= 0) {
    ::close(fd);
    return "";
  }
  return ::access(path.c_str(), F_OK) != 0 && errno == ENOENT ? "no file to read there" : why;
}

std::vector<std::string> readLines(const std::string& path, std::vector<long>* tooLong, std::string* why) {
  std::vector<std::string> lines;
  std::string refusal;
  const int fd = IOMgmt::openRegularFile(path, &refusal);
  if (fd < 0) {
    if (why != nullptr) *why = refusal;
    return lines;
  }
  const std::size_t tooLongBefore = tooLong != nullptr ? tooLong->size() : 0;
  LineCutter cutter(lines, tooLong);
  const int error = cutLines(fd, cutter);
  ::close(fd);
  if (error == 0) return lines;
  // A file read in part is not read: none of its lines is given.
  lines.clear();
  if (tooLong != nullptr) tooLong->resize(tooLongBefore);
  if (why != nullptr) *why = std::string("cannot be read: ") + std::strerror(error);
  return lines;
}

}  // namespace AutoTestFiles
