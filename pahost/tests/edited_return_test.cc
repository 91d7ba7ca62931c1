// An edited return files what the same return loaded fresh files.
//
// A desktop host loads a calculated return, lets the user edit it,
// calculates once after each edit and files. What it files must not
// depend on the return's history: for every return the project holds and
// every kind of edit (return_edits.h), the data file written after load,
// calculation, the edit's steps and one calculation after each is byte for
// byte the data file of the same entries loaded fresh and calculated once.
// The entries are the return's lines with the values the calculated
// return holds (an entry the calculation limited or closed as it holds
// it, and the places where it keeps a value as the user's:
// kept_as_users.h), with the edit in them.
//
// Every return's edits run in CI as a sample taken evenly over them;
// PA_EDITED_RETURN_EDITS=all runs every one (a number: that many a
// return), PA_EDITED_RETURN_REPORT=FILE adds a line there for each edit
// whose files differ rather than fail, PA_EDITED_RETURN_ONLY=NAME runs the
// edit of that name alone, PA_EDITED_RETURN_DUMPS=FOLDER writes there the
// fields of both sessions and the fresh entries of the last edit run, and
// PA_EDITED_RETURN_VARIANT=K starts from the return with its K-th filing
// status or residency edit in its lines (another filer's return).
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "host/descriptors.h"
#include "host/io.h"
#include "host/system_mgr.h"
#include "host/tax_form.h"
#include "host/tax_return.h"
#include "pahost/module_loader.h"
#include "pahost/session.h"
#include "pahost/table_numbers.h"
#include "pahost/tests/kept_as_users.h"
#include "pahost/tests/return_edits.h"
#include "pahost/tests/session_test_support.h"

namespace {

// The edits a return gets in CI, and the sequences of two steps made of
// its steps. A return of hundreds of copies (thousands of lines) takes a
// hundred times as long to load and calculate as one of a few forms: it
// gets a few edits.
const std::size_t kSampledEdits = 30;
const std::size_t kSampledEditsOfALargeReturn = 3;
const std::size_t kLargeReturnLines = 2000;
const std::size_t kSequencesPerStep = 2;

// Edits that run whatever the sample takes (return, edit name): those the
// returns were written for.
const std::pair<const char*, const char*> kEditsThatRunAlways[] = {
    // Two W-2s of one employer: the remaining one's row takes its own
    // figures, not the deleted one's (the part-year resident's rows are
    // hers once filled).
    {"examples/part_year_one_employer.txt", "delete FEDW2:1"},
    {"examples/joint_one_employer.txt", "delete FEDW2:1"},
    // Rows moved up a row on the first PA W-2 copy: the rounding of the
    // withholding counts the second copy's rows as this calculation lists
    // them.
    {"pahost/tests/other_state_w2_row.txt", "zero FEDW2:2:F21"},
    // Entries limited in place stay as limited once what limits them
    // grows: the use tax credit (to the use tax, raised with the wages),
    // the PA part of a nonresident's W-2G winnings (a W-2G added), the
    // local overpayment applied (the rate lowered) and a depreciation
    // amount (to what the first amount leaves of the basis, raised).
    {"calc/pa/tests/golden/joint_deceased_spouse_investments.txt", "raise FEDW2:1:F33"},
    {"pahost/tests/nonresident_limited_entries.txt", "add FEDW2G:2"},
    {"pahost/tests/nonresident_limited_entries.txt", "lower PALOCALINCOMETAXRETURN:1:F144174"},
    {"calc/pa/tests/golden/joint_business_property.txt", "raise PASCHEDULEUE:1:F105"},
    // Entries emptied while their section is shut stay empty once it
    // opens: a property's depreciation (its cost basis entered) and the
    // moving expenses (the move passing the distance test again).
    {"pahost/tests/nonresident_limited_entries.txt", "raise PASCHEDULEUE:1:F93"},
    {"examples/joint_spouse_home_office_move.txt", "zero PASCHEDULEUE:1:F74, then lower PASCHEDULEUE:1:F74"},
    // A penalty typed while the unpaid tax is under the threshold is closed
    // and emptied: a rise of the tax opens its boxes at "No", line 27 empty.
    {"calc/pa/tests/golden/separate_nonresident_abroad.txt", "raise FEDSCHEDULEE:1:F28"},
    // A typed penalty closed by one edit and opened by the next.
    {"calc/pa/tests/golden/joint_deceased_spouse_investments.txt", "lower FEDW2:1:F33, then raise FED166:5:F10"},
    // A nonresident's part-year dates and allocation answer, emptied, open
    // empty when the part-year box is marked; the school code, "99999" for
    // a nonresident, is empty for a full-year resident without a district.
    {"examples/nonresident.txt", "residency F48"},
    {"examples/nonresident.txt", "residency F46"},
    // A federal copy deleted: the copy of PA Schedule E it leaves keeps no
    // answer the calculation fixed (a resident's copy 1), and a later copy
    // stays emptied when a federal copy comes back.
    {"examples/able_rental_trust_loss.txt", "delete FEDSCHEDULEE:1"},
    {"examples/nonresident_abroad_rentals.txt", "delete FEDSCHEDULEE:1, then zero FEDSCHEDULEE:1:F336"},
    // A resident marked nonresident by a slip and then resident again:
    // the G-L copy names its state still.
    {"pahost/tests/resident_marked_nonresident.txt", "residency F46"},
    // A worksheet whose sale record was deleted holds what one without a
    // record holds, and a hand sale emptied leaves no owner code behind.
    {"pahost/tests/sale_record_and_hand_sale.txt", "delete FED135:1"},
    {"pahost/tests/sale_record_and_hand_sale.txt", "empty PASCHEDULEDWORKSHEET:1"},
    // What one filing status closes or empties stays empty under another
    // (kept places): Schedule D's copies past the first, emptied while the
    // return was single; the amounts of Schedules D and J a joint return
    // filled (closed), emptied once it is not; the spouse's line 6 of
    // Schedule SP, closed in a joint return's one column.
    {"audit/tests/returns/rule_boundaries.txt", "federal status 2"},
    {"audit/tests/returns/rule_triggers.txt", "federal status 1"},
    {"audit/tests/returns/rule_triggers.txt", "federal status 3"},
    // Joint entries of a return switched to single and back: the spouse's
    // shares on Schedule T, the penalty closed under the single return's
    // smaller tax.
    {"pahost/tests/switched_to_single.txt", "federal status 2"},
    // A couple switched to another filing status and back: what the other
    // status closed, emptied, answered or fixed stays so. The worksheet's
    // amounts of each spouse and the spouse's copy of Schedule UE, fixed
    // as the taxpayer's; the information form's joint answers and the
    // local return's spouse column; Schedule O's spouse entries, Schedule
    // OC's business answer, the spouse's parts of the state allocation
    // form and a sale's owner code S (a T over it); the home office copy
    // of the spouse; a separate filer's answers of Schedule SP, No.
    {"calc/pa/tests/golden/joint_deceased_spouse_investments.txt", "federal status 4, then federal status 2"},
    {"audit/tests/returns/rule_triggers.txt", "federal status 1, then federal status 2"},
    {"calc/pa/tests/golden/joint_business_property.txt", "federal status 3, then federal status 2"},
    {"examples/joint_spouse_home_office_move.txt", "federal status 1, then federal status 2"},
    {"calc/pa/tests/golden/separate_nonresident_abroad.txt", "federal status 1, then federal status 3"},
    // The local return's compensation entry, emptied while the PA-40 has
    // no compensation, stays empty once a W-2 brings it back.
    {"pahost/tests/nonresident_limited_entries.txt", "zero FEDW2:1:F21, then add FEDW2:2"},
    // A residency switched and back: what the other residency closes or
    // empties stays empty (kept places). Closed for a full-year resident:
    // PA-40 line 17, the interest and dividend summaries' PA parts, a sale's
    // taxable-in-PA box on the Schedule D worksheet. Emptied for a nonresident: the
    // interest and dividend worksheet's entries, Schedule O's spouse's share
    // of the medical savings.
    {"audit/tests/returns/rule_triggers.txt", "residency F46, then residency F48"},
    {"calc/pa/tests/golden/single_part_year_forgiveness.txt", "residency F46, then residency F48"},
    {"pahost/tests/part_year_dividend_part.txt", "residency F46, then residency F48"},
    {"examples/joint_part_year_rich.txt", "residency F46, then residency F48"},
    {"audit/tests/returns/rule_triggers.txt", "residency F47, then residency F48"},
    {"calc/pa/tests/golden/joint_deceased_spouse_investments.txt", "residency F47, then residency F46"},
    {"calc/pa/tests/golden/joint_business_property.txt", "residency F47, then residency F46"},
    // A PA W-2 copy deleted whose rows the preparer may type over (a
    // full-year resident's, under a Schedule W2-S situation): the rows
    // filled afresh take the rounding of the return's withholding, the
    // worksheet's rows written later in the calculation included, as the
    // same entries loaded fresh do.
    {"calc/pa/tests/golden/single_part_year_forgiveness.txt",
     "residency F46, then raise FEDW2:2:F32, then delete PAW2:1"},
};

// The edit of that name among `all`; a sequence "A, then B" not among
// them is made of the steps named A and B. A name of no edit fails.
ReturnEdit editNamed(const std::vector<ReturnEdit>& all, const std::string& name) {
  for (const ReturnEdit& edit : all) {
    if (edit.name == name) return edit;
  }
  ReturnEdit sequence{name, {}};
  const std::string then = ", then ";
  for (std::size_t start = 0, end = 0; end != std::string::npos; start = end + then.size()) {
    end = name.find(then, start);
    const std::string step = name.substr(start, end == std::string::npos ? end : end - start);
    const auto found = std::find_if(all.begin(), all.end(), [&](const ReturnEdit& e) { return e.name == step; });
    if (found == all.end()) {
      ADD_FAILURE() << "no edit named " << step;
      return ReturnEdit{name, {}};
    }
    sequence.steps.push_back(found->steps.front());
  }
  return sequence;
}

std::size_t editsPerReturn(std::size_t lineCount) {
  const char* wanted = std::getenv("PA_EDITED_RETURN_EDITS");
  if (wanted == nullptr || *wanted == '\0') {
    return lineCount > kLargeReturnLines ? kSampledEditsOfALargeReturn : kSampledEdits;
  }
  if (std::string(wanted) == "all") return static_cast<std::size_t>(-1);
  return static_cast<std::size_t>(std::strtoul(wanted, nullptr, 10));
}

std::string fileText(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

// The lines of data file `a` that `b` lacks, each after the head of its
// record ("D PASCHEDULESP 001 X T 1 | 00315.008.001 U"), at most `most`.
std::vector<std::string> linesMissingFrom(const std::string& a, const std::string& b, std::size_t most = 400) {
  std::multiset<std::string> in[2];
  for (int k = 0; k < 2; ++k) {
    std::istringstream text(k == 0 ? a : b);
    std::string head;
    for (std::string line; std::getline(text, line);) {
      if (line.rfind("D ", 0) == 0) head = line;
      in[k].insert(head + " | " + line);
    }
  }
  std::vector<std::string> only;
  std::set_difference(in[0].begin(), in[0].end(), in[1].begin(), in[1].end(), std::back_inserter(only));
  if (only.size() > most) only.resize(most);
  return only;
}

std::string joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += "    " + line + "\n";
  return text;
}

class EditedReturnTest : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(module.open(PA_MODULE_PATH)) << module.error();
    SystemMgmt::SystemMgr::setClock([] { return std::time_t(1546300800); });
    folder = ::testing::TempDir() + "pahost_edited_" + std::to_string(getpid());
    std::filesystem::create_directories(folder);
  }
  void TearDown() override {
    SystemMgmt::SystemMgr::setClock(nullptr);
    std::filesystem::remove_all(folder);
  }

  // What a fresh session files and holds: `prepare` loads and edits the
  // return, then the writer calculates once and writes the data file.
  struct Filed {
    std::string dataFile;
    std::string dump;  // the returns' fields, to tell which differ
  };
  template <class Prepare>
  Filed filed(Prepare prepare) {
    HostSession session;
    EXPECT_TRUE(session.findFactories(module) && session.build()) << session.error();
    prepare(session);
    const std::string path = folder + "/40.tif";
    long records = 0;
    EXPECT_TRUE(session.writeDataFile(path, &records)) << session.error();
    Filed result{fileText(path), dumpOf(session)};
    std::remove(path.c_str());
    return result;
  }

  // The edit made in a session that holds `lines` calculated, and made in
  // the user's entries loaded fresh (the return's lines with every step in
  // them); both filed, and where they differ, the entries with the kept
  // places holding what they held before the last step (`kept`).
  struct Both {
    Filed edited;
    Filed fresh;
    Filed kept;  // filed only where the first two differ
  };
  Both bothWays(const std::vector<std::string>& lines, const ReturnEdit& edit) {
    std::vector<std::string> entries = lines;
    std::unique_ptr<KeptValues> kept;
    Both both;
    both.edited = filed([&](HostSession& s) {
      s.loadLines(lines);
      s.calculate();
      for (std::size_t i = 0; i < edit.steps.size(); ++i) {
        if (i > 0) s.calculate();
        const EditStep& step = edit.steps[i];
        if (i + 1 == edit.steps.size()) kept.reset(new KeptValues(*s.paReturn(), dumpOf(s)));
        else entries = editedLines(entries, step);
        for (const auto& copy : step.deleted) s.deleteCopy(copy.first, static_cast<uint16_t>(copy.second));
        std::vector<std::string> set;
        for (const FieldLine& f : step.set) set.push_back(f.text());
        s.loadLines(set);
      }
    });
    const std::vector<std::string> fresh = editedLines(entries, edit.steps.back());
    both.fresh = filed([&](HostSession& s) { s.loadLines(fresh); });
    std::vector<std::string> keptEntries;
    if (both.fresh.dataFile != both.edited.dataFile) {
      keptEntries = editedLines(kept->entries(entries, both.edited.dump), edit.steps.back());
      both.kept = filed([&](HostSession& s) { s.loadLines(keptEntries); });
    }
    if (const char* folder = std::getenv("PA_EDITED_RETURN_DUMPS")) {
      // For a look at one edit: the sessions' fields and the entries.
      std::ofstream(std::string(folder) + "/edited.dump") << both.edited.dump;
      std::ofstream(std::string(folder) + "/fresh.dump") << both.fresh.dump;
      std::ofstream(std::string(folder) + "/kept.dump") << both.kept.dump;
      std::ofstream freshEntries(std::string(folder) + "/fresh.txt");
      for (const std::string& line : fresh) freshEntries << line << "\n";
      std::ofstream keptFile(std::string(folder) + "/kept.txt");
      for (const std::string& line : keptEntries) keptFile << line << "\n";
    }
    return both;
  }

  // A session holding `lines` calculated once.
  std::unique_ptr<HostSession> calculated(const std::vector<std::string>& lines) {
    std::unique_ptr<HostSession> session(new HostSession);
    EXPECT_TRUE(session->findFactories(module) && session->build()) << session->error();
    session->loadLines(lines);
    session->calculate();
    return session;
  }

  ModuleLoader module;
  std::string folder;
};

TEST_P(EditedReturnTest, FilesWhatTheSameEntriesLoadedFreshFile) {
  std::vector<std::string> lines;
  ASSERT_TRUE(IOMgmt::readAllLines(std::string(PA_SOURCE_DIR) + "/" + GetParam(), &lines));
  lines = copiesWrittenOut(lines);
  std::unique_ptr<HostSession> reader = calculated(lines);
  if (const char* variant = std::getenv("PA_EDITED_RETURN_VARIANT")) {
    // The return as another filer's: its lines with the variant's filing
    // status or residency step in them, as loaded.
    std::vector<EditStep> bases;
    for (const ReturnEdit& edit : editsOf(*reader, lines, 0)) {
      const std::string& name = edit.name;
      if (name.rfind("status ", 0) == 0 || name.rfind("residency ", 0) == 0 || name.rfind("federal status ", 0) == 0) {
        bases.push_back(edit.steps.front());
      }
    }
    const std::size_t k = std::strtoul(variant, nullptr, 10);
    if (k >= bases.size()) GTEST_SKIP() << "no variant " << k;
    lines = editedLines(lines, bases[k]);
    reader = calculated(lines);
  }
  std::vector<ReturnEdit> all = editsOf(*reader, lines, 0);
  all = editsOf(*reader, lines, all.size() * kSequencesPerStep);
  std::vector<ReturnEdit> edits = takenEvenly(all, editsPerReturn(lines.size()));
  const char* only = std::getenv("PA_EDITED_RETURN_ONLY");
  if (only != nullptr) {
    edits = {editNamed(all, only)};
  } else {
    for (const auto& always : kEditsThatRunAlways) {
      if (GetParam() == always.first) edits.push_back(editNamed(all, always.second));
    }
  }
  const char* reportPath = std::getenv("PA_EDITED_RETURN_REPORT");
  std::ofstream report;
  if (reportPath != nullptr) report.open(reportPath, std::ios::app);
  int differing = 0;
  for (const ReturnEdit& edit : edits) {
    if (edit.steps.empty()) continue;  // a name of no edit, failed above
    const Both both = bothWays(lines, edit);
    // Where the fresh entries file otherwise, the difference lies in the
    // kept places, which hold what they held before the edit.
    if (both.edited.dataFile == both.fresh.dataFile || both.edited.dataFile == both.kept.dataFile) continue;
    ++differing;
    const std::vector<std::string> onlyEdited = linesMissingFrom(both.edited.dataFile, both.kept.dataFile);
    const std::vector<std::string> onlyKept = linesMissingFrom(both.kept.dataFile, both.edited.dataFile);
    if (report.is_open()) {
      report << GetParam() << "\t" << edit.name << "\t";
      for (const std::string& line : onlyEdited) report << "E: " << line << " ;; ";
      for (const std::string& line : onlyKept) report << "F: " << line << " ;; ";
      report << "\n";
      continue;
    }
    ADD_FAILURE() << edit.name << ":\n  only after the edit:\n"
                  << joined(onlyEdited) << "  only when loaded fresh, the kept places as they were:\n"
                  << joined(onlyKept) << "  fields only after the edit:\n"
                  << joined(linesMissingFrom(both.edited.dump, both.kept.dump)) << "  fields only when loaded fresh:\n"
                  << joined(linesMissingFrom(both.kept.dump, both.edited.dump));
  }
  if (report.is_open()) {
    report << GetParam() << "\t#summary\t" << edits.size() << " edits, " << differing << " differ\n";
  }
}

INSTANTIATE_TEST_SUITE_P(ProjectReturns, EditedReturnTest, ::testing::ValuesIn(projectReturns()),
                         projectReturnTestName);

// A PA filing status box the calculation puts aside (the PA status follows
// the federal one) leaves nothing of the status it names: a part-year
// couple's rows of the PA W-2 are theirs once filled, and the spouse's W-2
// takes no row off a joint return, but the calculation settles the status
// before anything works with it. The wife's row holds the 614 first filled
// when her W-2's withholding is lowered, and keeps it.
class StatusPutAsideTest : public EditedReturnTest {};

TEST_P(StatusPutAsideTest, LeavesThePreparersRowsAsTheyWere) {
  std::vector<std::string> lines;
  ASSERT_TRUE(IOMgmt::readAllLines(std::string(PA_SOURCE_DIR) + "/" + GetParam(), &lines));
  auto box = [](const char* name) {
    return "F" + std::to_string(TableNumbers::fieldNumberOf(CatalogId::PAReturnInfoFieldIds, name));
  };
  lines = editedLines(copiesWrittenOut(lines), {"part-year",
                                                {},
                                                {{"PARETURNINFO", 1, box("FullYearResidentBox"), ""},
                                                 {"PARETURNINFO", 1, box("PartYearResidentBox"), "X"}}});
  const ReturnEdit edit{"lower the wife's withholding, then the separate box",
                        {{"lower", {}, {{"FEDW2", 2, "F32", "153.50"}}},
                         {"separate",
                          {},
                          {{"PARETURNINFO", 1, box("JointBox"), ""}, {"PARETURNINFO", 1, box("SeparateBox"), "X"}}}}};
  const Both both = bothWays(lines, edit);
  EXPECT_TRUE(both.edited.dataFile == both.fresh.dataFile || both.edited.dataFile == both.kept.dataFile)
      << "only after the edit:\n"
      << joined(linesMissingFrom(both.edited.dataFile, both.kept.dataFile)) << "only when loaded fresh:\n"
      << joined(linesMissingFrom(both.kept.dataFile, both.edited.dataFile));
  EXPECT_NE(both.edited.dump.find("PAW2:1:F36:614\n"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(JointSpouseLoss, StatusPutAsideTest, ::testing::Values("examples/joint_spouse_loss.txt"));

}  // namespace

namespace {

// The README's list of values kept as the user's: the head of each item
// (what stands before its first colon, without a remark in brackets), in
// order.
std::vector<std::string> readmeKeptItems() {
  std::ifstream readme(std::string(PA_SOURCE_DIR) + "/README.md");
  std::vector<std::string> heads;
  bool inList = false;
  for (std::string line; std::getline(readme, line);) {
    if (line.rfind("Values kept as the user's.", 0) == 0) inList = true;
    if (!inList) continue;
    if (line.rfind("- ", 0) == 0) {
      const std::string head = line.substr(2, line.find(':') - 2);
      heads.push_back(head.substr(0, head.find(" (")));
    }
    if (line.empty() && !heads.empty()) break;
  }
  return heads;
}

// Each item of the README's list heads with the printed title of a form
// whose field table marks the places it names (KEPT rows), and every such
// form has its item.
TEST(KeptPlacesTest, TheREADMENamesEveryFormWhoseTableMarksAPlace) {
  ModuleLoader module;
  ASSERT_TRUE(module.open(PA_MODULE_PATH)) << module.error();
  HostSession session;
  ASSERT_TRUE(session.findFactories(module) && session.build()) << session.error();
  const DataMgmt::TaxReturn& pa = *session.paReturn();
  std::set<std::string> marked;
  for (const KeptMark& mark : keptMarks()) {
    char title[256] = "";
    pa.formName(title, pa.getTaxReturnDesc()->findFormNamed(formOf(mark)), 1);
    marked.insert(title);
  }
  const std::vector<std::string> items = readmeKeptItems();
  EXPECT_EQ(std::set<std::string>(items.begin(), items.end()), marked);
  EXPECT_EQ(items.size(), marked.size()) << "a form has one item";
}

}  // namespace
