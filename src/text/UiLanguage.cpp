#include "text/UiLanguage.h"

namespace tt {

namespace {
UiLanguage g_uiLanguage = UiLanguage::english;
}

UiLanguage CurrentUiLanguage() {
    return g_uiLanguage;
}
void SetUiLanguage(UiLanguage language) {
    g_uiLanguage = language;
}

}  // namespace tt
