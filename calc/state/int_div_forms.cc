// The calculation of one copy of the interest summary (state form 16) or
// the dividend summary (state form 17) from its records. The two forms
// differ only in the data of int_div_sources.cc and in the federal form 3
// part of the interest summary.

#include <cstdio>
#include <cstring>

#include "calc/state/int_div_display.h"
#include "calc/state/int_div_sources.h"
#include "calc/state/state_tax_return_calc_engine.h"
#include "catalogs/fields/fields.h"
#include "host/descriptors.h"
#include "host/rounding.h"
#include "host/tax_form.h"
#include "host/tax_return.h"
#include "identifiers/form_ids.h"

namespace StateCalculationMgmt {

namespace {

// Both summaries' display lines: owner field before the label, then the
// header amount, column, amount and state amount; 6 fields a line.
const DisplayLineOffsets kSummaryLineLayout = {DisplayLineOffsets::kHasOwnerField, 0, 1, 2, 3, 4, 6};

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

  void fillLines(const DisplayLineOffsets& layout);
  void writeTotals(const double (&ownerTotals)[8]);
  void writeForm3Part();
  void allocateAndNet();
  void markWhenSignificant();

 private:
  // The payer name of a source copy, cut to `length` characters.
  void readPayerName(const IntDivSource& source, uint16_t copy, char* name, int length) const;
  // Rewrites a record with `description` as its description, an empty one
  // included (setIntDivInfo keeps the stored description for an empty one).
  void describe(const FieldId& record, const char* description, const FormId& source, uint16_t copy,
                int lineType);

  StateTaxReturnCalcEngine& engine_;
  const IntDivSummary& summary_;
  TaxFormPtr copy_;
  uint16_t copyNumber_;
  uint16_t filingStatus_;
  int residencyChoice_;
};

void SummaryFormCalc::readPayerName(const IntDivSource& source, uint16_t copy, char* name, int length) const {
  const DataMgmt::USTaxReturn& federal = *engine_.getFederalReturn();
  const bool second = federal.formYes(*source.form, copy, source.nameChoice);
  char text[128];
  federal.formString(text, sizeof text, *source.form, copy, second ? source.secondName : source.name);
  std::snprintf(name, static_cast<size_t>(length) + 1, "%.*s", length, text);
}

void SummaryFormCalc::describe(const FieldId& record, const char* description, const FormId& source,
                               uint16_t copy, int lineType) {
  copy_->setNull(record);
  engine_.setIntDivInfo(copy_, record, description, source, copy, lineType);
}

void SummaryFormCalc::fillLines(const DisplayLineOffsets& layout) {
  const DataMgmt::USTaxReturn& federal = *engine_.getFederalReturn();
  // Descriptions and names are compared as the label field shows them.
  int labelLength = 127;
  const DataMgmt::FormFieldDescPtr labelDesc = copy_->getTaxFormDescriptor()->getFieldDesc(summary_.firstLabel);
  if (labelDesc && labelDesc->getLength() < labelLength) labelLength = labelDesc->getLength();
  if (labelLength > kIntDivDescriptionMax) labelLength = kIntDivDescriptionMax;

  const DataMgmt::OVFieldIDIter fields = copy_->getTaxFormDescriptor()->getFieldIDs();
  DataMgmt::OVFieldIDIter record = fields;
  record = summary_.firstRecord;
  DataMgmt::OVFieldIDIter line = fields;
  line = summary_.firstLabel;
  for (; record <= summary_.lastRecord.id(); record.next()) {
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
    // A spouse's source has no line unless the couple files jointly; the
    // payer name a joint calculation put into its record goes with the line.
    const bool joint = StateTaxReturnCalcEngine::isJointOrNone(filingStatus_);
    if (federal.formYes(source, sourceCopy, from->spouseBox) && !joint) {
      if (description[0] != '\0') describe(record, "", source, sourceCopy, lineType);
      continue;
    }

    char name[128];
    readPayerName(*from, sourceCopy, name, labelLength);
    description[labelLength] = '\0';
    bool renamed = false;
    if (std::strcmp(name, description) != 0) {
      describe(record, name, source, sourceCopy, lineType);
      copy_->assignText((line + layout.labelOffset).getID(), name);
      renamed = true;
    }
    IntDivSourceAmounts a;
    (engine_.*from->split)(source, sourceCopy, &a);
    engine_.fillDisplayLine(copy_, *summary_.form, copyNumber_, line, lineType, name, a.net, a.regular,
                            a.usObligations, a.exemptTotal, a.inState, a.outOfState, residencyChoice_,
                            renamed ? 1 : 0, a.owner, filingStatus_);
  }
  for (; line <= summary_.lastLabel.id(); line += layout.lineStride) {
    engine_.clearDisplayLine(copy_, line, true, true);
  }
}

void SummaryFormCalc::writeTotals(const double (&ownerTotals)[8]) {
  const SummaryRow* rows[kMaxAllocationRows];
  const int count = allocationRows(summary_, rows);
  for (int i = 0; i < count; ++i) {
    copy_->zero(rows[i]->field[kTaxpayerAmount]);
    copy_->zero(rows[i]->field[kSpouseAmount]);
  }
  const bool joint = StateTaxReturnCalcEngine::isJointFiling(filingStatus_);
  for (int column = 0; column < kIntDivColumnCount; ++column) {
    const SummaryRow& row = columnRow(summary_, column);
    copy_->assignIR(row.field[kTaxpayerAmount], ownerTotals[2 * column]);
    if (joint) {
      copy_->assignIR(row.field[kSpouseAmount], ownerTotals[2 * column + 1]);
    } else {
      copy_->setNull(row.field[kSpouseAmount]);
    }
  }
}

void SummaryFormCalc::writeForm3Part() {
  const SummaryRow& reported = summary_.reported;
  if (copyNumber_ != 1) {
    copy_->setNull(reported.field[kTaxpayerAmount]);
    copy_->setNull(reported.field[kSpouseAmount]);
    return;
  }
  const FormId federalForm = engine_.getFederalReturnFormId();
  long onForm3 = 0;  // whole dollars
  if (federalForm == kFormID_FedReturn || federalForm == kFormID_Fed55) {
    onForm3 = engine_.getFederalReturn()->getIN(kFormID_Fed3, 1, Fed3::kUsObligationInterest);
  }
  double taxpayerPart = 0;
  double spousePart = 0;
  if (onForm3 > 0) {
    const StateDataMgmt::StateTaxReturn& state = *engine_.getStateReturn();
    const SummaryRow& us = summary_.usObligations;
    const double a = static_cast<double>(state.getAllCopies(*summary_.form, us.field[kTaxpayerAmount]));
    const double b = static_cast<double>(state.getAllCopies(*summary_.form, us.field[kSpouseAmount]));
    // The federal amount is shared out over the U.S. obligations the
    // summaries list. With none listed there is nothing to share it over:
    // the whole of it would fall to the spouse and take the spouse's
    // interest below 0.
    if (a + b > 0) {
      taxpayerPart = static_cast<double>(Utils::roundR(onForm3 * (a / (a + b))));
      spousePart = onForm3 - taxpayerPart;
    }
  }
  copy_->assignIR(reported.field[kTaxpayerAmount], taxpayerPart);
  if (StateTaxReturnCalcEngine::isJointOrNone(filingStatus_)) {
    copy_->assignIR(reported.field[kSpouseAmount], spousePart);
  } else {
    copy_->setNull(reported.field[kSpouseAmount]);
  }
}

void SummaryFormCalc::allocateAndNet() {
  const SummaryRow* rows[kMaxAllocationRows];
  const int count = allocationRows(summary_, rows);
  FieldId firstFields[kMaxAllocationRows + 1];
  for (int i = 0; i < count; ++i) firstFields[i] = rows[i]->field[kTaxpayerAmount];
  firstFields[count] = Primitives::kNullFieldID;
  intDivSummaryAllocation1(copy_, filingStatus_, residencyChoice_, firstFields);
  if (!summary_.hasForm3Part) return;

  // The U.S. obligations less the part on federal form 3, per person, and
  // their allocated parts.
  const bool joint = StateTaxReturnCalcEngine::isJointOrNone(filingStatus_);
  const bool allocated = residencyChoice_ != kChoiceFullYearResident;
  const bool written[kSummaryRowFields] = {true, joint, allocated, allocated && joint};
  for (int field = 0; field < kSummaryRowFields; ++field) {
    const FieldId& net = summary_.netUSObligations.field[field];
    if (written[field]) {
      copy_->minusII(net, summary_.usObligations.field[field], summary_.reported.field[field]);
    } else {
      copy_->setNull(net);
    }
  }
}

void SummaryFormCalc::markWhenSignificant() {
  const SummaryRow* rows[kMaxAllocationRows];
  const int count = allocationRows(summary_, rows);
  double amounts = 0;
  double parts = 0;
  for (int i = 0; i < count; ++i) {
    amounts += copy_->getIR(rows[i]->field[kTaxpayerAmount]) + copy_->getIR(rows[i]->field[kSpouseAmount]);
    parts += copy_->getIR(rows[i]->field[kTaxpayerPart]) + copy_->getIR(rows[i]->field[kSpousePart]);
  }
  // The copy's lines are rebuilt from its records on every calculation
  // and the parts a filer enters count in the test itself: the copy is
  // part of the return exactly while it shows an amount, a part or a first
  // line, and leaves it as soon as it shows none.
  StateDataMgmt::StateTaxReturn& state = *engine_.getStateReturn();
  const bool significant =
      amounts != 0 || parts != 0 || state.hasSigValue(*summary_.form, copyNumber_, summary_.firstLabel);
  state.setDataEntered(*summary_.form, copyNumber_, significant, false);
  copy_->setCalcMark(significant);
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
  copyNameText(summaryCopy, infoForm, filingStatus, nameFlag, summary.taxpayerName, summary.taxpayerNumber,
               Primitives::kNullFieldID, Primitives::kNullFieldID, summary.spouseName, summary.spouseNumber,
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
