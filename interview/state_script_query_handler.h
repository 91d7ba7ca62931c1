// StateTopicMgmt::StateScriptQueryHandler: answers the shared state layer's
// two script queries of a topic from the session properties.
//
// Query 1 asks whether "ui_prop_lly_status" is set, query 2 whether
// "ui_prop_import_status" is clear. Both read the session properties of
// the store's federal return (type 1). A store without that return, or a
// return without session properties, reads like a session where neither
// property exists. The handler keeps no data beyond the host base's; its
// topic owns it.
#ifndef INTERVIEW_STATE_SCRIPT_QUERY_HANDLER_H_
#define INTERVIEW_STATE_SCRIPT_QUERY_HANDLER_H_

#include "host/data_store.h"
#include "host/script_query.h"

namespace StateTopicMgmt {

class StateScriptQueryHandler : public TopicMgmt::ScriptQueryHandler {
 public:
  enum : long { kQueryLLYStatusSet = 1, kQueryImportStatusClear = 2 };

  // Registers the two queries.
  StateScriptQueryHandler(DataMgmt::TaxDataStore& store, DataMgmt::TaxReturnType type);
  ~StateScriptQueryHandler() override;

  // Registers query 2, then query 1, as virtual members: a subclass's
  // overrides answer.
  void registerHandlers() override;
  unsigned char reservedQuery1(long query, const Primitives::OVImmutableIdentifier& field) override;
  unsigned char reservedQuery2(long query, const Primitives::OVImmutableIdentifier& field) override;

  // 1 when "ui_prop_lly_status" exists and is non-zero, else 0.
  virtual unsigned char isLLYStatusSet(long query, const Primitives::OVImmutableIdentifier& field,
                                       const TopicMgmt::TopicPath& path);
  // 1 when "ui_prop_import_status" is missing or zero, else 0.
  virtual unsigned char isImportStatusClear(long query,
                                            const Primitives::OVImmutableIdentifier& field,
                                            const TopicMgmt::TopicPath& path);
};

}  // namespace StateTopicMgmt

#endif  // INTERVIEW_STATE_SCRIPT_QUERY_HANDLER_H_
