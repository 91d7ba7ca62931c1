#include "host/data_store.h"

#include "host/tax_form.h"

namespace DataMgmt {

TaxDataStore::TaxDataStore() = default;
TaxDataStore::~TaxDataStore() = default;

TaxReturn* TaxDataStore::getTaxReturn(TaxReturnType type) const {
  auto it = returns_.find(type);
  return it == returns_.end() ? nullptr : it->second.get();
}

TaxReturnPtr TaxDataStore::getTaxReturnPtr(TaxReturnType type) const {
  auto it = returns_.find(type);
  return it == returns_.end() ? TaxReturnPtr() : it->second;
}

void TaxDataStore::addReturn(TaxReturnType type, const TaxReturnPtr& taxReturn) {
  returns_[type] = taxReturn;
}

TaxReturnHandle::TaxReturnHandle() = default;
TaxReturnHandle::TaxReturnHandle(const TaxReturnPtr& taxReturn) : taxReturn_(taxReturn) {}
TaxReturnHandle::~TaxReturnHandle() = default;

void TaxReturnHandle::setFieldValueBool(const FormId& form, uint16_t copy, const FieldId& field,
                                        bool value) {
  if (taxReturn_.isNull()) return;
  TaxFormPtr target = taxReturn_->getFormUVPtr(form, copy, true);
  if (target.isNull()) return;
  if (value) {
    target->setX(field);
  } else {
    target->setXNo(field);
  }
}

TaxDataStoreHandle::TaxDataStoreHandle(TaxDataStore* store) : store_(store) {}
TaxDataStoreHandle::~TaxDataStoreHandle() = default;

TaxReturnHandle TaxDataStoreHandle::getTaxReturn(TaxReturnType type) const {
  if (store_ == nullptr) return TaxReturnHandle();
  return TaxReturnHandle(store_->getTaxReturnPtr(type));
}

}  // namespace DataMgmt
