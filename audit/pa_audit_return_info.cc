// auditReturnInfo: the rules of the PA return information form (state form
// 168). They check the return as a whole: electronic-filing eligibility
// (amended return, deceased taxpayer, middle initials, P.O. box, spouse's
// number), entries the return needs (school code, residency dates, the
// payer of unemployment compensation), the paper-return and payment
// instructions, and the shared state checks with the PA fields. Every rule
// reports its answer, true or false; the routine changes no field.
#include <cctype>
#include <cstddef>
#include <cstring>
#include <string>

#include "audit/pa_tax_form_auditor.h"
#include "audit/schedule_rule_reporter.h"
#include "catalogs/catalogs.h"
#include "host/configuration.h"
#include "host/string_utils.h"
#include "identifiers/form_ids.h"
#include "identifiers/tax_year_constants.h"

namespace PAAuditMgmt {

namespace {

typedef Primitives::OVImmutableIdentifier FieldId;

// PAReturnInfoFieldIds members, named by host field.
enum InfoMember : int {
  kResidencyCode = 2,         // 3
  kSchoolAskBox = 24,         // 14
  kTaxpayerInitial = 87,      // 32
  kSpouseInitial = 92,        // 37
  kPOBoxLine = 96,            // 41
  kResidentBox = 101,         // 46
  kPartYearBox = 103,         // 48
  kResidencyStart = 104,      // 49
  kResidencyEnd = 105,        // 50
  kStatusBox = 117,           // 57
  kDeceasedJointBox = 118,    // 58
  kDeceasedJointBox2 = 119,   // 59
  kAmendedBox = 155,          // 104
  kDifferentResidency = 108,  // 141
  kPOBoxBox = 161,            // 14563
  kCombatZoneA = 168,         // 50936
  kCombatZoneB = 170,         // 50938
  kSchoolDistrict = 173,      // 92
  kSchoolCode = 174,          // 91
  kSpouseSsn = 124,           // 185897
  kDepositRequest = 177,      // 95
  kDepositCarried = 178,      // 96
  kChecking = 179,            // 97
  kSavings = 180,             // 98
  kRouting = 181,             // 99
  kAccount = 182,             // 100
};
// The driver's-licence fields: the taxpayer's nine (192411, 199150,
// 192412-192418), then the spouse's nine (192419, 199151, 192420-192426).
const int kLicenceMembers[18] = {186, 187, 188, 189, 190, 191, 192, 184, 185,
                                 195, 196, 197, 198, 199, 200, 201, 193, 194};

// FedFilerInfoFieldIds members.
const int kFedSpouseSsn = 1627;     // 8
const int kFedStreet = 1593;        // 20
const int kFedMarriedJoint = 1643;  // 493
const int kFedDeceased = 874;       // 1108
const int kFedDeceased2 = 875;      // 1109
// Fed1099GFieldIds members.
const int k1099GPayerName = 43;  // 10
const int k1099GState = 53;      // 144118
const int k1099GAmount = 27;     // 144120
// The payer's address lines: 30, 31, 32, 33.
const int k1099GPayerAddress[4] = {15, 16, 29, 30};

const int kPA40FilingStatus = 127;  // PA40FieldIds: 272

const uint8_t kClassPayment = 0x10;  // listing mode: payment instructions
const int kStateInfoOptions = 177;   // suffix, duplicate, missing state, withholding
const std::size_t kEntrySize = 128;  // formString's bound

const FieldId& info(int member) { return kPAReturnInfoFieldIds[member]; }
const FieldId& filer(int member) { return kFedFilerInfoFieldIds[member]; }

// PA forms still in draft, ended by a form numbered 0; none in this version.
const Primitives::OVImmutableFormIdentifier kDraftForms[] = {
    Primitives::OVImmutableFormIdentifier()};

const char kInitialsText[] =
    "For electronic filing, Pennsylvania only allows alpha characters for the taxpayer or "
    "spouse's middle initial. Please go back to the federal Interview and remove the number, "
    "hyphen, or punctuation mark.";
const char kAmendedText[] =
    "This program does not support electronic filing for taxpayers filing a PA Amended Return for "
    "the current year.";
const char kSchoolCodeEFileText[] =
    "you have either not entered the school code for the school district in which you lived at "
    "the end of the year, or the code you entered is invalid";
const char kSchoolCodeText[] =
    "you have either not entered the school code for the Pennsylvania public school district in "
    "which you lived at the end of the year, or the code you entered is invalid";
const char kDeceasedText[] =
    "This program does not support e-filing on behalf of a deceased taxpayer";
const char kDeceasedJointText[] =
    "Your federal filing status is MFJ, however, Pennsylvania does not permit you to file a joint "
    "return if the primary taxpayer died during the current tax year. You must create separate "
    "federal returns in addition to the joint return that you will actually file in order for "
    "your Pennsylvania return to contain the correct data.";
const char kSpouseSsnText[] =
    "For electronic filing, Pennsylvania requires you include your spouse's social security "
    "number.";
const char kPOBoxText[] =
    "The Pennsylvania Department of Revenue will not accept an electronically filed return from a "
    "taxpayer whose Pennsylvania mailing address differs from the federal mailing address. "
    "Because your mailing address includes a P.O. Box and Pennsylvania requires that this "
    "infomation appear on a separate address line, you must return to the federal interview "
    "topic Personal Information and change the information entered in the street box of the Your "
    "Personal Information screen to include only the P.O. Box information and to exactly match "
    "the information entered in the state interview.";
const char kCombatZoneText[] =
    "Print COMBAT ZONE at the top of your return and submit your military orders with your "
    "return.";
const char kPayerNameText[] =
    "Please review your Unemployment Compensation. The Payer name is required.";
const char kPayerAddressText[] =
    "Please review your Unemployment Compensation and complete the Payer's address.";

// Whether a filled initial holds a character that is not a letter.
bool hasNonLetter(const char* text) {
  for (const char* c = text; *c != '\0'; ++c) {
    if (!std::isalpha(static_cast<unsigned char>(*c))) return true;
  }
  return false;
}

}  // namespace

void PATaxFormAuditor::auditReturnInfo(DataMgmt::TaxFormPtr formCopy, unsigned short copy) {
  const FormId& form = kFormID_PAReturnInfo;
  const TopicId noTopic(0);
  const ScheduleRuleReporter report(*this, form, copy);
  // Boxes and numbers of the audited copy; a missing copy reads as empty.
  auto marked = [&formCopy](int member) {
    return !formCopy.isNull() && formCopy->xMarked(info(member));
  };
  auto filled = [this](int member) {
    return paReturn->hasSigValue(kFormID_PAReturnInfo, 1, info(member));
  };
  char entry[kEntrySize];

  // 1. Draft forms (none in this version).
  if (kDraftForms[0].getNumber() > 0 &&
      !DataMgmt::OrvaneConfiguration::getInstance().AllowAutoTest()) {
    auditDraftForms(kDraftForms);
  }
  // 2. State information of the federal statements.
  if (eFileAudit) {
    auditStateInfoReturns(AuditMgmt::kNoAuditHelpID, noTopic, false, form, kStateInfoOptions,
                          false);
  }

  // 3-4. Paper-return and payment instructions (listing mode).
  const std::string voucherText =
      std::string("the last four digits of your Social Security number, \"") + kYearText2018 +
      " PA-V\"" + ", and your daytime phone number";
  report.issue(kClassPayment, true, kCodeNotice, Primitives::kNullFieldID, voucherText.c_str());
  report.issue(
      kClassPayment, true, kCodeNotice, Primitives::kNullFieldID,
      "Don't staple or otherwise attach the payment to the voucher. Instead, just place it "
      "loose in the envelope with the voucher.");

  // 5. Middle initials: letters only; the spouse's is not read once the
  // taxpayer's fails.
  bool badInitial = false;
  for (int member : {kTaxpayerInitial, kSpouseInitial}) {
    paReturn->formString(entry, sizeof(entry), form, 1, info(member));
    if (entry[0] != '\0' && hasNonLetter(entry)) {
      badInitial = true;
      break;
    }
  }
  reportEFileIssue(AuditMgmt::kNoAuditHelpID, noTopic, false, kClassEFile, badInitial, kCodeNoEFile,
                   FormId(), 1, Primitives::kNullFieldID, kInitialsText, kInterviewHint);

  // 6. Amended return.
  report.issue(kClassEFile, marked(kAmendedBox), kCodeNoEFile, Primitives::kNullFieldID,
               kAmendedText, kStateOnlyNote);

  // 7-8. School code.
  const bool schoolCodeMissing = !filled(kSchoolCode) || !filled(kSchoolDistrict);
  report.issue(kClassEFile, marked(kResidentBox) && schoolCodeMissing, kCodeMissing,
               info(kSchoolCode), kSchoolCodeEFileText);
  report.issue(kClassOrdinary,
               (marked(kResidentBox) || (marked(kPartYearBox) && marked(kSchoolAskBox))) &&
                   schoolCodeMissing,
               kCodeMissing, info(kSchoolCode), kSchoolCodeText);

  // 9. Part-year residency period.
  auditResidencyDates(AuditMgmt::kNoAuditHelpID, noTopic, false, kClassBothAudits, form,
                      info(kPartYearBox), info(kResidencyStart), info(kResidencyEnd));

  // 10. Different residency statuses on a joint return.
  const bool differentResidency = marked(kDifferentResidency) && marked(kStatusBox);
  const std::string residencyText =
      std::string(
          "Because you and your spouse had different residency statuses or different tax "
          "years during ") +
      kYearText2018 +
      " you must file separate PA tax returns. You may, however, file a joint return if you have "
      "different residency statuses if you both elect to file as Residents.";
  report.issue(kClassOrdinary, differentResidency, kCodeNoEFile, info(kStatusBox),
               residencyText.c_str());
  report.efile(kClassRefusal, differentResidency, kCodeNoEFile, Primitives::kNullFieldID,
               residencyText.c_str(), kStateOnlyNote);

  // 11-12. Deceased taxpayer.
  DataMgmt::TaxReturn* federal = federalReturn;
  auto federalYes = [federal](int member) {
    return federal != nullptr && federal->formYes(kFormID_FedFilerInfo, 1, filer(member));
  };
  report.efile(kClassRefusal, federalYes(kFedDeceased) || federalYes(kFedDeceased2), kCodeNotice,
               Primitives::kNullFieldID, kDeceasedText, kStateOnlyNote);
  report.issue(
      kClassOrdinary,
      marked(kDeceasedJointBox) && !marked(kDeceasedJointBox2) && federalYes(kFedMarriedJoint),
      kCodeNoEFile, Primitives::kNullFieldID, kDeceasedJointText);

  // 13. Spouse's social security number on a married-separate return.
  paReturn->formString(entry, sizeof(entry), kFormID_PA40, 1, kPA40FieldIds[kPA40FilingStatus]);
  const bool federalSsnEmpty =
      federal == nullptr || federal->isNull(kFormID_FedFilerInfo, 1, filer(kFedSpouseSsn));
  const bool spouseSsnEmpty = formCopy.isNull() || formCopy->isNull(info(kSpouseSsn));
  reportAuditIssue(AuditMgmt::kNoAuditHelpID, noTopic, false, kClassEFile,
                   std::strcmp(entry, "M") == 0 && federalSsnEmpty && spouseSsnEmpty, kCodeMissing,
                   form, 1, info(kSpouseSsn), kSpouseSsnText, kNoNote);

  // 14. Direct deposit of a refund.
  const bool refundDue = paReturn->getStateLineValue(paReturn->getPA40FormId(), 1,
                                                     PADataMgmt::PATaxReturn::kLineRefund) > 0;
  auditDirectDeposit(AuditMgmt::kNoAuditHelpID, noTopic, false, form, kClassEFile, refundDue,
                     info(kDepositRequest), info(kDepositCarried), Primitives::kNullFieldID,
                     info(kRouting), info(kAccount), info(kChecking), info(kSavings),
                     Primitives::kNullFieldID, Primitives::kNullFieldID, Primitives::kNullFieldID);

  // 15. Federal Care Of line.
  auditCareOf(AuditMgmt::kNoAuditHelpID, noTopic, false, 3);

  // 16. A P.O. box mailing address must match the federal street line.
  if (marked(kPOBoxBox)) {
    char street[kEntrySize] = "";
    paReturn->formString(entry, sizeof(entry), form, 1, info(kPOBoxLine));
    if (federal != nullptr) {
      federal->formString(street, sizeof(street), kFormID_FedFilerInfo, 1, filer(kFedStreet));
    }
    report.issueOn(FormId(), kClassEFile, Utils::OVStringUtils::stricmp(entry, street) != 0,
                   kCodeNoEFile, Primitives::kNullFieldID, kPOBoxText, kInterviewHint);
  }

  // 17. Combat zone (paper return, listing mode).
  report.issue(kClassAttachment, !eFileAudit && (marked(kCombatZoneA) || marked(kCombatZoneB)),
               kCodeNotice, Primitives::kNullFieldID, kCombatZoneText);

  // 18. Payer of PA unemployment compensation on each federal 1099-G.
  if (federal != nullptr) {
    const uint16_t count = federal->getFormCount(kFormID_Fed1099G);
    for (uint16_t i = 1; i <= count; ++i) {
      federal->formString(entry, sizeof(entry), kFormID_Fed1099G, i,
                          kFed1099GFieldIds[k1099GState]);
      if (std::strcmp(entry, "PA") != 0 ||
          !(federal->getIR(kFormID_Fed1099G, i, kFed1099GFieldIds[k1099GAmount]) > 0)) {
        continue;
      }
      const ScheduleRuleReporter payer(*this, FormId(), i);
      payer.issue(kClassEFile,
                  federal->isNull(kFormID_Fed1099G, i, kFed1099GFieldIds[k1099GPayerName]),
                  kCodeMissing, Primitives::kNullFieldID, kPayerNameText, kInterviewHint);
      const FieldId address[5] = {
          kFed1099GFieldIds[k1099GPayerAddress[0]], kFed1099GFieldIds[k1099GPayerAddress[1]],
          kFed1099GFieldIds[k1099GPayerAddress[2]], kFed1099GFieldIds[k1099GPayerAddress[3]],
          Primitives::kNullFieldID};
      payer.issue(kClassEFile, scanFieldListNullState(kFormID_Fed1099G, i, address) < 4,
                  kCodeMissing, Primitives::kNullFieldID, kPayerAddressText, kInterviewHint);
    }
  }

  // 19. State entries of the federal return.
  auditStateInfoEntered(
      formCopy.isNull() ? 0 : static_cast<int>(formCopy->getIN(info(kResidencyCode))));

  // 20. Driver's licence or state ID of the taxpayer and the spouse.
  const int* m = kLicenceMembers;
  auditDriversLicense(form, kClassEFile, info(m[0]), info(m[1]), info(m[2]), info(m[3]), info(m[4]),
                      info(m[5]), info(m[6]), info(m[7]), info(m[8]), info(m[9]), info(m[10]),
                      info(m[11]), info(m[12]), info(m[13]), info(m[14]), info(m[15]), info(m[16]),
                      info(m[17]));
}

}  // namespace PAAuditMgmt
