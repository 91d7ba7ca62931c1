// The decimal places at which PA Schedule UE keeps its two ratios: the
// field holds the ratio times ten to that power, as a whole number (a
// quarter of the home used for work is 2500 in the office ratio fields).
// The calculation writes them so; the data-file writer turns them back.
#ifndef CALC_PA_SCHEDULES_SCHEDULE_UE_RATIOS_H_
#define CALC_PA_SCHEDULES_SCHEDULE_UE_RATIOS_H_

#include <cstdint>

namespace PAScheduleUERatios {

const int8_t kBusinessSharePlaces = 6;  // the vehicle business share
const int8_t kOfficeRatioPlaces = 4;    // the office ratio

}  // namespace PAScheduleUERatios

#endif  // CALC_PA_SCHEDULES_SCHEDULE_UE_RATIOS_H_
