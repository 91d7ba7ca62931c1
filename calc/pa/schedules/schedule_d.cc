// PA Schedule D, sale of property (state form 173): copy 1 the taxpayer's,
// copy 2 the spouse's.
//
// The sales themselves live on the Schedule D worksheet (state form 181);
// the schedule carries one reference line to it, one summary line with the
// person's worksheet total, the sale of a principal residence (from the
// worksheet's copy 1), six amounts the user enters and the total. On a
// joint return (filing status 2) the user enters the six amounts of both
// persons on copy 1 and they are handed out to copy 1 and copy 2.
#include <cstddef>
#include <cstdint>

#include "calc/pa/box_marks.h"
#include "calc/pa/pa_tax_return_calc_engine.h"
#include "catalogs/catalogs.h"
#include "host/form_defaults.h"
#include "host/rounding.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"

namespace PACalculationMgmt {

namespace {

using Primitives::OVImmutableIdentifier;

const OVImmutableIdentifier& sd(int member) { return kPAScheduleDFieldIds[member]; }
const OVImmutableIdentifier& ws(int member) { return kPAScheduleDWorksheetFieldIds[member]; }

// Schedule D members; host field numbers in comments.
const int kTitle = 1;                // 2
const int kFirstPairA = 2;           // 180
const int kFirstPairB = 3;           // 181
const int kSecondPairA = 6;          // 150692
const int kSecondPairB = 7;          // 150693
const int kTaxpayerName = 12;        // 6
const int kTaxpayerNumber = 13;      // 7
const int kSpouseName = 14;          // 8
const int kSpouseNumber = 15;        // 9
const int kOwnerTaxpayer = 16;       // 131972
const int kOwnerSpouse = 17;         // 131973
const int kOwnerJoint = 18;          // 131974
const int kReferenceLine = 19;       // 10: description of sale row 1
const int kSummaryLine = 26;         // 17: description of sale row 2
const int kSummaryLossBox = 31;      // 22
const int kSummaryAmount = 32;       // 23: gain of sale row 2
const int kSalesLossBox = 152;       // 87
const int kSalesTotal = 153;         // 88
const int kFirstJointEntry = 154;    // 193
const int kLastJointEntry = 165;     // 9354
const int kLastClearedEntry = 163;   // 204: the insurance pair after it is left as entered
const int kD1Amount = 166;           // 89
const int kD71LossBox = 170;         // 93
const int kD71Amount = 171;          // 94
const int kRK1LossBox = 172;         // 95
const int kRK1Amount1 = 173;         // 96
const int kResidenceAddress = 174;   // 97
const int kResidenceAcquired = 175;  // 98
const int kResidenceSold = 176;      // 99
const int kResidencePrice = 177;     // 100
const int kResidenceCost = 178;      // 101
const int kResidenceGain = 180;      // 103
const int kRK1Amount2 = 181;         // 178
const int kRK1Amount3 = 182;         // 179
const int kInsuranceGain = 183;      // 9355
const int kTotalLossBox = 184;       // 104
const int kTotal = 185;              // 105

// The gains of the nine sale rows (seven members a row from member 19):
// host fields 16, 23, 30, 37, 44, 51, 58, 65, 72. Row 2 is the summary.
const int kSaleRowGains[] = {25, 32, 39, 46, 53, 60, 67, 74, 81};
// Always protected and null: host fields 90, 91, 92; the last one is
// still named in the total.
const int kClearedAmounts[] = {167, 168, 169};
const int kClearedInTotal = 169;

// The amounts entered on copy 1 of a joint return, in pairs: the target
// member and the taxpayer's and spouse's entry members.
struct JointEntry {
  int target;
  int taxpayer;
  int spouse;
};

const JointEntry kJointEntries[] = {
    {kD1Amount, 154, 155},       // 89 <- 193 / 194
    {kD71Amount, 156, 157},      // 94 <- 195 / 196
    {kRK1Amount1, 158, 159},     // 96 <- 197 / 198
    {kRK1Amount2, 160, 161},     // 178 <- 201 / 202
    {kRK1Amount3, 162, 163},     // 179 <- 203 / 204
    {kInsuranceGain, 164, 165},  // 9355 <- 9353 / 9354
};

// Worksheet members.
const int kWsHasEntries = 5;                        // 72334: 1.0 on a copy holding an entry
const int kWsTaxpayerTotal = 190;                   // 268
const int kWsSpouseTotal = 193;                     // 271
const int kWsOwnerTaxpayer = 194;                   // 275
const int kWsOwnerSpouse = 195;                     // 276
const int kWsOwnerJoint = 196;                      // 277
const int kWsResidenceTexts[] = {197, 198, 199};    // 278-280: address, acquired, sold
const int kWsResidenceAmounts[] = {200, 201, 202};  // 281-283: price, cost, gain
const int kResidenceTexts[] = {kResidenceAddress, kResidenceAcquired, kResidenceSold};
const int kResidenceAmounts[] = {kResidencePrice, kResidenceCost, kResidenceGain};

const char kReferenceText[] = "See Attached Sch D Wksht";
const uint8_t kFilingJoint = 2;
const int kTextSize = 128;

// Which share of the worksheet's residence a copy shows.
enum class ResidenceShare { kNone, kFull, kTaxpayerHalf, kSpouseHalf };

// One Schedule D copy under calculation and what every step reads.
struct ScheduleDCopy {
  PATaxReturnCalcEngine& engine;
  PADataMgmt::PATaxReturn& pa;
  DataMgmt::TaxFormPtr holder;
  DataMgmt::TaxForm& form;
  uint16_t copy;
  uint8_t status;
};

// The person's worksheet total on sale row 2, with the reference to the
// worksheet on row 1 when any worksheet copy holds an entry.
void writeSummary(ScheduleDCopy& c, long total, long hasEntries, const char* itemsText) {
  c.form.assignIR(sd(kSummaryAmount), total);
  markOrNo(c.form, sd(kSummaryLossBox), total < 0);
  if (hasEntries != 0) {
    c.form.assignText(sd(kReferenceLine), kReferenceText);
    c.form.assignText(sd(kSummaryLine), itemsText);
  } else {
    c.form.setNull(sd(kReferenceLine));
    c.form.setNull(sd(kSummaryLine));
  }
}

// The residence line: texts when shown, the three amounts in the share the
// copy takes (null for none). Returns the gain the floor is tested on: the
// taxpayer's half when that is the share, else the worksheet's whole gain
// (a loss floors the spouse's half to 0 just as well).
double writeResidence(ScheduleDCopy& c, bool showTexts, ResidenceShare share) {
  const DataMgmt::FormId& worksheet = kFormID_PAScheduleDWorksheet;
  for (std::size_t k = 0; k < 3; ++k) {
    if (showTexts) {
      char text[kTextSize] = "";
      c.pa.formString(text, sizeof text, worksheet, 1, ws(kWsResidenceTexts[k]));
      c.form.assignText(sd(kResidenceTexts[k]), text);
    } else {
      c.form.setNull(sd(kResidenceTexts[k]));
    }
  }
  for (std::size_t k = 0; k < 3; ++k) {
    const long amount = c.pa.getIN(worksheet, 1, ws(kWsResidenceAmounts[k]));
    const long taxpayerHalf = Utils::roundR(0.5 * amount);
    const OVImmutableIdentifier& target = sd(kResidenceAmounts[k]);
    switch (share) {
      case ResidenceShare::kFull:
        c.form.assignIR(target, amount);
        break;
      case ResidenceShare::kTaxpayerHalf:
        c.form.assignIR(target, taxpayerHalf);
        break;
      case ResidenceShare::kSpouseHalf:
        c.form.assignIR(target, amount - taxpayerHalf);
        break;
      case ResidenceShare::kNone:
        c.form.setNull(target);
        break;
    }
  }
  const long gain = c.pa.getIN(worksheet, 1, ws(kWsResidenceAmounts[2]));
  return share == ResidenceShare::kTaxpayerHalf ? Utils::roundR(0.5 * gain) : gain;
}

bool worksheetOwner(ScheduleDCopy& c, int member) {
  return c.pa.formYes(kFormID_PAScheduleDWorksheet, 1, ws(member));
}

// Copy 1 of a return that is not joint: the six amounts are entered here.
double fillSingleReturnCopy(ScheduleDCopy& c, long taxpayerTotal, long hasEntries) {
  writeSummary(c, taxpayerTotal, hasEntries, "Taxpayer Items");
  c.engine.clearFormFields(kFormID_PAScheduleD, 1, sd(kFirstJointEntry), sd(kLastClearedEntry));
  for (const JointEntry& entry : kJointEntries) c.form.unProtect(sd(entry.target));
  return writeResidence(c, true, ResidenceShare::kFull);
}

// Copy 1 of a joint return: the taxpayer's entries and share.
double fillJointTaxpayerCopy(ScheduleDCopy& c, long taxpayerTotal, long hasEntries) {
  writeSummary(c, taxpayerTotal, hasEntries, "Taxpayer Items");
  for (int member = kFirstJointEntry; member <= kLastJointEntry; ++member) c.form.unProtect(sd(member));
  for (const JointEntry& entry : kJointEntries) {
    c.form.makeProtected(sd(entry.target));
    c.form.assignII(sd(entry.target), sd(entry.taxpayer));
  }
  const bool own = worksheetOwner(c, kWsOwnerTaxpayer);
  const bool joint = worksheetOwner(c, kWsOwnerJoint);
  const ResidenceShare share = own     ? ResidenceShare::kFull
                               : joint ? ResidenceShare::kTaxpayerHalf
                                       : ResidenceShare::kNone;
  return writeResidence(c, own || joint, share);
}

// Copy 2 of a joint return: the spouse's entries, read from copy 1.
double fillJointSpouseCopy(ScheduleDCopy& c, long spouseTotal, long hasEntries) {
  writeSummary(c, spouseTotal, hasEntries, "Spouse Items");
  c.engine.clearFormFields(kFormID_PAScheduleD, 2, sd(kFirstJointEntry), sd(kLastClearedEntry));
  for (const JointEntry& entry : kJointEntries) {
    c.form.makeProtected(sd(entry.target));
    c.form.assignIR(sd(entry.target), c.pa.getIN(kFormID_PAScheduleD, 1, sd(entry.spouse)));
  }
  const bool own = worksheetOwner(c, kWsOwnerSpouse);
  const bool joint = worksheetOwner(c, kWsOwnerJoint);
  const ResidenceShare share = own     ? ResidenceShare::kFull
                               : joint ? ResidenceShare::kSpouseHalf
                                       : ResidenceShare::kNone;
  return writeResidence(c, own || joint, share);
}

// Sales total, cleared amounts, total and loss boxes, for every copy.
void closeCopy(ScheduleDCopy& c) {
  DataMgmt::TaxForm& form = c.form;
  for (int member : kSaleRowGains) {
    if (member != kSummaryAmount) form.setNull(sd(member));
  }
  const int* g = kSaleRowGains;
  const long salesTotal = form.sumOf6(sd(g[0]), sd(g[1]), sd(g[2]), sd(g[3]), sd(g[4]), sd(g[5])) +
                          form.sumOf3(sd(g[6]), sd(g[7]), sd(g[8]));
  form.assignIR(sd(kSalesTotal), salesTotal);
  markOrNo(form, sd(kSalesLossBox), salesTotal < 0);

  for (int member : kClearedAmounts) form.makeProtectedAndSetNull(sd(member));
  Utils::setDefaultX(c.holder, sd(kSecondPairB), sd(kSecondPairB), sd(kSecondPairA));

  const long total = form.sumOf6(sd(kSalesTotal), sd(kD1Amount), sd(kClearedInTotal), sd(kD71Amount),
                                 sd(kResidenceGain), sd(kRK1Amount1)) +
                     form.sumOf3(sd(kRK1Amount2), sd(kRK1Amount3), sd(kInsuranceGain));
  form.assignIR(sd(kTotal), total);
  markOrNo(form, sd(kD71LossBox), form.getIR(sd(kD71Amount)) < 0.0);
  markOrNo(form, sd(kRK1LossBox), form.getIR(sd(kRK1Amount1)) < 0.0);
  markOrNo(form, sd(kTotalLossBox), form.getIR(sd(kTotal)) < 0.0);

  bool holdsData = form.getIR(sd(kTotal)) != 0.0;
  for (int member : {kReferenceLine, kD1Amount, kD71Amount, kRK1Amount1, kResidenceGain}) {
    if (c.pa.hasSigValue(kFormID_PAScheduleD, c.copy, sd(member))) holdsData = true;
  }
  if (holdsData) {
    c.pa.setDataEntered(kFormID_PAScheduleD, c.copy, true, false);
    if (DataMgmt::TaxForm* own = c.pa.getForm(kFormID_PAScheduleD, c.copy)) own->setCalcMark(true);
  }
}

// Title, names and owner boxes by copy.
void writeHeader(ScheduleDCopy& c) {
  const OVImmutableIdentifier& none = Primitives::kNullFieldID;
  if (c.copy == 1) {
    c.form.assignText(sd(kTitle), "PA40D Copy 1 - Taxpayer");
    c.engine.copyNameText(c.holder, kFormID_PAReturnInfo, c.status, 0, sd(kTaxpayerName), sd(kTaxpayerNumber),
                          none, none, none, none, none, none, none, 0);
    Utils::setDefaultX(c.holder, sd(kOwnerTaxpayer), sd(kOwnerSpouse), sd(kOwnerJoint));
  } else if (c.copy == 2) {
    if (c.status == kFilingJoint) {
      c.form.assignText(sd(kTitle), "PA40D Copy 2 - Spouse");
    } else {
      c.form.setNull(sd(kTitle));
    }
    c.engine.copyNameText(c.holder, kFormID_PAReturnInfo, c.status, 0, none, none, none, none,
                          sd(kSpouseName), sd(kSpouseNumber), none, none, none, 0);
    Utils::setDefaultX(c.holder, sd(kOwnerSpouse), sd(kOwnerTaxpayer), sd(kOwnerJoint));
  } else {
    c.form.setNull(sd(kTitle));
  }
}

}  // namespace

void PATaxReturnCalcEngine::computeScheduleD(DataMgmt::TaxFormPtr form, uint16_t copy, int /*passOn*/) {
  if (form.isNull() || paReturn == nullptr) return;
  ScheduleDCopy c{*this, *paReturn, form, *form, copy, paReturn->readFilingStatus(kFormID_PAReturnInfo)};

  Utils::setDefaultX(form, sd(kFirstPairB), sd(kFirstPairB), sd(kFirstPairA));
  writeHeader(c);

  const DataMgmt::FormId& worksheet = kFormID_PAScheduleDWorksheet;
  const long taxpayerTotal = paReturn->getAllCopies(worksheet, ws(kWsTaxpayerTotal));
  const long spouseTotal = paReturn->getAllCopies(worksheet, ws(kWsSpouseTotal));
  const long hasEntries = paReturn->getAllCopies(worksheet, ws(kWsHasEntries));

  bool residenceLine = true;
  double residenceGain = 0.0;
  if (c.status != kFilingJoint) {
    if (copy == 1) {
      residenceGain = fillSingleReturnCopy(c, taxpayerTotal, hasEntries);
    } else {
      clearFormFields(kFormID_PAScheduleD, copy, sd(kTaxpayerName), sd(kTotal));
      residenceLine = false;
    }
  } else if (copy == 1) {
    residenceGain = fillJointTaxpayerCopy(c, taxpayerTotal, hasEntries);
  } else if (copy == 2) {
    residenceGain = fillJointSpouseCopy(c, spouseTotal, hasEntries);
  } else {
    residenceLine = false;
  }
  // The residence gain is never below 0, even where its amounts were just
  // set null because no owner box matched.
  if (residenceLine && residenceGain < 0.0) form->assignIR(sd(kResidenceGain), 0.0);

  closeCopy(c);
}

}  // namespace PACalculationMgmt
