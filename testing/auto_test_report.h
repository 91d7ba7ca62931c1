// The report of the automated-test hooks: what the test-data readers and
// the hooks refused while a hook ran (a skipped line of an import, a value
// a field cannot take, a path or output name refused, a file to read that
// is not there), one line each, appended to OrvaneAutoTest_Report.txt in
// the automated-test directory.
// The file is a control file of the hooks (no output takes its name); the
// test tool that reads it removes it.
//
// Lines are written only while a Scope lives (the hooks open one), so a
// host that loads a return through the same readers outside a hook
// (pahost's own load, whose lines each return takes in part) writes none.
#ifndef TESTING_AUTO_TEST_REPORT_H_
#define TESTING_AUTO_TEST_REPORT_H_

#include <string>

#include "testing/test_data_format.h"

namespace AutoTestReport {

extern const char kReportFileName[];  // "OrvaneAutoTest_Report.txt"

// While one lives, add() writes.
class Scope {
 public:
  Scope();
  ~Scope();
  Scope(const Scope&) = delete;
  Scope& operator=(const Scope&) = delete;
};

// Appends `line` and "\n" to the report; nothing outside a Scope or
// without an automated-test directory. When the report cannot take the
// line (a full disk, the report a symbolic link, no regular file, a file
// with a second hard link, a file this run reads, such as the return file,
// or one the host writes, such as its data file), the line goes to
// standard error with the reason, so that it is never lost.
void add(const std::string& line);
// Reports a file a hook was to read and did not: "file PATH not read: WHY".
void fileNotRead(const std::string& path, const std::string& why);

// Why a value or line is refused, in words.
std::string problemText(TestDataFormat::LineProblem problem);

}  // namespace AutoTestReport

#endif  // TESTING_AUTO_TEST_REPORT_H_
