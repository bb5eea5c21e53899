#pragma once
// Reads a whole archive without writing anything: its header, every entry with its decoded
// size, and the first fault met. Used to list and to verify archives.

#include <cstdint>
#include <string>
#include <vector>

namespace lumo
{

struct ArchiveEntryInfo {
    std::string name;          // stored name, as UTF-8
    std::int32_t dateTime = 0; // MS-DOS date-time
    std::uint64_t size = 0;    // decoded bytes, over all volumes
    std::string kind;          // "EC2" or "ECS"
};

struct ArchiveScan {
    std::string title;
    std::int32_t totalSize = 0;
    std::int32_t fileCount = 0;
    std::vector<ArchiveEntryInfo> entries;
    bool ok = false;               // the end record was reached without a fault
    std::string fault;             // what went wrong, when not ok
    std::string faultEntry;        // the entry being read then (empty in the header)
    std::string faultVolume;       // the volume file being read then
    std::uint64_t faultOffset = 0; // offset within that volume
};

// Volumes are looked for next to the first one. Nothing but reading is done.
ArchiveScan scanArchive(const std::string& archiveName);

} // namespace lumo
