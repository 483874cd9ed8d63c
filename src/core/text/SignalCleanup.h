#pragma once
// Files to remove when the program is ended by SIGINT, SIGTERM or SIGHUP:
// the print files of a report run and the new file of a save in progress.
//
// The list has a fixed size and is kept in static storage, so that the
// signal handler only reads it, removes the files and ends the program, all
// safe in a handler. A program that wants this calls InstallSignalCleanup() once at
// its start; the list is kept in every program, installed or not.

#include "core/platform/Platform.h"

#include <string>

namespace ormavex {

/// How many files the list holds at most; a file beyond that is not removed
/// on a signal (it is still removed by the normal way out).
inline constexpr int kMaxFilesRemovedOnSignal = 512;

/// Adds `path` to the files removed on a signal; false when the list is full
/// or the path is too long for it.
bool RemoveOnSignal(const std::string& path) noexcept;
/// Takes `path` off the list (after it was removed, renamed or kept).
void ForgetOnSignal(const std::string& path) noexcept;
/// How many files the list holds now.
int FilesRemovedOnSignal() noexcept;

/// While it lives, SIGINT, SIGTERM and SIGHUP wait: for the moment between
/// making a file and putting it on the list.
class HoldCleanupSignals {
public:
    HoldCleanupSignals() noexcept;
    ~HoldCleanupSignals();
    HoldCleanupSignals(const HoldCleanupSignals&) = delete;
    HoldCleanupSignals& operator=(const HoldCleanupSignals&) = delete;

private:
    platform::SignalMask m_saved;
};

/// Handles SIGINT, SIGTERM and SIGHUP: removes every file on the list and
/// ends the program with 128 + the signal number.
void InstallSignalCleanup() noexcept;

} // namespace ormavex
