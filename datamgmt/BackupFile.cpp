#include "BackupFile.h"

#include "BackupReader.h"
#include "BackupSupport.h"
#include "BackupWriter.h"

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
