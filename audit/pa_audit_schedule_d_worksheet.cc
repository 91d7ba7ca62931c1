// Audit rules of the PA Schedule D worksheet of sales: completeness of each
// transaction row, the transactions and incomes the state does not accept
// electronically, and the attachments the entries call for.
//
// The worksheet has two tables of rows of equal length, the sales table
// (rows starting at fields 9 to 108) and the table of other gains (rows
// starting at fields 225 to 243). A row's columns are found by their
// distance from the row's first field in the form's field list.
#include <cstring>

#include "audit/pa_tax_form_auditor.h"
#include "audit/schedule_rule_reporter.h"
#include "catalogs/catalogs.h"
#include "host/dates.h"
#include "identifiers/form_ids.h"

namespace PAAuditMgmt {

namespace {

using Primitives::OVImmutableIdentifier;

// PA Schedule D worksheet members; host field numbers in comments.
const int kFirstSalesRow = 33;                    // 9
const int kSecondSalesRow = 43;                   // 18
const int kLastSalesRow = 143;                    // 108
const int kFirstOtherGain = 153;                  // 225
const int kLastOtherGain = 173;                   // 243
const int kFirstRowGain = 41;                     // 17
const int kGroupedSales = 16;                     // 161039
const int kForfeitedTaxpayer = 183;               // 257
const int kForfeitedSpouse = 184;                 // 258
const int kOtherGains[] = {161, 171, 181};        // 233, 242, 251
const int kResidenceGain = 202;                   // 283
const int kResidencePresent[] = {197, 199, 198};  // 278, 280, 279: address, dates
const int kResidenceAmounts[] = {200, 201};       // 281, 282: sales price, basis

const int kInfoJoint = 117;  // PAReturnInfo 57

// Columns by their distance from a row's first field.
const int kColObligation = 2;  // mark: obligation of the Commonwealth before 2 February 1994
const int kColEntered = 3;     // a transaction is entered on the row
const int kColAcquired = 4;
const int kColSold = 5;  // date of sale, or "BANKRUPT"
const int kColProceeds = 6;
const int kColCost = 7;
const int kColGain = 8;
const int kColDateExcused = 9;  // mark: a missing or out-of-year date of sale is excused

const int kTaxYear = 2018;
const int kTextSize = 128;

const OVImmutableIdentifier& dw(int member) { return kPAScheduleDWorksheetFieldIds[member]; }

const char kRowIncompleteText[] =
    "all information requested in columns A-F of the Schedule D Worksheet "
    "must be entered ";

}  // namespace

void PATaxFormAuditor::auditScheduleDWorksheet(DataMgmt::TaxFormPtr formCopy, unsigned short copy) {
  if (formCopy.isNull()) return;
  const Primitives::OVImmutableFormIdentifier& form = kFormID_PAScheduleDWorksheet;
  const ScheduleRuleReporter report(*this, form, copy);
  PADataMgmt::PATaxReturn& pa = *paReturn;
  const DataMgmt::TaxForm& sheet = *formCopy;
  const bool ordinary = !eFileAudit;

  // Rule 1: the taxable-in-PA boxes of a part-year resident.
  report.issue(
      kClassOrdinary,
      pa.readResidencyStatus(kFormID_PAReturnInfo) == 1 && sheet.getIR(dw(kFirstRowGain)) != 0,
      kCodeNotice, dw(kFirstSalesRow),
      "An X in the first checkbox on each row for which a transaction is entered "
      "indicates whether that transaction is taxable in PA. If one or more of these "
      "checkboxes is incorrect, highlight the incorrect checkbox by clicking on it and "
      "adding or deleting the X.");

  // Rules 2-6: the rows. The descriptor's field list is held while the
  // walk runs. A list without the row geometry (field 9 missing, or rows
  // of no length) is not walked, so the walk always ends.
  const DataMgmt::TaxFormDescPtr desc = pa.getTaxFormDescriptor(form);
  if (!desc.isNull()) {
    const DataMgmt::OVFieldIDIter fields = desc->getFieldIDs();
    const int rowLength =
        fields.positionOf(dw(kSecondSalesRow)) - fields.positionOf(dw(kFirstSalesRow));
    if (fields.positionOf(dw(kFirstSalesRow)) >= 0 && rowLength > 0) {
      const long firstDay = Utils::dateToNumber(1, 1, kTaxYear);
      const long lastDay = Utils::dateToNumber(12, 31, kTaxYear);
      DataMgmt::OVFieldIDIter row = fields;
      row = dw(kFirstSalesRow);
      for (; row <= dw(kLastSalesRow); row += rowLength) {
        auto col = [&row](int distance) { return (row + distance).getID(); };
        if (!pa.hasSigValue(form, copy, col(kColEntered))) continue;
        const bool excused = sheet.xMarked(col(kColDateExcused));
        report.issue(kClassEFile,
                     (sheet.isNull(col(kColSold)) && !excused) || sheet.isNull(col(kColAcquired)) ||
                         sheet.isNull(col(kColProceeds)) || sheet.isNull(col(kColCost)) ||
                         sheet.isNull(col(kColGain)),
                     kCodeMissing, col(kColEntered), kRowIncompleteText);
        report.efile(kClassRefusal, sheet.xMarked(col(kColObligation)), kCodeNoEFile,
                     Primitives::kNullFieldID,
                     "This program does not support e-filed returns from taxpayers who report a "
                     "gain or loss from sale of an obligation issued before February 2, 1994 by "
                     "the Commonwealth of Pennsylvania.",
                     kStateOnlyNote);
        report.efile(kClassRefusal, sheet.ltZero(col(kColProceeds)), kCodeNoEFile,
                     Primitives::kNullFieldID, "a Sales Proceed amount is a negative number",
                     kStateOnlyNote);
        char text[kTextSize];
        pa.textString(text, form, copy, col(kColSold));
        if (std::strcmp(text, "BANKRUPT") != 0) {
          pa.formString(text, form, copy, col(kColSold));
          const long sold = Utils::strDateToNumber(text);
          report.efile(kClassRefusal, (sold < firstDay || sold > lastDay) && !excused, kCodeNoEFile,
                       col(kColSold),
                       "PA does not accept electronically filed returns from taxpayers who "
                       "report a PA Schedule D transaction where the date of sale is not in the "
                       "current tax year.",
                       kStateOnlyNote);
        }
      }
      row = dw(kFirstOtherGain);
      for (; row <= dw(kLastOtherGain); row += rowLength) {
        auto col = [&row](int distance) { return (row + distance).getID(); };
        if (!pa.hasSigValue(form, copy, col(kColEntered)) &&
            !pa.hasSigValue(form, copy, col(kColGain))) {
          continue;
        }
        report.issue(kClassOrdinary,
                     sheet.isNull(col(kColSold)) || sheet.isNull(col(kColAcquired)) ||
                         sheet.isNull(col(kColProceeds)) || sheet.isNull(col(kColCost)) ||
                         sheet.isNull(col(kColGain)),
                     kCodeNotice, col(kColEntered), kRowIncompleteText);
      }
    }
  }

  // Rule 7: grouped sales.
  report.issue(kClassAttachment, ordinary && sheet.getIR(dw(kGroupedSales)) > 0, kCodeNotice,
               Primitives::kNullFieldID,
               "attach a copy of your brokerage statement or other summary statements to support "
               "your grouped sale transactions");

  // Rules 8-9: incomes not accepted electronically, read on copy 1.
  const bool joint = pa.formYes(kFormID_PAReturnInfo, 1, kPAReturnInfoFieldIds[kInfoJoint]);
  report.efile(kClassRefusal,
               pa.getIN(form, 1, dw(kForfeitedTaxpayer)) != 0 ||
                   (joint && pa.getIN(form, 1, dw(kForfeitedSpouse)) != 0),
               kCodeNoEFile, Primitives::kNullFieldID,
               "This program does not support electronically filed returns for taxpayers who "
               "have income from forfeited interest penalty, taxable distributions from a "
               "Medical Savings Account, or taxable PA Tuition Account withdrawals. ",
               kStateOnlyNote);
  bool otherGain = false;
  for (int member : kOtherGains) otherGain = otherGain || pa.getIN(form, 1, dw(member)) != 0;
  report.efile(kClassRefusal, otherGain, kCodeNoEFile, Primitives::kNullFieldID,
               "This program does not support electronically filed returns for taxpayers who "
               "realized gains/losses reported on federal Form 2439, Form 4684, Form 6252, Form "
               "6781, Form 8824, charitable gift annuity gains reported on Form 1099-R, or the net "
               "gain from a revocable trust or grantor trust for which the filer did not file a "
               "PA-41.",
               kStateOnlyNote);

  // Rules 10-13: the sale of the principal residence.
  const long residenceGain = pa.getIN(form, copy, dw(kResidenceGain));
  bool residenceIncomplete = false;
  for (int member : kResidencePresent) {
    residenceIncomplete = residenceIncomplete || !pa.hasSigValue(form, copy, dw(member));
  }
  for (int member : kResidenceAmounts) {
    residenceIncomplete = residenceIncomplete || sheet.isNull(dw(member));
  }
  residenceIncomplete = residenceIncomplete && residenceGain != 0;
  report.issue(kClassEFile, residenceIncomplete, kCodeNoEFile, dw(kResidenceGain),
               "You reported a gain on the sale of your principal residence."
               "You must enter the address of the residence, the date it was acquired and sold, "
               "the sales price, and your cost of other basis");
  report.issue(kClassOrdinary, residenceIncomplete, kCodeNotice, dw(kResidenceGain),
               "you reported a gain on the sale of your residence on PA Sch. D, line 7 "
               "you must enter the address of the residence, the date it was acquired and sold, "
               "the sales price, and your cost of other basis");
  report.issue(kClassOrdinary, residenceGain < 0, kCodeNotice, dw(kResidenceGain),
               "you may not deduct any loss on the sale of your principal "
               "residence. If you used your residence for nonresidential "
               "purposes complete Form PA 19 for determine your allowable loss.");
  report.issue(kClassAttachment, ordinary && sheet.getIR(dw(kResidenceGain)) > 0, kCodeNotice,
               Primitives::kNullFieldID, "attach PA Schedule 19 - Sale of a Principal Residence");
}

}  // namespace PAAuditMgmt
