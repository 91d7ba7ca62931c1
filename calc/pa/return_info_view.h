// InfoFormView: the information form's calculation's handle on the copy it
// calculates, naming the fields as PAReturnInfo's field table does.
//
// It holds a share of the copy and borrows the PA return for one
// calculation. "Marked" reads the copy in hand; "yes on copy 1" reads copy
// 1 of the form on the PA return, as several rules do.
#ifndef CALC_PA_RETURN_INFO_VIEW_H_
#define CALC_PA_RETURN_INFO_VIEW_H_

#include <cstddef>
#include <initializer_list>

#include "catalogs/fields/fields.h"
#include "host/form_defaults.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"
#include "return/pa_tax_return.h"

namespace PACalculationMgmt {

class PATaxReturnCalcEngine;

// A field of the information form.
typedef NamedField<PAReturnInfoFieldIds> InfoField;

// The codes of PATaxReturnCalcEngine::getFilerResidencyCode.
enum FilerResidencyCode : int {
  kFilerFullYearResident = 1,
  kFilerPartYearResident = 2,
  kFilerNonresident = 3,
};

class InfoFormView {
 public:
  // `form` must hold a copy.
  InfoFormView(DataMgmt::TaxFormPtr form, PADataMgmt::PATaxReturn& pa) : form_(form), pa_(pa) {}

  DataMgmt::TaxFormPtr holder() const { return form_; }
  DataMgmt::TaxForm& form() const { return *form_; }
  PADataMgmt::PATaxReturn& pa() const { return pa_; }

  bool marked(const InfoField& f) const { return form_->xMarked(f); }
  bool yesOnCopy1(const InfoField& f) const { return pa_.formYes(kFormID_PAReturnInfo, 1, f); }
  bool isNull(const InfoField& f) const { return form_->isNull(f); }

  void mark(const InfoField& f) const { form_->setX(f); }
  void unmark(const InfoField& f) const { form_->setXNo(f); }
  void setNull(const InfoField& f) const { form_->setNull(f); }
  void protect(std::initializer_list<InfoField> fields) const {
    for (const InfoField& f : fields) form_->makeProtected(f);
  }
  void unprotect(std::initializer_list<InfoField> fields) const {
    for (const InfoField& f : fields) form_->unProtect(f);
  }
  void protectAndNull(std::initializer_list<InfoField> fields) const {
    for (const InfoField& f : fields) form_->makeProtectedAndSetNull(f);
  }
  // The host's default of the box pair a/b: a is marked when neither is.
  void setDefault(const InfoField& a, const InfoField& b) const { Utils::setDefaultX(form_, a, a, b); }
  // The text of the field on copy `copy` of the information form.
  char* text(char* buf, std::size_t size, const InfoField& f, uint16_t copy = 1) const {
    return pa_.formString(buf, size, kFormID_PAReturnInfo, copy, f);
  }

 private:
  DataMgmt::TaxFormPtr form_;
  PADataMgmt::PATaxReturn& pa_;
};

// Rules 19 to 21 of the information form: county and school district from
// the host's state summary, and the five-digit school code looked up from
// the county and district names (return_info_school.cc).
void applyCountyAndSchoolCode(PATaxReturnCalcEngine& engine, const InfoFormView& info);

// The school code of the district row whose county and district names
// match (without regard to case), written "%05d" into `code` (at least 6
// bytes); false, `code` untouched, when no row matches.
bool lookupSchoolCode(const PADataMgmt::PATaxReturn& pa, const char* county, const char* district, char* code,
                      std::size_t size);

}  // namespace PACalculationMgmt

#endif  // CALC_PA_RETURN_INFO_VIEW_H_
