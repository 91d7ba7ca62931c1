#include "host/form_field.h"

#include "host/rounding.h"
#include "host/stand_in.h"
#include "host/string_pool.h"
#include "host/tax_form.h"

namespace DataMgmt {

FormField::FormField(const TaxFormPtr& copy, const Primitives::OVImmutableIdentifier& field)
    : copy_(copy), field_(field) {}

FormField::~FormField() = default;

long FormField::getValue() const {
  if (copy_.isNull()) return 0;
  // The value a module hands to getText: a text field's, or a misuse.
  const TaxFormDescPtr form = copy_->getTaxFormDescriptor();
  if (!form.isNull()) StandIn::noteTextUse(*form, field_, false);
  const FieldValue& v = copy_->stored(field_);
  switch (v.kind) {
    case FieldValue::kText:
      return Utils::StringPool::shared()->intern(v.text);
    case FieldValue::kNumber:
      return Utils::roundR(v.number);
    case FieldValue::kMark:
      return 1;
    default:
      return 0;
  }
}

std::string FormField::getValueText() const {
  return copy_.isNull() ? std::string() : copy_->valueText(field_);
}

void FormField::setNoEntry(bool noEntry) {
  if (!copy_.isNull()) copy_->setNoEntry(field_, noEntry);
}

bool FormField::isCalculated() const {
  FormFieldDescPtr desc = getFieldDesc();
  return !desc.isNull() && desc->isCalculated();
}

bool FormField::isTentative() const { return !copy_.isNull() && copy_->stored(field_).tentative; }

void FormField::setTentative(bool tentative) {
  if (!copy_.isNull()) copy_->setTentative(field_, tentative);
}

void FormField::setOverridden(bool overridden) {
  if (!copy_.isNull()) copy_->setOverridden(field_, overridden);
}

bool FormField::isOverridden() const { return !copy_.isNull() && copy_->stored(field_).overridden; }

FormFieldDescPtr FormField::getFieldDesc() const {
  if (copy_.isNull()) return FormFieldDescPtr();
  TaxFormDescPtr form = copy_->getTaxFormDescriptor();
  return form.isNull() ? FormFieldDescPtr() : form->getFieldDesc(field_);
}

}  // namespace DataMgmt
