// TopicMgmt::TopicDesc: the host's base of an interview topic descriptor,
// with the topic path, the topic value types and the user-event ids.
//
// A descriptor keeps every argument of its constructor (the module's
// topic table), a title that set-up may replace, the data store (borrowed;
// it outlives the tree) and the return type whose return the topic reads.
// It owns its children (added in interview order with addChild) and its
// script-query handler, and deletes them with itself. The constructor
// does not run setupTopic; a topic's own constructor does. The base's
// answers: the initial status, no instances limit (0), a settable gateway
// type (2 by default), no event handled.
#ifndef HOST_TOPICS_H_
#define HOST_TOPICS_H_

#include <string>
#include <vector>

#include "host/descriptors.h"
#include "host/form_identifier.h"
#include "host/host_api.h"
#include "host/identifier.h"
#include "host/script_query.h"
#include "host/topic_identifier.h"

namespace DataMgmt {
class TaxDataStore;
class TaxReturn;
}  // namespace DataMgmt

namespace TopicMgmt {

// Plain int value types; their meanings are the host's. The module
// passes and answers the values named in its topic tables.
enum TopicStatus : int { kTopicStatus0 = 0, kTopicStatus1 = 1, kTopicStatus2 = 2 };
enum TopicGatewayStrategy : int { kGatewayStrategy0 = 0, kGatewayStrategy1 = 1, kGatewayStrategy2 = 2 };
enum TopicGatewayType : int { kGatewayType2 = 2, kGatewayType4 = 4 };
enum EnabledPlatformType : int { kPlatform2 = 2 };

// A topic's status in the words of the host's interview: 0 "to visit" (the
// interview leads the user through it), 1 "optional" (offered, not
// required), 2 "not needed" (left out); any other value "status N".
HOST_API std::string topicStatusText(TopicStatus status);

// The user events a topic may handle, compared by identifier equality.
HOST_API extern const Primitives::OVImmutableIdentifier kUserEvent_NEXT;        // 1
HOST_API extern const Primitives::OVImmutableIdentifier kUserEvent_BACK;        // 2
HOST_API extern const Primitives::OVImmutableIdentifier kUserEvent_UPDATE_NOW;  // 3

// Where the user stands inside a topic.
class HOST_API TopicPath {
 public:
  explicit TopicPath(bool gateway = false) : gateway_(gateway) {}
  bool isGateway() const { return gateway_; }  // on the topic's gateway page
  void setGateway(bool gateway) { gateway_ = gateway; }

 private:
  bool gateway_;
};

class HOST_API TopicDesc {
 public:
  TopicDesc(const Primitives::OVImmutableTopicIdentifier& topic, DataMgmt::TaxDataStore& store,
            const char* idText, const char* title, bool flag1, TopicGatewayStrategy strategy,
            bool flag2, const Primitives::OVImmutableFormIdentifier& firstForm,
            const Primitives::OVImmutableIdentifier& firstField, TopicStatus status,
            const Primitives::OVImmutableFormIdentifier& secondForm,
            const Primitives::OVImmutableIdentifier& secondField, DataMgmt::TaxReturnType type,
            EnabledPlatformType platform, short shortNumber,
            const Primitives::OVImmutableIdentifier& extraField1,
            const Primitives::OVImmutableIdentifier& extraField2, long longNumber, bool flag3,
            bool flag4, bool flag5, bool flag6);
  virtual ~TopicDesc();
  TopicDesc(const TopicDesc&) = delete;
  TopicDesc& operator=(const TopicDesc&) = delete;

  virtual TopicStatus getTopicStatus() const;
  virtual unsigned short getMaxInstances() const;
  virtual TopicGatewayType getGatewayType(unsigned short a, unsigned short b) const;
  virtual bool handleUserEvent(const Primitives::OVImmutableIdentifier& event,
                               const TopicPath& path) const;
  virtual void setupTopic();

  // Takes ownership of `child` and appends it; null, the topic itself and a
  // child already held are ignored.
  void addChild(TopicDesc* child);
  const std::vector<TopicDesc*>& getChildren() const { return children_; }
  void setTitle(const std::string& title) { title_ = title; }
  std::string getTitle() const { return title_; }

  // The return of the topic's type in its store (borrowed; null if absent).
  DataMgmt::TaxReturn* getTaxReturn() const;
  DataMgmt::TaxDataStore& getDataStore() const { return *store_; }
  DataMgmt::TaxReturnType getReturnType() const { return returnType_; }
  ScriptQueryHandler* getScriptQueryHandler() const { return queryHandler; }  // ours

  // Test controls and the constructor's arguments read back (ours).
  void setGatewayType(TopicGatewayType type) { gatewayType_ = type; }
  const Primitives::OVImmutableTopicIdentifier& getTopicID() const { return topic_; }
  std::string getIdText() const { return idText_; }
  std::string getInitialTitle() const { return initialTitle_; }
  bool getFlag1() const { return flag1_; }
  TopicGatewayStrategy getGatewayStrategy() const { return strategy_; }
  bool getFlag2() const { return flag2_; }
  const Primitives::OVImmutableFormIdentifier& getFirstForm() const { return firstForm_; }
  const Primitives::OVImmutableIdentifier& getFirstField() const { return firstField_; }
  TopicStatus getInitialStatus() const { return status_; }
  const Primitives::OVImmutableFormIdentifier& getSecondForm() const { return secondForm_; }
  const Primitives::OVImmutableIdentifier& getSecondField() const { return secondField_; }
  EnabledPlatformType getPlatform() const { return platform_; }
  short getShortNumber() const { return shortNumber_; }
  const Primitives::OVImmutableIdentifier& getExtraField1() const { return extraField1_; }
  const Primitives::OVImmutableIdentifier& getExtraField2() const { return extraField2_; }
  long getLongNumber() const { return longNumber_; }
  bool getFlag3() const { return flag3_; }
  bool getFlag4() const { return flag4_; }
  bool getFlag5() const { return flag5_; }
  bool getFlag6() const { return flag6_; }

 protected:
  ScriptQueryHandler* queryHandler = nullptr;  // owned

 private:
  Primitives::OVImmutableTopicIdentifier topic_;
  DataMgmt::TaxDataStore* store_;
  std::string idText_;
  std::string initialTitle_;
  std::string title_;
  bool flag1_;
  TopicGatewayStrategy strategy_;
  bool flag2_;
  Primitives::OVImmutableFormIdentifier firstForm_;
  Primitives::OVImmutableIdentifier firstField_;
  TopicStatus status_;
  Primitives::OVImmutableFormIdentifier secondForm_;
  Primitives::OVImmutableIdentifier secondField_;
  DataMgmt::TaxReturnType returnType_;
  EnabledPlatformType platform_;
  short shortNumber_;
  Primitives::OVImmutableIdentifier extraField1_;
  Primitives::OVImmutableIdentifier extraField2_;
  long longNumber_;
  bool flag3_;
  bool flag4_;
  bool flag5_;
  bool flag6_;
  TopicGatewayType gatewayType_ = kGatewayType2;
  std::vector<TopicDesc*> children_;
};

}  // namespace TopicMgmt

#endif  // HOST_TOPICS_H_
