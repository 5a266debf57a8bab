#pragma once

#include <QDialog>

class QPushButton;
class QRadioButton;

namespace tt {

// "Choose Language", shown at the first start: German or English, stored as
// "Language" = "G" or "E" on OK. OK stays disabled until a language is clicked;
// there is no Cancel button, and closing the dialog stores nothing.
class CLanguageDlg : public QDialog {
    Q_OBJECT

  public:
    explicit CLanguageDlg(QWidget* parent = nullptr);

    // Index of the chosen language: -1 none, 0 German, 1 English.
    int m_nLanguage = -1;

    // QDialog::Accepted once a language was stored, QDialog::Rejected when closed.
    int DoModal() { return exec(); }

  protected:
    void accept() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void OnLanguageClicked();
    void UpdateData();

    QRadioButton* m_german;
    QRadioButton* m_english;
    QPushButton* m_ok;
};

// Sets the UI language from the stored "Language": exactly "G" is German, exactly
// "E" English; anything else shows the language dialog first, and a dialog closed
// without OK leaves this run in English.
void ResolveUiLanguage();

}  // namespace tt
