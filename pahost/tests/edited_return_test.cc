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
};

std::size_t editsPerReturn(std::size_t lineCount) {
  const char* wanted = std::getenv("PA_EDITED_RETURN_EDITS");
  if (wanted == nullptr || *wanted == '\0') {
    return lineCount > kLargeReturnLines ? kSampledEditsOfALargeReturn : kSampledEdits;
  }
  if (std::string(wanted) == "all") return static_cast<std::size_t>(-1);
  return static_cast<std::size_t>(std::strtoul(wanted, nullptr, 10));
}

// The return's lines with each field's value as the calculated return
// holds it (`dump`; empty where it holds none): the user's entries as the
// host keeps them, an entry the calculation limited or closed included.
// The federal figures are the user's as written. A line of a field the
// calculation holds closed holds the calculation's figure (a return file
// may name such a field, and the loader fills it as if typed; an answer the
// user gave before the field closed, which the calculation answered over,
// is no more), which no user could type there: the fresh entries leave it
// empty. Entries the calculation keeps while closed are kept places.
std::vector<std::string> entriesAsHeld(const std::vector<std::string>& lines, const std::string& dump,
                                       const DataMgmt::TaxReturn& pa) {
  std::map<std::string, std::string> held;
  std::istringstream in(dump);
  for (std::string line; std::getline(in, line);) {
    FieldLine f;
    if (parseFieldLine(line, &f)) held[f.key()] = f.value;
  }
  std::vector<std::string> out;
  for (const std::string& line : lines) {
    FieldLine f;
    if (!parseFieldLine(line, &f) || f.number() == 0) {
      out.push_back(line);
      continue;
    }
    const auto found = held.find(f.key());
    std::string value = found == held.end() ? std::string() : found->second;
    const DataMgmt::FormId form = pa.getTaxReturnDesc()->findFormNamed(f.form);
    const DataMgmt::TaxForm* copy = form.isValid() ? pa.getForm(form, static_cast<uint16_t>(f.copy)) : nullptr;
    if (copy != nullptr && copy->isProtected(DataMgmt::FieldId(f.number()))) value.clear();
    out.push_back(f.key() + ":" + value);
  }
  return out;
}

// The field lines `lines` with `over` in them: a line of the same field
// takes its value in place, the others are added at the end (a step that
// sets them).
std::vector<std::string> overridden(const std::vector<std::string>& lines, const std::vector<std::string>& over) {
  EditStep step;
  for (const std::string& line : over) {
    FieldLine f;
    if (parseFieldLine(line, &f)) step.set.push_back(f);
  }
  return editedLines(lines, step);
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
  // the entries loaded fresh; both filed. The fresh entries are the user's
  // as the edited session holds them before the edit's last step (the
  // return's lines with the earlier steps in them, each with the value the
  // calculation after the step left, and the kept places' values), with
  // the last step in them: each step must leave the return as the entries
  // it leaves would file.
  std::pair<Filed, Filed> bothWays(const std::vector<std::string>& lines, const ReturnEdit& edit) {
    std::vector<std::string> entries = lines;
    std::vector<std::string> held;
    std::unique_ptr<KeptValues> kept;
    const Filed edited = filed([&](HostSession& s) {
      s.loadLines(lines);
      s.calculate();
      for (std::size_t i = 0; i < edit.steps.size(); ++i) {
        if (i > 0) s.calculate();
        const EditStep& step = edit.steps[i];
        if (i + 1 == edit.steps.size()) {
          const std::string heldDump = dumpOf(s);
          held = entriesAsHeld(entries, heldDump, *s.paReturn());
          kept.reset(new KeptValues(*s.paReturn(), heldDump));
        }
        entries = editedLines(entries, step);
        for (const auto& copy : step.deleted) s.deleteCopy(copy.first, static_cast<uint16_t>(copy.second));
        std::vector<std::string> set;
        for (const FieldLine& f : step.set) set.push_back(f.text());
        s.loadLines(set);
      }
    });
    held = editedLines(overridden(held, kept->entries(edited.dump)), edit.steps.back());
    const Filed fresh = filed([&](HostSession& s) { s.loadLines(held); });
    if (const char* folder = std::getenv("PA_EDITED_RETURN_DUMPS")) {
      // For a look at one edit: both sessions' fields and the fresh entries.
      std::ofstream(std::string(folder) + "/edited.dump") << edited.dump;
      std::ofstream(std::string(folder) + "/fresh.dump") << fresh.dump;
      std::ofstream entries(std::string(folder) + "/fresh.txt");
      for (const std::string& line : held) entries << line << "\n";
    }
    return {edited, fresh};
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
  if (only != nullptr) edits.clear();
  for (const ReturnEdit& edit : all) {
    bool named = only != nullptr && edit.name == only;
    for (const auto& always : kEditsThatRunAlways) {
      named = named || (only == nullptr && GetParam() == always.first && edit.name == always.second);
    }
    if (named) edits.push_back(edit);
  }
  const char* reportPath = std::getenv("PA_EDITED_RETURN_REPORT");
  std::ofstream report;
  if (reportPath != nullptr) report.open(reportPath, std::ios::app);
  int differing = 0;
  for (const ReturnEdit& edit : edits) {
    const auto both = bothWays(lines, edit);
    const Filed& edited = both.first;
    const Filed& fresh = both.second;
    if (edited.dataFile == fresh.dataFile) continue;
    ++differing;
    const std::vector<std::string> onlyEdited = linesMissingFrom(edited.dataFile, fresh.dataFile);
    const std::vector<std::string> onlyFresh = linesMissingFrom(fresh.dataFile, edited.dataFile);
    if (report.is_open()) {
      report << GetParam() << "\t" << edit.name << "\t";
      for (const std::string& line : onlyEdited) report << "E: " << line << " ;; ";
      for (const std::string& line : onlyFresh) report << "F: " << line << " ;; ";
      report << "\n";
      continue;
    }
    ADD_FAILURE() << edit.name << ":\n  only after the edit:\n"
                  << joined(onlyEdited) << "  only when loaded fresh:\n"
                  << joined(onlyFresh) << "  fields only after the edit:\n"
                  << joined(linesMissingFrom(edited.dump, fresh.dump)) << "  fields only when loaded fresh:\n"
                  << joined(linesMissingFrom(fresh.dump, edited.dump));
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
  const auto both = bothWays(lines, edit);
  EXPECT_TRUE(both.first.dataFile == both.second.dataFile)
      << "only after the edit:\n"
      << joined(linesMissingFrom(both.first.dataFile, both.second.dataFile)) << "only when loaded fresh:\n"
      << joined(linesMissingFrom(both.second.dataFile, both.first.dataFile));
  EXPECT_NE(both.first.dump.find("PAW2:1:F36:614\n"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(JointSpouseLoss, StatusPutAsideTest, ::testing::Values("examples/joint_spouse_loss.txt"));

}  // namespace
