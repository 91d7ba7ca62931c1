#include "host/state_tax_return.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string>

#include "host/dates.h"
#include "host/rounding.h"
#include "host/stand_in.h"
#include "host/string_utils.h"
#include "host/us_tax_return.h"
#include "host/value_text.h"

namespace StateDataMgmt {

using DataMgmt::TaxForm;
using DataMgmt::TaxFormIter;
using DataMgmt::USTaxReturn;

namespace {

// Records "name(a,b,...)" in the federal return's pull log, the line made
// in place and kept as one string.
void record(const USTaxReturn* federal, const char* name, std::initializer_list<long> args) {
  if (!StandIn::roomFor(federal->pullLog())) return;  // a full log: the line is not even built
  char line[128];
  std::size_t used = strnlen(name, sizeof line / 2);
  std::memcpy(line, name, used);
  char separator = '(';
  for (long arg : args) {
    if (used + 24 > sizeof line) break;  // more arguments than a pull takes
    line[used++] = separator;
    used = static_cast<std::size_t>(std::to_chars(line + used, line + sizeof line - 2, arg).ptr - line);
    separator = ',';
  }
  if (separator == '(') line[used++] = separator;
  line[used++] = ')';
  federal->pullLog().emplace_back(line, used);
}

// The taxpayer's and the spouse's marks on a federal W-2 copy.
const FieldId kW2TaxpayerMark(1);
const FieldId kW2SpouseMark(2);

}  // namespace

StateTaxReturn::StateTaxReturn(DataMgmt::TaxReturnPtr& federal, DataMgmt::TaxReturnDescPtr desc,
                               Utils::StringPoolPtr pool)
    : TaxReturn(desc, pool),
      federal_(federal),
      federalTables_(dynamic_cast<const USTaxReturn*>(federal_.get())) {}

StateTaxReturn::~StateTaxReturn() = default;

void StateTaxReturn::MapFormField(const FormId& form, uint16_t copy, FieldId field,
                                  uint16_t& outCopy, FieldId& outField) const {
  StandIn::recordCall(mapCalls_, form.getNumber(), copy, field.getNumber());
  outCopy = copy;
  outField = Primitives::kNullFieldID;
}

void StateTaxReturn::formatFieldString(char* buf, int32_t amount, const FormId& form,
                                       uint16_t /*copy*/, const FieldId& field) const {
  if (buf == nullptr) return;
  DataMgmt::TaxFormDescPtr desc = getTaxFormDescriptor(form);
  if (desc.isNull() && federal_.get() != nullptr) desc = federal_->getTaxFormDescriptor(form);
  DataMgmt::FormFieldDescPtr fieldDesc = desc.isNull() ? DataMgmt::FormFieldDescPtr()
                                                        : desc->getFieldDesc(field);
  unsigned char editCode = DataMgmt::kEditNone;
  if (!fieldDesc.isNull()) editCode = fieldDesc->getValidator().getEditCode();
  Utils::safestrncpy(buf, DataMgmt::numberText(amount, editCode), 128);
}

void StateTaxReturn::debugStateField(const FormId& form, const FieldId& field,
                                     typeDebugStateField kind, uint32_t /*line*/) const {
  StandIn::recordCall(debugCalls_, form, field.getNumber(), static_cast<int>(kind));
}

long StateTaxReturn::pullCommon(const FormId& fedForm, uint16_t copy, Utils::PCTypes code) const {
  const USTaxReturn* federal = federalTables_;
  if (federal == nullptr) return 0;
  record(federal, "pullCommon", {fedForm.getNumber(), copy, static_cast<long>(code)});
  return Utils::saturateWhole(federal->commonItem(fedForm.getNumber(), static_cast<int>(code)));
}

void StateTaxReturn::getFromW2(const FormId& form, const FieldId& f1, const FieldId& f2,
                               bool /*flag*/, double& w1, double& w2) const {
  w1 = 0.0;
  w2 = 0.0;
  const USTaxReturn* federal = federalTables_;
  if (federal == nullptr) return;
  record(federal, "getFromW2", {form.getNumber(), f1.getNumber(), f2.getNumber()});
  // Summed again only when a copy of the form changed or a copy was made
  // or dropped since: a calculation asks for each PA W-2.
  W2Sums& sums = w2Sums_[std::make_tuple(form.getNumber(), f1.getNumber(), f2.getNumber())];
  const auto version = federal->formVersion(form);
  if (sums.version != version || version == std::make_pair(0ul, 0ul)) {
    sums = W2Sums{version, 0.0, 0.0};
    for (TaxFormIter it = federal->getForms(form); !it.atEOL(); it.next()) {
      DataMgmt::TaxFormPtr copy = it.getTaxForm();
      double amount = copy->getIR(f1);
      if (f2.isValid()) amount += copy->getIR(f2);
      amount /= 100.0;  // W-2 amounts are stored in hundredths
      const bool spouseOnly = copy->xMarked(kW2SpouseMark) && !copy->xMarked(kW2TaxpayerMark);
      (spouseOnly ? sums.w2 : sums.w1) += amount;
    }
  }
  w1 = sums.w1;
  w2 = sums.w2;
}

double StateTaxReturn::getStateWages(char who) const {
  const USTaxReturn* federal = federalTables_;
  if (federal == nullptr) return 0.0;
  record(federal, "getStateWages", {who});
  return federal->stateWages(who);
}

double StateTaxReturn::getAllStateWages(char who) const {
  const USTaxReturn* federal = federalTables_;
  if (federal == nullptr) return 0.0;
  record(federal, "getAllStateWages", {who});
  return federal->allStateWages(who);
}

double StateTaxReturn::getStateTaxWithheldNoLocal(uint8_t filingStatus) const {
  const USTaxReturn* federal = federalTables_;
  if (federal == nullptr) return 0.0;
  record(federal, "getStateTaxWithheldNoLocal", {filingStatus});
  return federal->stateTaxWithheldNoLocal();
}

char* StateTaxReturn::textString(char* buf, const FormId& f, uint16_t c, const FieldId& fld) const {
  if (f.isValid() && !f.isStateForm()) {
    if (federal_.get() != nullptr) return federal_->formString(buf, f, c, fld);
    if (buf != nullptr) buf[0] = '\0';
    return buf;
  }
  return formString(buf, f, c, fld);
}

int StateTaxReturn::dateParse(DataMgmt::TaxFormPtr copy, const FieldId& field,
                              Utils::DATEPARSE_TYPE part) const {
  if (copy.isNull()) return 0;
  const long dayNumber = Utils::strDateToNumber(copy->valueText(field).c_str());
  if (dayNumber == 0) return 0;
  switch (part) {
    case Utils::kDateYear:
      return Utils::year(dayNumber);
    case Utils::kDateMonth:
      return Utils::month(dayNumber);
    case Utils::kDateDay:
      return Utils::day(dayNumber);
  }
  return 0;
}

void StateTaxReturn::getRefundCode(char* buf) const {
  if (buf != nullptr) Utils::safestrncpy(buf, refundCode_, 16);
}

long StateTaxReturn::taxBalance() const {
  if (taxBalanceSet_) return taxBalance_;
  // The state block is answered by the module; item 0 is the balance due.
  char text[512] = {0};
  int32_t amount = 0;
  const_cast<StateTaxReturn*>(this)->getStateTextItem(text, &amount, 0);
  return amount;
}

}  // namespace StateDataMgmt
