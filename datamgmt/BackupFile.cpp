#include "BackupFile.h"

#include "ArchiveAttribute.h"
#include "ArchiveIo.h"
#include "ArchivePaths.h"
#include "BlockCompressor.h"
#include "DosDateTime.h"
#include "FileWalk.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumo
{

std::string BackupErrorText(std::int32_t code)
{
    switch (code) {
    case beCannotReadFile:
        return "Cannot read file";
    case beOverwriteFailed:
        return "Overwriting file failed";
    case beCannotReadArchive:
        return "Cannot read archive";
    case beCannotWriteArchive:
        return "Cannot write to archive";
    case beInvalidArchiveType:
        return "Invalid archive type";
    case beCompressionError:
        return "Compression error";
    case beCannotCreateFileIds:
        return "Cannot create temporary file to save the file IDs";
    default:
        return std::string();
    }
}

namespace
{

constexpr std::int64_t kVolumeReserve = 16384 + 100;
constexpr std::int64_t kLargestFile = 0x7FFFFFFF;

int zlibLevel(TCompressionLevel level)
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
        if (size && std::fwrite(data, 1, size, file_) != size)
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

bool makeFolders(const std::string& folder)
{
    if (folder.empty())
        return true;
    std::string path;
    std::size_t pos = 0;
    while (pos <= folder.size()) {
        std::size_t next = folder.find('/', pos);
        if (next == std::string::npos)
            next = folder.size();
        path = folder.substr(0, next);
        if (!path.empty())
            ::mkdir(path.c_str(), 0777);
        pos = next + 1;
    }
    struct stat st {
    };
    return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string parentFolder(const std::string& path)
{
    const std::size_t sep = path.find_last_of('/');
    if (sep == std::string::npos)
        return std::string();
    return sep == 0 ? std::string("/") : path.substr(0, sep);
}

std::string trimSpaces(const std::string& s)
{
    const std::size_t b = s.find_first_not_of(' ');
    if (b == std::string::npos)
        return std::string();
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

// The volume number of a "NEXT:DISKnnn" marker, or 0 when the marker is malformed.
unsigned markerVolume(const std::string& name)
{
    if (name.size() != 12)
        return 0;
    unsigned value = 0;
    for (std::size_t i = 9; i < 12; ++i) {
        if (name[i] < '0' || name[i] > '9')
            return 0;
        value = value * 10 + static_cast<unsigned>(name[i] - '0');
    }
    return value;
}

} // namespace

// --- the writer -------------------------------------------------------------------------

class BackupWriter
{
public:
    BackupWriter(TBackupFile& owner, const std::string& archiveName)
        : owner_(owner), archiveName_(archiveName),
          compressor_(zlibLevel(owner.compressionLevel_), owner.compressionThreads_)
    {
    }

    bool run(const std::vector<std::string>& files);

private:
    void writeDataSection();
    void changeVolume();

    TBackupFile& owner_;
    std::string archiveName_;
    bool toStream_ = false;
    unsigned volume_ = 1;
    ArchiveOutput out_;
    BlockCompressor compressor_;
};

bool BackupWriter::run(const std::vector<std::string>& files)
{
    TBackupFile& o = owner_;
    std::vector<std::string> list =
        buildBackupList(files, archiveName_, o.backupMode_ == bmIncremental);
    o.continue_ = true;
    o.raiseProgressValue(std::string(), 0);

    // Sizes (and the identity list) of the files that exist now.
    std::uint32_t total = 0;
    std::string idList;
    bool tooLarge = false;
    for (const std::string& name : list) {
        if (!regularFileExists(name))
            continue;
        FileHandle file;
        if (!file.open(name))
            throw ArchiveException("Cannot open file \"" + name + "\". " + std::strerror(errno));
        struct stat st {
        };
        if (::fstat(file.fd(), &st) != 0)
            throw ArchiveException("Cannot open file \"" + name + "\". " + std::strerror(errno));
        // The archive's sizes are 32-bit: larger files cannot be packed.
        if (st.st_size > kLargestFile)
            tooLarge = true;
        total += static_cast<std::uint32_t>(st.st_size);
        if (o.saveFileId_)
            idList += name + "\t" + std::to_string(dosDateTimeFromTime(st.st_mtime)) + "=" +
                      std::to_string(static_cast<long long>(st.st_size)) + "\r\n";
    }
    if (tooLarge) {
        // Refused before the archive is touched, so an earlier archive of that name stays.
        o.recordError(beCannotReadFile);
        o.continue_ = false;
        return false;
    }

    TemporaryFile idFile;
    if (o.saveFileId_) {
        if (idFile.create(idList)) {
            list.insert(list.begin(), idFile.path());
            total += static_cast<std::uint32_t>(idList.size());
        } else {
            o.recordError(beCannotCreateFileIds);
            o.continue_ = false;
        }
    }
    const bool withIdList = o.saveFileId_ && !idFile.path().empty();

    o.totalSize_ = static_cast<std::int32_t>(total);
    o.fileCount_ = static_cast<std::int32_t>(list.size()) - (withIdList ? 1 : 0);
    o.processedSize_ = 0;
    toStream_ = archiveName_ == TBackupFile::kStreamName;
    try {
        if (toStream_) {
            if (!o.backupStream_)
                throw WriteFault("no stream");
            out_.useStream(o.backupStream_);
        } else {
            out_.createFile(archiveName_);
        }
        out_.writeInt32(static_cast<std::int32_t>(o.backupTitle_.size()));
        out_.write(o.backupTitle_.data(), o.backupTitle_.size());
        out_.writeInt32(o.totalSize_);
        out_.writeInt32(o.fileCount_);
    } catch (const WriteFault&) {
        o.recordError(beCannotWriteArchive);
        o.continue_ = false;
    }

    for (std::size_t i = 0; i < list.size() && o.continue_; ++i) {
        const std::string& path = list[i];
        const bool isIdList = withIdList && i == 0;
        if (!regularFileExists(path))
            continue;
        bool complete = false;
        FileHandle file;
        try {
            struct stat st {
            };
            if (!file.open(path) || ::fstat(file.fd(), &st) != 0 || st.st_size > kLargestFile)
                throw BlockCompressor::ReadFailure("cannot open");
            const std::string name = isIdList ? std::string("FILE:LIST") : trimSpaces(path);
            out_.writeInt32(static_cast<std::int32_t>(name.size()));
            out_.write(name.data(), name.size());
            out_.writeInt32(dosDateTimeFromTime(st.st_mtime));
            o.currentFile_ = path;
            compressor_.startFile(file.fd(), static_cast<std::uint64_t>(st.st_size));
            do {
                writeDataSection();
            } while (o.continue_ && compressor_.hasMore());
            complete = o.continue_;
            if (!isIdList)
                ++o.filesProcessed_;
        } catch (const WriteFault&) {
            o.recordError(beCannotWriteArchive);
            o.continue_ = false;
        } catch (const std::exception&) {
            o.recordError(beCannotReadFile);
            o.continue_ = false;
        }
        file.reset();
        // Only a file packed completely counts as backed up.
        if (o.setArchiveFlag_ && complete && !isIdList)
            clearArchiveAttribute(path);
    }

    bool result = false;
    if (o.continue_) {
        try {
            out_.writeInt32(0);
            result = true;
        } catch (const WriteFault&) {
            o.recordError(beCannotWriteArchive);
        }
    }
    try {
        out_.close();
    } catch (const WriteFault&) {
        // Buffered bytes that never reached the disk make the archive as bad as a failed write.
        if (o.lastError_ == 0)
            o.recordError(beCannotWriteArchive);
        result = false;
    }
    return result;
}

void BackupWriter::writeDataSection()
{
    TBackupFile& o = owner_;
    try {
        out_.write("EC2\0", 4);
        const std::int64_t maxSize = toStream_ ? 0 : o.maxSize_;
        while (o.continue_ && (maxSize <= 0 || out_.position() < maxSize - kVolumeReserve)) {
            const CompressedBlock* block = compressor_.next();
            if (!block)
                break;
            o.processedSize_ += static_cast<std::int64_t>(block->rawSize);
            if (block->failed) {
                o.recordError(beCompressionError);
                o.continue_ = false;
            } else {
                out_.writeInt32(block->length);
                out_.write(block->bytes(), static_cast<std::size_t>(
                                               block->length < 0 ? -block->length : block->length));
            }
            o.processMessages();
            o.raiseProgress(o.currentFile_, o.processedSize_);
        }
        out_.writeInt32(0);
        if (compressor_.hasMore() && o.continue_)
            changeVolume();
    } catch (const BlockCompressor::ReadFailure&) {
        throw;
    } catch (const std::exception&) {
        o.continue_ = false;
        o.recordError(beCannotWriteArchive);
    }
}

void BackupWriter::changeVolume()
{
    TBackupFile& o = owner_;
    ++volume_;
    if (volume_ > 999)
        throw WriteFault("too many volumes");
    char marker[16];
    std::snprintf(marker, sizeof marker, "NEXT:DISK%03u", volume_);
    out_.writeInt32(12);
    out_.write(marker, 12);
    out_.close();
    o.raiseNeedDisk(volume_);
    if (o.continue_) {
        archiveName_ = volumeFileName(archiveName_, volume_);
        out_.createFile(archiveName_);
    }
}

// --- the reader -------------------------------------------------------------------------

class BackupReader
{
public:
    BackupReader(TBackupFile& owner, const std::string& archiveName, const std::string& targetDir)
        : owner_(owner), archiveName_(archiveName), targetDir_(targetDir)
    {
    }
    // False when the archive does not exist; throws ArchiveException.
    bool open();
    void run();

private:
    void restoreEntry(const std::string& storedName);
    void continueOnNextVolume(const std::string& marker);
    bool decodeInto(bool append);
    void skipSection();
    bool step(std::size_t decoded, SectionKind kind);

    TBackupFile& owner_;
    std::string archiveName_;
    std::string targetDir_;
    ArchiveInput in_;
    BlockInflater inflater_;
    // The file entry whose data is being read.
    bool restoring_ = false;
    std::string target_;
    std::int32_t dateTime_ = 0;
};

bool BackupReader::open()
{
    if (archiveName_ == TBackupFile::kStreamName) {
        if (!owner_.restoreStream_)
            return false;
        in_.useStream(owner_.restoreStream_);
        return true;
    }
    if (!regularFileExists(archiveName_))
        return false;
    if (!in_.openFile(archiveName_))
        throw ArchiveException(BackupErrorText(beCannotReadArchive));
    return true;
}

void BackupReader::run()
{
    TBackupFile& o = owner_;
    try {
        const std::int32_t titleLength = in_.readInt32();
        if (titleLength < 0 || titleLength > kMaxTitleLength)
            throw ArchiveFault("bad title length", in_.offset());
        in_.skip(static_cast<std::size_t>(titleLength));
        o.totalSize_ = in_.readInt32();
        o.fileCount_ = in_.readInt32();
        o.processedSize_ = 0;

        while (o.continue_) {
            const std::int32_t length = in_.readInt32();
            if (length == 0)
                break;
            if (length < 0 || length > kMaxStoredNameLength)
                throw ArchiveFault("bad record length", in_.offset());
            const std::string name = in_.readBytes(static_cast<std::size_t>(length));
            if (name.compare(0, 9, "NEXT:DISK") == 0)
                continueOnNextVolume(name);
            else
                restoreEntry(name);
        }
    } catch (const UnknownSectionFault&) {
        throw ArchiveException(BackupErrorText(beInvalidArchiveType));
    } catch (const ArchiveFault&) {
        throw ArchiveException(BackupErrorText(beCannotReadArchive));
    }
    in_.close();
}

void BackupReader::restoreEntry(const std::string& storedName)
{
    TBackupFile& o = owner_;
    const std::int32_t dateTime = in_.readInt32();
    const std::string name = decodeStoredText(storedName);

    std::string target;
    bool allowed;
    if (targetDir_.empty()) {
        target = name;
        allowed = !name.empty() && name[0] == '/' && name.back() != '/';
    } else if (o.restoreFullPath_) {
        const std::string relative = storedRelativePath(name);
        allowed = !relative.empty();
        target = targetDir_ + relative;
    } else {
        const std::string filePart = storedFilePart(name);
        allowed = staysInsideFolder(filePart);
        target = targetDir_ + filePart;
    }

    bool doRestore = false;
    if (storedName != "FILE:LIST") {
        std::int32_t current = 0;
        const bool exists =
            allowed && regularFileExists(target) && fileDosDateTime(target, current);
        switch (o.restoreMode_) {
        case rmAll:
            doRestore = true;
            break;
        case rmNoOverwrite:
            doRestore = !exists;
            break;
        case rmNewer:
            doRestore = !exists || current < dateTime;
            break;
        case rmExisting:
            doRestore = exists;
            break;
        case rmExistingNewer:
            doRestore = exists && current < dateTime;
            break;
        }
        if (!allowed) {
            // A name that would leave the target folder is never written.
            o.recordError(beCannotReadFile);
            doRestore = false;
        } else if (o.OnRestoreFile) {
            o.OnRestoreFile(o, target, dateTime, doRestore);
        }
    }
    if (doRestore && !makeFolders(parentFolder(target))) {
        o.recordError(beCannotReadFile);
        o.continue_ = false;
        return;
    }

    restoring_ = doRestore;
    target_ = target;
    dateTime_ = dateTime;
    if (!doRestore) {
        skipSection();
        return;
    }
    o.currentFile_ = target;
    if (decodeInto(false))
        ++o.filesProcessed_;
}

void BackupReader::continueOnNextVolume(const std::string& marker)
{
    TBackupFile& o = owner_;
    const unsigned volume = markerVolume(marker);
    if (volume == 0 || in_.isStream())
        throw ArchiveFault("bad volume marker", in_.offset());
    in_.close();
    do {
        o.raiseNeedDisk(volume);
        if (!o.continue_)
            return;
        archiveName_ = volumeFileName(archiveName_, volume);
    } while (!regularFileExists(archiveName_));
    if (!in_.openFile(archiveName_))
        throw ArchiveFault("cannot open volume", 0);
    if (restoring_)
        decodeInto(true);
    else
        skipSection();
}

bool BackupReader::decodeInto(bool append)
{
    TBackupFile& o = owner_;
    bool decoded = false;
    try {
        TargetFile file;
        file.open(target_, append);
        readDataSection(
            in_, [&](const std::uint8_t* data, std::size_t size) { file.write(data, size); },
            [this](std::size_t decoded, SectionKind kind) { return step(decoded, kind); },
            inflater_);
        file.close();
        decoded = true;
    } catch (const CompressionFault&) {
        o.recordError(beCompressionError);
        o.continue_ = false;
    } catch (const std::exception&) {
        o.recordError(beCannotReadFile);
        o.continue_ = false;
    }
    setFileDosDateTime(target_, dateTime_);
    return decoded;
}

void BackupReader::skipSection()
{
    readDataSection(
        in_, SectionWriter(),
        [this](std::size_t decoded, SectionKind kind) { return step(decoded, kind); }, inflater_);
}

bool BackupReader::step(std::size_t decoded, SectionKind kind)
{
    TBackupFile& o = owner_;
    o.processMessages();
    // "EC2" sections report progress only for restored files; "ECS" sections for every file.
    if (restoring_ || kind == SectionKind::Ecs) {
        o.processedSize_ += static_cast<std::int64_t>(decoded);
        o.raiseProgress(target_, o.processedSize_);
    }
    return o.continue_;
}

// --- TBackupFile --------------------------------------------------------------------------

TBackupFile::TBackupFile() = default;
TBackupFile::~TBackupFile() = default;

void TBackupFile::SetBackupMode(TBackupMode mode)
{
    if (mode == backupMode_)
        return;
    backupMode_ = mode;
    if (mode == bmIncremental)
        setArchiveFlag_ = true;
}

bool TBackupFile::Backup(const std::vector<std::string>& Files, const std::string& ArchiveName)
{
    lastError_ = 0;
    filesProcessed_ = 0;
    processedSize_ = 0;
    totalSize_ = 0;
    fileCount_ = 0;
    currentFile_.clear();
    bool result;
    {
        BusyGuard busy(busy_);
        BackupWriter writer(*this, ArchiveName);
        result = writer.run(Files);
        raiseProgressValue(std::string(), 100);
    }
    reportError();
    return result && lastError_ == 0;
}

bool TBackupFile::Restore(const std::string& ArchiveName, const std::string& TargetDir)
{
    std::string folder = TargetDir;
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    lastError_ = 0;
    filesProcessed_ = 0;
    processedSize_ = 0;
    currentFile_.clear();
    continue_ = true;
    BackupReader reader(*this, ArchiveName, folder);
    if (!reader.open())
        return false;
    {
        BusyGuard busy(busy_);
        reader.run();
        raiseProgressValue(std::string(), 100);
    }
    const bool result = lastError_ == 0 && continue_;
    reportError();
    return result;
}

void TBackupFile::raiseProgress(const std::string& file, std::int64_t processed)
{
    // The header's total is the low 32 bits of the sum of the sizes.
    const std::uint64_t total = static_cast<std::uint32_t>(totalSize_);
    std::uint64_t percent = 0;
    if (total > 0 && processed > 0)
        percent = static_cast<std::uint64_t>(processed) * 100 / total;
    raiseProgressValue(file, static_cast<TPercentage>(percent > 100 ? 100 : percent));
}

void TBackupFile::raiseProgressValue(const std::string& file, TPercentage percent)
{
    if (OnProgress)
        OnProgress(*this, file, percent, continue_);
}

void TBackupFile::raiseNeedDisk(unsigned volume)
{
    if (OnNeedDisk) {
        OnNeedDisk(*this, static_cast<std::uint16_t>(volume), continue_);
        return;
    }
    const std::string text =
        "Please insert disk " + std::to_string(volume) + " and click OK to continue.";
    continue_ = messageBox_ ? messageBox_(TBackupMessage::NeedDisk, text) : false;
}

void TBackupFile::recordError(std::int32_t code)
{
    lastError_ = code;
}

void TBackupFile::reportError()
{
    if (lastError_ == 0)
        return;
    const std::string text = BackupErrorText(lastError_);
    if (OnError)
        OnError(*this, lastError_, text);
    else if (messageBox_)
        messageBox_(TBackupMessage::Error, text);
}

void TBackupFile::processMessages()
{
    if (processMessages_)
        processMessages_();
}

} // namespace lumo
