#pragma once

// SIGTERM, SIGINT and SIGHUP (a logout, Ctrl+C in the terminal that started the program) end the
// event loop as File Exit would, so that the program's clean-up at its end still runs: its private
// work folder goes with it.

namespace kestrova {

// Installs the handlers once; call after the application object exists.
void quitOnTerminationSignals();

}  // namespace kestrova
