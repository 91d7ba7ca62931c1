// An edited return files what the same return loaded fresh files.
//
// A desktop host loads a calculated return, lets the user edit it,
// calculates once and files. What it files must not depend on the
// return's history: for every return the project holds and edits of each
// kind, the data file written after load, calculation, edit and one
// calculation is byte for byte the data file of the same entries loaded
// fresh and calculated once. The entries are the return's lines with the
// values the calculated return holds (an entry the calculation limited
// or closed as it holds it), with the edit in them. The edits: amounts
// raised and lowered, a W-2, a G-L copy and a dependant deleted, the
// filing status and the residency switched, a G-L copy's state set to
// "PA" and a PA schedule's entries emptied.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "catalogs/catalog_id.h"
#include "catalogs/fields/field_tables.h"
#include "host/descriptors.h"
#include "host/io.h"
#include "host/system_mgr.h"
#include "host/tax_return.h"
#include "pahost/module_loader.h"
#include "pahost/session.h"
#include "pahost/tests/session_test_support.h"

namespace {

// A field line of the test-data format: FORM:copy:Fnumber:value.
struct FieldLine {
  std::string form;
  int copy = 0;
  int field = 0;
  std::string value;
  std::string key() const { return form + ":" + std::to_string(copy) + ":F" + std::to_string(field); }
  std::string text() const { return key() + ":" + value; }
};

bool parseFieldLine(const std::string& line, FieldLine* out) {
  std::istringstream in(line);
  std::string copy;
  std::string field;
  if (!std::getline(in, out->form, ':') || !std::getline(in, copy, ':') || !std::getline(in, field, ':')) {
    return false;
  }
  std::getline(in, out->value, '\0');
  if (copy.empty() || copy.find_first_not_of("0123456789") != std::string::npos) return false;
  if (field.size() < 2 || field[0] != 'F' || field.find_first_not_of("0123456789", 1) != std::string::npos) {
    return false;
  }
  out->copy = std::stoi(copy);
  out->field = std::stoi(field.substr(1));
  return true;
}

// The lines with every line for copies 1 to N ("FORM:N+:...") written
// out, one per copy, so that an edit can name each copy.
std::vector<std::string> copiesWrittenOut(const std::vector<std::string>& lines) {
  std::vector<std::string> out;
  for (const std::string& line : lines) {
    const std::size_t first = line.find(':');
    const std::size_t second = first == std::string::npos ? first : line.find(':', first + 1);
    const std::string copy = second == std::string::npos ? "" : line.substr(first + 1, second - first - 1);
    if (copy.size() < 2 || copy.back() != '+' || line[0] == '#') {
      out.push_back(line);
      continue;
    }
    const int last = std::atoi(copy.c_str());
    for (int c = 1; c <= last; ++c) {
      out.push_back(line.substr(0, first + 1) + std::to_string(c) + line.substr(second));
    }
  }
  return out;
}

// The lines, each field line as `rewrite` leaves it (given the line to
// change; false leaves it out), the others as they are.
template <class Rewrite>
std::vector<std::string> withFieldLines(const std::vector<std::string>& lines, Rewrite rewrite) {
  std::vector<std::string> out;
  for (const std::string& line : lines) {
    FieldLine f;
    std::string kept = line;
    if (!parseFieldLine(line, &f) || rewrite(f, &kept)) out.push_back(kept);
  }
  return out;
}

// The host number of the field `name` of a catalog's table (the session
// reaches the module only as the host does: its tables, not its catalogs).
int fieldNumber(CatalogId catalog, const char* name) {
  for (const NamedFieldInfo* row = namedFieldRows(catalog); row != nullptr && row->name != nullptr; ++row) {
    if (std::strcmp(row->name, name) == 0) return row->number;
  }
  ADD_FAILURE() << "no field " << name;
  return 0;
}
int infoBox(const char* name) { return fieldNumber(CatalogId::PAReturnInfoFieldIds, name); }

// An edit as the user makes it: copies deleted, then fields set (an
// empty value empties the field).
struct ReturnEdit {
  std::string name;
  std::vector<std::pair<std::string, int>> deleted;
  std::vector<FieldLine> set;
};

// The return's lines with the edit in them: a deleted copy's lines left
// out, a field set in place of its line, or added after the others.
std::vector<std::string> editedLines(const std::vector<std::string>& lines, const ReturnEdit& edit) {
  std::map<std::string, std::string> set;
  for (const FieldLine& f : edit.set) set[f.key()] = f.value;
  std::vector<std::string> out = withFieldLines(lines, [&](const FieldLine& f, std::string* line) {
    const std::pair<std::string, int> copy(f.form, f.copy);
    if (std::find(edit.deleted.begin(), edit.deleted.end(), copy) != edit.deleted.end()) return false;
    const auto found = set.find(f.key());
    if (found != set.end()) {
      *line = f.key() + ":" + found->second;
      set.erase(found);
    }
    return true;
  });
  for (const FieldLine& f : edit.set) {
    if (set.count(f.key()) != 0) out.push_back(f.text());
  }
  return out;
}

// The first and the last of a form's copies.
std::set<int> firstAndLast(const std::set<int>& copies) {
  return copies.empty() ? copies : std::set<int>{*copies.begin(), *copies.rbegin()};
}

// The most edits a return gets (its run's cost grows with them).
const std::size_t kMostEdits = 30;

// Whether the field a line names is an amount, as the returns describe it.
bool isAmount(const HostSession& session, const FieldLine& f) {
  for (const DataMgmt::TaxReturn* r : {session.federalReturn(), session.paReturn()}) {
    const DataMgmt::TaxReturnDescPtr desc = r->getTaxReturnDesc();
    const DataMgmt::FormId form = desc->findFormNamed(f.form);
    if (!form.isValid()) continue;
    const DataMgmt::TaxFormDescPtr formDesc = desc->getTaxFormDescriptor(form);
    if (formDesc.isNull()) continue;
    const DataMgmt::FormFieldDescPtr field = formDesc->getFieldDesc(DataMgmt::FieldId(f.field));
    return !field.isNull() && !field->isText() && !field->isBoolean();
  }
  return false;
}

std::string scaled(const std::string& value, double factor, double plus) {
  char text[64];
  std::snprintf(text, sizeof text, "%.2f", std::strtod(value.c_str(), nullptr) * factor + plus);
  return text;
}

bool marked(const std::map<std::string, std::string>& values, const std::string& key) {
  const auto found = values.find(key);
  return found != values.end() && !found->second.empty() && found->second != "NO";
}

// Where the PA W-2's compensation and tax columns are open to the user
// (a filer who is not a full-year resident, or a W2-S situation such as a
// W-2 of another state, or PA W-2 amounts typed), the amount first filled
// into an empty row is kept as the user's: the host cannot tell it from a
// typed one. So there a federal W-2's state amounts (all but its wages),
// which reach the PA W-2 only through that first fill, are not edited, and
// the residency is not switched (rows filled under one residency stay the
// user's under the other). `calculated` is the return calculated once.
bool paW2ColumnsOpen(const HostSession& calculated, const std::map<std::string, std::set<int>>& copies,
                     const std::map<std::string, std::string>& values) {
  const DataMgmt::TaxReturn& pa = *calculated.paReturn();
  const DataMgmt::FormId w2s = pa.getTaxReturnDesc()->findFormNamed("PASCHEDULEW2S");
  return copies.count("PAW2") != 0 ||
         !marked(values, "PARETURNINFO:1:F" + std::to_string(infoBox("FullYearResidentBox"))) ||
         pa.formYes(w2s, 1, DataMgmt::FieldId(fieldNumber(CatalogId::PAScheduleW2SFieldIds, "AnySituationBox")));
}

FieldLine infoLine(int field, const char* value) { return FieldLine{"PARETURNINFO", 1, field, value}; }

// The filing status switched: joint to single, anything else to joint.
ReturnEdit filingStatusSwitched(const std::map<std::string, std::string>& values) {
  const int single = infoBox("SingleBox");
  const int separate = infoBox("SeparateBox");
  const int joint = infoBox("JointBox");
  if (marked(values, "PARETURNINFO:1:F" + std::to_string(joint))) {
    return {"single", {}, {infoLine(joint, ""), infoLine(separate, ""), infoLine(single, "X")}};
  }
  return {"joint", {}, {infoLine(single, ""), infoLine(separate, ""), infoLine(joint, "X")}};
}

// The edits made of a return (`session` holds it, calculated): three of
// its nonzero amounts raised and lowered, spread over the file; the first
// and the last W-2, G-L copy and dependant deleted; the filing status
// switched between joint and single; each other residency; the state of
// the first and the last G-L copy set to "PA"; the entries of each PA
// schedule's first and last copy emptied.
std::vector<ReturnEdit> editsOf(const HostSession& session, const std::vector<std::string>& lines) {
  std::vector<FieldLine> fields;
  std::map<std::string, std::set<int>> copies;
  std::map<std::string, std::string> values;
  for (const std::string& line : lines) {
    FieldLine f;
    if (!parseFieldLine(line, &f)) continue;
    fields.push_back(f);
    copies[f.form].insert(f.copy);
    values[f.key()] = f.value;
  }
  const bool columnsOpen = paW2ColumnsOpen(session, copies, values);
  std::vector<FieldLine> amounts;
  for (const FieldLine& f : fields) {
    // Raised, an amount stays within what the host takes (ten billion).
    const double amount = std::strtod(f.value.c_str(), nullptr);
    if (!isAmount(session, f) || amount == 0 || !(std::fabs(amount * 3 + 1000) < 1e10)) continue;
    if (columnsOpen && f.form == "FEDW2" && f.field != fieldNumber(CatalogId::FedW2FieldIds, "Wages")) continue;
    amounts.push_back(f);
  }
  std::vector<ReturnEdit> edits;
  for (std::size_t i = 0; i < 3 && i < amounts.size(); ++i) {
    const FieldLine& f = amounts[amounts.size() == 1 ? 0 : i * (amounts.size() - 1) / 2];
    edits.push_back({"raise " + f.key(), {}, {{f.form, f.copy, f.field, scaled(f.value, 3, 1000)}}});
    edits.push_back({"lower " + f.key(), {}, {{f.form, f.copy, f.field, scaled(f.value, 0.25, 0)}}});
  }
  for (const char* form : {"FEDW2", "PASCHEDULEGL", "FEDDEPENDENTS"}) {
    const std::set<int>& held = copies[form];
    if (held.empty()) continue;
    for (int copy : firstAndLast(held)) {
      edits.push_back({"delete " + std::string(form) + ":" + std::to_string(copy), {{form, copy}}, {}});
    }
  }
  edits.push_back(filingStatusSwitched(values));
  const int residencyBoxes[] = {infoBox("FullYearResidentBox"), infoBox("NonresidentBox"),
                                infoBox("PartYearResidentBox")};
  for (int box : residencyBoxes) {
    if (columnsOpen || marked(values, "PARETURNINFO:1:F" + std::to_string(box))) continue;
    ReturnEdit edit{"residency F" + std::to_string(box), {}, {}};
    for (int other : residencyBoxes) edit.set.push_back(infoLine(other, other == box ? "X" : ""));
    edits.push_back(edit);
  }
  const int otherState = fieldNumber(CatalogId::PAScheduleGLFieldIds, "OtherState");
  for (int copy : firstAndLast(copies["PASCHEDULEGL"])) {
    edits.push_back({"PA on G-L " + std::to_string(copy), {}, {{"PASCHEDULEGL", copy, otherState, "PA"}}});
  }
  std::map<std::string, ReturnEdit> emptied;
  for (const FieldLine& f : fields) {
    if (f.form.rfind("PA", 0) != 0 || f.form == "PARETURNINFO" || f.form == "PA40") continue;
    // The first and the last copy of a form with many.
    if (firstAndLast(copies[f.form]).count(f.copy) == 0) continue;
    const std::string name = "empty " + f.form + ":" + std::to_string(f.copy);
    emptied[name].name = name;
    emptied[name].set.push_back({f.form, f.copy, f.field, ""});
  }
  // A return of many schedules gives many of these: the edits stay at
  // most kMostEdits (at least one emptied schedule), the emptied schedules
  // taken evenly.
  const std::size_t room = edits.size() < kMostEdits ? kMostEdits - edits.size() : 1;
  const std::size_t taken = std::min(room, emptied.size());
  auto e = emptied.begin();
  for (std::size_t i = 0, at = 0; i < taken; ++i) {
    const std::size_t next = i * emptied.size() / taken;
    std::advance(e, static_cast<std::ptrdiff_t>(next - at));
    at = next;
    edits.push_back(e->second);
  }
  return edits;
}

// The lines an edit starts from. A PA W-2 row's typed amounts belong to
// the W-2 the row lists, but the file names rows by position: where a
// deleted W-2 moves the ones after it up a row, the return is taken
// without them (in both sessions).
std::vector<std::string> baseLines(const std::vector<std::string>& lines, const ReturnEdit& edit) {
  bool movesW2s = false;
  for (const auto& copy : edit.deleted) {
    if (copy.first != "FEDW2") continue;
    for (const std::string& line : lines) {
      FieldLine f;
      movesW2s = movesW2s || (parseFieldLine(line, &f) && f.form == "FEDW2" && f.copy > copy.second);
    }
  }
  if (!movesW2s) return lines;
  std::vector<std::string> kept;
  for (const std::string& line : lines) {
    if (line.rfind("PAW2:", 0) != 0) kept.push_back(line);
  }
  return kept;
}

// The return's lines with each field's value as the calculated return
// holds it (`dump`; empty where it holds none): the user's entries as the
// host keeps them, an entry the calculation limited or closed included.
std::vector<std::string> entriesAsHeld(const std::vector<std::string>& lines, const std::string& dump) {
  std::map<std::string, std::string> held;
  std::istringstream in(dump);
  for (std::string line; std::getline(in, line);) {
    FieldLine f;
    if (parseFieldLine(line, &f)) held[f.key()] = f.value;
  }
  return withFieldLines(lines, [&](const FieldLine& f, std::string* line) {
    const auto found = held.find(f.key());
    *line = f.key() + ":" + (found == held.end() ? std::string() : found->second);
    return true;
  });
}

std::string fileText(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

// The lines of data file `a` that `b` lacks, each after the head of its
// record ("D PASCHEDULESP 001 X T 1 | 00315.008.001 U"), at most 400.
std::string linesMissingFrom(const std::string& a, const std::string& b) {
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
  std::string text;
  for (std::size_t i = 0; i < only.size() && i < 400; ++i) text += "    " + only[i] + "\n";
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

  ModuleLoader module;
  std::string folder;
};

TEST_P(EditedReturnTest, FilesWhatTheSameEntriesLoadedFreshFile) {
  std::vector<std::string> lines;
  ASSERT_TRUE(IOMgmt::readAllLines(std::string(PA_SOURCE_DIR) + "/" + GetParam(), &lines));
  lines = copiesWrittenOut(lines);
  HostSession reader;
  ASSERT_TRUE(reader.findFactories(module) && reader.build()) << reader.error();
  reader.loadLines(lines);
  reader.calculate();
  for (const ReturnEdit& edit : editsOf(reader, lines)) {
    const std::vector<std::string> base = baseLines(lines, edit);
    std::vector<std::string> held;
    const Filed edited = filed([&](HostSession& s) {
      s.loadLines(base);
      s.calculate();
      held = entriesAsHeld(base, dumpOf(s));
      for (const auto& copy : edit.deleted) s.deleteCopy(copy.first, static_cast<uint16_t>(copy.second));
      std::vector<std::string> set;
      for (const FieldLine& f : edit.set) set.push_back(f.text());
      s.loadLines(set);
    });
    const Filed fresh = filed([&](HostSession& s) { s.loadLines(editedLines(held, edit)); });
    EXPECT_TRUE(edited.dataFile == fresh.dataFile)
        << edit.name << ":\n  only after the edit:\n"
        << linesMissingFrom(edited.dataFile, fresh.dataFile) << "  only when loaded fresh:\n"
        << linesMissingFrom(fresh.dataFile, edited.dataFile) << "  fields only after the edit:\n"
        << linesMissingFrom(edited.dump, fresh.dump) << "  fields only when loaded fresh:\n"
        << linesMissingFrom(fresh.dump, edited.dump);
  }
}

INSTANTIATE_TEST_SUITE_P(ProjectReturns, EditedReturnTest, ::testing::ValuesIn(projectReturns()),
                         projectReturnTestName);

}  // namespace
