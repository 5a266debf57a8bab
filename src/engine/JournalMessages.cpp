#include "engine/JournalMessages.h"

#include "text/UiLanguage.h"

namespace tt {

namespace {

// `text` with its %s replaced by `a`, and a second %s by `b`.
std::string Fill(const char* text, const std::string& a, const std::string& b = {}) {
    std::string out = text;
    auto pos = out.find("%s");
    if (pos != std::string::npos) {
        out.replace(pos, 2, a);
        pos = out.find("%s", pos + a.size());
        if (pos != std::string::npos)
            out.replace(pos, 2, b);
    }
    return out;
}

}  // namespace

std::string JournalFailedMessage(const std::string& reason) {
    return Fill(Tr("The journal of this operation cannot be written, so nothing was done:\n\n%s",
                   "Das Protokoll dieses Vorgangs kann nicht geschrieben werden, daher wurde "
                   "nichts getan:\n\n%s"),
                reason);
}

std::string RecoveredHeading(const std::string& folder) {
    return Fill(Tr("An operation in '%s' was interrupted. It has been put right:",
                   "Ein Vorgang in '%s' wurde unterbrochen. Er wurde in Ordnung gebracht:"),
                folder);
}

std::string BackUnderOldName(const std::string& name) {
    return Fill(Tr("%s: back under its old name", "%s: wieder unter dem alten Namen"), name);
}

std::string TemporaryFileRemoved(const std::string& name) {
    return Fill(Tr("%s: unfinished copy removed", "%s: unfertige Kopie entfernt"), name);
}

std::string DoneBeforeTheCut(const std::string& name, const std::string& newName) {
    return Fill(
        Tr("%s -> %s (done before the interruption)", "%s -> %s (vor der Unterbrechung erledigt)"),
        name, newName);
}

std::string CopyToTrash(const std::string& name) {
    return Fill(Tr("%s: copy moved to the trash", "%s: Kopie in den Papierkorb verschoben"), name);
}

std::string LostToTrash(const std::string& name) {
    return Fill(Tr("%s: is in the trash", "%s: liegt im Papierkorb"), name);
}

std::string RestoredFromTrash(const std::string& name) {
    return Fill(Tr("%s: back from the trash",
                   "%s: aus dem Papierkorb zur\xC3\xBC"
                   "ckgeholt"),
                name);
}

std::string ChangedSince(const std::string& name) {
    return Fill(
        Tr("%s: changed since, left as it is", "%s: seitdem ver\xC3\xA4ndert, bleibt wie es ist"),
        name);
}

std::string OldNameTaken(const std::string& name, const std::string& oldName) {
    return Fill(Tr("%s: its old name %s is taken, left as it is",
                   "%s: der alte Name %s ist vergeben, bleibt wie es ist"),
                name, oldName);
}

std::string CannotComeBack(const std::string& name) {
    return Fill(Tr("%s: was replaced and cannot come back (no trash)",
                   "%s: wurde ersetzt und kann nicht zur\xC3\xBC"
                   "ckkommen (kein Papierkorb)"),
                name);
}

std::string NoTrashForCopy(const std::string& name) {
    return Fill(Tr("%s: no trash to move the copy to, left as it is",
                   "%s: kein Papierkorb f\xC3\xBCr die Kopie, bleibt wie sie ist"),
                name);
}

std::string UndoFailed(const std::string& name, const std::string& reason) {
    return Fill(Tr("%s: %s", "%s: %s"), name, reason);
}

}  // namespace tt
