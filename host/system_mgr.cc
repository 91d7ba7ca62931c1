#include "host/system_mgr.h"

#include "host/stand_in.h"

namespace SystemMgmt {
namespace {

const char kDefaultDeviceId[] = "STANDIN-DEVICE-ID";

std::string& deviceId() {
  static std::string id = kDefaultDeviceId;
  return id;
}

const StandIn::ResetHook kResetDeviceId([] { deviceId() = kDefaultDeviceId; });

}  // namespace

std::string SystemMgr::getIRSDeviceID() { return deviceId(); }
void SystemMgr::setIRSDeviceID(const std::string& id) { deviceId() = id; }

}  // namespace SystemMgmt
