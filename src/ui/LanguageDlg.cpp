#include "ui/LanguageDlg.h"

#include <QButtonGroup>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "desktop/DialogRules.h"
#include "desktop/DialogUnits.h"
#include "desktop/SettingsStore.h"
#include "desktop/WidenToText.h"
#include "text/UiLanguage.h"

namespace tt {

namespace {

QLabel* CentredText(QWidget* parent, const char* text, QRect geometry) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setGeometry(geometry);
    WidenToText(label, true);
    return label;
}

}  // namespace

CLanguageDlg::CLanguageDlg(QWidget* parent) : QDialog(parent) {
    // Both languages at once: the user has not chosen yet.
    setWindowTitle(QStringLiteral("Choose Language"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    const DialogUnits du(font());
    setFixedSize(du.Size(186, 119));

    m_german = new QRadioButton(QString::fromUtf8("Deutsch (German)"), this);
    m_german->setObjectName(QStringLiteral("1056"));
    m_german->setGeometry(du.Rect(72, 34, 73, 10));
    m_english = new QRadioButton(QStringLiteral("English"), this);
    m_english->setObjectName(QStringLiteral("1057"));
    m_english->setGeometry(du.Rect(72, 47, 39, 10));
    auto* group = new QButtonGroup(this);
    group->addButton(m_german, 0);
    group->addButton(m_english, 1);
    connect(group, &QButtonGroup::buttonClicked, this, &CLanguageDlg::OnLanguageClicked);

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("1"));
    m_ok->setGeometry(du.Rect(68, 70, 50, 14));
    m_ok->setDefault(true);
    m_ok->setEnabled(false);
    connect(m_ok, &QPushButton::clicked, this, &CLanguageDlg::accept);

    CentredText(this,
                "Please choose your favourite language:\n"
                "Bitte wählen Sie die gewünschte Sprache:",
                du.Rect(27, 9, 136, 19));
    CentredText(this,
                "This dialog will not be displayed again.\n"
                "Dieser Dialog wird nicht mehr angezeigt.",
                du.Rect(30, 98, 128, 18));
    WidenToText(m_german);
    WidenToText(m_english);
    setTabOrder(m_german, m_english);
    setTabOrder(m_english, m_ok);
    for (QRadioButton* radio : {m_german, m_english})
        radio->installEventFilter(this);
    ApplyDialogRules(*this);
}

bool CLanguageDlg::eventFilter(QObject* watched, QEvent* event) {
    // An arrow key moves to the other language and chooses it, as a click does
    // (the group wraps around); the toolkit alone would only move the focus
    // while no language is chosen yet.
    if (event->type() == QEvent::KeyPress && (watched == m_german || watched == m_english)) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
            case Qt::Key_Up:
            case Qt::Key_Down:
            case Qt::Key_Left:
            case Qt::Key_Right: {
                QRadioButton* other = watched == m_german ? m_english : m_german;
                other->setFocus(Qt::TabFocusReason);
                other->click();
                return true;
            }
            default:
                break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CLanguageDlg::UpdateData() {
    m_nLanguage = m_german->isChecked() ? 0 : m_english->isChecked() ? 1 : -1;
}

void CLanguageDlg::OnLanguageClicked() {
    UpdateData();
    if (m_nLanguage != -1)
        m_ok->setEnabled(true);
}

void CLanguageDlg::accept() {
    UpdateData();
    if (m_nLanguage == -1)
        return;
    settings::WriteString(QStringLiteral("Language"),
                          m_nLanguage == 0 ? QStringLiteral("G") : QStringLiteral("E"));
    QDialog::accept();
}

void ResolveUiLanguage() {
    const QString key = QStringLiteral("Language");
    QString value = settings::ReadString(key, QString());
    if (value != QLatin1String("G") && value != QLatin1String("E")) {
        CLanguageDlg dialog;
        if (dialog.DoModal() == QDialog::Accepted)
            value = settings::ReadString(key, QString());
    }
    if (value == QLatin1String("G"))
        SetUiLanguage(UiLanguage::german);
}

}  // namespace tt
