// "Process pending messages" for long loops on the window's thread: events are
// let in only when a time slice has passed since the last time, so a loop
// calling it per keyword runs at full speed and the window still answers.
#pragma once

#include <QElapsedTimer>

namespace kx::app {

class SlicedPump {
 public:
  // sliceMs 0 lets events in at every call.
  explicit SlicedPump(int sliceMs) : sliceMs_(sliceMs) {}

  // Starts a new slice, as if events had just been processed.
  void restart() { clock_.start(); }

  // Processes pending events when the slice has passed (or the pump was
  // never started), then starts the next slice. Returns whether it did.
  bool pump();

 private:
  const int sliceMs_;
  QElapsedTimer clock_;
};

}  // namespace kx::app
