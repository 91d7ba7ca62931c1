// pahost sessions over the built module, loaded as the host loads it.
//
// Every return under examples/ settles at once: calculating it a second
// time changes no field. Each is loaded, calculated, dumped, calculated
// again and dumped again; the two dumps must be equal.
//
// A return file's lines are stored exactly as written or not at all: the
// host's line check gives each line the module's loader leaves out, with
// its reason, and the loader stores nothing of it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "host/us_tax_return.h"
#include "pahost/line_check.h"
#include "pahost/module_loader.h"
#include "pahost/session.h"

namespace {

// The example returns, by file name, sorted.
std::vector<std::string> exampleReturns() {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(PA_EXAMPLES_DIR)) {
    if (entry.path().extension() == ".txt") names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string dumpOf(const HostSession& session) {
  char* text = nullptr;
  size_t size = 0;
  std::FILE* out = open_memstream(&text, &size);
  session.dump(out);
  std::fclose(out);
  std::string dump(text, size);
  std::free(text);
  return dump;
}

std::set<std::string> linesOf(const std::string& text) {
  std::set<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.insert(line);
  return lines;
}

// The lines of `a` that `b` lacks, one per line.
std::string missingFrom(const std::set<std::string>& a, const std::set<std::string>& b) {
  std::vector<std::string> only;
  std::set_difference(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(only));
  std::string text;
  for (const std::string& line : only) text += "  " + line + "\n";
  return text;
}

class SessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(module.open(PA_MODULE_PATH)) << module.error();
    ASSERT_TRUE(session.findFactories(module) && session.build()) << session.error();
  }
  ModuleLoader module;
  HostSession session;
};

class CalculateTwiceTest : public SessionTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(CalculateTwiceTest, SecondCalculationChangesNoField) {
  session.load(std::string(PA_EXAMPLES_DIR) + "/" + GetParam());

  session.calculate();
  const std::string first = dumpOf(session);
  session.calculate();
  const std::string second = dumpOf(session);

  const std::set<std::string> firstLines = linesOf(first);
  const std::set<std::string> secondLines = linesOf(second);
  EXPECT_EQ(first, second) << "after the first calculation only:\n"
                           << missingFrom(firstLines, secondLines)
                           << "after the second calculation only:\n"
                           << missingFrom(secondLines, firstLines);
  EXPECT_TRUE(session.close()) << session.error();
}

// A job that writes a data file calculates a return that settles at once
// twice: the writer's calculation, and one that shows it changed nothing.
// Every calculation pulls the federal figures it reads and the host logs
// every pull, so the job pulls what the writer and one calculation after
// it pull in a session of its own.
TEST_F(SessionTest, AJobThatWritesADataFileOfAReturnThatSettlesAtOnceCalculatesTwice) {
  const std::string path = ::testing::TempDir() + "pahost_job_" + std::to_string(getpid()) + ".tif";
  HostSession writerAlone;
  ASSERT_TRUE(writerAlone.findFactories(module) && writerAlone.build()) << writerAlone.error();
  std::size_t pulls[2] = {0, 0};
  for (HostSession* s : {&session, &writerAlone}) {
    s->load(std::string(PA_EXAMPLES_DIR) + "/sample_return.txt");
    long records = 0;
    const bool written = s == &session ? s->settleAndWrite(path, &records) : s->writeDataFile(path, &records);
    EXPECT_TRUE(written && records > 0) << s->error();
    if (s == &writerAlone) s->calculate();
    pulls[s == &session ? 0 : 1] =
        dynamic_cast<const DataMgmt::USTaxReturn&>(*s->federalReturn()).pullLog().size();
  }
  std::remove(path.c_str());
  EXPECT_GT(pulls[1], 0u);
  EXPECT_EQ(pulls[0], pulls[1]);
  EXPECT_TRUE(session.settling().settled);
}

TEST_F(SessionTest, LinesNotStoredAsWrittenAreSkippedWithTheirReasonAndStoreNothing) {
  const struct {
    std::string line;
    const char* reason;  // "" for a line stored as written
  } lines[] = {
      {"# a comment\rPA40:1:F172:7", ""},  // a lone CR ends a line: lines 1 and 2
      {"PA40:1:F170:100", ""},
      {"PA40:0:F173:1", "the copy is outside the form's copies: 0"},
      {"PA40:1000:F173:1", "the copy is outside the form's copies: 1000"},
      {"PA40:65536:F173:1", "the copy is outside the form's copies: 65536"},
      {"PA40:0+:F173:1", "the copy is outside the form's copies: 0+"},
      {"PA40:1000+:F173:1", "the copy is outside the form's copies: 1000+"},
      {"PA40:-1:F173:1", "the copy is not a copy number: -1"},
      {"PA40:abc:F173:1", "the copy is not a copy number: abc"},
      {"PA40:0x10:F173:1", "the copy is not a copy number: 0x10"},
      {"PA40:2:F173:NaN", "the amount is not a plain number: NaN"},
      {"PA40:2:F173:inf", "the amount is not a plain number: inf"},
      {"PA40:2:F173:abc", "the amount is not a plain number: abc"},
      {"PA40:2:F173:$500", "the amount is not a plain number: $500"},
      {"PA40:2:F173:1,234.56", "the amount is not a plain number: 1,234.56"},
      {"PA40:2:F173:1e307", "the amount is beyond ten billion: 1e307"},
      {std::string("PA40:2:F173:5\0junk", 18), "holds a NUL byte"},
      {std::string("FEDCOMMON:0:C1:2\0", 17), "holds a NUL byte"},
      {"PA40:2:F173", "fewer than four parts (FORM:copy:FIELD:value)"},
      {"PA99:2:F173:5", "no such form: PA99"},
      {"PA40:2:F9999999:5", "no such field of the form: F9999999"},
      {"FEDCOMMON:0:X1:2", "not a well-formed federal figure"},
      {"FEDCOMMON:0:WITHHELD:0x10", "not a well-formed federal figure"},
  };
  const std::string path = ::testing::TempDir() + "pahost_lines_" + std::to_string(getpid()) + ".txt";
  {
    std::ofstream file(path, std::ios::binary);
    for (const auto& l : lines) file << l.line << "\r\n";
  }
  const LineCheck check = session.checkLines(path);
  session.load(path);
  std::remove(path.c_str());
  std::vector<std::string> reasons(check.lines + 1);
  check.skipped.forEach([&](const SkippedLine& skipped) { reasons.at(skipped.number) = skipped.reason; });
  ASSERT_EQ(check.lines, long(std::size(lines)) + 1);
  for (std::size_t i = 0; i < std::size(lines); ++i) EXPECT_EQ(reasons[i + 2], lines[i].reason) << i;
  EXPECT_EQ(dumpOf(session), "PA40:1:F170:100\nPA40:1:F172:7\n");
  EXPECT_FALSE(session.checkLines(::testing::TempDir()).readable);  // a folder is no return
  // The lines the check read load as the file does: the file is read once,
  // and only the lines stored are kept, in order.
  std::vector<std::string> stored;
  HostSession again;
  ASSERT_TRUE(again.findFactories(module) && again.build());
  check.stored.forEachPart([&](const std::vector<std::string>& lines) {
    stored.insert(stored.end(), lines.begin(), lines.end());
    again.loadLines(lines);
  });
  EXPECT_EQ(stored, (std::vector<std::string>{"PA40:1:F172:7", "PA40:1:F170:100"}));
  EXPECT_EQ(dumpOf(again), dumpOf(session));
}

// Test names from the file names: letters, digits and underscores.
std::string testName(const ::testing::TestParamInfo<std::string>& info) {
  std::string name = std::filesystem::path(info.param).stem().string();
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(Examples, CalculateTwiceTest, ::testing::ValuesIn(exampleReturns()),
                         testName);

}  // namespace
