// InfoFormView: the information form's calculation's handle on the copy it
// calculates, naming the fields by InfoMember (return_info_field_ids.h).
//
// It holds a share of the copy and borrows the PA return for one
// calculation. "Marked" reads the copy in hand; "yes on copy 1" reads copy
// 1 of the form on the PA return, as several rules do.
#ifndef CALC_PA_RETURN_INFO_VIEW_H_
#define CALC_PA_RETURN_INFO_VIEW_H_

#include <cstddef>
#include <initializer_list>

#include "calc/pa/return_info_field_ids.h"
#include "entry/pa_tax_return.h"
#include "host/form_defaults.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"

namespace PACalculationMgmt {

class PATaxReturnCalcEngine;

class InfoFormView {
 public:
  // `form` must hold a copy.
  InfoFormView(DataMgmt::TaxFormPtr form, PADataMgmt::PATaxReturn& pa) : form_(form), pa_(pa) {}

  DataMgmt::TaxFormPtr holder() const { return form_; }
  DataMgmt::TaxForm& form() const { return *form_; }
  PADataMgmt::PATaxReturn& pa() const { return pa_; }

  bool marked(InfoMember m) const { return form_->xMarked(infoField(m)); }
  bool yesOnCopy1(InfoMember m) const { return pa_.formYes(kFormID_PAReturnInfo, 1, infoField(m)); }
  bool isNull(InfoMember m) const { return form_->isNull(infoField(m)); }

  void mark(InfoMember m) const { form_->setX(infoField(m)); }
  void unmark(InfoMember m) const { form_->setXNo(infoField(m)); }
  void setNull(InfoMember m) const { form_->setNull(infoField(m)); }
  void protect(std::initializer_list<InfoMember> fields) const {
    for (InfoMember m : fields) form_->makeProtected(infoField(m));
  }
  void unprotect(std::initializer_list<InfoMember> fields) const {
    for (InfoMember m : fields) form_->unProtect(infoField(m));
  }
  void protectAndNull(std::initializer_list<InfoMember> fields) const {
    for (InfoMember m : fields) form_->makeProtectedAndSetNull(infoField(m));
  }
  // The host's default of the box pair a/b: a is marked when neither is.
  void setDefault(InfoMember a, InfoMember b) const {
    Utils::setDefaultX(form_, infoField(a), infoField(a), infoField(b));
  }
  // The text of the field on copy `copy` of the information form.
  char* text(char* buf, std::size_t size, InfoMember m, uint16_t copy = 1) const {
    return pa_.formString(buf, size, kFormID_PAReturnInfo, copy, infoField(m));
  }

 private:
  DataMgmt::TaxFormPtr form_;
  PADataMgmt::PATaxReturn& pa_;
};

// Rules 19 to 21 of the information form: county and school district from
// the host's state summary, and the five-digit school code (field 91)
// looked up from the county and district names (return_info_school.cc).
void applyCountyAndSchoolCode(PATaxReturnCalcEngine& engine, const InfoFormView& info);

// The school code of the district row whose county and district names
// match (without regard to case), written "%05d" into `code` (at least 6
// bytes); false, `code` untouched, when no row matches.
bool lookupSchoolCode(const PADataMgmt::PATaxReturn& pa, const char* county, const char* district, char* code,
                      std::size_t size);

}  // namespace PACalculationMgmt

#endif  // CALC_PA_RETURN_INFO_VIEW_H_
