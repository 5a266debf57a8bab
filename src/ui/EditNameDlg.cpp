#include "ui/EditNameDlg.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

#include "desktop/DialogRules.h"
#include "desktop/DialogUnits.h"
#include "desktop/MessageBoxes.h"
#include "engine/EditedName.h"
#include "text/ControlBytes.h"
#include "text/UiLanguage.h"

namespace tt {

namespace {

QString Text(const char* english, const char* german) {
    return QString::fromUtf8(Tr(english, german));
}

}  // namespace

CEditNameDlg::CEditNameDlg(QWidget* parent)
    : QDialog(parent),
      m_edit(new QLineEdit(this)),
      m_ext(new QLabel(this)),
      m_oldName(new QLabel(this)) {
    const DialogUnits units(font());
    setWindowTitle(Text("Edit Filename", "Dateiname ändern"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(units.Size(186, 74));

    // In tab order: the edit box, Cancel, OK; the labels take no focus.
    m_edit->setObjectName(QStringLiteral("1008"));
    m_edit->setGeometry(units.Rect(49, 17, 107, 14));

    auto* cancel = new QPushButton(Text("Cancel", "Abbrechen"), this);
    cancel->setObjectName(QStringLiteral("2"));
    cancel->setGeometry(units.Rect(98, 54, 50, 14));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* label = new QLabel(Text("Filename:", "Dateiname:"), this);
    label->setObjectName(QStringLiteral("1011"));
    // The label may grow up to the edit box when its text is wider than the
    // layout planned for (fonts differ from the one the layout was made for).
    QRect labelRect = units.Rect(7, 20, 38, 8);
    labelRect.setWidth(std::clamp(label->sizeHint().width(), labelRect.width(),
                                  units.X(49) - labelRect.left() - 1));
    label->setGeometry(labelRect);
    label->setBuddy(m_edit);
    m_edit->setAccessibleName(label->text());

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("1"));
    ok->setGeometry(units.Rect(37, 54, 50, 14));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    m_ext->setObjectName(QStringLiteral("1014"));
    m_ext->setGeometry(units.Rect(159, 18, 22, 12));
    m_ext->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_ext->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    // Which file is being renamed, in the free band above the edit box.
    m_oldName->setObjectName(QStringLiteral("oldName"));
    m_oldName->setGeometry(units.Rect(7, 4, 172, 9));
    m_oldName->setTextFormat(Qt::PlainText);

    setTabOrder(m_edit, cancel);
    setTabOrder(cancel, ok);
    ApplyDialogRules(*this);
}

int CEditNameDlg::DoModal() {
    m_edit->setText(m_strName);
    m_ext->setText(m_strExt);
    m_ext->setAccessibleName(m_strExt);
    // Shown on one line: control bytes escaped, a long name shortened in the middle.
    const QString oldName = Text("Old file name", "Alter Dateiname") + QStringLiteral(": ") +
                            PathFromCore(EscapeControlBytes(PathToCore(m_strOldName)));
    m_oldName->setText(
        m_oldName->fontMetrics().elidedText(oldName, Qt::ElideMiddle, m_oldName->width()));
    m_oldName->setToolTip(oldName);
    m_oldName->setVisible(!m_strOldName.isEmpty());
    // The first tab stop takes the focus with its text selected, ready to type over.
    m_edit->setFocus(Qt::TabFocusReason);
    m_edit->selectAll();
    return exec();
}

void CEditNameDlg::accept() {
    m_strName = m_edit->text();
    if (CheckEditedName(PathToCore(m_strName), PathToCore(m_strExt)) != EditedNameFault::none) {
        ShowWarningBox(this, QString::fromUtf8(InvalidFileNameText()));
        // Back in the edit box, with the refused name selected to type over.
        m_edit->setFocus(Qt::OtherFocusReason);
        m_edit->selectAll();
        return;
    }
    QDialog::accept();
}

}  // namespace tt
