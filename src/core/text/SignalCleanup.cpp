#include "SignalCleanup.h"

#include <atomic>
#include <climits>
#include <csignal>
#include <cstring>
#include <pthread.h>
#include <unistd.h>

namespace ormavex {

namespace {

// A slot is in use while its flag is set; the path is complete before the
// flag is set and the flag is cleared before the path changes, so that the
// handler never reads a half-written path.
char g_paths[kMaxFilesRemovedOnSignal][PATH_MAX];
volatile std::sig_atomic_t g_used[kMaxFilesRemovedOnSignal];

extern "C" void RemoveFilesAndExit(int signo) {
    for (int i = 0; i < kMaxFilesRemovedOnSignal; ++i) {
        if (g_used[i] != 0) {
            ::unlink(g_paths[i]);
        }
    }
    ::_exit(128 + signo);
}

} // namespace

bool RemoveOnSignal(const std::string& path) noexcept {
    if (path.empty() || path.size() >= PATH_MAX) {
        return false;
    }
    for (int i = 0; i < kMaxFilesRemovedOnSignal; ++i) {
        if (g_used[i] == 0) {
            std::memcpy(g_paths[i], path.c_str(), path.size() + 1);
            std::atomic_signal_fence(std::memory_order_seq_cst);
            g_used[i] = 1;
            return true;
        }
    }
    return false;
}

void ForgetOnSignal(const std::string& path) noexcept {
    for (int i = 0; i < kMaxFilesRemovedOnSignal; ++i) {
        if (g_used[i] != 0 && path == g_paths[i]) {
            g_used[i] = 0;
            std::atomic_signal_fence(std::memory_order_seq_cst);
            return;
        }
    }
}

int FilesRemovedOnSignal() noexcept {
    int n = 0;
    for (int i = 0; i < kMaxFilesRemovedOnSignal; ++i) {
        n += g_used[i] != 0 ? 1 : 0;
    }
    return n;
}

HoldCleanupSignals::HoldCleanupSignals() noexcept {
    sigset_t held;
    sigemptyset(&held);
    for (int s : {SIGINT, SIGTERM, SIGHUP}) {
        sigaddset(&held, s);
    }
    ::pthread_sigmask(SIG_BLOCK, &held, &m_saved);
}

HoldCleanupSignals::~HoldCleanupSignals() { ::pthread_sigmask(SIG_SETMASK, &m_saved, nullptr); }

void InstallSignalCleanup() noexcept {
    struct sigaction sa {};
    sa.sa_handler = RemoveFilesAndExit;
    sigemptyset(&sa.sa_mask);
    // One signal at a time: a second one waits until the first has ended
    // the program.
    for (int s : {SIGINT, SIGTERM, SIGHUP}) {
        sigaddset(&sa.sa_mask, s);
    }
    for (int s : {SIGINT, SIGTERM, SIGHUP}) {
        ::sigaction(s, &sa, nullptr);
    }
}

} // namespace ormavex
