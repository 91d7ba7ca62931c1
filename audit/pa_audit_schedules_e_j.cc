// Audit rules of PA Schedule E (rents and royalties, one copy per property)
// and PA Schedule J (income from estates and trusts).
#include "audit/pa_tax_form_auditor.h"
#include "audit/schedule_rule_reporter.h"
#include "catalogs/catalogs.h"
#include "identifiers/form_ids.h"

namespace PAAuditMgmt {

namespace {

using Primitives::OVImmutableIdentifier;

// PA Schedule E members; host field numbers in comments.
const int kRentsReceived = 144;      // 120
const int kRoyaltiesReceived = 147;  // 192
const int kPropertyAmount = 166;     // 200
const int kTaxableForPA = 25;        // 21669: check box
const int kFromForm4835 = 18;        // 212: yes-box
const int kScheduleECount = 19;      // 213
const int kRK1Income = 164;          // 196
const int kDescription = 15;         // 207077
const int kShortTermRental = 69;     // 207087
const int kRentalDaysBox = 63;       // 207081
const int kSalesTaxLicence = 22;     // 207074

const long kMaxScheduleECopies = 10;

// PA Schedule J members.
const int kJTotal = 64;          // 42
const int kJFurtherAmount = 63;  // 9681

// The five estate or trust rows of Schedule J: the three identifying
// entries and the income.
struct TrustRow {
  int entries[3];
  int income;
};
const TrustRow kTrustRows[] = {
    {{11, 13, 14}, 15},  // 12, 13, 14; income 15
    {{16, 18, 19}, 20},  // 16, 17, 18; income 19
    {{21, 23, 24}, 25},  // 20, 21, 22; income 23
    {{26, 28, 29}, 30},  // 24, 25, 26; income 27
    {{31, 33, 34}, 35},  // 28, 29, 30; income 31
};

const OVImmutableIdentifier& se(int member) { return kPAScheduleEFieldIds[member]; }
const OVImmutableIdentifier& sj(int member) { return kPAScheduleJFieldIds[member]; }

}  // namespace

// Every field is read through the PA return on the audited copy.
void PATaxFormAuditor::auditScheduleE(DataMgmt::TaxFormPtr /*formCopy*/, unsigned short copy) {
  const Primitives::OVImmutableFormIdentifier& form = kFormID_PAScheduleE;
  const ScheduleRuleReporter report(*this, form, copy);
  PADataMgmt::PATaxReturn& pa = *paReturn;

  const int32_t residency = pa.readResidencyStatus(kFormID_PAReturnInfo);
  if (residency == 1 || residency == 2) {
    const bool hasAmount = pa.getIN(form, copy, se(kRentsReceived)) != 0 ||
                           pa.getIN(form, copy, se(kRoyaltiesReceived)) != 0 ||
                           pa.getIN(form, copy, se(kPropertyAmount)) != 0;
    report.issue(kClassOrdinary, hasAmount, kCodeNotice, se(kTaxableForPA),
                 "Check to make sure that this checkbox correctly reflects "
                 "whether this property is taxable for PA purposes. If the designation is "
                 "incorrect, click on the correct box.");
  }

  report.efile(kClassRefusal, pa.formYes(form, copy, se(kFromForm4835)), kCodeNoEFile,
               Primitives::kNullFieldID,
               "This program does not support electronic filing for taxpayers who earned "
               "rental income reported on federal Form 4835.",
               kStateOnlyNote);
  report.efile(kClassRefusal, pa.getIN(form, copy, se(kScheduleECount)) > kMaxScheduleECopies,
               kCodeNoEFile, Primitives::kNullFieldID,
               "More than 10 copies of PA Schedule E are not allowed", kStateOnlyNote);
  report.efile(kClassRefusal, pa.getIN(form, copy, se(kRK1Income)) != 0, kCodeNoEFile,
               Primitives::kNullFieldID,
               "This program does not support e-filing for Schedule RK-1 or NRK-1", kStateOnlyNote);

  report.issue(
      kClassBothAudits,
      pa.hasSigValue(form, copy, se(kPropertyAmount)) && pa.isNull(form, copy, se(kDescription)),
      kCodeMissing, se(kDescription), "Enter description of the property on PA Schedule E");
  report.issue(kClassBothAudits,
               pa.hasSigValue(form, copy, se(kShortTermRental)) &&
                   pa.hasSigValue(form, copy, se(kRentalDaysBox)) &&
                   pa.isNull(form, copy, se(kSalesTaxLicence)),
               kCodeMissing, se(kSalesTaxLicence),
               "Enter the PA sales tax license number used to collect and remit the hotel "
               "occupancy tax on your short-term rental");
}

void PATaxFormAuditor::auditScheduleJ(DataMgmt::TaxFormPtr formCopy, unsigned short copy) {
  const Primitives::OVImmutableFormIdentifier& form = kFormID_PAScheduleJ;
  PADataMgmt::PATaxReturn& pa = *paReturn;
  if (pa.getIN(form, copy, sj(kJTotal)) == 0 || formCopy.isNull()) return;
  const ScheduleRuleReporter report(*this, form, copy);

  // Every row's income counts for the loss test, row 5 included.
  bool loss = formCopy->getIR(sj(kJFurtherAmount)) < 0;
  for (const TrustRow& row : kTrustRows) loss = loss || formCopy->getIR(sj(row.income)) < 0;
  report.issue(kClassOrdinary, loss, kCodeInconsistent, Primitives::kNullFieldID,
               "Schedule J, Losses from estates and trusts are not deductible");

  bool incomplete = false;
  for (const TrustRow& row : kTrustRows) {
    if (formCopy->getIR(sj(row.income)) <= 0) continue;
    for (int entry : row.entries) {
      if (!pa.hasSigValue(form, copy, sj(entry))) incomplete = true;
    }
    if (incomplete) break;
  }
  report.issue(kClassOrdinary, incomplete, kCodeNotice, sj(kTrustRows[0].income),
               "you must enter the name, address, federal Employer Identification Number "
               "and owner for each estate or trust for which you are reporting income");
}

}  // namespace PAAuditMgmt
