// The four voucher blocks of the estimated tax worksheet, one per
// installment: due date, names and identity texts, daytime telephone
// number, PA-40 and address texts, the annual amount and the installment.
// Block 1's name texts come from the information form; blocks 2 to 4 copy
// them.
#include <cstdint>
#include <cstdio>

#include "calc/pa/pa_tax_return_calc_engine.h"
#include "calc/pa/schedules/estimated_tax_worksheet.h"
#include "catalogs/catalogs.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"
#include "identifiers/tax_year_constants.h"

namespace PACalculationMgmt {
namespace EstimatedTaxWorksheet {

using DataMgmt::TaxFormPtr;
using Primitives::OVImmutableIdentifier;

namespace {

const int kBlocks = 4;
// Information-form texts are read into buffers of this size.
const int kTextSize = 128;
// The common-text code of the daytime telephone number.
const int kPhoneText = 141;

// The worksheet members of one block (host field numbers of block 1 in the
// comments).
struct VoucherBlock {
  int infoText35;           // 70
  int nameInitials;         // 71
  int spouseText40;         // 72
  int dueDate;              // 73
  int lastName;             // 74
  int phone;                // 75
  int firstName;            // 76
  int middleInitial;        // 77
  int spouseFirstName;      // 78
  int spouseMiddleInitial;  // 79
  int spouseLastName;       // 80
  int pa40Text107;          // 81
  int installment;          // 82
  int pa40Text105;          // 83
  int infoText43;           // 84
  int infoText44;           // 85
  int infoText45;           // 86
  int annual;               // 139
};

const VoucherBlock kVoucherBlocks[kBlocks] = {
    {85, 86, 87, 88, 89, 103, 91, 92, 93, 94, 95, 96, 98, 99, 100, 101, 102, 97},
    {104, 105, 106, 107, 108, 122, 110, 111, 112, 113, 114, 115, 117, 118, 119, 120, 121, 116},
    {123, 124, 125, 126, 127, 141, 129, 130, 131, 132, 133, 134, 136, 137, 138, 139, 140, 135},
    {142, 143, 144, 145, 146, 160, 148, 149, 150, 151, 152, 153, 155, 156, 157, 158, 159, 154},
};

// Due dates of the installments: April, June and September of the coming
// year, January of the year after.
struct DueDate {
  const char* month;
  int day;
  const char* const* yearTail;
};

const DueDate kDueDates[kBlocks] = {
    {"04", 15, &kYearShort2019},
    {"06", 17, &kYearShort2019},
    {"09", 16, &kYearShort2019},
    {"01", 15, &kYearShort2020},
};

// Information-form members (host field numbers in the comments).
const int kInfoFirstName = 86;         // 31
const int kInfoMiddleInitial = 87;     // 32
const int kInfoLastName = 88;          // 33
const int kInfoText35 = 90;            // 35
const int kInfoSpouseFirstName = 91;   // 36
const int kInfoSpouseMiddle = 92;      // 37
const int kInfoSpouseLastName = 93;    // 38
const int kInfoSpouseText40 = 95;      // 40
const int kInfoText43 = 98;            // 43
const int kInfoText44 = 99;            // 44
const int kInfoText45 = 100;           // 45
// PA-40 members.
const int kPA40Text107 = 128;  // 107
const int kPA40Text105 = 130;  // 105
const int kPA40Phone = 139;    // 116

const OVImmutableIdentifier& info(int member) { return kPAReturnInfoFieldIds[member]; }

// Block 1's name texts; a return that is not joint has no spouse texts.
void fillFirstBlockNames(PATaxReturnCalcEngine& engine, TaxFormPtr worksheet, bool joint) {
  const VoucherBlock& block = kVoucherBlocks[0];
  engine.copyInfoTextToField(info(kInfoText35), worksheet, field(block.infoText35));
  engine.copyInfoTextToField(info(kInfoLastName), worksheet, field(block.lastName));
  engine.copyInfoTextToField(info(kInfoFirstName), worksheet, field(block.firstName));
  engine.copyInfoTextToField(info(kInfoMiddleInitial), worksheet, field(block.middleInitial));
  if (joint) {
    engine.copyInfoTextToField(info(kInfoSpouseLastName), worksheet, field(block.spouseLastName));
    engine.copyInfoTextToField(info(kInfoSpouseFirstName), worksheet, field(block.spouseFirstName));
    engine.copyInfoTextToField(info(kInfoSpouseMiddle), worksheet, field(block.spouseMiddleInitial));
    engine.copyInfoTextToField(info(kInfoSpouseText40), worksheet, field(block.spouseText40));
  } else {
    for (int member : {block.spouseLastName, block.spouseFirstName, block.spouseMiddleInitial,
                       block.spouseText40}) {
      worksheet->setNull(field(member));
    }
  }
}

// Blocks 2 to 4 copy block 1's name texts as they stand.
void copyFirstBlockNames(DataMgmt::TaxForm& ws) {
  const VoucherBlock& first = kVoucherBlocks[0];
  for (int b = 1; b < kBlocks; ++b) {
    const VoucherBlock& block = kVoucherBlocks[b];
    ws.assignII(field(block.lastName), field(first.lastName));
    ws.assignII(field(block.firstName), field(first.firstName));
    ws.assignII(field(block.middleInitial), field(first.middleInitial));
    ws.assignII(field(block.infoText35), field(first.infoText35));
    ws.assignII(field(block.spouseLastName), field(first.spouseLastName));
    ws.assignII(field(block.spouseFirstName), field(first.spouseFirstName));
    ws.assignII(field(block.spouseMiddleInitial), field(first.spouseMiddleInitial));
    ws.assignII(field(block.spouseText40), field(first.spouseText40));
  }
}

// The federal daytime telephone number, else the PA-40's; protected once
// block 1 holds one.
void fillPhones(PATaxReturnCalcEngine& engine, PADataMgmt::PATaxReturn& pa, TaxFormPtr worksheet,
                uint16_t copy) {
  for (const VoucherBlock& block : kVoucherBlocks) {
    engine.pullCommonText(engine.getFederalReturnFormId(), kFormID_PAEstimatedTaxWorksheet, copy,
                          field(block.phone), kPhoneText);
  }
  const OVImmutableIdentifier& firstPhone = field(kVoucherBlocks[0].phone);
  if (!worksheet->hasSigValue(firstPhone)) {
    for (const VoucherBlock& block : kVoucherBlocks) {
      pa.getII(kFormID_PA40, kPA40FieldIds[kPA40Phone], worksheet, field(block.phone));
    }
  }
  if (worksheet->hasSigValue(firstPhone)) {
    for (const VoucherBlock& block : kVoucherBlocks) worksheet->makeProtected(field(block.phone));
  }
}

}  // namespace

void fillVoucherBlocks(PATaxReturnCalcEngine& engine, TaxFormPtr worksheet, uint16_t copy, bool joint) {
  PADataMgmt::PATaxReturn& pa = *engine.getPAReturn();
  DataMgmt::TaxForm& ws = *worksheet;

  for (int b = 0; b < kBlocks; ++b) {
    char date[16];
    std::snprintf(date, sizeof date, "%s-%d-%s", kDueDates[b].month, kDueDates[b].day,
                  *kDueDates[b].yearTail);
    ws.assignText(field(kVoucherBlocks[b].dueDate), date);
  }

  fillFirstBlockNames(engine, worksheet, joint);
  copyFirstBlockNames(ws);

  // The first two letters of the taxpayer's last name.
  char lastName[kTextSize];
  pa.textString(lastName, kFormID_PAReturnInfo, 1, info(kInfoLastName));
  char initials[3];
  std::snprintf(initials, sizeof initials, "%.2s", lastName);
  for (const VoucherBlock& block : kVoucherBlocks) ws.assignText(field(block.nameInitials), initials);

  fillPhones(engine, pa, worksheet, copy);

  for (const VoucherBlock& block : kVoucherBlocks) {
    pa.getII(kFormID_PA40, kPA40FieldIds[kPA40Text107], worksheet, field(block.pa40Text107));
    pa.getII(kFormID_PA40, kPA40FieldIds[kPA40Text105], worksheet, field(block.pa40Text105));
    engine.copyInfoTextToField(info(kInfoText43), worksheet, field(block.infoText43));
    engine.copyInfoTextToField(info(kInfoText44), worksheet, field(block.infoText44));
    engine.copyInfoTextToField(info(kInfoText45), worksheet, field(block.infoText45));
  }

  // The annual amount: the amended one when the estimate is amended.
  const int annualMember = ws.xMarked(field(kAmendedBox)) ? kAmendedAnnual : kRequiredPayment;
  const double annual = static_cast<double>(ws.getIN(field(annualMember)));
  for (const VoucherBlock& block : kVoucherBlocks) ws.assignIR(field(block.annual), annual);

  // Each block pays its row's net payment. Block 1 holds a quarter of the
  // required payment until its row is copied in; a row before the first
  // due date is empty, and so is its block.
  ws.timesIR(field(kVoucherBlocks[0].installment), field(kRequiredPayment), 0.25);
  for (int b = 0; b < kBlocks; ++b) {
    ws.assignII(field(kVoucherBlocks[b].installment), field(kInstallmentNet + b));
  }
}

}  // namespace EstimatedTaxWorksheet
}  // namespace PACalculationMgmt
