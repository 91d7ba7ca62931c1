// PA Schedule D, sale of property (state form 173): copy 1 the taxpayer's,
// copy 2 the spouse's.
//
// The sales themselves live on the Schedule D worksheet (state form 181);
// the schedule carries one reference line to it, one summary line with the
// person's worksheet total, the sale of a principal residence (from the
// worksheet's copy 1), six amounts the user enters and the total. On a
// joint return the user enters the six amounts of both
// persons on copy 1 and they are handed out to copy 1 and copy 2.
#include <cstddef>
#include <cstdint>

#include "calc/pa/box_marks.h"
#include "calc/pa/pa_tax_return_calc_engine.h"
#include "calc/pa/part_of_return.h"
#include "catalogs/fields/fields.h"
#include "host/form_defaults.h"
#include "host/rounding.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"
#include "return/return_codes.h"

namespace PACalculationMgmt {

namespace {

namespace D = PAScheduleD;
namespace DW = PAScheduleDWorksheet;

using Primitives::OVImmutableIdentifier;
using Field = NamedField<PAScheduleDFieldIds>;
using WorksheetField = NamedField<PAScheduleDWorksheetFieldIds>;

// The sale row (counted from 0) that carries the person's worksheet
// total; row 0 carries the reference to the worksheet.
const int kSummaryRow = 1;

// Always protected and null; the last one is still named in the total.
const Field kClearedAmounts[] = {D::kFirstClearedAmount, D::kSecondClearedAmount, D::kThirdClearedAmount};

// The amounts entered on copy 1 of a joint return, in pairs: the target
// field and the taxpayer's and spouse's entry. A copy that does not take
// the entries clears them up to the third RK-1 pair; the insurance pair
// after it is left as entered.
struct JointEntry {
  Field target;
  Field taxpayer;
  Field spouse;
};

const JointEntry kJointEntries[] = {
    {D::kScheduleD1Gain, D::kTaxpayerScheduleD1GainEntry, D::kSpouseScheduleD1GainEntry},
    {D::kScheduleD71Gain, D::kTaxpayerScheduleD71GainEntry, D::kSpouseScheduleD71GainEntry},
    {D::kRK1Gain, D::kTaxpayerRK1GainEntry, D::kSpouseRK1GainEntry},
    {D::kRK1SecondGain, D::kTaxpayerRK1SecondGainEntry, D::kSpouseRK1SecondGainEntry},
    {D::kRK1ThirdGain, D::kTaxpayerRK1ThirdGainEntry, D::kSpouseRK1ThirdGainEntry},
    {D::kInsuranceAnnuityGain, D::kTaxpayerInsuranceAnnuityGainEntry, D::kSpouseInsuranceAnnuityGainEntry},
};
// The residence line: worksheet field and schedule field.
struct ResidenceField {
  WorksheetField worksheet;
  Field schedule;
};
const ResidenceField kResidenceTexts[] = {
    {DW::kResidenceAddress, D::kResidenceAddress},
    {DW::kResidenceDateAcquired, D::kResidenceDateAcquired},
    {DW::kResidenceDateSold, D::kResidenceDateSold},
};
const ResidenceField kResidenceAmounts[] = {
    {DW::kResidenceSalesPrice, D::kResidenceSalesPrice},
    {DW::kResidenceCost, D::kResidenceCost},
    {DW::kResidenceGain, D::kResidenceGain},
};

// The entries the calculation leaves to the user: the six amounts entered
// on copy 1 (on a joint return their pairs, which it hands out to both
// copies), the Yes answers (No is the default), the joint owner box, and
// every sale row's dates and amounts; besides them the descriptions of the
// rows below the two the calculation writes, and an owner box other than
// the copy's own.
const Field kUserEntries[] = {
    D::kScheduleD1Gain,
    D::kScheduleD71Gain,
    D::kRK1Gain,
    D::kRK1SecondGain,
    D::kRK1ThirdGain,
    D::kInsuranceAnnuityGain,
    D::kTaxpayerScheduleD1GainEntry,
    D::kSpouseScheduleD1GainEntry,
    D::kTaxpayerScheduleD71GainEntry,
    D::kSpouseScheduleD71GainEntry,
    D::kTaxpayerRK1GainEntry,
    D::kSpouseRK1GainEntry,
    D::kTaxpayerRK1SecondGainEntry,
    D::kSpouseRK1SecondGainEntry,
    D::kTaxpayerRK1ThirdGainEntry,
    D::kSpouseRK1ThirdGainEntry,
    D::kTaxpayerInsuranceAnnuityGainEntry,
    D::kSpouseInsuranceAnnuityGainEntry,
    D::kFirstQuestionYesBox,
    D::kSecondQuestionYesBox,
    D::kJointBox,
};
const NamedColumn<PAScheduleDFieldIds> kUserColumns[] = {D::kSaleDateAcquired, D::kSaleDateSold,
                                                         D::kSaleSellingPrice, D::kSaleCost};

const char kReferenceText[] = "See Attached Sch D Wksht";
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
  c.form.assignIR(D::kWorksheetSummaryGain, total);
  markOrNo(c.form, D::kWorksheetSummaryLossBox, total < 0);
  if (hasEntries != 0) {
    c.form.assignText(D::kWorksheetReference, kReferenceText);
    c.form.assignText(D::kWorksheetSummary, itemsText);
  } else {
    c.form.setNull(D::kWorksheetReference);
    c.form.setNull(D::kWorksheetSummary);
  }
}

// The residence line: texts when shown, the three amounts in the share the
// copy takes (null for none). Returns the gain the floor is tested on: the
// taxpayer's half when that is the share, else the worksheet's whole gain
// (a loss floors the spouse's half to 0 just as well).
double writeResidence(ScheduleDCopy& c, bool showTexts, ResidenceShare share) {
  const DataMgmt::FormId& worksheet = kFormID_PAScheduleDWorksheet;
  for (const ResidenceField& field : kResidenceTexts) {
    if (showTexts) {
      char text[kTextSize] = "";
      c.pa.formString(text, sizeof text, worksheet, 1, field.worksheet);
      c.form.assignText(field.schedule, text);
    } else {
      c.form.setNull(field.schedule);
    }
  }
  for (const ResidenceField& field : kResidenceAmounts) {
    const long amount = c.pa.getIN(worksheet, 1, field.worksheet);
    const long taxpayerHalf = Utils::roundR(0.5 * amount);
    switch (share) {
      case ResidenceShare::kFull:
        c.form.assignIR(field.schedule, amount);
        break;
      case ResidenceShare::kTaxpayerHalf:
        c.form.assignIR(field.schedule, taxpayerHalf);
        break;
      case ResidenceShare::kSpouseHalf:
        c.form.assignIR(field.schedule, amount - taxpayerHalf);
        break;
      case ResidenceShare::kNone:
        c.form.setNull(field.schedule);
        break;
    }
  }
  const long gain = c.pa.getIN(worksheet, 1, DW::kResidenceGain);
  return share == ResidenceShare::kTaxpayerHalf ? Utils::roundR(0.5 * gain) : gain;
}

// The share of the residence a joint return's copy takes: all of it when
// the worksheet marks it as the copy's person's, half when joint, else
// none. A return without the worksheet reads as one whose worksheet holds
// its default (joint): whether an earlier calculation made the worksheet
// must not change the line.
ResidenceShare jointShare(ScheduleDCopy& c, const WorksheetField& ownerBox, ResidenceShare half) {
  if (!c.pa.formExists(kFormID_PAScheduleDWorksheet, 1)) return half;
  if (c.pa.formYes(kFormID_PAScheduleDWorksheet, 1, ownerBox)) return ResidenceShare::kFull;
  if (c.pa.formYes(kFormID_PAScheduleDWorksheet, 1, DW::kResidenceJointBox)) return half;
  return ResidenceShare::kNone;
}

// Copy 1 of a return that is not joint: the six amounts are entered here
// (what a joint return's calculation wrote there goes).
double fillSingleReturnCopy(ScheduleDCopy& c, long taxpayerTotal, long hasEntries) {
  writeSummary(c, taxpayerTotal, hasEntries, "Taxpayer Items");
  c.engine.clearFormFields(kFormID_PAScheduleD, 1, D::kTaxpayerScheduleD1GainEntry, D::kSpouseRK1ThirdGainEntry);
  for (const JointEntry& entry : kJointEntries) c.form.unprotectAndMaybeSetNull(entry.target);
  return writeResidence(c, true, ResidenceShare::kFull);
}

// Copy 1 of a joint return: the taxpayer's entries and share.
double fillJointTaxpayerCopy(ScheduleDCopy& c, long taxpayerTotal, long hasEntries) {
  writeSummary(c, taxpayerTotal, hasEntries, "Taxpayer Items");
  for (const JointEntry& entry : kJointEntries) {
    c.form.unProtect(entry.taxpayer);
    c.form.unProtect(entry.spouse);
  }
  for (const JointEntry& entry : kJointEntries) {
    c.form.makeProtected(entry.target);
    c.form.assignII(entry.target, entry.taxpayer);
  }
  const ResidenceShare share = jointShare(c, DW::kResidenceTaxpayerBox, ResidenceShare::kTaxpayerHalf);
  return writeResidence(c, share != ResidenceShare::kNone, share);
}

// Copy 2 of a joint return: the spouse's entries, read from copy 1.
double fillJointSpouseCopy(ScheduleDCopy& c, long spouseTotal, long hasEntries) {
  writeSummary(c, spouseTotal, hasEntries, "Spouse Items");
  c.engine.clearFormFields(kFormID_PAScheduleD, 2, D::kTaxpayerScheduleD1GainEntry, D::kSpouseRK1ThirdGainEntry);
  for (const JointEntry& entry : kJointEntries) {
    c.form.makeProtected(entry.target);
    c.form.assignIR(entry.target, c.pa.getIN(kFormID_PAScheduleD, 1, entry.spouse));
  }
  const ResidenceShare share = jointShare(c, DW::kResidenceSpouseBox, ResidenceShare::kSpouseHalf);
  return writeResidence(c, share != ResidenceShare::kNone, share);
}

// Whether the copy holds an entry of the user's (see kUserEntries); the
// taxpayer's copy defaults to the taxpayer's box, the spouse's to the
// spouse's.
bool holdsUserEntries(const ScheduleDCopy& c) {
  const DataMgmt::TaxForm& form = c.form;
  if (holdsAnyOf(form, kUserEntries) || holdsAnyRowOf(form, kUserColumns)) return true;
  for (int row = kSummaryRow + 1; row < D::kSaleDescription.rows(); ++row) {
    if (form.hasSigValue(D::kSaleDescription.at(row))) return true;
  }
  return (c.copy != 1 && form.xMarked(D::kTaxpayerBox)) || (c.copy != 2 && form.xMarked(D::kSpouseBox));
}

// Sales total, cleared amounts, total and loss boxes, for every copy.
void closeCopy(ScheduleDCopy& c) {
  DataMgmt::TaxForm& form = c.form;
  for (int row = 0; row < D::kSaleGain.rows(); ++row) {
    if (row != kSummaryRow) form.setNull(D::kSaleGain.at(row));
  }
  auto gain = [](int row) -> const OVImmutableIdentifier& { return D::kSaleGain.at(row); };
  const long salesTotal =
      form.sumOf6(gain(0), gain(1), gain(2), gain(3), gain(4), gain(5)) + form.sumOf3(gain(6), gain(7), gain(8));
  form.assignIR(D::kSalesTotal, salesTotal);
  markOrNo(form, D::kSalesLossBox, salesTotal < 0);

  for (const Field& field : kClearedAmounts) form.makeProtectedAndSetNull(field);
  Utils::setDefaultX(c.holder, D::kSecondQuestionNoBox, D::kSecondQuestionNoBox, D::kSecondQuestionYesBox);

  const long total = form.sumOf6(D::kSalesTotal, D::kScheduleD1Gain, D::kThirdClearedAmount, D::kScheduleD71Gain,
                                 D::kResidenceGain, D::kRK1Gain) +
                     form.sumOf3(D::kRK1SecondGain, D::kRK1ThirdGain, D::kInsuranceAnnuityGain);
  form.assignIR(D::kTotalGain, total);
  markOrNo(form, D::kScheduleD71LossBox, form.getIR(D::kScheduleD71Gain) < 0.0);
  markOrNo(form, D::kRK1LossBox, form.getIR(D::kRK1Gain) < 0.0);
  markOrNo(form, D::kTotalLossBox, form.getIR(D::kTotalGain) < 0.0);

  bool holdsData = form.getIR(D::kTotalGain) != 0.0;
  for (const Field& field :
       {D::kWorksheetReference, D::kScheduleD1Gain, D::kScheduleD71Gain, D::kRK1Gain, D::kResidenceGain}) {
    if (c.pa.hasSigValue(kFormID_PAScheduleD, c.copy, field)) holdsData = true;
  }
  markPartOfReturn(c.pa, kFormID_PAScheduleD, c.copy, holdsData, [&] { return holdsUserEntries(c); });
}

// Title, names and owner boxes by copy.
void writeHeader(ScheduleDCopy& c) {
  const OVImmutableIdentifier& none = Primitives::kNullFieldID;
  if (c.copy == 1) {
    c.form.assignText(D::kTitle, "PA40D Copy 1 - Taxpayer");
    c.engine.copyNameText(c.holder, kFormID_PAReturnInfo, c.status, 0, D::kTaxpayerName, D::kTaxpayerSSN, none,
                          none, none, none, none, none, none, 0);
    Utils::setDefaultX(c.holder, D::kTaxpayerBox, D::kSpouseBox, D::kJointBox);
  } else if (c.copy == 2) {
    if (c.status == PADataMgmt::kFilingJoint) {
      c.form.assignText(D::kTitle, "PA40D Copy 2 - Spouse");
    } else {
      c.form.setNull(D::kTitle);
    }
    c.engine.copyNameText(c.holder, kFormID_PAReturnInfo, c.status, 0, none, none, none, none, D::kSpouseName,
                          D::kSpouseSSN, none, none, none, 0);
    Utils::setDefaultX(c.holder, D::kSpouseBox, D::kTaxpayerBox, D::kJointBox);
  } else {
    c.form.setNull(D::kTitle);
  }
}

}  // namespace

void PATaxReturnCalcEngine::computeScheduleD(DataMgmt::TaxFormPtr form, uint16_t copy, int /*passOn*/) {
  if (form.isNull() || paReturn == nullptr) return;
  ScheduleDCopy c{*this, *paReturn, form, *form, copy, paReturn->readFilingStatus(kFormID_PAReturnInfo)};

  Utils::setDefaultX(form, D::kFirstQuestionNoBox, D::kFirstQuestionNoBox, D::kFirstQuestionYesBox);
  writeHeader(c);

  const DataMgmt::FormId& worksheet = kFormID_PAScheduleDWorksheet;
  const long taxpayerTotal = paReturn->getAllCopies(worksheet, DW::kTaxpayerTotal);
  const long spouseTotal = paReturn->getAllCopies(worksheet, DW::kSpouseTotal);
  const long hasEntries = paReturn->getAllCopies(worksheet, DW::kHasDataMark);

  bool residenceLine = true;
  double residenceGain = 0.0;
  if (c.status != PADataMgmt::kFilingJoint) {
    if (copy == 1) {
      residenceGain = fillSingleReturnCopy(c, taxpayerTotal, hasEntries);
    } else {
      clearFormFields(kFormID_PAScheduleD, copy, D::kTaxpayerName, D::kTotalGain);
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
  if (residenceLine && residenceGain < 0.0) form->assignIR(D::kResidenceGain, 0.0);

  closeCopy(c);
}

}  // namespace PACalculationMgmt
