#include "platform/TempFile.h"

#include <atomic>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace pembrill {

namespace {

std::string TempDirectory() {
    const char* directory = std::getenv("TMPDIR");
    return directory && *directory ? directory : "/tmp";
}

// The files made and not yet removed, in slots that a signal handler may read
// at any moment on any thread: a slot's path is written before the slot is
// marked used, and a slot is marked free before its path is overwritten.
enum SlotState : int { SlotFree, SlotFilling, SlotUsed };

struct TrackedFile {
    std::atomic<int> State{SlotFree};
    char Path[PATH_MAX];
};

// A job makes one file per section; a file that finds no free slot is still
// removed as usual, only not by the handler.
constexpr int TrackedFileCount = 16;
TrackedFile TrackedFiles[TrackedFileCount];

extern "C" void RemoveTrackedFilesAndEnd(int signal) {
    for (TrackedFile& file : TrackedFiles) {
        if (file.State.load() == SlotUsed)
            unlink(file.Path);
    }
    // SA_RESETHAND has put the default action back: this ends the program
    // with the status the signal gives.
    raise(signal);
}

void HandleEndingSignals() {
    for (const int signal : {SIGHUP, SIGINT, SIGTERM}) {
        struct sigaction current {};
        if (sigaction(signal, nullptr, &current) != 0 || current.sa_handler != SIG_DFL)
            continue;
        struct sigaction cleanup {};
        cleanup.sa_handler = RemoveTrackedFilesAndEnd;
        sigemptyset(&cleanup.sa_mask);
        cleanup.sa_flags = SA_RESETHAND | SA_NODEFER;
        sigaction(signal, &cleanup, nullptr);
    }
}

void Track(const std::string& path) {
    static const bool handled = (HandleEndingSignals(), true);
    (void)handled;
    if (path.size() >= PATH_MAX)
        return;
    for (TrackedFile& file : TrackedFiles) {
        int expected = SlotFree;
        if (!file.State.compare_exchange_strong(expected, SlotFilling))
            continue;
        std::memcpy(file.Path, path.c_str(), path.size() + 1);
        file.State.store(SlotUsed);
        return;
    }
}

void Untrack(const std::string& path) {
    for (TrackedFile& file : TrackedFiles) {
        if (file.State.load() == SlotUsed && path == file.Path) {
            file.State.store(SlotFree);
            return;
        }
    }
}

} // namespace

std::FILE* CreateTempFile(const std::string& prefix, const std::string& suffix, std::string& path) {
    std::string pattern = TempDirectory() + "/" + prefix + "XXXXXX" + suffix;
    // mkstemps creates the file with mode 0600 whatever the umask.
    const int descriptor = mkstemps(pattern.data(), static_cast<int>(suffix.size()));
    if (descriptor < 0)
        return nullptr;
    std::FILE* file = fdopen(descriptor, "wb");
    if (!file) {
        close(descriptor);
        unlink(pattern.c_str());
        return nullptr;
    }
    Track(pattern);
    path = pattern;
    return file;
}

// Removed before it is untracked: a signal in between only repeats the unlink.
void RemoveTempFile(const std::string& path) {
    unlink(path.c_str());
    Untrack(path);
}

} // namespace pembrill
