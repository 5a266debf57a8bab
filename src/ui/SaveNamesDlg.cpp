#include "ui/SaveNamesDlg.h"

#include <QButtonGroup>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <new>
#include <string_view>

#include "desktop/DialogRules.h"
#include "desktop/DialogUnits.h"
#include "desktop/MessageBoxes.h"
#include "desktop/SettingsStore.h"
#include "export/NameListWriter.h"
#include "platform/PathText.h"
#include "text/UiLanguage.h"

namespace tt {

namespace {

QString Text(const char* english, const char* german) {
    return QString::fromUtf8(Tr(english, german));
}

QString RunSaveAsDialog(QWidget* parent, const CSaveNamesDlg::SaveAsRequest& request) {
    QFileDialog dialog(parent, request.title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(request.nameFilters);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.directory.isEmpty())
        dialog.setDirectory(request.directory);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    ApplyDialogRules(dialog);
    // Asking before an existing file is replaced is the dialog's default.
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

}  // namespace

CSaveNamesDlg::CSaveNamesDlg(const SongFileList& songFiles, QWidget* parent)
    : QDialog(parent), m_songFiles(songFiles), m_group(new QButtonGroup(this)) {
    const DialogUnits units(font());
    setWindowTitle(Text("Save Midi Names", "Midi-Dateinamen speichern"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(units.Size(190, 86));

    auto* label = new QLabel(Text("Save as:", "Speichern als:"), this);
    label->setObjectName(QStringLiteral("1070"));
    label->setGeometry(units.Rect(7, 7, 100, 8));

    struct Choice {
        int id;
        const char* english;
        const char* german;
    };
    static constexpr Choice kChoices[] = {
        {1067, "Text file (formatted with tabs)", "Textdatei (formatiert mit Tabs)"},
        {1068, "Text file (formatted with blanks)", "Textdatei (formatiert mit Blanks)"},
        {1069, "Excel file", "Excel-Datei"},
    };
    int y = 20;
    for (const Choice& choice : kChoices) {
        auto* radio = new QRadioButton(Text(choice.english, choice.german), this);
        radio->setObjectName(QString::number(choice.id));
        radio->setGeometry(units.Rect(15, y, 170, 10));
        m_group->addButton(radio, choice.id - 1067);
        y += 13;
    }

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("1"));
    ok->setGeometry(units.Rect(70, 64, 50, 14));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    ApplyDialogRules(*this);
}

QStringList CSaveNamesDlg::NameFilters(const char* barFilter) {
    const QStringList parts = QString::fromUtf8(barFilter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        const QString patterns = QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' '));
        if (description.isEmpty())
            break;  // the two bars at the end
        filters << (description.contains(QLatin1Char('(') + patterns + QLatin1Char(')'))
                        ? description
                        : description + QStringLiteral(" (") + patterns + QLatin1Char(')'));
    }
    return filters;
}

void CSaveNamesDlg::OnInitDialog() {
    const QByteArray stored = settings::ReadString(QString::fromLatin1(kSaveFileTypeKey),
                                                   QString::fromLatin1(kSaveFileTypeDefault))
                                  .toUtf8();
    m_nFileType = static_cast<int>(
        NameListFormatFromSetting(std::string_view(stored.constData(), stored.size())));
    if (QAbstractButton* chosen = m_group->button(m_nFileType)) {
        chosen->setChecked(true);
    } else {
        m_group->setExclusive(false);
        for (QAbstractButton* button : m_group->buttons())
            button->setChecked(false);
        m_group->setExclusive(true);
    }
}

int CSaveNamesDlg::exec() {
    OnInitDialog();
    return QDialog::exec();
}

void CSaveNamesDlg::accept() {
    m_nFileType = m_group->checkedId();
    if (m_nFileType < 0)
        return;
    const auto format = static_cast<NameListFormat>(m_nFileType);
    const SaveAsParameters& parameters = SaveAsParametersFor(format);
    const QString extension = QString::fromLatin1(parameters.defaultExtension);
    const std::string folderName = NameOf(m_strListedFolder);
    const SaveAsRequest request{
        QString::fromUtf8(SaveAsTitle(format)), NameFilters(parameters.filter), extension.mid(1),
        s_lastSaveFolder.isEmpty() ? PathFromCore(m_strListedFolder) : s_lastSaveFolder,
        folderName.empty() ? QString() : PathFromCore(folderName) + extension};
    const QString path =
        s_saveAsStep ? s_saveAsStep(this, request) : RunSaveAsDialog(this, request);
    if (!path.isEmpty() && WriteList(path, format))
        s_lastSaveFolder = QFileInfo(path).absolutePath();
    settings::WriteString(QString::fromLatin1(kSaveFileTypeKey),
                          QString::fromLatin1(SettingFromNameListFormat(format)));
    QDialog::accept();
}

bool CSaveNamesDlg::WriteList(const QString& path, NameListFormat format) {
    try {
        WriteNameList(*m_pFileSystem, PathToCore(path), m_songFiles, format);
        return true;
    } catch (const NameListCreateError&) {
        ShowWarningBox(this, QString::fromUtf8(ErrorCreatingFileText()));
    } catch (const FileError& error) {
        // A failed write or close is shown as the file error it is: the user would
        // otherwise take a cut-off list for a saved one.
        ShowWarningBox(this, FromCore(error.StandardText()));
    } catch (const std::bad_alloc&) {
        ShowWarningBox(this, QString::fromLatin1(kOutOfMemoryText));
    }
    return false;
}

}  // namespace tt
