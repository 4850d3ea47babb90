// Starting and stopping a pass timer on the clock.
#include "platform/pass_timer.h"

#include "platform/clock.h"

void pass_timer::start() { start_clock = static_cast<double>(platform::clock_ms()); }

void pass_timer::stop() {
  accumulated = static_cast<double>(platform::clock_ms()) - start_clock + accumulated;
  accumulated = accumulated / 1000;
}
