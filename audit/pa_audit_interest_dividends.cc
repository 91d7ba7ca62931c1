// Audit rules of the interest and dividend forms: PA Schedule A (interest,
// state form 155696), PA Schedule B (dividends, state form 155697) and the
// interest and dividend worksheet both are calculated from (state form
// 186). They report income kinds that bar electronic filing, negative
// totals and missing foreign-income amounts.
#include <cstdio>

#include "audit/pa_rule_message.h"
#include "audit/pa_tax_form_auditor.h"
#include "catalogs/catalogs.h"
#include "identifiers/form_ids.h"

namespace PAAuditMgmt {

namespace {

using Primitives::OVImmutableIdentifier;

// Schedules A and B are one routine shape: what differs is described here.
struct InterestDividendShape {
  const Primitives::OVImmutableFormIdentifier* form;
  const OVImmutableIdentifier& (*field)(int member);  // member of the schedule's catalog
  int partnershipMember;                              // RK-1 or NRK-1 income, summed over copies
  int totalMember;                                    // the schedule's total, summed over copies
  const char* partnershipText;                        // the full text of rule 1
  const char* totalText;                              // the full text of rule 2
};

const OVImmutableIdentifier& scheduleA(int member) { return kPAScheduleAFieldIds[member]; }
const OVImmutableIdentifier& scheduleB(int member) { return kPAScheduleBFieldIds[member]; }

#define PARTNERSHIP_TEXT(kind)                                                            \
  "This program does not support electronic filed returns for taxpayers who earned " kind \
  " income from a PA partnership or S Corp. and who must include a "                      \
  "copy of their PA Schedule RK-1 or NRK-1 with their return."

const InterestDividendShape kScheduleAShape = {&kFormID_PAScheduleA,
                                               scheduleA,
                                               25 /* 155735 */,
                                               26 /* 155736 */,
                                               PARTNERSHIP_TEXT("interest"),
                                               "Your total interest can't be less than zero. "};
const InterestDividendShape kScheduleBShape = {&kFormID_PAScheduleB,
                                               scheduleB,
                                               23 /* 155774 */,
                                               24 /* 155775 */,
                                               PARTNERSHIP_TEXT("dividend"),
                                               "Your total dividends can't be less than zero. "};

#undef PARTNERSHIP_TEXT

const RuleMessage kPartnershipMessage = {kAuditPath, 0x02, 6, 1};
const RuleMessage kNegativeTotalMessage = {kAuditPath, 0x03, 6, 1};

// Worksheet members; host field numbers in comments.
const int kEstateTrustInterest = 129;    // 192
const int kForfeitedPenalty = 135;       // 207
const int kPAObligationInterest = 146;   // 358
const int kAnnuityInterest = 166;        // 23888
const int kEstateTrustDividends = 256;   // 251
const int kPAObligationDividends = 270;  // 363
const int kForeignLine = 307;            // 210230: the line named by rules 5 and 6
const int kForeignTP = 308;              // 210231
const int kForeignSP = 309;              // 210232
const int kCurrentForeignTP = 314;       // 210237: also the line named by rules 7 and 8
const int kCurrentForeignSP = 315;       // 210238

// PA-40 interest (140) and dividend income (141).
const int kPA40Interest = 173;
const int kPA40Dividends = 174;
// Rules 1 to 4 of the worksheet apply only above this interest or dividend income.
const long kEFileIncomeThreshold = 2500;

const OVImmutableIdentifier& ws(int member) { return kPAInterestDividendWorksheetFieldIds[member]; }

const RuleMessage kWorksheetRefusal = {kEFilePath, 0x22, 6, 1};
const RuleMessage kForeignMessage = {kAuditPath, 0x03, 4, 0};

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

void auditInterestDividendShape(PATaxFormAuditor& auditor, const PADataMgmt::PATaxReturn& pa,
                                const InterestDividendShape& shape, unsigned short copy) {
  const Primitives::OVImmutableFormIdentifier& form = *shape.form;
  const OVImmutableIdentifier& partnership = shape.field(shape.partnershipMember);
  const OVImmutableIdentifier& total = shape.field(shape.totalMember);
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
  if (pa.getIN(kFormID_PA40, 1, kPA40FieldIds[kPA40Interest]) > kEFileIncomeThreshold ||
      pa.getIN(kFormID_PA40, 1, kPA40FieldIds[kPA40Dividends]) > kEFileIncomeThreshold) {
    auto positive = [&pa, &form](int member) { return pa.getIN(form, 1, ws(member)) > 0; };
    reportRule(*this, kWorksheetRefusal,
               positive(kEstateTrustInterest) || positive(kEstateTrustDividends), form, copy, none,
               kEstateTrustText);
    reportRule(*this, kWorksheetRefusal, positive(kAnnuityInterest), form, copy, none,
               kAnnuityText);
    reportRule(*this, kWorksheetRefusal, positive(kForfeitedPenalty), form, copy, none,
               kForfeitedText);
    reportRule(*this, kWorksheetRefusal,
               positive(kPAObligationInterest) || positive(kPAObligationDividends), form, copy,
               none, kObligationsText);
  }

  // Rules 5 to 8 read the audited copy; an empty holder reads as zero.
  auto amount = [&formCopy](int member) {
    return formCopy.isNull() ? 0.0 : formCopy->getIR(ws(member));
  };
  char foreignLine[32];
  char currentLine[32];
  pa.getLineID(foreignLine, form, ws(kForeignLine));
  pa.getLineID(currentLine, form, ws(kCurrentForeignTP));
  char text[256];
  std::snprintf(text, sizeof(text), "Enter amount of foreign income on line %s.", foreignLine);
  reportRule(*this, kForeignMessage, amount(kForeignTP) == 0 && amount(kCurrentForeignTP) > 0, form,
             copy, ws(kForeignTP), text);
  std::snprintf(text, sizeof(text), "Enter your spouse's amount of foreign income on line %s.",
                foreignLine);
  reportRule(*this, kForeignMessage, amount(kForeignSP) == 0 && amount(kCurrentForeignSP) > 0, form,
             copy, ws(kForeignSP), text);
  std::snprintf(text, sizeof(text), "Enter amount of current year foreign income on line %s.",
                currentLine);
  reportRule(*this, kForeignMessage, amount(kCurrentForeignTP) == 0 && amount(kForeignTP) > 0, form,
             copy, ws(kCurrentForeignTP), text);
  std::snprintf(text, sizeof(text),
                "Enter your spouse's amount of current year foreign income on line %s.",
                currentLine);
  reportRule(*this, kForeignMessage, amount(kCurrentForeignSP) == 0 && amount(kForeignSP) > 0, form,
             copy, ws(kCurrentForeignSP), text);
}

}  // namespace PAAuditMgmt
