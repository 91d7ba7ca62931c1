#include "entry/pa_tax_return.h"

#include <cstdio>
#include <limits>

#include "catalogs/catalog_ref.h"
#include "entry/release_share.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"

namespace PADataMgmt {

namespace {

using DataMgmt::TaxFormPtr;

// Fields of the PA return information form (copy 1) the readers test;
// the filing-status marks are named by the code each stands for.
constexpr FieldRef kFilingStatus1Mark{CatalogId::PAReturnInfoFieldIds, 115};
constexpr FieldRef kFilingStatus3Mark{CatalogId::PAReturnInfoFieldIds, 116};
constexpr FieldRef kFilingStatus2Mark{CatalogId::PAReturnInfoFieldIds, 117};
constexpr FieldRef kNonresident{CatalogId::PAReturnInfoFieldIds, 102};
constexpr FieldRef kPartYearResident{CatalogId::PAReturnInfoFieldIds, 103};
constexpr FieldRef kFederalVariant55{CatalogId::PAReturnInfoFieldIds, 113};
constexpr FieldRef kFederalVariant87{CatalogId::PAReturnInfoFieldIds, 114};

// The state flag marks on copy 1 of State14.
constexpr FieldRef kStateFlagA{CatalogId::State14FieldIds, 43};
constexpr FieldRef kStateFlagB{CatalogId::State14FieldIds, 44};
constexpr FieldRef kStateFlagC{CatalogId::State14FieldIds, 45};

// The field of each line of getStateLineValue, lines 1 to 30 in order,
// and the label under which the tax summary report shows the line. The
// line's form follows from the catalog: PA-40 or Schedule OC. The labels
// are the report's own texts ("Amount You Owe " keeps its trailing blank).
struct LineRow {
  FieldRef field;
  const char* summaryLabel;
};
constexpr FieldRef kNoField{CatalogId::kNone, 0};
constexpr LineRow kLines[PATaxReturn::kLineCount] = {
    {{CatalogId::PA40FieldIds, 172}, "PA Net Taxable Comp."},  // 1  (139)
    {{CatalogId::PA40FieldIds, 186}, ""},                      // 2  (143)
    {{CatalogId::PA40FieldIds, 173}, ""},                      // 3  (140)
    {{CatalogId::PA40FieldIds, 174}, ""},                      // 4  (141)
    {{CatalogId::PA40FieldIds, 188}, ""},                      // 5  (145)
    {kNoField, ""},                                   // 6
    {kNoField, ""},                                   // 7
    {{CatalogId::PA40FieldIds, 201}, "PA Gross Taxable Inc"},  // 8  (170)
    {{CatalogId::PA40FieldIds, 198}, ""},                      // 9  (147)
    {{CatalogId::PA40FieldIds, 236}, "PA Tax Pmts & Cr"},      // 10 (249)
    {{CatalogId::PA40FieldIds, 199}, ""},                      // 11 (148) estate or trust income
    {{CatalogId::PA40FieldIds, 200}, ""},                      // 12 (169)
    {{CatalogId::PA40FieldIds, 204}, "PA Net Taxable Inc"},    // 13 (172)
    {{CatalogId::PA40FieldIds, 207}, "PA Tax"},                // 14 (173)
    {{CatalogId::PA40FieldIds, 203}, "PA Other Deduct"},       // 15 (36093)
    {{CatalogId::PA40FieldIds, 264}, "PA Refund"},             // 16 (252)
    {{CatalogId::PA40FieldIds, 261}, "Amount You Owe "},       // 17 (268)
    {{CatalogId::PA40FieldIds, 231}, ""},                      // 18 (245)
    {{CatalogId::PA40FieldIds, 228}, ""},                      // 19 (244)
    {{CatalogId::PAScheduleOCFieldIds, 12}, ""},               // 20 (8)
    {{CatalogId::PA40FieldIds, 211}, ""},                      // 21 (233)
    {{CatalogId::PAScheduleOCFieldIds, 15}, ""},               // 22 (9)
    {kNoField, ""},                                   // 23
    {{CatalogId::PAScheduleOCFieldIds, 18}, ""},               // 24 (10)
    {{CatalogId::PAScheduleOCFieldIds, 21}, ""},               // 25 (12235)
    {kNoField, ""},                                   // 26
    {kNoField, ""},                                   // 27
    {kNoField, ""},                                   // 28
    {kNoField, ""},                                   // 29
    {{CatalogId::PA40FieldIds, 219}, ""},                      // 30 (237)
};

// "OV0K" as one 32-bit value, first character in the high byte.
constexpr uint32_t kProductCode =
    (uint32_t('O') << 24) | (uint32_t('V') << 16) | (uint32_t('0') << 8) | uint32_t('K');

constexpr int32_t kStateNumber = 39;
// Under this filing status the Schedule OC lines read 0.
constexpr uint8_t kFilingStatusWithoutScheduleOC = 2;

bool marked(const TaxFormPtr& form, FieldRef ref) { return form->xMarked(fieldOf(ref)); }

// Member `member` of the information form's catalog.
const Primitives::OVImmutableIdentifier& infoField(int member) {
  return fieldOf({CatalogId::PAReturnInfoFieldIds, member});
}

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
    setXValue(kFormID_State14, 1, fieldOf(kStateFlagA), false);
    setXValue(kFormID_State14, 1, fieldOf(kStateFlagC), true);
  } else {
    setXValue(kFormID_State14, 1, fieldOf(kStateFlagB), true);
    setXValue(kFormID_State14, 1, fieldOf(kStateFlagA), false);
    setXValue(kFormID_State14, 1, fieldOf(kStateFlagC), false);
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

PATaxReturn::FieldId PATaxReturn::getInfoFieldId31() { return infoField(86); }
PATaxReturn::FieldId PATaxReturn::getInfoFieldId33() { return infoField(88); }
PATaxReturn::FieldId PATaxReturn::getInfoFieldId34() { return infoField(89); }
PATaxReturn::FieldId PATaxReturn::getInfoFieldId35() { return infoField(90); }
PATaxReturn::FieldId PATaxReturn::getInfoFieldId36() { return infoField(91); }
PATaxReturn::FieldId PATaxReturn::getInfoFieldId38() { return infoField(93); }
PATaxReturn::FieldId PATaxReturn::getInfoFieldId39() { return infoField(94); }
PATaxReturn::FieldId PATaxReturn::getInfoFieldId40() { return infoField(95); }
PATaxReturn::FieldId PATaxReturn::getInfoFieldId2() { return infoField(1); }

uint8_t PATaxReturn::readFilingStatus(const FormId& /*form*/) {
  TaxFormPtr info = getFormUVPtr(kFormID_PAReturnInfo, 1, true);
  if (info.isNull()) return 1;
  // Mark 3 wins over mark 1, mark 1 over mark 2; nothing marked is 1.
  uint8_t code = marked(info, kFilingStatus2Mark) ? 2 : 1;
  if (marked(info, kFilingStatus3Mark)) {
    code = 3;
  } else if (marked(info, kFilingStatus1Mark)) {
    code = 1;
  }
  return code;
}

int32_t PATaxReturn::readResidencyStatus(const FormId& form) {
  // The form is checked before the copy is fetched, so that asking about
  // another form never creates a copy of it.
  if (form != kFormID_PAReturnInfo) return 0;
  TaxFormPtr info = getFormUVPtr(form, 1, true);
  if (info.isNull()) return 0;
  int32_t code = marked(info, kPartYearResident) ? 1 : 0;
  if (marked(info, kNonresident)) code = 2;
  return code;
}

PATaxReturn::FormId PATaxReturn::readFederalReturnForm() {
  TaxFormPtr info = getFormUVPtr(kFormID_PAReturnInfo, 1, false);
  if (!info.isNull()) {
    if (marked(info, kFederalVariant55)) return kFormID_Fed55;
    if (marked(info, kFederalVariant87)) return kFormID_Fed87;
  }
  return kFormID_FedReturn;
}

PATaxReturn::FormId PATaxReturn::getPA40FormId() const { return kFormID_PA40; }

int32_t PATaxReturn::getStateLineValue(const FormId& form, uint16_t /*copy*/, int32_t line) {
  if (line < 1 || line > kLineCount) return 0;
  const FieldRef ref = kLines[line - 1].field;
  if (ref.catalog == CatalogId::kNone) return 0;
  const bool scheduleOC = ref.catalog == CatalogId::PAScheduleOCFieldIds;
  const FormId& lineForm = scheduleOC ? kFormID_PAScheduleOC : kFormID_PA40;
  if (form != lineForm) return 0;
  if (scheduleOC && getFilingStatus() == kFilingStatusWithoutScheduleOC) return 0;
  const long value = getIN(lineForm, 1, fieldOf(ref));
  if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

const char* stateLineSummaryLabel(int32_t line) {
  if (line < 1 || line > PATaxReturn::kLineCount) return "";
  return kLines[line - 1].summaryLabel;
}

}  // namespace PADataMgmt
