// Data management entries of the main window: backups, restore slots,
// export, import and compaction.
#include "Tmain.h"

namespace lumo {

void Tmain::connectDataEntries() {}

void Tmain::backupOnClose() {}

} // namespace lumo
