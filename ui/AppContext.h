#pragma once

namespace lumo
{

class Clock;
class Dialogs;
class Folders;
class Screen;
class SettingsStore;
class Tsj;

// What every window needs of the program: the data module, the settings
// store and the seams (dialogs, clock, screen, folders) that tests replace.
struct AppContext {
    Tsj& sj;
    SettingsStore& store;
    Folders& folders;
    Clock& clock;
    Dialogs& dialogs;
    Screen& screen;
};

} // namespace lumo
