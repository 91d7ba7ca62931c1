// Which entries keep a copy in the return. For every form whose routine
// keeps a copy for an entry of the user's, on returns where the copy's own
// test fails: one field at a time holds an entry (an amount of 7 and of -7,
// a text and an owner code, or a mark), the routine calculates, and the
// field is left to the user when it still holds the entry, open, and the
// calculation did not write the same there itself. Then
//   - a field left to the user is marked the user's in the form's table,
//     is the user's by the routine's own code in that situation, or is
//     named below as not the user's, with the reason (a field no table row
//     names is no entry the module knows);
//   - the copy stays in the return, as the host marked it, exactly when
//     the field is left to the user and is the user's;
//   - every field the table marks is left to the user in some situation.
#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <initializer_list>
#include <set>
#include <string>
#include <vector>

#include "calc/pa/tests/pa40_fixture.h"
#include "catalogs/fields/user_fields.h"
#include "catalogs/run_notation.h"
#include "host/descriptors.h"

namespace {

using FieldId = Primitives::OVImmutableIdentifier;
using FieldValue = DataMgmt::FieldValue;
using FieldMatch = std::function<bool(const FieldId&)>;

template <class Catalog>
FieldMatch field(const NamedField<Catalog>& f) {
  return [&f](const FieldId& id) { return id == f.id(); };
}
// Rows `from` to `to` (counted from 0) of a column, every row by default.
template <class Catalog>
FieldMatch column(const NamedColumn<Catalog>& c, int from = 0, int to = -1) {
  return [&c, from, to](const FieldId& id) {
    for (int row = from; row <= (to < 0 ? c.rows() - 1 : to); ++row) {
      if (id == c.at(row)) return true;
    }
    return false;
  };
}
template <class Catalog>
FieldMatch fields(std::initializer_list<const NamedField<Catalog>*> list) {
  return [named = std::vector<const NamedField<Catalog>*>(list)](const FieldId& id) {
    for (const NamedField<Catalog>* f : named) {
      if (id == f->id()) return true;
    }
    return false;
  };
}
// Every member of `catalog` from `first` to `last`, named or not.
template <class Catalog>
FieldMatch members(const Catalog& catalog, const NamedField<Catalog>& first, const NamedField<Catalog>& last) {
  return [&catalog, &first, &last](const FieldId& id) {
    for (int m = first.member(); m <= last.member(); ++m) {
      if (id == catalog[static_cast<std::size_t>(m)]) return true;
    }
    return false;
  };
}
template <class Catalog>
FieldMatch marksOf(const UserFields<Catalog>& fields) {
  return [&fields](const FieldId& id) { return fields.holds(id); };
}

// Fields named with the reason they are on their list.
struct Named {
  FieldMatch match;
  const char* reason;
};

bool anyOf(const std::vector<Named>& list, const FieldId& id) {
  for (const Named& n : list) {
    if (n.match(id)) return true;
  }
  return false;
}

class UserFieldsTest;

// A return on which the copy's own test fails with nothing of the user's
// on the copy; or, for fields open only beside an entry of the user's or
// only while the copy's test holds (`staysAnyway`), one on which the copy
// stays whatever the field holds, which tells only which fields the
// calculation leaves. `usersByCode` are the fields the routine takes as
// the user's there by its own code.
struct Situation {
  const char* name;
  uint16_t copy;
  std::function<void(UserFieldsTest&)> setUp;
  bool staysAnyway;
  std::vector<Named> usersByCode;
};

// A form whose routine keeps a copy for an entry of the user's: its
// catalog's table (for the names in messages), the fields the table marks,
// the situations, the fields left to the user somewhere that are not the
// user's, and the fields whose mark disagrees with what the calculation
// leaves (left to the user and not marked, or marked and always written),
// kept as they are until the decision is taken.
struct FormCase {
  const char* name;
  const Primitives::OVImmutableFormIdentifier* form;
  const char* runs;
  FieldMatch marked;
  std::vector<Situation> situations;
  std::vector<Named> notUsers;
  std::vector<Named> disagreeing;
};

const std::vector<FormCase>& formCases();

// Every row of every field table, each table's first row giving its
// catalog in run notation: the names of the fields in messages, and
// whether a table names a field at all.
struct TableRow {
  const char* runs;  // a table's first row only
  const char* name;
  int first;
  int step;
  int rows;
};
const TableRow kTableRows[] = {
#define FIELD_TABLE(form, catalog) {k##catalog##Runs, nullptr, 0, 0, 0},
#define FORM_FIELD(name, member, number, label) {nullptr, #name, member, 0, 1},
#define FORM_COLUMN(name, first, number, step, rows) {nullptr, #name, first, step, rows},
#define END_FIELD_TABLE
#include "catalogs/fields/all_tables.def"
#undef FIELD_TABLE
#undef FORM_FIELD
#undef FORM_COLUMN
#undef END_FIELD_TABLE
};

// The name of host field `number` in the table of the catalog `runs`, with
// its row in a column; empty for a field no row names.
std::string nameOf(const char* runs, int number) {
  bool inTable = false;
  for (const TableRow& row : kTableRows) {
    if (row.name == nullptr) {
      inTable = row.runs == runs;
      continue;
    }
    for (int r = 0; inTable && r < row.rows; ++r) {
      if (RunNotation::nth(runs, static_cast<std::size_t>(row.first + r * row.step)) != number) continue;
      return row.rows == 1 ? row.name : std::string(row.name) + " row " + std::to_string(r + 1);
    }
  }
  return "";
}

// What became of the copy: it left the return, the user's entry kept it as
// the host marked it, or its own test held.
enum class Outcome { kLeft, kKeptForUser, kTestHeld };

Outcome outcomeOf(const DataMgmt::TaxForm& copy) {
  if (!copy.isDataEntered()) return Outcome::kLeft;
  return copy.dataEnteredByUser() ? Outcome::kKeptForUser : Outcome::kTestHeld;
}

bool same(const FieldValue& a, const FieldValue& b) {
  return a.kind == b.kind && a.number == b.number && a.text == b.text;
}

// The entries a user may make in a field of the kind `traits` tell: a
// text as typed and one a code field takes ("S", the spouse), an amount
// above 0 and one below.
std::vector<FieldValue> entriesFor(const DataMgmt::FieldTraits& traits) {
  if (traits.isText()) return {FieldValue::ofText("ENTERED"), FieldValue::ofText("S")};
  if (traits.isBoolean()) return {FieldValue::mark()};
  return {FieldValue::of(7), FieldValue::of(-7)};
}

class UserFieldsTest : public PA40Test, public ::testing::WithParamInterface<std::size_t> {
 public:
  using PA40Test::mark;
  using PA40Test::number;
  using PA40Test::text;
  // A PA filing status, the federal one alike (1 single, 2 joint, 3
  // separate), and a residency box (0 full-year, 1 part-year).
  void setStatus(int status) {
    setFilingStatus(status);
    federal()->setCommonItem(1, status);
  }
  void setResidency(int residency) { PA40Test::setResidency(residency); }
  void setCommonItem(int code, long value) { federal()->setCommonItem(code, value); }
  void exists(const FormId& form, uint16_t copy = 1) { copyOf(form, copy); }
  // A source reference "form/copy" of the compensation worksheet's row.
  void reference(int row, const FormId& form, int copy) {
    text(kFormID_PAMiscCompWorksheet, PAMiscCompWorksheet::kRowSourceReference.at(row),
         std::to_string(form.getNumber()) + "/" + std::to_string(copy));
  }

 protected:
  const FormCase& formCase() { return formCases()[GetParam()]; }

  // A fresh return of the situation with the copy part of the return as the
  // host marks a copy the user entered, `entry` in `field` (none when
  // `field` is null), calculated by the copy's routine.
  const DataMgmt::TaxForm& calculate(const Situation& s, const FieldId& field, const FieldValue& entry) {
    const FormCase& c = formCase();
    restart();
    s.setUp(*this);
    DataMgmt::TaxForm& copy = copyOf(*c.form, s.copy);
    copy.setDataEnteredFlag(true, true);
    if (field.isValid()) copy.store(field, entry);
    compute(*c.form, s.copy);
    return copyOf(*c.form, s.copy);
  }

  // Checks every field of the form in situation `s`; adds the numbers of
  // those it leaves to the user to `left`.
  void check(const Situation& s, std::set<int>& left) {
    const FormCase& c = formCase();
    const DataMgmt::TaxFormDescPtr desc = pa->getTaxFormDescriptor(*c.form);
    const std::vector<FieldId>& ids = desc->fieldIds();
    std::vector<FieldValue> before;
    {
      const DataMgmt::TaxForm& copy = calculate(s, Primitives::kNullFieldID, FieldValue());
      EXPECT_EQ(outcomeOf(copy) == Outcome::kLeft, !s.staysAnyway) << s.name << ", as the situation has it";
      for (const FieldId& id : ids) before.push_back(copy.stored(id));
    }
    for (std::size_t k = 0; k < ids.size(); ++k) {
      const std::string name = nameOf(c.runs, ids[k].getNumber());
      const std::string where = std::string(s.name) + ", " + (name.empty() ? "unnamed" : name) + " (" +
                                std::to_string(ids[k].getNumber()) + ")";
      const bool marked = c.marked(ids[k]);
      const bool users = marked || anyOf(s.usersByCode, ids[k]);
      const bool notUsers = anyOf(c.notUsers, ids[k]) || (!marked && anyOf(c.disagreeing, ids[k]));
      EXPECT_FALSE(marked && anyOf(c.notUsers, ids[k])) << where << ": marked the user's and named as not";
      for (const FieldValue& entry : entriesFor(desc->traitsOf(ids[k]))) {
        const DataMgmt::TaxForm& copy = calculate(s, ids[k], entry);
        const bool isLeft = same(copy.stored(ids[k]), entry) && !copy.isProtected(ids[k]) && !same(before[k], entry);
        if (isLeft) {
          left.insert(ids[k].getNumber());
          // A field no table names is not the user's on any form: no routine
          // reads or fills it, so what the user types there is the host's
          // own line of the copy, filed while the copy is, and keeps no copy.
          EXPECT_TRUE(users || notUsers || name.empty()) << where << ": left to the user, neither marked nor named";
        }
        const Outcome outcome = outcomeOf(copy);
        if (s.staysAnyway || outcome == Outcome::kTestHeld) continue;
        EXPECT_EQ(outcome == Outcome::kKeptForUser, isLeft && users)
            << where << (isLeft && users ? ": the user's entry does not keep the copy"
                                         : ": keeps the copy, and is not the user's entry");
      }
    }
  }
};

TEST_P(UserFieldsTest, EveryFieldLeftToTheUserIsMarkedOrNamed) {
  const FormCase& c = formCase();
  std::set<int> left;
  for (const Situation& s : c.situations) check(s, left);
  const DataMgmt::TaxFormDescPtr desc = pa->getTaxFormDescriptor(*c.form);
  for (const FieldId& id : desc->fieldIds()) {
    const bool leftSomewhere = left.count(id.getNumber()) > 0;
    const std::string where = nameOf(c.runs, id.getNumber()) + " (" + std::to_string(id.getNumber()) + ")";
    const bool disagreeing = anyOf(c.disagreeing, id);
    EXPECT_TRUE(leftSomewhere || !c.marked(id) || disagreeing) << where << ": marked the user's, always written";
    EXPECT_TRUE(!disagreeing || leftSomewhere != c.marked(id)) << where << ": its mark agrees after all";
    EXPECT_TRUE(leftSomewhere || !anyOf(c.notUsers, id)) << where << ": named as not the user's, never left";
  }
}

std::string caseName(const ::testing::TestParamInfo<std::size_t>& info) {
  std::string name;
  for (const char* p = formCases()[info.param].name; *p != '\0'; ++p) {
    if (std::isalnum(static_cast<unsigned char>(*p))) name += *p;
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(Forms, UserFieldsTest, ::testing::Range<std::size_t>(0, formCases().size()), caseName);

// ---- the forms ----

using T = UserFieldsTest;
const int kSingle = PADataMgmt::kFilingSingle;
const int kJoint = PADataMgmt::kFilingJoint;
const int kSeparate = PADataMgmt::kFilingSeparate;
const int kFullYear = PADataMgmt::kFullYearResident;
const int kPartYear = PADataMgmt::kPartYearResident;

void joint(T& t) { t.setStatus(kJoint); }
void single(T& t) { t.setStatus(kSingle); }

// A joint return with `boxes` of copy 1 of `form` marked.
template <class Catalog>
std::function<void(T&)> jointMarking(const Primitives::OVImmutableFormIdentifier& form,
                                     std::initializer_list<const NamedField<Catalog>*> boxes) {
  return [&form, marked = std::vector<const NamedField<Catalog>*>(boxes)](T& t) {
    t.setStatus(kJoint);
    for (const NamedField<Catalog>* box : marked) t.mark(form, *box);
  };
}

// Schedule SP: a joint return whose filers are both dependents on the
// federal return.
void dependents(T& t) {
  t.setStatus(kJoint);
  t.mark(kFormID_FedFilerInfo, FedFilerInfo::kTaxpayerClaimedAsDependentBox);
  t.mark(kFormID_FedFilerInfo, FedFilerInfo::kSpouseClaimedAsDependentBox);
}

// Schedule G-L: PA income of the taxpayer in every income row.
void incomeInEveryRow(T& t) {
  t.setStatus(kJoint);
  for (const auto* income : {&PA40::kTaxpayerCompensation, &PA40::kTaxpayerBusinessIncome,
                             &PA40::kTaxpayerRentsTotal}) {
    t.number(kFormID_PA40, *income, 1000);
  }
  t.number(kFormID_PAScheduleA, PAScheduleA::kTotalInterest, 1000);
  t.number(kFormID_PAScheduleB, PAScheduleB::kTotalDividends, 1000);
  t.number(kFormID_PAScheduleD, PAScheduleD::kTotalGain, 1000);
  t.number(kFormID_PAScheduleJ, PAScheduleJ::kTaxpayerTotal, 1000);
  t.number(kFormID_PAW2GIncome, PAW2GIncome::kTaxpayerNetWinnings, 1000);
}

// The compensation worksheet of a part-year joint return whose every row
// stands for copy 1 of `source`, which holds no amount.
void everyRow(T& t, const Primitives::OVImmutableFormIdentifier& source) {
  t.setStatus(kJoint);
  t.setResidency(kPartYear);
  t.exists(source);
  for (int row = 0; row < PAMiscCompWorksheet::kRowSourceReference.rows(); ++row) t.reference(row, source, 1);
}

// The interest and dividend worksheet of a part-year return with every
// source it reads, for both filers.
void everySource(T& t) {
  t.setResidency(kPartYear);
  for (const auto* field : {&State16::kTaxpayerRegular, &State16::kSpouseRegular, &State16::kTaxpayerUSObligations,
                            &State16::kSpouseUSObligations, &State16::kTaxpayerExemptInState,
                            &State16::kSpouseExemptInState, &State16::kTaxpayerExemptOutOfState,
                            &State16::kSpouseExemptOutOfState}) {
    t.number(kFormID_State16, *field, 100);
  }
  for (const auto* field : {&State17::kTaxpayerRegular, &State17::kSpouseRegular, &State17::kTaxpayerUSObligations,
                            &State17::kSpouseUSObligations, &State17::kTaxpayerInState, &State17::kSpouseInState,
                            &State17::kTaxpayerOutOfState, &State17::kSpouseOutOfState}) {
    t.number(kFormID_State17, *field, 100);
  }
  t.setCommonItem(73, 500);
  for (uint16_t copy : {1, 2}) {
    t.mark(kFormID_Fed51, copy == 1 ? Fed51::kTaxpayerBox : Fed51::kSpouseBox, copy);
    t.number(kFormID_Fed51, Fed51::kInterestFederalLine, 300, copy);
    t.mark(kFormID_Fed89, copy == 1 ? Fed89::kTaxpayerBox : Fed89::kSpouseBox, copy);
    t.number(kFormID_Fed89, Fed89::kInterest, 100, copy);
    t.number(kFormID_Fed89, Fed89::kDividends, 100, copy);
  }
  for (const auto* amount : {&PAMiscCompWorksheet::kTaxpayerCodeKAmount, &PAMiscCompWorksheet::kSpouseCodeKAmount,
                             &PAMiscCompWorksheet::kTaxpayerCodeLAmount, &PAMiscCompWorksheet::kSpouseCodeLAmount}) {
    t.number(kFormID_PAMiscCompWorksheet, *amount, 100);
  }
  t.number(kFormID_Fed57, Fed57::kSharedInterest, 100);
  t.number(kFormID_Fed5, Fed5::kTotalDividends, 500);
  t.mark(kFormID_Fed164, Fed164::kSpouseBox);
  t.number(kFormID_Fed164, Fed164::kCapitalGainDistributions, 10000);
  t.mark(kFormID_Fed164, Fed164::kSharedAmountBox);
  t.number(kFormID_Fed164, Fed164::kSharedAmount, 100);
}

// Schedule OC: an amount of 10 on every credit line.
void creditOnEveryLine(T& t, int status) {
  t.setStatus(status);
  for (int line = 0; line < PAScheduleOC::kCreditAmount.rows(); ++line) {
    t.number(kFormID_PAScheduleOC, PAScheduleOC::kCreditAmount.at(line), 10);
  }
}

// Schedule C: copy 1 of a joint return, linked to copy 1 of the federal
// Schedule C.
void linkedScheduleC(T& t, int residency) {
  t.setStatus(kJoint);
  t.setResidency(residency);
  t.exists(kFormID_FedScheduleC);
  t.mark(kFormID_PAScheduleC, PAScheduleC::kFromFederalYesBox);
  t.number(kFormID_PAScheduleC, PAScheduleC::kFederalCopyNumber, 1);
}

// The same, part-year, with an amount on every federal line an entry of
// the user's goes beside.
void businessOfEveryAmount(T& t) {
  linkedScheduleC(t, kPartYear);
  for (const auto* line : {&FedScheduleC::kPurchases, &FedScheduleC::kBusinessUseOfHome,
                           &FedScheduleC::kDepreciation, &FedScheduleC::kEmployeeBenefitPrograms,
                           &FedScheduleC::kPensionAndProfitSharingPlans, &FedScheduleC::kDepletion}) {
    t.number(kFormID_FedScheduleC, *line, 100);
  }
  t.mark(kFormID_Fed103, Fed103::kSimplifiedMethodBox);
  t.mark(kFormID_Fed103, Fed103::kSimplifiedMethodElectionBox);
  t.number(kFormID_FedReturn, FedReturn::kBusinessAdjustment, 100);
  t.setCommonItem(19, 100);
}

// Schedule E: a part-year joint return's copy 1 standing for copy 1 of an
// empty federal form of the kind `box` marks.
void federalSource(T& t, const Primitives::OVImmutableFormIdentifier& federalForm, const FieldId& box) {
  t.setStatus(kJoint);
  t.setResidency(kPartYear);
  t.exists(federalForm);
  t.mark(kFormID_PAScheduleE, box);
  t.number(kFormID_PAScheduleE, PAScheduleE::kFederalCopyNumber, 1);
}

// The Schedule D worksheet of a part-year joint return with other federal
// sales: a federal sale record linked to every row but the first.
void salesAfterFirstRow(T& t) {
  t.setStatus(kJoint);
  t.setResidency(kPartYear);
  t.mark(kFormID_PAReturnInfo, PAReturnInfo::kOtherFederalSalesBox);
  for (int row = 1; row < PAScheduleDWorksheet::kRowFederalLink.rows(); ++row) {
    const uint16_t record = static_cast<uint16_t>(row + 1);
    t.text(kFormID_Fed135, Fed135::kDescription, "100 SHARES", record);
    t.number(kFormID_PAScheduleDWorksheet, PAScheduleDWorksheet::kRowFederalLink.at(row), record);
  }
}

// W-2G income: gambling income on the federal return of a joint return.
void gamblingIncome(T& t) {
  t.setStatus(kJoint);
  t.number(kFormID_Fed57, Fed57::kGamblingIncome, 100);
}

// Winnings and losses of both filers from every source.
void winnings(T& t) {
  gamblingIncome(t);
  for (uint16_t copy : {1, 2}) {
    t.mark(kFormID_FedW2G, copy == 1 ? FedW2G::kTaxpayerBox : FedW2G::kSpouseBox, copy);
    t.number(kFormID_FedW2G, FedW2G::kWinnings, 100000, copy);
    t.mark(kFormID_Fed51, copy == 1 ? Fed51::kTaxpayerBox : Fed51::kSpouseBox, copy);
    t.number(kFormID_Fed51, Fed51::kGamblingWinnings, 1000, copy);
    t.number(kFormID_Fed51, Fed51::kGamblingLosses, 100, copy);
  }
  t.number(kFormID_Fed57, Fed57::kOtherGamblingWinnings, 1000);
}

const std::vector<FormCase>& formCases() {
  namespace SP = PAScheduleSP;
  namespace GL = PAScheduleGL;
  namespace MC = PAMiscCompWorksheet;
  namespace ID = PAInterestDividendWorksheet;
  namespace UE = PAScheduleUE;
  namespace OC = PAScheduleOC;
  namespace C = PAScheduleC;
  namespace E = PAScheduleE;
  namespace DW = PAScheduleDWorksheet;
  namespace ET = PAEstimatedTaxWorksheet;
  namespace D = PAScheduleD;
  namespace W2G = PAW2GIncome;
  const char* const kAnchor = "the interview's anchor of the form";
  const char* const kDefault = "an answer the calculation marks itself when the user gives none";
  const Named kOpenLetters = {column(MC::kRowCodeLetter), "a code letter the calculation leaves open"};
  const Named kForm2 = {fields({&W2G::kFed2Amount, &W2G::kTaxpayerFed2Amount}),
                        "the form 2 amount, entered while the federal return has none"};
  const Named kPAParts = {fields({&W2G::kTaxpayerPAW2GWinnings, &W2G::kSpousePAW2GWinnings,
                                  &W2G::kTaxpayerPAOtherWinnings, &W2G::kSpousePAOtherWinnings, &W2G::kPALosses,
                                  &W2G::kTaxpayerPALosses, &W2G::kSpousePALosses}),
                          "a PA part of a filer not a full-year resident"};
  static const std::vector<FormCase> kCases = {
      {"Schedule SP", &kFormID_PAScheduleSP, kPAScheduleSPFieldIdsRuns, marksOf(SP::kUserFields),
       {{"a joint return", 1, joint, false, {}},
        {"a separate return", 1, [](T& t) { t.setStatus(kSeparate); }, false, {}},
        {"a joint return of two dependents", 1, dependents, false,
         {{fields({&SP::kTaxpayerClaimedNoBox, &SP::kSpouseClaimedNoBox}),
           "No against the Yes the calculation marks for a dependent"}}},
        {"a part-year joint return, the spouse claimed by a claimant", 1,
         [](T& t) {
           t.setStatus(kJoint);
           t.setResidency(kPartYear);
           t.mark(kFormID_FedFilerInfo, FedFilerInfo::kSpouseClaimedAsDependentBox);
           t.mark(kFormID_PAScheduleSP, SP::kSpouseClaimedYesBox);
           t.mark(kFormID_PAScheduleSP, SP::kSpouseClaimantYesBox);
           t.number(kFormID_PA40, PA40::kTotalTaxableIncome, 1000);
           t.setCommonItem(25, 1000);
         },
         true, {{field(SP::kSpouseClaimedNoBox), "No against the Yes the calculation marks for a dependent"}}},
        {"a separate return, schedules filed apart", 1,
         [](T& t) {
           t.setStatus(kSeparate);
           t.mark(kFormID_PAScheduleSP, SP::kSeparationFourthAnswerBox);
         },
         true, {}}},
       {{field(SP::kTopicAnchor), kAnchor},
        {fields({&SP::kSpouseFirstName, &SP::kSpouseMiddleInitial, &SP::kSpouseLastName, &SP::kSpouseSuffix,
                 &SP::kSpouseSSN}),
         "the spouse's identity, copied from the federal return whenever that holds it"},
        {fields({&SP::kTaxpayerDateOfDeath, &SP::kSpouseDateOfDeath, &SP::kDiedThisYearBox,
                 &SP::kTaxpayerEligibilityIncome, &SP::kSpouseEligibilityIncome}),
         "the calculation's own figure for a filer who qualifies, which a disqualified filer's schedule keeps "
         "as it stands"},
        {field(SP::kSpouseClaimantNoBox), kDefault}},
       {}},
      {"Schedule W2-S", &kFormID_PAScheduleW2S, kPAScheduleW2SFieldIdsRuns, marksOf(PAScheduleW2S::kUserFields),
       {{"a joint return", 1, joint, false, {}}},
       {},
       {}},
      {"Schedule G-L", &kFormID_PAScheduleGL, kPAScheduleGLFieldIdsRuns, marksOf(GL::kUserFields),
       {{"a joint return", 1, joint, false, {}},
        {"PA income in every row", 1, incomeInEveryRow, false, {}},
        {"other-state income in every row and its tax", 1,
         [](T& t) {
           incomeInEveryRow(t);
           for (int r = 0; r < GL::kFirstEntityIncome.rows(); ++r) {
             t.number(kFormID_PAScheduleGL, GL::kFirstEntityIncome.at(r), 50);
           }
           t.number(kFormID_PAScheduleGL, GL::kOtherStateTax, 10);
         },
         true, {}}},
       {{field(GL::kTopicAnchor), kAnchor}},
       {}},
      {"compensation worksheet", &kFormID_PAMiscCompWorksheet, kPAMiscCompWorksheetFieldIdsRuns,
       marksOf(MC::kUserFields),
       {{"a joint return", 1, joint, false, {}},
        {"a form 57 row of no amount on every row", 1,
         [](T& t) { everyRow(t, kFormID_Fed57); }, false, {kOpenLetters}},
        {"a Form 1099-R row of code 1 and no amount on every row", 1,
         [](T& t) {
           t.text(kFormID_Fed1099R, Fed1099R::kDistributionCode, "1");
           everyRow(t, kFormID_Fed1099R);
         },
         false, {kOpenLetters}},
        {"a Form 1099-MISC row of no amount on every row", 1,
         [](T& t) { everyRow(t, kFormID_Fed1099Misc); }, false, {kOpenLetters}}},
       {{column(MC::kRowSourceReference), "the row's source, written by the step that lists the sources"},
        {column(MC::kRowAmount), "the amount of a form 57 row, copied from federal form 57 while above 0"},
        {column(MC::kRowPayer), "the payer of a form 57 row, written while its amount is above 0"},
        {column(MC::kRowOwner), "a row's owner: a Form 1099 row's is the federal copy's, a form 57 row's says "
                                "nothing without its amount"}},
       {}},
      {"interest and dividend worksheet", &kFormID_PAInterestDividendWorksheet,
       kPAInterestDividendWorksheetFieldIdsRuns, marksOf(ID::kUserFields),
       {{"a joint return", 1, joint, false, {}},
        {"a part-year joint return with every source", 1,
         [](T& t) {
           t.setStatus(kJoint);
           everySource(t);
         },
         true, {}},
        {"a part-year single return with every source", 1,
         [](T& t) {
           t.setStatus(kSingle);
           everySource(t);
         },
         true, {}}},
       {},
       {}},
      {"Schedule A", &kFormID_PAScheduleA, kPAScheduleAFieldIdsRuns, marksOf(PAScheduleA::kUserFields),
       {{"copy 3 of a joint return", 3, joint, false, {}}},
       {},
       {}},
      {"Schedule B", &kFormID_PAScheduleB, kPAScheduleBFieldIdsRuns, marksOf(PAScheduleB::kUserFields),
       {{"copy 3 of a joint return", 3, joint, false, {}}},
       {},
       {}},
      {"Schedule UE", &kFormID_PAScheduleUE, kPAScheduleUEFieldIdsRuns, marksOf(UE::kUserFields),
       {{"a joint return", 1, joint, false, {}},
        {"actual vehicle costs, an office, a move and four properties", 1,
         [](T& t) {
           t.setStatus(kJoint);
           for (const auto* box : {&UE::kActualExpensesBox, &UE::kOfficeFirstYesBox, &UE::kOfficeSecondYesBox,
                                   &UE::kOfficeThirdYesBox}) {
             t.mark(kFormID_PAScheduleUE, *box);
           }
           t.number(kFormID_PAScheduleUE, UE::kNewWorkplaceMiles, 100);
           for (const auto* basis : {&UE::kFirstPropertyCostBasis, &UE::kSecondPropertyCostBasis,
                                     &UE::kThirdPropertyCostBasis, &UE::kFourthPropertyCostBasis}) {
             t.number(kFormID_PAScheduleUE, *basis, 1000);
           }
         },
         true, {}},
        {"education asked", 1, jointMarking(kFormID_PAScheduleUE, {&UE::kEducationYesBox}), true, {}},
        {"education asked, both questions answered No", 1,
         jointMarking(kFormID_PAScheduleUE,
                      {&UE::kEducationYesBox, &UE::kFirstEducationQuestionNoBox, &UE::kSecondEducationQuestionNoBox}),
         true, {}}},
       {{field(UE::kTopicAnchor), kAnchor},
        {field(UE::kFirstCopyFirstBox), "marked by the calculation on the first copy of any return but a joint one"},
        {fields({&UE::kMileageRateBox, &UE::kOfficeFirstNoBox, &UE::kOfficeSecondNoBox, &UE::kOfficeThirdNoBox,
                 &UE::kEducationNoBox, &UE::kFirstEducationQuestionYesBox,
                 &UE::kSecondEducationQuestionYesBox}),
         kDefault}},
       {}},
      {"direct deposit", &kFormID_PADirectDepositDebit, kPADirectDepositDebitFieldIdsRuns,
       marksOf(PADirectDepositDebit::kUserFields),
       {{"a joint return", 1, joint, false, {}}},
       {{field(PADirectDepositDebit::kDaytimePhone),
         "the daytime telephone number, copied from the federal return whenever that holds one"}},
       {}},
      {"Schedule OC", &kFormID_PAScheduleOC, kPAScheduleOCFieldIdsRuns, marksOf(OC::kUserFields),
       {{"a joint return", 1, joint, false, {}},
        {"a joint return, every line but the joint ones with an amount", 1,
         [](T& t) {
           creditOnEveryLine(t, kJoint);
           t.number(kFormID_PAScheduleOC, OC::kFirstJointReturnCredit, 0);
           t.number(kFormID_PAScheduleOC, OC::kSecondJointReturnCredit, 0);
         },
         true, {}},
        {"a single return, every line with an amount", 1, [](T& t) { creditOnEveryLine(t, kSingle); }, true, {}}},
       {{field(OC::kTopicAnchor), kAnchor},
        {fields({&OC::kBusinessIncomeYesBox, &OC::kBusinessIncomeNoBox}),
         "the calculation's answer on a return that is not joint, the only one that asks"}},
       {}},
      {"Schedule J", &kFormID_PAScheduleJ, kPAScheduleJFieldIdsRuns, marksOf(PAScheduleJ::kUserFields),
       {{"a joint return", 1, joint, false, {}}, {"a single return", 1, single, false, {}}},
       {},
       {}},
      {"Schedule C", &kFormID_PAScheduleC, kPAScheduleCFieldIdsRuns, marksOf(C::kUserFields),
       {{"a copy of an empty federal Schedule C", 1, [](T& t) { linkedScheduleC(t, kFullYear); }, false, {}},
        {"a part-year copy of a federal Schedule C with every amount", 1, businessOfEveryAmount, true, {}}},
       {{field(C::kTopicAnchor), kAnchor},
        {fields({&C::kFederalCopyNumber, &C::kFromFederalNoBox}), "the copy's link, which the driver writes"},
        {fields({&C::kPADepletion, &C::kInterest, &C::kLegalProfessional}),
         "filled from the federal line whenever empty, and capped at it"},
        {fields({&C::kMainBusinessActivity, &C::kProductOrService, &C::kInventoryMethod}),
         "copied from the federal Schedule C whenever that holds it"},
        {fields({&C::kDepreciationOtherNet, &C::kTotalAssetBasis, &C::kTotalAssetDepreciation,
                 &C::kNetAssetDepreciation}),
         "the dated rows' totals, written while there is federal depreciation"},
        {field(C::kTenthOfSharedAmount), "the calculation's tenth of the shared amount, written while chosen"}},
       {}},
      {"Schedule E", &kFormID_PAScheduleE, kPAScheduleEFieldIdsRuns, marksOf(E::kUserFields),
       {{"a copy of no federal source", 1, joint, false,
         {{members(kPAScheduleEFieldIds, E::kSalesTaxLicense, E::kOtherRentalIncome),
           "the property of a copy no federal source stands for"}}},
        {"a part-year copy of an empty federal Schedule E", 1,
         [](T& t) { federalSource(t, kFormID_FedScheduleE, E::kFromScheduleEBox); }, false, {}},
        {"a part-year copy of an empty farm rental", 1,
         [](T& t) { federalSource(t, kFormID_FedFarmRental, E::kFromForm4835Box); }, true, {}},
        {"copy 1 of a spouse with RK-1 amounts", 1,
         [](T& t) {
           federalSource(t, kFormID_FedScheduleE, E::kFromScheduleEBox);
           t.number(kFormID_Fed12, Fed12::kSpouseFirstAmount, 100);
         },
         false, {}}},
       {{field(E::kTopicAnchor), kAnchor},
        {fields({&E::kFederalCopyNumber, &E::kFromScheduleEBox, &E::kFromForm4835Box}),
         "the copy's source, which the driver writes"},
        {fields({&E::kPAPropertyYesBox, &E::kSalesTaxLicenseYesBox, &E::kShortTermRentalNoBox}),
         "the default side of a pair whose other side is the user's"},
        {fields({&E::kFirstClearedField, &E::kLastClearedField, &E::kPropertyTypeCode, &E::kPropertyTypeText,
                 &E::kFederalPropertyText, &E::kPropertyAddressLine, &E::kPropertyCity, &E::kPropertyState,
                 &E::kPropertyZip, &E::kPropertyProvince, &E::kPropertyCountry, &E::kPropertyPostalCode,
                 &E::kShortTermRentalIncome, &E::kShortTermRentalLossBox}),
         "the property of a copy a federal source stands for, copied from the federal form"},
        {fields({&E::kFederalCopyUsed, &E::kNoFederalOwnerBox, &E::kRentalBox, &E::kRoyaltyBox,
                 &E::kTaxableForPAMark, &E::kTotalLossBox, &E::kTotalIncome}),
         "written by the calculation on a copy a federal source stands for"}},
       {}},
      {"Schedule D worksheet", &kFormID_PAScheduleDWorksheet, kPAScheduleDWorksheetFieldIdsRuns,
       marksOf(DW::kUserFields),
       {{"a joint return", 1, joint, false, {}},
        {"a part-year sale on every federal row but the first", 1, salesAfterFirstRow, false, {}},
        {"a part-year sale on the first federal row", 1,
         [](T& t) {
           salesAfterFirstRow(t);
           t.text(kFormID_Fed135, Fed135::kDescription, "100 SHARES", 1);
           t.number(kFormID_PAScheduleDWorksheet, DW::kRowFederalLink.at(0), 1);
         },
         true, {}},
        {"the first chained box marked", 1,
         [](T& t) {
           salesAfterFirstRow(t);
           t.mark(kFormID_PAScheduleDWorksheet, DW::kFirstChainedBox);
         },
         true, {}},
        {"the first two chained boxes marked", 1,
         [](T& t) {
           salesAfterFirstRow(t);
           t.mark(kFormID_PAScheduleDWorksheet, DW::kFirstChainedBox);
           t.mark(kFormID_PAScheduleDWorksheet, DW::kSecondChainedBox);
         },
         true, {}}},
       {{column(DW::kRowFederalLink), "the row's federal sale record, which the driver links"},
        {column(DW::kRowOwner), "a row's owner code, written beside a sale (one typed without a sale stays)"},
        {fields({&DW::kResidenceTaxpayerBox, &DW::kResidenceSpouseBox}),
         "the residence's owner, which means nothing without the sale"},
        {fields({&DW::kTaxpayerForfeitedInterest, &DW::kSpouseForfeitedInterest}),
         "carried in from the interest and dividend worksheet"}},
       {{column(DW::kRowGain, 12), "a hand row's gain, always written (sale price less cost, or nothing), marked"}}},
      {"estimated tax worksheet", &kFormID_PAEstimatedTaxWorksheet, kPAEstimatedTaxWorksheetFieldIdsRuns,
       marksOf(ET::kUserFields),
       {{"a joint return", 1, joint, false, {}},
        {"a farmer's return", 1, jointMarking(kFormID_PAReturnInfo, {&PAReturnInfo::kFarmerYesBox}), false, {}},
        {"an amended estimate", 1, jointMarking(kFormID_PAEstimatedTaxWorksheet, {&ET::kAmendedYesBox}), true, {}},
        {"amounts not taken from the PA-40", 1, jointMarking(kFormID_PAEstimatedTaxWorksheet, {&ET::kBasisNoBox}),
         true, {}}},
       {{field(ET::kEstimatedTaxTopicField), kAnchor},
        {fields({&ET::kBasisYesBox, &ET::kAmendedNoBox}), kDefault},
        {field(ET::kOneInstallmentBox), "marked by the calculation beside the skip box's No, and left when that goes"},
        {fields({&ET::kEstimatedIncome, &ET::kTaxForgivenessCredit, &ET::kCurrentTaxWithheld}),
         "typed while the basis is No, which is the user's itself"}},
       {}},
      {"deductions", &kFormID_PADeductions, kPADeductionsFieldIdsRuns, marksOf(PADeductions::kUserFields),
       {{"a joint return", 1, joint, false, {}},
        {"a part-year joint return with medical and health savings", 1,
         [](T& t) {
           t.setStatus(kJoint);
           t.setResidency(kPartYear);
           for (int code : {64, 167, 177, 178}) t.setCommonItem(code, 1000);
         },
         false, {}}},
       {},
       {}},
      {"Schedule D", &kFormID_PAScheduleD, kPAScheduleDFieldIdsRuns, marksOf(D::kUserFields),
       {{"copy 1 of a joint return", 1, joint, false, {{field(D::kSpouseBox), "an owner box not the copy's own"}}},
        {"copy 2 of a joint return", 2, joint, false, {{field(D::kTaxpayerBox), "an owner box not the copy's own"}}},
        {"copy 1 of a single return", 1, single, false, {{field(D::kSpouseBox), "an owner box not the copy's own"}}}},
       {{fields({&D::kTaxpayerName, &D::kTaxpayerSSN, &D::kSpouseName, &D::kSpouseSSN}),
         "the name and number of the other person, which that person's copy shows"}},
       {}},
      {"W-2G income", &kFormID_PAW2GIncome, kPAW2GIncomeFieldIdsRuns, marksOf(W2G::kUserFields),
       {{"gambling income without winnings", 1, gamblingIncome, false, {kForm2}},
        {"a part-year return of gambling losses", 1,
         [](T& t) {
           gamblingIncome(t);
           t.setResidency(kPartYear);
           t.mark(kFormID_Fed51, Fed51::kTaxpayerBox);
           t.number(kFormID_Fed51, Fed51::kGamblingLosses, 100);
         },
         false, {kForm2, kPAParts}},
        {"a part-year return of winnings", 1,
         [](T& t) {
           winnings(t);
           t.setResidency(kPartYear);
         },
         false, {kForm2, kPAParts}},
        {"a full-year return of winnings", 1, winnings, true, {kForm2}}},
       {},
       {}},
  };
  return kCases;
}

}  // namespace
