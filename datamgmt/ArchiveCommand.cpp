#include "ArchiveCommand.h"

#include "ArchivePaths.h"
#include "ArchiveScanner.h"
#include "BackupFile.h"
#include "DosDateTime.h"

#include <cstdint>
#include <cstdlib>
#include <map>
#include <ostream>
#include <set>

namespace lumo
{
namespace
{

const char kUsage[] =
    "usage: lumoctl archive pack ARCHIVE FILE|PATTERN... [--level 0|1|6|9] [--max-size BYTES]\n"
    "                               [--title TEXT] [--file-ids] [--incremental]\n"
    "       lumoctl archive unpack ARCHIVE [DIR] [--mode all|no-overwrite|newer|existing|"
    "existing-newer] [--full-path]\n"
    "       lumoctl archive list ARCHIVE [--json]\n"
    "       lumoctl archive verify ARCHIVE\n";

class UsageError
{
public:
    explicit UsageError(std::string text) : text(std::move(text)) {}
    std::string text;
};

// Positional arguments and options of one subcommand.
struct Arguments {
    std::vector<std::string> positional;
    std::map<std::string, std::string> values; // options that take a value
    std::set<std::string> flags;               // options without one
};

Arguments parse(const std::vector<std::string>& args, const std::set<std::string>& valueOptions,
                const std::set<std::string>& flagOptions)
{
    Arguments parsed;
    bool optionsEnded = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (!optionsEnded && a == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && a.size() > 2 && a.compare(0, 2, "--") == 0) {
            std::string name = a;
            std::string value;
            bool hasValue = false;
            const std::size_t eq = a.find('=');
            if (eq != std::string::npos) {
                name = a.substr(0, eq);
                value = a.substr(eq + 1);
                hasValue = true;
            }
            if (valueOptions.count(name)) {
                if (!hasValue) {
                    if (i + 1 >= args.size())
                        throw UsageError(name + " needs a value");
                    value = args[++i];
                }
                parsed.values[name] = value;
            } else if (flagOptions.count(name) && !hasValue) {
                parsed.flags.insert(name);
            } else {
                throw UsageError("unknown option " + a);
            }
        } else {
            parsed.positional.push_back(a);
        }
    }
    return parsed;
}

bool parseInt32(const std::string& text, std::int32_t& value)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    const long long v = std::strtoll(text.c_str(), &end, 10);
    if (*end != 0 || v < 0 || v > INT32_MAX)
        return false;
    value = static_cast<std::int32_t>(v);
    return true;
}

void reportErrorsTo(TBackupFile& archive, std::ostream& err)
{
    archive.OnError = [&err](TBackupFile&, std::int32_t code, const std::string& text) {
        err << "archive: " << text << " (error " << code << ")\n";
    };
}

int pack(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    const Arguments a =
        parse(args, {"--level", "--max-size", "--title"}, {"--file-ids", "--incremental"});
    if (a.positional.size() < 2)
        throw UsageError("pack needs an archive and at least one file or pattern");
    TBackupFile archive;
    archive.SetCompressionLevel(clMax);
    archive.SetSetArchiveFlag(true);
    if (a.values.count("--level")) {
        const std::string& level = a.values.at("--level");
        if (level == "0")
            archive.SetCompressionLevel(clNone);
        else if (level == "1")
            archive.SetCompressionLevel(clFastest);
        else if (level == "6")
            archive.SetCompressionLevel(clDefault);
        else if (level == "9")
            archive.SetCompressionLevel(clMax);
        else
            throw UsageError("--level must be 0, 1, 6 or 9");
    }
    if (a.values.count("--max-size")) {
        std::int32_t size = 0;
        if (!parseInt32(a.values.at("--max-size"), size))
            throw UsageError("--max-size must be a byte count below 2^31");
        archive.SetMaxSize(size);
    }
    if (a.values.count("--title"))
        archive.SetBackupTitle(a.values.at("--title"));
    archive.SetSaveFileID(a.flags.count("--file-ids") != 0);
    if (a.flags.count("--incremental"))
        archive.SetBackupMode(bmIncremental);
    // Volumes are files next to the first one: no disk needs changing.
    archive.OnNeedDisk = [](TBackupFile&, std::uint16_t, bool&) {};
    reportErrorsTo(archive, err);

    const std::vector<std::string> files(a.positional.begin() + 1, a.positional.end());
    if (!archive.Backup(files, a.positional[0])) {
        if (archive.LastError() == 0)
            err << "archive: backup stopped\n";
        return 1;
    }
    out << "packed " << archive.FileCount() << " file(s), "
        << static_cast<std::uint32_t>(archive.TotalSize()) << " bytes into " << a.positional[0]
        << "\n";
    return 0;
}

int unpack(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    const Arguments a = parse(args, {"--mode"}, {"--full-path"});
    if (a.positional.empty() || a.positional.size() > 2)
        throw UsageError("unpack needs an archive and at most one folder");
    TBackupFile archive;
    archive.SetRestoreMode(rmAll);
    if (a.values.count("--mode")) {
        static const std::map<std::string, TRestoreMode> modes = {
            {"all", rmAll},
            {"no-overwrite", rmNoOverwrite},
            {"newer", rmNewer},
            {"existing", rmExisting},
            {"existing-newer", rmExistingNewer}};
        const auto it = modes.find(a.values.at("--mode"));
        if (it == modes.end())
            throw UsageError("unknown --mode " + a.values.at("--mode"));
        archive.SetRestoreMode(it->second);
    }
    archive.SetRestoreFullPath(a.flags.count("--full-path") != 0);
    const std::string& name = a.positional[0];
    const std::string folder = a.positional.size() > 1 ? a.positional[1] : std::string();
    if (!regularFileExists(name)) {
        err << "archive: cannot open " << name << "\n";
        return 1;
    }
    std::string volume = name;
    archive.OnNeedDisk = [&](TBackupFile&, std::uint16_t disk, bool& cont) {
        const std::string next = volumeFileName(volume, disk);
        if (regularFileExists(next)) {
            volume = next;
        } else {
            err << "archive: missing volume " << next << "\n";
            cont = false;
        }
    };
    reportErrorsTo(archive, err);
    if (!archive.Restore(name, folder)) {
        if (archive.LastError() == 0)
            err << "archive: restore stopped\n";
        return 1;
    }
    out << "restored " << archive.FilesProcessed() << " file(s)\n";
    return 0;
}

std::string jsonString(const std::string& text)
{
    std::string out = "\"";
    for (const char c : text) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            static const char hex[] = "0123456789abcdef";
            out += "\\u00";
            out += hex[u >> 4];
            out += hex[u & 15];
        } else {
            out += c;
        }
    }
    return out + "\"";
}

void reportFault(const ArchiveScan& scan, std::ostream& err)
{
    err << "archive: " << scan.fault;
    if (!scan.faultEntry.empty())
        err << " in entry " << scan.faultEntry;
    err << " at offset " << scan.faultOffset << " of " << scan.faultVolume << "\n";
}

int list(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    const Arguments a = parse(args, {}, {"--json"});
    if (a.positional.size() != 1)
        throw UsageError("list needs exactly one archive");
    const ArchiveScan scan = scanArchive(a.positional[0]);
    if (scan.fault == "cannot open archive") {
        err << "archive: cannot open " << a.positional[0] << "\n";
        return 1;
    }
    const std::uint32_t total = static_cast<std::uint32_t>(scan.totalSize);
    if (a.flags.count("--json")) {
        out << "{\"title\":" << jsonString(scan.title) << ",\"totalSize\":" << total
            << ",\"fileCount\":" << scan.fileCount << ",\"entries\":[";
        for (std::size_t i = 0; i < scan.entries.size(); ++i) {
            const ArchiveEntryInfo& e = scan.entries[i];
            out << (i ? "," : "") << "{\"name\":" << jsonString(e.name)
                << ",\"dateTime\":" << jsonString(dosDateTimeToIso(e.dateTime))
                << ",\"size\":" << e.size << ",\"kind\":" << jsonString(e.kind) << "}";
        }
        out << "]}\n";
    } else {
        out << "title: " << scan.title << "\n"
            << "total size: " << total << "\n"
            << "file count: " << scan.fileCount << "\n";
        for (const ArchiveEntryInfo& e : scan.entries)
            out << dosDateTimeToIso(e.dateTime) << "  " << e.size << "  " << e.kind << "  "
                << e.name << "\n";
    }
    if (!scan.ok) {
        reportFault(scan, err);
        return 1;
    }
    return 0;
}

int verify(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    const Arguments a = parse(args, {}, {});
    if (a.positional.size() != 1)
        throw UsageError("verify needs exactly one archive");
    const ArchiveScan scan = scanArchive(a.positional[0]);
    if (!scan.ok) {
        reportFault(scan, err);
        return 1;
    }
    std::uint64_t bytes = 0;
    for (const ArchiveEntryInfo& e : scan.entries)
        bytes += e.size;
    out << "ok: " << scan.entries.size() << " entr" << (scan.entries.size() == 1 ? "y" : "ies")
        << ", " << bytes << " bytes\n";
    return 0;
}

} // namespace

int archiveCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    try {
        if (args.empty())
            throw UsageError("missing subcommand");
        const std::string& command = args[0];
        if (command == "pack")
            return pack(args, out, err);
        if (command == "unpack")
            return unpack(args, out, err);
        if (command == "list")
            return list(args, out, err);
        if (command == "verify")
            return verify(args, out, err);
        throw UsageError("unknown subcommand " + command);
    } catch (const UsageError& e) {
        err << "archive: " << e.text << "\n" << kUsage;
        return 2;
    } catch (const std::exception& e) {
        err << "archive: " << e.what() << "\n";
        return 1;
    }
}

} // namespace lumo
