#include "BackupWriter.h"

#include "ArchiveAttribute.h"
#include "ArchivePaths.h"
#include "DosDateTime.h"
#include "FileWalk.h"

#include <cstring>
#include <sys/stat.h>

namespace lumo
{

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
            const std::string name = isIdList        ? std::string("FILE:LIST")
                                     : o.storedName_ ? trimSpaces(o.storedName_(path))
                                                     : trimSpaces(path);
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

} // namespace lumo
