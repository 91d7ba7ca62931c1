// buildInterviewHierarchy: the PA interview as a tree of topic descriptors.
//
// The result is a new heap vector of the seven top-level topics in
// interview order, never null; the 29 sub-topics hang under their parents
// (topic_table.def gives the order and the parents). The vector and
// every descriptor belong to the caller. Every descriptor borrows `store`,
// which must outlive the tree.
#ifndef INTERVIEW_INTERVIEW_HIERARCHY_H_
#define INTERVIEW_INTERVIEW_HIERARCHY_H_

#include <vector>

#include "host/data_store.h"
#include "host/topics.h"

std::vector<TopicMgmt::TopicDesc*>* buildInterviewHierarchy(DataMgmt::TaxDataStore& store);

#endif  // INTERVIEW_INTERVIEW_HIERARCHY_H_
