// BusinessMgmt::BusinessMgr: the host's product information.
//
// One instance per process. It answers the version of a return's module;
// the stand-in answers one settable text for every return ("1.0" by
// default, restored by StandIn::resetAll).
#ifndef HOST_BUSINESS_H_
#define HOST_BUSINESS_H_

#include <string>

#include "host/descriptors.h"
#include "host/host_api.h"

namespace BusinessMgmt {

class HOST_API BusinessMgr {
 public:
  static BusinessMgr& getInstance();

  std::string getVersion(const DataMgmt::TaxReturnDesc& desc) const;
  void setVersion(const std::string& version) { version_ = version; }  // ours

 private:
  BusinessMgr();
  BusinessMgr(const BusinessMgr&) = delete;
  BusinessMgr& operator=(const BusinessMgr&) = delete;

  std::string version_;
};

}  // namespace BusinessMgmt

#endif  // HOST_BUSINESS_H_
