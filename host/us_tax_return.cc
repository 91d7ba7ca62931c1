#include "host/us_tax_return.h"

#include "host/string_pool.h"

namespace DataMgmt {

USTaxReturn::USTaxReturn(const TaxReturnDescPtr& desc)
    : TaxReturn(desc, Utils::StringPool::shared()) {}

USTaxReturn::~USTaxReturn() = default;

uint8_t USTaxReturn::getFilingStatus() {
  auto found = common_.find({0, 1});
  return found == common_.end() ? 1 : static_cast<uint8_t>(found->second);
}

long USTaxReturn::commonItem(int formNumber, int code) const {
  auto found = common_.find({formNumber, code});
  if (found != common_.end()) return found->second;
  found = common_.find({0, code});
  return found == common_.end() ? 0 : found->second;
}

double USTaxReturn::stateWages(char who) const {
  if (who == 1) return wages_.first;
  if (who == 10) return wages_.second;
  return wages_.first + wages_.second;
}

double USTaxReturn::allStateWages(char who) const {
  if (who == 1) return allWages_.first;
  if (who == 10) return allWages_.second;
  return allWages_.first + allWages_.second;
}

}  // namespace DataMgmt
