// pahost sessions over the built module, loaded as the host loads it.
//
// One calculation of every return the project holds is final: a second
// one, watched, changes no field, and the two dumps are equal. A desktop
// host calculates once after each edit, and shows and files what that
// calculation left.
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
#include "pahost/tests/session_test_support.h"

namespace {

std::string oneALine(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += "  " + line + "\n";
  return text;
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
  session.load(std::string(PA_SOURCE_DIR) + "/" + GetParam());

  session.calculate();
  const std::string first = dumpOf(session);
  const std::vector<std::string> changed = session.calculateNamingChanges();
  const std::string second = dumpOf(session);

  EXPECT_TRUE(changed.empty()) << "the second calculation changed:\n" << oneALine(changed);
  const std::set<std::string> firstLines = linesOf(first);
  const std::set<std::string> secondLines = linesOf(second);
  EXPECT_EQ(first, second) << "after the first calculation only:\n"
                           << missingFrom(firstLines, secondLines)
                           << "after the second calculation only:\n"
                           << missingFrom(secondLines, firstLines);
  EXPECT_TRUE(session.close()) << session.error();
}

// A desktop host calculates once after each edit of a calculated return.
// That one calculation gives what the edited return calls for and keeps
// the user's entries it allows; a second changes nothing.
struct Edit {
  const char* name;
  const char* base;  // the return as first calculated, in pahost/tests
  std::vector<std::string> lines;
  std::vector<std::string> after;  // dump lines the calculation after the edit gives
};
const Edit kEdits[] = {
    // The other state's tax corrected down, with a penalty entered: the
    // forgiveness is worked on the corrected credit, so the tax left is at
    // least 246 and the penalty and its box stay (worked in the return).
    {"PenaltyWithACorrectedCredit",
     "penalty_after_tax_correction.txt",
     {"PASCHEDULEGL:1:F36184:250", "PASCHEDULEGL:1:F36185:250", "PA40:1:F356:X", "PA40:1:F267:12"},
     {"PA40:1:F356:X", "PA40:1:F267:12", "PA40:1:F402:X", "PA40:1:F245:185", "PA40:1:F244:171.6",
      "PA40:1:F250:257", "PA40:1:F268:269"}},
    // A second figure of the New York tax, 300, below the 381 paid: the
    // credit is of the lesser tax, 300 x 13,400 / 17,400 = 231.03 (the
    // first tax's share not attributable, 381 x 4,000 / 17,400 = 87.59,
    // would leave 212), below PA's 411.38 on that income: line 22 231.
    {"LesserOtherStateTax", "entries_kept_while_settling.txt", {"PASCHEDULEGL:1:F36185:300"}, {"PA40:1:F245:231"}},
    // The PA W-2 copies keep the PA compensation typed on them while W-2
    // 19 reports New York wages, from the first calculation on; with that
    // row removed they hold the W-2s' wages.
    {"W2ColumnsTyped", "other_state_w2_row.txt", {}, {"PAW2:1:F29:1800", "PAW2:2:F29:1800", "PA40:1:F134:39600"}},
    {"W2RowOfAnotherStateRemoved",
     "other_state_w2_row.txt",
     {"FEDW2:19:F99:", "FEDW2:19:F98:", "FEDW2:19:F97:"},
     {"PAW2:1:F29:2000", "PAW2:2:F29:2000", "PASCHEDULEW2S:1:F50652:[NO]", "PA40:1:F134:40000"}},
};

void PrintTo(const Edit& edit, std::ostream* out) { *out << edit.name; }

class EditTest : public SessionTest, public ::testing::WithParamInterface<Edit> {};

TEST_P(EditTest, OneCalculationAfterTheEditIsFinal) {
  session.load(std::string(PA_SOURCE_DIR) + "/pahost/tests/" + GetParam().base);
  session.calculate();
  session.loadLines(GetParam().lines);
  session.calculate();
  const std::set<std::string> lines = linesOf(dumpOf(session));
  for (const std::string& line : GetParam().after) EXPECT_EQ(lines.count(line), 1u) << line;
  EXPECT_EQ(oneALine(session.calculateNamingChanges()), "");
}

INSTANTIATE_TEST_SUITE_P(Edits, EditTest, ::testing::ValuesIn(kEdits),
                         [](const ::testing::TestParamInfo<Edit>& info) { return std::string(info.param.name); });

// Schedule W2-S's other-state box follows a filing status edited after a
// calculation. The sample's spouse's W-2 with New York wages is listed on
// the joint return and marks the box; filed separately it is not listed
// and the box is No. The information form sets the status within the
// calculation, after its first PA-40 run read the box under the status
// before, so the box's kept answer must be told apart by the status.
TEST_F(SessionTest, TheOtherStateBoxFollowsTheFilingStatusEditedAfterACalculation) {
  session.load(std::string(PA_EXAMPLES_DIR) + "/sample_return.txt");
  session.loadLines({"FEDW2:2:F99:NY", "FEDW2:2:F98:1000.00"});
  session.calculate();
  EXPECT_EQ(linesOf(dumpOf(session)).count("PASCHEDULEW2S:1:F50652:X"), 1u);
  session.loadLines({"FEDCOMMON:0:C1:3"});
  session.calculate();
  EXPECT_EQ(linesOf(dumpOf(session)).count("PASCHEDULEW2S:1:F50652:[NO]"), 1u);
}

// A Schedule G-L copy set to "PA" by a slip, or the return switched to
// nonresident, and then set back keeps the New York amounts the user
// typed (13,400 and 4,000); the taxes, closed while there was no income
// taxed twice, typed again (and the state, which a nonresident's copy
// does not keep) give the credit of 293 on line 22 once more.
TEST_F(SessionTest, AGLCopySetToPAOrANonresidentAndBackKeepsTheEntityAmounts) {
  const std::vector<std::string> kSlips[][2] = {
      {{"PASCHEDULEGL:1:F9:PA"}, {"PASCHEDULEGL:1:F9:NY"}},
      {{"PARETURNINFO:1:F46:", "PARETURNINFO:1:F47:X"},
       {"PARETURNINFO:1:F47:", "PARETURNINFO:1:F46:X", "PASCHEDULEGL:1:F9:NY"}},
  };
  for (const auto& slip : kSlips) {
    HostSession edited;
    ASSERT_TRUE(edited.findFactories(module) && edited.build()) << edited.error();
    edited.load(std::string(PA_SOURCE_DIR) + "/pahost/tests/entries_kept_while_settling.txt");
    edited.calculate();
    for (const auto& lines : slip) {
      edited.loadLines(lines);
      edited.calculate();
    }
    edited.loadLines({"PASCHEDULEGL:1:F36184:381", "PASCHEDULEGL:1:F36185:381"});
    edited.calculate();
    const std::set<std::string> lines = linesOf(dumpOf(edited));
    for (const char* line : {"PASCHEDULEGL:1:F158235:13400", "PASCHEDULEGL:1:F158236:4000", "PA40:1:F245:293"}) {
      EXPECT_EQ(lines.count(line), 1u) << slip[0].front() << ": " << line;
    }
  }
}

// The payment voucher goes with an amount owed: filed while the sample
// owes 55 and the federal return asks for a voucher, it leaves the data
// file once an estimated payment of 100 turns the balance into a refund.
TEST_F(SessionTest, ThePaymentVoucherGoesWithTheAmountOwed) {
  const std::string path = ::testing::TempDir() + "pahost_voucher_" + std::to_string(getpid()) + ".tif";
  const auto voucherFiled = [&] {
    long records = 0;
    EXPECT_TRUE(session.writeDataFile(path, &records)) << session.error();
    std::ifstream file(path);
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    return text.find("\nD PAESTIMATEDVOUCHERS") != std::string::npos;
  };
  session.load(std::string(PA_EXAMPLES_DIR) + "/sample_return.txt");
  session.loadLines({"FED183:1:F154:X"});
  EXPECT_TRUE(voucherFiled());
  session.loadLines({"FED190:1:F11:100", "FED190:1:F12:PA"});
  EXPECT_FALSE(voucherFiled());
  std::remove(path.c_str());
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

INSTANTIATE_TEST_SUITE_P(ProjectReturns, CalculateTwiceTest, ::testing::ValuesIn(projectReturns()),
                         projectReturnTestName);

}  // namespace
