// FieldOptionsMgmt::PAFieldOptionsListFactory: builds the option lists of
// the PA return information form's county and school-district fields.
//
// One factory is made per request, over the PA return it serves (borrowed,
// never owned), and ends with the request. The county list is a blank
// choice and the 67 counties; the school-district list is a blank choice
// and the districts of the county the county field holds (compared without
// regard to case), each shown as "name - 01110" with the name as value. A
// county text that names no county gives the blank choice alone.
#ifndef RETURN_FIELD_OPTIONS_H_
#define RETURN_FIELD_OPTIONS_H_

#include "host/display_value_pairs.h"
#include "host/pointers.h"

namespace PADataMgmt {
class PATaxReturn;
}  // namespace PADataMgmt

namespace FieldOptionsMgmt {

class PAFieldOptionsListFactory {
 public:
  explicit PAFieldOptionsListFactory(PADataMgmt::PATaxReturn* taxReturn) : taxReturn(taxReturn) {}
  virtual ~PAFieldOptionsListFactory();

  // Empties `pairs`, then fills it for the county or school-district field
  // and returns true; returns false (the list left empty) for any other
  // field or form.
  bool createOptionsList(DataMgmt::TaxFormPtr& form, DataMgmt::FormFieldPtr& field,
                         Properties::DisplayValuePairs& pairs);

 private:
  void addCounties(Properties::DisplayValuePairs& pairs) const;
  void addSchoolDistricts(Properties::DisplayValuePairs& pairs) const;

  PADataMgmt::PATaxReturn* taxReturn;
};

}  // namespace FieldOptionsMgmt

#endif  // RETURN_FIELD_OPTIONS_H_
