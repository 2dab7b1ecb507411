// The fixed help text behind 疑点说明.
#pragma once

#include <QString>

namespace kx::app {

// The 39 lines of the help, joined by CR LF, no line end after the last.
QString helpText();

}  // namespace kx::app
