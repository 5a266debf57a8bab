#include "ScriptedUi.h"

namespace tt::test {

OverwriteAnswer ScriptedUi::AskOverwrite(const std::string& text) {
    questions.push_back(text);
    if (whileAsked)
        whileAsked();
    if (overwriteAnswers.empty())
        return OverwriteAnswer::cancel;
    const auto answer = overwriteAnswers.front();
    overwriteAnswers.pop_front();
    return answer;
}

bool ScriptedUi::EditName(const std::string& oldName, std::string& name, std::string& ext) {
    editedOldNames.push_back(oldName);
    editedNames.push_back(name + ext);
    if (whileAsked)
        whileAsked();
    if (editAnswers.empty())
        return false;
    const auto answer = editAnswers.front();
    editAnswers.pop_front();
    if (!answer)
        return false;
    name = *answer;
    if (!editExtAnswers.empty()) {
        ext = editExtAnswers.front();
        editExtAnswers.pop_front();
    }
    return true;
}

bool ScriptedUi::PickDestinationFolder(const std::string& startFolder, std::string& chosen) {
    pickerStarts.push_back(startFolder);
    if (pickerAnswers.empty())
        return false;
    const auto answer = pickerAnswers.front();
    pickerAnswers.pop_front();
    if (!answer)
        return false;
    chosen = *answer;
    return true;
}

std::string ScriptedUi::ReadSettingString(const std::string& key, const std::string& defaultValue) {
    if (key == "DestinationFolder" && !destinationSetting.empty())
        return destinationSetting;
    return defaultValue;
}

}  // namespace tt::test
