// SystemMgmt::SystemMgr: facts about the machine the host runs on.
//
// Only the device identifier that electronic filing reports is offered:
// "STANDIN-DEVICE-ID" unless a test sets another (StandIn::resetAll
// restores it).
#ifndef HOST_SYSTEM_MGR_H_
#define HOST_SYSTEM_MGR_H_

#include <string>

#include "host/host_api.h"

namespace SystemMgmt {

class HOST_API SystemMgr {
 public:
  static std::string getIRSDeviceID();
  static void setIRSDeviceID(const std::string& id);  // ours
};

}  // namespace SystemMgmt

#endif  // HOST_SYSTEM_MGR_H_
