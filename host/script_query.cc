#include "host/script_query.h"

#include "host/topics.h"

namespace TopicMgmt {

ScriptQueryHandler::ScriptQueryHandler(DataMgmt::TaxDataStore& store, DataMgmt::TaxReturnType type)
    : store_(&store), type_(type) {}

ScriptQueryHandler::~ScriptQueryHandler() = default;

void ScriptQueryHandler::registerHandlers() {}

unsigned char ScriptQueryHandler::reservedQuery1(long, const Primitives::OVImmutableIdentifier&) {
  return 0;
}

unsigned char ScriptQueryHandler::reservedQuery2(long, const Primitives::OVImmutableIdentifier&) {
  return 0;
}

void ScriptQueryHandler::insertHandler(long query, QueryFn handler) {
  if (handler == nullptr) return;
  if (handlers_.count(query) == 0) order_.push_back(query);
  handlers_[query] = handler;
}

unsigned char ScriptQueryHandler::handleScriptQuery(long query,
                                                    const Primitives::OVImmutableIdentifier& field,
                                                    const TopicPath& path) {
  auto it = handlers_.find(query);
  if (it == handlers_.end()) return 0;
  return (this->*(it->second))(query, field, path);
}

}  // namespace TopicMgmt
