// The interview's topic tree as the host shows it: one topic a line, its
// id text, title and status (the host's status number), children indented
// under their parent, in interview order.
#ifndef PAHOST_TOPIC_TREE_H_
#define PAHOST_TOPIC_TREE_H_

#include <cstdio>
#include <vector>

namespace TopicMgmt {
class TopicDesc;
}

// Writes the tree under the top-level topics `topics`.
void printTopicTree(std::FILE* out, const std::vector<TopicMgmt::TopicDesc*>& topics);

#endif  // PAHOST_TOPIC_TREE_H_
