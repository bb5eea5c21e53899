#pragma once
#include <string>

namespace lumo
{

// Name handling shared by the archive writer, reader and the command-line tool.

// Only the ASCII letters A-Z are changed; every other byte stays.
std::string lowerCaseAscii(const std::string& s);

// The part of a stored name after its last "\" or "/".
std::string storedFilePart(const std::string& storedName);

// The stored name below its root, with "/" separators: a drive prefix "X:\" (or "X:/") or one
// leading "\" or "/" is removed. Empty when what remains would still leave the target folder:
// another root, a drive, or a ".." segment.
std::string storedRelativePath(const std::string& storedName);

// True when a relative name with "/" separators stays inside its folder: no "..", not absolute,
// not empty, and not ending in a separator.
bool staysInsideFolder(const std::string& relative);

// The archive name of volume `volume` (2..999): the extension (after the last "." of the file
// part) replaced by "." and three digits, or appended when there is none.
std::string volumeFileName(const std::string& archiveName, unsigned volume);

// A stored name or title as UTF-8: kept when it is valid UTF-8, otherwise read as GB18030.
std::string decodeStoredText(const std::string& bytes);

bool regularFileExists(const std::string& path);

} // namespace lumo
