#include "interview/topic_status_rules.h"

#include "catalogs/catalogs.h"
#include "identifiers/form_ids.h"

namespace StateTopicMgmt {

namespace {

using TopicMgmt::TopicStatus;

enum class Test { kYes, kNotYes, kAbove0, kNotAbove0, kNonZero, kZero, kAlways };

// A test of one field of copy 1 of a form.
struct Check {
  const Primitives::OVImmutableFormIdentifier* form;
  FieldRef field;
  Test test;
};

bool holds(const DataMgmt::TaxReturn* taxReturn, const Check& check) {
  if (check.test == Test::kAlways) return true;
  const Primitives::OVImmutableIdentifier& field = fieldOf(check.field);
  const bool yes = taxReturn != nullptr && taxReturn->formYes(*check.form, 1, field);
  const long whole = taxReturn != nullptr ? taxReturn->getIN(*check.form, 1, field) : 0;
  switch (check.test) {
    case Test::kYes: return yes;
    case Test::kNotYes: return !yes;
    case Test::kAbove0: return whole > 0;
    case Test::kNotAbove0: return whole <= 0;
    case Test::kNonZero: return whole != 0;
    case Test::kZero: return whole == 0;
    case Test::kAlways: break;
  }
  return true;
}

// A field of a form whose catalog is named like the form.
#define CHECK(form, member, test) \
  Check { &kFormID_##form, {CatalogId::form##FieldIds, member}, Test::test }
#define ALWAYS \
  Check { nullptr, {CatalogId::kNone, 0}, Test::kAlways }

// One line of a topic's status rule: when the check holds, the status.
struct StatusLine {
  TopicRowId topic;
  Check check;
  int status;
};

#define LINE(topic, form, member, test, status) \
  {TopicRowId::topic, CHECK(form, member, test), status}
#define OTHERWISE(topic, status) {TopicRowId::topic, ALWAYS, status}

// Each topic's lines in the order they are tried; each ends with the
// answer when no test holds.
const StatusLine kStatusLines[] = {
    LINE(JtVentureRent, PA40, 103, kAbove0, 0),  // 52351
    OTHERWISE(JtVentureRent, 2),
    LINE(LocalIncTxRet, PAReturnInfo, 102, kYes, 2),  // 47, nonresident
    OTHERWISE(LocalIncTxRet, 0),
    LINE(TaxPayPen, State14, 21, kYes, 2),  // 32585
    OTHERWISE(TaxPayPen, 0),
    LINE(busMFJ, PA40, 44, kYes, 0),  // 309
    OTHERWISE(busMFJ, 2),
    LINE(miscinc, PAScheduleJ, 4, kYes, 1),     // 43
    LINE(miscinc, PAW2GIncome, 1, kYes, 1),     // 9610
    LINE(miscinc, PA40, 79, kYes, 1),           // 360
    LINE(miscinc, PAReturnInfo, 103, kNotYes, 2),  // 48, part-year resident
    LINE(miscinc, PA40, 203, kNotAbove0, 2),    // 36093
    OTHERWISE(miscinc, 1),
    LINE(pa40c, PA40, 78, kYes, 0),  // 56127
    OTHERWISE(pa40c, 2),
    LINE(paamend, PAReturnInfo, 73, kYes, 1),  // 42790
    OTHERWISE(paamend, 2),
    OTHERWISE(pamisc, 0),
    OTHERWISE(pausetax, 0),
    LINE(paothbus, PA40, 37, kYes, 1),       // 285
    LINE(paothbus, PA40, 105, kNonZero, 1),  // 56128
    LINE(paothbus, PA40, 106, kNonZero, 1),  // 56129
    OTHERWISE(paothbus, 2),
    OTHERWISE(paextpmt, 1),
    OTHERWISE(papmtsum, 1),
    LINE(papwh, PAScheduleE, 10, kNotYes, 2),  // 210
    LINE(papwh, PAReturnInfo, 101, kYes, 2),   // 46
    OTHERWISE(papwh, 1),
    LINE(parefund, PA40, 262, kAbove0, 1),  // 251
    OTHERWISE(parefund, 2),
    LINE(paschd, PAReturnInfo, 79, kYes, 0),  // 150684
    OTHERWISE(paschd, 2),
    LINE(paschewk, PAScheduleE, 4, kYes, 2),  // 204
    OTHERWISE(paschewk, 1),
    LINE(paschg, PAReturnInfo, 102, kYes, 2),  // 47, nonresident
    OTHERWISE(paschg, 0),
    LINE(paue1, PA40, 142, kNonZero, 0),  // 36510
    LINE(paue1, PA40, 143, kNonZero, 0),  // 36511
    OTHERWISE(paue1, 2),
    LINE(pauppen, PA40, 73, kYes, 0),  // 402
    OTHERWISE(pauppen, 2),
};

#undef OTHERWISE
#undef LINE

// Interest and dividends: the return information's marks ...
const Check kNonresident = CHECK(PAReturnInfo, 102, kYes);    // 47
const Check kBranchA = CHECK(PAReturnInfo, 101, kYes);        // 46
const Check kNotPartYear = CHECK(PAReturnInfo, 103, kNotYes);  // 48
// ... the entries that make the topic complete (status 0) in both
// branches, in the order they are tried ...
const Check kEntered[] = {
    CHECK(PAInterestDividendWorksheet, 112, kNonZero),  // 162
    CHECK(PAInterestDividendWorksheet, 121, kNonZero),  // 180
    CHECK(PAInterestDividendWorksheet, 21, kYes),       // 313
    CHECK(PAInterestDividendWorksheet, 22, kYes),       // 314
    CHECK(PA40, 78, kYes),                              // 56127
    CHECK(PAScheduleE, 4, kNotYes),                     // 204
};
// ... the one more of branch B, and the total that decides when none holds.
const Check kBranchBEntered = CHECK(PAInterestDividendWorksheet, 14, kNonZero);  // 307
const Check kTotalZero = CHECK(PAInterestDividendWorksheet, 316, kZero);         // 234

#undef ALWAYS
#undef CHECK

}  // namespace

TopicStatus ruledStatus(TopicRowId topic, const DataMgmt::TaxReturn* taxReturn,
                        TopicStatus otherwise) {
  for (const StatusLine& line : kStatusLines) {
    if (line.topic == topic && holds(taxReturn, line.check)) {
      return static_cast<TopicStatus>(line.status);
    }
  }
  return otherwise;
}

TopicStatus interestDividendStatus(DataMgmt::TaxReturn* taxReturn) {
  // Shares of the two copies' holders, released on every path.
  DataMgmt::TaxFormPtr form16;
  DataMgmt::TaxFormPtr form17;
  if (taxReturn != nullptr) {
    form16 = taxReturn->getFormUVPtr(kFormID_State16, 1, false);
    form17 = taxReturn->getFormUVPtr(kFormID_State17, 1, false);
  }
  const bool inputForm = !form16.isNull() || !form17.isNull();

  if (holds(taxReturn, kNonresident)) return TopicMgmt::kTopicStatus2;
  const bool branchA = holds(taxReturn, kBranchA);
  if (!inputForm || (!branchA && holds(taxReturn, kNotPartYear))) return TopicMgmt::kTopicStatus1;
  for (const Check& check : kEntered) {
    if (holds(taxReturn, check)) return TopicMgmt::kTopicStatus0;
  }
  if (!branchA && holds(taxReturn, kBranchBEntered)) return TopicMgmt::kTopicStatus0;
  return holds(taxReturn, kTotalZero) ? TopicMgmt::kTopicStatus1 : TopicMgmt::kTopicStatus0;
}

bool isPartYearResident(const DataMgmt::TaxReturn* taxReturn) {
  return !holds(taxReturn, kNotPartYear);
}

}  // namespace StateTopicMgmt
