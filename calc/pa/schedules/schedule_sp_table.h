// The special tax forgiveness table: the forgiveness percentage for an
// eligibility income, a marital class and a number of dependent children.
//
// Ten rows, 100 down to 10 percent; row k is met by an income strictly
// below its bound, base + 250 k + 9,500 children (base 6,501 unmarried,
// 13,001 married). The bounds for 0 to 9 children are the published
// values; each child beyond 9 raises every bound by 9,500. No row met
// gives 0 percent.
#ifndef CALC_PA_SCHEDULES_SCHEDULE_SP_TABLE_H_
#define CALC_PA_SCHEDULES_SCHEDULE_SP_TABLE_H_

namespace PACalculationMgmt {
namespace ScheduleSP {

enum class MaritalClass { kUnmarried, kMarried };

// Number of rows and of tabulated child counts (0 to 9).
const int kForgivenessRows = 10;
const int kTabulatedChildren = 10;

// Bound of row k (0 = 100 percent) for `children` dependent children; a
// negative count counts as none.
double forgivenessBound(MaritalClass maritalClass, int row, int children);

// The whole forgiveness percentage: 100, 90, ..., 10 or 0.
int forgivenessPercent(MaritalClass maritalClass, double income, int children);

}  // namespace ScheduleSP
}  // namespace PACalculationMgmt

#endif  // CALC_PA_SCHEDULES_SCHEDULE_SP_TABLE_H_
