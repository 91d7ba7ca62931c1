// StateDataMgmt::StateTaxReturn: the host's base of every state return.
//
// It keeps shares of the federal return, its description and the string
// pool, and declares the block of state operations that a state module
// answers (abbreviation, name, information form, mapping, text items,
// mailing addresses). It offers the state layer's reads of the federal
// side: common items, W-2 and wage pulls, and field text that follows a
// federal form id to the kept federal return.
#ifndef HOST_STATE_TAX_RETURN_H_
#define HOST_STATE_TAX_RETURN_H_

#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "host/tax_return.h"
#include "host/utils_types.h"

namespace DataMgmt {
class USTaxReturn;
}  // namespace DataMgmt

namespace StateDataMgmt {

using DataMgmt::FieldId;
using DataMgmt::FormId;

enum typeDebugStateField { kFormNotMapped = 0, kFieldNotMapped = 1 };

class HOST_API StateTaxReturn : public DataMgmt::TaxReturn {
 public:
  StateTaxReturn(DataMgmt::TaxReturnPtr& federal, DataMgmt::TaxReturnDescPtr desc,
                 Utils::StringPoolPtr pool);
  ~StateTaxReturn() override;

  // The federal return this state return was made with (borrowed).
  DataMgmt::TaxReturn* getFederalReturn() const { return federal_.get(); }

  // The state block, answered by the state module.
  virtual void getStateAbbreviation(char* buf) = 0;
  virtual void getStateName(char* buf) = 0;
  virtual int32_t getStateNumber() = 0;
  virtual uint32_t getStateProductCode() = 0;
  virtual uint32_t getStateProductCode2() = 0;
  virtual FormId getInfoFormId() = 0;
  virtual FieldId getInfoFieldId31() = 0;
  virtual FieldId getInfoFieldId33() = 0;
  virtual FieldId getInfoFieldId34() = 0;
  virtual FieldId getInfoFieldId35() = 0;
  virtual FieldId getInfoFieldId36() = 0;
  virtual FieldId getInfoFieldId38() = 0;
  virtual FieldId getInfoFieldId39() = 0;
  virtual FieldId getInfoFieldId40() = 0;
  virtual FieldId getInfoFieldId2() = 0;
  virtual void mapStateField(const FormId& form, const FieldId& field, FormId& outForm,
                             FieldId& outField) = 0;
  virtual void getStateTextItem(char* buf, int32_t* amount, int item) = 0;
  virtual void getMailingAddress(char* buf, int kind) = 0;

  // Maps a field of a shared form to this state's copy and field. The base
  // answers (copy, kNullFieldID) and records the call.
  virtual void MapFormField(const FormId& form, uint16_t copy, FieldId field, uint16_t& outCopy,
                            FieldId& outField) const;

  // The amount as the number text of that field (at most 127 characters).
  void formatFieldString(char* buf, int32_t amount, const FormId& form, uint16_t copy,
                         const FieldId& field) const;
  bool InElf() const { return inElf_; }
  // Records (form, field, kind) for the host's diagnostics.
  void debugStateField(const FormId& form, const FieldId& field, typeDebugStateField kind,
                       uint32_t line) const;

  // Federal pulls (see USTaxReturn); 0 when the federal return is not one.
  // Each pull is recorded in the federal return's pullLog. A common item
  // saturates like every whole amount (Utils::kMaxWholeAmount).
  long pullCommon(const FormId& fedForm, uint16_t copy, Utils::PCTypes code) const;
  // Sums over the federal W-2 copies, in dollars: field f1 plus f2 (when
  // valid) of each copy, to w1 for the taxpayer's copies and copies marked
  // for neither, to w2 for copies marked for the spouse only.
  void getFromW2(const FormId& form, const FieldId& f1, const FieldId& f2, bool flag, double& w1,
                 double& w2) const;
  double getStateWages(char who) const;
  double getAllStateWages(char who) const;
  double getStateTaxWithheldNoLocal(uint8_t filingStatus) const;

  // Like formString, but a federal form id reads the kept federal return.
  char* textString(char* buf, const FormId& f, uint16_t c, const FieldId& fld) const;
  // Year (part 0), month (1) or day (2) of the date text in the field of
  // the copy in hand; 0 when missing or unreadable.
  int dateParse(DataMgmt::TaxFormPtr copy, const FieldId& field, Utils::DATEPARSE_TYPE part) const;
  void getRefundCode(char* buf) const;  // at most 15 characters and a NUL

  // The amount of text item 0, unless a test has set one.
  long taxBalance() const override;

  // Set to 1 by the module when an electronic-filing audit finds a problem.
  int32_t eFileAuditProblem = 0;

  // Test controls and records (ours).
  void setInElf(bool inElf) { inElf_ = inElf; }
  void setRefundCode(const std::string& code) { refundCode_ = code; }
  void setTaxBalance(long balance) {
    taxBalance_ = balance;
    taxBalanceSet_ = true;
  }
  std::vector<std::tuple<int, int, int>>& mapFormFieldCalls() const { return mapCalls_; }
  std::vector<std::tuple<FormId, int, int>>& debugStateFieldCalls() const { return debugCalls_; }

 private:
  DataMgmt::TaxReturnPtr federal_;  // the description and pool are kept by the base
  const DataMgmt::USTaxReturn* federalTables_;  // federal_ as one, found once; null when not
  // getFromW2's sums by (form, f1, f2), each with the form's version it was
  // made at (TaxReturn::formVersion): still good while that stands.
  struct W2Sums {
    std::pair<unsigned long, unsigned long> version;
    double w1, w2;
  };
  mutable std::map<std::tuple<int, int, int>, W2Sums> w2Sums_;
  bool inElf_ = false;
  std::string refundCode_;
  long taxBalance_ = 0;
  bool taxBalanceSet_ = false;
  mutable std::vector<std::tuple<int, int, int>> mapCalls_;            // (form, copy, field)
  mutable std::vector<std::tuple<FormId, int, int>> debugCalls_;      // (form, field, kind)
};

}  // namespace StateDataMgmt

#endif  // HOST_STATE_TAX_RETURN_H_
