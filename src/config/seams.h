// What the configuration store needs from the user-interface layer, injected
// so that config/ knows nothing of the window toolkit.
#pragma once

#include <functional>
#include <string>

namespace kx {

// "Process pending messages": lets pending user-interface events run and
// returns. The store calls it once per pass of its search loops; an event handler run from it may call the store again, and
// the edit queue keeps such changes in order. The window passes a
// call of QCoreApplication::processEvents (time-sliced as it likes); tests
// pass a function that issues edits; empty means no events.
using EventPump = std::function<void()>;

enum class MessageIcon { None, Exclamation };

// Shows one system-modal message box with an OK button and waits for it.
// Title and text are GBK; the window converts them. The store's only use is
// the write-failure warning of setValue: first (Exclamation, "Lumsa：",
// the warning), then (None, "信息：", the whole document). Empty shows nothing.
using MessageSink = std::function<void(MessageIcon icon, const std::string& title, const std::string& text)>;

}  // namespace kx
