#pragma once
// Writes an archive: the header, one entry per listed file with its data
// section, volume changes, and the closing record.
#include "ArchiveIo.h"
#include "BackupFile.h"
#include "BackupSupport.h"
#include "BlockCompressor.h"

#include <string>
#include <vector>

namespace lumo
{

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

} // namespace lumo
