// The report file of the automated-test hooks.
#include "testing/auto_test_report.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "host/io.h"
#include "testing/auto_test_files.h"

namespace AutoTestReport {

const char kReportFileName[] = "OrvaneAutoTest_Report.txt";

namespace {

// The hooks that have a Scope open; nested calculations open more.
int openScopes = 0;

struct ProblemText {
  TestDataFormat::LineProblem problem;
  const char* text;
};

const ProblemText kProblemTexts[] = {
    {TestDataFormat::LineProblem::kNulByte, "holds a NUL byte"},
    {TestDataFormat::LineProblem::kBadCopy, "the copy is not a copy number"},
    {TestDataFormat::LineProblem::kCopyOutOfRange, "the copy is outside the form's copies"},
    {TestDataFormat::LineProblem::kNotANumber, "the amount is not a plain number"},
    {TestDataFormat::LineProblem::kAmountOutOfRange, "the amount is beyond ten billion"},
};

}  // namespace

Scope::Scope() { ++openScopes; }
Scope::~Scope() { --openScopes; }

namespace {

// Why `text` could not be appended to the report at `path`; null when it
// was. A report with a second hard link is not written, as no output of a
// hook is: its other name may lie outside the folder.
const char* appendToReport(const std::string& path, const std::string& text) {
  if (const char* why = AutoTestFiles::runFileRefusal(path)) return why;
  const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
  if (fd < 0) return std::strerror(errno);
  struct stat status;
  const char* why = nullptr;
  errno = 0;
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    why = "not a regular file";
  } else if (status.st_nlink > 1) {
    why = AutoTestFiles::kLinkedFileRefusal;
  } else if (!IOMgmt::writeAll(fd, text.data(), text.size())) {
    // One write per line (more only when a signal or a full disk cuts it
    // short), so lines of nested hooks never interleave.
    why = errno != 0 ? std::strerror(errno) : "written in part";
  }
  if (::close(fd) != 0 && why == nullptr) why = std::strerror(errno);
  return why;
}

}  // namespace

void add(const std::string& line) {
  if (openScopes == 0 || !AutoTestFiles::hasAutoTestDirectory()) return;
  const std::string path = AutoTestFiles::autoTestFile(kReportFileName);
  const char* why = appendToReport(path, line + "\n");
  if (why != nullptr) {
    std::fprintf(stderr, "PA automated test: %s (not in the report %s: %s)\n", line.c_str(), path.c_str(), why);
  }
}

void fileNotRead(const std::string& path, const std::string& why) { add("file " + path + " not read: " + why); }

std::string problemText(TestDataFormat::LineProblem problem) {
  for (const ProblemText& p : kProblemTexts) {
    if (p.problem == problem) return p.text;
  }
  return "";
}

}  // namespace AutoTestReport
