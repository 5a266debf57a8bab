#include "desktop/MessageBoxes.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>

#include "desktop/DialogRules.h"

namespace tt {

void ShowWarningBox(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Warning, QApplication::applicationName(), text, QMessageBox::Ok,
                    parent);
    ApplyDialogRules(box);
    box.exec();
}

OverwriteAnswer AskOverwriteBox(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Question, QApplication::applicationName(), text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
    box.setEscapeButton(QMessageBox::Cancel);
    ApplyDialogRules(box);
    switch (box.exec()) {
        case QMessageBox::Yes:
            return OverwriteAnswer::yes;
        case QMessageBox::No:
            return OverwriteAnswer::no;
        default:
            return OverwriteAnswer::cancel;
    }
}

QString FromCore(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string PathToCore(const QString& path) {
    const QByteArray bytes = QFile::encodeName(path);
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QString PathFromCore(const std::string& path) {
    return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

}  // namespace tt
