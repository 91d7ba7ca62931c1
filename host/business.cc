#include "host/business.h"

#include "host/stand_in.h"

namespace BusinessMgmt {
namespace {

const char kDefaultVersion[] = "1.0";

const StandIn::ResetHook kResetBusiness([] { BusinessMgr::getInstance().setVersion(kDefaultVersion); });

}  // namespace

BusinessMgr::BusinessMgr() : version_(kDefaultVersion) {}

BusinessMgr& BusinessMgr::getInstance() {
  static BusinessMgr instance;
  return instance;
}

std::string BusinessMgr::getVersion(const DataMgmt::TaxReturnDesc&) const { return version_; }

}  // namespace BusinessMgmt
