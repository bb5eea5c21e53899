#include "BackupReader.h"

#include "ArchiveAttribute.h"
#include "ArchivePaths.h"
#include "DosDateTime.h"
#include "FileWalk.h"
#include "Lzrw1kh.h"

#include <cstring>
#include <sys/stat.h>

namespace lumo
{

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

} // namespace lumo
