// renderInterviewTree: the interview tree as text, for a host program to
// show. One topic a line, in interview order, each child under its parent
// and indented two blanks deeper, the ids in one column as far as it goes:
//
//   pags           Welcome to Your Pennsylvania Return [status 0]
//     UpdateState  Program Updates [status 0]
//
// The status is the topic's own answer (getTopicStatus) at the time of the
// call. Null entries are passed over; a tree deeper than kMaxDepth (a child
// listed under itself) is cut there. Header-only and using the host's topic
// class alone, so a host program renders the tree the module built without
// linking the module.
#ifndef INTERVIEW_INTERVIEW_OUTLINE_H_
#define INTERVIEW_INTERVIEW_OUTLINE_H_

#include <cstddef>
#include <string>
#include <vector>

#include "host/topics.h"

namespace InterviewOutline {

constexpr int kMaxDepth = 16;
constexpr std::size_t kIdColumn = 14;

inline void renderTopics(const std::vector<TopicMgmt::TopicDesc*>& topics, int depth, std::size_t indent,
                         std::string& out) {
  for (const TopicMgmt::TopicDesc* topic : topics) {
    if (topic == nullptr) continue;
    const std::string id = topic->getIdText();
    const std::size_t idWidth = depth < 6 ? kIdColumn - 2 * static_cast<std::size_t>(depth) : 1;
    out += std::string(indent + 2 * static_cast<std::size_t>(depth), ' ') + id;
    if (id.size() < idWidth) out += std::string(idWidth - id.size(), ' ');
    out += " " + topic->getTitle() + " [status " + std::to_string(topic->getTopicStatus()) + "]\n";
    if (depth + 1 < kMaxDepth) renderTopics(topic->getChildren(), depth + 1, indent, out);
  }
}

// The tree of `topLevel`, every line indented `indent` blanks more.
inline std::string renderInterviewTree(const std::vector<TopicMgmt::TopicDesc*>& topLevel,
                                       std::size_t indent = 0) {
  std::string out;
  renderTopics(topLevel, 0, indent, out);
  return out;
}

}  // namespace InterviewOutline

#endif  // INTERVIEW_INTERVIEW_OUTLINE_H_
