// Option and clear files of the automated-test hooks, and the resolution
// of the paths they name.
#include "testing/auto_test_files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>

#include "host/configuration.h"
#include "host/io.h"
#include "host/orvane_exception.h"
#include "host/xml.h"

namespace AutoTestFiles {

const char kOptionsFileName[] = "OrvaneAutoTest_OVQA.xml";
const char kClearTag[] = "CLEAR";

namespace {

const char kClearFileLines[][40] = {
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>",
    "<AUTOTESTOPTIONS>",
    "<CLEAR>No</CLEAR>",
    "</AUTOTESTOPTIONS>",
};

std::string withSlashes(std::string path) {
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

// The parts of a relative path, "." and empty parts dropped; false for a
// ".." part or one holding a drive colon.
bool relativeParts(const std::string& path, std::vector<std::string>& parts) {
  parts.clear();
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    const std::string part = path.substr(start, end - start);
    if (part == "..") return false;
    if (part.find(':') != std::string::npos) return false;
    if (!part.empty() && part != ".") parts.push_back(part);
    start = end + 1;
  }
  return true;
}

// The value below the automated-test directory, as parts.
bool partsBelowAutoTestDirectory(const std::string& value, std::vector<std::string>& parts) {
  if (!hasAutoTestDirectory()) return false;
  const std::string base = withSlashes(autoTestDirectory());  // ends with "/"
  std::string rest = withSlashes(value);
  if (rest.compare(0, base.size(), base) == 0) {
    rest.erase(0, base.size());
  } else if (rest == base.substr(0, base.size() - 1)) {
    rest.clear();
  } else if (!rest.empty() && rest[0] == '/') {
    return false;  // an absolute path elsewhere
  }
  return relativeParts(rest, parts);
}

std::string joinUnderAutoTestDirectory(const std::vector<std::string>& parts) {
  std::string path = autoTestDirectory();
  for (std::size_t k = 0; k < parts.size(); ++k) {
    if (k > 0) path += "/";
    path += parts[k];
  }
  return path;
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
  PersistanceMgmt::XMLParser parser;
  try {
    parser.open(IOMgmt::FileNamePtr(new IOMgmt::FileName(path)), 1);
    std::string text;
    if (parser.readXmlIntoMemory(text, true)) {
      for (const std::string& tag : tags) parser.extractXmlSubstring(values[tag], text, tag, 1, false);
    }
  } catch (const Exceptions::OrvaneException&) {
    values.clear();
    return false;  // the parser closes its file as it goes
  }
  parser.close();
  return true;
}

void rewriteClearFile(const std::string& path) {
  IOMgmt::FileName(path).deleteFile();
  std::ofstream out(path, std::ios::out | std::ios::trunc | std::ios::binary);
  for (const char* line : kClearFileLines) out << line << "\n";
}

void removeAutoTestDirectory() {
  if (hasAutoTestDirectory()) ::rmdir(autoTestDirectory().c_str());
}

bool resolveDirectory(const std::string& value, std::string& path) {
  std::vector<std::string> parts;
  if (!partsBelowAutoTestDirectory(value, parts)) return false;
  path = joinUnderAutoTestDirectory(parts);
  return true;
}

bool resolveFile(const std::string& value, std::string& path) {
  std::vector<std::string> parts;
  if (!partsBelowAutoTestDirectory(value, parts) || parts.empty()) return false;
  path = joinUnderAutoTestDirectory(parts);
  return true;
}

bool isPlainName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of("/\\:") == std::string::npos;
}

void makeDirectories(const std::string& path) {
  const std::string target = withSlashes(path);
  std::size_t at = 0;
  while (at != std::string::npos) {
    at = target.find('/', at + 1);
    const std::string prefix = target.substr(0, at);
    if (!prefix.empty()) ::mkdir(prefix.c_str(), 0755);
  }
}

std::vector<std::string> readLines(const std::string& path) {
  std::vector<std::string> lines;
  IOMgmt::IOMgr& io = IOMgmt::IOMgr::getInstance();
  IOMgmt::FileReader* reader = io.allocateFileReader();
  if (reader == nullptr) return lines;
  reader->open(IOMgmt::FileNamePtr(new IOMgmt::FileName(path)));  // unopened: at end of file
  std::string line;
  while (!reader->eof()) {
    reader->readPCLine(line);
    lines.push_back(line);
  }
  reader->close();
  io.deallocateFileReader(reader);
  return lines;
}

}  // namespace AutoTestFiles
