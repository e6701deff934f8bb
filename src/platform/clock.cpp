#include "platform/clock.h"

#include <cstdlib>
#include <ctime>

namespace kdm {

static std::optional<Date> overrideDate() {
  const char* env = std::getenv("KDM_TODAY");
  if (!env || !*env) return std::nullopt;
  return Date::parseIso(env);
}

Date today() {
  if (auto d = overrideDate()) return *d;
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return *Date::fromYmd(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

bool checkTodayOverride(std::string& message) {
  const char* env = std::getenv("KDM_TODAY");
  if (!env || !*env || Date::parseIso(env)) return true;
  message = std::string("KDM_TODAY must be a date YYYY-MM-DD, not \"") + env + "\"";
  return false;
}

}  // namespace kdm
