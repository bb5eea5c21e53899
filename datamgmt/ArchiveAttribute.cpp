#include "ArchiveAttribute.h"

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <sys/xattr.h>

namespace lumo
{
namespace
{

const char kAttributeName[] = "user.lumo.archived";

bool currentRecord(const std::string& path, std::string& record)
{
    struct stat st {
    };
    if (::stat(path.c_str(), &st) != 0)
        return false;
    char text[80];
    std::snprintf(text, sizeof text, "%lld.%09ld:%lld", static_cast<long long>(st.st_mtim.tv_sec),
                  static_cast<long>(st.st_mtim.tv_nsec), static_cast<long long>(st.st_size));
    record = text;
    return true;
}

} // namespace

bool archiveAttributeSet(const std::string& path)
{
    std::string expected;
    if (!currentRecord(path, expected))
        return true;
    char stored[80];
    const ssize_t n = ::getxattr(path.c_str(), kAttributeName, stored, sizeof stored);
    if (n < 0)
        return true;
    return std::string(stored, static_cast<std::size_t>(n)) != expected;
}

bool clearArchiveAttribute(const std::string& path)
{
    std::string record;
    if (!currentRecord(path, record))
        return false;
    return ::setxattr(path.c_str(), kAttributeName, record.data(), record.size(), 0) == 0;
}

bool setArchiveAttribute(const std::string& path)
{
    if (::removexattr(path.c_str(), kAttributeName) == 0)
        return true;
    return errno == ENODATA || errno == ENOTSUP;
}

} // namespace lumo
