#include "platform/LineReader.h"

#include "platform/FileError.h"
#include "platform/Files.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <sys/stat.h>
#include <sys/types.h>

namespace pembrill {

namespace {

constexpr char Cr = '\r';
constexpr char Lf = '\n';
constexpr char CtrlZ = 26;

// Large blocks keep the system calls few on a long file; a reader is one of a
// handful alive at a time, so the memory does not add up. A smaller file gets
// a block of its own size: a project opens thousands of small units, and
// clearing a large block for each would cost more than reading them.
constexpr size_t MaxBlockSize = 256 * 1024;

const char* FindByte(const char* begin, const char* end, char byte) {
    return static_cast<const char*>(std::memchr(begin, byte, static_cast<size_t>(end - begin)));
}

// More than the file's size, so that the first read of a small file is seen
// to be short: it holds the whole text. Never tiny, so that a file that grows
// after it was opened is still read in blocks.
constexpr size_t MinBlockSize = 4 * 1024;

int64_t FileSizeOf(std::FILE* file) {
#ifdef _WIN32
    struct _stati64 info {};
    if (_fstati64(_fileno(file), &info) != 0)
        throw LastFileError();
#else
    struct stat info {};
    if (fstat(fileno(file), &info) != 0)
        throw LastFileError();
#endif
    return info.st_size;
}

size_t BlockSizeFor(std::FILE* file) {
    const int64_t size = std::clamp<int64_t>(FileSizeOf(file) + 1, MinBlockSize, MaxBlockSize);
    return static_cast<size_t>(size);
}

// Reads up to blockSize bytes into block; false at the end of the file.
bool ReadBlock(std::FILE* file, size_t blockSize, std::string& block) {
    block.resize(blockSize);
    const size_t count = std::fread(block.data(), 1, blockSize, file);
    block.resize(count);
    if (std::ferror(file))
        throw LastFileError();
    return count > 0;
}

// The first CR or LF in [begin, end), or null.
const char* FindLineEnd(const char* begin, const char* end) {
    for (const char* p = begin; p != end; ++p)
        if (*p == Cr || *p == Lf)
            return p;
    return nullptr;
}

} // namespace

LineReader::LineReader(const std::string& path) {
    // Names come from project files written on Windows: backslashes and
    // any letter case.
    File = OpenFileForReading(NativePath(path));
    try {
        // The reads are all larger than stdio's own buffer would be.
        std::setvbuf(File, nullptr, _IONBF, 0);
        BlockSize = BlockSizeFor(File);
        Finished = !FillBuffer();
    } catch (...) {
        std::fclose(File);
        throw;
    }
}

LineReader::~LineReader() {
    std::fclose(File);
}

bool LineReader::FillBuffer() {
    BufferPos = 0;
    return ReadBlock(File, BlockSize, Buffer);
}

bool LineReader::ReadLine(std::string& line) {
    line.clear();
    bool consumed = false;
    while (!Finished) {
        if (BufferPos == Buffer.size() && !FillBuffer()) {
            Finished = true;
            break;
        }
        const char* begin = Buffer.data() + BufferPos;
        const char* end = Buffer.data() + Buffer.size();
        const char* stop = FindLineEnd(begin, end);
        const char* ctrlZ = FindByte(begin, stop ? stop : end, CtrlZ);
        if (ctrlZ) {
            line.append(begin, ctrlZ);
            consumed = consumed || ctrlZ != begin;
            Finished = true;
            break;
        }
        consumed = true;
        if (!stop) {
            line.append(begin, end);
            BufferPos = Buffer.size();
            continue;
        }
        line.append(begin, stop);
        BufferPos = static_cast<size_t>(stop - Buffer.data()) + 1;
        if (*stop == Cr)
            SkipLfAfterCr();
        return true;
    }
    return consumed;
}

// The LF of a CR LF pair may be the first byte of the next block.
void LineReader::SkipLfAfterCr() {
    if (BufferPos == Buffer.size() && !FillBuffer()) {
        Finished = true;
        return;
    }
    if (Buffer[BufferPos] == Lf)
        ++BufferPos;
}

} // namespace pembrill
