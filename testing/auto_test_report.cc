// The report file of the automated-test hooks.
#include "testing/auto_test_report.h"

#include <fcntl.h>
#include <unistd.h>

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

void add(const std::string& line) {
  if (openScopes == 0 || !AutoTestFiles::hasAutoTestDirectory()) return;
  const std::string path = AutoTestFiles::autoTestFile(kReportFileName);
  const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
  if (fd < 0) return;
  const std::string text = line + "\n";
  // One write per line, so lines of nested hooks never interleave.
  if (::write(fd, text.data(), text.size()) < 0) {
    // Nothing more to do: the report is where failures would go.
  }
  ::close(fd);
}

std::string problemText(TestDataFormat::LineProblem problem) {
  for (const ProblemText& p : kProblemTexts) {
    if (p.problem == problem) return p.text;
  }
  return "";
}

}  // namespace AutoTestReport
