#pragma once
// TBackupFile: the archive component. Packs a list of files into one archive (optionally over
// several volumes) and unpacks such an archive into a folder. Plain C++ over zlib; it shows
// nothing itself: message boxes and "let the message loop run" are callbacks of the caller.
//
// Typical use (daily backup, exchange file):
//
//     lumo::TBackupFile backup;                 // every property starts zero/empty/false
//     backup.SetCompressionLevel(lumo::clMax);  // the system's configuration
//     backup.SetSetArchiveFlag(true);
//     backup.OnProgress = [&](lumo::TBackupFile&, const std::string& file,
//                             lumo::TPercentage percent, bool& cont) { ... };
//     backup.SetMessageBoxHandler(...);         // GUI: shows the error / next-disk boxes
//     backup.SetProcessMessagesHandler(...);    // GUI: processes pending events
//     bool ok = backup.Backup({"lumo.fc"}, "fcxx.vvv");
//     ok = backup.Restore("bak/slot.bak", appFolder);  // target folder; "" = stored paths
//
// Archive layout (integers 32-bit signed little-endian, texts UTF-8 without terminator):
//   header:  title length, title, total size (low 32 bits of the sum of file sizes),
//            file count
//   records: length L; L = 0 ends the archive; otherwise L bytes of name.
//            "NEXT:DISKnnn" (L = 12) announces volume nnn, which starts with a data section
//            that continues the current file. Any other name opens a file entry: name,
//            MS-DOS date-time (local time), data section.
//   data section "EC2\0": blocks of length n, n > 0 a zlib stream of one block of up to
//            16384 bytes, n < 0 -n bytes stored as they are, n = 0 the end.
//   data section "ECS\0" (read only): total length T, then chunks (length m, m bytes of
//            LZRW1KH).
// Volume k (k >= 2) is the archive name with its extension replaced by ".%03d".
//
// Errors are recorded with the codes of BackupTypes.h and reported once at the end of an operation,
// to OnError or else through the message-box handler. Some faults leave as an ArchiveException
// instead: a listed file that cannot be opened while the sizes are totalled, an unreadable
// archive header ("Cannot read archive"), a data section of unknown kind ("Invalid archive
// type"), and a truncated or malformed archive outside a file being restored. The busy flag is
// cleared in every case.

#include "BackupTypes.h"

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace lumo
{

class TBackupFile
{
public:
    // The archive name that selects BackupStream / RestoreStream instead of a file.
    static constexpr const char* kStreamName = ":STREAM";

    TBackupFile();
    ~TBackupFile();
    TBackupFile(const TBackupFile&) = delete;
    TBackupFile& operator=(const TBackupFile&) = delete;

    // Packs `Files` (names or wildcard patterns, each optionally followed by " /s") into
    // `ArchiveName`, which is created or truncated. True only when the end-of-archive record
    // was written (and the archive closed without error).
    bool Backup(const std::vector<std::string>& Files, const std::string& ArchiveName);

    // Unpacks `ArchiveName` into `TargetDir` (its file part below the folder, or with
    // RestoreFullPath the stored path below it); an empty `TargetDir` puts every file back at
    // its stored absolute path. False at once, without any event or message, when the archive
    // does not exist; otherwise true when no error was recorded and nothing cancelled.
    // Stored names that would leave the target folder are refused with error 1.
    bool Restore(const std::string& ArchiveName, const std::string& TargetDir);

    // --- properties -------------------------------------------------------------------
    std::string Version() const { return "3.00"; }
    void SetVersion(const std::string&) {} // has no effect

    const std::string& BackupTitle() const { return backupTitle_; }
    void SetBackupTitle(const std::string& title) { backupTitle_ = title; }

    TBackupMode BackupMode() const { return backupMode_; }
    // A change to bmIncremental also sets SetArchiveFlag.
    void SetBackupMode(TBackupMode mode);

    TCompressionLevel CompressionLevel() const { return compressionLevel_; }
    void SetCompressionLevel(TCompressionLevel level) { compressionLevel_ = level; }

    TRestoreMode RestoreMode() const { return restoreMode_; }
    void SetRestoreMode(TRestoreMode mode) { restoreMode_ = mode; }

    // Volume size limit in bytes; 0 (or less) writes one volume of any size.
    std::int32_t MaxSize() const { return maxSize_; }
    void SetMaxSize(std::int32_t bytes) { maxSize_ = bytes; }

    // After a file has been packed completely, clear its archive attribute.
    bool SetArchiveFlag() const { return setArchiveFlag_; }
    void SetSetArchiveFlag(bool on) { setArchiveFlag_ = on; }

    bool RestoreFullPath() const { return restoreFullPath_; }
    void SetRestoreFullPath(bool on) { restoreFullPath_ = on; }

    // Put a list of file identities ("FILE:LIST") into the archive as its first entry.
    bool SaveFileID() const { return saveFileId_; }
    void SetSaveFileID(bool on) { saveFileId_ = on; }

    // Streams used when the archive name is ":STREAM"; the caller keeps ownership. Volumes
    // are not available on streams: MaxSize is ignored when writing, and a volume marker met
    // while reading is an unreadable archive.
    std::ostream* BackupStream() const { return backupStream_; }
    void SetBackupStream(std::ostream* stream) { backupStream_ = stream; }
    std::istream* RestoreStream() const { return restoreStream_; }
    void SetRestoreStream(std::istream* stream) { restoreStream_ = stream; }

    // Number of threads that compress blocks ahead of the writer; 0 chooses by the machine.
    // The archive's bytes do not depend on it.
    unsigned CompressionThreads() const { return compressionThreads_; }
    void SetCompressionThreads(unsigned threads) { compressionThreads_ = threads; }

    // --- events and caller hooks --------------------------------------------------------
    TProgressEvent OnProgress;
    TNeedDiskEvent OnNeedDisk;
    TRestoreFileEvent OnRestoreFile;
    TBackupErrorEvent OnError;
    // Without a handler no box is shown: a needed disk counts as cancelled.
    void SetMessageBoxHandler(TMessageBoxHandler handler) { messageBox_ = std::move(handler); }
    void SetProcessMessagesHandler(TProcessMessagesHandler handler)
    {
        processMessages_ = std::move(handler);
    }
    // The name a packed file is stored under, given its path; without a handler
    // the path itself. Lets a copy taken elsewhere be stored under the name of
    // the file it was taken from.
    void SetStoredNameHandler(std::function<std::string(const std::string&)> handler)
    {
        storedName_ = std::move(handler);
    }

    // --- figures of the operation in progress or the last one ---------------------------
    bool Busy() const { return busy_; }
    bool Continue() const { return continue_; }
    std::int32_t LastError() const { return lastError_; }
    std::int32_t FileCount() const { return fileCount_; } // from the header
    std::int32_t FilesProcessed() const { return filesProcessed_; }
    std::int32_t TotalSize() const { return totalSize_; } // from the header
    std::int64_t ProcessedSize() const { return processedSize_; }
    const std::string& CurrentFile() const { return currentFile_; }

private:
    friend class BackupWriter;
    friend class BackupReader;

    void raiseProgress(const std::string& file, std::int64_t processed);
    void raiseProgressValue(const std::string& file, TPercentage percent);
    void raiseNeedDisk(unsigned volume);
    void recordError(std::int32_t code);
    void reportError();
    void processMessages();

    std::string backupTitle_;
    TBackupMode backupMode_ = bmAll;
    TCompressionLevel compressionLevel_ = clFastest;
    TRestoreMode restoreMode_ = rmAll;
    std::int32_t maxSize_ = 0;
    bool setArchiveFlag_ = false;
    bool restoreFullPath_ = false;
    bool saveFileId_ = false;
    std::ostream* backupStream_ = nullptr;
    std::istream* restoreStream_ = nullptr;
    unsigned compressionThreads_ = 0;
    TMessageBoxHandler messageBox_;
    TProcessMessagesHandler processMessages_;
    std::function<std::string(const std::string&)> storedName_;

    bool busy_ = false;
    bool continue_ = false;
    std::int32_t lastError_ = 0;
    std::int32_t fileCount_ = 0;
    std::int32_t filesProcessed_ = 0;
    std::int32_t totalSize_ = 0;
    std::int64_t processedSize_ = 0;
    std::string currentFile_;
};

} // namespace lumo
