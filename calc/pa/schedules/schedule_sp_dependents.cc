// Part B of Schedule SP: the dependent children that raise the forgiveness
// bounds, counted from the federal dependents form (one copy per
// dependent), with up to four of them listed on the schedule.
#include <cstdio>

#include "calc/pa/schedules/schedule_sp_parts.h"
#include "host/descriptors.h"
#include "host/string_utils.h"
#include "identifiers/form_ids.h"

namespace PACalculationMgmt {

using DataMgmt::TaxFormPtr;

namespace {

// FedDependentsFieldIds members, host field numbers in the comments.
const int kInclude = 141;       // 1136, yes/no
const int kRelationship = 46;   // 1108
const int kFirstName = 40;      // 1103
const int kLastName = 42;       // 1105
const int kAge = 50;            // 1110
const int kNumber = 43;         // 1106

const Primitives::OVImmutableIdentifier& dependentField(int member) { return kFedDependentsFieldIds[member]; }

// Relationships that make a dependent a child, matched whole and
// ignoring case.
const char* const kChildRelationships[] = {
    "SON",        "DAUGHTER",        "GRANDCHILD", "GREAT GRANDCHILD",
    "ADOPTED SON", "ADOPTED DAUGHTER", "STEPCHILD", "FOSTERCHILD",
};

const int kTextSize = 128;  // one field's text and its NUL

// Part B holds four rows; more children are listed on an attachment.
const int kListedChildren = 4;
const char kSeeAttached[] = "See attached schedule";

// A dependent counts when it is included and its relationship is a child's.
bool countsAsChild(const DataMgmt::TaxReturn& federal, uint16_t copy) {
  if (!federal.formYes(kFormID_FedDependents, copy, dependentField(kInclude))) return false;
  char relationship[kTextSize];
  federal.formString(relationship, sizeof relationship, kFormID_FedDependents, copy,
                     dependentField(kRelationship));
  for (const char* child : kChildRelationships) {
    if (Utils::OVStringUtils::stricmp(relationship, child) == 0) return true;
  }
  return false;
}

int countChildren(const DataMgmt::TaxReturn* federal) {
  if (federal == nullptr) return 0;
  int count = 0;
  for (DataMgmt::TaxFormIter it = federal->getForms(kFormID_FedDependents); !it.atEOL(); it.next()) {
    TaxFormPtr dependent = it.getTaxForm();
    if (!dependent.isNull() && countsAsChild(*federal, dependent->getCopyNumber())) ++count;
  }
  return count;
}

}  // namespace

namespace ScheduleSP {

void countDependentChildren(const Run& run) {
  const int children = countChildren(run.federal);
  if (children == 0) {
    run.clearRange(kPartBFirst, kChildCount);
    return;
  }
  run.form().assignIR(sp(kChildCount), children);
  if (children <= kListedChildren) {
    run.engine.fillScheduleSPDependents(run.holder, 1, run.passOn);
  } else {
    run.form().assignText(sp(kPartBFirst), kSeeAttached);
    run.clearRange(kPartBFirst + 1, kPartBLastField);
  }
}

}  // namespace ScheduleSP

// Rows follow the copies in ascending copy number; each row reads the copy
// it lists, so a gap in the federal copy numbers skips no child.
void PATaxReturnCalcEngine::fillScheduleSPDependents(TaxFormPtr form, uint16_t firstDependentCopy, int) {
  using ScheduleSP::sp;
  if (paReturn == nullptr || federalReturn == nullptr || form.isNull()) return;
  if (federalReturn->getMaxCopies(kFormID_FedDependents) < firstDependentCopy) return;
  DataMgmt::TaxFormDescPtr descriptor = form->getTaxFormDescriptor();
  if (descriptor.isNull()) return;

  DataMgmt::OVFieldIDIter cursor = descriptor->getFieldIDs();
  const int width =
      cursor.positionOf(sp(ScheduleSP::kPartBSecondRow)) - cursor.positionOf(sp(ScheduleSP::kPartBFirst));
  if (width <= 0) return;  // a field list without Part B's rows in order
  cursor = sp(ScheduleSP::kPartBFirst);
  const Primitives::OVImmutableIdentifier& lastRow = sp(ScheduleSP::kPartBLastRow);

  const DataMgmt::FormId& dependents = kFormID_FedDependents;
  for (DataMgmt::TaxFormIter it = federalReturn->getForms(dependents); !it.atEOL() && cursor <= lastRow;
       it.next()) {
    TaxFormPtr dependent = it.getTaxForm();
    if (dependent.isNull()) continue;  // a copy the host could not hand over
    const uint16_t copy = dependent->getCopyNumber();
    if (!countsAsChild(*federalReturn, copy)) continue;
    char first[kTextSize];
    char last[kTextSize];
    char name[2 * kTextSize];
    federalReturn->formString(first, sizeof first, dependents, copy, dependentField(kFirstName));
    federalReturn->formString(last, sizeof last, dependents, copy, dependentField(kLastName));
    std::snprintf(name, sizeof name, "%s %s", first, last);
    form->assignText(cursor.getID(), name);
    federalReturn->getIIM(dependents, dependentField(kAge), copy, form, (cursor + 1).getID());
    federalReturn->getIIM(dependents, dependentField(kRelationship), copy, form, (cursor + 2).getID());
    federalReturn->getIIM(dependents, dependentField(kNumber), copy, form, (cursor + 3).getID());
    cursor += width;
  }
  for (; cursor <= lastRow; cursor += width) {
    for (int offset = 0; offset < 4; ++offset) form->setNull((cursor + offset).getID());
  }
}

}  // namespace PACalculationMgmt
