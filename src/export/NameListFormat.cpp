#include "export/NameListFormat.h"

#include "text/UiLanguage.h"

namespace tt {

namespace {

constexpr SaveAsParameters kTabText{".txt", "Textdatei (*.txt)|*.txt||",
                                    "Save Midi names in text file (tabs)",
                                    "Midi-Dateinamen in Textdatei (Tabs) speichern"};
constexpr SaveAsParameters kBlankText{".txt", "Textdatei (*.txt)|*.txt||",
                                      "Save Midi names in text file (blanks)",
                                      "Midi-Dateinamen in Textdatei (Blanks) speichern"};
constexpr SaveAsParameters kSpreadsheet{".xls", "Excel-Datei (*.xls)|*.xls||",
                                        "Save Midi names in Excel file",
                                        "Midi-Dateinamen in Excel-Datei speichern"};

}  // namespace

NameListFormat NameListFormatFromSetting(std::string_view value) {
    if (value == "T")
        return NameListFormat::tabText;
    if (value == "B")
        return NameListFormat::blankText;
    if (value == "E")
        return NameListFormat::spreadsheet;
    return NameListFormat::tabText;
}

const char* SettingFromNameListFormat(NameListFormat format) {
    switch (format) {
        case NameListFormat::tabText:
            return "T";
        case NameListFormat::blankText:
            return "B";
        case NameListFormat::spreadsheet:
            return "E";
    }
    return "T";
}

const SaveAsParameters& SaveAsParametersFor(NameListFormat format) {
    switch (format) {
        case NameListFormat::tabText:
            return kTabText;
        case NameListFormat::blankText:
            return kBlankText;
        case NameListFormat::spreadsheet:
            return kSpreadsheet;
    }
    return kTabText;
}

const char* SaveAsTitle(NameListFormat format) {
    const SaveAsParameters& parameters = SaveAsParametersFor(format);
    return Tr(parameters.titleEnglish, parameters.titleGerman);
}

}  // namespace tt
