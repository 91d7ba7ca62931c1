// renderInterviewTree: the interview tree as text, for a host program to
// show. One topic a line, in interview order, each child under its parent
// and indented two blanks deeper; the titles start in one column, one blank
// after the longest indented id of the tree (at least kIdColumn wide):
//
//   pags           Welcome to Your Pennsylvania Return [to visit]
//     UpdateState  Program Updates [to visit]
//
// The status is the topic's own answer (getTopicStatus) at the time of the
// call, in the host's words (TopicMgmt::topicStatusText). Null entries are passed over; a tree deeper than kMaxDepth (a child
// listed under itself) is cut there. Header-only and using the host's topic
// class alone, so a host program renders the tree the module built without
// linking the module.
#ifndef INTERVIEW_INTERVIEW_OUTLINE_H_
#define INTERVIEW_INTERVIEW_OUTLINE_H_

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

#include "host/topics.h"

namespace InterviewOutline {

constexpr int kMaxDepth = 16;
constexpr std::size_t kIdColumn = 14;

// Calls `visit(topic, depth)` for each topic of the tree, in order.
template <class Visit>
void walkTopics(const std::vector<TopicMgmt::TopicDesc*>& topics, int depth, Visit& visit) {
  for (const TopicMgmt::TopicDesc* topic : topics) {
    if (topic == nullptr) continue;
    visit(*topic, depth);
    if (depth + 1 < kMaxDepth) walkTopics(topic->getChildren(), depth + 1, visit);
  }
}

// The tree of `topLevel`, every line indented `indent` blanks more.
inline std::string renderInterviewTree(const std::vector<TopicMgmt::TopicDesc*>& topLevel,
                                       std::size_t indent = 0) {
  std::size_t column = kIdColumn;
  auto measure = [&column](const TopicMgmt::TopicDesc& topic, int depth) {
    column = std::max(column, 2 * static_cast<std::size_t>(depth) + topic.getIdText().size());
  };
  walkTopics(topLevel, 0, measure);
  std::string out;
  auto render = [&out, column, indent](const TopicMgmt::TopicDesc& topic, int depth) {
    std::string line = std::string(2 * static_cast<std::size_t>(depth), ' ') + topic.getIdText();
    line.resize(column, ' ');
    out += std::string(indent, ' ') + line + " " + topic.getTitle() + " [" +
           TopicMgmt::topicStatusText(topic.getTopicStatus()) + "]\n";
  };
  walkTopics(topLevel, 0, render);
  return out;
}

}  // namespace InterviewOutline

#endif  // INTERVIEW_INTERVIEW_OUTLINE_H_
