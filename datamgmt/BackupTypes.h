#pragma once
// The archive component's modes, events, error codes and exception.
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>

namespace lumo
{

class TBackupFile;

enum TBackupMode : std::uint8_t {
    bmAll = 0,         // every file that matches
    bmIncremental = 1, // only files whose archive attribute is set
};

enum TCompressionLevel : std::uint8_t {
    clFastest = 0, // zlib level 1
    clNone = 1,    // zlib level 0 (every full block ends up stored raw)
    clDefault = 2, // zlib's default level (6)
    clMax = 3,     // zlib level 9
};

enum TRestoreMode : std::uint8_t {
    rmAll = 0,           // always
    rmNoOverwrite = 1,   // only when the target does not exist
    rmNewer = 2,         // when the target does not exist or is older than the archived file
    rmExisting = 3,      // only when the target exists
    rmExistingNewer = 4, // when the target exists and is older than the archived file
};

using TPercentage = std::uint8_t;

// Progress: an empty file name with 0 at the start of Backup, the current file after every
// block, an empty file name with 100 at the end. Clearing `Continue` stops the operation
// after the current block.
using TProgressEvent = std::function<void(TBackupFile& Sender, const std::string& Filename,
                                          TPercentage Percent, bool& Continue)>;
// The next volume `DiskID` is needed (writing: about to be created; reading: about to be
// opened). Clearing `Continue` stops the operation.
using TNeedDiskEvent =
    std::function<void(TBackupFile& Sender, std::uint16_t DiskID, bool& Continue)>;
// Once per restorable file entry: the target path and the decision may be changed. `FA` is
// the archived MS-DOS date-time.
using TRestoreFileEvent = std::function<void(TBackupFile& Sender, std::string& Filename,
                                             std::int32_t FA, bool& DoRestore)>;
using TBackupErrorEvent =
    std::function<void(TBackupFile& Sender, std::int32_t Error, const std::string& ErrString)>;

// The two message boxes the component would show when no event handler is assigned.
enum class TBackupMessage {
    NeedDisk, // information, OK and Cancel: return true for OK
    Error,    // error, OK only: the return value is ignored
};
using TMessageBoxHandler = std::function<bool(TBackupMessage Kind, const std::string& Text)>;
// Called after every block so that the caller's user interface stays responsive.
using TProcessMessagesHandler = std::function<void()>;

// Error codes and their texts.
enum TBackupErrorCode : std::int32_t {
    beNone = 0,
    beCannotReadFile = 1,      // "Cannot read file"
    beOverwriteFailed = 2,     // "Overwriting file failed" (reserved)
    beCannotReadArchive = 3,   // "Cannot read archive" (raised as ArchiveException)
    beCannotWriteArchive = 4,  // "Cannot write to archive"
    beInvalidArchiveType = 5,  // "Invalid archive type" (raised as ArchiveException)
    beCompressionError = 6,    // "Compression error"
    beCannotCreateFileIds = 7, // "Cannot create temporary file to save the file IDs"
};
// The English text of an error code; empty for unknown codes.
std::string BackupErrorText(std::int32_t code);

class ArchiveException : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

} // namespace lumo
