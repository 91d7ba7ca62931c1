// TopicMgmt::ScriptQueryHandler: answers an interview page's numbered
// yes/no questions (script queries) for one topic.
//
// A handler keeps the data store (borrowed) and return type it was made
// with, and a table from query number to a member operation. A subclass
// fills the table in registerHandlers with insertHandler, passing
// static_cast<QueryFn>(&Derived::op); the call goes through the member
// pointer, so a virtual `op` answers through the most derived override.
// A query number not in the table answers 0.
#ifndef HOST_SCRIPT_QUERY_H_
#define HOST_SCRIPT_QUERY_H_

#include <map>
#include <vector>

#include "host/descriptors.h"
#include "host/host_api.h"
#include "host/identifier.h"

namespace DataMgmt {
class TaxDataStore;
}  // namespace DataMgmt

namespace TopicMgmt {

class TopicPath;

class HOST_API ScriptQueryHandler {
 public:
  typedef unsigned char (ScriptQueryHandler::*QueryFn)(long, const Primitives::OVImmutableIdentifier&,
                                                       const TopicPath&);

  ScriptQueryHandler(DataMgmt::TaxDataStore& store, DataMgmt::TaxReturnType type);
  virtual ~ScriptQueryHandler();
  ScriptQueryHandler(const ScriptQueryHandler&) = delete;
  ScriptQueryHandler& operator=(const ScriptQueryHandler&) = delete;

  // Fills the query table; the base registers nothing.
  virtual void registerHandlers();
  virtual unsigned char reservedQuery1(long query, const Primitives::OVImmutableIdentifier& field);
  virtual unsigned char reservedQuery2(long query, const Primitives::OVImmutableIdentifier& field);

  // Registers (or replaces) the handler of a query number; a null handler
  // is ignored.
  void insertHandler(long query, QueryFn handler);
  // The registered handler's answer; 0 for a number not registered.
  unsigned char handleScriptQuery(long query, const Primitives::OVImmutableIdentifier& field,
                                  const TopicPath& path);

  DataMgmt::TaxDataStore& getDataStore() const { return *store_; }
  DataMgmt::TaxReturnType getReturnType() const { return type_; }
  // Query numbers in the order they were first registered (ours).
  const std::vector<long>& registrationOrder() const { return order_; }

 private:
  DataMgmt::TaxDataStore* store_;
  DataMgmt::TaxReturnType type_;
  std::map<long, QueryFn> handlers_;
  std::vector<long> order_;
};

}  // namespace TopicMgmt

#endif  // HOST_SCRIPT_QUERY_H_
