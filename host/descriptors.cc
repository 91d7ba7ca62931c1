#include "host/descriptors.h"

#include <algorithm>
#include <charconv>
#include <memory>
#include <new>
#include <vector>

#include "host/string_utils.h"

namespace DataMgmt {

using Primitives::OVImmutableFormIdentifier;
using Primitives::OVImmutableIdentifier;

FormFieldDesc::FormFieldDesc(const OVImmutableIdentifier& id, FieldKind kind, uint16_t length,
                             unsigned char editCode, bool calculated,
                             const std::string& symbolicName, const std::string& lineLabel)
    : id_(id),
      kind_(kind),
      length_(length),
      validator_(editCode),
      calculated_(calculated),
      given_(new GivenNames{symbolicName, lineLabel}) {}

FormFieldDesc::FormFieldDesc(const OVImmutableIdentifier& id, FieldKind kind, uint16_t length,
                             unsigned char editCode, bool calculated,
                             std::shared_ptr<const std::string> symbolicPrefix)
    : id_(id),
      kind_(kind),
      length_(length),
      validator_(editCode),
      calculated_(calculated),
      symbolicPrefix_(std::move(symbolicPrefix)) {}

FormFieldDesc::~FormFieldDesc() = default;

std::string FormFieldDesc::getSymbolicName() const {
  std::string name;
  appendSymbolicName(name);
  return name;
}

void FormFieldDesc::appendSymbolicName(std::string& text) const {
  if (given_) {
    text += given_->symbolicName;
    return;
  }
  if (symbolicPrefix_) text += *symbolicPrefix_;
  appendLineLabel(id_.getNumber(), text);
}

std::string FormFieldDesc::getLineLabel() const {
  if (given_) return given_->lineLabel;
  std::string label;
  appendLineLabel(id_.getNumber(), label);
  return label;
}

void FormFieldDesc::appendLineLabel(int number, std::string& text) {
  char label[16] = "F";
  const std::to_chars_result end = std::to_chars(label + 1, label + sizeof label, number);
  text.append(label, end.ptr);
}

// OVFieldIDIter. The end position is the list size; every move that would
// leave [0, size] lands on the end.

OVFieldIDIter::OVFieldIDIter() : fields_(nullptr), positions_(nullptr), pos_(0) {}

OVFieldIDIter::OVFieldIDIter(const std::vector<OVImmutableIdentifier>* fields,
                             const FieldPlaces* positions)
    : fields_(fields), positions_(positions), pos_(0) {}

namespace {
int sizeOf(const std::vector<OVImmutableIdentifier>* fields) {
  return fields == nullptr ? 0 : static_cast<int>(fields->size());
}
}  // namespace

OVFieldIDIter& OVFieldIDIter::operator=(const OVImmutableIdentifier& field) {
  const int found = positionOf(field);
  pos_ = found < 0 ? sizeOf(fields_) : found;
  return *this;
}

OVImmutableIdentifier OVFieldIDIter::getID() const {
  if (atEOL()) return Primitives::kNullFieldID;
  return (*fields_)[static_cast<std::size_t>(pos_)];
}

void OVFieldIDIter::next() {
  if (!atEOL()) ++pos_;
}

OVFieldIDIter& OVFieldIDIter::operator++() {
  next();
  return *this;
}

OVFieldIDIter OVFieldIDIter::operator+(int n) const {
  OVFieldIDIter moved(*this);
  moved += n;
  return moved;
}

OVFieldIDIter OVFieldIDIter::operator-(int n) const {
  // Negating INT_MIN would overflow; it is out of range either way.
  if (n == INT32_MIN) return *this + INT32_MAX;
  return *this + (-n);
}

OVFieldIDIter& OVFieldIDIter::operator+=(int n) {
  const long target = static_cast<long>(pos_) + n;
  const int size = sizeOf(fields_);
  pos_ = (target < 0 || target > size) ? size : static_cast<int>(target);
  return *this;
}

bool OVFieldIDIter::operator<=(const OVFieldIDIter& other) const { return pos_ <= other.pos_; }

bool OVFieldIDIter::operator<=(const OVImmutableIdentifier& field) const {
  const int at = positionOf(field);
  return at >= 0 && pos_ <= at;
}

int OVFieldIDIter::positionOf(const OVImmutableIdentifier& field) const {
  if (fields_ == nullptr || !field.isValid()) return -1;
  if (positions_ != nullptr) return positions_->find(field.getNumber());
  for (std::size_t i = 0; i < fields_->size(); ++i) {
    if ((*fields_)[i] == field) return static_cast<int>(i);
  }
  return -1;
}

int OVFieldIDIter::position() const { return pos_; }

bool OVFieldIDIter::atEOL() const { return pos_ >= sizeOf(fields_); }

// TaxFormDesc.

TaxFormDesc::TaxFormDesc(const OVImmutableFormIdentifier& id, const std::string& devName,
                         const std::string& busName)
    : id_(id), devName_(devName), busName_(busName) {}

TaxFormDesc::~TaxFormDesc() = default;

void TaxFormDesc::setFieldSource(std::function<std::vector<int>()> numbers,
                                 std::function<FormFieldDescPtr(int)> maker,
                                 std::function<FieldTraitsTable()> traits) {
  numbersSource_ = std::move(numbers);
  maker_ = std::move(maker);
  traits_ = std::move(traits);
}

FieldTraits TaxFormDesc::traitsOf(const OVImmutableIdentifier& field) const {
  makeFields();
  const int position = positions_.find(field.getNumber());
  if (position < 0) return FieldTraits();
  FieldTraits& kept = traitsAt_[static_cast<std::size_t>(position)];
  if (kept.known) return kept;
  if (const FormFieldDesc* desc = findField(field)) {
    kept = FieldTraits{true, desc->getKind(), desc->getValidator().getEditCode()};
  }
  return kept;
}

void TaxFormDesc::listFields() const {
  // Cleared first: whatever the source asks of this form lists nothing again.
  const std::function<std::vector<int>()> source = std::move(numbersSource_);
  numbersSource_ = nullptr;
  const std::vector<int> numbers = source();
  fieldIds_.reserve(fieldIds_.size() + numbers.size());
  positions_.reserve(fieldIds_.size() + numbers.size());
  for (int number : numbers) {
    if (number <= 0 || !listOnce(number)) continue;
    fieldIds_.emplace_back(number);
  }
  tellTraits();
}

void TaxFormDesc::tellTraits() const {
  if (!traits_) {
    traitsAt_.resize(fieldIds_.size());
    return;
  }
  const FieldTraitsTable table = traits_();
  traitsAt_.resize(fieldIds_.size(), table.common);
  bool allKnown = table.common.known;
  for (const auto& apart : table.apart) {
    const int position = positions_.find(apart.first);
    if (position >= 0) traitsAt_[static_cast<std::size_t>(position)] = apart.second;
    allKnown = allKnown && apart.second.known;
  }
  allTold_ = allKnown;
}

bool TaxFormDesc::listOnce(int number) const {
  return positions_.add(number);  // a field is listed once, at the end of fieldIds_
}

const FormFieldDescPtr* TaxFormDesc::held(int number) const {
  makeFields();
  if (positions_.find(number) < 0) return nullptr;
  if (const int* at = madeAt_.find(number)) return &made_[static_cast<std::size_t>(*at)];
  if (!maker_) return nullptr;
  const FormFieldDescPtr made = maker_(number);
  return made.isNull() ? nullptr : keep(number, made);
}

const FormFieldDescPtr* TaxFormDesc::keep(int number, const FormFieldDescPtr& field) const {
  *madeAt_.tryEmplace(number).first = static_cast<int>(made_.size());
  made_.push_back(field);
  return &made_.back();
}

const std::shared_ptr<const std::string>& TaxFormDesc::sourceNamePrefix() const {
  if (!sourceNamePrefix_) sourceNamePrefix_ = std::make_shared<const std::string>("k" + devName_ + "_");
  return sourceNamePrefix_;
}

bool TaxFormDesc::appendSymbolicName(const OVImmutableIdentifier& field, std::string& names) const {
  makeFields();
  if (positions_.find(field.getNumber()) < 0) return false;
  if (const int* at = madeAt_.find(field.getNumber())) {
    // A descriptor made or added already carries its name.
    made_[static_cast<std::size_t>(*at)]->appendSymbolicName(names);
    return true;
  }
  if (!maker_) return false;
  names += *sourceNamePrefix();
  FormFieldDesc::appendLineLabel(field.getNumber(), names);
  return true;
}

OVImmutableIdentifier TaxFormDesc::findFieldNamed(const std::string& name) const {
  makeFields();
  if (added_ == 0) return fieldNamedAfterForm(name);
  // Fields with names of their own (tests): every name is compared.
  std::string named;
  for (const OVImmutableIdentifier& id : fieldIds_) {
    named.clear();
    if (appendSymbolicName(id, named) && named == name) return id;
  }
  return Primitives::kNullFieldID;
}

OVImmutableIdentifier TaxFormDesc::fieldNamedAfterForm(const std::string& name) const {
  // "k" + DEVNAME + "_F" and the number in decimal, without a leading zero.
  const std::string& prefix = *sourceNamePrefix();
  const std::size_t digits = prefix.size() + 1;
  if (!maker_ || name.size() <= digits || name.size() > digits + 10 || name.compare(0, prefix.size(), prefix) != 0 ||
      name[prefix.size()] != 'F' || name[digits] == '0') {
    return Primitives::kNullFieldID;
  }
  int number = 0;
  const char* end = name.data() + name.size();
  const std::from_chars_result read = std::from_chars(name.data() + digits, end, number);
  if (read.ec != std::errc() || read.ptr != end || positions_.find(number) < 0) {
    return Primitives::kNullFieldID;
  }
  return OVImmutableIdentifier(number);
}

const std::vector<OVImmutableIdentifier>& TaxFormDesc::fieldIds() const {
  makeFields();
  return fieldIds_;
}

FormFieldDescPtr TaxFormDesc::getFieldDesc(const OVImmutableIdentifier& field) const {
  const FormFieldDescPtr* found = held(field.getNumber());
  return found == nullptr ? FormFieldDescPtr() : *found;
}

const FormFieldDesc* TaxFormDesc::findField(const OVImmutableIdentifier& field) const {
  const FormFieldDescPtr* found = held(field.getNumber());
  return found == nullptr ? nullptr : found->get();
}

void TaxFormDesc::addField(const FormFieldDescPtr& field) {
  if (field.isNull() || !field->getID().isValid()) return;
  makeFields();
  const int number = field->getID().getNumber();
  if (!listOnce(number)) return;
  ++added_;
  fieldIds_.push_back(field->getID());
  traitsAt_.emplace_back();
  keep(number, field);
}

// TifFieldDescriptor.

TifFieldDescriptor::TifFieldDescriptor(const std::string& fieldCode,
                                       const OVImmutableFormIdentifier& form,
                                       const OVImmutableIdentifier& field, char cleanKind,
                                       char percentKind, const std::string& attributes)
    : form_(form), field_(field), code_(), codeLength_(0), cleanKind_(cleanKind), percentKind_(percentKind) {
  if (fieldCode.size() <= kCodeRoom && attributes.empty()) {
    fieldCode.copy(code_, fieldCode.size());
    codeLength_ = static_cast<unsigned char>(fieldCode.size());
  } else {
    longer_.reset(new Longer{fieldCode, attributes});
  }
}

TifFieldDescriptor::~TifFieldDescriptor() = default;

namespace {

// Room for TifFieldDescriptors, 256 to a block. Blocks are kept to the end
// of the process; a descriptor deleted goes to the front of the free list.
struct FreeRoom {
  FreeRoom* next;
};
FreeRoom* freeRooms = nullptr;
const std::size_t kDescriptorsPerBlock = 256;

std::vector<std::unique_ptr<unsigned char[]>>& descriptorBlocks() {
  static auto* const blocks = new std::vector<std::unique_ptr<unsigned char[]>>();
  return *blocks;
}
constexpr std::size_t kDescriptorRoom =
    sizeof(TifFieldDescriptor) > sizeof(FreeRoom) ? sizeof(TifFieldDescriptor) : sizeof(FreeRoom);

}  // namespace

void* TifFieldDescriptor::operator new(std::size_t size) {
  if (size != sizeof(TifFieldDescriptor)) return ::operator new(size);
  if (freeRooms == nullptr) {
    descriptorBlocks().emplace_back(new unsigned char[kDescriptorRoom * kDescriptorsPerBlock]);
    unsigned char* block = descriptorBlocks().back().get();
    for (std::size_t i = kDescriptorsPerBlock; i-- > 0;) {
      freeRooms = new (block + i * kDescriptorRoom) FreeRoom{freeRooms};
    }
  }
  FreeRoom* room = freeRooms;
  freeRooms = room->next;
  return room;
}

void TifFieldDescriptor::operator delete(void* block, std::size_t size) noexcept {
  if (block == nullptr) return;
  if (size != sizeof(TifFieldDescriptor)) {
    ::operator delete(block);
    return;
  }
  freeRooms = new (block) FreeRoom{freeRooms};
}

// TaxReturnDesc.

TaxReturnDesc::TaxReturnDesc(TaxReturnType type, const std::string& abbreviation,
                             const std::string& firstName, const std::string& secondName,
                             const std::string& displayName)
    : type_(type),
      abbreviation_(abbreviation),
      firstName_(firstName),
      secondName_(secondName),
      displayName_(displayName),
      emptyTifList_(new TifFieldDescriptorList()) {}

TaxReturnDesc::~TaxReturnDesc() = default;

std::vector<TaxFormDescPtr> TaxReturnDesc::getTaxFormDescriptors() const {
  std::vector<TaxFormDescPtr> result;
  result.reserve(forms_.size());
  for (const auto& entry : forms_) result.push_back(entry.second);
  return result;
}

std::vector<TaxFormDescPtr> TaxReturnDesc::getTaxFormDescriptorsInDisplayOrder() const {
  return displayOrder_;
}

TaxFormDescPtr TaxReturnDesc::getTaxFormDescriptor(const OVImmutableFormIdentifier& form) const {
  if (!form.isValid()) return TaxFormDescPtr();
  auto found = forms_.find(form);
  if (found == forms_.end()) return TaxFormDescPtr();
  return found->second;
}

TifFieldDescriptorListPtr& TaxReturnDesc::getTifFieldDescriptors(
    const OVImmutableFormIdentifier& form) {
  if (tifSource_ && tifAsked_.insert(form).second) tifSource_(*this, form);
  auto found = tifLists_.find(form);
  if (found != tifLists_.end() && !found->second.isNull()) return found->second;
  // The kept empty list: restored before every use, whatever a caller did to it.
  if (emptyTifList_.isNull()) emptyTifList_ = TifFieldDescriptorListPtr(new TifFieldDescriptorList());
  emptyTifList_->clear();
  return emptyTifList_;
}

OVImmutableFormIdentifier TaxReturnDesc::findFormNamed(const std::string& upperName) const {
  if (byUpperName_.empty()) {
    byUpperName_.reserve(forms_.size());
    for (const auto& entry : forms_) {
      byUpperName_.emplace_back(Utils::OVStringUtils::toUpperCase(entry.second->getDevName()), entry.first);
    }
    std::stable_sort(byUpperName_.begin(), byUpperName_.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
  }
  const auto found = std::lower_bound(byUpperName_.begin(), byUpperName_.end(), upperName,
                                      [](const auto& entry, const std::string& name) { return entry.first < name; });
  return found == byUpperName_.end() || found->first != upperName ? OVImmutableFormIdentifier() : found->second;
}

void TaxReturnDesc::registerForm(const TaxFormDescPtr& form) {
  if (form.isNull() || !form->getTypeID().isValid()) return;
  const OVImmutableFormIdentifier id = form->getTypeID();
  if (forms_.count(id) != 0) return;
  byUpperName_.clear();  // made again with this form
  forms_.emplace(id, form);
  displayOrder_.push_back(form);
}

void TaxReturnDesc::setTifFieldDescriptors(const OVImmutableFormIdentifier& form,
                                           const TifFieldDescriptorListPtr& list) {
  tifAsked_.insert(form);  // a list set here is never replaced by the source
  tifLists_[form] = list;
}

}  // namespace DataMgmt
