#pragma once

namespace tt {

// The language of every text the program shows. English until the main window
// resolves the user's choice at start; it never changes after that.
enum class UiLanguage { english = 0, german = 1 };

UiLanguage CurrentUiLanguage();
void SetUiLanguage(UiLanguage language);

// Picks the text for the current language.
inline const char* Tr(const char* english, const char* german) {
    return CurrentUiLanguage() == UiLanguage::german ? german : english;
}

}  // namespace tt
