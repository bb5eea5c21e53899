#include "ArchivePaths.h"

#include <cstdio>
#include <iconv.h>
#include <sys/stat.h>
#include <vector>

namespace lumo
{

std::string lowerCaseAscii(const std::string& s)
{
    std::string out = s;
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string storedFilePart(const std::string& storedName)
{
    const std::size_t sep = storedName.find_last_of("\\/");
    return sep == std::string::npos ? storedName : storedName.substr(sep + 1);
}

bool staysInsideFolder(const std::string& relative)
{
    if (relative.empty() || relative.front() == '/' || relative.back() == '/')
        return false;
    std::size_t pos = 0;
    while (pos <= relative.size()) {
        std::size_t next = relative.find('/', pos);
        if (next == std::string::npos)
            next = relative.size();
        const std::string part = relative.substr(pos, next - pos);
        if (part == ".." || (next == relative.size() && part == "."))
            return false;
        pos = next + 1;
    }
    return true;
}

std::string storedRelativePath(const std::string& storedName)
{
    std::string name = storedName;
    for (char& c : name)
        if (c == '\\')
            c = '/';
    if (name.size() >= 3 && name[1] == ':' && name[2] == '/' &&
        ((name[0] >= 'a' && name[0] <= 'z') || (name[0] >= 'A' && name[0] <= 'Z')))
        name.erase(0, 3);
    else if (!name.empty() && name[0] == '/')
        name.erase(0, 1);
    if (name.size() >= 2 && name[1] == ':')
        return std::string();
    return staysInsideFolder(name) ? name : std::string();
}

std::string volumeFileName(const std::string& archiveName, unsigned volume)
{
    char digits[16];
    std::snprintf(digits, sizeof digits, ".%03u", volume);
    const std::size_t sep = archiveName.find_last_of("\\/");
    const std::size_t dot = archiveName.find_last_of('.');
    if (dot == std::string::npos || (sep != std::string::npos && dot < sep))
        return archiveName + digits;
    return archiveName.substr(0, dot) + digits;
}

namespace
{

bool validUtf8(const std::string& s)
{
    std::size_t i = 0;
    while (i < s.size()) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        std::size_t extra;
        unsigned minimum;
        unsigned value;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            extra = 1;
            minimum = 0x80;
            value = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2;
            minimum = 0x800;
            value = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3;
            minimum = 0x10000;
            value = c & 0x07;
        } else {
            return false;
        }
        if (i + extra >= s.size())
            return false;
        for (std::size_t k = 1; k <= extra; ++k) {
            const unsigned char d = static_cast<unsigned char>(s[i + k]);
            if ((d & 0xC0) != 0x80)
                return false;
            value = value << 6 | (d & 0x3F);
        }
        if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
            return false;
        i += extra + 1;
    }
    return true;
}

} // namespace

std::string decodeStoredText(const std::string& bytes)
{
    if (validUtf8(bytes))
        return bytes;
    iconv_t cd = ::iconv_open("UTF-8", "GB18030");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return bytes;
    std::vector<char> in(bytes.begin(), bytes.end());
    std::vector<char> out(bytes.size() * 4 + 16);
    char* inPtr = in.data();
    std::size_t inLeft = in.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    std::string result;
    while (inLeft > 0) {
        if (::iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
            // An undecodable byte becomes U+FFFD and decoding goes on after it.
            if (outLeft < 3)
                break;
            *outPtr++ = static_cast<char>(0xEF);
            *outPtr++ = static_cast<char>(0xBF);
            *outPtr++ = static_cast<char>(0xBD);
            outLeft -= 3;
            ++inPtr;
            --inLeft;
        }
    }
    result.assign(out.data(), static_cast<std::size_t>(outPtr - out.data()));
    ::iconv_close(cd);
    return result;
}

bool regularFileExists(const std::string& path)
{
    struct stat st {
    };
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

} // namespace lumo
