// A pass timer: accumulated seconds and the clock reading at its start.
#pragma once

struct pass_timer {
  double accumulated = 0;
  double start_clock = 0;

  void start();
  // Adds the milliseconds since start() and turns the sum into seconds.
  void stop();
};
