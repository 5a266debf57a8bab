#pragma once

#include <QString>

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

}  // namespace settings
}  // namespace tt
