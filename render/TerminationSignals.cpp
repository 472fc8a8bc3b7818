#include "render/TerminationSignals.h"

#include <pthread.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <cstring>

namespace {

// Owned copies, replaced whole: the handler reads one pointer a slot.
std::atomic<char*> removed[kRemovedFiles]{};
std::atomic<pid_t> killed{-1};

sigset_t TerminationSet()
{
    sigset_t set;
    sigemptyset(&set);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&set, signal);
    return set;
}

void OnTermination(int signal)
{
    if (const pid_t child = killed.load(); child > 0)
        ::kill(child, SIGKILL);
    for (std::atomic<char*>& slot : removed)
        if (const char* path = slot.load())
            ::unlink(path);
    // Ended by the signal itself, as the shell and a job runner expect.
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

}  // namespace

void CatchTerminationSignals()
{
    struct sigaction action {};
    action.sa_handler = OnTermination;
    action.sa_mask = TerminationSet();
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        // A signal ignored from the start (nohup, a background job) stays ignored.
        struct sigaction before {};
        if (::sigaction(signal, nullptr, &before) == 0 && before.sa_handler != SIG_IGN)
            ::sigaction(signal, &action, nullptr);
    }
}

void RemoveOnTermination(const std::string& path, int slot)
{
    char* copy = path.empty() ? nullptr : ::strdup(path.c_str());
    std::free(removed[slot].exchange(copy));
}

void KillOnTermination(pid_t child) { killed = child; }

HeldTerminationSignals::HeldTerminationSignals()
{
    const sigset_t set = TerminationSet();
    ::pthread_sigmask(SIG_BLOCK, &set, &previous_);
}

HeldTerminationSignals::~HeldTerminationSignals() { ::pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }
