// DataMgmt::TaxDataStore and its handles: the returns of one session.
//
// The store keeps a share of each return it holds, keyed by return type
// (1 federal, 40 PA); a type it does not hold reads as null. The handles
// are copyable values: a TaxDataStoreHandle borrows a store that must
// outlive it, a TaxReturnHandle keeps a share of its return (empty when
// the store does not hold the type, and then every write does nothing).
#ifndef HOST_DATA_STORE_H_
#define HOST_DATA_STORE_H_

#include <cstdint>
#include <map>

#include "host/descriptors.h"
#include "host/host_api.h"
#include "host/pointers.h"
#include "host/tax_return.h"

namespace DataMgmt {

class HOST_API TaxDataStore {
 public:
  TaxDataStore();
  ~TaxDataStore();
  TaxDataStore(const TaxDataStore&) = delete;
  TaxDataStore& operator=(const TaxDataStore&) = delete;

  // The return of `type` (borrowed); null when the store holds none.
  TaxReturn* getTaxReturn(TaxReturnType type) const;
  // A share of the return of `type`; empty when the store holds none (ours).
  TaxReturnPtr getTaxReturnPtr(TaxReturnType type) const;
  // Adds or replaces the return of `type`, keeping a share (ours).
  void addReturn(TaxReturnType type, const TaxReturnPtr& taxReturn);

 private:
  std::map<TaxReturnType, TaxReturnPtr> returns_;
};

// A handle on one return of a store.
class HOST_API TaxReturnHandle {
 public:
  TaxReturnHandle();
  explicit TaxReturnHandle(const TaxReturnPtr& taxReturn);
  ~TaxReturnHandle();
  TaxReturnHandle(const TaxReturnHandle&) = default;
  TaxReturnHandle& operator=(const TaxReturnHandle&) = default;

  // true marks the box, false writes an explicit No; the copy is created
  // when it does not exist yet.
  void setFieldValueBool(const FormId& form, uint16_t copy, const FieldId& field, bool value);
  TaxReturn* getTaxReturn() const { return taxReturn_.get(); }  // ours

 private:
  TaxReturnPtr taxReturn_;
};

// A handle on a store (borrowed).
class HOST_API TaxDataStoreHandle {
 public:
  explicit TaxDataStoreHandle(TaxDataStore* store = nullptr);
  ~TaxDataStoreHandle();
  TaxDataStoreHandle(const TaxDataStoreHandle&) = default;
  TaxDataStoreHandle& operator=(const TaxDataStoreHandle&) = default;

  TaxReturnHandle getTaxReturn(TaxReturnType type) const;
  TaxDataStore* getStore() const { return store_; }  // ours

 private:
  TaxDataStore* store_;
};

}  // namespace DataMgmt

#endif  // HOST_DATA_STORE_H_
