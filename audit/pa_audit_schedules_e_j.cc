// Audit rules of PA Schedule E (rents and royalties, one copy per property)
// and PA Schedule J (income from estates and trusts).
#include "audit/pa_tax_form_auditor.h"
#include "audit/schedule_rule_reporter.h"
#include "catalogs/fields/fields.h"
#include "identifiers/form_ids.h"
#include "return/return_codes.h"

namespace PAAuditMgmt {

namespace {

const long kMaxScheduleECopies = 10;

// The estate or trust rows of Schedule J that the audit reads.
const int kTrustRows = 5;

// Message texts of the Schedule E rules, in report order.
const char kTaxableForPAText[] =
    "Check to make sure that this checkbox correctly reflects whether this property is taxable for "
    "PA purposes. If the designation is incorrect, click on the correct box.";
const char kForm4835Text[] =
    "This program does not support electronic filing for taxpayers who earned rental income "
    "reported on federal Form 4835.";
const char kScheduleECopiesText[] = "More than 10 copies of PA Schedule E are not allowed";
const char kRK1Text[] = "This program does not support e-filing for Schedule RK-1 or NRK-1";
const char kDescriptionText[] = "Enter description of the property on PA Schedule E";
const char kSalesTaxLicenseText[] =
    "Enter the PA sales tax license number used to collect and remit the hotel occupancy tax on "
    "your short-term rental";

// Message texts of the Schedule J rules, in report order.
const char kTrustLossText[] = "Schedule J, Losses from estates and trusts are not deductible";
const char kTrustIncompleteText[] =
    "you must enter the name, address, federal Employer Identification Number and owner for each "
    "estate or trust for which you are reporting income";

}  // namespace

// Every field is read through the PA return on the audited copy.
void PATaxFormAuditor::auditScheduleE(DataMgmt::TaxFormPtr /*formCopy*/, unsigned short copy) {
  const Primitives::OVImmutableFormIdentifier& form = kFormID_PAScheduleE;
  const ScheduleRuleReporter report(*this, form, copy);
  PADataMgmt::PATaxReturn& pa = *paReturn;

  const int32_t residency = pa.readResidencyStatus(kFormID_PAReturnInfo);
  if (residency == PADataMgmt::kPartYearResident || residency == PADataMgmt::kNonresident) {
    const bool hasAmount = pa.getIN(form, copy, PAScheduleE::kNetIncome) != 0 ||
                           pa.getIN(form, copy, PAScheduleE::kDeductibleLoss) != 0 ||
                           pa.getIN(form, copy, PAScheduleE::kTotalIncome) != 0;
    report.issue(kClassOrdinary, hasAmount, kCodeNotice, PAScheduleE::kTaxableForPAYesBox,
                 kTaxableForPAText);
  }

  report.efile(kClassRefusal, pa.formYes(form, copy, PAScheduleE::kForm4835SourceBox), kCodeNoEFile,
               Primitives::kNullFieldID, kForm4835Text, kStateOnlyNote);
  report.efile(kClassRefusal,
               pa.getIN(form, copy, PAScheduleE::kFederalCopyUsed) > kMaxScheduleECopies,
               kCodeNoEFile, Primitives::kNullFieldID, kScheduleECopiesText, kStateOnlyNote);
  report.efile(kClassRefusal, pa.getIN(form, copy, PAScheduleE::kRK1Income) != 0, kCodeNoEFile,
               Primitives::kNullFieldID, kRK1Text, kStateOnlyNote);

  report.issue(kClassBothAudits,
               pa.hasSigValue(form, copy, PAScheduleE::kTotalIncome) &&
                   pa.isNull(form, copy, PAScheduleE::kPropertyDescription),
               kCodeMissing, PAScheduleE::kPropertyDescription, kDescriptionText);
  report.issue(kClassBothAudits,
               pa.hasSigValue(form, copy, PAScheduleE::kShortTermRentalYesBox) &&
                   pa.hasSigValue(form, copy, PAScheduleE::kPAPropertyYesBox) &&
                   pa.isNull(form, copy, PAScheduleE::kSalesTaxLicense),
               kCodeMissing, PAScheduleE::kSalesTaxLicense, kSalesTaxLicenseText);
}

void PATaxFormAuditor::auditScheduleJ(DataMgmt::TaxFormPtr formCopy, unsigned short copy) {
  const Primitives::OVImmutableFormIdentifier& form = kFormID_PAScheduleJ;
  PADataMgmt::PATaxReturn& pa = *paReturn;
  if (pa.getIN(form, copy, PAScheduleJ::kTotalIncome) == 0 || formCopy.isNull()) return;
  const ScheduleRuleReporter report(*this, form, copy);

  // Every row's income counts for the loss test, row 5 included.
  bool loss = formCopy->getIR(PAScheduleJ::kFurtherIncome) < 0;
  for (int row = 0; row < kTrustRows; ++row) {
    loss = loss || formCopy->getIR(PAScheduleJ::kRowIncome.at(row)) < 0;
  }
  report.issue(kClassOrdinary, loss, kCodeInconsistent, Primitives::kNullFieldID, kTrustLossText);

  bool incomplete = false;
  for (int row = 0; row < kTrustRows; ++row) {
    if (formCopy->getIR(PAScheduleJ::kRowIncome.at(row)) <= 0) continue;
    // The three identifying entries: name, owner and EIN.
    for (const NamedColumn<PAScheduleJFieldIds>* entry :
         {&PAScheduleJ::kRowName, &PAScheduleJ::kRowOwner, &PAScheduleJ::kRowEIN}) {
      if (!pa.hasSigValue(form, copy, entry->at(row))) incomplete = true;
    }
    if (incomplete) break;
  }
  report.issue(kClassOrdinary, incomplete, kCodeNotice, PAScheduleJ::kRowIncome.at(0),
               kTrustIncompleteText);
}

}  // namespace PAAuditMgmt
