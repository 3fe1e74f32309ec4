// cef_time_t conversions: UTC calendar time and seconds since the epoch.

#include <cmath>
#include <cstdint>
#include <ctime>

#include "cef/cef_capi.h"

extern "C" {

CEF_EXPORT int cef_time_from_doublet(double time, cef_time_t* cef_time) {
  if (!cef_time || !std::isfinite(time)) return 0;
  // Rounded to whole milliseconds first, so that 0.9996 gives 1.000 and
  // not 0.000.
  const double millis = std::round(time * 1000.0);
  if (std::fabs(millis) > 9.0e18) return 0;
  const auto total = static_cast<int64_t>(millis);
  int64_t whole = total / 1000;
  int64_t rest = total % 1000;
  if (rest < 0) {
    rest += 1000;
    --whole;
  }
  const auto seconds = static_cast<time_t>(whole);
  std::tm tm{};
  if (!gmtime_r(&seconds, &tm)) return 0;
  cef_time->year = tm.tm_year + 1900;
  cef_time->month = tm.tm_mon + 1;
  cef_time->day_of_week = tm.tm_wday;
  cef_time->day_of_month = tm.tm_mday;
  cef_time->hour = tm.tm_hour;
  cef_time->minute = tm.tm_min;
  cef_time->second = tm.tm_sec;
  cef_time->millisecond = static_cast<int>(rest);
  return 1;
}

CEF_EXPORT int cef_time_to_doublet(const cef_time_t* cef_time, double* time) {
  if (!cef_time || !time) return 0;
  std::tm tm{};
  tm.tm_year = cef_time->year - 1900;
  tm.tm_mon = cef_time->month - 1;
  tm.tm_mday = cef_time->day_of_month;
  tm.tm_hour = cef_time->hour;
  tm.tm_min = cef_time->minute;
  tm.tm_sec = cef_time->second;
  // An all-zero time stands for "no time".
  if (cef_time->year == 0) {
    *time = 0;
    return 1;
  }
  *time = static_cast<double>(timegm(&tm)) + cef_time->millisecond / 1000.0;
  return 1;
}

}  // extern "C"
