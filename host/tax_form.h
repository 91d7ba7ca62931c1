// DataMgmt::TaxForm: one copy of one form of a return.
//
// A copy stores its fields' values (see field_value.h) and four flags: the
// calculated mark, the data-entered flag and the print flag (per copy), and
// the dirty flag it shares with its return. The host owns every copy and
// keeps a share of it; module holders may be released freely.
//
// Rules every operation follows:
// - A field id with number <= 0 reads as missing (0, "" or false) and a
//   write to it does nothing. A field never stored reads as null.
// - Writes name the target first. Value writes ignore protection, are
//   skipped while the target is overridden, store a non-finite result as
//   null, and set the return's dirty flag. Arithmetic results are numbers,
//   never null; nulls count as 0.
// - Box groups keep the first marked member in argument order and set the
//   other marked members to No; ids <= 0 and repeats are ignored.
#ifndef HOST_TAX_FORM_H_
#define HOST_TAX_FORM_H_

#include <cstdint>
#include <initializer_list>
#include <map>
#include <unordered_map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/descriptors.h"
#include "host/field_slots.h"
#include "host/field_value.h"
#include "host/form_field.h"
#include "host/form_identifier.h"
#include "host/host_api.h"
#include "host/identifier.h"
#include "host/pointers.h"

namespace DataMgmt {

// The writes that changed a value of a copy of one form (ours): in all,
// and by field number. A sum over the copies of a form holds while its
// field's count stands.
struct FormWrites {
  unsigned long count = 0;
  FieldSlots<unsigned long> byField;
};

class ChangeWatch;

// State shared by a return and its copies (ours).
struct ReturnState {
  bool saveNeeded = false;
  // The latest watch of the return's changes (change_watch.h), told of
  // each value before it changes; null while none is begun.
  ChangeWatch* watch = nullptr;
  std::unordered_map<long, FormWrites> valueWrites;  // by formKey
  // The field handle TaxForm::getField gives again once no caller holds
  // it. It keeps a share of the copy it was last aimed at; the return
  // lets it go when it is deleted.
  FormFieldPtr spareHandle;
};

// The changes made to the forms of every return in this process (ours): a
// value, flag or mark that became different, or a copy made. Between two
// equal counts nothing changed, so a step that ran between them changed
// nothing. noteChange counts one.
HOST_API unsigned long changeCount();
HOST_API void noteChange();

// The key of a form in ReturnState::valueWrites.
inline long formKey(const Primitives::OVImmutableFormIdentifier& form) {
  return 2L * form.getNumber() + (form.isStateForm() ? 1 : 0);
}

class HOST_API TaxForm {
 public:
  typedef Primitives::OVImmutableIdentifier FieldId;

  TaxForm(const TaxFormDescPtr& desc, uint16_t copy, std::shared_ptr<ReturnState> state);
  ~TaxForm();
  TaxForm(const TaxForm&) = delete;
  TaxForm& operator=(const TaxForm&) = delete;

  // Reads.
  long getIN(const FieldId& f) const;    // roundR of the number; text parsed; marks 0
  double getIR(const FieldId& f) const;  // the stored double, unchanged
  bool isNull(const FieldId& f) const;
  bool nonNull(const FieldId& f) const { return !isNull(f); }
  bool gtZero(const FieldId& f) const { return getIR(f) > 0; }
  bool nonZero(const FieldId& f) const { return getIR(f) != 0; }
  bool ltZero(const FieldId& f) const { return getIR(f) < 0; }
  bool xMarked(const FieldId& f) const;  // the value is the mark
  bool isNo(const FieldId& f) const;     // the value is an explicit No (ours)
  bool noOverride(const FieldId& f) const;
  bool isProtected(const FieldId& f) const;  // ours
  // The field's value text, at most 127 characters; `form` is not consulted.
  char* valueString(char* buf, const FieldId& f, const Primitives::OVImmutableFormIdentifier& form) const;
  std::string valueText(const FieldId& f) const;  // unbounded (ours)
  // The value text into `buf` of `size` bytes, at most size - 1
  // characters (ours).
  char* copyValueText(const FieldId& f, char* buf, std::size_t size) const;
  FormFieldPtr getField(const FieldId& f);
  uint16_t getCopyNumber() const { return copy_; }
  TaxFormDescPtr getTaxFormDescriptor() const { return desc_; }

  // Value writes.
  void assignIR(const FieldId& t, double value);
  void assignII(const FieldId& t, const FieldId& source);  // the whole value, null included
  void assignText(const FieldId& t, const char* text);
  void setNull(const FieldId& t);
  void zero(const FieldId& t);
  void plus2(const FieldId& t, const FieldId& a, const FieldId& b);
  void plus3(const FieldId& t, const FieldId& a, const FieldId& b, const FieldId& c);
  void plus4(const FieldId& t, const FieldId& a, const FieldId& b, const FieldId& c, const FieldId& d);
  void plus5(const FieldId& t, const FieldId& a, const FieldId& b, const FieldId& c, const FieldId& d,
             const FieldId& e);
  void plus6(const FieldId& t, const FieldId& a, const FieldId& b, const FieldId& c, const FieldId& d,
             const FieldId& e, const FieldId& f);
  void plus7(const FieldId& t, const FieldId& a, const FieldId& b, const FieldId& c, const FieldId& d,
             const FieldId& e, const FieldId& f, const FieldId& g);
  void plus8(const FieldId& t, const FieldId& a, const FieldId& b, const FieldId& c, const FieldId& d,
             const FieldId& e, const FieldId& f, const FieldId& g, const FieldId& h);
  // t := the sum of the listed fields. The C form takes pointers ended by a
  // null pointer or a pointer to an id <= 0 (kNullFieldID), at most 64.
  void setValueToSumOf(const FieldId& t, const FieldId* first, ...);
  void setValueToSumOf(const FieldId& t, std::initializer_list<FieldId> sources);
  void minusII(const FieldId& t, const FieldId& a, const FieldId& b);      // a - b
  void minusIIge0(const FieldId& t, const FieldId& a, const FieldId& b);   // max(0, a - b)
  void minusRI(const FieldId& t, double r, const FieldId& f);              // r - f
  void minII(const FieldId& t, const FieldId& a, const FieldId& b);
  void maxII(const FieldId& t, const FieldId& a, const FieldId& b);
  void minIR(const FieldId& t, const FieldId& source, double limit);
  void maxIR(const FieldId& t, const FieldId& source, double limit);
  void timesIR(const FieldId& t, const FieldId& f, double r);              // f * r
  // Sums of getIN, saturating at Utils::kMaxWholeAmount.
  long sumOf2(const FieldId& a, const FieldId& b) const;
  long sumOf3(const FieldId& a, const FieldId& b, const FieldId& c) const;
  long sumOf4(const FieldId& a, const FieldId& b, const FieldId& c, const FieldId& d) const;
  long sumOf5(const FieldId& a, const FieldId& b, const FieldId& c, const FieldId& d,
              const FieldId& e) const;
  long sumOf6(const FieldId& a, const FieldId& b, const FieldId& c, const FieldId& d,
              const FieldId& e, const FieldId& f) const;

  // Boxes. setX and setYes store the mark; setXNo stores No, replacing a
  // user's mark.
  void setX(const FieldId& f);
  void setYes(const FieldId& f) { setX(f); }
  void setXNo(const FieldId& f);
  void oneX(const FieldId& a, const FieldId& b, const FieldId& c = Primitives::kNullFieldID);
  void oneX3(const FieldId& a, const FieldId& b, const FieldId& c) { oneX(a, b, c); }
  void oneX9(const FieldId& a, const FieldId& b, const FieldId& c, const FieldId& d, const FieldId& e,
             const FieldId& f, const FieldId& g, const FieldId& h, const FieldId& i);
  // The one-mark rule, then the first id becomes the default when none is marked.
  void oneX2AndDefault(const FieldId& a, const FieldId& b);
  void oneX4AndDefault(const FieldId& a, const FieldId& b, const FieldId& c, const FieldId& d);
  void oneXAndDefault(const FieldId& a, const FieldId& b, const FieldId& c = Primitives::kNullFieldID,
                      const FieldId& d = Primitives::kNullFieldID,
                      const FieldId& e = Primitives::kNullFieldID,
                      const FieldId& f = Primitives::kNullFieldID,
                      const FieldId& g = Primitives::kNullFieldID,
                      const FieldId& h = Primitives::kNullFieldID,
                      const FieldId& i = Primitives::kNullFieldID,
                      const FieldId& j = Primitives::kNullFieldID);
  void setOptionGroupSelection(const FieldId* first, ...);
  void setOptionGroupSelection(std::initializer_list<FieldId> group);
  // The shared rules behind the group operations (ours).
  // With two or more marked, keeps the first mark and sets the others to No.
  void keepFirstMark(std::initializer_list<FieldId> group);
  // When no member holds the mark, marks the first and sets the others to
  // No; otherwise changes nothing (Utils::setDefaultX).
  void defaultMark(std::initializer_list<FieldId> group);
  // keepFirstMark, then defaultMark (the *AndDefault operations).
  void keepFirstMarkOrDefault(std::initializer_list<FieldId> group);

  // Protection (user entry only).
  void makeProtected(const FieldId& f);
  void unProtect(const FieldId& f);
  void makeProtectedAndSetNull(const FieldId& f);
  void unprotectAndMaybeSetNull(const FieldId& f);  // a protected field becomes unprotected and null

  // Flags.
  void setPrintingEnabled(bool enabled);
  bool isPrintFlag() const { return printFlag_; }
  void setCalcMark(bool marked);
  bool getCalcMark() const { return calcMark_; }
  bool isDataEntered() const { return dataEntered_; }
  // Sets the data-entered and print flags to `entered`; `byUser` is only
  // recorded (ours).
  void setDataEnteredFlag(bool entered, bool byUser = false);
  bool dataEnteredByUser() const { return dataEnteredByUser_; }  // ours

  // Stand-in access (ours). `stored` gives null for a field never stored;
  // `store` is the fixture back door: it writes any value and flags,
  // bypassing the override. `setFlag*` change a flag only.
  const FieldValue& stored(const FieldId& f) const;
  void store(const FieldId& f, const FieldValue& value);
  void setOverridden(const FieldId& f, bool overridden);
  void setTentative(const FieldId& f, bool tentative);
  void setNoEntry(const FieldId& f, bool noEntry);
  // Every stored field by number, a snapshot in ascending order.
  std::map<int, FieldValue> fields() const;
  // Significant: a number other than 0, a text with a non-blank, or the mark (ours).
  bool hasSigValue(const FieldId& f) const;
  unsigned char editCodeOf(const FieldId& f) const;  // 0 for a field not in the form (ours)
  // Whether a stored field is overridden or tentative (ours): a walk over
  // the form's fields for those finds none when this is false.
  bool holdsOverrideOrTentative() const;
  // The writes that changed a value of this copy, of all that its form's
  // copies count together (ours).
  unsigned long copyWrites() const { return copyWrites_; }

 private:
  friend class TaxReturn;  // sets the holder and copies values across copies

  // Tells the return's watch, if any, the value `f` holds before it changes.
  void noteBeforeChange(const FieldId& f, const FieldValue& before) const;
  // Notes a read of `f` as a text (StandIn::noteTextUse), by the traits
  // kept beside its value when it is stored.
  void noteTextRead(const FieldId& f) const;
  // Stores a value (null, a number, a text, the mark or No) into t,
  // keeping t's flags; see the rules above.
  void write(const FieldId& t, FieldValue::Kind kind, double number = 0.0, std::string_view text = {});
  struct Slot;
  // write() into the slot of t, found already.
  void writeInto(Slot& written, const FieldId& t, FieldValue::Kind kind, double number = 0.0,
                 std::string_view text = {});
  // Counts a write to a field the form lacks, or notes a text written into
  // a field of another kind.
  void noteOddWrite(const FieldId& t, const FieldTraits& field);
  // Stores a value that differs from the one held, counting the change
  // and telling the return's watch.
  void changeValue(FieldValue& target, const FieldId& t, FieldValue::Kind kind, double number,
                   std::string_view text);
  void writeNumber(const FieldId& t, double value);
  // Stores the value of field f of `source` (null when there is no
  // source) into t; `source` may be this copy.
  void copyValue(const FieldId& t, const TaxForm* source, const FieldId& f);
  // `group` lists field numbers (size() and operator[]).
  template <class Group>
  void applyGroup(const Group& group, bool keepFirst, bool withDefault);

  TaxFormDescPtr desc_;
  uint16_t copy_;
  std::shared_ptr<ReturnState> state_;
  FormWrites* valueWrites_;  // this form's counts in state_
  unsigned long copyWrites_ = 0;  // this copy's part of valueWrites_->count
  void countValueWrite(const FieldId& t);
  // A stored field: its value and its traits (unknown for a field the form
  // does not have), looked up once when the slot is made. The traits take
  // the last bytes of the value's room, so a slot is no larger than a value.
  struct Slot : FieldValue {
    FieldTraits traits;
  };
  Slot& slot(const FieldId& f);  // made on first use (newSlot)
  Slot& newSlot(const FieldId& f);
  const FieldValue& valueOf(const FieldId& f) const;  // stored()
  FieldSlots<Slot> fields_;  // by field number
  bool calcMark_ = false;
  bool dataEntered_ = false;
  bool printFlag_ = false;
  bool dataEnteredByUser_ = false;
  // The return's holder of this copy, so that getField can share it; null
  // once the return is gone.
  TaxFormPtr* holder_ = nullptr;
};

}  // namespace DataMgmt

#endif  // HOST_TAX_FORM_H_
