// renderInterviewTree: the interview tree as text, for a host program to
// show. One topic a line, in interview order, each child under its parent
// and indented two blanks deeper:
//
//   pags: Welcome to Your Pennsylvania Return [status 0]
//     UpdateState: Program Updates [status 0]
//
// The status is the topic's own answer (getTopicStatus) at the time of the
// call. Null entries are passed over. Header-only and using the host's
// topic class alone, so a host program renders the tree the module built
// without linking the module.
#ifndef INTERVIEW_INTERVIEW_OUTLINE_H_
#define INTERVIEW_INTERVIEW_OUTLINE_H_

#include <string>
#include <vector>

#include "host/topics.h"

namespace InterviewOutline {

inline void renderTopics(const std::vector<TopicMgmt::TopicDesc*>& topics, int depth,
                         std::string& out) {
  for (const TopicMgmt::TopicDesc* topic : topics) {
    if (topic == nullptr) continue;
    out += std::string(static_cast<std::size_t>(depth) * 2, ' ') + topic->getIdText() + ": " +
           topic->getTitle() + " [status " + std::to_string(topic->getTopicStatus()) + "]\n";
    renderTopics(topic->getChildren(), depth + 1, out);
  }
}

inline std::string renderInterviewTree(const std::vector<TopicMgmt::TopicDesc*>& topLevel) {
  std::string out;
  renderTopics(topLevel, 0, out);
  return out;
}

}  // namespace InterviewOutline

#endif  // INTERVIEW_INTERVIEW_OUTLINE_H_
