// Audit rules of PA Schedule C (business income, state form 56126, one
// copy per business) and PA Schedule D (sale of property, state form 173):
// the electronic-filing limits of both schedules, the attachments of
// Schedule D and incomplete business entries.
#include "audit/pa_rule_message.h"
#include "audit/pa_tax_form_auditor.h"
#include "catalogs/fields/fields.h"
#include "identifiers/form_ids.h"

namespace PAAuditMgmt {

namespace {

using Primitives::OVImmutableIdentifier;

const unsigned short kMaxEFileScheduleC = 4;

// The five depreciation lines the column rule covers: columns (c), (d) and
// (g) of the four top assets and of the first listed asset.
using ScheduleCColumn = NamedColumn<PAScheduleCFieldIds>;
const int kRuleColumns = 3;
constexpr const ScheduleCColumn* kTopAssetColumns[kRuleColumns] = {
    &PAScheduleC::kTopAssetBasis, &PAScheduleC::kTopAssetPriorDepreciation,
    &PAScheduleC::kTopAssetDepreciation};
constexpr const ScheduleCColumn* kAssetColumns[kRuleColumns] = {
    &PAScheduleC::kAssetBasis, &PAScheduleC::kAssetPriorDepreciation,
    &PAScheduleC::kAssetDepreciation};
struct ColumnLine {
  const ScheduleCColumn* const* columns;
  int row;
};
constexpr ColumnLine kColumnLines[] = {{kTopAssetColumns, 0},
                                       {kTopAssetColumns, 1},
                                       {kTopAssetColumns, 2},
                                       {kTopAssetColumns, 3},
                                       {kAssetColumns, 0}};

const RuleMessage kRefusal = {kEFilePath, kClassRefusal, kCodeNoEFile, kStateOnlyNote};
const RuleMessage kLineAMessage = {kEFilePath, kClassBothAudits, kCodeNoEFile, kStateOnlyNote};
const RuleMessage kDepreciationMessage = {kAuditPath, kClassBothAudits, kCodeNotice, kNoNote};
const RuleMessage kColumnMessage = {kAuditPath, kClassEFile, kCodeNotice, kNoNote};
const RuleMessage kEmployerIdMessage = {kAuditPath, kClassOrdinary, kCodeMissing, kNoNote};

const RuleMessage kAttachment = {kAuditPath, kClassAttachment, kCodeNotice, kNoNote};

// Message texts of the Schedule C rules, in report order.
const char kScheduleCCopiesText[] = "More than 4 copies of PA Schedule C are not allowed";
const char kOtherIncomeText[] =
    "This program does not support electronic filing for taxpayers who have Other Income on Line "
    "4 of a Schedule C.";
const char kLineAText[] =
    "You must supply both the \"Main Business Activity\" and \"Product or Service\" on Line A of "
    "your PA Schedule C. Please return to Section B of your Federal Schedule C and complete all "
    "entries.";
const char kDepreciationText[] =
    "You reported federal depreciation expense for this business activity but not Pennsylvania "
    "depreciation expense. To claim Pennsylvania depreciation expense, you must either check the "
    "box indicating that your depreciation expense is the same for both federal and Pennsylvania "
    "purposes or complete part C-2 of your PA Schedule C.";
const char kColumnText[] =
    "For this line, if columns (c), (d) or (g) have an amount, then all 3 must.";
const char kEmployerIdText[] =
    "You reported wage expense but not the federal employer identification number (EIN) for this "
    "business activity. You must enter the EIN.";

// Message texts of the Schedule D rules, in report order.
const char kAttachD1Text[] = "attach Schedule D-1";
const char kNoEFileD1Text[] = "This program does not support e-filing for returns with PA Schedule D-1";
const char kAttachD71Text[] = "attach Schedule D-71";
const char kNoEFileD71Text[] =
    "This program does not support e-filing for returns with PA Schedule D-71";
const char kPartnershipGainText[] =
    "This program does not support electronic filed returns for taxpayers who had a gain or loss "
    "from the sale or exchange of property from a PA partnership or S Corp reported on PA "
    "Schedule RK-1 or NRK-1 with their return.";
const char kResidenceGainText[] =
    "This program does not support e-filing for returns with a taxable gain or loss from the sale "
    "of a personal residence.  This error only affects your state return. You can still e-file "
    "your federal return and file your state return on paper.  We'll guide you step-by-step "
    "through the process when you finish checking your return ";
const char kInsuranceGainText[] =
    "This program does not support electronic filing for taxpayers who realized a taxable gain "
    "from the exchange of insurance contracts and/or from charitable gift annuities.";

// An amount of the audited copy; an empty holder reads as zero.
double amountOf(const DataMgmt::TaxFormPtr& form, const OVImmutableIdentifier& field) {
  return form.isNull() ? 0.0 : form->getIR(field);
}

}  // namespace

void PATaxFormAuditor::auditScheduleC(DataMgmt::TaxFormPtr formCopy, unsigned short copy) {
  const PADataMgmt::PATaxReturn& pa = *paReturn;
  const FormId& form = kFormID_PAScheduleC;
  const FieldId none = Primitives::kNullFieldID;
  auto significant = [&](const FieldId& field) {
    return pa.hasSigValue(form, copy, field);
  };

  reportRule(*this, kRefusal, copy > kMaxEFileScheduleC, form, copy, none, kScheduleCCopiesText);
  reportRule(*this, kRefusal, amountOf(formCopy, PAScheduleC::kOtherIncome) > 0, form, copy, none,
             kOtherIncomeText);
  // Line A is checked only on a copy the calculation filled from a federal Schedule C.
  if (!formCopy.isNull() && formCopy->getCalcMark()) {
    reportRule(*this, kLineAMessage,
               !significant(PAScheduleC::kMainBusinessActivity) ||
                   !significant(PAScheduleC::kProductOrService),
               form, copy, none, kLineAText);
  }
  reportRule(*this, kDepreciationMessage,
             significant(PAScheduleC::kFederalDepreciation) &&
                 !significant(PAScheduleC::kPADepreciation) &&
                 !significant(PAScheduleC::kDepreciationAdjustment),
             form, copy, PAScheduleC::kPADepreciation, kDepreciationText);
  for (const ColumnLine& line : kColumnLines) {
    int filled = 0;
    for (int c = 0; c < kRuleColumns; ++c) filled += significant(line.columns[c]->at(line.row));
    reportRule(*this, kColumnMessage, filled > 0 && filled < kRuleColumns, form, copy,
               line.columns[0]->at(line.row), kColumnText);
  }
  reportRule(*this, kEmployerIdMessage,
             significant(PAScheduleC::kWages) && !significant(PAScheduleC::kBusinessEIN), form,
             copy, PAScheduleC::kBusinessEIN, kEmployerIdText);
}

void PATaxFormAuditor::auditScheduleD(DataMgmt::TaxFormPtr formCopy, unsigned short copy) {
  const PADataMgmt::PATaxReturn& pa = *paReturn;
  const FormId& form = kFormID_PAScheduleD;
  const FieldId none = Primitives::kNullFieldID;
  auto whole = [&](const FieldId& field) { return pa.getIN(form, copy, field); };
  // Schedule D is audited only when it holds a total.
  if (whole(PAScheduleD::kTotalGain) == 0) return;

  const bool paper = !eFileAudit;
  const double d1 = amountOf(formCopy, PAScheduleD::kScheduleD1Gain);
  const double d71 = amountOf(formCopy, PAScheduleD::kScheduleD71Gain);
  reportRule(*this, kAttachment, paper && d1 > 0, form, copy, none, kAttachD1Text);
  reportRule(*this, kRefusal, d1 > 0, form, copy, none, kNoEFileD1Text);
  reportRule(*this, kAttachment, paper && d71 != 0, form, copy, none, kAttachD71Text);
  reportRule(*this, kRefusal, d71 != 0, form, copy, none, kNoEFileD71Text);
  reportRule(*this, kRefusal,
             whole(PAScheduleD::kRK1Gain) != 0 || whole(PAScheduleD::kRK1SecondGain) > 0 ||
                 whole(PAScheduleD::kRK1ThirdGain) > 0,
             form, copy, none, kPartnershipGainText);
  reportRule(*this, kRefusal, whole(PAScheduleD::kResidenceGain) > 0, form, copy, none,
             kResidenceGainText);
  reportRule(*this, kRefusal, whole(PAScheduleD::kInsuranceAnnuityGain) != 0, form, copy, none,
             kInsuranceGainText);
}

}  // namespace PAAuditMgmt
