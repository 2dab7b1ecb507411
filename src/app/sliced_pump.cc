#include "app/sliced_pump.h"

#include <QCoreApplication>

namespace kx::app {

bool SlicedPump::pump() {
  if (clock_.isValid() && sliceMs_ > 0 && !clock_.hasExpired(sliceMs_)) return false;
  QCoreApplication::processEvents();
  clock_.start();
  return true;
}

}  // namespace kx::app
