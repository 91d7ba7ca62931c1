// Audit rules of PA Schedule UE, unreimbursed employee business expenses
// (one copy per employer): the copy limit of electronic filing, the
// employer's data, every expense line, the description lengths that the
// electronic-filing record carries, attachments, and the employer's
// identification number against the federal W-2s.
//
// Presence, whole amounts and texts are read through the PA return on the
// audited copy; empty fields, marks and amounts on the form copy itself.
#include <cstdint>
#include <cstring>

#include "audit/pa_tax_form_auditor.h"
#include "audit/schedule_rule_reporter.h"
#include "catalogs/catalogs.h"
#include "host/string_utils.h"
#include "identifiers/form_ids.h"

namespace PAAuditMgmt {

namespace {

using Primitives::OVImmutableIdentifier;

// PA Schedule UE members; host field numbers in comments.
const int kScheduleAmount = 72;                 // 130: 0 means the copy is not audited
const int kEmployerName = 19;                   // 16
const int kEmployerEIN = 20;                    // 14453
const int kEmployerPhone = 26;                  // 23
const int kEmployerAddress = 21;                // 18
const int kEmployerCity = 22;                   // 19
const int kEmployerState = 23;                  // 20
const int kEmployerZip = 24;                    // 21
const int kJobDescription = 25;                 // 22
const int kUnionName = 58;                      // 38
const int kUnionDues = 33;                      // 39
const int kActualVehicle = 44;                  // 25: check box
const int kVehicleMiles = 47;                   // 207097
const int kBusinessMiles = 48;                  // 207098
const int kVehicleAmount = 51;                  // 31
const int kOfficeAmount = 99;                   // 71
const int kOfficeLineF = 89;                    // 58
const int kOfficeLineG = 90;                    // 60
const int kMovingAmount = 100;                  // 74
const int kOldHomeMiles = 101;                  // 75
const int kLineCMiles = 102;                    // 76
const int kMovingExpenses = 107;                // 79
const int kInstitution = 114;                   // 86
const int kCourseOfStudy = 115;                 // 87
const int kMiscDescriptionA = 30;               // 117
const int kMiscDescriptionB = 32;               // 119
const int kMiscAmount = 60;                     // 127
const int kEducationMarks[] = {108, 111, 113};  // 80, 83, 85: the three education marks

const int kFedW2EIN = 205;         // FedW2 7
const int kInfoNonresident = 102;  // PAReturnInfo 47
const int kInfoPartYear = 103;     // PAReturnInfo 48

// Electronic-filing limits.
const unsigned short kMaxEFileCopies = 4;
const std::size_t kJobDescriptionLimit = 35;
const std::size_t kUnionNameLimit = 32;
const std::size_t kCourseLimit = 20;
const std::size_t kMiscDescriptionLimit = 40;
const long kMinimumMovingMiles = 35;

// Employer data required in an electronic-filing audit (class 2, code 4)
// and in an ordinary audit (class 1, code 7), in reporting order.
struct RequiredEntry {
  int member;
  const char* text;
};
const RequiredEntry kEmployerEFile[] = {
    {kEmployerName, "name of employer."},
    {kEmployerEIN, "employer's federal identification number (EIN)."},
    {kEmployerAddress, "address of employer"},
    {kEmployerCity, "city in which employer located"},
    {kEmployerState, "state in which employer located"},
    {kEmployerZip, "employer's zip code"},
};
const RequiredEntry kEmployerOrdinary[] = {
    {kEmployerName, "name of employer."},
    {kEmployerEIN, "employer's federal identification number (EIN)."},
    {kEmployerPhone, "phone number of employer"},
    {kEmployerAddress, "address of employer"},
    {kEmployerCity, "city in which employer located"},
    {kEmployerState, "state in which employer located"},
    {kEmployerZip, "employer's zip code"},
    {kJobDescription, "job description"},
};

// Expense lines with a description and an amount (union dues have their
// own rules).
struct ExpenseLine {
  int description;
  int amount;
  const char* amountMissing;
  const char* descriptionMissing;
};
const ExpenseLine kExpenseLines[] = {
    // 40, 41
    {34, 35, "amount paid for work clothes", "description of work clothes"},
    // 42, 43
    {36, 37, "amount paid for small tools and supplies", "description of small tools and supplies"},
    // 44, 45
    {38, 39, "amount paid for professional fees", "description of professional fees"},
};

// Properties 1 to 4 of Part G: column a, cost basis, depreciation method,
// total depreciation expense; and the date acquired.
struct Property {
  int description, basis, method, expense, acquired;
};
const Property kProperties[] = {
    {86, 122, 123, 125, 120},  // 92, 93, 94, 97; 138
    {127, 128, 129, 131, 27},  // 98, 99, 100, 103; 139
    {139, 134, 135, 137, 28},  // 104, 105, 106, 109; 140
    {138, 140, 141, 143, 29},  // 110, 111, 112, 115; 141
};
const char* const kUnsupportedDates[] = {"INHERIT", "VAR-L", "VAR-S"};

const int kTextSize = 512;  // description texts
const int kEINSize = 20;

const OVImmutableIdentifier& ue(int member) { return kPAScheduleUEFieldIds[member]; }

}  // namespace

void PATaxFormAuditor::auditScheduleUE(DataMgmt::TaxFormPtr formCopy, unsigned short copy) {
  const Primitives::OVImmutableFormIdentifier& form = kFormID_PAScheduleUE;
  PADataMgmt::PATaxReturn& pa = *paReturn;
  if (formCopy.isNull() || pa.getIN(form, copy, ue(kScheduleAmount)) == 0) return;
  const ScheduleRuleReporter report(*this, form, copy);
  const DataMgmt::TaxForm& sched = *formCopy;
  const bool ordinary = !eFileAudit;
  auto present = [&](int member) { return pa.hasSigValue(form, copy, ue(member)); };
  auto whole = [&](int member) { return pa.getIN(form, copy, ue(member)); };
  auto empty = [&sched](int member) { return sched.isNull(ue(member)); };
  auto textLength = [&](int member) {
    char text[kTextSize];
    pa.formString(text, sizeof text, form, copy, ue(member));
    return std::strlen(text);
  };

  // Attachments of nonresidents and part-year residents; the copy limit.
  report.issue(
      kClassAttachment,
      ordinary && pa.formYes(kFormID_PAReturnInfo, 1, kPAReturnInfoFieldIds[kInfoNonresident]),
      kCodeNotice, Primitives::kNullFieldID, "Attach a PA Schedule NRH to your return.");
  report.issue(
      kClassAttachment,
      ordinary && pa.formYes(kFormID_PAReturnInfo, 1, kPAReturnInfoFieldIds[kInfoPartYear]),
      kCodeNotice, Primitives::kNullFieldID,
      "Attach a statement indicating the method you used to determine your employee "
      "business expenses while you were a Pennsylvania resident or PA Schedule NRH to "
      "your return.");
  report.efile(kClassRefusal, copy > kMaxEFileCopies, kCodeNoEFile, Primitives::kNullFieldID,
               "More than 4 copies of PA Schedule UE are not allowed", kStateOnlyNote);

  // The employer.
  for (const RequiredEntry& entry : kEmployerEFile) {
    report.issue(kClassEFile, !present(entry.member), kCodeMissing, ue(entry.member), entry.text);
  }
  report.issue(kClassEFile, textLength(kJobDescription) > kJobDescriptionLimit, kCodeNoEFile,
               ue(kJobDescription),
               "The job description you entered is too long for PA electronic filing.  Please "
               "enter a description with no more than 35 total characters.");
  report.issue(kClassEFile, !present(kJobDescription), kCodeMissing, ue(kJobDescription),
               "job description");
  for (const RequiredEntry& entry : kEmployerOrdinary) {
    report.issue(kClassOrdinary, !present(entry.member), kCodeNotice, ue(entry.member), entry.text);
  }

  // Union dues, then the other expense lines.
  const bool duesMissing = present(kUnionName) && empty(kUnionDues);
  const bool unionMissing = !present(kUnionName) && whole(kUnionDues) > 0;
  const char* duesText = "the name of the union is filled in but not the amount of union dues";
  report.issue(kClassEFile, duesMissing, kCodeMissing, ue(kUnionDues), duesText);
  report.issue(kClassEFile, textLength(kUnionName) > kUnionNameLimit, kCodeNoEFile, ue(kUnionName),
               "The union name you entered is too long for PA electronic filing.  Please enter a "
               "description with no more than 32 total characters.");
  report.issue(kClassEFile, unionMissing, kCodeMissing, ue(kUnionName), "name of union");
  report.issue(kClassOrdinary, duesMissing, kCodeNotice, ue(kUnionDues), duesText);
  report.issue(kClassOrdinary, unionMissing, kCodeNotice, ue(kUnionName), "name of union");
  for (const ExpenseLine& line : kExpenseLines) {
    const bool amountMissing = present(line.description) && empty(line.amount);
    const bool descriptionMissing = !present(line.description) && whole(line.amount) > 0;
    report.issue(kClassEFile, amountMissing, kCodeMissing, ue(line.amount), line.amountMissing);
    report.issue(kClassEFile, descriptionMissing, kCodeMissing, ue(line.description),
                 line.descriptionMissing);
    report.issue(kClassOrdinary, amountMissing, kCodeNotice, ue(line.amount), line.amountMissing);
    report.issue(kClassOrdinary, descriptionMissing, kCodeNotice, ue(line.description),
                 line.descriptionMissing);
  }

  // Vehicle, office, moving and education.
  report.issue(kClassBothAudits,
               sched.xMarked(ue(kActualVehicle)) && sched.getIR(ue(kVehicleMiles)) == 0,
               kCodeNotice, ue(kVehicleMiles),
               "you've indicated you want to use actual vehicle expenses, but haven't filled in "
               "the total vehicle miles");
  report.issue(kClassBothAudits,
               sched.getIR(ue(kVehicleMiles)) > 0 && sched.getIR(ue(kBusinessMiles)) == 0,
               kCodeNotice, ue(kBusinessMiles),
               "you've indicated you want to use actual vehicle expenses, but haven't filled in "
               "the total business miles");
  report.issue(kClassAttachment, ordinary && sched.gtZero(ue(kVehicleAmount)), kCodeStatement,
               Primitives::kNullFieldID,
               "Include a statement showing the description of the vehicle(s) used for Schedule "
               "UE employee business expenses, date acquired, cost or other basis, depreciation "
               "method, Section 179 expense (if taken), accumulated depreciation previously "
               "taken, and the depreciation expense for the year.");
  report.issue(
      kClassAttachment,
      ordinary && whole(kOfficeAmount) > 0 && (whole(kOfficeLineF) > 0 || whole(kOfficeLineG) > 0),
      kCodeNotice, Primitives::kNullFieldID,
      "Attach a statement explaining the property maintenance and other apportionable "
      "expenses you entered related to your office or work area expenses on lines f and "
      "g of your PA Schedule UE.");
  const char* milesText =
      "you must enter the number of miles from your old home to your old workplace ";
  report.requiredPair(whole(kMovingAmount) > 0 && empty(kOldHomeMiles), ue(kOldHomeMiles),
                      milesText, milesText);
  report.efile(kClassRefusal,
               whole(kLineCMiles) < kMinimumMovingMiles && whole(kMovingExpenses) > 0, kCodeNoEFile,
               ue(kLineCMiles),
               "You may only deduct moving expenses if the number of miles on line c "
               "at least 35 miles. If you are a member of the military who moved to a "
               "new permanent duty station, you are exempt from this distance test. However, "
               "you may not file your Pennsylvania return electronically.");
  bool educationClaimed = true;
  for (int member : kEducationMarks)
    educationClaimed = educationClaimed && sched.xMarked(ue(member));
  const bool schoolMissing =
      educationClaimed && (!present(kInstitution) || !present(kCourseOfStudy));
  report.requiredPair(schoolMissing, ue(kInstitution),
                      "you must enter the name of the educational institution that you attended "
                      "and describe your course of study",
                      "you must enter the name of the eduational institution that you attended "
                      "and describe your course of study");
  report.issue(kClassEFile, textLength(kCourseOfStudy) > kCourseLimit, kCodeNoEFile,
               ue(kCourseOfStudy),
               "The course of study description you entered is too long for PA electronic "
               "filing.  Please enter a description with no more than 20 total characters.");

  // Depreciation of Part G, then the dates acquired.
  const char* depreciationText =
      "you must enter the cost basis, depreciation method, "
      "and total depreciation expense for every property described in Part G, column a";
  bool incomplete[4];
  for (int k = 0; k < 4; ++k) {
    const Property& p = kProperties[k];
    incomplete[k] =
        present(p.description) && (empty(p.basis) || !present(p.method) || empty(p.expense));
  }
  for (int k = 0; k < 4; ++k) {
    report.issue(kClassEFile, incomplete[k], kCodeMissing, ue(kProperties[k].description),
                 depreciationText);
  }
  for (int k = 0; k < 4; ++k) {
    report.issue(kClassOrdinary, incomplete[k], kCodeNotice, ue(kProperties[k].description),
                 depreciationText);
  }
  for (const Property& p : kProperties) {
    char date[kTextSize];
    pa.formString(date, sizeof date, form, copy, ue(p.acquired));
    Utils::OVStringUtils::toUpperCase(date);
    bool unsupported = false;
    for (const char* word : kUnsupportedDates) {
      unsupported = unsupported || std::strcmp(date, word) == 0;
    }
    report.issue(kClassEFile, present(p.acquired) && unsupported, kCodeNoEFile, ue(p.acquired),
                 "You must enter the date you acquired this asset in the following format: "
                 "MM/DD/YYYY.",
                 kInterviewHint);
  }

  // Miscellaneous expenses.
  const bool miscDescribed = present(kMiscDescriptionA) || present(kMiscDescriptionB);
  const char* miscAmountText = "you must enter the amount of your miscellaneous expenses";
  report.requiredPair(miscDescribed && empty(kMiscAmount), ue(kMiscAmount), miscAmountText,
                      miscAmountText);
  const char* miscDescriptionText = "description of miscellaneous expenses";
  report.requiredPair(!miscDescribed && whole(kMiscAmount) > 0, ue(kMiscDescriptionA),
                      miscDescriptionText, miscDescriptionText);
  const char* miscLengthText =
      "The expense description you entered is too long for PA electronic filing.  Please enter "
      "a description with no more than 40 total characters.";
  report.issue(kClassEFile, textLength(kMiscDescriptionA) > kMiscDescriptionLimit, kCodeNoEFile,
               ue(kMiscDescriptionA), miscLengthText);
  report.issue(kClassEFile, textLength(kMiscDescriptionB) > kMiscDescriptionLimit, kCodeNoEFile,
               ue(kMiscDescriptionB), miscLengthText);

  // Last: the employer's number must match one of the federal W-2s.
  char ein[kEINSize];
  pa.formString(ein, sizeof ein, form, copy, ue(kEmployerEIN));
  if (ein[0] != '\0' && federalReturn != nullptr) {
    const unsigned w2Count = federalReturn->numFormCopies(kFormID_FedW2);
    for (unsigned i = 1; i <= w2Count; ++i) {
      char w2EIN[kEINSize];
      federalReturn->formString(w2EIN, sizeof w2EIN, kFormID_FedW2, static_cast<uint16_t>(i),
                                kFedW2FieldIds[kFedW2EIN]);
      if (std::strcmp(ein, w2EIN) == 0) return;
    }
  }
  report.issue(kClassEFile, present(kEmployerEIN), kCodeMissing, ue(kEmployerEIN),
               "The employer ID number (EIN) you entered on Schedule UE doesn't match any of "
               "your W-2s. Correct the EIN you entered here. If it's already correct, go back to "
               "the W-2 you entered for this employer and make sure the EIN is correct there.");
}

}  // namespace PAAuditMgmt
