#include "interview/topic_status_rules.h"

#include "catalogs/any_named_field.h"
#include "catalogs/fields/fields.h"
#include "identifiers/form_ids.h"

namespace StateTopicMgmt {

namespace {

using TopicMgmt::TopicStatus;

enum class Test { kYes, kNotYes, kAbove0, kNotAbove0, kNonZero, kZero, kAlways };

// A test of one field of copy 1 of a form.
struct Check {
  const Primitives::OVImmutableFormIdentifier* form;
  AnyNamedField field;
  Test test;
};

bool holds(const DataMgmt::TaxReturn* taxReturn, const Check& check) {
  if (check.test == Test::kAlways) return true;
  const Primitives::OVImmutableIdentifier& field = check.field.id();
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

// A named field of a form whose field table is named like the form.
#define CHECK(form, name, test) \
  Check { &kFormID_##form, form::k##name, Test::test }
#define ALWAYS \
  Check { nullptr, AnyNamedField(), Test::kAlways }

// One line of a topic's status rule: when the check holds, the status.
struct StatusLine {
  TopicRowId topic;
  Check check;
  int status;
};

#define LINE(topic, form, name, test, status) \
  {TopicRowId::topic, CHECK(form, name, test), status}
#define OTHERWISE(topic, status) {TopicRowId::topic, ALWAYS, status}

// Each topic's lines in the order they are tried; each ends with the
// answer when no test holds.
const StatusLine kStatusLines[] = {
    LINE(JtVentureRent, PA40, JointVentureScheduleCCount, kAbove0, 0),
    OTHERWISE(JtVentureRent, 2),
    LINE(LocalIncTxRet, PAReturnInfo, NonresidentBox, kYes, 2),
    OTHERWISE(LocalIncTxRet, 0),
    LINE(TaxPayPen, State14, TaxesPaymentsStatusBox, kYes, 2),
    OTHERWISE(TaxPayPen, 0),
    LINE(busMFJ, PA40, BothUETotalsBox, kYes, 0),
    OTHERWISE(busMFJ, 2),
    LINE(miscinc, PAScheduleJ, Fed89CopyBox, kYes, 1),
    LINE(miscinc, PAW2GIncome, WinningsBox, kYes, 1),
    LINE(miscinc, PA40, RK1IncomeBox, kYes, 1),
    LINE(miscinc, PAReturnInfo, PartYearResidentBox, kNotYes, 2),
    LINE(miscinc, PA40, OtherDeductions, kNotAbove0, 2),
    OTHERWISE(miscinc, 1),
    LINE(pa40c, PA40, ScheduleCBox, kYes, 0),
    OTHERWISE(pa40c, 2),
    LINE(paamend, PAReturnInfo, AmendedReturnStatusBox, kYes, 1),
    OTHERWISE(paamend, 2),
    OTHERWISE(pamisc, 0),
    OTHERWISE(pausetax, 0),
    LINE(paothbus, PA40, OtherBusinessSourcesBox, kYes, 1),
    LINE(paothbus, PA40, TaxpayerFederalFarmIncome, kNonZero, 1),
    LINE(paothbus, PA40, SpouseFederalFarmIncome, kNonZero, 1),
    OTHERWISE(paothbus, 2),
    OTHERWISE(paextpmt, 1),
    OTHERWISE(papmtsum, 1),
    LINE(papwh, PAScheduleE, SpouseRK1AmountsBox, kNotYes, 2),
    LINE(papwh, PAReturnInfo, FullYearResidentBox, kYes, 2),
    OTHERWISE(papwh, 1),
    LINE(parefund, PA40, Overpayment, kAbove0, 1),
    OTHERWISE(parefund, 2),
    LINE(paschd, PAReturnInfo, FederalSalesBox, kYes, 0),
    OTHERWISE(paschd, 2),
    LINE(paschewk, PAScheduleE, NoRK1AmountsBox, kYes, 2),
    OTHERWISE(paschewk, 1),
    LINE(paschg, PAReturnInfo, NonresidentBox, kYes, 2),
    OTHERWISE(paschg, 0),
    LINE(paue1, PA40, TaxpayerW2Compensation, kNonZero, 0),
    LINE(paue1, PA40, SpouseW2Compensation, kNonZero, 0),
    OTHERWISE(paue1, 2),
    LINE(pauppen, PA40, PenaltyThresholdBox, kYes, 0),
    OTHERWISE(pauppen, 2),
};

#undef OTHERWISE
#undef LINE

// Interest and dividends: the return information's marks ...
const Check kNonresident = CHECK(PAReturnInfo, NonresidentBox, kYes);
const Check kBranchA = CHECK(PAReturnInfo, FullYearResidentBox, kYes);
const Check kNotPartYear = CHECK(PAReturnInfo, PartYearResidentBox, kNotYes);
// ... the entries that make the topic complete (status 0) in both
// branches, in the order they are tried ...
const Check kEntered[] = {
    CHECK(PAInterestDividendWorksheet, FederalInterest, kNonZero),
    CHECK(PAInterestDividendWorksheet, EstateTrustInterest, kNonZero),
    CHECK(PAInterestDividendWorksheet, PartnershipFirstKindInterestBox, kYes),
    CHECK(PAInterestDividendWorksheet, PartnershipSecondKindInterestBox, kYes),
    CHECK(PA40, ScheduleCBox, kYes),
    CHECK(PAScheduleE, NoRK1AmountsBox, kNotYes),
};
// ... the one more of branch B, and the federal dividends, which decide
// when none holds.
const Check kBranchBEntered =
    CHECK(PAInterestDividendWorksheet, SummaryExemptInterestOfBoth, kNonZero);
const Check kTotalZero = CHECK(PAInterestDividendWorksheet, FederalDividends, kZero);

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
