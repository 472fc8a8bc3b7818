#pragma once
// Ctrl+C, SIGTERM and SIGHUP end quorvex-render as they end any program, with
// the status of the signal, once the half-written picture is gone.

#include <sys/types.h>

#include <csignal>
#include <string>

// Catches the three signals from now on, those not ignored from the start.
void CatchTerminationSignals();

// The file to remove when a signal ends the program; empty for none. Set
// only while the signals are held, by the one thread there is then. Each
// slot holds one file: a picture, its raw data and a video may be written
// at once.
inline constexpr int kRemovedFiles = 3;
void RemoveOnTermination(const std::string& path, int slot = 0);

// A child process to kill before the files are removed (ffmpeg, which would
// otherwise go on writing its file); -1 for none.
void KillOnTermination(pid_t child);

// While it lives, the three signals wait for the calling thread: a file can
// be made, or put in place, and named to the handler without one ending the
// program half-way. Threads started meanwhile inherit the hold.
class HeldTerminationSignals {
public:
    HeldTerminationSignals();
    ~HeldTerminationSignals();
    HeldTerminationSignals(const HeldTerminationSignals&) = delete;
    HeldTerminationSignals& operator=(const HeldTerminationSignals&) = delete;

private:
    sigset_t previous_;
};
