// Utils date functions. A day number counts days from 1 January 1900 = 1
// (proleptic Gregorian); 0 stands for no date or an invalid one.
#ifndef HOST_DATES_H_
#define HOST_DATES_H_

#include "host/host_api.h"

namespace Utils {

// The day number of (month, day, year); 0 when the date is invalid or its
// year lies outside 1900..9999.
HOST_API long dateToNumber(int month, int day, int year);
// Parses, after trimming blanks: M/D/YYYY, M-D-YYYY, MMDDYYYY, YYYY-MM-DD
// and M/D/YY (YY < 50 is 20YY, else 19YY). Anything else gives 0.
HOST_API long strDateToNumber(const char* text);
// The parts of a day number; 0 for day number 0 and any number that is
// not a date.
HOST_API int month(long dayNumber);
HOST_API int day(long dayNumber);
HOST_API int year(long dayNumber);
// "Today": settable for tests, by default the local system date.
HOST_API void getCurrentDate(int& month, int& day, int& year, bool unused = false);
// Ours, for tests: fixes "today" (stored as given; month 0 means the system
// date again). StandIn::resetAll and clearCurrentDate go back to the
// system date.
HOST_API void setCurrentDate(int month, int day, int year);
HOST_API void clearCurrentDate();

}  // namespace Utils

#endif  // HOST_DATES_H_
