// Companion files (same base name, other extension) going along with their song.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <set>
#include <sstream>

#include "PassThroughFileSystem.h"
#include "SongFolder.h"
#include "TempDir.h"
#include "engine/Messages.h"
#include "platform/PathText.h"

namespace tt {
namespace {

using namespace test;

// Song.mid (title Title) with companions of every kind, and files that are none.
struct SongWithCompanions {
    TempDir dir;
    Contents before;

    SongWithCompanions() {
        WriteSong(dir / "Song.mid", "Title", "song");
        for (const char* name :
             {"Song.txt", "Song.KAR", "Song.tx", "Song.live.txt", "Song", "SONG.nfo"})
            WriteWholeFile(dir / name, std::string("companion ") + name);
        // Song files of any kind and case, other bases, and a folder stay.
        WriteUntitledSong(dir / "Song.sty", "sty");
        WriteUntitledSong(dir / "Song.Pat", "pat");
        WriteUntitledSong(dir / "Song.MID", "MID");
        WriteWholeFile(dir / "Songbook.txt", "other base");
        WriteWholeFile(dir / "Song_txt", "other base");
        std::filesystem::create_directory(dir / "Song.old");
        before = FolderContents(dir.path());
    }

    Contents Expected(const std::string& prefix, bool moved) const {
        Contents expected;
        const std::vector<std::pair<std::string, std::string>> renames = {
            {"Song.mid", "Title.mid"},
            {"Song.txt", "Title.txt"},
            {"Song.KAR", "Title.kar"},
            {"Song.tx", "Title.tx"},
            {"Song.live.txt", "Title.live.txt"},
            {"Song", "Title"},
            {"SONG.nfo", "Title.nfo"}};
        for (const auto& [from, to] : renames)
            expected[prefix + to] = before.at(from);
        if (moved) {
            for (const auto& [name, content] : before) {
                if (std::none_of(renames.begin(), renames.end(),
                                 [&](const auto& r) { return r.first == name; }))
                    expected[name] = content;
            }
        }
        return expected;
    }
};

TEST(CompanionFiles, RenameTakesCompanionsAlongByTheirRealNames) {
    SongWithCompanions s;
    EngineWithUi t;
    t.Scan(s.dir.path());
    t.Select("Song.mid");

    t.engine.RenameSelectedFiles(false);

    EXPECT_TRUE(t.ui.warnings.empty());
    EXPECT_TRUE(t.ui.questions.empty());
    EXPECT_EQ(FolderContents(s.dir.path()), s.Expected("", true));
    EXPECT_TRUE(std::filesystem::is_directory(s.dir / "Song.old"));
}

TEST(CompanionFiles, CopyTakesCompanionsAlongAndLeavesThemInPlace) {
    SongWithCompanions s;
    TempDir dest;
    EngineWithUi t;
    t.Scan(s.dir.path());
    t.Select("Song.mid");
    t.ui.pickerAnswers = {dest.path()};

    t.engine.RenameSelectedFiles(true);

    EXPECT_EQ(FolderContents(s.dir.path()), s.before);
    EXPECT_EQ(FolderContents(dest.path()), s.Expected("", false));
}

TEST(CompanionFiles, CopyUnderTheSameNameIntoAnotherFolder) {
    TempDir dir;
    TempDir dest;
    WriteSong(dir / "Song.mid", "Song", "song");
    WriteWholeFile(dir / "Song.txt", "lyrics");
    WriteWholeFile(dir / "Song.KAR", "karaoke");
    EngineWithUi t(dir.path(), EngineWithUi::Rows::selected);
    t.ui.pickerAnswers = {dest.path()};

    t.engine.RenameSelectedFiles(true);

    EXPECT_EQ(FolderContents(dest.path()),
              (Contents{{"Song.mid", FolderContents(dir.path()).at("Song.mid")},
                        {"Song.txt", "lyrics"},
                        {"Song.kar", "karaoke"}}));
}

TEST(CompanionFiles, SwitchedOffCompanionsStay) {
    SongWithCompanions s;
    EngineWithUi t;
    t.engine.SetCorrespondingFiles(false);
    t.Scan(s.dir.path());
    t.Select("Song.mid");

    t.engine.RenameSelectedFiles(false);

    Contents expected = s.before;
    expected.erase("Song.mid");
    expected["Title.mid"] = s.before.at("Song.mid");
    EXPECT_EQ(FolderContents(s.dir.path()), expected);
}

TEST(CompanionFiles, SongsSharingABaseTakeThemOnlyOnce) {
    TempDir dir;
    WriteSong(dir / "Song.mid", "First", "mid");
    WriteSong(dir / "Song.sty", "Second", "sty");
    WriteWholeFile(dir / "Song.txt", "lyrics");
    EngineWithUi t(dir.path(), EngineWithUi::Rows::selected);

    t.engine.RenameSelectedFiles(false);

    const Contents after = FolderContents(dir.path());
    EXPECT_EQ(after.count("First.mid"), 1u);
    EXPECT_EQ(after.count("Second.sty"), 1u);
    EXPECT_EQ(after.at("First.txt"), "lyrics");
    EXPECT_EQ(after.size(), 3u);
}

TEST(CompanionFiles, FirstCollisionOnACompanionAsksTheOneQuestion) {
    for (const OverwriteAnswer answer :
         {OverwriteAnswer::yes, OverwriteAnswer::no, OverwriteAnswer::cancel}) {
        SCOPED_TRACE(static_cast<int>(answer));
        TempDir dir;
        WriteSong(dir / "a.mid", "Alpha", "a");
        WriteWholeFile(dir / "a.kar", "karaoke");
        WriteWholeFile(dir / "a.txt", "lyrics");
        WriteWholeFile(dir / "Alpha.kar", "old karaoke");
        WriteSong(dir / "b.mid", "Beta", "b");
        EngineWithUi t(dir.path(), EngineWithUi::Rows::unselected);
        WriteUntitledSong(dir / "Beta.mid", "old beta");  // not listed
        t.Select({"a.mid", "b.mid"});
        t.ui.overwriteAnswers = {answer};
        const Contents before = FolderContents(dir.path());

        t.engine.RenameSelectedFiles(false);

        EXPECT_EQ(t.ui.questions, (std::vector<std::string>{OverwriteQuestion(dir / "Alpha.kar")}));
        const Contents after = FolderContents(dir.path());
        // The song itself was moved before its companions, whatever the answer.
        EXPECT_EQ(after.at("Alpha.mid"), before.at("a.mid"));
        EXPECT_EQ(t.ui.selected.count(t.IndexOf("Alpha.mid")), 0u);
        if (answer == OverwriteAnswer::yes) {
            EXPECT_EQ(after.at("Alpha.kar"), "karaoke");
            EXPECT_EQ(after.at("Alpha.txt"), "lyrics");
            EXPECT_EQ(after.at("Beta.mid"), before.at("b.mid"));  // replaced silently
            EXPECT_TRUE(t.ui.selected.empty());
        } else {
            EXPECT_EQ(after.at("Alpha.kar"), "old karaoke");
            EXPECT_EQ(after.at("a.kar"), "karaoke");
            // No skips only that companion; Cancel leaves the song's remaining ones.
            EXPECT_EQ(after.count("Alpha.txt"), answer == OverwriteAnswer::no ? 1u : 0u);
            EXPECT_EQ(after.count("a.txt"), answer == OverwriteAnswer::no ? 0u : 1u);
            // Later collisions are skipped without a question.
            EXPECT_EQ(after.at("Beta.mid"), before.at("Beta.mid"));
            EXPECT_EQ(t.ui.selected, (std::set<std::int32_t>{t.IndexOf("b.mid")}));
        }
    }
}

TEST(CompanionFiles, CompanionPutInPlaceByThisOperationIsNeverReplaced) {
    // A song and a style of the same title, each with its own lyrics: the second
    // lyrics file would replace the first, the only copy of those lyrics.
    TempDir dir;
    WriteSong(dir / "a.mid", "Title", "a");
    WriteWholeFile(dir / "a.txt", "song lyrics");
    WriteSong(dir / "b.sty", "Title", "b");
    WriteWholeFile(dir / "b.txt", "style lyrics");
    EngineWithUi t(dir.path(), EngineWithUi::Rows::unselected);
    WriteUntitledSong(dir / "Title.mid", "in the way");  // not listed
    t.Select({"a.mid", "b.sty"});
    t.ui.overwriteAnswers = {OverwriteAnswer::yes};

    t.engine.RenameSelectedFiles(false);

    EXPECT_EQ(t.ui.questions.size(), 1u);  // for Title.mid
    const Contents after = FolderContents(dir.path());
    EXPECT_EQ(after.at("Title.txt"), "song lyrics");
    EXPECT_EQ(after.at("b.txt"), "style lyrics");
    EXPECT_EQ(after.count("Title.sty"), 1u);

    // Two companions whose names differ only in the extension's case would both
    // become Title.txt: the second stays where it is.
    TempDir other;
    WriteSong(other / "Song.mid", "Title", "s");
    WriteWholeFile(other / "Song.TXT", "upper");
    WriteWholeFile(other / "Song.txt", "lower");
    EngineWithUi u;
    u.ScanAndSelectAll(other.path());
    u.ui.overwriteAnswers = {OverwriteAnswer::yes};
    u.engine.RenameSelectedFiles(false);
    EXPECT_TRUE(u.ui.questions.empty());
    const Contents otherAfter = FolderContents(other.path());
    EXPECT_EQ(otherAfter.at("Title.txt"), "upper");
    EXPECT_EQ(otherAfter.at("Song.txt"), "lower");
}

TEST(CompanionFiles, CompanionOrSongWhoseTargetIsNoPlainFileStays) {
    // Title.txt is a folder: the lyrics stay and are named as left; the karaoke file
    // and the next song go on, in a rename and in a copy. Box.mid is a folder too:
    // its song stays, selected, with no question.
    for (const bool copy : {false, true}) {
        SCOPED_TRACE(copy ? "copy" : "rename");
        TempDir dir;
        TempDir dest;
        const std::string to = copy ? dest.path() : dir.path();
        WriteSong(dir / "a.mid", "Title", "a");
        WriteWholeFile(dir / "a.txt", "lyrics");
        WriteWholeFile(dir / "a.kar", "karaoke");
        // A named pipe is no companion to read: it stays, named.
        ASSERT_EQ(::mkfifo((dir / "a.fifo").c_str(), 0600), 0);
        WriteSong(dir / "b.mid", "Next", "b");
        WriteSong(dir / "c.mid", "Box", "c");
        std::filesystem::create_directory(to + "/Title.txt");
        std::filesystem::create_directory(to + "/Box.mid");
        EngineWithUi t(dir.path(), EngineWithUi::Rows::selected);
        t.ui.pickerAnswers = {dest.path()};
        t.ui.overwriteAnswers = {OverwriteAnswer::yes};

        t.engine.RenameSelectedFiles(copy);

        EXPECT_TRUE(t.ui.warnings.empty() && t.ui.questions.empty());
        EXPECT_EQ(t.ui.selected, (std::set<std::int32_t>{t.IndexOf("c.mid")}));
        EXPECT_EQ(t.ui.companionsLeft, (std::vector<std::string>{dir / "a.fifo", dir / "a.txt"}));
        EXPECT_EQ(ReadWholeFile(dir / "a.txt"), "lyrics");
        EXPECT_EQ(ReadWholeFile(to + "/Title.kar"), "karaoke");
        EXPECT_TRUE(std::filesystem::exists(to + "/Next.mid"));
    }
}

TEST(CompanionFiles, TheSongUnderAnEditedExtensionIsNoCompanionOfItself) {
    // An edited name whose extension is no song extension puts the song under a
    // name that the search for its old base finds again.
    struct Case {
        std::string base, ext, songAt;
    };
    for (const bool copy : {false, true}) {
        for (const Case& c :
             {Case{"a", ".TXT", "a.TXT"}, Case{"a.backup", ".txt", "a.backup.txt"}}) {
            SCOPED_TRACE(c.songAt + (copy ? " (copy)" : ""));
            TempDir dir;
            WriteSong(dir / "a.mid", "Alpha", "a");
            WriteWholeFile(dir / "a.txt", "lyrics");
            EngineWithUi t(dir.path(), EngineWithUi::Rows::selected);
            t.engine.SetEditNames(true);
            t.ui.editAnswers = {c.base};
            t.ui.editExtAnswers = {c.ext};
            t.ui.pickerAnswers = {dir.path()};
            t.ui.overwriteAnswers = {OverwriteAnswer::yes};
            const Contents before = FolderContents(dir.path());

            t.engine.RenameSelectedFiles(copy);

            // The lyrics stay (a.txt would become a.txt, or a.backup.txt, which
            // the song has just taken); the song stays where it was put.
            Contents expected = before;
            if (!copy)
                expected.erase("a.mid");
            expected[c.songAt] = before.at("a.mid");
            EXPECT_EQ(FolderContents(dir.path()), expected);
            EXPECT_TRUE(t.ui.questions.empty());
            EXPECT_TRUE(t.ui.warnings.empty());
            if (!copy) {
                EXPECT_EQ(t.engine.songFiles().ElementAt(0).path, dir / c.songAt);
                EXPECT_EQ(t.engine.songFiles().ElementAt(0).titleFound, 1);
            }
        }
    }
}

TEST(CompanionFiles, ALinkIsNeverMovedOverTheFileItLeadsTo) {
    // Song.txt is a symbolic link to the lyrics already named after the title, and
    // link.mid one to a style (not listed) that the edit dialog gives the link's name
    // to. Moving a link over its own file would leave a link to itself and lose the
    // file.
    TempDir dir;
    WriteSong(dir / "Song.mid", "Title", "song");
    WriteWholeFile(dir / "Title.txt", "lyrics");
    std::filesystem::create_symlink("Title.txt", dir / "Song.txt");
    WriteSong(dir / "Real.sty", "Real", "real");
    std::filesystem::create_symlink("Real.sty", dir / "link.mid");
    EngineWithUi t;
    t.engine.SetFileTypes(true, false, true);
    t.Scan(dir.path());
    t.Select({"Song.mid", "link.mid"});
    t.engine.SetEditNames(true);
    ASSERT_LT(t.IndexOf("link.mid"), t.IndexOf("Song.mid"));
    t.ui.editAnswers = {std::string("Real"), std::string("Title")};
    t.ui.editExtAnswers = {".sty", ".mid"};
    t.ui.overwriteAnswers = {OverwriteAnswer::yes};
    const Contents before = FolderContents(dir.path());

    t.engine.RenameSelectedFiles(false);

    // Each file itself, not a link, with its content.
    const auto plainContent = [](const std::string& path) {
        std::error_code error;
        const auto status = std::filesystem::symlink_status(path, error);
        return std::filesystem::is_regular_file(status) ? ReadWholeFile(path) : "<no plain file>";
    };
    EXPECT_TRUE(t.ui.warnings.empty());
    EXPECT_EQ(plainContent(dir / "Title.txt"), "lyrics");
    EXPECT_EQ(plainContent(dir / "Title.mid"), before.at("Song.mid"));
    EXPECT_EQ(plainContent(dir / "Real.sty"), before.at("Real.sty"));
    // A link at the target is an existing file: asked about once, and on Yes the
    // old names (the links) are gone while the files keep their content.
    EXPECT_EQ(t.ui.questions.size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(dir / "Song.txt")));
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(dir / "link.mid")));
}

TEST(CompanionFiles, ANameGoesWithTheSongThatClaimsItMostClosely) {
    // Only Song.mid is renamed; the other song (listed or not, of any kind) keeps
    // its lyrics: its base is longer, or it is the lyrics' base in exact case.
    for (const std::string other : {"Song.remix.sty", "SONG.pat"}) {
        SCOPED_TRACE(other);
        TempDir dir;
        WriteSong(dir / "Song.mid", "Studio");
        WriteSong(dir / other, "Other");
        const std::string otherLyrics = other.substr(0, other.size() - 4) + ".txt";
        WriteWholeFile(dir / "Song.txt", "s");
        WriteWholeFile(dir / otherLyrics, "o");
        EngineWithUi t(dir.path(), EngineWithUi::Rows::unselected);
        t.Select("Song.mid");
        t.engine.RenameSelectedFiles(false);
        EXPECT_EQ(ReadWholeFile(dir / "Studio.txt"), "s");
        EXPECT_EQ(ReadWholeFile(dir / otherLyrics), "o");
    }
}

TEST(CompanionFiles, HiddenCompanionsAreLeftAlone) {
    TempDir dir;
    WriteSong(dir / ".hidden.mid", "Title", "h");
    WriteWholeFile(dir / ".hidden.txt", "hidden lyrics");
    EngineWithUi t;
    t.engine.RenameCorrespondingFiles(dir / ".hidden.mid", dir / "Title.mid", false);
    EXPECT_EQ(FolderContents(dir.path()).count(".hidden.txt"), 1u);
    EXPECT_EQ(FolderContents(dir.path()).count("Title.txt"), 0u);
    // Paths without an extension have no base.
    WriteWholeFile(dir / "Plain", "plain");
    WriteWholeFile(dir / "Plain.txt", "plain text");
    t.engine.RenameCorrespondingFiles(dir / "Plain", dir / "Other.mid", false);
    t.engine.RenameCorrespondingFiles(dir / "Plain.mid", dir / "Other", false);
    EXPECT_EQ(FolderContents(dir.path()).count("Plain.txt"), 1u);
}

// Counts folder listings.
class ListingCounter : public PassThroughFileSystem {
  public:
    int listings = 0;
    std::optional<std::vector<std::string>> ListNames(const std::string& folder) override {
        ++listings;
        return PassThroughFileSystem::ListNames(folder);
    }
};

TEST(CompanionFiles, FolderIsListedOncePerOperationAndFollowsItsChanges) {
    TempDir dir;
    for (int i = 0; i < 40; ++i) {
        const std::string n = std::to_string(100 + i);
        WriteSong(dir / ("s" + n + ".mid"), "Title " + n, n);
        WriteWholeFile(dir / ("s" + n + ".txt"), "lyrics " + n);
    }
    // a.mid becomes Late.mid with Late.txt; the listed Late.sty, processed later,
    // then finds that companion under its old base, as a fresh listing would.
    WriteSong(dir / "a.mid", "Late", "a");
    WriteWholeFile(dir / "a.txt", "late lyrics");
    WriteSong(dir / "Late.sty", "Later", "sty");
    ListingCounter fs;
    EngineWithUi t(fs);
    t.ScanAndSelectAll(dir.path());
    ASSERT_LT(t.IndexOf("a.mid"), t.IndexOf("Late.sty"));
    fs.listings = 0;

    t.engine.RenameSelectedFiles(false);

    EXPECT_EQ(fs.listings, 1);
    const Contents after = FolderContents(dir.path());
    EXPECT_EQ(after.at("Title 117.txt"), "lyrics 117");
    EXPECT_EQ(after.at("Later.txt"), "late lyrics");
    EXPECT_EQ(after.count("Late.txt"), 0u);
    EXPECT_EQ(after.size(), 83u);
}

TEST(CompanionFiles, AListedSongsCompanionIsHeldByIt) {
    // Songs (file:title) and lyrics (file:text); with Yes given in advance no lyrics
    // of another listed song are replaced or asked about: a rename waits until that
    // song has moved on with them, else the lyrics named stay.
    const auto pairs = [](const char* text) {
        Contents out;
        std::istringstream in(text);
        for (std::string item; in >> item;)
            out[item.substr(0, item.find(':'))] = item.substr(item.find(':') + 1);
        return out;
    };
    const struct {
        const char *files, *only, *expected, *left;
        bool copy = false;
    } rows[] = {
        {"A.mid:B B.live.mid:X A.live.txt:a B.live.txt:b", "", "B.live.txt:a X.txt:b", ""},
        {"A.mid:B B.sty:Y A.txt:a B.txt:b", "", "B.txt:a Y.txt:b", ""},
        {"A.mid:B B.sty:Y A.txt:a B.txt:b", "A.mid", "A.txt:a B.txt:b", "A.txt"},
        {"A.mid:X X.sty:Y A.txt:a X.txt:x", "A.mid", "A.txt:a X.txt:x", "A.txt", true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.files) + (row.copy ? " copied" : ""));
        TempDir dir;
        for (const auto& [file, text] : pairs(row.files))
            file.ends_with(".txt") ? WriteWholeFile(dir / file, text) : WriteSong(dir / file, text);
        EngineWithUi t(dir.path(), EngineWithUi::Rows::unselected);
        *row.only ? t.Select(row.only) : t.ui.SelectAll();
        t.ui.overwriteAnswers = {OverwriteAnswer::yes};
        t.ui.pickerAnswers = {dir.path()};

        t.engine.RenameSelectedFiles(row.copy);

        EXPECT_TRUE(t.ui.questions.empty() && t.ui.warnings.empty() && t.ui.selected.empty());
        Contents lyrics = FolderContents(dir.path());
        std::erase_if(lyrics, [](const auto& file) { return !file.first.ends_with(".txt"); });
        EXPECT_EQ(lyrics, pairs(row.expected));
        EXPECT_EQ(t.ui.companionsLeft.size(), *row.left ? 1u : 0u);
        EXPECT_EQ(t.ui.companionsLeft.empty() ? "" : NameOf(t.ui.companionsLeft[0]), row.left);
    }
}

}  // namespace
}  // namespace tt
