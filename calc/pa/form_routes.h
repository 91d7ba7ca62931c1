// The routing of calcStateForm (dispatch.cc) is kept as data in two levels:
// the category of each PA form, and each category's calculation of its
// forms. This header lets the two levels be checked against each other.
#ifndef CALC_PA_FORM_ROUTES_H_
#define CALC_PA_FORM_ROUTES_H_

#include <vector>

#include "host/form_identifier.h"

namespace PACalculationMgmt {

// The forms the two levels disagree on: a form routed to a category that
// does not calculate it there exactly once, or a calculation whose form is
// not routed to its category. Empty when they agree.
std::vector<Primitives::OVImmutableFormIdentifier> formsTheRoutingLevelsDisagreeOn();

}  // namespace PACalculationMgmt

#endif  // CALC_PA_FORM_ROUTES_H_
