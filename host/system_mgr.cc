#include "host/system_mgr.h"

#include <utility>

#include "host/stand_in.h"

namespace SystemMgmt {
namespace {

const char kDefaultDeviceId[] = "STANDIN-DEVICE-ID";

std::string& deviceId() {
  static std::string id = kDefaultDeviceId;
  return id;
}

// The clock set by a test or pahost; empty means the system clock.
std::function<std::time_t()>& currentClock() {
  static std::function<std::time_t()> set;
  return set;
}

const StandIn::ResetHook kResetDeviceId([] { deviceId() = kDefaultDeviceId; });
const StandIn::ResetHook kResetClock([] { currentClock() = nullptr; });

}  // namespace

std::string SystemMgr::getIRSDeviceID() { return deviceId(); }
void SystemMgr::setIRSDeviceID(const std::string& id) { deviceId() = id; }

std::time_t SystemMgr::getCurrentTime() {
  return currentClock() ? currentClock()() : std::time(nullptr);
}

void SystemMgr::setClock(std::function<std::time_t()> newClock) {
  currentClock() = std::move(newClock);
}

}  // namespace SystemMgmt
