#pragma once
// Reads an archive back: file entries, data sections of both kinds, volume
// markers, and the restore decisions of the caller.
#include "ArchiveIo.h"
#include "BackupFile.h"
#include "BackupSupport.h"
#include "BlockCompressor.h"

#include <cstdint>
#include <string>

namespace lumo
{

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

} // namespace lumo
