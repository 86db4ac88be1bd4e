// Sets the process's time zone for the lifetime of the object and restores
// the previous one afterwards, so tests of local-time packing do not depend
// on the machine they run on.
#pragma once

#include <stdlib.h>

#include <ctime>
#include <optional>
#include <string>

class TTimeZoneGuard {
 public:
  explicit TTimeZoneGuard(const char* zone) {
    if (const char* old = getenv("TZ")) previous_ = old;
    setenv("TZ", zone, 1);
    tzset();
  }
  TTimeZoneGuard(const TTimeZoneGuard&) = delete;
  TTimeZoneGuard& operator=(const TTimeZoneGuard&) = delete;
  ~TTimeZoneGuard() {
    if (previous_)
      setenv("TZ", previous_->c_str(), 1);
    else
      unsetenv("TZ");
    tzset();
  }

 private:
  std::optional<std::string> previous_;
};
