#include "host/tax_return.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "host/form_field.h"
#include "host/rounding.h"
#include "host/stand_in.h"
#include "host/string_pool.h"
#include "host/string_utils.h"

namespace DataMgmt {

// Iterators.

TaxFormIter::TaxFormIter(std::vector<TaxFormPtr> copies) : copies_(std::move(copies)) {}

TaxFormPtr TaxFormIter::getTaxForm() const {
  return atEOL() ? TaxFormPtr() : copies_[pos_];
}

ReturnFormsIter::ReturnFormsIter(std::vector<std::pair<FormId, TaxFormIter>> forms)
    : forms_(std::move(forms)) {}

FormId ReturnFormsIter::getFormId() const { return atEOL() ? FormId() : forms_[pos_].first; }

TaxFormIter ReturnFormsIter::getTaxFormIter() const {
  return atEOL() ? TaxFormIter() : forms_[pos_].second;
}

// TaxReturn.

TaxReturn::TaxReturn(const TaxReturnDescPtr& desc, const Utils::StringPoolPtr& pool)
    : desc_(desc),
      pool_(pool),
      state_(std::make_shared<ReturnState>()),
      sessionProperties_(new SessionProperties()) {}

TaxReturn::~TaxReturn() {
  // Copies that module holders keep alive no longer have a holder here.
  for (auto& form : copies_) {
    for (auto& copy : form.second.holders) {
      if (!copy.second.isNull()) copy.second->holder_ = nullptr;
    }
  }
  // The spare handle's share of a copy, which holds this state in turn.
  state_->spareHandle = FormFieldPtr();
}

bool TaxReturn::holdsSide(const FormId& f) const {
  return f.isValid() && !desc_.isNull() && f.isStateForm() == desc_->isStateReturn();
}

TaxReturn::Copies* TaxReturn::copiesOf(const FormId& f) const {
  const long key = formKey(f);
  Recent& recent = recent_[static_cast<std::size_t>(f.getNumber()) % recent_.size()];
  if (recent.copies != nullptr && recent.key == key) return recent.copies;
  auto form = copies_.find(f);
  if (form == copies_.end()) return nullptr;
  recent = Recent{key, const_cast<Copies*>(&form->second)};
  return recent.copies;
}

TaxForm* TaxReturn::find(const FormId& f, uint16_t c) const {
  if (c == 0 || !holdsSide(f)) return nullptr;
  const Copies* copies = copiesOf(f);
  const TaxFormPtr* holder = copies == nullptr ? nullptr : copies->holderOf(c);
  return holder == nullptr ? nullptr : holder->get();
}

// Reads.

long TaxReturn::getIN(const FormId& f, uint16_t c, const FieldId& fld) const {
  const TaxForm* form = find(f, c);
  return form ? form->getIN(fld) : 0;
}

double TaxReturn::getIR(const FormId& f, uint16_t c, const FieldId& fld) const {
  const TaxForm* form = find(f, c);
  return form ? form->getIR(fld) : 0.0;
}

bool TaxReturn::formYes(const FormId& f, uint16_t c, const FieldId& fld) const {
  const TaxForm* form = find(f, c);
  return form && form->xMarked(fld);
}

bool TaxReturn::formNo(const FormId& f, uint16_t c, const FieldId& fld) const {
  const TaxForm* form = find(f, c);
  return form && form->isNo(fld);
}

bool TaxReturn::hasSigValue(const FormId& f, uint16_t c, const FieldId& fld) const {
  const TaxForm* form = find(f, c);
  return form && form->hasSigValue(fld);
}

bool TaxReturn::noSigValue(const FormId& f, uint16_t c, const FieldId& fld) const {
  return !hasSigValue(f, c, fld);
}

bool TaxReturn::greaterThanZero(const FormId& f, uint16_t c, const FieldId& fld) const {
  return getIR(f, c, fld) > 0;
}

bool TaxReturn::isNull(const FormId& f, uint16_t c, const FieldId& fld) const {
  const TaxForm* form = find(f, c);
  return !form || form->isNull(fld);
}

char* TaxReturn::formString(char* buf, const FormId& f, uint16_t c, const FieldId& fld) const {
  return formString(buf, 128, f, c, fld);
}

char* TaxReturn::formString(char* buf, std::size_t size, const FormId& f, uint16_t c,
                            const FieldId& fld) const {
  if (buf == nullptr || size == 0) return buf;
  // Read as a text: noted when the field is not a text field.
  const TaxForm* form = find(f, c);
  if (form == nullptr) {
    const TaxFormDescPtr desc = getTaxFormDescriptor(f);
    if (!desc.isNull()) StandIn::noteTextUse(*desc, fld, false);
    buf[0] = '\0';
    return buf;
  }
  form->noteTextRead(fld);
  return form->copyValueText(fld, buf, size);
}

std::string TaxReturn::getFieldAsString(const FormId& f, uint16_t c, const FieldId& fld) const {
  const TaxForm* form = find(f, c);
  return form ? form->valueText(fld) : std::string();
}

char* TaxReturn::getText(char* buf, long value, int width, int just) const {
  if (buf == nullptr) return buf;
  // Handles come from the one process-wide pool (FormField::getValue), so
  // they are resolved there whatever pool the return was made with.
  const Utils::StringPoolPtr pool = Utils::StringPool::shared();
  const std::string& text = pool->textOf(value);
  const int limit = std::max(0, std::min(width, 127));
  if (just == 0) {
    Utils::safestrncpy(buf, text, static_cast<std::size_t>(limit) + 1);
  } else {
    // Right-aligned within `limit` characters.
    std::snprintf(buf, static_cast<std::size_t>(limit) + 1, "%*.*s", limit, limit, text.c_str());
  }
  return buf;
}

char* TaxReturn::getLineID(char* buf, const FormId& f, const FieldId& fld) const {
  if (buf == nullptr) return buf;
  TaxFormDescPtr form = getTaxFormDescriptor(f);
  FormFieldDescPtr field = form.isNull() ? FormFieldDescPtr() : form->getFieldDesc(fld);
  Utils::safestrncpy(buf, field.isNull() ? "" : field->getLineLabel().c_str(), 32);
  return buf;
}

char* TaxReturn::formName(char* buf, const FormId& f, int /*kind*/) const {
  if (buf == nullptr) return buf;
  TaxFormDescPtr form = getTaxFormDescriptor(f);
  Utils::safestrncpy(buf, form.isNull() ? "" : form->getBusName().c_str(), 256);
  return buf;
}

char* TaxReturn::buildCleanFormName(char* buf, const FormId& f, int kind) const {
  return formName(buf, f, kind);
}

void TaxReturn::tifAppendAPTtoStreet(char* value, const FormId& f, uint16_t c,
                                     const FieldId& fld) const {
  const std::size_t kValueSize = 512;
  if (value == nullptr) return;
  const std::string text = getFieldAsString(f, c, fld);
  if (text.empty()) return;
  const std::size_t used = strnlen(value, kValueSize);
  if (used + 1 >= kValueSize) return;
  std::snprintf(value + used, kValueSize - used, " %s", text.c_str());
}

void TaxReturn::setXValue(const FormId& f, uint16_t c, const FieldId& fld, bool marked) {
  TaxForm* form = find(f, c);
  if (form == nullptr) return;
  if (marked) {
    form->setX(fld);
  } else {
    form->setXNo(fld);
  }
}

// Copies.

TaxFormPtr& TaxReturn::getFormUVPtr(const FormId& f, uint16_t c, bool create) {
  if (c != 0 && holdsSide(f)) {
    if (Copies* copies = copiesOf(f)) {
      if (TaxFormPtr* holder = copies->holderOf(c)) return *holder;
    }
    const TaxFormDescPtr desc = create ? desc_->getTaxFormDescriptor(f) : emptyDesc_;
    if (!desc.isNull() && c <= desc->getMaxCopies()) {
      Copies& copies = copies_[f];
      TaxFormPtr& holder = copies.holders[c];
      if (copies.byNumber.size() <= c) copies.byNumber.resize(c + 1u, nullptr);
      copies.byNumber[c] = &holder;
      holder = TaxFormPtr(new TaxForm(desc, c, state_));
      holder->holder_ = &holder;
      state_->saveNeeded = true;
      noteChange();  // a copy made
      ++copiesMade_;
      return holder;
    }
  }
  // The empty holder is restored before every use, whatever a caller did to
  // it (an empty holder is made only then: every holder owns a count).
  if (!emptyHolder_.isNull()) emptyHolder_ = TaxFormPtr();
  return emptyHolder_;
}

TaxFormPtr TaxReturn::getFormOrCreate(const FormId& f, uint16_t c) {
  return getFormUVPtr(f, c, true);
}

TaxForm* TaxReturn::getForm(const FormId& f, uint16_t c) const { return find(f, c); }

bool TaxReturn::formExists(const FormId& f, uint16_t c) const { return find(f, c) != nullptr; }

uint16_t TaxReturn::getMaxCopies(const FormId& f) const {
  if (!holdsSide(f)) return 0;
  const Copies* copies = copiesOf(f);
  if (copies == nullptr || copies->holders.empty()) return 0;
  return copies->holders.rbegin()->first;
}

TaxFormIter TaxReturn::getForms(const FormId& f) const {
  std::vector<TaxFormPtr> copies;
  if (const Copies* held = holdsSide(f) ? copiesOf(f) : nullptr) {
    copies.reserve(held->holders.size());
    for (const auto& copy : held->holders) copies.push_back(copy.second);
  }
  return TaxFormIter(std::move(copies));
}

ReturnFormsIter TaxReturn::getForms() const {
  std::vector<std::pair<FormId, TaxFormIter>> forms;
  for (const auto& form : copies_) {
    if (!form.second.holders.empty()) forms.emplace_back(form.first, getForms(form.first));
  }
  return ReturnFormsIter(std::move(forms));
}

long TaxReturn::getAllCopies(const FormId& f, const FieldId& fld) const {
  long sum = 0;
  if (!holdsSide(f)) return sum;
  const Copies* copies = copiesOf(f);
  if (copies == nullptr || copies->holders.empty()) return sum;
  // Summed again only when a copy was added or the field was written in a
  // copy since: the PA-40 reads such sums for each of its copies. Every
  // copy of a form counts its writes into the same place.
  const auto form = state_->valueWrites.find(formKey(f));
  const unsigned long* fieldWrites =
      form == state_->valueWrites.end() ? nullptr : form->second.byField.find(fld.getNumber());
  const unsigned long writes = fieldWrites == nullptr ? 0 : *fieldWrites;
  const unsigned long long key = (static_cast<unsigned long long>(formKey(f)) << 32) |
                                 static_cast<uint32_t>(fld.getNumber());
  CopiesSum& cached = copiesSums_[key];
  const std::size_t count = copies->holders.size();
  if (cached.copies == count && cached.valueWrites == writes && cached.copies != 0) {
    return cached.sum;
  }
  // In ascending copy number, saturating at every step: two whole amounts
  // never overflow.
  for (const TaxFormPtr* copy : copies->byNumber) {
    if (copy != nullptr && !copy->isNull()) sum = Utils::saturateWhole(sum + (*copy)->getIN(fld));
  }
  cached = CopiesSum{writes, count, sum};
  return sum;
}

unsigned long TaxReturn::writesOf(const FormId& f) const {
  const auto found = state_->valueWrites.find(formKey(f));
  return found == state_->valueWrites.end() ? 0 : found->second.count;
}

std::pair<unsigned long, unsigned long> TaxReturn::formVersion(const FormId& f) const {
  return {holdsSide(f) ? writesOf(f) : 0, copiesMade_};
}

std::pair<unsigned long, unsigned long> TaxReturn::formVersion(const FormId& f, uint16_t exceptCopy) const {
  std::pair<unsigned long, unsigned long> version = formVersion(f);
  if (const TaxForm* left = find(f, exceptCopy)) version.first -= left->copyWrites();
  return version;
}

void TaxReturn::getAllCopiesII(const FormId& f, const FieldId& fld, TaxFormPtr target,
                               const FieldId& tfld) const {
  if (target.isNull()) return;
  target->assignIR(tfld, static_cast<double>(getAllCopies(f, fld)));
}

void TaxReturn::getII(FormId src, FieldId sfld, TaxFormPtr target, FieldId tfld) const {
  getIIM(src, sfld, 1, target, tfld);
}

void TaxReturn::getIIM(const FormId& src, const FieldId& sfld, uint16_t srcCopy, TaxFormPtr target,
                       const FieldId& tfld) const {
  if (target.isNull()) return;
  target->copyValue(tfld, find(src, srcCopy), sfld);
}

void TaxReturn::setDataEntered(const FormId& f, uint16_t c, bool entered, bool byUser) {
  TaxForm* form = find(f, c);
  if (form != nullptr) form->setDataEnteredFlag(entered, byUser);
}

// Return level.

TaxFormDescPtr TaxReturn::getTaxFormDescriptor(const FormId& f) const {
  return desc_.isNull() ? TaxFormDescPtr() : desc_->getTaxFormDescriptor(f);
}

TaxReturnType TaxReturn::getReturnType() const { return desc_.isNull() ? 0 : desc_->getReturnType(); }

std::string TaxReturn::getAbbreviation() const {
  return desc_.isNull() ? std::string() : desc_->getAbbreviation();
}

std::string TaxReturn::getDisplayName() const {
  return desc_.isNull() ? std::string() : desc_->getDisplayName();
}

std::string TaxReturn::getOfficeLocatorURL(TaxReturnType /*type*/) const { return officeLocatorURL_; }

SessionPropertiesPtr TaxReturn::getSessionProperties() const { return sessionProperties_; }

void TaxReturn::deleteForm(const FormId& f, uint16_t c) {
  Copies* copies = holdsSide(f) ? copiesOf(f) : nullptr;
  TaxFormPtr* holder = copies == nullptr ? nullptr : copies->holderOf(c);
  if (holder == nullptr) return;
  if (!holder->isNull()) {
    for (const auto& field : (*holder)->fields_.all()) (*holder)->noteBeforeChange(FieldId(field.first), field.second);
    (*holder)->holder_ = nullptr;
  }
  copies->byNumber[c] = nullptr;
  copies->holders.erase(c);
  // The sums kept by copy count would stand again once another copy is made.
  copiesSums_.clear();
  state_->saveNeeded = true;
  noteChange();  // a copy dropped
  ++copiesMade_;
}

void TaxReturn::removeAllForms() {
  // A dropped copy's fields read as null from now on: the watch is told
  // what they held. A copy kept alive elsewhere no longer has a holder
  // here.
  for (const auto& form : copies_) {
    for (const auto& copy : form.second.holders) {
      if (copy.second.isNull()) continue;
      for (const auto& field : copy.second->fields_.all()) {
        copy.second->noteBeforeChange(FieldId(field.first), field.second);
      }
      copy.second->holder_ = nullptr;
    }
  }
  copies_.clear();
  copiesSums_.clear();
  recent_.fill(Recent());
  ++copiesMade_;
}

void TaxReturn::setSessionProperties(const SessionPropertiesPtr& properties) {
  sessionProperties_ = properties;
}

uint8_t TaxReturn::getFilingStatus() { return 1; }

FormId TaxReturn::getMainFormId() { return FormId(); }

void TaxReturn::setStateFlagMarks(bool /*flag*/) {}

void TaxReturn::getFieldDisplayValuePairs(TaxFormPtr& form, FormFieldPtr& field,
                                          Properties::DisplayValuePairs& pairs) {
  if (form.isNull() || field.isNull()) return;
  TaxFormDescPtr desc = form->getTaxFormDescriptor();
  if (desc.isNull()) return;
  auto options = fieldOptions_.find({desc->getTypeID(), field->getID().getNumber()});
  if (options == fieldOptions_.end()) return;
  for (std::size_t i = 0; i < options->second.size(); ++i) {
    const auto& pair = options->second.at(i);
    pairs.addPair(pair.first.c_str(), pair.second.c_str());
  }
}

bool TaxReturn::isForm2555Present() const { return form2555Present_; }

long TaxReturn::taxBalance() const { return 0; }

void TaxReturn::setFieldOptions(const FormId& f, const FieldId& fld,
                                const Properties::DisplayValuePairs& options) {
  fieldOptions_[{f, fld.getNumber()}] = options;
}

}  // namespace DataMgmt
