#include "return/pa_tax_return.h"

#include <cstdio>
#include <limits>

#include "catalogs/any_named_field.h"
#include "catalogs/fields/fields.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"
#include "return/release_share.h"
#include "return/return_codes.h"

namespace PADataMgmt {

namespace {

using DataMgmt::TaxFormPtr;

// The field of each line of getStateLineValue, lines 1 to 30 in order, its
// form, and the label under which the tax summary report shows the line
// (the report's own texts: "Amount You Owe " keeps its trailing blank).
enum LineForm { kNoLineField, kPA40Line, kScheduleOCLine };
struct LineRow {
  LineForm form;
  AnyNamedField field;
  const char* summaryLabel;
};
constexpr LineRow kNoLine = {kNoLineField, {}, ""};
constexpr LineRow kLines[PATaxReturn::kLineCount] = {
    {kPA40Line, PA40::kNetCompensation, "PA Net Taxable Comp."},     // line 1
    {kPA40Line, PA40::kBusinessIncome, ""},                          // line 2
    {kPA40Line, PA40::kInterestIncome, ""},                          // line 3
    {kPA40Line, PA40::kDividendIncome, ""},                          // line 4
    {kPA40Line, PA40::kNetGain, ""},                                 // line 5
    kNoLine,                                                         // line 6
    kNoLine,                                                         // line 7
    {kPA40Line, PA40::kTotalTaxableIncome, "PA Gross Taxable Inc"},  // line 8
    {kPA40Line, PA40::kRentsRoyalties, ""},                          // line 9
    {kPA40Line, PA40::kTotalPaymentsCredits, "PA Tax Pmts & Cr"},    // line 10
    {kPA40Line, PA40::kEstateTrustIncome, ""},                       // line 11
    {kPA40Line, PA40::kGamblingWinnings, ""},                        // line 12
    {kPA40Line, PA40::kAdjustedTaxableIncome, "PA Net Taxable Inc"}, // line 13
    {kPA40Line, PA40::kTaxLiability, "PA Tax"},                      // line 14
    {kPA40Line, PA40::kOtherDeductions, "PA Other Deduct"},          // line 15
    {kPA40Line, PA40::kRefund, "PA Refund"},                         // line 16
    {kPA40Line, PA40::kTotalPayment, "Amount You Owe "},             // line 17
    {kPA40Line, PA40::kResidentCredit, ""},                          // line 18
    {kPA40Line, PA40::kForgivenessCredit, ""},                       // line 19
    {kScheduleOCLine, PAScheduleOC::kEmploymentIncentiveCredit, ""}, // line 20
    {kPA40Line, PA40::kTaxWithheld, ""},                             // line 21
    {kScheduleOCLine, PAScheduleOC::kJobCreationCredit, ""},         // line 22
    kNoLine,                                                         // line 23
    {kScheduleOCLine, PAScheduleOC::kResearchDevelopmentCredit, ""}, // line 24
    {kScheduleOCLine, PAScheduleOC::kFourthCredit, ""},              // line 25
    kNoLine,                                                         // line 26
    kNoLine,                                                         // line 27
    kNoLine,                                                         // line 28
    kNoLine,                                                         // line 29
    {kPA40Line, PA40::kNonresidentWithholding, ""},                  // line 30
};

// "OV0K" as one 32-bit value, first character in the high byte.
constexpr uint32_t kProductCode =
    (uint32_t('O') << 24) | (uint32_t('V') << 16) | (uint32_t('0') << 8) | uint32_t('K');

constexpr int32_t kStateNumber = 39;
// Under this filing status the Schedule OC lines read 0.
constexpr uint8_t kFilingStatusWithoutScheduleOC = kFilingJoint;

}  // namespace

PATaxReturn::PATaxReturn(DataMgmt::TaxReturnPtr federal, DataMgmt::TaxReturnDescPtr desc,
                         Utils::StringPoolPtr pool)
    : StateDataMgmt::StateTaxReturn(federal, desc, pool) {
  releaseShare(federal);
  releaseShare(desc);
  releaseShare(pool);
}

PATaxReturn::~PATaxReturn() = default;

uint8_t PATaxReturn::getFilingStatus() { return readFilingStatus(kFormID_PAReturnInfo); }

PATaxReturn::FormId PATaxReturn::getMainFormId() { return getPA40FormId(); }

void PATaxReturn::setStateFlagMarks(bool flag) {
  if (flag) {
    setXValue(kFormID_State14, 1, State14::kUpdateOnNextBox, false);
    setXValue(kFormID_State14, 1, State14::kStateFlagBox, true);
  } else {
    setXValue(kFormID_State14, 1, State14::kUpdateSecondBox, true);
    setXValue(kFormID_State14, 1, State14::kUpdateOnNextBox, false);
    setXValue(kFormID_State14, 1, State14::kStateFlagBox, false);
  }
}

void PATaxReturn::getStateAbbreviation(char* buf) {
  if (buf != nullptr) std::snprintf(buf, kAbbreviationBufferSize, "%s", "PA");
}

void PATaxReturn::getStateName(char* buf) {
  if (buf != nullptr) std::snprintf(buf, kStateNameBufferSize, "%s", "Pennsylvania");
}

int32_t PATaxReturn::getStateNumber() { return kStateNumber; }

uint32_t PATaxReturn::getStateProductCode() { return kProductCode; }

uint32_t PATaxReturn::getStateProductCode2() { return kProductCode; }

PATaxReturn::FormId PATaxReturn::getInfoFormId() { return kFormID_PAReturnInfo; }

PATaxReturn::FieldId PATaxReturn::getInfoFieldId31() { return PAReturnInfo::kTaxpayerFirstName; }
PATaxReturn::FieldId PATaxReturn::getInfoFieldId33() { return PAReturnInfo::kTaxpayerLastName; }
PATaxReturn::FieldId PATaxReturn::getInfoFieldId34() { return PAReturnInfo::kTaxpayerNameSuffix; }
PATaxReturn::FieldId PATaxReturn::getInfoFieldId35() { return PAReturnInfo::kTaxpayerSSN; }
PATaxReturn::FieldId PATaxReturn::getInfoFieldId36() { return PAReturnInfo::kSpouseFirstName; }
PATaxReturn::FieldId PATaxReturn::getInfoFieldId38() { return PAReturnInfo::kSpouseLastName; }
PATaxReturn::FieldId PATaxReturn::getInfoFieldId39() { return PAReturnInfo::kSpouseNameSuffix; }
PATaxReturn::FieldId PATaxReturn::getInfoFieldId40() { return PAReturnInfo::kSpouseSSN; }
PATaxReturn::FieldId PATaxReturn::getInfoFieldId2() { return PAReturnInfo::kFilingStatusNumber; }

uint8_t PATaxReturn::readFilingStatus(const FormId& /*form*/) {
  TaxFormPtr info = getFormUVPtr(kFormID_PAReturnInfo, 1, true);
  if (info.isNull()) return kFilingSingle;
  // Separate wins over single, single over joint; nothing marked is single.
  uint8_t code = info->xMarked(PAReturnInfo::kJointBox) ? kFilingJoint : kFilingSingle;
  if (info->xMarked(PAReturnInfo::kSeparateBox)) {
    code = kFilingSeparate;
  } else if (info->xMarked(PAReturnInfo::kSingleBox)) {
    code = kFilingSingle;
  }
  return code;
}

int32_t PATaxReturn::readResidencyStatus(const FormId& form) {
  // The form is checked before the copy is fetched, so that asking about
  // another form never creates a copy of it.
  if (form != kFormID_PAReturnInfo) return kFullYearResident;
  TaxFormPtr info = getFormUVPtr(form, 1, true);
  if (info.isNull()) return kFullYearResident;
  if (info->xMarked(PAReturnInfo::kNonresidentBox)) return kNonresident;
  return info->xMarked(PAReturnInfo::kPartYearResidentBox) ? kPartYearResident : kFullYearResident;
}

PATaxReturn::FormId PATaxReturn::readFederalReturnForm() {
  TaxFormPtr info = getFormUVPtr(kFormID_PAReturnInfo, 1, false);
  if (!info.isNull()) {
    if (info->xMarked(PAReturnInfo::kFederalSecondFormBox)) return kFormID_Fed55;
    if (info->xMarked(PAReturnInfo::kFederalThirdFormBox)) return kFormID_Fed87;
  }
  return kFormID_FedReturn;
}

PATaxReturn::FormId PATaxReturn::getPA40FormId() const { return kFormID_PA40; }

int32_t PATaxReturn::getStateLineValue(const FormId& form, uint16_t /*copy*/, int32_t line) {
  if (line < 1 || line > kLineCount) return 0;
  const LineRow& row = kLines[line - 1];
  if (row.form == kNoLineField) return 0;
  const bool scheduleOC = row.form == kScheduleOCLine;
  const FormId& lineForm = scheduleOC ? kFormID_PAScheduleOC : kFormID_PA40;
  if (form != lineForm) return 0;
  if (scheduleOC && getFilingStatus() == kFilingStatusWithoutScheduleOC) return 0;
  const long value = getIN(lineForm, 1, row.field);
  if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

const char* stateLineSummaryLabel(int32_t line) {
  if (line < 1 || line > PATaxReturn::kLineCount) return "";
  return kLines[line - 1].summaryLabel;
}

}  // namespace PADataMgmt
