// Whatever receives a control's commands: a window's one dispatch point.
#pragma once

class LCommandTarget {
 public:
  virtual ~LCommandTarget() = default;
  virtual bool Command(int id, int arg) = 0;
};
