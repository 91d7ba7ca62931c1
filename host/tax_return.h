// DataMgmt::TaxReturn: one return (federal or state) as the host holds it.
//
// A return holds copies of the forms of its own side only; a form id of
// the other side, copy 0, a copy that does not exist, a field never stored
// and an id <= 0 all read as missing (0, "" or false), and writes to them
// do nothing. Reads never create copies. The return owns its copies and
// keeps a share of each; copy numbers run from 1 to the form's copy limit.
// Copy counts (getMaxCopies, getFormCount, numFormCopies) are the highest
// existing copy number, 0 when there is none.
#ifndef HOST_TAX_RETURN_H_
#define HOST_TAX_RETURN_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "host/descriptors.h"
#include "host/display_value_pairs.h"
#include "host/form_identifier.h"
#include "host/host_api.h"
#include "host/identifier.h"
#include "host/pointers.h"
#include "host/session_properties.h"
#include "host/string_pool.h"
#include "host/tax_form.h"

namespace DataMgmt {

typedef Primitives::OVImmutableFormIdentifier FormId;
typedef Primitives::OVImmutableIdentifier FieldId;

// The existing copies of one form, in ascending copy number. Never yields
// an empty holder.
class HOST_API TaxFormIter {
 public:
  explicit TaxFormIter(std::vector<TaxFormPtr> copies = {});
  bool atEOL() const { return pos_ >= copies_.size(); }
  void next() { ++pos_; }
  TaxFormPtr getTaxForm() const;  // empty at the end

 private:
  std::vector<TaxFormPtr> copies_;
  std::size_t pos_ = 0;
};

// Every form of a return that has at least one copy, in ascending form id.
class HOST_API ReturnFormsIter {
 public:
  explicit ReturnFormsIter(std::vector<std::pair<FormId, TaxFormIter>> forms = {});
  bool atEOL() const { return pos_ >= forms_.size(); }
  void next() { ++pos_; }
  FormId getFormId() const;
  TaxFormIter getTaxFormIter() const;

 private:
  std::vector<std::pair<FormId, TaxFormIter>> forms_;
  std::size_t pos_ = 0;
};

class HOST_API TaxReturn {
 public:
  TaxReturn(const TaxReturnDescPtr& desc, const Utils::StringPoolPtr& pool);
  virtual ~TaxReturn();
  TaxReturn(const TaxReturn&) = delete;
  TaxReturn& operator=(const TaxReturn&) = delete;

  // Reads by (form, copy, field).
  long getIN(const FormId& f, uint16_t c, const FieldId& fld) const;
  double getIR(const FormId& f, uint16_t c, const FieldId& fld) const;
  bool formYes(const FormId& f, uint16_t c, const FieldId& fld) const;
  bool formNo(const FormId& f, uint16_t c, const FieldId& fld) const;
  // Significant: a number other than 0, a text with a non-blank, or the mark.
  bool hasSigValue(const FormId& f, uint16_t c, const FieldId& fld) const;
  bool noSigValue(const FormId& f, uint16_t c, const FieldId& fld) const;
  bool greaterThanZero(const FormId& f, uint16_t c, const FieldId& fld) const;
  bool isNull(const FormId& f, uint16_t c, const FieldId& fld) const;
  // The value text into `buf`: at most 127 characters and a NUL (the first
  // form needs 128 bytes), or at most size - 1 characters.
  char* formString(char* buf, const FormId& f, uint16_t c, const FieldId& fld) const;
  char* formString(char* buf, std::size_t size, const FormId& f, uint16_t c, const FieldId& fld) const;
  std::string getFieldAsString(const FormId& f, uint16_t c, const FieldId& fld) const;
  // The text of a string-pool handle, cut to min(width, 127); `just` 0 is
  // left-aligned without padding. An unknown handle gives "".
  char* getText(char* buf, long value, int width, int just) const;
  char* getLineID(char* buf, const FormId& f, const FieldId& fld) const;  // <= 31 characters
  char* formName(char* buf, const FormId& f, int kind) const;             // <= 255 characters
  char* buildCleanFormName(char* buf, const FormId& f, int kind) const;   // <= 255 characters
  // Appends " " and the field's text to `value` (a 512-byte buffer) when
  // that text is not empty.
  void tifAppendAPTtoStreet(char* value, const FormId& f, uint16_t c, const FieldId& fld) const;
  // Marks the box (true) or writes an explicit No (false) on an existing copy.
  void setXValue(const FormId& f, uint16_t c, const FieldId& fld, bool marked);

  // Copies.
  // A reference to the host's holder of the copy. A missing copy with
  // `create` false, or one that cannot be made (copy 0, the other side, a
  // form the description lacks, a copy above the form's copy limit), gives
  // a reference to an empty holder of this return, emptied before every
  // use. Copies are created with null fields.
  TaxFormPtr& getFormUVPtr(const FormId& f, uint16_t c, bool create);
  TaxFormPtr getFormOrCreate(const FormId& f, uint16_t c);
  TaxForm* getForm(const FormId& f, uint16_t c) const;  // borrowed; null when missing
  bool formExists(const FormId& f, uint16_t c) const;
  // Deletes copy `c` of `f`, as the user deletes a form: its fields read as
  // null from now on and no other copy is renumbered. A missing copy is
  // left alone. A share of the copy held elsewhere stays valid, with no
  // holder here.
  void deleteForm(const FormId& f, uint16_t c);
  uint16_t getMaxCopies(const FormId& f) const;
  uint16_t getFormCount(const FormId& f) const { return getMaxCopies(f); }
  uint16_t numFormCopies(const FormId& f) const { return getMaxCopies(f); }
  TaxFormIter getForms(const FormId& f) const;
  ReturnFormsIter getForms() const;
  long getAllCopies(const FormId& f, const FieldId& fld) const;  // sum of getIN, saturating
  // A version of the values of every copy of `f` (ours): it changes
  // whenever a value of a copy of `f` changes and whenever a copy of any
  // form is made or dropped, so what was read from every copy of `f` still
  // holds while it stands.
  std::pair<unsigned long, unsigned long> formVersion(const FormId& f) const;
  // The same, leaving out the value changes of copy `exceptCopy` (ours; 0
  // leaves out none): it stands while only that copy changes, so what was
  // read from every other copy of `f` still holds while it stands.
  std::pair<unsigned long, unsigned long> formVersion(const FormId& f, uint16_t exceptCopy) const;
  void getAllCopiesII(const FormId& f, const FieldId& fld, TaxFormPtr target, const FieldId& tfld) const;
  // Copies the whole value of copy 1 (getIIM: of `srcCopy`) of a form of
  // this return into the target; a missing source writes null.
  void getII(FormId src, FieldId sfld, TaxFormPtr target, FieldId tfld) const;
  void getIIM(const FormId& src, const FieldId& sfld, uint16_t srcCopy, TaxFormPtr target,
              const FieldId& tfld) const;
  // Sets the copy's data-entered flag and its print flag to `entered`.
  void setDataEntered(const FormId& f, uint16_t c, bool entered, bool byUser);
  bool isSaveNeeded() const { return state_->saveNeeded; }
  void setSaveNeeded(bool needed) { state_->saveNeeded = needed; }  // ours

  // Return level.
  TaxFormDescPtr getTaxFormDescriptor(const FormId& f) const;
  TaxReturnDescPtr getTaxReturnDesc() const { return desc_; }
  TaxReturnType getReturnType() const;
  std::string getAbbreviation() const;
  std::string getDisplayName() const;
  std::string getOfficeLocatorURL(TaxReturnType type) const;
  SessionPropertiesPtr getSessionProperties() const;
  Utils::StringPoolPtr getStringPool() const { return pool_; }  // ours

  virtual uint8_t getFilingStatus();
  virtual FormId getMainFormId();
  virtual void setStateFlagMarks(bool flag);
  // Appends the stand-in's option list for (form, field); never clears.
  virtual void getFieldDisplayValuePairs(TaxFormPtr& form, FormFieldPtr& field,
                                         Properties::DisplayValuePairs& pairs);
  virtual bool isForm2555Present() const;
  virtual long taxBalance() const;

  // Test controls (ours).
  void setOfficeLocatorURL(const std::string& url) { officeLocatorURL_ = url; }
  void setForm2555Present(bool present) { form2555Present_ = present; }
  void setSessionProperties(const SessionPropertiesPtr& properties);
  void setFieldOptions(const FormId& f, const FieldId& fld, const Properties::DisplayValuePairs& options);
  // Drops every copy of every form (shares held elsewhere stay valid).
  void removeAllForms();

 protected:
  bool holdsSide(const FormId& f) const;  // the form is of this return's side and not empty

 private:
  friend class ChangeWatch;  // tells and reads the state, finds copies

  // The copies of one form: their holders by copy number (a holder never
  // moves, so references to it stay good), and the same holders in a
  // vector by copy number (null where there is none), so that finding a
  // copy among hundreds is one step.
  struct Copies {
    std::map<uint16_t, TaxFormPtr> holders;
    std::vector<TaxFormPtr*> byNumber;
    TaxFormPtr* holderOf(uint16_t c) const { return c < byNumber.size() ? byNumber[c] : nullptr; }
  };
  TaxForm* find(const FormId& f, uint16_t c) const;
  // The copies of `f`, null when the return has none. Forms found are
  // remembered in a small table by form number: a calculation asks of a
  // few forms many times over.
  Copies* copiesOf(const FormId& f) const;
  unsigned long writesOf(const FormId& f) const;  // value changes of every copy of f
  struct Recent {
    long key = 0;              // formKey of the form
    Copies* copies = nullptr;  // a node of copies_: never moves
  };

  TaxReturnDescPtr desc_;
  Utils::StringPoolPtr pool_;
  std::shared_ptr<ReturnState> state_;
  std::map<FormId, Copies> copies_;
  mutable std::array<Recent, 64> recent_;
  unsigned long copiesMade_ = 0;  // copies made or dropped, of every form
  TaxFormPtr emptyHolder_;
  const TaxFormDescPtr emptyDesc_;  // shared by the lookups that make no copy
  std::string officeLocatorURL_ = "https://example.invalid/office";
  bool form2555Present_ = false;
  SessionPropertiesPtr sessionProperties_;
  std::map<std::pair<FormId, int>, Properties::DisplayValuePairs> fieldOptions_;
  // getAllCopies sums by (form, field), each with the field's value-write
  // count and the form's copy count it was made at: still good while both
  // stand.
  struct CopiesSum {
    unsigned long valueWrites;
    std::size_t copies;
    long sum;
  };
  // Keyed by formKey in the high half and the field number in the low.
  mutable std::unordered_map<unsigned long long, CopiesSum> copiesSums_;
};

}  // namespace DataMgmt

#endif  // HOST_TAX_RETURN_H_
