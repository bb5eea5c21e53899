// Backup and restore of a database-sized file with the archive component, next to gzip -9 of
// the same file. Prints one figure per line: "name value unit".
//
//   bench_archive [FILE]
//
// Without FILE a 50 MB file laid out like an SQLite database (4096-byte pages of property
// rows: text, numbers, some free pages) is generated in a temporary folder.

#include "BackupFile.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace
{

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point from)
{
    return std::chrono::duration<double>(Clock::now() - from).count();
}

long statusKb(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string key = std::string(field) + ":";
    while (std::getline(status, line))
        if (line.compare(0, key.size(), key) == 0)
            return std::atol(line.c_str() + key.size());
    return 0;
}

std::uint64_t fileSize(const std::string& path)
{
    struct stat st {
    };
    return ::stat(path.c_str(), &st) == 0 ? static_cast<std::uint64_t>(st.st_size) : 0;
}

// Writes `size` bytes of database-like pages, one page at a time.
void generateDatabase(const std::string& path, std::uint64_t size)
{
    static const char* districts[] = {"城东区", "城西区", "高新区", "滨江区", "老城区"};
    static const char* layouts[] = {"两室一厅", "三室两厅", "一室一厅", "四室两厅"};
    static const char* facing[] = {"南北", "东西", "朝南", "朝东"};
    std::ofstream out(path, std::ios::binary);
    std::uint32_t seed = 12345;
    auto rnd = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    std::string page;
    std::uint64_t row = 1;
    for (std::uint64_t written = 0; written < size; written += 4096) {
        page.assign(4096, '\0');
        const unsigned kind = rnd() % 20;
        if (kind == 0) {
            // A free page.
        } else if (kind == 1) {
            // An index page: sorted keys with child pointers.
            for (std::size_t at = 12; at + 8 < 4096; at += 8) {
                const std::uint32_t key = static_cast<std::uint32_t>(row + at);
                const std::uint32_t child = rnd() % 20000;
                std::memcpy(&page[at], &key, 4);
                std::memcpy(&page[at + 4], &child, 4);
            }
        } else {
            // A table page: a header, a cell pointer array and rows filled from the end.
            page[0] = 0x0D;
            std::size_t end = 4096;
            std::size_t cells = 0;
            for (;;) {
                char rowText[512];
                const int n = std::snprintf(
                    rowText, sizeof rowText,
                    "%llu|%s|%s路%u号%u栋%u单元|%s|%u/%u|%s|%u|%.2f|%u|%s|%s %s|1%010u|%s",
                    static_cast<unsigned long long>(row), rnd() % 2 ? "卖" : "租",
                    districts[rnd() % 5], rnd() % 300, rnd() % 40, rnd() % 6, layouts[rnd() % 4],
                    rnd() % 30, 30, facing[rnd() % 4], 1980 + rnd() % 45,
                    40 + (rnd() % 20000) / 100.0, 500000 + rnd() % 5000000,
                    rnd() % 3 ? "满五唯一" : "", "联系人", rnd() % 2 ? "王先生" : "李女士",
                    rnd() % 1000000000u, rnd() % 4 ? "" : "精装修，近地铁，采光好");
                if (n <= 0 || end < static_cast<std::size_t>(n) + 8 + 2 * (cells + 1) + 8)
                    break;
                end -= static_cast<std::size_t>(n);
                std::memcpy(&page[end], rowText, static_cast<std::size_t>(n));
                const std::uint16_t at = static_cast<std::uint16_t>(end);
                std::memcpy(&page[8 + 2 * cells], &at, 2);
                ++cells;
                ++row;
            }
            const std::uint16_t count = static_cast<std::uint16_t>(cells);
            std::memcpy(&page[3], &count, 2);
        }
        out.write(page.data(), 4096);
    }
}

bool sameFiles(const std::string& a, const std::string& b)
{
    std::ifstream fa(a, std::ios::binary), fb(b, std::ios::binary);
    std::vector<char> ba(1 << 16), bb(1 << 16);
    for (;;) {
        fa.read(ba.data(), static_cast<std::streamsize>(ba.size()));
        fb.read(bb.data(), static_cast<std::streamsize>(bb.size()));
        if (fa.gcount() != fb.gcount() ||
            std::memcmp(ba.data(), bb.data(), static_cast<std::size_t>(fa.gcount())) != 0)
            return false;
        if (fa.gcount() == 0)
            return true;
    }
}

void print(const char* name, double value, const char* unit)
{
    std::printf("%s %.3f %s\n", name, value, unit);
}

} // namespace

int main(int argc, char** argv)
{
    char folderName[] = "/tmp/lumo-bench-archive-XXXXXX";
    if (!::mkdtemp(folderName)) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::string folder = folderName;
    std::string input = argc > 1 ? argv[1] : folder + "/lumo.fc";
    if (argc <= 1)
        generateDatabase(input, 50ull << 20);
    const double mb = static_cast<double>(fileSize(input)) / (1 << 20);
    print("file_size", mb, "MB");

    const long baseKb = statusKb("VmRSS");

    auto backup = [&](unsigned threads, const std::string& archive) {
        lumo::TBackupFile b;
        b.SetCompressionLevel(lumo::clMax);
        b.SetCompressionThreads(threads);
        const auto start = Clock::now();
        const bool ok = b.Backup({input}, archive);
        const double s = seconds(start);
        if (!ok) {
            std::fprintf(stderr, "backup failed\n");
            std::exit(1);
        }
        return s;
    };
    const double parallel = backup(0, folder + "/parallel.bak");
    print("backup_l9_seconds", parallel, "s");
    print("backup_l9_throughput", mb / parallel, "MB/s");
    const double single = backup(1, folder + "/single.bak");
    print("backup_l9_single_thread_seconds", single, "s");
    print("backup_l9_single_thread_throughput", mb / single, "MB/s");
    print("backup_identical_to_single_thread",
          sameFiles(folder + "/parallel.bak", folder + "/single.bak") ? 1 : 0, "bool");
    print("archive_size", static_cast<double>(fileSize(folder + "/parallel.bak")) / (1 << 20),
          "MB");

    lumo::TBackupFile r;
    const auto restoreStart = Clock::now();
    if (!r.Restore(folder + "/parallel.bak", folder + "/restored")) {
        std::fprintf(stderr, "restore failed\n");
        return 1;
    }
    const double restore = seconds(restoreStart);
    print("restore_seconds", restore, "s");
    print("restore_throughput", mb / restore, "MB/s");
    const std::string restored = folder + "/restored/" + input.substr(input.find_last_of('/') + 1);
    print("restore_identical", sameFiles(input, restored) ? 1 : 0, "bool");

    const long peakKb = statusKb("VmHWM");
    print("peak_rss_above_base", static_cast<double>(peakKb - baseKb) / 1024, "MB");

    const std::string gzipped = folder + "/gzip9.gz";
    const auto gzipStart = Clock::now();
    const std::string command = "gzip -9 -c '" + input + "' > '" + gzipped + "'";
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "gzip -9 failed\n");
        return 1;
    }
    const double gzip = seconds(gzipStart);
    print("gzip9_seconds", gzip, "s");
    print("gzip9_size", static_cast<double>(fileSize(gzipped)) / (1 << 20), "MB");
    print("backup_l9_to_gzip9_time_ratio", parallel / gzip, "ratio");

    std::remove((folder + "/parallel.bak").c_str());
    std::remove((folder + "/single.bak").c_str());
    std::remove(restored.c_str());
    ::rmdir((folder + "/restored").c_str());
    std::remove(gzipped.c_str());
    if (argc <= 1)
        std::remove(input.c_str());
    ::rmdir(folder.c_str());
    return 0;
}
