#include "host/session_properties.h"

namespace DataMgmt {

SessionProperties::SessionProperties() = default;
SessionProperties::~SessionProperties() = default;

bool SessionProperties::propertyExists(const std::string& name) const {
  return int8Properties_.count(name) != 0;
}

int8_t SessionProperties::getOVInt8Property(const std::string& name) const {
  auto it = int8Properties_.find(name);
  return it == int8Properties_.end() ? 0 : it->second;
}

void SessionProperties::setOVInt8Property(const std::string& name, int8_t value) {
  int8Properties_[name] = value;
}

}  // namespace DataMgmt
