#pragma once
#include <string>

namespace lumo
{

// The archive attribute ("changed since the last backup"), emulated with an extended
// attribute: the attribute is set unless the extended attribute records the file's current
// modification time and size. Clearing it records them; any later write changes the
// modification time and so sets the attribute again. On file systems without extended
// attributes the attribute always reads set.

bool archiveAttributeSet(const std::string& path);

// Returns false when the record could not be written (the attribute then stays set).
bool clearArchiveAttribute(const std::string& path);

// Forgets the record, so the attribute reads set.
bool setArchiveAttribute(const std::string& path);

} // namespace lumo
