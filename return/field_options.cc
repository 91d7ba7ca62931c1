#include "return/field_options.h"

#include <cstdio>

#include "catalogs/fields/fields.h"
#include "host/descriptors.h"
#include "host/form_field.h"
#include "host/string_utils.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"
#include "return/county_districts.h"
#include "return/pa_tax_return.h"

namespace FieldOptionsMgmt {

namespace {

// Buffer of the county text: the host's longest field text and a NUL.
constexpr int kCountyTextSize = 128;
// "name - 01110": a district name of at most 26 characters and a code.
constexpr int kDistrictDisplaySize = 64;

}  // namespace

PAFieldOptionsListFactory::~PAFieldOptionsListFactory() = default;

bool PAFieldOptionsListFactory::createOptionsList(DataMgmt::TaxFormPtr& form,
                                                  DataMgmt::FormFieldPtr& field,
                                                  Properties::DisplayValuePairs& pairs) {
  pairs.clear();
  if (form.isNull() || field.isNull()) return false;
  const DataMgmt::TaxFormDescPtr formDesc = form->getTaxFormDescriptor();
  if (formDesc.isNull() || formDesc->getTypeID() != kFormID_PAReturnInfo) return false;
  const DataMgmt::FormFieldDescPtr fieldDesc = field->getFieldDesc();
  const Primitives::OVImmutableIdentifier fieldId =
      fieldDesc.isNull() ? field->getID() : fieldDesc->getID();

  if (fieldId == PAReturnInfo::kCounty.id()) {
    addCounties(pairs);
    return true;
  }
  if (fieldId == PAReturnInfo::kSchoolDistrict.id()) {
    addSchoolDistricts(pairs);
    return true;
  }
  return false;
}

void PAFieldOptionsListFactory::addCounties(Properties::DisplayValuePairs& pairs) const {
  pairs.addPair("");
  for (int16_t i = 0;; ++i) {
    const PADataMgmt::CountyEntry county = taxReturn->getCountyEntry(i);
    if (county.name[0] == '\0') break;
    pairs.addPair(county.name);
  }
}

void PAFieldOptionsListFactory::addSchoolDistricts(Properties::DisplayValuePairs& pairs) const {
  pairs.addPair("");
  char countyText[kCountyTextSize];
  // The county is read on copy 1 whatever copy the host asks about.
  taxReturn->formString(countyText, sizeof countyText, kFormID_PAReturnInfo, 1, PAReturnInfo::kCounty);

  int32_t countyIndex = -1;
  for (int16_t i = 0;; ++i) {
    const PADataMgmt::CountyEntry county = taxReturn->getCountyEntry(i);
    if (county.name[0] == '\0') break;
    if (Utils::OVStringUtils::stricmp(county.name, countyText) == 0) {
      countyIndex = county.index;
      break;
    }
  }
  if (countyIndex < 0) return;

  for (int16_t j = 0;; ++j) {
    const PADataMgmt::SchoolDistrictEntry district = taxReturn->getSchoolDistrictEntry(j);
    if (district.countyIndex == PADataMgmt::kCountyCount) break;
    if (district.countyIndex != countyIndex) continue;
    char display[kDistrictDisplaySize];
    std::snprintf(display, sizeof display, "%s - %05d", district.name, district.code);
    pairs.addPair(display, district.name);
  }
}

}  // namespace FieldOptionsMgmt

namespace PADataMgmt {

void PATaxReturn::getFieldDisplayValuePairs(DataMgmt::TaxFormPtr& form,
                                            DataMgmt::FormFieldPtr& field,
                                            Properties::DisplayValuePairs& pairs) {
  FieldOptionsMgmt::PAFieldOptionsListFactory factory(this);
  if (!factory.createOptionsList(form, field, pairs)) {
    DataMgmt::TaxReturn::getFieldDisplayValuePairs(form, field, pairs);
  }
}

CountyEntry PATaxReturn::getCountyEntry(int16_t index) const { return countyRow(index); }

SchoolDistrictEntry PATaxReturn::getSchoolDistrictEntry(int16_t index) const {
  return schoolDistrictRow(index);
}

}  // namespace PADataMgmt
