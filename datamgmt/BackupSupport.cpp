#include "BackupSupport.h"

#include <sys/stat.h>

namespace lumo
{

bool makeFolders(const std::string& folder)
{
    if (folder.empty())
        return true;
    std::string path;
    std::size_t pos = 0;
    while (pos <= folder.size()) {
        std::size_t next = folder.find('/', pos);
        if (next == std::string::npos)
            next = folder.size();
        path = folder.substr(0, next);
        if (!path.empty())
            ::mkdir(path.c_str(), 0777);
        pos = next + 1;
    }
    struct stat st {
    };
    return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string parentFolder(const std::string& path)
{
    const std::size_t sep = path.find_last_of('/');
    if (sep == std::string::npos)
        return std::string();
    return sep == 0 ? std::string("/") : path.substr(0, sep);
}

std::string trimSpaces(const std::string& s)
{
    const std::size_t b = s.find_first_not_of(' ');
    if (b == std::string::npos)
        return std::string();
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

unsigned markerVolume(const std::string& name)
{
    if (name.size() != 12)
        return 0;
    unsigned value = 0;
    for (std::size_t i = 9; i < 12; ++i) {
        if (name[i] < '0' || name[i] > '9')
            return 0;
        value = value * 10 + static_cast<unsigned>(name[i] - '0');
    }
    return value;
}

} // namespace lumo
