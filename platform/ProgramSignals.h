#pragma once
// SIGTERM, SIGHUP and SIGINT end the program as closing its main window
// does, instead of ending it where it stands.

#include <functional>

class QObject;

// Catches the three signals from now on; what arrives is kept until
// HandleTerminationSignals is called.
void CatchTerminationSignals();
// Runs `end` on the user-interface thread for a signal caught, from the
// event loop (also the one a render turns every block).
void HandleTerminationSignals(QObject* context, std::function<void()> end);
