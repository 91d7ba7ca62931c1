#include "interview/state_script_query_handler.h"

#include <string>

#include "host/session_properties.h"
#include "host/tax_return.h"
#include "interview/session_property_keys.h"

namespace StateTopicMgmt {

namespace {

constexpr DataMgmt::TaxReturnType kFederalReturnType = 1;

// Whether `key` exists among the federal return's session properties, and
// its value (0 when it does not). Each reading takes a fresh share of the
// properties and releases it at once.
struct Property {
  bool exists = false;
  int8_t value = 0;
};

Property readProperty(const DataMgmt::TaxDataStore& store, const std::string& key) {
  Property property;
  const DataMgmt::TaxReturn* federal = store.getTaxReturn(kFederalReturnType);
  if (federal == nullptr) return property;
  DataMgmt::SessionPropertiesPtr properties = federal->getSessionProperties();
  if (properties.isNull()) return property;
  property.exists = properties->propertyExists(key);
  if (property.exists) property.value = properties->getOVInt8Property(key);
  return property;
}

}  // namespace

StateScriptQueryHandler::StateScriptQueryHandler(DataMgmt::TaxDataStore& store,
                                                 DataMgmt::TaxReturnType type)
    : TopicMgmt::ScriptQueryHandler(store, type) {
  StateScriptQueryHandler::registerHandlers();
}

StateScriptQueryHandler::~StateScriptQueryHandler() = default;

void StateScriptQueryHandler::registerHandlers() {
  insertHandler(kQueryImportStatusClear,
                static_cast<QueryFn>(&StateScriptQueryHandler::isImportStatusClear));
  insertHandler(kQueryLLYStatusSet, static_cast<QueryFn>(&StateScriptQueryHandler::isLLYStatusSet));
}

using Primitives::OVImmutableIdentifier;

unsigned char StateScriptQueryHandler::reservedQuery1(long, const OVImmutableIdentifier&) {
  return 0;
}

unsigned char StateScriptQueryHandler::reservedQuery2(long, const OVImmutableIdentifier&) {
  return 0;
}

unsigned char StateScriptQueryHandler::isLLYStatusSet(long, const OVImmutableIdentifier&,
                                                      const TopicMgmt::TopicPath&) {
  const Property lly = readProperty(getDataStore(), SessionPropertyKeys::kLLYStatus);
  return (lly.exists && lly.value != 0) ? 1 : 0;
}

unsigned char StateScriptQueryHandler::isImportStatusClear(long, const OVImmutableIdentifier&,
                                                           const TopicMgmt::TopicPath&) {
  const Property import = readProperty(getDataStore(), SessionPropertyKeys::kImportStatus);
  return (!import.exists || import.value == 0) ? 1 : 0;
}

}  // namespace StateTopicMgmt
