#include "pahost/tests/return_edits.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "catalogs/catalog_id.h"
#include "catalogs/fields/field_tables.h"
#include "host/descriptors.h"
#include "host/tax_return.h"
#include "pahost/federal_items.h"
#include "pahost/session.h"

int FieldLine::number() const {
  if (field.size() < 2 || field[0] != 'F') return 0;
  return std::atoi(field.c_str() + 1);
}

bool parseFieldLine(const std::string& line, FieldLine* out) {
  if (line.empty() || line[0] == '#') return false;
  std::istringstream in(line);
  std::string copy;
  if (!std::getline(in, out->form, ':') || !std::getline(in, copy, ':') || !std::getline(in, out->field, ':')) {
    return false;
  }
  out->value.clear();
  std::getline(in, out->value, '\0');
  if (copy.empty() || copy.find_first_not_of("0123456789") != std::string::npos) return false;
  const bool federalFigure = out->form == kFederalItemsForm;
  if (!federalFigure && (out->field.size() < 2 || out->field[0] != 'F' ||
                         out->field.find_first_not_of("0123456789", 1) != std::string::npos)) {
    return false;
  }
  out->copy = std::stoi(copy);
  return true;
}

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

std::vector<std::string> editedLines(const std::vector<std::string>& lines, const EditStep& step) {
  std::map<std::string, std::string> set;
  for (const FieldLine& f : step.set) set[f.key()] = f.value;
  std::vector<std::string> out;
  for (const std::string& line : lines) {
    FieldLine f;
    if (!parseFieldLine(line, &f)) {
      out.push_back(line);
      continue;
    }
    const std::pair<std::string, int> copy(f.form, f.copy);
    if (std::find(step.deleted.begin(), step.deleted.end(), copy) != step.deleted.end()) continue;
    const auto found = set.find(f.key());
    if (found == set.end()) {
      out.push_back(line);
    } else {
      out.push_back(f.key() + ":" + found->second);
      set.erase(found);
    }
  }
  for (const FieldLine& f : step.set) {
    if (set.count(f.key()) != 0) out.push_back(f.text());
  }
  return out;
}

std::vector<ReturnEdit> takenEvenly(const std::vector<ReturnEdit>& all, std::size_t count) {
  if (count >= all.size()) return all;
  std::vector<ReturnEdit> taken;
  for (std::size_t i = 0; i < count; ++i) taken.push_back(all[i * all.size() / count]);
  return taken;
}

namespace {

// The host number of the field `name` of a catalog's table (the session
// reaches the module only as the host does: its tables, not its catalogs).
int fieldNumber(CatalogId catalog, const char* name) {
  for (const NamedFieldInfo* row = namedFieldRows(catalog); row != nullptr && row->name != nullptr; ++row) {
    if (std::strcmp(row->name, name) == 0) return row->number;
  }
  ADD_FAILURE() << "no field " << name;
  return 0;
}

std::string infoField(const char* name) { return "F" + std::to_string(fieldNumber(CatalogId::PAReturnInfoFieldIds, name)); }

FieldLine infoLine(const std::string& field, const char* value) { return FieldLine{"PARETURNINFO", 1, field, value}; }

// What the returns' descriptors say of the field a line names.
enum class FieldKind { kAmount, kBox, kText, kUnknown };

FieldKind kindOf(const HostSession& session, const FieldLine& f) {
  if (f.form == kFederalItemsForm) return FieldKind::kAmount;
  for (const DataMgmt::TaxReturn* r : {session.federalReturn(), session.paReturn()}) {
    const DataMgmt::TaxReturnDescPtr desc = r->getTaxReturnDesc();
    const DataMgmt::FormId form = desc->findFormNamed(f.form);
    if (!form.isValid()) continue;
    const DataMgmt::TaxFormDescPtr formDesc = desc->getTaxFormDescriptor(form);
    if (formDesc.isNull()) continue;
    const DataMgmt::FormFieldDescPtr field = formDesc->getFieldDesc(DataMgmt::FieldId(f.number()));
    if (field.isNull()) return FieldKind::kUnknown;
    if (field->isBoolean()) return FieldKind::kBox;
    return field->isText() ? FieldKind::kText : FieldKind::kAmount;
  }
  return FieldKind::kUnknown;
}

// The copy limit of the form a test-data name names (0: no such form).
int copyLimit(const HostSession& session, const std::string& name) {
  for (const DataMgmt::TaxReturn* r : {session.federalReturn(), session.paReturn()}) {
    const DataMgmt::TaxReturnDescPtr desc = r->getTaxReturnDesc();
    const DataMgmt::FormId form = desc->findFormNamed(name);
    if (!form.isValid()) continue;
    const DataMgmt::TaxFormDescPtr formDesc = desc->getTaxFormDescriptor(form);
    return formDesc.isNull() ? 0 : formDesc->getMaxCopies();
  }
  return 0;
}

// The highest copy of the form a test-data name names that the session's
// returns hold.
int highestCopy(const HostSession& session, const std::string& name) {
  for (const DataMgmt::TaxReturn* r : {session.federalReturn(), session.paReturn()}) {
    const DataMgmt::FormId form = r->getTaxReturnDesc()->findFormNamed(name);
    if (form.isValid()) return r->getMaxCopies(form);
  }
  return 0;
}

std::string amountText(double amount) {
  char text[64];
  std::snprintf(text, sizeof text, "%.2f", amount);
  return text;
}

bool marked(const std::map<std::string, std::string>& values, const std::string& key) {
  const auto found = values.find(key);
  return found != values.end() && !found->second.empty() && found->second != "NO" && found->second != "[NO]" &&
         found->second != "UNTRUE";
}

EditStep setOne(const std::string& name, const FieldLine& f, const std::string& value) {
  return {name + " " + f.key(), {}, {{f.form, f.copy, f.field, value}}};
}

// An amount raised (x3 + 1,000, within the host's ten billion), lowered
// (a quarter) and zeroed; a zero amount raised only. A federal common item
// (C and its code) holds a whole number: its edits are whole numbers too,
// since the loader passes over a common item with cents, in the edited
// session and in the fresh one alike, and the two would then differ by the
// item the edited session still holds from its first load, not by the
// calculation.
void amountEdits(const FieldLine& f, std::vector<EditStep>* steps) {
  // The federal filing status is a code, edited as a filing status.
  if (f.form == kFederalItemsForm && f.field == "C1") return;
  const double amount = std::strtod(f.value.c_str(), nullptr);
  const bool whole = f.form == kFederalItemsForm && !f.field.empty() && f.field[0] == 'C';
  auto text = [whole](double value) { return whole ? std::to_string(std::llround(value)) : amountText(value); };
  if (std::fabs(amount * 3 + 1000) < 1e10) steps->push_back(setOne("raise", f, text(amount * 3 + 1000)));
  if (amount == 0) return;
  steps->push_back(setOne("lower", f, text(amount / 4)));
  steps->push_back(setOne("zero", f, "0"));
}

// The return's lines read: its field lines, the copies of each form and
// each field's value.
struct ReturnLines {
  std::vector<FieldLine> fields;
  std::map<std::string, std::set<int>> copies;
  std::map<std::string, std::string> values;
};

ReturnLines readLines(const std::vector<std::string>& lines) {
  ReturnLines read;
  for (const std::string& line : lines) {
    FieldLine f;
    if (!parseFieldLine(line, &f)) continue;
    read.fields.push_back(f);
    if (f.form != kFederalItemsForm) read.copies[f.form].insert(f.copy);
    read.values[f.key()] = f.value;
  }
  return read;
}

// Every filing status: the PA return's three and the federal return's
// five codes. The return's own is a step too, the way back from another
// in a sequence.
void filingStatusEdits(std::vector<EditStep>* steps) {
  const std::string boxes[] = {infoField("SingleBox"), infoField("JointBox"), infoField("SeparateBox")};
  for (const std::string& box : boxes) {
    EditStep step{"status " + box, {}, {}};
    for (const std::string& other : boxes) step.set.push_back(infoLine(other, other == box ? "X" : ""));
    steps->push_back(step);
  }
  for (int code = 1; code <= 5; ++code) {
    steps->push_back({"federal status " + std::to_string(code), {}, {{kFederalItemsForm, 0, "C1", std::to_string(code)}}});
  }
}

// Every residency, the return's own included.
void residencyEdits(std::vector<EditStep>* steps) {
  const std::string boxes[] = {infoField("FullYearResidentBox"), infoField("NonresidentBox"),
                               infoField("PartYearResidentBox")};
  for (const std::string& box : boxes) {
    EditStep step{"residency " + box, {}, {}};
    for (const std::string& other : boxes) step.set.push_back(infoLine(other, other == box ? "X" : ""));
    steps->push_back(step);
  }
}

// Each copy deleted; a copy added after the last of each form that has
// room for one, holding what the last holds.
void copyEdits(const HostSession& session, const ReturnLines& read, std::vector<EditStep>* steps) {
  for (const auto& form : read.copies) {
    for (int copy : form.second) {
      steps->push_back({"delete " + form.first + ":" + std::to_string(copy), {{form.first, copy}}, {}});
    }
    // The new copy holds what the file's last copy holds, after every copy
    // the return has (the calculation may have made more than the file
    // names), as a preparer adds a copy.
    const int last = *form.second.rbegin();
    const int added = std::max(last, highestCopy(session, form.first)) + 1;
    if (added > copyLimit(session, form.first)) continue;
    EditStep step{"add " + form.first + ":" + std::to_string(added), {}, {}};
    for (const FieldLine& f : read.fields) {
      if (f.form == form.first && f.copy == last) step.set.push_back({f.form, added, f.field, f.value});
    }
    steps->push_back(step);
  }
}

// The entries of each PA schedule copy emptied, and each G-L copy's state
// set to "PA".
void scheduleEdits(const ReturnLines& read, std::vector<EditStep>* steps) {
  std::map<std::string, EditStep> emptied;
  for (const FieldLine& f : read.fields) {
    if (f.form.rfind("PA", 0) != 0 || f.form == "PARETURNINFO" || f.form == "PA40") continue;
    const std::string name = "empty " + f.form + ":" + std::to_string(f.copy);
    emptied[name].name = name;
    emptied[name].set.push_back({f.form, f.copy, f.field, ""});
  }
  for (const auto& step : emptied) steps->push_back(step.second);
  const std::string otherState = "F" + std::to_string(fieldNumber(CatalogId::PAScheduleGLFieldIds, "OtherState"));
  for (int copy : read.copies.count("PASCHEDULEGL") ? read.copies.at("PASCHEDULEGL") : std::set<int>()) {
    steps->push_back({"PA on G-L " + std::to_string(copy), {}, {{"PASCHEDULEGL", copy, otherState, "PA"}}});
  }
}

// Each box turned over and each text emptied.
void entryEdits(const HostSession& session, const ReturnLines& read, std::vector<EditStep>* steps) {
  for (const FieldLine& f : read.fields) {
    switch (kindOf(session, f)) {
      case FieldKind::kAmount:
        amountEdits(f, steps);
        break;
      case FieldKind::kBox:
        steps->push_back(setOne("turn", f, marked(read.values, f.key()) ? "" : "X"));
        break;
      case FieldKind::kText:
        if (!f.value.empty()) steps->push_back(setOne("empty", f, ""));
        break;
      case FieldKind::kUnknown:
        break;
    }
  }
}

}  // namespace

std::vector<ReturnEdit> editsOf(const HostSession& session, const std::vector<std::string>& lines,
                                std::size_t mostSequences) {
  const ReturnLines read = readLines(lines);
  std::vector<EditStep> steps;
  entryEdits(session, read, &steps);
  copyEdits(session, read, &steps);
  filingStatusEdits(&steps);
  residencyEdits(&steps);
  scheduleEdits(read, &steps);
  std::vector<ReturnEdit> edits;
  for (const EditStep& step : steps) edits.push_back({step.name, {step}});
  // Pairs of steps, spread over every first step and, for each, a second
  // step a stride apart that walks the whole list.
  const std::size_t n = steps.size();
  const std::size_t pairs = n < 2 ? 0 : std::min(mostSequences, n * (n - 1));
  for (std::size_t k = 0; k < pairs; ++k) {
    const std::size_t first = k * n / pairs;
    const std::size_t second = (first + 1 + (k * 7919) % (n - 1)) % n;
    edits.push_back({steps[first].name + ", then " + steps[second].name, {steps[first], steps[second]}});
  }
  return edits;
}
