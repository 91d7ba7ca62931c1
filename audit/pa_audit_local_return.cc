// Rules of the Local Income Tax Return (state form 143868) and of PA
// Schedule O, the deductions schedule (state form 36090). Both read the PA
// return only; every message concerns the audited copy.
#include "audit/pa_tax_form_auditor.h"
#include "audit/schedule_rule_reporter.h"
#include "catalogs/catalogs.h"
#include "identifiers/form_ids.h"

namespace PAAuditMgmt {

namespace {

typedef Primitives::OVImmutableIdentifier FieldId;

// PALocalIncomeTaxReturnFieldIds members, named by host field.
enum LocalMember : int {
  kLocalEntry = 15,       // 144172: the entry that starts the rules
  kLiabilityFirst = 81,   // 143975
  kLiabilitySecond = 82,  // 143976
  kCreditFirst = 87,      // 143981
  kCreditSecond = 88,     // 143982
};
const int kInfoNonresident = 102;  // PAReturnInfoFieldIds member: host field 47

const FieldId& local(int member) { return kPALocalIncomeTaxReturnFieldIds[member]; }

// One beneficiary row of the Section 529 table on Schedule O:
// PADeductionsFieldIds members of the two identity fields and the two
// amounts.
struct BeneficiaryRow {
  int name;
  int ssn;
  int firstAmount;
  int secondAmount;
};
const BeneficiaryRow kBeneficiaryRows[] = {
    {3, 4, 5, 6},      // 36545-36548
    {7, 8, 9, 10},     // 36549-36552
    {11, 12, 13, 14},  // 36553-36556
};
// The two amounts whose sum asks for the federal attachment.
const int kAttachmentAmountA = 73;  // 36563
const int kAttachmentAmountB = 74;  // 36564

const FieldId& deduction(int member) { return kPADeductionsFieldIds[member]; }

const char kCreditLimitText[] =
    "If your credit is for taxes paid to Philadelphia or a locality outside Pennsylvania, limit "
    "the credit to your tax liability.";
const char kNonresidentText[] =
    "As a Pennsylvania nonresident, check with your employer or your tax collector for advice on "
    "the Local Earned Income Tax in your situation.";
const char kBeneficiaryIdentityText[] =
    "In order to claim a deduction for a contribution to an IRC Section 529 tuition account, you "
    "must enter the name and social security number of each person on whose behalf you made the "
    "contribution.";
const char kBeneficiaryAmountText[] =
    "In order to claim a deduction for a contribution to an IRC Section 529 tuition account, you "
    "must enter the amount you and/or your spouse contributed on behalf of each beneficiary.";
const char kAttachFederalText[] =
    "Attach a copy of your federal Form 1040 Schedule 1 and page 1 and 2 of your federal Form "
    "1040";

}  // namespace

void PATaxFormAuditor::auditLocalEarnedIncomeTax(DataMgmt::TaxFormPtr /*formCopy*/,
                                                 unsigned short copy) {
  const FormId& form = kFormID_PALocalIncomeTaxReturn;
  if (!paReturn->hasSigValue(form, copy, local(kLocalEntry))) return;
  const ScheduleRuleReporter report(*this, form, copy);

  auto amount = [&](int member) { return paReturn->getIN(form, copy, local(member)); };
  const bool creditAboveLiability = amount(kCreditFirst) > amount(kLiabilityFirst) ||
                                    amount(kCreditSecond) > amount(kLiabilitySecond);
  report.issue(kClassOrdinary, creditAboveLiability, kCodeNotice, local(kCreditFirst),
               kCreditLimitText);

  // The nonresident answer is read at this local return's copy number.
  const bool nonresident =
      paReturn->formYes(kFormID_PAReturnInfo, copy, kPAReturnInfoFieldIds[kInfoNonresident]);
  report.issue(kClassOrdinary, nonresident, kCodeNotice, local(kLocalEntry), kNonresidentText);
}

void PATaxFormAuditor::auditScheduleO(DataMgmt::TaxFormPtr /*formCopy*/, unsigned short copy) {
  const FormId& form = kFormID_PADeductions;
  const ScheduleRuleReporter report(*this, form, copy);

  bool amountWithoutIdentity = false;
  bool identityWithoutAmount = false;
  for (const BeneficiaryRow& row : kBeneficiaryRows) {
    const bool identified = paReturn->hasSigValue(form, copy, deduction(row.name)) &&
                            paReturn->hasSigValue(form, copy, deduction(row.ssn));
    const bool anyIdentity = paReturn->hasSigValue(form, copy, deduction(row.name)) ||
                             paReturn->hasSigValue(form, copy, deduction(row.ssn));
    const long first = paReturn->getIN(form, copy, deduction(row.firstAmount));
    const long second = paReturn->getIN(form, copy, deduction(row.secondAmount));
    if ((first > 0 || second > 0) && !identified) amountWithoutIdentity = true;
    if (anyIdentity && first == 0 && second == 0) identityWithoutAmount = true;
  }
  // The two table rules are reported only when some row fails them.
  if (amountWithoutIdentity) {
    report.issue(kClassBothAudits, true, kCodeMissing, Primitives::kNullFieldID,
                 kBeneficiaryIdentityText);
  }
  if (identityWithoutAmount) {
    report.issue(kClassBothAudits, true, kCodeMissing, Primitives::kNullFieldID,
                 kBeneficiaryAmountText);
  }

  const long attachmentSum = paReturn->getIN(form, copy, deduction(kAttachmentAmountA)) +
                             paReturn->getIN(form, copy, deduction(kAttachmentAmountB));
  const bool attachFederal = !eFileAudit && attachmentSum > 0;
  report.issue(kClassAttachment, attachFederal, kCodeNotice, Primitives::kNullFieldID,
               kAttachFederalText);
}

}  // namespace PAAuditMgmt
