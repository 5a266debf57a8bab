#include "engine/EditedName.h"

#include "text/ControlBytes.h"
#include "text/UiLanguage.h"

namespace tt {

EditedNameFault CheckEditedName(const std::string& base, const std::string& ext) {
    if (base.empty())
        return EditedNameFault::empty;
    const std::string name = base + ext;
    if (name.front() == '.')
        return EditedNameFault::leadingDot;
    if (name.find('/') != std::string::npos)
        return EditedNameFault::slash;
    if (HoldsControlByte(name))
        return EditedNameFault::controlByte;
    if (name.size() > kMaxFileNameBytes)
        return EditedNameFault::tooLong;
    return EditedNameFault::none;
}

const char* EditedNameFaultReason(EditedNameFault fault) {
    switch (fault) {
        case EditedNameFault::none:
            return "";
        case EditedNameFault::empty:
            return "The name is empty.";
        case EditedNameFault::leadingDot:
            return "A name beginning with '.' would hide the file.";
        case EditedNameFault::slash:
            return "A name cannot hold '/'.";
        case EditedNameFault::controlByte:
            return "A name cannot hold control characters.";
        case EditedNameFault::tooLong:
            return "The name with its extension is longer than 255 bytes.";
    }
    return "";
}

const char* InvalidFileNameText() {
    return Tr("Invalid filename!", "Ungültiger Dateiname!");
}

}  // namespace tt
