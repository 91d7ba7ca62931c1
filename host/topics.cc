#include "host/topics.h"

#include "host/data_store.h"

namespace TopicMgmt {

namespace {

const char* const kStatusTexts[] = {"to visit", "optional", "not needed"};

}  // namespace

std::string topicStatusText(TopicStatus status) {
  const int value = static_cast<int>(status);
  if (value >= 0 && value < static_cast<int>(sizeof kStatusTexts / sizeof kStatusTexts[0])) {
    return kStatusTexts[value];
  }
  return "status " + std::to_string(value);
}

const Primitives::OVImmutableIdentifier kUserEvent_NEXT(1);
const Primitives::OVImmutableIdentifier kUserEvent_BACK(2);
const Primitives::OVImmutableIdentifier kUserEvent_UPDATE_NOW(3);

TopicDesc::TopicDesc(const Primitives::OVImmutableTopicIdentifier& topic,
                     DataMgmt::TaxDataStore& store, const char* idText, const char* title,
                     bool flag1, TopicGatewayStrategy strategy, bool flag2,
                     const Primitives::OVImmutableFormIdentifier& firstForm,
                     const Primitives::OVImmutableIdentifier& firstField, TopicStatus status,
                     const Primitives::OVImmutableFormIdentifier& secondForm,
                     const Primitives::OVImmutableIdentifier& secondField,
                     DataMgmt::TaxReturnType type, EnabledPlatformType platform, short shortNumber,
                     const Primitives::OVImmutableIdentifier& extraField1,
                     const Primitives::OVImmutableIdentifier& extraField2, long longNumber,
                     bool flag3, bool flag4, bool flag5, bool flag6)
    : topic_(topic),
      store_(&store),
      idText_(idText != nullptr ? idText : ""),
      initialTitle_(title != nullptr ? title : ""),
      title_(initialTitle_),
      flag1_(flag1),
      strategy_(strategy),
      flag2_(flag2),
      firstForm_(firstForm),
      firstField_(firstField),
      status_(status),
      secondForm_(secondForm),
      secondField_(secondField),
      returnType_(type),
      platform_(platform),
      shortNumber_(shortNumber),
      extraField1_(extraField1),
      extraField2_(extraField2),
      longNumber_(longNumber),
      flag3_(flag3),
      flag4_(flag4),
      flag5_(flag5),
      flag6_(flag6) {}

TopicDesc::~TopicDesc() {
  for (TopicDesc* child : children_) delete child;
  delete queryHandler;
}

TopicStatus TopicDesc::getTopicStatus() const { return status_; }
unsigned short TopicDesc::getMaxInstances() const { return 0; }
TopicGatewayType TopicDesc::getGatewayType(unsigned short, unsigned short) const {
  return gatewayType_;
}
bool TopicDesc::handleUserEvent(const Primitives::OVImmutableIdentifier&, const TopicPath&) const {
  return false;
}
void TopicDesc::setupTopic() {}

void TopicDesc::addChild(TopicDesc* child) {
  // A topic cannot hold itself, and a child held twice would be deleted twice.
  if (child == nullptr || child == this) return;
  for (const TopicDesc* held : children_) {
    if (held == child) return;
  }
  try {
    children_.push_back(child);
  } catch (...) {
    delete child;  // ownership was passed: never leak it
    throw;
  }
}

DataMgmt::TaxReturn* TopicDesc::getTaxReturn() const { return store_->getTaxReturn(returnType_); }

}  // namespace TopicMgmt
