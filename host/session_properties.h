// DataMgmt::SessionProperties: named settings of the current session.
//
// A small table of named 8-bit integers that the host fills for the
// interview (for example whether a topic was already visited). A missing
// property reads as 0. Handed out as a SessionPropertiesPtr; the holder
// that receives it owns its share.
#ifndef HOST_SESSION_PROPERTIES_H_
#define HOST_SESSION_PROPERTIES_H_

#include <cstdint>
#include <map>
#include <string>

#include "host/host_api.h"

namespace DataMgmt {

class HOST_API SessionProperties {
 public:
  SessionProperties();
  ~SessionProperties();

  bool propertyExists(const std::string& name) const;
  int8_t getOVInt8Property(const std::string& name) const;  // 0 when missing
  void setOVInt8Property(const std::string& name, int8_t value);  // ours

 private:
  std::map<std::string, int8_t> int8Properties_;
};

}  // namespace DataMgmt

#endif  // HOST_SESSION_PROPERTIES_H_
