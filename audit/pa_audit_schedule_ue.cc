// Audit rules of PA Schedule UE, unreimbursed employee business expenses
// (one copy per employer): the copy limit of electronic filing, the
// employer's data, every expense line, the description lengths that the
// electronic-filing record carries, attachments, and the employer's
// identification number against the federal W-2s.
//
// Presence, whole amounts and texts are read through the PA return on the
// audited copy; empty fields, marks and amounts on the form copy itself.
#include <cstdint>
#include <string>

#include "audit/pa_tax_form_auditor.h"
#include "audit/schedule_rule_reporter.h"
#include "catalogs/fields/fields.h"
#include "host/string_utils.h"
#include "identifiers/form_ids.h"
#include "parameters/tax_parameters.h"

namespace PAAuditMgmt {

namespace {

using UEField = NamedField<PAScheduleUEFieldIds>;

// Electronic-filing limits.
const unsigned short kMaxEFileCopies = 4;
const std::size_t kJobDescriptionLimit = 35;
const std::size_t kUnionNameLimit = 32;
const std::size_t kCourseLimit = 20;
const std::size_t kMiscDescriptionLimit = 40;

// Employer data required in an ordinary audit (class 1, code 7), in
// reporting order; those marked also in an electronic-filing audit (class
// 2, code 4), in the same order.
struct RequiredEntry {
  UEField field;
  const char* text;
  bool inEFileAudit;
};
constexpr RequiredEntry kEmployerEntries[] = {
    {PAScheduleUE::kEmployerName, "name of employer.", true},
    {PAScheduleUE::kEmployerEIN, "employer's federal identification number (EIN).", true},
    {PAScheduleUE::kEmployerPhone, "phone number of employer", false},
    {PAScheduleUE::kEmployerAddress, "address of employer", true},
    {PAScheduleUE::kEmployerCity, "city in which employer located", true},
    {PAScheduleUE::kEmployerState, "state in which employer located", true},
    {PAScheduleUE::kEmployerZip, "employer's zip code", true},
    {PAScheduleUE::kJobDescription, "job description", false},
};

// Expense lines with a description and an amount (union dues have their
// own rules).
struct ExpenseLine {
  UEField description;
  UEField amount;
  const char* amountMissing;
  const char* descriptionMissing;
};
constexpr ExpenseLine kExpenseLines[] = {
    {PAScheduleUE::kWorkClothesDescription, PAScheduleUE::kWorkClothes,
     "amount paid for work clothes", "description of work clothes"},
    {PAScheduleUE::kSmallToolsDescription, PAScheduleUE::kSmallTools,
     "amount paid for small tools and supplies", "description of small tools and supplies"},
    {PAScheduleUE::kProfessionalFeesDescription, PAScheduleUE::kProfessionalFees,
     "amount paid for professional fees", "description of professional fees"},
};

// Properties 1 to 4 of Part G: column a, cost basis, depreciation method,
// total depreciation expense; and the date acquired.
struct Property {
  UEField description, basis, method, expense, acquired;
};
constexpr Property kProperties[] = {
    {PAScheduleUE::kFirstPropertyDescription, PAScheduleUE::kFirstPropertyCostBasis,
     PAScheduleUE::kFirstPropertyMethod, PAScheduleUE::kFirstPropertyDepreciation,
     PAScheduleUE::kFirstPropertyDateAcquired},
    {PAScheduleUE::kSecondPropertyDescription, PAScheduleUE::kSecondPropertyCostBasis,
     PAScheduleUE::kSecondPropertyMethod, PAScheduleUE::kSecondPropertyDepreciation,
     PAScheduleUE::kSecondPropertyDateAcquired},
    {PAScheduleUE::kThirdPropertyDescription, PAScheduleUE::kThirdPropertyCostBasis,
     PAScheduleUE::kThirdPropertyMethod, PAScheduleUE::kThirdPropertyDepreciation,
     PAScheduleUE::kThirdPropertyDateAcquired},
    {PAScheduleUE::kFourthPropertyDescription, PAScheduleUE::kFourthPropertyCostBasis,
     PAScheduleUE::kFourthPropertyMethod, PAScheduleUE::kFourthPropertyDepreciation,
     PAScheduleUE::kFourthPropertyDateAcquired},
};
// The three education answers that together claim education expenses.
constexpr UEField kEducationMarks[] = {PAScheduleUE::kEducationYesBox,
                                       PAScheduleUE::kFirstEducationQuestionNoBox,
                                       PAScheduleUE::kSecondEducationQuestionNoBox};
const char* const kUnsupportedDates[] = {"INHERIT", "VAR-L", "VAR-S"};

// Message texts of the other rules, in report order (those of the tables
// above stand beside their entries).
const char kNonresidentText[] = "Attach a PA Schedule NRH to your return.";
const char kPartYearText[] =
    "Attach a statement indicating the method you used to determine your employee business "
    "expenses while you were a Pennsylvania resident or PA Schedule NRH to your return.";
const char kCopyLimitText[] = "More than 4 copies of PA Schedule UE are not allowed";
const char kJobLengthText[] =
    "The job description you entered is too long for PA electronic filing.  Please enter a "
    "description with no more than 35 total characters.";
const char kJobMissingText[] = "job description";
const char kDuesMissingText[] =
    "the name of the union is filled in but not the amount of union dues";
const char kUnionLengthText[] =
    "The union name you entered is too long for PA electronic filing.  Please enter a description "
    "with no more than 32 total characters.";
const char kUnionMissingText[] = "name of union";
const char kVehicleMilesText[] =
    "you've indicated you want to use actual vehicle expenses, but haven't filled in the total "
    "vehicle miles";
const char kBusinessMilesText[] =
    "you've indicated you want to use actual vehicle expenses, but haven't filled in the total "
    "business miles";
const char kVehicleStatementText[] =
    "Include a statement showing the description of the vehicle(s) used for Schedule UE employee "
    "business expenses, date acquired, cost or other basis, depreciation method, Section 179 "
    "expense (if taken), accumulated depreciation previously taken, and the depreciation expense "
    "for the year.";
const char kOfficeStatementText[] =
    "Attach a statement explaining the property maintenance and other apportionable expenses you "
    "entered related to your office or work area expenses on lines f and g of your PA Schedule "
    "UE.";
const char kOldWorkplaceText[] =
    "you must enter the number of miles from your old home to your old workplace ";
const char kMovingDistanceText[] =
    "You may only deduct moving expenses if the number of miles on line c at least 35 miles. If "
    "you are a member of the military who moved to a new permanent duty station, you are exempt "
    "from this distance test. However, you may not file your Pennsylvania return electronically.";
const char kSchoolEFileText[] =
    "you must enter the name of the educational institution that you attended and describe your "
    "course of study";
const char kSchoolText[] =
    "you must enter the name of the eduational institution that you attended and describe your "
    "course of study";
const char kCourseLengthText[] =
    "The course of study description you entered is too long for PA electronic filing.  Please "
    "enter a description with no more than 20 total characters.";
const char kDepreciationText[] =
    "you must enter the cost basis, depreciation method, and total depreciation expense for every "
    "property described in Part G, column a";
const char kDateFormatText[] =
    "You must enter the date you acquired this asset in the following format: MM/DD/YYYY.";
const char kMiscAmountText[] = "you must enter the amount of your miscellaneous expenses";
const char kMiscDescriptionText[] = "description of miscellaneous expenses";
const char kMiscLengthText[] =
    "The expense description you entered is too long for PA electronic filing.  Please enter a "
    "description with no more than 40 total characters.";
const char kEINMismatchText[] =
    "The employer ID number (EIN) you entered on Schedule UE doesn't match any of your W-2s. "
    "Correct the EIN you entered here. If it's already correct, go back to the W-2 you entered for "
    "this employer and make sure the EIN is correct there.";

// The rules of one audited copy of Schedule UE, in steps that run in this
// order. Borrows the reporter, both returns (the federal one may be null)
// and the copy.
class UERules {
 public:
  using FieldId = Primitives::OVImmutableIdentifier;
  UERules(const ScheduleRuleReporter& report, PADataMgmt::PATaxReturn& pa, DataMgmt::TaxReturn* federalReturn,
          const DataMgmt::TaxForm& sched, bool ordinary)
      : report(report), pa(pa), federalReturn(federalReturn), sched(sched), ordinary(ordinary) {}

  // Attachments, the copy limit and the employer's data.
  void employerRules() const;
  // Union dues, the other expense lines, vehicle, office, moving and
  // education.
  void expenseRules() const;
  // Depreciation and dates acquired of Part G, and the miscellaneous
  // expenses.
  void propertyAndMiscRules() const;
  // Last: the employer's number against the federal W-2s.
  void employerNumberRule() const;

 private:
  bool present(const FieldId& field) const { return pa.hasSigValue(form, copy, field); }
  long whole(const FieldId& field) const { return pa.getIN(form, copy, field); }
  bool empty(const FieldId& field) const { return sched.isNull(field); }
  std::size_t textLength(const FieldId& field) const { return pa.getFieldAsString(form, copy, field).size(); }

  const Primitives::OVImmutableFormIdentifier& form = kFormID_PAScheduleUE;
  const ScheduleRuleReporter& report;
  const unsigned short copy = report.copy();
  PADataMgmt::PATaxReturn& pa;
  DataMgmt::TaxReturn* federalReturn;
  const DataMgmt::TaxForm& sched;
  const bool ordinary;
};

void UERules::employerRules() const {
  // Attachments of nonresidents and part-year residents; the copy limit.
  report.issue(kClassAttachment,
               ordinary && pa.formYes(kFormID_PAReturnInfo, 1, PAReturnInfo::kNonresidentBox),
               kCodeNotice, Primitives::kNullFieldID, kNonresidentText);
  report.issue(kClassAttachment,
               ordinary && pa.formYes(kFormID_PAReturnInfo, 1, PAReturnInfo::kPartYearResidentBox),
               kCodeNotice, Primitives::kNullFieldID, kPartYearText);
  report.efile(kClassRefusal, copy > kMaxEFileCopies, kCodeNoEFile, Primitives::kNullFieldID,
               kCopyLimitText, kStateOnlyNote);

  // The employer.
  for (const RequiredEntry& entry : kEmployerEntries) {
    if (!entry.inEFileAudit) continue;
    report.issue(kClassEFile, !present(entry.field), kCodeMissing, entry.field, entry.text);
  }
  report.issue(kClassEFile, textLength(PAScheduleUE::kJobDescription) > kJobDescriptionLimit,
               kCodeNoEFile, PAScheduleUE::kJobDescription, kJobLengthText);
  report.issue(kClassEFile, !present(PAScheduleUE::kJobDescription), kCodeMissing,
               PAScheduleUE::kJobDescription, kJobMissingText);
  for (const RequiredEntry& entry : kEmployerEntries) {
    report.issue(kClassOrdinary, !present(entry.field), kCodeNotice, entry.field, entry.text);
  }

}

void UERules::expenseRules() const {
  // Union dues, then the other expense lines.
  const bool duesMissing = present(PAScheduleUE::kUnionName) && empty(PAScheduleUE::kUnionDues);
  const bool unionMissing =
      !present(PAScheduleUE::kUnionName) && whole(PAScheduleUE::kUnionDues) > 0;
  report.issue(kClassEFile, duesMissing, kCodeMissing, PAScheduleUE::kUnionDues, kDuesMissingText);
  report.issue(kClassEFile, textLength(PAScheduleUE::kUnionName) > kUnionNameLimit, kCodeNoEFile,
               PAScheduleUE::kUnionName, kUnionLengthText);
  report.issue(kClassEFile, unionMissing, kCodeMissing, PAScheduleUE::kUnionName,
               kUnionMissingText);
  report.issue(kClassOrdinary, duesMissing, kCodeNotice, PAScheduleUE::kUnionDues,
               kDuesMissingText);
  report.issue(kClassOrdinary, unionMissing, kCodeNotice, PAScheduleUE::kUnionName,
               kUnionMissingText);
  for (const ExpenseLine& line : kExpenseLines) {
    const bool amountMissing = present(line.description) && empty(line.amount);
    const bool descriptionMissing = !present(line.description) && whole(line.amount) > 0;
    report.issue(kClassEFile, amountMissing, kCodeMissing, line.amount, line.amountMissing);
    report.issue(kClassEFile, descriptionMissing, kCodeMissing, line.description,
                 line.descriptionMissing);
    report.issue(kClassOrdinary, amountMissing, kCodeNotice, line.amount, line.amountMissing);
    report.issue(kClassOrdinary, descriptionMissing, kCodeNotice, line.description,
                 line.descriptionMissing);
  }

  // Vehicle, office, moving and education.
  report.issue(kClassBothAudits,
               sched.xMarked(PAScheduleUE::kActualExpensesBox) &&
                   sched.getIR(PAScheduleUE::kTotalVehicleMiles) == 0,
               kCodeNotice, PAScheduleUE::kTotalVehicleMiles, kVehicleMilesText);
  report.issue(kClassBothAudits,
               sched.getIR(PAScheduleUE::kTotalVehicleMiles) > 0 &&
                   sched.getIR(PAScheduleUE::kTotalBusinessMiles) == 0,
               kCodeNotice, PAScheduleUE::kTotalBusinessMiles, kBusinessMilesText);
  report.issue(kClassAttachment, ordinary && sched.gtZero(PAScheduleUE::kSecondVehicleCost),
               kCodeStatement, Primitives::kNullFieldID, kVehicleStatementText);
  report.issue(kClassAttachment,
               ordinary && whole(PAScheduleUE::kOfficeExpenses) > 0 &&
                   (whole(PAScheduleUE::kOfficePropertyMaintenance) > 0 ||
                    whole(PAScheduleUE::kOfficeOtherApportionable) > 0),
               kCodeNotice, Primitives::kNullFieldID, kOfficeStatementText);
  report.requiredPair(
      whole(PAScheduleUE::kNewWorkplaceMiles) > 0 && empty(PAScheduleUE::kOldWorkplaceMiles),
      PAScheduleUE::kOldWorkplaceMiles, kOldWorkplaceText, kOldWorkplaceText);
  report.efile(kClassRefusal,
               whole(PAScheduleUE::kMovingDistance) < PATax2018::kMovingDistanceMiles &&
                   whole(PAScheduleUE::kMovingExpenses) > 0,
               kCodeNoEFile, PAScheduleUE::kMovingDistance, kMovingDistanceText);
  bool educationClaimed = true;
  for (const UEField& mark : kEducationMarks)
    educationClaimed = educationClaimed && sched.xMarked(mark);
  const bool schoolMissing = educationClaimed && (!present(PAScheduleUE::kEducationalInstitution) ||
                                                  !present(PAScheduleUE::kCourseOfStudy));
  report.requiredPair(schoolMissing, PAScheduleUE::kEducationalInstitution, kSchoolEFileText,
                      kSchoolText);
  report.issue(kClassEFile, textLength(PAScheduleUE::kCourseOfStudy) > kCourseLimit, kCodeNoEFile,
               PAScheduleUE::kCourseOfStudy, kCourseLengthText);

}

void UERules::propertyAndMiscRules() const {
  // Depreciation of Part G, then the dates acquired.
  bool incomplete[4];
  for (int k = 0; k < 4; ++k) {
    const Property& p = kProperties[k];
    incomplete[k] =
        present(p.description) && (empty(p.basis) || !present(p.method) || empty(p.expense));
  }
  for (int k = 0; k < 4; ++k) {
    report.issue(kClassEFile, incomplete[k], kCodeMissing, kProperties[k].description,
                 kDepreciationText);
  }
  for (int k = 0; k < 4; ++k) {
    report.issue(kClassOrdinary, incomplete[k], kCodeNotice, kProperties[k].description,
                 kDepreciationText);
  }
  for (const Property& p : kProperties) {
    const std::string date =
        Utils::OVStringUtils::toUpperCase(pa.getFieldAsString(form, copy, p.acquired));
    bool unsupported = false;
    for (const char* word : kUnsupportedDates) unsupported = unsupported || date == word;
    report.issue(kClassEFile, present(p.acquired) && unsupported, kCodeNoEFile, p.acquired,
                 kDateFormatText, kInterviewHint);
  }

  // Miscellaneous expenses.
  const bool miscDescribed = present(PAScheduleUE::kFirstMiscExpenseDescription) ||
                             present(PAScheduleUE::kSecondMiscExpenseDescription);
  report.requiredPair(miscDescribed && empty(PAScheduleUE::kMiscellaneousExpenses),
                      PAScheduleUE::kMiscellaneousExpenses, kMiscAmountText, kMiscAmountText);
  report.requiredPair(!miscDescribed && whole(PAScheduleUE::kMiscellaneousExpenses) > 0,
                      PAScheduleUE::kFirstMiscExpenseDescription, kMiscDescriptionText,
                      kMiscDescriptionText);
  report.issue(kClassEFile,
               textLength(PAScheduleUE::kFirstMiscExpenseDescription) > kMiscDescriptionLimit,
               kCodeNoEFile, PAScheduleUE::kFirstMiscExpenseDescription, kMiscLengthText);
  report.issue(kClassEFile,
               textLength(PAScheduleUE::kSecondMiscExpenseDescription) > kMiscDescriptionLimit,
               kCodeNoEFile, PAScheduleUE::kSecondMiscExpenseDescription, kMiscLengthText);

}

void UERules::employerNumberRule() const {
  // Last: the employer's number must match one of the federal W-2s, as a
  // whole text (case and every character count).
  const std::string ein = pa.getFieldAsString(form, copy, PAScheduleUE::kEmployerEIN);
  if (!ein.empty() && federalReturn != nullptr) {
    const unsigned w2Count = federalReturn->numFormCopies(kFormID_FedW2);
    for (unsigned i = 1; i <= w2Count; ++i) {
      if (ein == federalReturn->getFieldAsString(kFormID_FedW2, static_cast<uint16_t>(i),
                                                 FedW2::kEmployerId)) {
        return;
      }
    }
  }
  report.issue(kClassEFile, present(PAScheduleUE::kEmployerEIN), kCodeMissing,
               PAScheduleUE::kEmployerEIN, kEINMismatchText);
}

}  // namespace

void PATaxFormAuditor::auditScheduleUE(DataMgmt::TaxFormPtr formCopy, unsigned short copy) {
  const Primitives::OVImmutableFormIdentifier& form = kFormID_PAScheduleUE;
  if (formCopy.isNull() || paReturn->getIN(form, copy, PAScheduleUE::kNetExpenses) == 0) return;
  const ScheduleRuleReporter report(*this, form, copy);
  const UERules rules(report, *paReturn, federalReturn, *formCopy, !eFileAudit);
  rules.employerRules();
  rules.expenseRules();
  rules.propertyAndMiscRules();
  rules.employerNumberRule();
}

}  // namespace PAAuditMgmt
