// Audit rules of PA Schedule E (rents and royalties, one copy per property)
// and PA Schedule J (income from estates and trusts).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "audit/pa_tax_form_auditor.h"
#include "audit/schedule_rule_reporter.h"
#include "calc/pa/rental_sources.h"
#include "catalogs/fields/fields.h"
#include "host/descriptors.h"
#include "host/us_tax_return.h"
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

// The properties left without a PA Schedule E copy (reported on copy 1):
// the copy limit, then the federal copies named in brackets, if any.
const char kLeftOutText[] =
    "PA Schedule E holds at most %d copies, one for each property: line 6 leaves out the rents "
    "and royalties of the properties without one%s";
// Each source form's name in that message, in the order the sources take
// copies, and how many runs of copy numbers the message names before it
// only counts the rest.
const char* const kSourceNames[] = {"federal Schedule E", "Form 4835"};
const int kNamedRuns = 8;
// The words around the copy numbers in that message.
const char kOneCopyWord[] = " copy ";
const char kCopiesWord[] = " copies ";
const char kRunsSeparator[] = ", ";
const char kRunTo[] = " to ";
const char kMoreHead[] = " and ";
const char kMoreTail[] = " more";

// Message texts of the Schedule J rules, in report order.
const char kTrustLossText[] = "Schedule J, Losses from estates and trusts are not deductible";
const char kTrustIncompleteText[] =
    "you must enter the name, address, federal Employer Identification Number and owner for each "
    "estate or trust for which you are reporting income";

// A source form's name and copies in runs of copy numbers ("Form 4835
// copies 3, 7 to 12"); past kNamedRuns runs the rest is only counted.
std::string copyRunsText(const char* form, const std::vector<uint16_t>& copies) {
  std::string text = std::string(form) + (copies.size() == 1 ? kOneCopyWord : kCopiesWord);
  int runs = 0;
  std::size_t unnamed = 0;
  for (std::size_t first = 0, last = 0; first < copies.size(); first = ++last) {
    while (last + 1 < copies.size() && copies[last + 1] == copies[last] + 1) ++last;
    if (++runs > kNamedRuns) {
      unnamed += last - first + 1;
      continue;
    }
    if (runs > 1) text += kRunsSeparator;
    text += std::to_string(copies[first]);
    if (last > first) text += kRunTo + std::to_string(copies[last]);
  }
  if (unnamed > 0) text += kMoreHead + std::to_string(unnamed) + kMoreTail;
  return text;
}

// The federal rental sources that have no PA Schedule E copy (the host
// keeps at most so many copies of a form), named by form and copy; empty
// when every source has its copy.
std::string leftOutRentals(const DataMgmt::TaxReturn& federal, const DataMgmt::TaxReturn& pa) {
  std::vector<uint16_t> leftOut[2];  // by source form, in source order
  PACalculationMgmt::forEachRentalSource(
      federal, [&](const Primitives::OVImmutableFormIdentifier& form, uint16_t copy, long position) {
        if (position <= UINT16_MAX && pa.formExists(kFormID_PAScheduleE, static_cast<uint16_t>(position))) return;
        leftOut[form == kFormID_FedFarmRental ? 1 : 0].push_back(copy);
      });
  std::string names;
  for (int k = 0; k < 2; ++k) {
    if (leftOut[k].empty()) continue;
    if (!names.empty()) names += " and ";
    names += copyRunsText(kSourceNames[k], leftOut[k]);
  }
  return names;
}

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

  // Once for the return: the properties past the host's copy limit.
  if (copy == 1) {
    const std::string leftOut = getFederalReturn() == nullptr ? std::string() : leftOutRentals(*getFederalReturn(), pa);
    const DataMgmt::TaxFormDescPtr desc = pa.getTaxFormDescriptor(form);
    char text[512];
    const std::string named = leftOut.empty() ? leftOut : " (" + leftOut + ")";
    std::snprintf(text, sizeof text, kLeftOutText, desc.isNull() ? 0 : desc->getMaxCopies(), named.c_str());
    report.issue(kClassBothAudits, !leftOut.empty(), kCodeInconsistent, Primitives::kNullFieldID, text);
  }
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
