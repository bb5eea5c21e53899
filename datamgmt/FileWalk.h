#pragma once
#include <string>
#include <vector>

namespace lumo
{

// Builds the ordered list of files to pack from a list of entries, each a file name or a
// wildcard pattern ("*" and "?", matched without regard to case), optionally followed by
// " /s" to take matching subfolders too. A matching folder is entered only when its own name
// matches the pattern's file part, and its files are taken at the point where it is met;
// entries of one folder are taken in name order. Names are absolute paths as found (case
// kept), unique without regard to case. A name equal to `archiveName` (as given, without
// regard to case) is left out. With `onlyArchiveAttribute` only files whose archive attribute
// is set are taken. Only regular files are taken and links to folders are not followed.
std::vector<std::string> buildBackupList(const std::vector<std::string>& entries,
                                         const std::string& archiveName, bool onlyArchiveAttribute);

// "*" and "?" matching of one name, ASCII letters compared without regard to case. "*.*"
// matches every name, with or without a dot.
bool wildcardMatch(const std::string& pattern, const std::string& name);

// Absolute form of a path: relative to the current folder, "." and ".." segments resolved
// by text (links are not followed).
std::string absolutePath(const std::string& path);

} // namespace lumo
