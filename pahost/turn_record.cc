#include "pahost/turn_record.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <sstream>

#include "pahost/private_names.h"

namespace {

// The record is read in blocks of this size, up to this much: a longer
// one is none that pahost writes.
const std::size_t kRecordBlock = 4096;
const std::size_t kRecordLimit = 65536;

// pread(), going on after a signal.
ssize_t readAt(int fd, char* block, std::size_t size, std::size_t offset) {
  for (;;) {
    const ssize_t got = ::pread(fd, block, size, static_cast<off_t>(offset));
    if (got >= 0 || errno != EINTR) return got;
  }
}

// Writes all of `text` at the start of `fd`, going on after a signal;
// false with errno set.
bool writeAtStart(int fd, const std::string& text) {
  for (std::size_t put = 0; put < text.size();) {
    const ssize_t done = ::pwrite(fd, text.data() + put, text.size() - put, static_cast<off_t>(put));
    if (done < 0 && errno == EINTR) continue;
    if (done <= 0) {
      if (done == 0) errno = EIO;
      return false;
    }
    put += static_cast<std::size_t>(done);
  }
  return true;
}

// Cuts `fd` to `size` bytes, going on after a signal; false with errno set.
bool truncateTo(int fd, std::size_t size) {
  while (::ftruncate(fd, static_cast<off_t>(size)) != 0) {
    if (errno != EINTR) return false;
  }
  return true;
}

// One line of the record: the name, then the device and inode once known.
std::string recordLine(const RecordedFolder& folder) {
  if (!folder.identified) return folder.name + "\n";
  return folder.name + " " + std::to_string(folder.device) + " " + std::to_string(folder.inode) + "\n";
}

// The folder a record line names; a line of another shape names none.
bool readRecordLine(const std::string& line, RecordedFolder* folder) {
  std::istringstream parts(line);
  std::string device;
  std::string inode;
  std::string rest;
  parts >> folder->name >> device >> inode >> rest;
  if (folder->name.empty() || !rest.empty() || device.empty() != inode.empty()) return false;
  if (device.empty()) return true;
  char* end = nullptr;
  folder->device = static_cast<dev_t>(std::strtoull(device.c_str(), &end, 10));
  if (*end != '\0' || device[0] == '-') return false;
  folder->inode = static_cast<ino_t>(std::strtoull(inode.c_str(), &end, 10));
  folder->identified = *end == '\0' && inode[0] != '-';
  return folder->identified;
}

}  // namespace

std::string recordText(const std::vector<RecordedFolder>& folders) {
  std::string text;
  for (const RecordedFolder& folder : folders) text += recordLine(folder);
  return text;
}

std::vector<RecordedFolder> recordedFolders(const std::string& text) {
  std::vector<RecordedFolder> folders;
  for (std::size_t start = 0, end = text.find('\n'); end != std::string::npos;
       start = end + 1, end = text.find('\n', start)) {
    RecordedFolder folder;
    if (readRecordLine(text.substr(start, end - start), &folder)) folders.push_back(folder);
  }
  return folders;
}

bool isRecordText(const std::string& text) {
  if (!text.empty() && text.back() != '\n') return false;
  const std::vector<RecordedFolder> folders = recordedFolders(text);
  if (recordText(folders) != text) return false;
  for (const RecordedFolder& folder : folders) {
    if (!isPrivateName(folder.name)) return false;
  }
  return true;
}

bool readRecordText(int fd, std::string* text) {
  text->clear();
  char block[kRecordBlock];
  for (;;) {
    const ssize_t got = readAt(fd, block, sizeof block, text->size());
    if (got < 0) return false;
    if (got == 0) return true;
    text->append(block, static_cast<std::size_t>(got));
    if (text->size() > kRecordLimit) {
      errno = EFBIG;
      return false;
    }
  }
}

bool writeRecordText(int fd, const std::string& text) { return writeAtStart(fd, text) && truncateTo(fd, text.size()); }
