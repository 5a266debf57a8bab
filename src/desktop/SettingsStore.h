#pragma once

#include <QString>
#include <memory>

class QSettings;

namespace tt {

// The per-user settings: one JSON file $XDG_CONFIG_HOME/Quillmoor/<application
// name>.json holding {"Settings": {...}}. Integers and strings are kept apart:
// reading an integer key that holds a string gives the default, and the reverse.
// A missing, unreadable or broken file reads as defaults; a failed write is
// ignored. Every write reaches the disk at once, in one atomic replace.
namespace settings {

QString ReadString(const QString& key, const QString& defaultValue);
int ReadInt(const QString& key, int defaultValue);
void WriteString(const QString& key, const QString& value);
void WriteInt(const QString& key, int value);

// Where the store lives (for tests and the help pages).
QString FilePath();

// While a Batch lives, reads and writes share one view of the file, and the
// writes reach the disk together, in one atomic replace, when it ends; without
// one, every call reads or rewrites the file on its own. For the window's
// start and close, which read or write a dozen keys at once.
class Batch {
  public:
    Batch();
    ~Batch();
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;

  private:
    std::unique_ptr<QSettings> m_store;  // empty inside another batch
};

}  // namespace settings
}  // namespace tt
