#include "pahost/topic_tree.h"

#include <string>

#include "host/topics.h"

namespace {

// The deepest level printed: the module's tree is a few levels deep; a
// deeper one (a child listed under itself) is cut there.
const int kMaxDepth = 16;
const int kIdColumn = 14;

void printTopic(std::FILE* out, const TopicMgmt::TopicDesc& topic, int depth) {
  // Ids in one column whatever the depth, as far as it goes.
  const int idWidth = depth < 6 ? kIdColumn - 2 * depth : 1;
  std::fprintf(out, "%*s%-*s %s [status %d]\n", 2 * depth + 2, "", idWidth, topic.getIdText().c_str(),
               topic.getTitle().c_str(), int(topic.getTopicStatus()));
  if (depth + 1 >= kMaxDepth) return;
  for (const TopicMgmt::TopicDesc* child : topic.getChildren()) {
    if (child != nullptr) printTopic(out, *child, depth + 1);
  }
}

}  // namespace

void printTopicTree(std::FILE* out, const std::vector<TopicMgmt::TopicDesc*>& topics) {
  std::fprintf(out, "Interview topics\n");
  for (const TopicMgmt::TopicDesc* topic : topics) {
    if (topic != nullptr) printTopic(out, *topic, 0);
  }
}
