#include "cli/JournalServices.h"

#include <ostream>

#include "cli/NameEscape.h"
#include "engine/OperationJournal.h"
#include "engine/Recovery.h"
#include "engine/Trash.h"
#include "platform/FileSystem.h"

namespace tt::cli {

std::unique_ptr<Trash> MakeTrash() {
#ifdef TUNETITLER_SYSTEM_TRASH
    return MakeSystemTrash();
#else
    return nullptr;
#endif
}

void RecoverFolder(const std::string& folder, std::ostream& err, bool errIsTerminal) {
    const std::unique_ptr<Trash> trash = MakeTrash();
    for (const std::string& line : RecoverInterruptedOperations(SystemFileSystem(), trash.get(),
                                                                DefaultJournalFolder(), folder))
        err << "tunetitler-cli: " << PrintableName(line, errIsTerminal) << '\n';
    err.flush();
}

}  // namespace tt::cli
