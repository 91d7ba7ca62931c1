// The special tax forgiveness table: the forgiveness percentage for an
// eligibility income, a marital class and a number of dependent children.
//
// Ten rows, 100 down to 10 percent; row k is met by an income strictly
// below its bound, base + 1 + step k + per-child amount x children, with
// the 2018 bases, step and per-child amount of tax_parameters.h (so 6,501
// and 13,001 for 100 percent without children). No row met gives 0
// percent.
#ifndef CALC_PA_SCHEDULES_SCHEDULE_SP_TABLE_H_
#define CALC_PA_SCHEDULES_SCHEDULE_SP_TABLE_H_

#include "parameters/tax_parameters.h"

namespace PACalculationMgmt {
namespace ScheduleSP {

enum class MaritalClass { kUnmarried, kMarried };

// Number of rows: 100 percent down to one step.
constexpr int kForgivenessRows = 100 / PATax2018::kForgivenessPercentStep;

// Bound of row k (0 = 100 percent) for `children` dependent children; a
// negative count counts as none.
double forgivenessBound(MaritalClass maritalClass, int row, int children);

// The whole forgiveness percentage: 100, 90, ..., 10 or 0.
int forgivenessPercent(MaritalClass maritalClass, double income, int children);

}  // namespace ScheduleSP
}  // namespace PACalculationMgmt

#endif  // CALC_PA_SCHEDULES_SCHEDULE_SP_TABLE_H_
