#include "FileWalk.h"

#include "ArchiveAttribute.h"
#include "ArchivePaths.h"

#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_set>

namespace lumo
{
namespace
{

char lowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool matchFrom(const char* p, const char* n)
{
    // Iterative "*" matching with a single backtrack point: linear in practice and never
    // exponential.
    const char* star = nullptr;
    const char* resume = nullptr;
    while (*n) {
        if (*p == '?' || (*p != '*' && *p && lowerAscii(*p) == lowerAscii(*n))) {
            ++p;
            ++n;
        } else if (*p == '*') {
            star = p++;
            resume = n;
        } else if (star) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (*p == '*')
        ++p;
    return *p == 0;
}

std::string trimSpaces(const std::string& s)
{
    std::size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos)
        return std::string();
    std::size_t e = s.find_last_not_of(" \t");
    return s.substr(b, e - b + 1);
}

class Walker
{
public:
    Walker(const std::string& archiveName, bool onlyArchiveAttribute)
        : archiveName_(archiveName), onlyArchive_(onlyArchiveAttribute)
    {
    }

    void walk(const std::string& pattern, bool recursive)
    {
        const std::string absolute = absolutePath(pattern);
        const std::size_t slash = absolute.find_last_of('/');
        const std::string folder = absolute.substr(0, slash + 1); // keeps the trailing "/"
        const std::string filePart = absolute.substr(slash + 1);
        if (filePart.empty())
            return;

        std::vector<std::string> names;
        if (DIR* dir = ::opendir(folder.c_str())) {
            while (dirent* e = ::readdir(dir)) {
                const std::string name = e->d_name;
                if (name == "." || name == "..")
                    continue;
                if (wildcardMatch(filePart, name))
                    names.push_back(name);
            }
            ::closedir(dir);
        }
        std::sort(names.begin(), names.end());

        for (const std::string& name : names) {
            const std::string path = folder + name;
            struct stat lst {
            };
            struct stat st {
            };
            if (::lstat(path.c_str(), &lst) != 0 || ::stat(path.c_str(), &st) != 0)
                continue;
            if (S_ISDIR(st.st_mode)) {
                if (recursive && !S_ISLNK(lst.st_mode))
                    walk(path + "/" + filePart, true);
                continue;
            }
            if (!S_ISREG(st.st_mode))
                continue;
            add(path);
        }
    }

    std::vector<std::string> take() { return std::move(list_); }

private:
    void add(const std::string& path)
    {
        const std::string key = lowerCaseAscii(path);
        if (keys_.count(key) != 0)
            return;
        if (key == lowerCaseAscii(archiveName_))
            return;
        if (onlyArchive_ && !archiveAttributeSet(path))
            return;
        keys_.insert(key);
        list_.push_back(path);
    }

    std::string archiveName_;
    bool onlyArchive_;
    std::vector<std::string> list_;
    std::unordered_set<std::string> keys_;
};

} // namespace

bool wildcardMatch(const std::string& pattern, const std::string& name)
{
    if (pattern == "*.*")
        return true;
    return matchFrom(pattern.c_str(), name.c_str());
}

std::string absolutePath(const std::string& path)
{
    std::string full = path;
    if (full.empty() || full[0] != '/') {
        char cwd[4096];
        std::string base = ::getcwd(cwd, sizeof cwd) ? cwd : "/";
        full = base + "/" + full;
    }
    std::vector<std::string> parts;
    std::size_t pos = 0;
    while (pos <= full.size()) {
        std::size_t next = full.find('/', pos);
        if (next == std::string::npos)
            next = full.size();
        const std::string part = full.substr(pos, next - pos);
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        pos = next + 1;
    }
    std::string result;
    for (const std::string& part : parts)
        result += "/" + part;
    if (result.empty())
        result = "/";
    // A trailing "/" names the folder's contents; keep it so that the file part stays empty.
    if (full.size() > 1 && full.back() == '/' && result != "/")
        result += "/";
    return result;
}

std::vector<std::string> buildBackupList(const std::vector<std::string>& entries,
                                         const std::string& archiveName, bool onlyArchiveAttribute)
{
    Walker walker(archiveName, onlyArchiveAttribute);
    for (const std::string& entry : entries) {
        std::string pattern = trimSpaces(entry);
        bool recursive = false;
        // The " /s" switch closes the entry; "/s" inside a path is an ordinary folder name.
        if (pattern.size() >= 3 && pattern[pattern.size() - 2] == '/' &&
            lowerAscii(pattern.back()) == 's' &&
            (pattern[pattern.size() - 3] == ' ' || pattern[pattern.size() - 3] == '\t')) {
            recursive = true;
            pattern = trimSpaces(pattern.substr(0, pattern.size() - 2));
        }
        if (!pattern.empty())
            walker.walk(pattern, recursive);
    }
    return walker.take();
}

} // namespace lumo
