// Audit rules of PA Schedule C (business income, state form 56126, one
// copy per business) and PA Schedule D (sale of property, state form 173):
// the electronic-filing limits of both schedules, the attachments of
// Schedule D and incomplete business entries.
#include "audit/pa_rule_message.h"
#include "audit/pa_tax_form_auditor.h"
#include "catalogs/catalogs.h"
#include "identifiers/form_ids.h"

namespace PAAuditMgmt {

namespace {

using Primitives::OVImmutableIdentifier;

// PA Schedule C members; host field numbers in comments.
const int kMainActivity = 59;          // 56187
const int kProductOrService = 60;      // 56611
const int kEmployerId = 62;            // 56190
const int kOtherIncome = 96;           // 56219
const int kFederalDepreciation = 105;  // 56228
const int kSameDepreciationBox = 110;  // 56231
const int kPADepreciation = 111;       // 56232
const int kWageExpense = 144;          // 56265

const unsigned short kMaxEFileScheduleC = 4;

// The five lines the column rule covers: columns (c), (d) and (g).
struct ColumnLine {
  int columns[3];
};
const ColumnLine kColumnLines[] = {
    {{208, 209, 212}},  // 56323, 56324, 56327
    {{214, 215, 218}},  // 56329, 56330, 56333
    {{220, 221, 224}},  // 56335, 56336, 56339
    {{226, 227, 230}},  // 56341, 56342, 56345
    {{233, 234, 237}},  // 56348, 56349, 56352
};

const RuleMessage kRefusal = {kEFilePath, 0x22, 6, 1};
const RuleMessage kLineAMessage = {kEFilePath, 0x03, 6, 1};
const RuleMessage kDepreciationMessage = {kAuditPath, 0x03, 7, 0};
const RuleMessage kColumnMessage = {kAuditPath, 0x02, 7, 0};
const RuleMessage kEmployerIdMessage = {kAuditPath, 0x01, 4, 0};

const OVImmutableIdentifier& sc(int member) { return kPAScheduleCFieldIds[member]; }

// PA Schedule D members.
const int kD1Amount = 166;           // 89
const int kD71Amount = 171;          // 94
const int kRK1Gain = 173;            // 96
const int kResidenceGain = 180;      // 103
const int kRK1GainTP = 181;          // 178
const int kRK1GainSP = 182;          // 179
const int kInsuranceExchange = 183;  // 9355
const int kNetGain = 185;            // 105: Schedule D is audited only when it holds an amount

const RuleMessage kAttachment = {kAuditPath, 0x08, 7, 0};

const OVImmutableIdentifier& sd(int member) { return kPAScheduleDFieldIds[member]; }

// An amount of the audited copy; an empty holder reads as zero.
double amountOf(const DataMgmt::TaxFormPtr& form, const OVImmutableIdentifier& field) {
  return form.isNull() ? 0.0 : form->getIR(field);
}

}  // namespace

void PATaxFormAuditor::auditScheduleC(DataMgmt::TaxFormPtr formCopy, unsigned short copy) {
  const PADataMgmt::PATaxReturn& pa = *paReturn;
  const FormId& form = kFormID_PAScheduleC;
  const FieldId none = Primitives::kNullFieldID;
  auto significant = [&pa, &form, copy](int member) {
    return pa.hasSigValue(form, copy, sc(member));
  };

  reportRule(*this, kRefusal, copy > kMaxEFileScheduleC, form, copy, none,
             "More than 4 copies of PA Schedule C are not allowed");
  reportRule(*this, kRefusal, amountOf(formCopy, sc(kOtherIncome)) > 0, form, copy, none,
             "This program does not support electronic filing for taxpayers who have Other "
             "Income on Line 4 of a Schedule C.");
  // Line A is checked only on a copy the calculation filled from a federal Schedule C.
  if (!formCopy.isNull() && formCopy->getCalcMark()) {
    reportRule(*this, kLineAMessage, !significant(kMainActivity) || !significant(kProductOrService),
               form, copy, none,
               "You must supply both the \"Main Business Activity\" and \"Product or Service\" on "
               "Line A of your PA Schedule C. Please return to Section B of your Federal Schedule "
               "C and complete all entries.");
  }
  reportRule(*this, kDepreciationMessage,
             significant(kFederalDepreciation) && !significant(kSameDepreciationBox) &&
                 !significant(kPADepreciation),
             form, copy, sc(kSameDepreciationBox),
             "You reported federal depreciation expense for this business activity but not "
             "Pennsylvania depreciation expense. To claim Pennsylvania depreciation expense, you "
             "must either check the box indicating that your depreciation expense is the same for "
             "both federal and Pennsylvania purposes or complete part C-2 of your PA Schedule C.");
  for (const ColumnLine& line : kColumnLines) {
    int filled = 0;
    for (int member : line.columns) filled += significant(member) ? 1 : 0;
    reportRule(*this, kColumnMessage, filled > 0 && filled < 3, form, copy, sc(line.columns[0]),
               "For this line, if columns (c), (d) or (g) have an amount, then all 3 must.");
  }
  reportRule(*this, kEmployerIdMessage, significant(kWageExpense) && !significant(kEmployerId),
             form, copy, sc(kEmployerId),
             "You reported wage expense but not the federal employer identification number (EIN) "
             "for this business activity. You must enter the EIN.");
}

void PATaxFormAuditor::auditScheduleD(DataMgmt::TaxFormPtr formCopy, unsigned short copy) {
  const PADataMgmt::PATaxReturn& pa = *paReturn;
  const FormId& form = kFormID_PAScheduleD;
  const FieldId none = Primitives::kNullFieldID;
  auto whole = [&pa, &form, copy](int member) { return pa.getIN(form, copy, sd(member)); };
  if (whole(kNetGain) == 0) return;

  const bool paper = !eFileAudit;
  const double d1 = amountOf(formCopy, sd(kD1Amount));
  const double d71 = amountOf(formCopy, sd(kD71Amount));
  reportRule(*this, kAttachment, paper && d1 > 0, form, copy, none, "attach Schedule D-1");
  reportRule(*this, kRefusal, d1 > 0, form, copy, none,
             "This program does not support e-filing for returns with PA Schedule D-1");
  reportRule(*this, kAttachment, paper && d71 != 0, form, copy, none, "attach Schedule D-71");
  reportRule(*this, kRefusal, d71 != 0, form, copy, none,
             "This program does not support e-filing for returns with PA Schedule D-71");
  reportRule(*this, kRefusal,
             whole(kRK1Gain) != 0 || whole(kRK1GainTP) > 0 || whole(kRK1GainSP) > 0, form, copy,
             none,
             "This program does not support electronic filed returns for taxpayers who had a gain "
             "or "
             "loss from the sale or exchange of property from a PA partnership or S Corp reported "
             "on PA Schedule RK-1 or NRK-1 with their return.");
  reportRule(*this, kRefusal, whole(kResidenceGain) > 0, form, copy, none,
             "This program does not support e-filing for returns with a taxable gain or loss from "
             "the sale of a personal residence.  This error only affects your state return. You "
             "can still e-file your federal return and file your state return on paper.  We'll "
             "guide you step-by-step through the process when you finish checking your return ");
  reportRule(*this, kRefusal, whole(kInsuranceExchange) != 0, form, copy, none,
             "This program does not support electronic filing for taxpayers who realized a "
             "taxable "
             "gain from the exchange of insurance contracts and/or from charitable gift "
             "annuities.");
}

}  // namespace PAAuditMgmt
