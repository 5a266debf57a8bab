#include "engine/OperationJournal.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <unordered_map>

#include "platform/FileError.h"
#include "platform/JournalFile.h"

namespace tt {

namespace {

constexpr const char* kHeader = "tunetitler-journal\t1";
constexpr const char* kPrefix = "operation-";
constexpr const char* kSuffix = ".log";

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const auto tab = line.find('\t', start);
        fields.push_back(UnescapeJournalField(line.substr(start, tab - start)));
        if (tab == std::string::npos)
            return fields;
        start = tab + 1;
    }
}

std::optional<long long> Number(const std::string& text) {
    if (text.empty())
        return std::nullopt;
    char* end = nullptr;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    return *end == '\0' ? std::optional<long long>(value) : std::nullopt;
}

std::uint64_t Unsigned(const std::string& text) {
    return std::strtoull(text.c_str(), nullptr, 10);
}

bool IsJournalName(const std::string& name) {
    return name.rfind(kPrefix, 0) == 0 && name.size() > 4 &&
           name.compare(name.size() - 4, 4, kSuffix) == 0;
}

std::string ReadAll(FileSystem& fs, const std::string& path) {
    FileHandle file = fs.OpenRead(path);
    std::string text(static_cast<std::size_t>(fs.Length(file)), '\0');
    text.resize(fs.Read(file, text.data(), text.size()));
    fs.Close(file);
    return text;
}

}  // namespace

std::string EscapeJournalField(const std::string& field) {
    std::string out;
    out.reserve(field.size());
    for (const char c : field) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c == '\n') {
            out += "\\n";
        } else if (byte < 0x20 || byte == 0x7F) {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02x", byte);
            out += hex;
        } else {
            out += c;
        }
    }
    return out;
}

std::string UnescapeJournalField(const std::string& field) {
    std::string out;
    out.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\' || i + 1 == field.size()) {
            out += field[i];
            continue;
        }
        const char next = field[++i];
        if (next == 't') {
            out += '\t';
        } else if (next == 'n') {
            out += '\n';
        } else if (next == 'x' && i + 2 < field.size()) {
            out += static_cast<char>(std::strtol(field.substr(i + 1, 2).c_str(), nullptr, 16));
            i += 2;
        } else {
            out += next;
        }
    }
    return out;
}

int JournalOperation::FilesToUndo() const {
    int count = 0;
    for (const JournalStep& step : steps)
        count += step.kind != JournalStep::Kind::trash && step.done && !step.back;
    return count;
}

std::optional<JournalOperation> ParseJournal(const std::string& text) {
    JournalOperation op;
    bool begun = false;
    int group = 0;
    // The first step of each number, found without a search through the steps:
    // a journal of many steps marks each of them done.
    std::unordered_map<long long, std::size_t> firstOf;
    const auto stepOf = [&](const std::string& number) -> JournalStep* {
        const auto n = Number(number);
        const auto found = n ? firstOf.find(*n) : firstOf.end();
        return found == firstOf.end() ? nullptr : &op.steps[found->second];
    };
    std::size_t start = 0;
    // A line counts only with its line feed: a torn last line is left out.
    for (auto end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
        const std::vector<std::string> f = SplitTabs(text.substr(start, end - start));
        start = end + 1;
        const std::string& word = f[0];
        if (word == "begin" && f.size() >= 6) {
            begun = true;
            op.copy = f[1] == "copy";
            op.folder = f[2];
            op.destination = f[3];
            op.pid = static_cast<long>(Number(f[4]).value_or(0));
            op.startTime = Number(f[5]).value_or(0);
        } else if (word == "group") {
            ++group;
        } else if (word == "do" && f.size() >= 6 && Number(f[1])) {
            JournalStep step;
            step.number = static_cast<int>(*Number(f[1]));
            step.group = group;
            step.kind = f[2] == "copy"    ? JournalStep::Kind::copy
                        : f[2] == "trash" ? JournalStep::Kind::trash
                                          : JournalStep::Kind::move;
            step.from = f[3];
            step.to = f[4];
            step.replace = f[5] == "1";
            firstOf.emplace(step.number, op.steps.size());
            op.steps.push_back(std::move(step));
        } else if (word == "did" && f.size() >= 6) {
            if (JournalStep* step = stepOf(f[1])) {
                step->done = true;
                step->size = Unsigned(f[2]);
                step->time = Unsigned(f[3]);
                step->device = Unsigned(f[4]);
                step->inode = Unsigned(f[5]);
                if (f.size() >= 7)
                    step->trashed = f[6];
            }
        } else if (word == "gone" && f.size() >= 2) {
            if (JournalStep* step = stepOf(f[1]))
                step->gone = true;
        } else if (word == "undo" && f.size() >= 2) {
            if (JournalStep* step = stepOf(f[1]))
                step->undoing = true;
        } else if (word == "back" && f.size() >= 2) {
            if (JournalStep* step = stepOf(f[1]))
                step->back = true;
        } else if (word == "end") {
            op.ended = true;
        } else if (word == "undone") {
            op.undone = true;
        }
    }
    if (!begun)
        return std::nullopt;
    op.lastGroup = group;
    return op;
}

std::string DefaultJournalFolder() {
    const char* state = std::getenv("XDG_STATE_HOME");
    std::string base;
    if (state && state[0] == '/') {
        base = state;
    } else {
        const char* home = std::getenv("HOME");
        base = std::string(home && home[0] ? home : "/tmp") + "/.local/state";
    }
    return base + "/Quillmoor/Tunetitler";
}

std::vector<JournalOperation> ReadJournals(FileSystem& fs, const std::string& journalFolder) {
    std::vector<JournalOperation> journals;
    const auto names = fs.ListNames(journalFolder);
    if (!names)
        return journals;
    for (const std::string& name : *names) {
        if (!IsJournalName(name))
            continue;
        const std::string path = journalFolder + "/" + name;
        try {
            if (auto op = ParseJournal(ReadAll(fs, path))) {
                op->journalPath = path;
                journals.push_back(std::move(*op));
            }
        } catch (const FileError&) {
            // A journal that cannot be read (removed meanwhile) tells nothing.
        }
    }
    return journals;
}

OperationJournal::~OperationJournal() {
    // A journal still open here stays open on disk: the next scan of its folder
    // finishes what it records.
    m_file = FileHandle();
}

void OperationJournal::Begin(bool copy, const std::string& folder, const std::string& destination) {
    MakeFolders(m_journalFolder);
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    char name[80];
    std::snprintf(
        name, sizeof name, "%s%020lld-%d%s", kPrefix,
        static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()),
        static_cast<int>(::getpid()), kSuffix);
    m_path = m_journalFolder + "/" + name;
    m_base = CurrentFolder();
    m_file = OpenJournalLocked(m_path);
    m_nextStep = 1;
    m_stepsInGroup = 0;
    Append(std::string(kHeader) + "\nbegin\t" + (copy ? "copy" : "rename") + "\t" +
               EscapeJournalField(ResolvedFolder(folder)) + "\t" +
               EscapeJournalField(ResolvedFolder(destination)) + "\t" + std::to_string(::getpid()) +
               "\t" + std::to_string(std::chrono::duration_cast<std::chrono::seconds>(now).count()),
           true);
}

void OperationJournal::Reopen(const std::string& journalPath) {
    m_path = journalPath;
    m_base = CurrentFolder();
    m_file = OpenJournalLocked(m_path);
}

void OperationJournal::Append(const std::string& line, bool sync) {
    const std::string text = line + "\n";
    m_fs.Write(m_file, text.data(), text.size(), m_path);
    if (sync)
        m_fs.Sync(m_file);
}

int OperationJournal::StepStarting(JournalStep::Kind kind, const std::string& from,
                                   const std::string& to, bool replace) {
    const int number = m_nextStep++;
    const char* word = kind == JournalStep::Kind::copy    ? "copy"
                       : kind == JournalStep::Kind::trash ? "trash"
                                                          : "move";
    ++m_stepsInGroup;
    // Absolute paths, so the journal holds wherever the undo runs from.
    const auto absolute = [this](const std::string& path) {
        return path.empty() || path.front() == '/' ? path : m_base + "/" + path;
    };
    const std::string line = "do\t" + std::to_string(number) + "\t" + word + "\t" +
                             EscapeJournalField(absolute(from)) + "\t" +
                             EscapeJournalField(absolute(to)) + "\t" + (replace ? "1" : "0");
    Append(line, true);
    return number;
}

void OperationJournal::NextGroup() {
    if (!active() || m_stepsInGroup == 0)
        return;
    Append("group", false);
    m_stepsInGroup = 0;
}

void OperationJournal::StepDone(int number, const std::string& at) {
    const auto info = m_fs.Stat(at);
    const FileInfo i = info.value_or(FileInfo{});
    const std::uint64_t time =
        static_cast<std::uint64_t>(i.lastWriteTime.high) << 32 | i.lastWriteTime.low;
    // Not flushed on its own: a lost mark is found again from the disk, and the
    // next step's record takes it to the medium.
    Append("did\t" + std::to_string(number) + "\t" + std::to_string(i.size) + "\t" +
               std::to_string(time) + "\t" + std::to_string(i.device) + "\t" +
               std::to_string(i.inode),
           false);
}

void OperationJournal::TrashDone(int number, const std::string& trashed) {
    Append("did\t" + std::to_string(number) + "\t0\t0\t0\t0\t" + EscapeJournalField(trashed), true);
}

void OperationJournal::TrashGone(int number) {
    Append("gone\t" + std::to_string(number), true);
}

void OperationJournal::Undoing(int number) {
    Append("undo\t" + std::to_string(number), true);
}

void OperationJournal::Back(int number) {
    Append("back\t" + std::to_string(number), false);
}

void OperationJournal::End(bool undone) {
    Append(undone ? "undone" : "end", true);
    Close();
    DropOldJournals();
}

void OperationJournal::Close() {
    if (m_file.isOpen())
        m_fs.Close(m_file);
}

void OperationJournal::DropOldJournals() {
    std::vector<JournalOperation> journals = ReadJournals(m_fs, m_journalFolder);
    int surplus = static_cast<int>(journals.size()) - kKept;
    for (const JournalOperation& op : journals) {
        if (surplus <= 0)
            break;
        // One left open waits for its recovery, whatever its age.
        if (!op.ended || JournalInUse(op.journalPath))
            continue;
        try {
            m_fs.Remove(op.journalPath);
        } catch (const FileError&) {
            // An old journal that cannot be removed only takes a little room.
        }
        --surplus;
    }
}

}  // namespace tt
