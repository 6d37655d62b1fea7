#pragma once

namespace corvane::app {

// Quits the application in an orderly way (the model is torn down) on SIGINT and SIGTERM.
void quitOnTerminationSignals();

}  // namespace corvane::app
