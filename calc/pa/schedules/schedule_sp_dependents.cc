// Part B of Schedule SP: the dependent children that raise the forgiveness
// bounds, counted from the federal dependents form (one copy per
// dependent), with up to four of them listed on the schedule.
#include <cstdio>

#include "calc/pa/schedules/schedule_sp_parts.h"
#include "catalogs/fields/fields.h"
#include "host/descriptors.h"
#include "host/string_utils.h"
#include "identifiers/form_ids.h"

namespace PACalculationMgmt {

using DataMgmt::TaxFormPtr;

namespace {

// Relationships that make a dependent a child, matched whole and
// ignoring case.
const char* const kChildRelationships[] = {
    "SON",         "DAUGHTER",         "GRANDCHILD", "GREAT GRANDCHILD",
    "ADOPTED SON", "ADOPTED DAUGHTER", "STEPCHILD",  "FOSTERCHILD",
};

const int kTextSize = 128;  // one field's text and its NUL

// Part B holds four rows; more children are listed on an attachment.
constexpr int kListedChildren = PAScheduleSP::kDependentName.rows();
const char kSeeAttached[] = "See attached schedule";

// A dependent counts when it is included and its relationship is a child's.
bool countsAsChild(const DataMgmt::TaxReturn& federal, uint16_t copy) {
  if (!federal.formYes(kFormID_FedDependents, copy, FedDependents::kIncludedBox)) return false;
  char relationship[kTextSize];
  federal.formString(relationship, sizeof relationship, kFormID_FedDependents, copy,
                     FedDependents::kRelationship);
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
  const int children = static_cast<int>(run.engine.copyScanCache().get(
      scanKey(CopyScan::kDependentChildren), {{run.federal, kFormID_FedDependents}},
      [&run] { return ScanTotals{static_cast<double>(countChildren(run.federal))}; })[0]);
  if (children == 0) {
    run.clearRange(PAScheduleSP::kDependentName.at(0), PAScheduleSP::kDependentCount);
    return;
  }
  run.form().assignIR(PAScheduleSP::kDependentCount, children);
  if (children <= kListedChildren) {
    run.engine.fillScheduleSPDependents(run.holder, 1, run.passOn);
  } else {
    run.form().assignText(PAScheduleSP::kDependentName.at(0), kSeeAttached);
    run.clearRange(PAScheduleSP::kDependentAge.at(0), PAScheduleSP::kDependentSSN.at(kListedChildren - 1));
  }
}

}  // namespace ScheduleSP

// Rows follow the copies in ascending copy number; each row reads the copy
// it lists, so a gap in the federal copy numbers skips no child.
void PATaxReturnCalcEngine::fillScheduleSPDependents(TaxFormPtr form, uint16_t firstDependentCopy, int) {
  if (paReturn == nullptr || federalReturn == nullptr || form.isNull()) return;
  if (federalReturn->getMaxCopies(kFormID_FedDependents) < firstDependentCopy) return;
  DataMgmt::TaxFormDescPtr descriptor = form->getTaxFormDescriptor();
  if (descriptor.isNull()) return;

  DataMgmt::OVFieldIDIter cursor = descriptor->getFieldIDs();
  const auto& names = PAScheduleSP::kDependentName;
  const int width = cursor.positionOf(names.at(1)) - cursor.positionOf(names.at(0));
  if (width <= 0) return;  // a field list without Part B's rows in order
  cursor = names.at(0);
  const Primitives::OVImmutableIdentifier& lastRow = names.at(names.rows() - 1);

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
    federalReturn->formString(first, sizeof first, dependents, copy, FedDependents::kFirstName);
    federalReturn->formString(last, sizeof last, dependents, copy, FedDependents::kLastName);
    std::snprintf(name, sizeof name, "%s %s", first, last);
    form->assignText(cursor.getID(), name);
    federalReturn->getIIM(dependents, FedDependents::kAge, copy, form, (cursor + 1).getID());
    federalReturn->getIIM(dependents, FedDependents::kRelationship, copy, form, (cursor + 2).getID());
    federalReturn->getIIM(dependents, FedDependents::kSsn, copy, form, (cursor + 3).getID());
    cursor += width;
  }
  for (; cursor <= lastRow; cursor += width) {
    for (int offset = 0; offset < 4; ++offset) form->setNull((cursor + offset).getID());
  }
}

}  // namespace PACalculationMgmt
