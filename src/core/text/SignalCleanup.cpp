#include "core/text/SignalCleanup.h"

#include <atomic>
#include <csignal>
#include <cstring>

namespace ormavex {

namespace {

// A slot is in use while its flag is set; the path is complete before the
// flag is set and the flag is cleared before the path changes, so that the
// handler never reads a half-written path. The flag also says where the path
// is: the usual short path in the slot's short room (sixteen to a page, so
// that a report run's few hundred print files touch a few pages of the list,
// not one each), a longer one in its long room.
constexpr std::size_t kShortPath = 256;
constexpr std::size_t kMaxPath = 4096;
constexpr std::sig_atomic_t kFree = 0;
constexpr std::sig_atomic_t kShort = 1;
constexpr std::sig_atomic_t kLong = 2;
char g_shortPaths[kMaxFilesRemovedOnSignal][kShortPath];
char g_longPaths[kMaxFilesRemovedOnSignal][kMaxPath];
volatile std::sig_atomic_t g_used[kMaxFilesRemovedOnSignal];

char* SlotPath(int i, std::sig_atomic_t room) noexcept {
    return room == kShort ? g_shortPaths[i] : g_longPaths[i];
}

void RemoveListedFiles() noexcept {
    for (int i = 0; i < kMaxFilesRemovedOnSignal; ++i) {
        const std::sig_atomic_t used = g_used[i];
        if (used != kFree) {
            platform::RemoveFileOnExit(SlotPath(i, used));
        }
    }
}

} // namespace

bool RemoveOnSignal(const std::string& path) noexcept {
    if (path.empty() || path.size() >= kMaxPath) {
        return false;
    }
    const std::sig_atomic_t room = path.size() < kShortPath ? kShort : kLong;
    for (int i = 0; i < kMaxFilesRemovedOnSignal; ++i) {
        if (g_used[i] == kFree) {
            std::memcpy(SlotPath(i, room), path.c_str(), path.size() + 1);
            std::atomic_signal_fence(std::memory_order_seq_cst);
            g_used[i] = room;
            return true;
        }
    }
    return false;
}

void ForgetOnSignal(const std::string& path) noexcept {
    for (int i = 0; i < kMaxFilesRemovedOnSignal; ++i) {
        const std::sig_atomic_t used = g_used[i];
        if (used != kFree && path == SlotPath(i, used)) {
            g_used[i] = kFree;
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
