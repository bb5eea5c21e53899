#include "ArchiveScanner.h"

#include "ArchiveIo.h"
#include "ArchivePaths.h"

namespace lumo
{

ArchiveScan scanArchive(const std::string& archiveName)
{
    ArchiveScan scan;
    ArchiveInput in;
    BlockInflater inflater;
    std::string volumeName = archiveName;
    scan.faultVolume = volumeName;
    if (!regularFileExists(archiveName) || !in.openFile(archiveName)) {
        scan.fault = "cannot open archive";
        return scan;
    }
    ArchiveEntryInfo* current = nullptr; // the entry whose data the sections hold
    const ArchiveEntryInfo* reading = nullptr;
    auto section = [&]() {
        reading = current;
        const std::uint64_t at = in.offset();
        SectionKind kind = SectionKind::Ec2;
        try {
            kind = readDataSection(
                in,
                [&](const std::uint8_t*, std::size_t size) {
                    if (current)
                        current->size += size;
                },
                [](std::size_t, SectionKind) { return true; }, inflater);
        } catch (const UnknownSectionFault&) {
            throw ArchiveFault("invalid data section signature", at);
        } catch (const CompressionFault& e) {
            throw ArchiveFault("damaged compressed block", e.offset);
        }
        if (current && current->kind.empty())
            current->kind = kind == SectionKind::Ec2 ? "EC2" : "ECS";
        reading = nullptr;
    };
    try {
        const std::int32_t titleLength = in.readInt32();
        if (titleLength < 0 || titleLength > kMaxTitleLength)
            throw ArchiveFault("bad title length", 0);
        scan.title = decodeStoredText(in.readBytes(static_cast<std::size_t>(titleLength)));
        scan.totalSize = in.readInt32();
        scan.fileCount = in.readInt32();
        for (;;) {
            const std::uint64_t recordAt = in.offset();
            const std::int32_t length = in.readInt32();
            if (length == 0)
                break;
            if (length < 0 || length > kMaxStoredNameLength)
                throw ArchiveFault("bad record length", recordAt);
            const std::string name = in.readBytes(static_cast<std::size_t>(length));
            if (name.compare(0, 9, "NEXT:DISK") == 0) {
                unsigned volume = 0;
                bool digits = name.size() == 12;
                for (std::size_t i = 9; digits && i < 12; ++i) {
                    digits = name[i] >= '0' && name[i] <= '9';
                    volume = volume * 10 + static_cast<unsigned>(name[i] - '0');
                }
                if (!digits || volume < 2)
                    throw ArchiveFault("bad volume marker", recordAt);
                volumeName = volumeFileName(volumeName, volume);
                scan.faultVolume = volumeName;
                if (!regularFileExists(volumeName) || !in.openFile(volumeName))
                    throw ArchiveFault("missing volume " + volumeName, 0);
                section();
                continue;
            }
            scan.entries.push_back(ArchiveEntryInfo());
            current = &scan.entries.back();
            current->name = decodeStoredText(name);
            current->dateTime = in.readInt32();
            section();
        }
        scan.ok = true;
    } catch (const ArchiveFault& e) {
        scan.fault = e.what();
        scan.faultOffset = e.offset;
        if (reading)
            scan.faultEntry = reading->name;
    }
    return scan;
}

} // namespace lumo
