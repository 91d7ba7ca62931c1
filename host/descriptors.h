// Form and field descriptors: what the host knows about each form.
//
// A TaxReturnDesc describes one kind of return (federal or PA): its texts
// and one TaxFormDesc per form of its side. A TaxFormDesc lists the form's
// fields in the form's field order (for catalogued forms, catalog member
// order) and holds one FormFieldDesc per field. Descriptors are generated
// from the module's form and catalog tables and never change; the host
// keeps a share of each, so holders handed out may be released freely.
// A generated form makes its field descriptors, and a generated return its
// data-file lists, the first time anything asks for them: a run pays only
// for the forms it uses.
#ifndef HOST_DESCRIPTORS_H_
#define HOST_DESCRIPTORS_H_

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "host/field_places.h"
#include "host/field_slots.h"
#include "host/form_identifier.h"
#include "host/host_api.h"
#include "host/identifier.h"
#include "host/pointers.h"

namespace Validation {

// The entry rule of a field; the module reads only its edit code.
// Codes: 0 none, 1 yes/no, 72 ('H') hundredths; see FormFieldDesc.
class HOST_API Validator {
 public:
  explicit Validator(unsigned char editCode = 0) : editCode_(editCode) {}
  unsigned char getEditCode() const { return editCode_; }

 private:
  unsigned char editCode_;
};

}  // namespace Validation

namespace DataMgmt {

typedef int TaxReturnType;  // 1 federal, 40 PA

// The kind of value a field holds. Kinds are not enforced on writes; they
// decide how a value reads as text and which edit code a field carries.
enum FieldKind : unsigned char { kNumberField, kTextField, kCheckBoxField, kYesNoField };
// A box or a yes/no pair holds a mark, not an amount.
inline bool isBooleanKind(FieldKind kind) { return kind == kCheckBoxField || kind == kYesNoField; }

// One field of a form: identifier, kind, names and entry rule.
class HOST_API FormFieldDesc {
 public:
  FormFieldDesc(const Primitives::OVImmutableIdentifier& id, FieldKind kind, uint16_t length,
                unsigned char editCode, bool calculated, const std::string& symbolicName,
                const std::string& lineLabel);
  // A field named after its form (ours): symbolic name `symbolicPrefix`
  // followed by the line label "F" + number, both made when asked for.
  FormFieldDesc(const Primitives::OVImmutableIdentifier& id, FieldKind kind, uint16_t length,
                unsigned char editCode, bool calculated,
                std::shared_ptr<const std::string> symbolicPrefix);
  // Appends the line label of a field named after its form, "F" + number
  // (ours).
  static void appendLineLabel(int number, std::string& text);
  ~FormFieldDesc();

  Primitives::OVImmutableIdentifier getID() const { return id_; }
  FieldKind getKind() const { return kind_; }  // ours
  bool isText() const { return kind_ == kTextField; }
  bool isBoolean() const { return isBooleanKind(kind_); }
  uint16_t getLength() const { return length_; }
  std::string getSymbolicName() const;  // "k" + DEVNAME + "_F" + number
  void appendSymbolicName(std::string& text) const;  // the same, appended (ours)
  const Validation::Validator& getValidator() const { return validator_; }
  bool isCalculated() const { return calculated_; }
  std::string getLineLabel() const;  // "F" + number

 private:
  Primitives::OVImmutableIdentifier id_;
  FieldKind kind_;
  uint16_t length_;
  Validation::Validator validator_;
  bool calculated_;
  // One of the two is set: the form's prefix, or the names given.
  struct GivenNames {
    std::string symbolicName;
    std::string lineLabel;
  };
  std::shared_ptr<const std::string> symbolicPrefix_;
  std::unique_ptr<const GivenNames> given_;
};

// What a form copy's values need of one of its fields (ours): whether the
// form has it, its kind and the edit code of its entry rule.
struct FieldTraits {
  bool known = false;
  FieldKind kind = kNumberField;
  unsigned char editCode = 0;
  // As FormFieldDesc answers them.
  bool isText() const { return kind == kTextField; }
  bool isBoolean() const { return isBooleanKind(kind); }
};

// The traits of a form's fields as a source tells them: `common` for every
// field but those listed `apart` by number.
struct FieldTraitsTable {
  FieldTraits common;
  std::vector<std::pair<int, FieldTraits>> apart;
};

class TaxFormDesc;

// A position in a form's field list. Moving past either end gives the end
// position, whose id is kNullFieldID; it never loops and never reads
// outside the list.
class HOST_API OVFieldIDIter {
 public:
  OVFieldIDIter();  // at the end of an empty list
  // `positions` (optional) gives each field's position in `fields` by
  // number, so that moving to a field does not scan the list.
  explicit OVFieldIDIter(const std::vector<Primitives::OVImmutableIdentifier>* fields,
                         const FieldPlaces* positions = nullptr);

  // Moves to `field`, or to the end when the list does not hold it.
  OVFieldIDIter& operator=(const Primitives::OVImmutableIdentifier& field);

  Primitives::OVImmutableIdentifier getID() const;
  operator Primitives::OVImmutableIdentifier() const { return getID(); }  // NOLINT

  void next();
  OVFieldIDIter& operator++();
  OVFieldIDIter operator+(int n) const;
  OVFieldIDIter operator-(int n) const;
  OVFieldIDIter& operator+=(int n);

  // Compares positions. An absent field lies below every position (so
  // `<=` against it is false); the end lies above all.
  bool operator<=(const OVFieldIDIter& other) const;
  bool operator<=(const Primitives::OVImmutableIdentifier& field) const;

  int positionOf(const Primitives::OVImmutableIdentifier& field) const;  // -1 when absent
  int position() const;  // the list size at the end
  bool atEOL() const;

 private:
  const std::vector<Primitives::OVImmutableIdentifier>* fields_;
  const FieldPlaces* positions_;
  int pos_;
};

// One form: its identifier, names, copy limit and fields in form order.
class HOST_API TaxFormDesc {
 public:
  TaxFormDesc(const Primitives::OVImmutableFormIdentifier& id, const std::string& devName,
              const std::string& busName);
  ~TaxFormDesc();
  TaxFormDesc(const TaxFormDesc&) = delete;
  TaxFormDesc& operator=(const TaxFormDesc&) = delete;

  Primitives::OVImmutableFormIdentifier getTypeID() const { return id_; }
  OVFieldIDIter getFieldIDs() const { return OVFieldIDIter(&fieldIds(), &positions_); }
  // The field's descriptor; empty when the form has no such field.
  FormFieldDescPtr getFieldDesc(const Primitives::OVImmutableIdentifier& field) const;
  // The same, borrowed from the form's descriptor (no share taken); null
  // when the form has no such field (ours: the host's own fast path).
  const FormFieldDesc* findField(const Primitives::OVImmutableIdentifier& field) const;
  std::string getDevName() const { return devName_; }
  std::string getBusName() const { return busName_; }
  std::string getNameText() const { return busName_; }
  uint16_t getMaxCopies() const { return maxCopies_; }  // copy limit, 999 by default

  // Building and test controls (ours).
  void addField(const FormFieldDescPtr& field);
  void setMaxCopies(uint16_t limit) { maxCopies_ = limit; }
  const std::vector<Primitives::OVImmutableIdentifier>& fieldIds() const;
  // Fields made on first use: `numbers` lists the form's field numbers in
  // form order, asked once, the first time anything reads or adds a field;
  // `maker` makes the descriptor of one of them, the first time it is
  // asked for, named after the form (sourceNamePrefix); `traits`
  // (optional) tells the traits of the listed fields, asked once with the
  // numbers, so that no descriptor is made for them.
  void setFieldSource(std::function<std::vector<int>()> numbers,
                      std::function<FormFieldDescPtr(int)> maker,
                      std::function<FieldTraitsTable()> traits = nullptr);
  // The field's traits (unknown when the form has no such field); its
  // descriptor is not made for this when the source tells them.
  FieldTraits traitsOf(const Primitives::OVImmutableIdentifier& field) const;
  // traitsOf(field).known, answered inline with one probe when the source
  // told every listed field's traits (ours: nulling fields never stored,
  // by the thousand in a calculation, asks only this).
  bool hasField(const Primitives::OVImmutableIdentifier& field) const {
    makeFields();
    if (positions_.find(field.getNumber()) < 0) return false;
    return allTold_ || traitsOf(field).known;
  }
  // The most fields a copy of the form came to store (ours): a new copy
  // makes room for as many at once.
  std::size_t copySizeHint() const { return copySizeHint_; }
  void noteCopySize(std::size_t fields) const {
    if (fields > copySizeHint_) copySizeHint_ = fields;
  }
  // The fields the source makes are named after the form: this prefix,
  // "k" + DEVNAME + "_", then the line label. Made once.
  const std::shared_ptr<const std::string>& sourceNamePrefix() const;
  // Appends the field's symbolic name to `names`, without making its
  // descriptor; false, with nothing appended, when the form has no such
  // field.
  bool appendSymbolicName(const Primitives::OVImmutableIdentifier& field, std::string& names) const;
  // The first field, in form order, whose symbolic name is `name`;
  // kNullFieldID when none is (ours). A field named after the form is
  // found by the number its name ends in, without making its descriptor.
  Primitives::OVImmutableIdentifier findFieldNamed(const std::string& name) const;

 private:
  void makeFields() const {
    if (numbersSource_) listFields();
  }
  void listFields() const;
  void tellTraits() const;  // the listed fields' traits, from the source when it tells them
  // The descriptor held for `number`, made now when the form lists it;
  // null when the form has no such field.
  const FormFieldDescPtr* held(int number) const;
  bool listOnce(int number) const;  // gives the field a position; false when it has one
  const FormFieldDescPtr* keep(int number, const FormFieldDescPtr& field) const;
  // The field named `name` among those named after the form.
  Primitives::OVImmutableIdentifier fieldNamedAfterForm(const std::string& name) const;

  Primitives::OVImmutableFormIdentifier id_;
  std::string devName_;
  std::string busName_;
  uint16_t maxCopies_ = 999;
  // Made on first use (see setFieldSource), so mutable.
  mutable std::vector<Primitives::OVImmutableIdentifier> fieldIds_;
  mutable FieldPlaces positions_;  // position in fieldIds_ by number
  mutable std::vector<FormFieldDescPtr> made_;  // descriptors in the order they were made
  mutable FieldSlots<int> madeAt_;  // index in made_ by number, for the fields made
  mutable std::vector<FieldTraits> traitsAt_;  // by position; unknown: not told yet
  // Every listed field's traits were told, all known; a field added later
  // keeps its descriptor, so it is known too.
  mutable bool allTold_ = false;
  mutable std::function<std::vector<int>()> numbersSource_;  // empty once listed
  std::function<FormFieldDescPtr(int)> maker_;
  std::function<FieldTraitsTable()> traits_;
  mutable std::shared_ptr<const std::string> sourceNamePrefix_;  // made on first use
  mutable std::size_t copySizeHint_ = 0;
  std::size_t added_ = 0;  // fields added with names of their own (addField)
};

// One data-file line the host's conversion writes for a form field.
class HOST_API TifFieldDescriptor {
 public:
  TifFieldDescriptor(const std::string& fieldCode, const Primitives::OVImmutableFormIdentifier& form,
                     const Primitives::OVImmutableIdentifier& field, char cleanKind,
                     char percentKind, const std::string& attributes);
  ~TifFieldDescriptor();

  // Data-file lists hold them by the hundred, to the end of the process:
  // they are made in blocks, and one deleted serves the next (ours).
  static void* operator new(std::size_t size);
  static void operator delete(void* block, std::size_t size) noexcept;

  std::string getFieldCode() const {
    return longer_ ? longer_->fieldCode : std::string(code_, codeLength_);
  }
  Primitives::OVImmutableFormIdentifier getForm() const { return form_; }
  Primitives::OVImmutableIdentifier getField() const { return field_; }
  char getCleanKind() const { return cleanKind_; }
  char getPercentKind() const { return percentKind_; }
  std::string getFieldAttributes() const { return longer_ ? longer_->attributes : std::string(); }

 private:
  // A code of the usual length ("00005.999.001") is kept in place; a longer
  // one, and the attributes that only a list's first entry has, apart.
  static constexpr std::size_t kCodeRoom = 13;
  struct Longer {
    std::string fieldCode;
    std::string attributes;
  };
  Primitives::OVImmutableFormIdentifier form_;
  Primitives::OVImmutableIdentifier field_;
  std::unique_ptr<const Longer> longer_;  // null: the code is in place, no attributes
  char code_[kCodeRoom];
  unsigned char codeLength_;
  char cleanKind_;
  char percentKind_;
};

// One kind of return and the descriptors of its forms.
class HOST_API TaxReturnDesc {
 public:
  TaxReturnDesc(TaxReturnType type, const std::string& abbreviation, const std::string& firstName,
                const std::string& secondName, const std::string& displayName);
  ~TaxReturnDesc();
  TaxReturnDesc(const TaxReturnDesc&) = delete;
  TaxReturnDesc& operator=(const TaxReturnDesc&) = delete;

  TaxReturnType getReturnType() const { return type_; }
  std::string getAbbreviation() const { return abbreviation_; }
  std::string getFirstName() const { return firstName_; }
  std::string getSecondName() const { return secondName_; }
  std::string getDisplayName() const { return displayName_; }
  bool isStateReturn() const { return type_ != 1; }  // ours

  // Ascending by form identifier ("host order").
  std::vector<TaxFormDescPtr> getTaxFormDescriptors() const;
  // In registration order (display order).
  std::vector<TaxFormDescPtr> getTaxFormDescriptorsInDisplayOrder() const;
  // A share of the form's descriptor; empty for an unknown form.
  TaxFormDescPtr getTaxFormDescriptor(const Primitives::OVImmutableFormIdentifier& form) const;
  // The form whose developer name, upper-cased
  // (Utils::OVStringUtils::toUpperCase), is `upperName`: of two such forms
  // the first in host order; an invalid identifier when none is (ours).
  Primitives::OVImmutableFormIdentifier findFormNamed(const std::string& upperName) const;
  // The kept list of data-file descriptors of a form; an empty list when
  // the form has none. The host keeps ownership.
  TifFieldDescriptorListPtr& getTifFieldDescriptors(const Primitives::OVImmutableFormIdentifier& form);

  // Building (ours).
  void registerForm(const TaxFormDescPtr& form);
  void setTifFieldDescriptors(const Primitives::OVImmutableFormIdentifier& form,
                              const TifFieldDescriptorListPtr& list);
  // Lists made on first use: `source` sets a form's list (with
  // setTifFieldDescriptors) the first time the form's list is asked for.
  using TifListSource = std::function<void(TaxReturnDesc&, const Primitives::OVImmutableFormIdentifier&)>;
  void setTifListSource(TifListSource source) { tifSource_ = std::move(source); }

  // The stand-in's generated descriptions (ours): the federal return
  // (type 1, "US") and the PA return (type 40, "PA"). Each call gives a new
  // share of one description per process.
  static TaxReturnDescPtr federal();
  static TaxReturnDescPtr pennsylvania();

 private:
  TaxReturnType type_;
  std::string abbreviation_;
  std::string firstName_;
  std::string secondName_;
  std::string displayName_;
  std::map<Primitives::OVImmutableFormIdentifier, TaxFormDescPtr> forms_;
  std::vector<TaxFormDescPtr> displayOrder_;
  std::map<Primitives::OVImmutableFormIdentifier, TifFieldDescriptorListPtr> tifLists_;
  TifFieldDescriptorListPtr emptyTifList_;
  TifListSource tifSource_;
  std::set<Primitives::OVImmutableFormIdentifier> tifAsked_;  // forms the source has seen
  // Every form by upper-cased developer name, in name order and, for equal
  // names, in host order: made on first use.
  mutable std::vector<std::pair<std::string, Primitives::OVImmutableFormIdentifier>> byUpperName_;
};

}  // namespace DataMgmt

#endif  // HOST_DESCRIPTORS_H_
