#include "core/text/SignalCleanup.h"

#include <atomic>
#include <csignal>
#include <cstring>

namespace ormavex {

namespace {

// A slot is in use while its flag is set; the path is complete before the
// flag is set and the flag is cleared before the path changes, so that the
// handler never reads a half-written path.
constexpr std::size_t kMaxPath = 4096;
char g_paths[kMaxFilesRemovedOnSignal][kMaxPath];
volatile std::sig_atomic_t g_used[kMaxFilesRemovedOnSignal];

void RemoveListedFiles() noexcept {
    for (int i = 0; i < kMaxFilesRemovedOnSignal; ++i) {
        if (g_used[i] != 0) {
            platform::RemoveFileOnExit(g_paths[i]);
        }
    }
}

} // namespace

bool RemoveOnSignal(const std::string& path) noexcept {
    if (path.empty() || path.size() >= kMaxPath) {
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

HoldCleanupSignals::HoldCleanupSignals() noexcept { platform::HoldTerminationSignals(m_saved); }

HoldCleanupSignals::~HoldCleanupSignals() { platform::ReleaseTerminationSignals(m_saved); }

void InstallSignalCleanup() noexcept { platform::InstallTerminationHandler(RemoveListedFiles); }

} // namespace ormavex
