// SystemMgmt::SystemMgr: facts about the machine the host runs on.
//
// The device identifier that electronic filing reports ("STANDIN-DEVICE-ID"
// unless a test sets another) and the current time, read from an
// injectable clock (ours) so that a test or pahost can fix the time stamps
// the module writes. StandIn::resetAll restores the identifier and the
// system clock.
#ifndef HOST_SYSTEM_MGR_H_
#define HOST_SYSTEM_MGR_H_

#include <ctime>
#include <functional>
#include <string>

#include "host/host_api.h"

namespace SystemMgmt {

class HOST_API SystemMgr {
 public:
  static std::string getIRSDeviceID();
  static void setIRSDeviceID(const std::string& id);  // ours

  // The current time, from the clock set last (the system clock when none
  // is set).
  static std::time_t getCurrentTime();  // ours
  // Replaces the clock; an empty function goes back to the system clock.
  static void setClock(std::function<std::time_t()> clock);  // ours
};

}  // namespace SystemMgmt

#endif  // HOST_SYSTEM_MGR_H_
