// Audit rules of the PA Schedule D worksheet of sales: completeness of each
// transaction row, the transactions and incomes the state does not accept
// electronically, and the attachments the entries call for.
//
// The worksheet's rows are one table: the twelve rows of sales filled from
// the federal sale records, then the three rows of other gains entered by
// hand.
#include <string>

#include "audit/pa_tax_form_auditor.h"
#include "audit/schedule_rule_reporter.h"
#include "catalogs/fields/fields.h"
#include "host/dates.h"
#include "identifiers/form_ids.h"
#include "return/return_codes.h"

namespace PAAuditMgmt {

namespace {

using Worksheet = NamedField<PAScheduleDWorksheetFieldIds>;

// Rows 0 to 11 hold sales, rows 12 to 14 other gains.
const int kSalesRows = 12;
const int kRows = PAScheduleDWorksheet::kRowGain.rows();

// The residence entries that must be present
// (address, dates) or filled (sales price, basis) once it shows a gain.
constexpr Worksheet kResidencePresent[] = {PAScheduleDWorksheet::kResidenceAddress,
                                           PAScheduleDWorksheet::kResidenceDateSold,
                                           PAScheduleDWorksheet::kResidenceDateAcquired};
constexpr Worksheet kResidenceAmounts[] = {PAScheduleDWorksheet::kResidenceSalesPrice,
                                           PAScheduleDWorksheet::kResidenceCost};

const int kTaxYear = 2018;
// The date of sale of a bankrupt holding, which has no date to judge.
const char kBankruptSaleDate[] = "BANKRUPT";

// Message texts, in report order (rule numbers as below).
const char kTaxableInPAText[] =  // rule 1
    "An X in the first checkbox on each row for which a transaction is entered indicates whether "
    "that transaction is taxable in PA. If one or more of these checkboxes is incorrect, highlight "
    "the incorrect checkbox by clicking on it and adding or deleting the X.";
const char kRowIncompleteText[] =  // rules 2 and 6
    "all information requested in columns A-F of the Schedule D Worksheet "
    "must be entered ";
const char kExemptObligationText[] =  // rule 3
    "This program does not support e-filed returns from taxpayers who report a gain or loss from "
    "sale of an obligation issued before February 2, 1994 by the Commonwealth of Pennsylvania.";
const char kNegativeProceedsText[] =  // rule 4
    "a Sales Proceed amount is a negative number";
const char kSaleDateText[] =  // rule 5
    "PA does not accept electronically filed returns from taxpayers who report a PA Schedule D "
    "transaction where the date of sale is not in the current tax year.";
const char kGroupedSalesText[] =  // rule 7
    "attach a copy of your brokerage statement or other summary statements to support your "
    "grouped sale transactions";
const char kForfeitedInterestText[] =  // rule 8
    "This program does not support electronically filed returns for taxpayers who have income "
    "from forfeited interest penalty, taxable distributions from a Medical Savings Account, or "
    "taxable PA Tuition Account withdrawals. ";
const char kOtherGainsText[] =  // rule 9
    "This program does not support electronically filed returns for taxpayers who realized "
    "gains/losses reported on federal Form 2439, Form 4684, Form 6252, Form 6781, Form 8824, "
    "charitable gift annuity gains reported on Form 1099-R, or the net gain from a revocable "
    "trust or grantor trust for which the filer did not file a PA-41.";
const char kResidenceEFileText[] =  // rule 10
    "You reported a gain on the sale of your principal residence.You must enter the address of "
    "the residence, the date it was acquired and sold, the sales price, and your cost of other "
    "basis";
const char kResidenceText[] =  // rule 11
    "you reported a gain on the sale of your residence on PA Sch. D, line 7 you must enter the "
    "address of the residence, the date it was acquired and sold, the sales price, and your cost "
    "of other basis";
const char kResidenceLossText[] =  // rule 12
    "you may not deduct any loss on the sale of your principal residence. If you used your "
    "residence for nonresidential purposes complete Form PA 19 for determine your allowable "
    "loss.";
const char kResidenceAttachmentText[] =  // rule 13
    "attach PA Schedule 19 - Sale of a Principal Residence";

}  // namespace

void PATaxFormAuditor::auditScheduleDWorksheet(DataMgmt::TaxFormPtr formCopy, unsigned short copy) {
  if (formCopy.isNull()) return;
  const Primitives::OVImmutableFormIdentifier& form = kFormID_PAScheduleDWorksheet;
  const ScheduleRuleReporter report(*this, form, copy);
  PADataMgmt::PATaxReturn& pa = *paReturn;
  const DataMgmt::TaxForm& sheet = *formCopy;
  const bool ordinary = !eFileAudit;
  using namespace PAScheduleDWorksheet;  // NOLINT(build/namespaces): this form's fields

  // Rule 1: the taxable-in-PA boxes of a part-year resident.
  report.issue(kClassOrdinary,
               pa.readResidencyStatus(kFormID_PAReturnInfo) == PADataMgmt::kPartYearResident &&
                   sheet.getIR(kRowGain.at(0)) != 0,
               kCodeNotice, kRowTaxableInPABox.at(0), kTaxableInPAText);

  // Rules 2-6: the sales rows. A row holds a transaction when its
  // description is present; the grouped-sale box excuses a missing or
  // out-of-year date of sale.
  const long firstDay = Utils::dateToNumber(1, 1, kTaxYear);
  const long lastDay = Utils::dateToNumber(12, 31, kTaxYear);
  for (int r = 0; r < kSalesRows; ++r) {
    if (!pa.hasSigValue(form, copy, kRowDescription.at(r))) continue;
    const bool excused = sheet.xMarked(kRowGroupedSaleBox.at(r));
    report.issue(kClassEFile,
                 (sheet.isNull(kRowDateSold.at(r)) && !excused) ||
                     sheet.isNull(kRowDateAcquired.at(r)) || sheet.isNull(kRowSalesPrice.at(r)) ||
                     sheet.isNull(kRowCost.at(r)) || sheet.isNull(kRowGain.at(r)),
                 kCodeMissing, kRowDescription.at(r), kRowIncompleteText);
    report.efile(kClassRefusal, sheet.xMarked(kRowExemptObligationBox.at(r)), kCodeNoEFile,
                 Primitives::kNullFieldID, kExemptObligationText, kStateOnlyNote);
    report.efile(kClassRefusal, sheet.ltZero(kRowSalesPrice.at(r)), kCodeNoEFile,
                 Primitives::kNullFieldID, kNegativeProceedsText, kStateOnlyNote);
    // The whole entry: a date of sale is never cut to a buffer.
    const std::string sold = pa.getFieldAsString(form, copy, kRowDateSold.at(r));
    if (sold != kBankruptSaleDate) {
      const long day = Utils::strDateToNumber(sold.c_str());
      report.efile(kClassRefusal, (day < firstDay || day > lastDay) && !excused, kCodeNoEFile,
                   kRowDateSold.at(r), kSaleDateText, kStateOnlyNote);
    }
  }
  // The rows of other gains.
  for (int r = kSalesRows; r < kRows; ++r) {
    if (!pa.hasSigValue(form, copy, kRowDescription.at(r)) &&
        !pa.hasSigValue(form, copy, kRowGain.at(r))) {
      continue;
    }
    report.issue(kClassOrdinary,
                 sheet.isNull(kRowDateSold.at(r)) || sheet.isNull(kRowDateAcquired.at(r)) ||
                     sheet.isNull(kRowSalesPrice.at(r)) || sheet.isNull(kRowCost.at(r)) ||
                     sheet.isNull(kRowGain.at(r)),
                 kCodeNotice, kRowDescription.at(r), kRowIncompleteText);
  }

  // Rule 7: grouped sales.
  report.issue(kClassAttachment, ordinary && sheet.getIR(kGroupedSaleCount) > 0, kCodeNotice,
               Primitives::kNullFieldID, kGroupedSalesText);

  // Rules 8-9: incomes not accepted electronically, read on copy 1.
  const bool joint = pa.formYes(kFormID_PAReturnInfo, 1, PAReturnInfo::kJointBox);
  report.efile(kClassRefusal,
               pa.getIN(form, 1, kTaxpayerForfeitedInterest) != 0 ||
                   (joint && pa.getIN(form, 1, kSpouseForfeitedInterest) != 0),
               kCodeNoEFile, Primitives::kNullFieldID, kForfeitedInterestText, kStateOnlyNote);
  bool otherGain = false;
  for (int r = kSalesRows; r < kRows; ++r) {
    otherGain = otherGain || pa.getIN(form, 1, kRowGain.at(r)) != 0;
  }
  report.efile(kClassRefusal, otherGain, kCodeNoEFile, Primitives::kNullFieldID, kOtherGainsText,
               kStateOnlyNote);

  // Rules 10-13: the sale of the principal residence.
  const long residenceGain = pa.getIN(form, copy, kResidenceGain);
  bool residenceIncomplete = false;
  for (const Worksheet& field : kResidencePresent) {
    residenceIncomplete = residenceIncomplete || !pa.hasSigValue(form, copy, field);
  }
  for (const Worksheet& field : kResidenceAmounts) {
    residenceIncomplete = residenceIncomplete || sheet.isNull(field);
  }
  residenceIncomplete = residenceIncomplete && residenceGain != 0;
  report.issue(kClassEFile, residenceIncomplete, kCodeNoEFile, kResidenceGain, kResidenceEFileText);
  report.issue(kClassOrdinary, residenceIncomplete, kCodeNotice, kResidenceGain, kResidenceText);
  report.issue(kClassOrdinary, residenceGain < 0, kCodeNotice, kResidenceGain, kResidenceLossText);
  report.issue(kClassAttachment, ordinary && sheet.getIR(kResidenceGain) > 0, kCodeNotice,
               Primitives::kNullFieldID, kResidenceAttachmentText);
}

}  // namespace PAAuditMgmt
