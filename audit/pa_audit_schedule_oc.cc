// Audit rules of PA Schedule OC, other credits: the supporting documents of
// claimed credits, and that every credit row is complete.
#include <cstdint>

#include "audit/pa_tax_form_auditor.h"
#include "audit/schedule_rule_reporter.h"
#include "catalogs/fields/fields.h"
#include "identifiers/form_ids.h"

namespace PAAuditMgmt {

namespace {

using Primitives::OVImmutableIdentifier;

// The credit rows: description code, awardee tax ID and amount. Row 0 is
// the Employment Incentive Payments Credit, the last row the other
// restricted credits.
const NamedColumn<PAScheduleOCFieldIds>* const kCreditColumns[] = {
    &PAScheduleOC::kCreditDescriptionCode, &PAScheduleOC::kCreditAwardeeTaxID,
    &PAScheduleOC::kCreditAmount};
const int kCreditRowCount = PAScheduleOC::kCreditAmount.rows();
const int kRestrictedRow = kCreditRowCount - 1;

// The row list of the completeness rule: each row's three fields and an
// empty terminator, and a last group of four empty identifiers.
const int kGroupSize = 4;
const int kRowListSize = (kCreditRowCount + 1) * kGroupSize;

// Message texts, in report order.
const char kIncentiveCreditText[] =
    "Attach a completed Schedule W or PA Schedule(s) RK-1 or NRK-1 with all required supporting "
    "documents to support the amount of your PA Employment Incentive Payments Credit";
const char kCertificationText[] =
    "Attach a copy of your PA Department of Revenue, PA Department of Community and Economic "
    "Development certification(s), or PA Schedule(s) RK-1 or NRK-1 to support the amount of "
    "credits you claimed on your PA Schedule OC.";
const char kRestrictedCreditsText[] =
    "You must send documents supporting your restricted credits claimed on Schedule OC to the "
    "Bureau of Corporation Taxes so that the credit can be verified and applied to you.";
const char kCreditRowText[] =
    "Enter credit description code, awardee tax ID number, and/or amount of credit.";
const char kCreditTypeText[] = "Enter the credit type for other restricted credits.";

}  // namespace

void PATaxFormAuditor::auditScheduleOC(DataMgmt::TaxFormPtr formCopy, unsigned short copy) {
  const Primitives::OVImmutableFormIdentifier& form = kFormID_PAScheduleOC;
  const ScheduleRuleReporter report(*this, form, copy);
  PADataMgmt::PATaxReturn& pa = *paReturn;
  const bool ordinary = !eFileAudit;
  auto claimed = [&](int row) {
    return pa.getIN(form, copy, PAScheduleOC::kCreditAmount.at(row)) > 0;
  };

  report.issue(kClassAttachment, ordinary && claimed(0), kCodeNotice, Primitives::kNullFieldID,
               kIncentiveCreditText);
  bool certified = ordinary && claimed(1);
  for (int row = 2; row < kRestrictedRow && !certified; ++row) certified = claimed(row);
  report.issue(kClassAttachment, certified, kCodeNotice, Primitives::kNullFieldID,
               kCertificationText);
  report.issue(kClassAttachment, ordinary && claimed(kRestrictedRow), kCodeNotice,
               Primitives::kNullFieldID, kRestrictedCreditsText);

  OVImmutableIdentifier rowList[kRowListSize];
  for (int row = 0; row < kCreditRowCount; ++row) {
    for (int column = 0; column < 3; ++column) {
      rowList[row * kGroupSize + column] = kCreditColumns[column]->at(row);
    }
  }
  for (int group = 0; rowList[group].getNumber() > 0; group += kGroupSize) {
    const OVImmutableIdentifier* fields = &rowList[group];
    // The scan answers a position within the group: the first empty field
    // of a partly filled row, else the terminator.
    uint16_t position = scanFormFieldListNullState(formCopy, fields);
    if (position >= kGroupSize) position = kGroupSize - 1;
    const OVImmutableIdentifier& firstEmpty = fields[position];
    report.issue(kClassOrdinary, firstEmpty.getNumber() > 0, kCodeMissing, firstEmpty,
                 kCreditRowText);
  }

  report.issue(kClassOrdinary,
               pa.hasSigValue(form, copy, PAScheduleOC::kRestrictedCredits) &&
                   !pa.hasSigValue(form, copy, PAScheduleOC::kRestrictedCreditType),
               kCodeMissing, PAScheduleOC::kRestrictedCreditType, kCreditTypeText);
}

}  // namespace PAAuditMgmt
