#include "interview/interview_hierarchy.h"

std::vector<TopicMgmt::TopicDesc*>* buildInterviewHierarchy(DataMgmt::TaxDataStore& /*store*/) {
  // No topics yet: the interview is empty.
  return new std::vector<TopicMgmt::TopicDesc*>();
}
