// The calculation of one copy of the interest summary (state form 16) or
// the dividend summary (state form 17) from its records. The two forms
// differ only in the data of int_div_sources.cc and in the federal form 3
// part of the interest summary.

#include <cstdio>
#include <cstring>

#include "calc/state/int_div_display.h"
#include "calc/state/int_div_sources.h"
#include "calc/state/state_tax_return_calc_engine.h"
#include "catalogs/catalogs.h"
#include "host/descriptors.h"
#include "host/rounding.h"
#include "host/tax_form.h"
#include "host/tax_return.h"
#include "identifiers/form_ids.h"

namespace StateCalculationMgmt {

namespace {

// Host fields of a summary copy.
const int kFirstRecord = 2;
const int kLastRecord = 25;
const int kName1 = 26;
const int kNumber1 = 27;
const int kName2 = 28;
const int kNumber2 = 29;
const int kFirstLabel = 31;
const int kLastLabel = 169;
const int kForm3Part = 182;     // interest: the U.S. part reported on federal form 3
const int kUSLessForm3 = 186;   // interest: 178 less 182, per person

// Both summaries' display lines: owner field before the label, then the
// header amount, column, amount and state amount; 6 fields a line.
const DisplayLineOffsets kSummaryLineLayout = {DisplayLineOffsets::kHasOwnerField, 0, 1, 2, 3, 4, 6};

bool isJointStatus(uint16_t filingStatus) { return filingStatus == 0 || filingStatus == 2; }

// Steps of one summary copy's calculation that do not touch the engine's
// own members.
class SummaryFormCalc {
 public:
  SummaryFormCalc(StateTaxReturnCalcEngine& engine, const IntDivSummary& summary, TaxFormPtr copy,
                  uint16_t copyNumber, uint16_t filingStatus, int residencyChoice)
      : engine_(engine),
        summary_(summary),
        copy_(copy),
        copyNumber_(copyNumber),
        filingStatus_(filingStatus),
        residencyChoice_(residencyChoice) {}

  const FieldId& field(int number) const { return summaryField(summary_, number); }
  void fillLines(const DisplayLineOffsets& layout);
  void writeTotals(const double (&ownerTotals)[8]);
  void writeForm3Part();
  void allocateAndNet();
  void markWhenSignificant();

 private:
  // The payer name of a source copy, cut to `length` characters.
  void readPayerName(const IntDivSource& source, uint16_t copy, char* name, int length) const;

  StateTaxReturnCalcEngine& engine_;
  const IntDivSummary& summary_;
  TaxFormPtr copy_;
  uint16_t copyNumber_;
  uint16_t filingStatus_;
  int residencyChoice_;
};

void SummaryFormCalc::readPayerName(const IntDivSource& source, uint16_t copy, char* name, int length) const {
  const DataMgmt::USTaxReturn& federal = *engine_.getFederalReturn();
  const bool second = federal.formYes(*source.form, copy, fieldOf(source.nameChoice));
  char text[128];
  federal.formString(text, sizeof text, *source.form, copy, fieldOf(second ? source.secondName : source.name));
  std::snprintf(name, static_cast<size_t>(length) + 1, "%.*s", length, text);
}

void SummaryFormCalc::fillLines(const DisplayLineOffsets& layout) {
  const DataMgmt::USTaxReturn& federal = *engine_.getFederalReturn();
  // Descriptions and names are compared as the label field shows them.
  int labelLength = 127;
  const DataMgmt::FormFieldDescPtr labelDesc = copy_->getTaxFormDescriptor()->getFieldDesc(field(kFirstLabel));
  if (labelDesc && labelDesc->getLength() < labelLength) labelLength = labelDesc->getLength();
  if (labelLength > kIntDivDescriptionMax) labelLength = kIntDivDescriptionMax;

  const DataMgmt::OVFieldIDIter fields = copy_->getTaxFormDescriptor()->getFieldIDs();
  DataMgmt::OVFieldIDIter record = fields;
  record = field(kFirstRecord);
  DataMgmt::OVFieldIDIter line = fields;
  line = field(kFirstLabel);
  for (; record <= field(kLastRecord); record.next()) {
    char description[kIntDivDescriptionSize];
    FormId source;
    uint16_t sourceCopy = 0;
    int lineType = 0;
    engine_.getIntDivInfo(copy_, record, description, source, &sourceCopy, &lineType);
    const IntDivSource* from = sourceCopy == 0 ? nullptr : findIntDivSource(summary_, source);
    if (from == nullptr) {
      engine_.clearDisplayLine(copy_, line, true, true);
      line += layout.lineStride;
      continue;
    }
    // A spouse's source has no line unless the couple files jointly.
    if (federal.formYes(source, sourceCopy, fieldOf(from->spouseBox)) && !isJointStatus(filingStatus_)) continue;

    char name[128];
    readPayerName(*from, sourceCopy, name, labelLength);
    description[labelLength] = '\0';
    bool renamed = false;
    if (std::strcmp(name, description) != 0) {
      engine_.setIntDivInfo(copy_, record, name, source, sourceCopy, lineType);
      copy_->assignText((line + layout.labelOffset).getID(), name);
      renamed = true;
    }
    IntDivSourceAmounts a;
    (engine_.*from->split)(source, sourceCopy, &a);
    engine_.fillDisplayLine(copy_, *summary_.form, copyNumber_, line, lineType, name, a.net, a.regular,
                            a.usObligations, a.exemptTotal, a.inState, a.outOfState, residencyChoice_,
                            renamed ? 1 : 0, a.owner, filingStatus_);
  }
  for (; line <= field(kLastLabel); line += layout.lineStride) engine_.clearDisplayLine(copy_, line, true, true);
}

void SummaryFormCalc::writeTotals(const double (&ownerTotals)[8]) {
  for (const int* row = summary_.allocationRows; *row != 0; ++row) {
    copy_->zero(field(*row));
    copy_->zero(field(*row + 1));
  }
  const bool joint = filingStatus_ == 0 || filingStatus_ == 2 || filingStatus_ == 8;
  for (int column = 0; column < kIntDivColumnCount; ++column) {
    const int row = summary_.columnRows[column];
    copy_->assignIR(field(row), ownerTotals[2 * column]);
    if (joint) {
      copy_->assignIR(field(row + 1), ownerTotals[2 * column + 1]);
    } else {
      copy_->setNull(field(row + 1));
    }
  }
}

void SummaryFormCalc::writeForm3Part() {
  if (copyNumber_ != 1) {
    copy_->setNull(field(kForm3Part));
    copy_->setNull(field(kForm3Part + 1));
    return;
  }
  const FormId federalForm = engine_.getFederalReturnFormId();
  long reported = 0;  // whole dollars on form 3
  if (federalForm == kFormID_FedReturn || federalForm == kFormID_Fed55) {
    reported = engine_.getFederalReturn()->getIN(kFormID_Fed3, 1, kFed3FieldIds[70]);  // host field 68
  }
  double taxpayerPart = 0;
  double spousePart = 0;
  if (reported > 0) {
    const StateDataMgmt::StateTaxReturn& state = *engine_.getStateReturn();
    const double a = static_cast<double>(state.getAllCopies(*summary_.form, field(178)));
    const double b = static_cast<double>(state.getAllCopies(*summary_.form, field(179)));
    const double ratio = a + b > 0 ? a / (a + b) : 0;
    taxpayerPart = static_cast<double>(Utils::roundR(reported * ratio));
    spousePart = reported - taxpayerPart;
  }
  copy_->assignIR(field(kForm3Part), taxpayerPart);
  if (isJointStatus(filingStatus_)) {
    copy_->assignIR(field(kForm3Part + 1), spousePart);
  } else {
    copy_->setNull(field(kForm3Part + 1));
  }
}

void SummaryFormCalc::allocateAndNet() {
  FieldId rows[6];
  int count = 0;
  for (const int* row = summary_.allocationRows; *row != 0 && count < 5; ++row) rows[count++] = field(*row);
  rows[count] = Primitives::kNullFieldID;
  intDivSummaryAllocation1(copy_, filingStatus_, residencyChoice_, rows);
  if (!summary_.hasForm3Part) return;

  // The U.S. obligations less the part on federal form 3, per person, and
  // their allocated parts.
  const bool joint = isJointStatus(filingStatus_);
  auto net = [&](int offset, bool write) {
    if (write) {
      copy_->minusII(field(kUSLessForm3 + offset), field(178 + offset), field(kForm3Part + offset));
    } else {
      copy_->setNull(field(kUSLessForm3 + offset));
    }
  };
  net(0, true);
  net(1, joint);
  net(2, residencyChoice_ != 1);
  net(3, residencyChoice_ != 1 && joint);
}

void SummaryFormCalc::markWhenSignificant() {
  double amounts = 0;
  double parts = 0;
  for (const int* row = summary_.allocationRows; *row != 0; ++row) {
    amounts += copy_->getIR(field(*row)) + copy_->getIR(field(*row + 1));
    parts += copy_->getIR(field(*row + 2)) + copy_->getIR(field(*row + 3));
  }
  StateDataMgmt::StateTaxReturn& state = *engine_.getStateReturn();
  if (amounts != 0 || parts != 0 || state.hasSigValue(*summary_.form, copyNumber_, field(kFirstLabel))) {
    state.setDataEntered(*summary_.form, copyNumber_, true, false);
    copy_->setCalcMark(true);
  }
}

}  // namespace

void StateTaxReturnCalcEngine::computeSummaryForm(const IntDivSummary& summary, bool withForm3Part,
                                                  TaxFormPtr summaryCopy, uint16_t copy,
                                                  FormId infoForm, uint16_t filingStatus,
                                                  int nameFlag, int residencyChoice) {
  if (!summaryCopy || stateReturn == nullptr || federalReturn == nullptr) return;
  if (!summaryCopy->getTaxFormDescriptor()) return;  // rows are found in its field order
  DisplayLineLayout = kSummaryLineLayout;
  for (double& total : ownerTotals) total = 0;
  SummaryFormCalc calc(*this, summary, summaryCopy, copy, filingStatus, residencyChoice);
  copyNameText(summaryCopy, infoForm, filingStatus, nameFlag, calc.field(kName1), calc.field(kNumber1),
               Primitives::kNullFieldID, Primitives::kNullFieldID, calc.field(kName2), calc.field(kNumber2),
               Primitives::kNullFieldID, Primitives::kNullFieldID, Primitives::kNullFieldID, 0);
  calc.fillLines(DisplayLineLayout);
  calc.writeTotals(ownerTotals);
  if (withForm3Part) calc.writeForm3Part();
  calc.allocateAndNet();
  calc.markWhenSignificant();
}

void StateTaxReturnCalcEngine::computeInterestSummaryForm(TaxFormPtr summaryCopy, uint16_t copy, int,
                                                          FormId infoForm, uint16_t filingStatus,
                                                          int nameFlag, int residencyChoice) {
  computeSummaryForm(kInterestSummary, true, summaryCopy, copy, infoForm, filingStatus, nameFlag,
                     residencyChoice);
}

void StateTaxReturnCalcEngine::computeDividendSummaryForm(TaxFormPtr summaryCopy, uint16_t copy, int,
                                                          FormId infoForm, uint16_t filingStatus,
                                                          int nameFlag, int residencyChoice) {
  computeSummaryForm(kDividendSummary, false, summaryCopy, copy, infoForm, filingStatus, nameFlag,
                     residencyChoice);
}

}  // namespace StateCalculationMgmt
