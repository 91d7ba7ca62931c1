// Audit rules of the interest and dividend forms: PA Schedule A (interest,
// state form 155696), PA Schedule B (dividends, state form 155697) and the
// interest and dividend worksheet both are calculated from (state form
// 186). They report income kinds that bar electronic filing, negative
// totals and missing foreign-income amounts.
#include <cstdio>

#include "audit/pa_rule_message.h"
#include "audit/pa_tax_form_auditor.h"
#include "catalogs/any_named_field.h"
#include "catalogs/fields/fields.h"
#include "identifiers/form_ids.h"

namespace PAAuditMgmt {

namespace {

using Primitives::OVImmutableIdentifier;

// Schedules A and B are one routine shape: what differs is described here.
struct InterestDividendShape {
  const Primitives::OVImmutableFormIdentifier* form;
  AnyNamedField partnership;    // RK-1 or NRK-1 income, summed over copies
  AnyNamedField total;          // the schedule's total, summed over copies
  const char* partnershipText;  // the full text of rule 1
  const char* totalText;        // the full text of rule 2
};

#define PARTNERSHIP_TEXT(kind)                                                            \
  "This program does not support electronic filed returns for taxpayers who earned " kind \
  " income from a PA partnership or S Corp. and who must include a "                      \
  "copy of their PA Schedule RK-1 or NRK-1 with their return."

const InterestDividendShape kScheduleAShape = {
    &kFormID_PAScheduleA, PAScheduleA::kPartnershipInterest, PAScheduleA::kTotalInterest,
    PARTNERSHIP_TEXT("interest"), "Your total interest can't be less than zero. "};
const InterestDividendShape kScheduleBShape = {
    &kFormID_PAScheduleB, PAScheduleB::kPartnershipDividends, PAScheduleB::kTotalDividends,
    PARTNERSHIP_TEXT("dividend"), "Your total dividends can't be less than zero. "};

#undef PARTNERSHIP_TEXT

const RuleMessage kPartnershipMessage = {kAuditPath, kClassEFile, kCodeNoEFile, kStateOnlyNote};
const RuleMessage kNegativeTotalMessage = {kAuditPath, kClassBothAudits, kCodeNoEFile, kStateOnlyNote};

// Rules 1 to 4 of the worksheet apply only above this interest or dividend income.
const long kEFileIncomeThreshold = 2500;

const RuleMessage kWorksheetRefusal = {kEFilePath, kClassRefusal, kCodeNoEFile, kStateOnlyNote};
const RuleMessage kForeignMessage = {kAuditPath, kClassBothAudits, kCodeMissing, kNoNote};

#define NOT_FOR_TAXPAYERS "This program does not support electronic filing for taxpayers who have "
const char* const kEstateTrustText =
    "The Pennsylvania Department of Revenue will not accept an electronically "
    "filed return from taxpayers with interest or dividend income "
    "from an estate or trust.";
const char* const kAnnuityText = NOT_FOR_TAXPAYERS
    "interest from annuities, life insurance or endowment contracts for PA purposes.";
const char* const kForfeitedText =
    NOT_FOR_TAXPAYERS "an allowable forfeited interest penalty for PA purposes.";
const char* const kObligationsText = NOT_FOR_TAXPAYERS
    "interest or dividend income from obligations of the Commonwealth "
    "of Pennsylvania or its political subdivisions.";
#undef NOT_FOR_TAXPAYERS

// The foreign-income rules in report order: the amount that is missing
// while the other line holds one, and the text naming the missing line.
struct ForeignIncomeRule {
  NamedField<PAInterestDividendWorksheetFieldIds> missing;
  NamedField<PAInterestDividendWorksheetFieldIds> entered;
  bool namesCurrentLine;  // the text names the current-year line, else the foreign-income line
  const char* text;
};
constexpr ForeignIncomeRule kForeignIncomeRules[] = {
    {PAInterestDividendWorksheet::kTaxpayerForeignDividendIncome,
     PAInterestDividendWorksheet::kTaxpayerCurrentYearForeignDividendIncome, false,
     "Enter amount of foreign income on line %s."},
    {PAInterestDividendWorksheet::kSpouseForeignDividendIncome,
     PAInterestDividendWorksheet::kSpouseCurrentYearForeignDividendIncome, false,
     "Enter your spouse's amount of foreign income on line %s."},
    {PAInterestDividendWorksheet::kTaxpayerCurrentYearForeignDividendIncome,
     PAInterestDividendWorksheet::kTaxpayerForeignDividendIncome, true,
     "Enter amount of current year foreign income on line %s."},
    {PAInterestDividendWorksheet::kSpouseCurrentYearForeignDividendIncome,
     PAInterestDividendWorksheet::kSpouseForeignDividendIncome, true,
     "Enter your spouse's amount of current year foreign income on line %s."},
};

void auditInterestDividendShape(PATaxFormAuditor& auditor, const PADataMgmt::PATaxReturn& pa,
                                const InterestDividendShape& shape, unsigned short copy) {
  const Primitives::OVImmutableFormIdentifier& form = *shape.form;
  const OVImmutableIdentifier& partnership = shape.partnership;
  const OVImmutableIdentifier& total = shape.total;
  reportRule(auditor, kPartnershipMessage, pa.getAllCopies(form, partnership) > 0, form, copy,
             Primitives::kNullFieldID, shape.partnershipText);
  reportRule(auditor, kNegativeTotalMessage, pa.getAllCopies(form, total) < 0, form, copy, total,
             shape.totalText);
}

}  // namespace

void PATaxFormAuditor::auditScheduleA(DataMgmt::TaxFormPtr /*formCopy*/, unsigned short copy) {
  auditInterestDividendShape(*this, *paReturn, kScheduleAShape, copy);
}

void PATaxFormAuditor::auditScheduleB(DataMgmt::TaxFormPtr /*formCopy*/, unsigned short copy) {
  auditInterestDividendShape(*this, *paReturn, kScheduleBShape, copy);
}

void PATaxFormAuditor::auditInterestDividendWorksheet(DataMgmt::TaxFormPtr formCopy,
                                                      unsigned short copy) {
  const PADataMgmt::PATaxReturn& pa = *paReturn;
  const FormId& form = kFormID_PAInterestDividendWorksheet;
  const FieldId none = Primitives::kNullFieldID;

  // Rules 1 to 4 read copy 1 of the worksheet whatever copy is audited.
  using Worksheet = NamedField<PAInterestDividendWorksheetFieldIds>;
  if (pa.getIN(kFormID_PA40, 1, PA40::kInterestIncome) > kEFileIncomeThreshold ||
      pa.getIN(kFormID_PA40, 1, PA40::kDividendIncome) > kEFileIncomeThreshold) {
    auto positive = [&](const Worksheet& field) { return pa.getIN(form, 1, field) > 0; };
    reportRule(*this, kWorksheetRefusal,
               positive(PAInterestDividendWorksheet::kEstateTrustInterestRemainder) ||
                   positive(PAInterestDividendWorksheet::kEstateTrustDividendsRemainder),
               form, copy, none, kEstateTrustText);
    reportRule(*this, kWorksheetRefusal, positive(PAInterestDividendWorksheet::kAnnuityInterest),
               form, copy, none, kAnnuityText);
    reportRule(*this, kWorksheetRefusal,
               positive(PAInterestDividendWorksheet::kForfeitedInterestPenaltyCopy), form, copy,
               none, kForfeitedText);
    reportRule(*this, kWorksheetRefusal,
               positive(PAInterestDividendWorksheet::kPAObligationInterest) ||
                   positive(PAInterestDividendWorksheet::kPAObligationDividends),
               form, copy, none, kObligationsText);
  }

  // Rules 5 to 8 read the audited copy (an empty holder reads as zero): an
  // amount for one of the two foreign-income lines asks for the other.
  auto amount = [&formCopy](const Worksheet& field) {
    return formCopy.isNull() ? 0.0 : formCopy->getIR(field);
  };
  char foreignLine[32];
  char currentLine[32];
  pa.getLineID(foreignLine, form, PAInterestDividendWorksheet::kForeignDividendIncome);
  pa.getLineID(currentLine, form,
               PAInterestDividendWorksheet::kTaxpayerCurrentYearForeignDividendIncome);
  for (const ForeignIncomeRule& rule : kForeignIncomeRules) {
    char text[256];
    std::snprintf(text, sizeof(text), rule.text, rule.namesCurrentLine ? currentLine : foreignLine);
    reportRule(*this, kForeignMessage, amount(rule.missing) == 0 && amount(rule.entered) > 0, form,
               copy, rule.missing, text);
  }
}

}  // namespace PAAuditMgmt
