// The status rules of the interview topics that answer from the return's
// own entries, and the residency read of the tax-paid-to-another-state
// topic's gateway.
//
// Every rule reads copy 1 of forms of the given return and writes nothing.
// A null return reads like a return with no entries.
#ifndef INTERVIEW_TOPIC_STATUS_RULES_H_
#define INTERVIEW_TOPIC_STATUS_RULES_H_

#include "host/tax_return.h"
#include "host/topics.h"
#include "interview/topic_table.h"

namespace StateTopicMgmt {

// The status of `topic` by its rule in the status table: the first line
// whose test holds gives the answer. `otherwise` answers for a topic
// without a rule.
TopicMgmt::TopicStatus ruledStatus(TopicRowId topic, const DataMgmt::TaxReturn* taxReturn,
                                   TopicMgmt::TopicStatus otherwise);

// The status of the interest and dividend topic. Looks up copy 1 of state
// forms 16 and 17 without creating them.
TopicMgmt::TopicStatus interestDividendStatus(DataMgmt::TaxReturn* taxReturn);

// Whether the part-year resident mark of the return information is set.
bool isPartYearResident(const DataMgmt::TaxReturn* taxReturn);

}  // namespace StateTopicMgmt

#endif  // INTERVIEW_TOPIC_STATUS_RULES_H_
