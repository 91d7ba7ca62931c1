// PADataMgmt::PATaxReturn: the Pennsylvania state return as the module
// presents it to the host.
//
// The host creates it through createTaxReturnInstance and deletes it
// through its virtual destructor. It holds no data of its own: every answer
// is a constant or is read from the host's return data on each call, so
// answers follow the user's entries at once. The host base keeps the shares
// of the federal return, the description and the string pool.
//
// Missing data gives the defaults: with no PA return information form the
// filing status is 1, the residency 0 and the federal main form
// kFormID_FedReturn; a missing line field reads 0.
//
// Text results go into caller buffers whose size the host's interface does
// not pass; each operation documents the size a caller must supply and
// never writes past it.
#ifndef RETURN_PA_TAX_RETURN_H_
#define RETURN_PA_TAX_RETURN_H_

#include <cstdint>

#include "host/display_value_pairs.h"
#include "host/state_tax_return.h"
#include "return/county_districts.h"

namespace PADataMgmt {

class PATaxReturn : public StateDataMgmt::StateTaxReturn {
 public:
  typedef DataMgmt::FormId FormId;
  typedef DataMgmt::FieldId FieldId;

  // Buffer sizes callers must supply (bytes, terminator included).
  static constexpr int kAbbreviationBufferSize = 3;   // "PA"
  static constexpr int kStateNameBufferSize = 13;     // "Pennsylvania"
  // Mailing addresses and text items: every text of either operation fits.
  static constexpr int kTextBufferSize = 256;

  // getStateLineValue answers lines 1 to kLineCount; the ones named here
  // are read by the text items and the mailing-address choice.
  static constexpr int kLineCount = 30;
  static constexpr int kLineTax = 14;
  static constexpr int kLineRefund = 16;
  static constexpr int kLineAmountOwed = 17;

  // The first pointer goes to the base by reference, the others as copies;
  // the three arguments are released before the constructor returns.
  PATaxReturn(DataMgmt::TaxReturnPtr federal, DataMgmt::TaxReturnDescPtr desc,
              Utils::StringPoolPtr pool);
  ~PATaxReturn() override;

  // Host virtual operations.
  void MapFormField(const FormId& form, uint16_t copy, FieldId field, uint16_t& outCopy,
                    FieldId& outField) const override;
  uint8_t getFilingStatus() override;  // readFilingStatus of the information form
  FormId getMainFormId() override;     // kFormID_PA40
  void getFieldDisplayValuePairs(DataMgmt::TaxFormPtr& form, DataMgmt::FormFieldPtr& field,
                                 Properties::DisplayValuePairs& pairs) override;
  // On copy 1 of State14. Flag true: unmarks the update-on-next box and
  // marks the state flag box. Flag false: marks the second update box, then
  // unmarks the update-on-next box and the state flag box.
  void setStateFlagMarks(bool flag) override;

  // The state block.
  void getStateAbbreviation(char* buf) override;  // kAbbreviationBufferSize bytes
  void getStateName(char* buf) override;          // kStateNameBufferSize bytes
  int32_t getStateNumber() override;              // 39
  uint32_t getStateProductCode() override;        // "OV0K", first character high
  uint32_t getStateProductCode2() override;       // the same code
  FormId getInfoFormId() override;                // kFormID_PAReturnInfo
  FieldId getInfoFieldId31() override;
  FieldId getInfoFieldId33() override;
  FieldId getInfoFieldId34() override;
  FieldId getInfoFieldId35() override;
  FieldId getInfoFieldId36() override;
  FieldId getInfoFieldId38() override;
  FieldId getInfoFieldId39() override;
  FieldId getInfoFieldId40() override;
  FieldId getInfoFieldId2() override;
  // Where a federal field lives in the state return. A field number <= 0
  // asks for the form as a whole (outForm); otherwise outField answers.
  // Unknown forms and fields leave both answers empty and are reported to
  // debugStateField. Asking for Fed131::kStateReturnChoice also marks
  // PAReturnInfo::kFederalAnsweredBox (when its copy 1 exists).
  void mapStateField(const FormId& form, const FieldId& field, FormId& outForm,
                     FieldId& outField) override;
  // Item `code` into `buf` (kTextBufferSize bytes) and `*amount`; both are
  // cleared first. A null `amount` is allowed.
  void getStateTextItem(char* buf, int32_t* amount, int code) override;
  // The Department of Revenue address of `kind` (0: chosen by the return;
  // 2, 3: payment) into `buf` (kTextBufferSize bytes); "" for other kinds.
  void getMailingAddress(char* buf, int kind) override;

  // Plain operations for the other subsystems. The filing-status and
  // residency readers create copy 1 of the information form (empty) when
  // it is missing; the federal-variant reader does not.
  // A FilingStatus (return_codes.h) from the filing-status marks; `form`
  // is not used.
  uint8_t readFilingStatus(const FormId& form);
  // A Residency (return_codes.h): nonresident, else part-year resident,
  // else full-year resident; full-year for any form other than
  // kFormID_PAReturnInfo.
  int32_t readResidencyStatus(const FormId& form);
  // kFormID_Fed55, kFormID_Fed87 or kFormID_FedReturn, by the variant marks.
  FormId readFederalReturnForm();
  FormId getPA40FormId() const;
  // The value of line 1..30 on copy 1 (`copy` is not used); 0 for a line
  // without a field, a form other than the line's, or a Schedule OC line
  // while the filing status is joint. Values beyond 32 bits are clamped.
  int32_t getStateLineValue(const FormId& form, uint16_t copy, int32_t line);

  // Option-list rows (see county_districts.h). An index outside the table
  // gives the end row.
  CountyEntry getCountyEntry(int16_t index) const;
  SchoolDistrictEntry getSchoolDistrictEntry(int16_t index) const;
};

// The label under which the tax summary report shows line `line` of
// getStateLineValue; "" for a line the report does not show.
const char* stateLineSummaryLabel(int32_t line);

}  // namespace PADataMgmt

#endif  // RETURN_PA_TAX_RETURN_H_
