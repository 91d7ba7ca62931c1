// Audit rules of PA Schedule OC, other credits: the supporting documents of
// claimed credits, and that every credit row is complete.
#include <cstdint>

#include "audit/pa_tax_form_auditor.h"
#include "audit/schedule_rule_reporter.h"
#include "catalogs/catalogs.h"
#include "identifiers/form_ids.h"

namespace PAAuditMgmt {

namespace {

using Primitives::OVImmutableIdentifier;

// The 20 credit rows: description code, awardee tax ID, amount (members of
// PAScheduleOCFieldIds; host field numbers in comments).
const int kCreditRowCount = 20;
const int kCreditRows[kCreditRowCount][3] = {
    {10, 11, 12},  // 46464, 75894, 8: Employment Incentive Payments Credit
    {13, 14, 15},  // 46465, 75895, 9
    {16, 17, 18},  // 46466, 75896, 10
    {19, 20, 21},  // 46467, 75897, 12235
    {22, 23, 24},  // 46468, 75899, 46470
    {25, 26, 27},  // 46469, 75900, 46472
    {28, 29, 30},  // 46471, 75901, 46474
    {31, 32, 33},  // 46473, 75903, 50720
    {34, 35, 36},  // 50717, 140346, 140347
    {37, 38, 39},  // 50719, 140348, 140349
    {40, 41, 42},  // 50721, 147629, 147630
    {43, 44, 45},  // 50723, 75898, 36893
    {46, 47, 48},  // 132863, 188761, 188762
    {49, 50, 51},  // 140350, 198890, 198891
    {52, 53, 54},  // 162733, 207059, 207060
    {55, 56, 57},  // 207061, 207062, 207063
    {58, 59, 60},  // 207064, 207065, 207066
    {61, 62, 63},  // 207067, 207068, 207069
    {64, 65, 66},  // 207070, 207071, 207072
    {67, 68, 69},  // 207073, 132864, 132865: other restricted credits
};
const int kAmount = 2;           // column of the amount in a row
const int kRestrictedType = 70;  // 132866: credit type of the restricted credits

// The row list of the completeness rule: each row's three fields and an
// empty terminator, and a last group of four empty identifiers.
const int kGroupSize = 4;
const int kRowListSize = (kCreditRowCount + 1) * kGroupSize;

const OVImmutableIdentifier& oc(int member) { return kPAScheduleOCFieldIds[member]; }
const OVImmutableIdentifier& amountOf(int row) { return oc(kCreditRows[row][kAmount]); }

}  // namespace

void PATaxFormAuditor::auditScheduleOC(DataMgmt::TaxFormPtr formCopy, unsigned short copy) {
  const Primitives::OVImmutableFormIdentifier& form = kFormID_PAScheduleOC;
  const ScheduleRuleReporter report(*this, form, copy);
  PADataMgmt::PATaxReturn& pa = *paReturn;
  const bool ordinary = !eFileAudit;
  auto claimed = [&](int row) { return pa.getIN(form, copy, amountOf(row)) > 0; };

  report.issue(kClassAttachment, ordinary && claimed(0), kCodeNotice, Primitives::kNullFieldID,
               "Attach a completed Schedule W or PA Schedule(s) RK-1 or NRK-1 with all required "
               "supporting documents to support the amount of your PA Employment Incentive "
               "Payments Credit");
  bool certified = ordinary && claimed(1);
  for (int row = 2; row < kCreditRowCount - 1 && !certified; ++row) certified = claimed(row);
  report.issue(kClassAttachment, certified, kCodeNotice, Primitives::kNullFieldID,
               "Attach a copy of your PA Department of Revenue, PA Department of Community and "
               "Economic Development certification(s), or PA Schedule(s) RK-1 or NRK-1 to "
               "support the amount of credits you claimed on your PA Schedule OC.");
  report.issue(kClassAttachment, ordinary && claimed(kCreditRowCount - 1), kCodeNotice,
               Primitives::kNullFieldID,
               "You must send documents supporting your restricted credits claimed on Schedule "
               "OC to the Bureau of Corporation Taxes so that the credit can be verified and "
               "applied to you.");

  OVImmutableIdentifier rowList[kRowListSize];
  for (int row = 0; row < kCreditRowCount; ++row) {
    for (int column = 0; column < 3; ++column) {
      rowList[row * kGroupSize + column] = oc(kCreditRows[row][column]);
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
                 "Enter credit description code, awardee tax ID number, and/or amount of "
                 "credit.");
  }

  const OVImmutableIdentifier& restrictedAmount = amountOf(kCreditRowCount - 1);
  report.issue(kClassOrdinary,
               pa.hasSigValue(form, copy, restrictedAmount) &&
                   !pa.hasSigValue(form, copy, oc(kRestrictedType)),
               kCodeMissing, oc(kRestrictedType),
               "Enter the credit type for other restricted credits.");
}

}  // namespace PAAuditMgmt
