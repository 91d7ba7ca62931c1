#include "host/tax_form.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "host/change_watch.h"
#include "host/form_field.h"
#include "host/rounding.h"
#include "host/stand_in.h"
#include "host/string_utils.h"
#include "host/value_text.h"

namespace DataMgmt {
namespace {

unsigned long changes = 0;

// Sets `member` to `value`, counting a change when it differs.
template <class T>
void change(T& member, const T& value) {
  if (member == value) return;
  member = value;
  ++changes;
}

typedef Primitives::OVImmutableIdentifier FieldId;

const FieldValue kNullValue;
const std::size_t kMaxListEntries = 64;
// The fields a copy out of room makes room for at once: as many as the
// form's copies came to store, at most 256 (16 KB of them), or 16 while no
// copy stored any.
const std::size_t kMostFieldsReserved = 256;
const std::size_t kFirstFieldsReserved = 16;

// A text read as a number: the leading number once "," and blanks are
// removed ("1,234.5 USD" reads 1234.5); 0 when there is none.
double parseNumber(const std::string& text) {
  std::string cleaned;
  for (char c : text) {
    if (c != ',' && c != ' ' && c != '\t') cleaned += c;
  }
  std::size_t end = 0;
  if (end < cleaned.size() && (cleaned[end] == '-' || cleaned[end] == '+')) ++end;
  const std::size_t digitsFrom = end;
  bool digits = false;
  while (end < cleaned.size() && std::isdigit(static_cast<unsigned char>(cleaned[end]))) {
    ++end;
    digits = true;
  }
  if (end < cleaned.size() && cleaned[end] == '.') {
    ++end;
    while (end < cleaned.size() && std::isdigit(static_cast<unsigned char>(cleaned[end]))) {
      ++end;
      digits = true;
    }
  }
  if (!digits || end == digitsFrom) return 0.0;
  return std::strtod(cleaned.substr(0, end).c_str(), nullptr);
}

// The numbers of a list of field ids, kept in place up to
// kMaxListEntries (no box group or sum list comes near it) and on the heap
// beyond, so that a group costs no allocation.
class FieldList {
 public:
  std::size_t size() const { return size_; }
  int operator[](std::size_t i) const { return i < kInPlace ? inPlace_[i] : beyond_[i - kInPlace]; }
  bool holds(int number) const {
    for (std::size_t i = 0; i < size_; ++i) {
      if ((*this)[i] == number) return true;
    }
    return false;
  }
  void add(int number) {
    if (size_ < kInPlace) {
      inPlace_[size_] = number;
    } else {
      beyond_.push_back(number);
    }
    ++size_;
  }
  // Adds a valid id's number unless the list holds it.
  void addOnce(const FieldId& id) {
    if (id.isValid() && !holds(id.getNumber())) add(id.getNumber());
  }

 private:
  static constexpr std::size_t kInPlace = kMaxListEntries;
  int inPlace_[kInPlace];
  std::vector<int> beyond_;
  std::size_t size_ = 0;
};

// The valid members of a group in argument order, each number once.
FieldList uniqueValid(std::initializer_list<FieldId> ids) {
  FieldList group;
  for (const FieldId& id : ids) group.addOnce(id);
  return group;
}

// Reads a C list of identifier pointers: it ends at a null pointer or a
// pointer to an id <= 0, and at most kMaxListEntries are read.
FieldList readList(const FieldId* first, va_list rest) {
  FieldList ids;
  const FieldId* current = first;
  while (current != nullptr && current->isValid() && ids.size() < kMaxListEntries) {
    ids.add(current->getNumber());
    if (ids.size() == kMaxListEntries) break;
    current = va_arg(rest, const FieldId*);
  }
  return ids;
}

}  // namespace

unsigned long changeCount() { return changes; }
void noteChange() { ++changes; }

TaxForm::TaxForm(const TaxFormDescPtr& desc, uint16_t copy, std::shared_ptr<ReturnState> state)
    : desc_(desc), copy_(copy), state_(std::move(state)) {
  if (!state_) state_ = std::make_shared<ReturnState>();
  // Elements of an unordered map keep their place: the pointer stays good.
  valueWrites_ = &state_->valueWrites[desc_.isNull() ? 0 : formKey(desc_->getTypeID())];
}

TaxForm::~TaxForm() = default;

void TaxForm::countValueWrite(const FieldId& t) {
  ++valueWrites_->count;
  ++copyWrites_;
  ++*valueWrites_->byField.tryEmplace(t.getNumber()).first;
  ++changes;
}

// Reads.

// Every read of this file comes here, inline: reads are most of what a
// calculation does.
inline const FieldValue& TaxForm::valueOf(const FieldId& f) const {
  if (!f.isValid()) return kNullValue;
  const Slot* found = fields_.find(f.getNumber());
  return found == nullptr ? kNullValue : *found;
}

const FieldValue& TaxForm::stored(const FieldId& f) const { return valueOf(f); }

double TaxForm::getIR(const FieldId& f) const {
  const FieldValue& v = valueOf(f);
  if (v.kind == FieldValue::kNumber) return v.number;
  if (v.kind == FieldValue::kText) return parseNumber(v.text);
  return 0.0;
}

long TaxForm::getIN(const FieldId& f) const { return Utils::roundR(getIR(f)); }

bool TaxForm::isNull(const FieldId& f) const { return valueOf(f).kind == FieldValue::kNull; }
bool TaxForm::xMarked(const FieldId& f) const { return valueOf(f).kind == FieldValue::kMark; }
bool TaxForm::isNo(const FieldId& f) const { return valueOf(f).kind == FieldValue::kNo; }
bool TaxForm::noOverride(const FieldId& f) const { return !valueOf(f).overridden; }
bool TaxForm::isProtected(const FieldId& f) const { return valueOf(f).isProtected; }

bool TaxForm::hasSigValue(const FieldId& f) const {
  const FieldValue& v = valueOf(f);
  switch (v.kind) {
    case FieldValue::kNumber:
      return v.number != 0.0;
    case FieldValue::kText:
      return v.text.find_first_not_of(" \t") != std::string::npos;
    case FieldValue::kMark:
      return true;
    default:
      return false;
  }
}

unsigned char TaxForm::editCodeOf(const FieldId& f) const {
  if (desc_.isNull()) return kEditNone;
  const Slot* found = fields_.find(f.getNumber());
  return (found != nullptr ? found->traits : desc_->traitsOf(f)).editCode;
}

std::string TaxForm::valueText(const FieldId& f) const {
  // A field never stored reads as empty, whatever its edit code; a stored
  // one has its traits at hand (unknown when the form has no description).
  const Slot* found = f.isValid() ? fields_.find(f.getNumber()) : nullptr;
  if (found == nullptr) return std::string();
  return DataMgmt::valueText(*found, found->traits.editCode);
}

bool TaxForm::holdsOverrideOrTentative() const {
  for (const auto& entry : fields_.all()) {
    if (entry.second.overridden || entry.second.tentative) return true;
  }
  return false;
}

void TaxForm::noteTextRead(const FieldId& f) const {
  if (desc_.isNull()) return;
  const Slot* found = f.isValid() ? fields_.find(f.getNumber()) : nullptr;
  // A stored text field, the usual case, needs no note.
  if (found != nullptr && (!found->traits.known || found->traits.isText())) return;
  StandIn::noteTextUse(*desc_, f, false);
}

char* TaxForm::valueString(char* buf, const FieldId& f,
                           const Primitives::OVImmutableFormIdentifier& /*form*/) const {
  return copyValueText(f, buf, 128);
}

char* TaxForm::copyValueText(const FieldId& f, char* buf, std::size_t size) const {
  if (buf == nullptr || size == 0) return buf;
  const Slot* found = f.isValid() ? fields_.find(f.getNumber()) : nullptr;
  if (found == nullptr) {
    buf[0] = '\0';
    return buf;
  }
  return DataMgmt::copyValueText(*found, found->traits.editCode, buf, size);
}

FormFieldPtr TaxForm::getField(const FieldId& f) {
  // A copy the return no longer holds gives a handle that reads as missing.
  const TaxFormPtr copy = holder_ != nullptr ? *holder_ : TaxFormPtr();
  // Callers mostly hold one handle at a time: the spare is aimed anew when
  // nobody else holds it, so that a handle costs no allocation.
  FormFieldPtr& spare = state_->spareHandle;
  if (spare.isNull() || spare.useCount() > 1) {
    spare = FormFieldPtr(new FormField(copy, f));
  } else {
    spare->aim(copy, f);
  }
  return spare;
}

// Writes.

// Every write of this file comes here, inline; a field's first write
// makes its slot out of line.
inline TaxForm::Slot& TaxForm::slot(const FieldId& f) {
  Slot* found = fields_.find(f.getNumber());
  return found != nullptr ? *found : newSlot(f);
}

TaxForm::Slot& TaxForm::newSlot(const FieldId& f) {
  if (desc_.isNull()) return *fields_.tryEmplace(f.getNumber()).first;
  // A copy out of room makes room for as many fields as the form's copies
  // came to store (up to a bound; a few when none did yet), or for twice
  // its own: copies alike grow at once.
  const std::size_t held = fields_.size();
  if (held == fields_.capacity()) {
    const std::size_t hint = desc_->copySizeHint();
    const std::size_t alike = hint == 0 ? kFirstFieldsReserved : std::min(hint, kMostFieldsReserved);
    fields_.reserve(std::max(alike, 2 * held));
  }
  Slot& made = *fields_.tryEmplace(f.getNumber()).first;
  made.traits = desc_->traitsOf(f);
  desc_->noteCopySize(fields_.size());
  return made;
}

std::map<int, FieldValue> TaxForm::fields() const {
  std::map<int, FieldValue> snapshot;
  for (const auto& entry : fields_.all()) snapshot.emplace(entry.first, static_cast<const FieldValue&>(entry.second));
  return snapshot;
}

void TaxForm::write(const FieldId& t, FieldValue::Kind kind, double number, std::string_view text) {
  if (!t.isValid()) return;
  writeInto(slot(t), t, kind, number, text);
}

// Most writes of a calculation store the value the field holds already:
// that path stays short, and the rest is out of line.
inline void TaxForm::writeInto(Slot& written, const FieldId& t, FieldValue::Kind kind, double number,
                               std::string_view text) {
  FieldValue& target = written;
  if (target.overridden) return;
  const FieldTraits& field = written.traits;
  if (!field.known || (kind == FieldValue::kText && field.kind != kTextField)) noteOddWrite(t, field);
  if (target.kind == kind && target.number == number && std::string_view(target.text) == text) {
    state_->saveNeeded = true;
    return;
  }
  changeValue(target, t, kind, number, text);
}

void TaxForm::noteOddWrite(const FieldId& t, const FieldTraits& field) {
  if (!field.known) {
    ++StandIn::diagnostics().unknownFieldWrites;
    return;
  }
  ++StandIn::diagnostics().textIntoOtherFields;  // a text into a field of another kind
  if (!desc_.isNull()) StandIn::noteTextUse(*desc_, t, true);
}

void TaxForm::noteBeforeChange(const FieldId& f, const FieldValue& before) const {
  // A copy its return no longer holds is no value of the return.
  if (state_->watch == nullptr || holder_ == nullptr || holder_->get() != this) return;
  state_->watch->noteBefore(desc_.isNull() ? Primitives::OVImmutableFormIdentifier() : desc_->getTypeID(), copy_,
                            f.getNumber(), before);
}

void TaxForm::changeValue(FieldValue& target, const FieldId& t, FieldValue::Kind kind, double number,
                          std::string_view text) {
  countValueWrite(t);  // counted only when the value changes
  noteBeforeChange(t, target);
  target.kind = kind;
  target.number = number;
  if (std::string_view(target.text) != text) target.text.assign(text.data(), text.size());
  state_->saveNeeded = true;
}

void TaxForm::writeNumber(const FieldId& t, double value) {
  if (!t.isValid()) return;
  if (!std::isfinite(value)) {
    ++StandIn::diagnostics().nonFiniteWrites;
    write(t, FieldValue::kNull);
    return;
  }
  write(t, FieldValue::kNumber, value);
}

void TaxForm::copyValue(const FieldId& t, const TaxForm* source, const FieldId& f) {
  if (!t.isValid()) return;
  // The target's slot is made first: making a slot may move the values
  // stored beside it, the source's among them when it is this copy.
  slot(t);
  if (source == nullptr) {
    write(t, FieldValue::kNull);
    return;
  }
  const FieldValue& value = source->valueOf(f);
  write(t, value.kind, value.number, value.text);
}

void TaxForm::store(const FieldId& f, const FieldValue& value) {
  if (!f.isValid()) return;
  Slot& written = slot(f);
  if (!written.traits.known) ++StandIn::diagnostics().unknownFieldWrites;
  FieldValue& target = written;
  noteBeforeChange(f, target);
  target = value;
  if (value.kind == FieldValue::kNumber && !std::isfinite(value.number)) {
    ++StandIn::diagnostics().nonFiniteWrites;
    target.kind = FieldValue::kNull;
    target.number = 0.0;
  }
  state_->saveNeeded = true;
  countValueWrite(f);
}

void TaxForm::assignIR(const FieldId& t, double value) { writeNumber(t, value); }

void TaxForm::assignII(const FieldId& t, const FieldId& source) { copyValue(t, this, source); }

void TaxForm::assignText(const FieldId& t, const char* text) {
  write(t, FieldValue::kText, 0.0, text != nullptr ? text : "");
}

void TaxForm::setNull(const FieldId& t) {
  // A field never stored reads as null already: nulling it changes no value
  // and makes no slot (calculations null many fields they may not fill),
  // but still counts as a write, to a field the form may not have. That the
  // form has it is noted beside the slots, so that the next nulling (the
  // next pass, the next calculation) asks the one probe only.
  bool noted = false;
  if (t.isValid() && fields_.find(t.getNumber(), &noted) == nullptr) {
    if (!noted) {
      if (desc_.isNull() || !desc_->hasField(t)) {
        ++StandIn::diagnostics().unknownFieldWrites;
      } else {
        fields_.note(t.getNumber());
      }
    }
    state_->saveNeeded = true;
    return;
  }
  write(t, FieldValue::kNull);
}
void TaxForm::zero(const FieldId& t) { writeNumber(t, 0.0); }

void TaxForm::plus2(const FieldId& t, const FieldId& a, const FieldId& b) {
  writeNumber(t, getIR(a) + getIR(b));
}
void TaxForm::plus3(const FieldId& t, const FieldId& a, const FieldId& b, const FieldId& c) {
  writeNumber(t, getIR(a) + getIR(b) + getIR(c));
}
void TaxForm::plus4(const FieldId& t, const FieldId& a, const FieldId& b, const FieldId& c,
                    const FieldId& d) {
  writeNumber(t, getIR(a) + getIR(b) + getIR(c) + getIR(d));
}
void TaxForm::plus5(const FieldId& t, const FieldId& a, const FieldId& b, const FieldId& c,
                    const FieldId& d, const FieldId& e) {
  writeNumber(t, getIR(a) + getIR(b) + getIR(c) + getIR(d) + getIR(e));
}
void TaxForm::plus6(const FieldId& t, const FieldId& a, const FieldId& b, const FieldId& c,
                    const FieldId& d, const FieldId& e, const FieldId& f) {
  writeNumber(t, getIR(a) + getIR(b) + getIR(c) + getIR(d) + getIR(e) + getIR(f));
}
void TaxForm::plus7(const FieldId& t, const FieldId& a, const FieldId& b, const FieldId& c,
                    const FieldId& d, const FieldId& e, const FieldId& f, const FieldId& g) {
  writeNumber(t, getIR(a) + getIR(b) + getIR(c) + getIR(d) + getIR(e) + getIR(f) + getIR(g));
}
void TaxForm::plus8(const FieldId& t, const FieldId& a, const FieldId& b, const FieldId& c,
                    const FieldId& d, const FieldId& e, const FieldId& f, const FieldId& g,
                    const FieldId& h) {
  writeNumber(t, getIR(a) + getIR(b) + getIR(c) + getIR(d) + getIR(e) + getIR(f) + getIR(g) +
                     getIR(h));
}

void TaxForm::setValueToSumOf(const FieldId& t, const FieldId* first, ...) {
  va_list rest;
  va_start(rest, first);
  const FieldList sources = readList(first, rest);
  va_end(rest);
  double sum = 0.0;
  for (std::size_t i = 0; i < sources.size(); ++i) sum += getIR(FieldId(sources[i]));
  writeNumber(t, sum);
}

void TaxForm::setValueToSumOf(const FieldId& t, std::initializer_list<FieldId> sources) {
  double sum = 0.0;
  for (const FieldId& id : sources) sum += getIR(id);
  writeNumber(t, sum);
}

void TaxForm::minusII(const FieldId& t, const FieldId& a, const FieldId& b) {
  writeNumber(t, getIR(a) - getIR(b));
}
void TaxForm::minusIIge0(const FieldId& t, const FieldId& a, const FieldId& b) {
  writeNumber(t, std::max(0.0, getIR(a) - getIR(b)));
}
void TaxForm::minusRI(const FieldId& t, double r, const FieldId& f) { writeNumber(t, r - getIR(f)); }
void TaxForm::minII(const FieldId& t, const FieldId& a, const FieldId& b) {
  writeNumber(t, std::min(getIR(a), getIR(b)));
}
void TaxForm::maxII(const FieldId& t, const FieldId& a, const FieldId& b) {
  writeNumber(t, std::max(getIR(a), getIR(b)));
}
void TaxForm::minIR(const FieldId& t, const FieldId& source, double limit) {
  writeNumber(t, std::min(getIR(source), limit));
}
void TaxForm::maxIR(const FieldId& t, const FieldId& source, double limit) {
  writeNumber(t, std::max(getIR(source), limit));
}
void TaxForm::timesIR(const FieldId& t, const FieldId& f, double r) { writeNumber(t, getIR(f) * r); }

// Each term is at most kMaxWholeAmount, so the sums cannot overflow; the
// result saturates like every whole amount.
long TaxForm::sumOf2(const FieldId& a, const FieldId& b) const {
  return Utils::saturateWhole(getIN(a) + getIN(b));
}
long TaxForm::sumOf3(const FieldId& a, const FieldId& b, const FieldId& c) const {
  return Utils::saturateWhole(getIN(a) + getIN(b) + getIN(c));
}
long TaxForm::sumOf4(const FieldId& a, const FieldId& b, const FieldId& c, const FieldId& d) const {
  return Utils::saturateWhole(getIN(a) + getIN(b) + getIN(c) + getIN(d));
}
long TaxForm::sumOf5(const FieldId& a, const FieldId& b, const FieldId& c, const FieldId& d,
                     const FieldId& e) const {
  return Utils::saturateWhole(getIN(a) + getIN(b) + getIN(c) + getIN(d) + getIN(e));
}
long TaxForm::sumOf6(const FieldId& a, const FieldId& b, const FieldId& c, const FieldId& d,
                     const FieldId& e, const FieldId& f) const {
  return Utils::saturateWhole(getIN(a) + getIN(b) + getIN(c) + getIN(d) + getIN(e) + getIN(f));
}

// Boxes.

void TaxForm::setX(const FieldId& f) { write(f, FieldValue::kMark); }
void TaxForm::setXNo(const FieldId& f) { write(f, FieldValue::kNo); }

template <class Group>
void TaxForm::applyGroup(const Group& group, bool keepFirst, bool withDefault) {
  bool marked = false;
  for (std::size_t i = 0; i < group.size(); ++i) {
    if (!xMarked(FieldId(group[i]))) continue;
    if (marked && keepFirst) setXNo(FieldId(group[i]));  // a later mark gives way to the first
    marked = true;
  }
  if (!withDefault || marked || group.size() == 0) return;
  setX(FieldId(group[0]));
  for (std::size_t i = 1; i < group.size(); ++i) setXNo(FieldId(group[i]));
}

void TaxForm::keepFirstMark(std::initializer_list<FieldId> group) {
  applyGroup(uniqueValid(group), true, false);
}
void TaxForm::defaultMark(std::initializer_list<FieldId> group) {
  applyGroup(uniqueValid(group), false, true);
}
void TaxForm::keepFirstMarkOrDefault(std::initializer_list<FieldId> group) {
  applyGroup(uniqueValid(group), true, true);
}

void TaxForm::oneX(const FieldId& a, const FieldId& b, const FieldId& c) { keepFirstMark({a, b, c}); }

void TaxForm::oneX9(const FieldId& a, const FieldId& b, const FieldId& c, const FieldId& d,
                    const FieldId& e, const FieldId& f, const FieldId& g, const FieldId& h,
                    const FieldId& i) {
  keepFirstMark({a, b, c, d, e, f, g, h, i});
}

void TaxForm::oneX2AndDefault(const FieldId& a, const FieldId& b) {
  keepFirstMarkOrDefault({a, b});
}

void TaxForm::oneX4AndDefault(const FieldId& a, const FieldId& b, const FieldId& c,
                              const FieldId& d) {
  keepFirstMarkOrDefault({a, b, c, d});
}

void TaxForm::oneXAndDefault(const FieldId& a, const FieldId& b, const FieldId& c, const FieldId& d,
                             const FieldId& e, const FieldId& f, const FieldId& g, const FieldId& h,
                             const FieldId& i, const FieldId& j) {
  keepFirstMarkOrDefault({a, b, c, d, e, f, g, h, i, j});
}

void TaxForm::setOptionGroupSelection(const FieldId* first, ...) {
  va_list rest;
  va_start(rest, first);
  const FieldList listed = readList(first, rest);
  va_end(rest);
  FieldList group;
  for (std::size_t i = 0; i < listed.size(); ++i) group.addOnce(FieldId(listed[i]));
  applyGroup(group, true, false);
}

void TaxForm::setOptionGroupSelection(std::initializer_list<FieldId> group) {
  keepFirstMark(group);
}

// Protection. Only these four change the flag.

void TaxForm::makeProtected(const FieldId& f) {
  if (!f.isValid()) return;
  change(slot(f).isProtected, true);
  state_->saveNeeded = true;
}

void TaxForm::unProtect(const FieldId& f) {
  if (!f.isValid()) return;
  change(slot(f).isProtected, false);
  state_->saveNeeded = true;
}

// The two protection changes that null the field find its slot once.
void TaxForm::makeProtectedAndSetNull(const FieldId& f) {
  if (!f.isValid()) return;
  Slot& held = slot(f);
  change(held.isProtected, true);
  state_->saveNeeded = true;
  writeInto(held, f, FieldValue::kNull);
}

void TaxForm::unprotectAndMaybeSetNull(const FieldId& f) {
  Slot* held = f.isValid() ? fields_.find(f.getNumber()) : nullptr;
  if (held == nullptr || !held->isProtected) return;  // the user's own entry stays
  change(held->isProtected, false);
  state_->saveNeeded = true;
  writeInto(*held, f, FieldValue::kNull);
}

// Flags.

void TaxForm::setPrintingEnabled(bool enabled) { change(printFlag_, enabled); }

void TaxForm::setCalcMark(bool marked) { change(calcMark_, marked); }

void TaxForm::setDataEnteredFlag(bool entered, bool byUser) {
  change(dataEntered_, entered);
  change(printFlag_, entered);
  change(dataEnteredByUser_, byUser);
  state_->saveNeeded = true;
}

void TaxForm::setOverridden(const FieldId& f, bool overridden) {
  if (!f.isValid()) return;
  change(slot(f).overridden, overridden);
  state_->saveNeeded = true;
}

void TaxForm::setTentative(const FieldId& f, bool tentative) {
  if (!f.isValid()) return;
  change(slot(f).tentative, tentative);
  state_->saveNeeded = true;
}

void TaxForm::setNoEntry(const FieldId& f, bool noEntry) {
  if (!f.isValid()) return;
  change(slot(f).noEntry, noEntry);
  state_->saveNeeded = true;
}

}  // namespace DataMgmt
