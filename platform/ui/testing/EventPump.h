// For tests only: the user-interface thread processes its events while a
// test waits for what they do, and runs what a test hands it.
#pragma once
#include <functional>

namespace ce {

// Processes the pending events (posted messages, cross-thread sends, timers
// that are due, painting) and returns; with forMs > 0 keeps doing so for
// that long.
void PumpMessages(int forMs = 0);
// Keeps processing events until done() is true or timeoutMs passes (< 0:
// no limit). Returns done().
bool WaitWhilePumping(const std::function<bool()>& done, int timeoutMs = -1);
// Any thread: runs task on the user-interface thread, in order with posted
// messages (also inside a modal loop).
void PostTask(std::function<void()> task);

} // namespace ce
