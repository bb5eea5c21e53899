// libFuzzer target: restoring and scanning arbitrary archive bytes must never read or write
// outside a buffer, hang, or write outside the target folder.

#include "ArchiveScanner.h"
#include "BackupFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <unistd.h>

namespace
{

const std::string& workFolder()
{
    static const std::string folder = [] {
        char name[] = "/tmp/lumo-fuzz-archive-XXXXXX";
        const char* made = ::mkdtemp(name);
        if (!made)
            std::abort();
        return std::string(made);
    }();
    return folder;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string folder = workFolder();

    // From a stream into the work folder, both name rules.
    for (const bool fullPath : {false, true}) {
        lumo::TBackupFile archive;
        std::istringstream in(bytes);
        archive.SetRestoreStream(&in);
        archive.SetRestoreFullPath(fullPath);
        archive.SetRestoreMode(size % 2 ? lumo::rmAll : lumo::rmNewer);
        // Every file goes to one fixed name: the fuzzer must not fill the disk.
        archive.OnRestoreFile = [&](lumo::TBackupFile&, std::string& target, std::int32_t, bool&) {
            if (target.compare(0, folder.size(), folder) != 0 ||
                target.find("/../") != std::string::npos ||
                target.compare(target.size() < 3 ? 0 : target.size() - 3, 3, "/..") == 0)
                std::abort(); // a name escaped the target folder
            target = folder + "/out.bin";
        };
        try {
            archive.Restore(lumo::TBackupFile::kStreamName, folder + "/in");
        } catch (const lumo::ArchiveException&) {
        }
        if (archive.Busy())
            std::abort();
    }

    // From a file, as list and verify read it.
    const std::string file = folder + "/a.bak";
    if (std::FILE* f = std::fopen(file.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
        lumo::scanArchive(file);
    }
    return 0;
}
