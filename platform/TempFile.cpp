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
// at any moment: a slot's path is written before the slot is marked used, and
// a slot is marked free before its path is overwritten. Slots are linked from
// TrackedFiles, made as a job needs them and never freed, so that the handler
// walks a list that only ever grows at its head and a job of any number of
// sections is covered.
enum SlotState : int { SlotFree, SlotFilling, SlotUsed };

struct TrackedFile {
    std::atomic<int> State{SlotFree};
    char Path[PATH_MAX];
    TrackedFile* Next = nullptr;
};

std::atomic<TrackedFile*> TrackedFiles{nullptr};

extern "C" void RemoveTrackedFilesAndEnd(int signal) {
    for (TrackedFile* file = TrackedFiles.load(); file; file = file->Next) {
        if (file->State.load() == SlotUsed)
            unlink(file->Path);
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
    TrackedFile* slot = TrackedFiles.load();
    for (; slot; slot = slot->Next) {
        int expected = SlotFree;
        if (slot->State.compare_exchange_strong(expected, SlotFilling))
            break;
    }
    if (!slot) {
        slot = new TrackedFile;
        slot->State.store(SlotFilling);
        slot->Next = TrackedFiles.load();
        while (!TrackedFiles.compare_exchange_weak(slot->Next, slot)) {
        }
    }
    std::memcpy(slot->Path, path.c_str(), path.size() + 1);
    slot->State.store(SlotUsed);
}

void Untrack(const std::string& path) {
    for (TrackedFile* slot = TrackedFiles.load(); slot; slot = slot->Next) {
        if (slot->State.load() == SlotUsed && path == slot->Path) {
            slot->State.store(SlotFree);
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
