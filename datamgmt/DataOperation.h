#pragma once
// Shared pieces of the data-management operations (backups, restore, export,
// import, compaction): the working folders, progress reporting and results.
// The menu entries of the main window and the lumoctl subcommands call the
// same operations.
#include <QString>

#include <functional>
#include <string>
#include <vector>

namespace lumo
{

class Clock;
class Folders;
class SettingsStore;
class TBackupFile;
class Tsj;

// What an operation reports while it works. The main window shows it on its
// progress panel; lumoctl ignores it. Any method may throw to abort: the
// operation then fails and leaves the data as it was.
class DataProgress
{
public:
    virtual ~DataProgress() = default;
    // The progress panel appears (imports only) with its animation running.
    virtual void begin() {}
    // The one-line status text of the panel.
    virtual void setText(const QString& text) { (void)text; }
    // Bar 1 or 2 at `percent` (0..100); a negative percent hides the bar.
    virtual void setBar(int bar, int percent)
    {
        (void)bar;
        (void)percent;
    }
    // The panel disappears and its animation stops.
    virtual void end() {}
    // Lets the caller's message loop run during long work.
    virtual void processEvents() {}
};

// Everything an operation needs of the program.
struct DataEnv {
    // The data module; may be null for the operations that work on files only
    // (lumoctl on a database that no longer opens), never for the update
    // import.
    Tsj* sj;
    SettingsStore& store;
    Folders& folders;
    Clock& clock;
    DataProgress& progress;
};

// The outcome of an operation. `message` is the text for the user (empty when
// there is nothing to say); `detail` the underlying reason of a failure.
struct DataResult {
    bool ok = false;
    QString message;
    QString detail;
    // The program must end now (the database was replaced on disk).
    bool closeProgram = false;
    // Import by update: the number of listings added.
    int added = 0;
    // The operation did nothing because it had nothing to do (backup already
    // taken today).
    bool skipped = false;

    // The message followed by the reason, for display.
    QString fullText() const;
};

// Folders and files the operations work with.
QString appFolder(const Folders& folders);
QString currentFolder(const Folders& folders);
QString backupFolder(const Folders& folders);
// The database file of the data module ("lumo.fc" without one), resolved in
// the current folder.
QString databaseFile(const Tsj* sj, const Folders& folders);
// The application folder as the messages name it, with its trailing
// separator.
QString folderForMessage(const Folders& folders);

// Puts `source` in place of `target` with one rename, so that `target` is
// either the old or the new file, never missing. False with `error` set when
// it fails.
bool replaceFile(const QString& source, const QString& target, QString* error);
// Copies `source` to `target` (created or truncated) through the file
// layer; false with `error` set (a partial target is left to the caller).
bool copyWholeFile(const QString& source, const QString& target, QString* error);
// Removes a file if present; false when it exists and cannot be removed.
bool removeIfPresent(const QString& path, QString* error = nullptr);
// "path: text", the form in which a file's failure is reported.
QString locatedText(const QString& path, const QString& text);

// The system's archive component configured as the main window's instance
// (zlib level 9, archive flag cleared, every file), reporting its progress on
// bar 1 and letting the message loop run. Errors are collected in `errors`
// instead of message boxes.
void configureArchive(TBackupFile& archive, DataProgress& progress,
                      std::vector<std::string>& errors);
// The collected archive errors as one text.
QString archiveErrors(const std::vector<std::string>& errors);

QString toQ(const std::string& s);
std::string fromQ(const QString& s);

} // namespace lumo
