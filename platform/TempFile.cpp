#include "platform/TempFile.h"

#include "platform/Files.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>

#ifdef _WIN32
#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include "platform/TextDecoding.h"
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace pembrill {

namespace {

// The files made and not yet removed, in slots that a signal handler may read
// at any moment: a slot's path is written before the slot is marked used, and
// a slot is marked free before its path is overwritten. Slots are linked from
// TrackedFiles, made as a job needs them and never freed, so that the handler
// walks a list that only ever grows at its head and a job of any number of
// sections is covered.
enum SlotState : int { SlotFree, SlotFilling, SlotUsed };

#ifdef _WIN32
// A path of MAX_PATH UTF-16 units takes at most three bytes a unit in UTF-8.
constexpr size_t MaxPath = 3 * MAX_PATH + 1;
#else
constexpr size_t MaxPath = PATH_MAX;
#endif

struct TrackedFile {
    std::atomic<int> State{SlotFree};
    char Path[MaxPath];
    TrackedFile* Next = nullptr;
};

std::atomic<TrackedFile*> TrackedFiles{nullptr};

// Only calls a signal handler may make; on Windows it runs on a thread of
// its own (a console event), not in a signal, and may convert the name.
void RemoveTrackedFiles() {
    for (TrackedFile* file = TrackedFiles.load(); file; file = file->Next) {
        if (file->State.load() != SlotUsed)
            continue;
#ifdef _WIN32
        ::DeleteFileW(ToWide(file->Path).c_str());
#else
        unlink(file->Path);
#endif
    }
}

#ifdef _WIN32

// Ctrl+C, Ctrl+Break, the console closed, a logoff or a shutdown. The system
// calls this on a thread of its own; answering FALSE leaves the event to the
// next handler, the default one, which ends the program.
BOOL WINAPI RemoveTrackedFilesAndEnd(DWORD) {
    RemoveTrackedFiles();
    return FALSE;
}

void HandleEndingSignals() {
    ::SetConsoleCtrlHandler(RemoveTrackedFilesAndEnd, TRUE);
}

#else

extern "C" void RemoveTrackedFilesAndEnd(int signal) {
    RemoveTrackedFiles();
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

#endif

void Track(const std::string& path) {
    static const bool handled = (HandleEndingSignals(), true);
    (void)handled;
    if (path.size() >= MaxPath)
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

// Six letters and digits, as mkstemp fills in its XXXXXX.
std::string RandomSuffix() {
    static constexpr char Characters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device random;
    std::uniform_int_distribution<size_t> pick(0, sizeof Characters - 2);
    std::string suffix(6, ' ');
    for (char& c : suffix)
        c = Characters[pick(random)];
    return suffix;
}

// A file made only where none of that name exists, with the permissions the
// umask gives a new file; -1, with errno set, when it cannot be made.
int CreateExclusively(const std::string& path) {
#ifdef _WIN32
    return _wopen(ToWide(path).c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY,
                  _S_IREAD | _S_IWRITE);
#else
    return open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
#endif
}

// Closes the new file, which keeps the replaced file's permissions; on
// Windows it has none to set.
void CloseWithPermissionsOf(const std::string& target, int descriptor) {
#ifdef _WIN32
    (void)target;
    _close(descriptor);
#else
    struct stat old {};
    if (stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode))
        fchmod(descriptor, old.st_mode & 07777);
    close(descriptor);
#endif
}

} // namespace

void RemoveAllTempFiles() {
    RemoveTrackedFiles();
}

ReplacementFile::~ReplacementFile() {
    if (!Partial.empty())
        RemoveTempFile(Partial);
}

bool ReplacementFile::Create() {
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string path = Target + "." + RandomSuffix();
        const int descriptor = CreateExclusively(path);
        if (descriptor < 0 && errno == EEXIST)
            continue;
        if (descriptor < 0)
            return false;
        Track(path);
        Partial = path;
        CloseWithPermissionsOf(Target, descriptor);
        return true;
    }
    return false;
}

// Untracked once renamed: the name it had is free for another program.
bool ReplacementFile::MoveIntoPlace(std::error_code& error) {
    std::filesystem::rename(ToFileSystemPath(Partial), ToFileSystemPath(Target), error);
    if (error)
        return false;
    Untrack(Partial);
    Partial.clear();
    return true;
}

#ifdef _WIN32

// In the system's temporary directory, named as the system names its own
// temporary files: prefix, four hex digits, suffix (".TMP"). Made only when
// no file of that name exists, so two programs never share one.
std::FILE* CreateTempFile(const std::string& prefix, const std::string& suffix, std::string& path) {
    wchar_t directory[MAX_PATH + 1];
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, directory);
    if (length == 0 || length > MAX_PATH)
        return nullptr;
    const std::string folder = FromWide(std::wstring(directory, length));
    const unsigned start = ::GetTickCount() ^ ::GetCurrentProcessId();
    for (unsigned attempt = 0; attempt < 0x10000; ++attempt) {
        char unique[5];
        std::snprintf(unique, sizeof unique, "%04X", (start + attempt) & 0xFFFF);
        const std::string name = folder + prefix + unique + suffix;
        const int descriptor = CreateExclusively(name);
        if (descriptor < 0) {
            if (errno == EEXIST)
                continue;
            return nullptr;
        }
        std::FILE* file = _fdopen(descriptor, "wb");
        if (!file) {
            _close(descriptor);
            ::DeleteFileW(ToWide(name).c_str());
            return nullptr;
        }
        Track(name);
        path = name;
        return file;
    }
    return nullptr;
}

// Removed before it is untracked: an event in between only repeats the
// deletion.
void RemoveTempFile(const std::string& path) {
    ::DeleteFileW(ToWide(path).c_str());
    Untrack(path);
}

#else

std::FILE* CreateTempFile(const std::string& prefix, const std::string& suffix, std::string& path) {
    const char* directory = std::getenv("TMPDIR");
    std::string pattern = std::string(directory && *directory ? directory : "/tmp") + "/" + prefix +
                          "XXXXXX" + suffix;
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

#endif

} // namespace pembrill
