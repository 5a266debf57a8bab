#include "desktop/SettingsStore.h"

#include <QCoreApplication>
#include <QIODevice>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QMetaType>
#include <QSettings>
#include <climits>
#include <memory>

namespace tt::settings {

namespace {

const char kCompany[] = "Quillmoor";
const char kSection[] = "Settings";

// QSettings hands a custom format a flat map of "Section/Key" names; the file
// holds them as one JSON object per section.
bool ReadJson(QIODevice& device, QSettings::SettingsMap& map) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(device.readAll(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return false;
    const QJsonObject top = document.object();
    for (auto section = top.begin(); section != top.end(); ++section) {
        if (!section.value().isObject())
            continue;
        const QJsonObject values = section.value().toObject();
        for (auto value = values.begin(); value != values.end(); ++value) {
            const QString name = section.key() + QLatin1Char('/') + value.key();
            if (value.value().isString())
                map.insert(name, value.value().toString());
            else if (value.value().isDouble())
                map.insert(name, value.value().toInteger());
        }
    }
    return true;
}

bool WriteJson(QIODevice& device, const QSettings::SettingsMap& map) {
    QJsonObject top;
    for (auto it = map.begin(); it != map.end(); ++it) {
        const qsizetype slash = it.key().indexOf(QLatin1Char('/'));
        if (slash < 0)
            continue;
        const QString section = it.key().left(slash);
        QJsonObject values = top.value(section).toObject();
        if (it.value().typeId() == QMetaType::QString)
            values.insert(it.key().mid(slash + 1), it.value().toString());
        else
            values.insert(it.key().mid(slash + 1), it.value().toLongLong());
        top.insert(section, values);
    }
    return device.write(QJsonDocument(top).toJson(QJsonDocument::Indented)) >= 0;
}

QSettings::Format JsonFormat() {
    static const QSettings::Format format =
        QSettings::registerFormat(QStringLiteral("json"), ReadJson, WriteJson);
    return format;
}

// A fresh view of the file for every call, so a change written by another
// process (or a test) is always seen, and nothing is cached across calls.
std::unique_ptr<QSettings> Open() {
    return std::make_unique<QSettings>(JsonFormat(), QSettings::UserScope, QLatin1String(kCompany),
                                       QCoreApplication::applicationName());
}

// The open batch's view of the file, if any.
QSettings* g_batch = nullptr;

// The batch's view, or a fresh one of this call's own that is written at once.
class View {
  public:
    View() : m_own(g_batch == nullptr ? Open() : nullptr) {}
    QSettings* operator->() const { return m_own ? m_own.get() : g_batch; }
    ~View() {
        if (m_own)
            m_own->sync();
    }

  private:
    std::unique_ptr<QSettings> m_own;
};

QString Name(const QString& key) {
    return QLatin1String(kSection) + QLatin1Char('/') + key;
}

}  // namespace

QString ReadString(const QString& key, const QString& defaultValue) {
    const QVariant value = View()->value(Name(key));
    return value.typeId() == QMetaType::QString ? value.toString() : defaultValue;
}

int ReadInt(const QString& key, int defaultValue) {
    const QVariant value = View()->value(Name(key));
    if (value.typeId() != QMetaType::LongLong)
        return defaultValue;
    const qint64 number = value.toLongLong();
    if (number < INT_MIN || number > INT_MAX)
        return defaultValue;
    return static_cast<int>(number);
}

void WriteString(const QString& key, const QString& value) {
    View()->setValue(Name(key), value);
}

void WriteInt(const QString& key, int value) {
    View()->setValue(Name(key), static_cast<qint64>(value));
}

QString FilePath() {
    return Open()->fileName();
}

Batch::Batch() {
    if (g_batch == nullptr) {
        m_store = Open();
        g_batch = m_store.get();
    }
}

Batch::~Batch() {
    if (m_store) {
        g_batch = nullptr;
        m_store->sync();
    }
}

}  // namespace tt::settings
