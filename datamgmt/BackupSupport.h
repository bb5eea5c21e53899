#pragma once
// Small pieces shared by the archive writer and reader: file handles closed
// on every path, the temporary identity list, the restored file's buffer and
// a few path helpers.
#include "ArchiveIo.h"
#include "BackupTypes.h"
#include "FileFaults.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>
#include <zlib.h>

namespace lumo
{

inline constexpr std::int64_t kVolumeReserve = 16384 + 100;
inline constexpr std::int64_t kLargestFile = 0x7FFFFFFF;

inline int zlibLevel(TCompressionLevel level)
{
    switch (level) {
    case clFastest:
        return 1;
    case clNone:
        return 0;
    case clDefault:
        return Z_DEFAULT_COMPRESSION;
    case clMax:
        return 9;
    }
    return 9;
}

// Sets a flag for the lifetime of an operation, whichever way the operation ends.
class BusyGuard
{
public:
    explicit BusyGuard(bool& flag) : flag_(flag) { flag_ = true; }
    ~BusyGuard() { flag_ = false; }
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;

private:
    bool& flag_;
};

// A file descriptor closed on every path.
class FileHandle
{
public:
    FileHandle() = default;
    ~FileHandle() { reset(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    bool open(const std::string& path)
    {
        reset();
        fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        return fd_ >= 0;
    }
    void reset()
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }
    int fd() const { return fd_; }

private:
    int fd_ = -1;
};

// The temporary file-identity list, deleted when the backup ends.
class TemporaryFile
{
public:
    ~TemporaryFile()
    {
        if (!path_.empty())
            ::unlink(path_.c_str());
    }
    bool create(const std::string& contents)
    {
        const char* dir = std::getenv("TMPDIR");
        std::string pattern = std::string(dir && *dir ? dir : "/tmp") + "/FIDXXXXXX";
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        const int fd = ::mkstemp(name.data());
        if (fd < 0)
            return false;
        path_ = name.data();
        std::size_t done = 0;
        while (done < contents.size()) {
            const ssize_t n = ::write(fd, contents.data() + done, contents.size() - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                ::close(fd);
                return false;
            }
            done += static_cast<std::size_t>(n);
        }
        return ::close(fd) == 0;
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// A file being restored, written through a buffer.
class TargetFile
{
public:
    ~TargetFile()
    {
        if (file_)
            std::fclose(file_);
    }
    void open(const std::string& path, bool append)
    {
        file_ = std::fopen(path.c_str(), append ? "ab" : "wb");
        if (!file_)
            throw WriteFault("cannot create " + path);
    }
    void write(const std::uint8_t* data, std::size_t size)
    {
        if (size && (!faults::allowWrite(size) || std::fwrite(data, 1, size, file_) != size))
            throw WriteFault("write failed");
    }
    void close()
    {
        std::FILE* f = file_;
        file_ = nullptr;
        if (f && std::fclose(f) != 0)
            throw WriteFault("close failed");
    }

private:
    std::FILE* file_ = nullptr;
};

// Creates `folder` and every missing parent; true when it exists afterwards.
bool makeFolders(const std::string& folder);
std::string parentFolder(const std::string& path);
std::string trimSpaces(const std::string& s);
// The volume number of a "NEXT:DISKnnn" marker, or 0 when the marker is malformed.
unsigned markerVolume(const std::string& name);

} // namespace lumo
