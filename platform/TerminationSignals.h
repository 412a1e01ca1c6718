#pragma once

#include <functional>

namespace korvane {

// Runs onSignal on the UI thread when the process receives SIGTERM or SIGINT (a session
// logging out, kill, Ctrl+C), so the program can close as if the user had closed it.
void OnTerminationSignal(std::function<void()> onSignal);

}  // namespace korvane
