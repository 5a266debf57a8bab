#pragma once

#include <string_view>

namespace tt {

// The three layouts of a saved name list. The values are the radio button indexes
// of the save dialog. The spreadsheet is the tab text under another extension.
enum class NameListFormat { tabText = 0, blankText = 1, spreadsheet = 2 };

// Settings key that remembers the last chosen format.
inline constexpr const char* kSaveFileTypeKey = "SaveFileType";
inline constexpr const char* kSaveFileTypeDefault = "T";

// "T", "B" or "E", compared exactly (case-sensitive); anything else is tab text.
NameListFormat NameListFormatFromSetting(std::string_view value);
// The setting letter of a format: "T", "B" or "E".
const char* SettingFromNameListFormat(NameListFormat format);

// What the Save As dialog is given for a format. The filter is a list of
// description and pattern pairs separated by vertical bars, ended by two bars.
struct SaveAsParameters {
    const char* defaultExtension;  // with the dot
    const char* filter;            // the same in both languages
    const char* titleEnglish;
    const char* titleGerman;
};

const SaveAsParameters& SaveAsParametersFor(NameListFormat format);
// The Save As title in the current UI language.
const char* SaveAsTitle(NameListFormat format);

}  // namespace tt
