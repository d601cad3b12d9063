#include <gtest/gtest.h>

#include "tests/rtl/TempDir.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#ifdef _WIN32
#include <windows.h>
#undef GetObject  // a member of the string list

#include <future>
#include <thread>
#else
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "editor/core/NoteEditFileWriter.h"
#include "editor/core/NoteEditTextBuffer.h"

namespace fs = std::filesystem;

namespace {
const std::string Zhong = "\xD6\xD0", Wen = "\xCE\xC4";

std::vector<std::string> Lines(const TNoteEditStringList& list) {
    std::vector<std::string> lines;
    for (int i = 0; i < list.Count(); ++i) lines.push_back(list.Get(i));
    return lines;
}

std::string Utf8(const fs::path& path) {
    const std::u8string s = path.u8string();
    return std::string(s.begin(), s.end());
}

// A fresh folder per test, removed afterwards.
class NoteFiles : public ::testing::Test {
protected:
    void SetUp() override {
        FDir = UniqueTempPath("vorpen-editor-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(FDir);
        fs::create_directories(FDir);
    }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(FDir, fs::perms::owner_all, ec);
        fs::remove_all(FDir, ec);
    }
    std::string PathOf(const std::string& name) const { return Utf8(FDir / fs::path(std::u8string(name.begin(), name.end()))); }
    static void WriteBytes(const std::string& path, std::string_view bytes) {
        std::ofstream out(fs::path(std::u8string(path.begin(), path.end())), std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    static std::string ReadBytes(const std::string& path) { return NoteReadFileBytes(path); }

    fs::path FDir;
};
}  // namespace

TEST(NoteEditStringList, LoadSplitsAtEveryBreakAndRemembersTheFormat) {
    TNoteEditStringList list;
    list.LoadFromBytes("a\r\nb");
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(list.LineBreakFormat(), lbfCrLf);
    list.LoadFromBytes("a\nb");
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.LineBreakFormat(), lbfLf);
    list.LoadFromBytes("a\rb");
    EXPECT_EQ(list.LineBreakFormat(), lbfCr);
    list.LoadFromBytes("a\r\nb\nc");
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(list.LineBreakFormat(), lbfCrLf);
    list.LoadFromBytes("a\n\rb");
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"a", "", "b"}));
    list.LoadFromBytes("abc\r\n");
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"abc", ""}));
    EXPECT_EQ(list.SaveToBytes(), "abc\r\n");
    list.LoadFromBytes("no break");
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(list.LineBreakFormat(), lbfCrLf);
    list.LoadFromBytes(std::string("a\0b", 3));
    EXPECT_EQ(list.Get(0), std::string("a\0b", 3));
    list.LoadFromBytes("");
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.SaveToBytes(), "");

    list.SetTrailingLineBreak(true);
    list.LoadFromBytes("abc\r\n");
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"abc"}));
    EXPECT_EQ(list.SaveToBytes(), "abc\r\n");
}

TEST(NoteEditStringList, TextJoinsWithCrLfWhateverTheFormat) {
    TNoteEditStringList list;
    list.LoadFromBytes("a\nb\nc");
    EXPECT_EQ(list.Text(), "a\r\nb\r\nc");
    list.SetText("x\ry\n");
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"x", "y", ""}));
    EXPECT_EQ(list.LineBreakFormat(), lbfLf);  // SetText leaves the format
    std::stringstream stream;
    list.SaveToStream(stream);
    EXPECT_EQ(stream.str(), "x\ny\n");
    std::istringstream in("p\rq");
    list.LoadFromStream(in);
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"p", "q"}));
}

TEST(NoteEditStringList, ReadsNeverRaiseWritesCheckTheIndex) {
    TNoteEditStringList list;
    list.Add("a");
    list.Add("b");
    list.Add("c");
    EXPECT_EQ(list.Get(-1), "");
    EXPECT_EQ(list.Get(3), "");
    EXPECT_EQ(list.GetObject(7), nullptr);
    EXPECT_EQ(list.LineState(-1), 0);
    EXPECT_EQ(list.ExpandedLine(9), "");
    EXPECT_EQ(list.ExpandedLineLength(9), 0);
    try {
        list.Delete(3);
        FAIL();
    } catch (const ENoteEditStringList& e) {
        EXPECT_EQ(e.Message(), "Invalid stringlist index 3");
    }
    EXPECT_THROW(list.Insert(4, "x"), ENoteEditStringList);
    EXPECT_THROW(list.Put(-1, "x"), ENoteEditStringList);
    EXPECT_THROW(list.PutObject(3, nullptr), ENoteEditStringList);
    EXPECT_THROW(list.SetLineState(3, 1), ENoteEditStringList);
    EXPECT_THROW(list.Exchange(0, 3), ENoteEditStringList);
    EXPECT_THROW(list.RemoveLines(3, 1), ENoteEditStringList);
    EXPECT_THROW(list.InsertEmptyLines(4, 1), ENoteEditStringList);
    list.RemoveLines(3, 0);  // nothing for a count of 0, whatever the index
    list.Put(3, "d");        // Put at Count appends
    EXPECT_EQ(list.Count(), 4);
    try {
        list.SetCapacity(2);
        FAIL();
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message(), "Stringlist capacity cannot be smaller than count");
    }
    EXPECT_EQ(list.Count(), 4);
}

TEST(NoteEditStringList, CapacityGrowsBySixteenThenByAQuarter) {
    TNoteEditStringList list;
    list.Add("x");
    EXPECT_EQ(list.Capacity(), 16);
    for (int i = 1; i < 65; ++i) list.Add("x");
    EXPECT_EQ(list.Capacity(), 80);
    for (int i = 65; i < 81; ++i) list.Add("x");
    EXPECT_EQ(list.Capacity(), 100);
    list.Clear();
    EXPECT_EQ(list.Capacity(), 0);
}

TEST(NoteEditStringList, NotificationsAndRecords) {
    TNoteEditStringList list;
    std::string log;
    list.OnUpdateBegin = [&](void*) { log += "<"; };
    list.OnUpdateEnd = [&](void*) { log += ">"; };
    list.OnLinesInserted = [&](void*, int i, int n) { log += "I" + std::to_string(i) + std::to_string(n); };
    list.OnLinesDeleted = [&](void*, int i, int n) { log += "D" + std::to_string(i) + std::to_string(n); };
    list.OnLineReplaced = [&](void*, int i, int n) { log += "R" + std::to_string(i) + std::to_string(n); };
    list.OnLinesCleared = [&](void*) { log += "C"; };

    list.LoadFromBytes("a\nb");
    EXPECT_EQ(log, "<I01I11>");
    log.clear();
    list.Put(1, "B");
    list.Delete(0);
    list.InsertEmptyLines(0, 2);
    list.RemoveLines(1, 5);  // cut to the lines there are
    list.AddStrings(std::vector<std::string>{"x", "y"});
    list.Clear();
    list.Clear();  // an empty buffer fires nothing
    EXPECT_EQ(log, "<R11><D01><I02><D12><I12><C>");

    list.Add("a");
    EXPECT_EQ(list.LineState(0), -1);
    list.InsertEmptyLines(0, 1);
    EXPECT_EQ(list.LineState(0), 0);
    EXPECT_EQ(list.ExpandedLineLength(0), 0);
    int tag = 0;
    list.PutObject(1, &tag);
    list.Exchange(0, 1);
    EXPECT_EQ(list.GetObject(0), &tag);
    EXPECT_EQ(list.Get(0), "a");
}

TEST(NoteEditStringList, BulkOperationsEndTheirUpdateOnFailure) {
    TNoteEditStringList list;
    int ends = 0;
    list.OnUpdateEnd = [&](void*) { ++ends; };
    list.OnLinesInserted = [](void*, int, int) { throw Exception("handler failed"); };
    EXPECT_THROW(list.LoadFromBytes("a\nb"), Exception);
    EXPECT_EQ(list.UpdateCount(), 0);
    EXPECT_EQ(ends, 1);
}

TEST(NoteEditStringList, AViewOfItsOwnLineIsCopiedFirst) {
    TNoteEditStringList list;
    list.Add("first line, long enough to live on the heap");
    list.Add("second");
    list.SetText(list.Get(0));
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Get(0), "first line, long enough to live on the heap");
    list.Add("x\ny\nand a tail that needs the heap too");
    list.LoadFromBytes(list.Get(1));
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Get(2), "and a tail that needs the heap too");
}

TEST(NoteEditStringList, AFailingEndOfUpdateGoesToTheApplicationHandler) {
    int handled = 0;
    SetNoteExceptionHandler([&] {
        try {
            throw;
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), "end failed");
            ++handled;
        }
    });
    TNoteEditStringList list;
    list.OnUpdateEnd = [](void*) { throw Exception("end failed"); };
    list.Add("a");
    list.Insert(0, "b");
    SetNoteExceptionHandler(nullptr);
    EXPECT_EQ(handled, 2);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.UpdateCount(), 0);
}

TEST(NoteEditStringList, TabExpansionAndTheLongestLine) {
    TNoteEditStringList list;
    list.SetTabWidth(4);
    list.Add("a\tb");
    EXPECT_EQ(list.ExpandedLine(0), "a\t\t\tb");
    EXPECT_EQ(list.ExpandedLineLength(0), 5);
    list.SetTabWidth(1);
    EXPECT_EQ(list.ExpandedLine(0), "a b");
    EXPECT_EQ(list.ExpandedLineLength(0), 3);
    list.SetTabWidth(6);
    EXPECT_EQ(list.ExpandedLineLength(0), 7);

    list.Clear();
    list.SetTabWidth(8);
    list.Add("aaaa");
    list.Add("bb");
    EXPECT_EQ(list.LongestLineLength(), 4);
    list.Insert(0, "c");  // moves the longest line down
    list.RemoveLines(1, 1);
    EXPECT_EQ(list.LongestLineLength(), 2);
    list.InsertEmptyLines(0, 3);
    list.Delete(4);
    EXPECT_EQ(list.LongestLineLength(), 1);
    list.Add(std::string(9, 'z'));
    EXPECT_EQ(list.LongestLineLength(), 9);
    list.Put(4, "q");
    EXPECT_EQ(list.LongestLineLength(), 1);
    list.Add("\t\t");
    EXPECT_EQ(list.LongestLineLength(), 16);
    list.Exchange(0, 5);
    EXPECT_EQ(list.LongestLineLength(), 16);
    list.RemoveLines(0, 1);
    EXPECT_EQ(list.LongestLineLength(), 1);
}

TEST_F(NoteFiles, RoundTripsAreByteExact) {
    const std::string samples[] = {
        "line one\r\nline two\r\n" + Zhong + Wen + "\r\n",
        "a\nb\n\nc",
        "a\rb\r",
        Zhong + "abc" + Wen + "\xD6",  // ends in a lone lead byte, no final break
        "",
        std::string(20000, 'x') + "\r\n" + std::string(40000, 'y'),
    };
    const std::string path = PathOf("\xE4\xBE\xBF\xE7\xAD\xBE" "1.txt");  // UTF-8 file name
    for (const std::string& bytes : samples) {
        WriteBytes(path, bytes);
        TNoteEditStringList list;
        list.LoadFromFile(path);
        list.SaveToFile(path);
        EXPECT_EQ(ReadBytes(path), bytes);
    }
    EXPECT_FALSE(fs::exists(fs::path(std::u8string(path.begin(), path.end())).concat(".tmp")));
}

TEST_F(NoteFiles, MixedBreaksAreWrittenBackAsCrLf) {
    const std::string path = PathOf("mixed.txt");
    WriteBytes(path, "a\r\nb\nc\rd");
    TNoteEditStringList list;
    list.LoadFromFile(path);
    EXPECT_EQ(list.Count(), 4);
    list.SaveToFile(path);
    EXPECT_EQ(ReadBytes(path), "a\r\nb\r\nc\r\nd");
    list.LoadFromFile(path);
    list.SaveToFile(path);
    EXPECT_EQ(ReadBytes(path), "a\r\nb\r\nc\r\nd");
}

TEST_F(NoteFiles, FileWriterGrowsItsBufferForALongLine) {
    const std::string path = PathOf("writer.txt");
    {
        TNoteEditFileWriter writer(path);
        writer.SetLineBreakFormat(lbfCrLf);
        EXPECT_EQ(writer.BufferSize(), 16384);
        writer.WriteLine("short", true);
        writer.WriteLine(std::string(16390, 'L'), true);
        EXPECT_EQ(writer.BufferSize(), 16392);
        writer.WriteLine("end", false);
        writer.Commit();
    }
    EXPECT_EQ(ReadBytes(path), "short\r\n" + std::string(16390, 'L') + "\r\nend");
    {
        TNoteEditFileWriter dropped(path);  // no Commit: the old file stays
        dropped.WriteLine("partial", false);
    }
    EXPECT_EQ(ReadBytes(path).size(), 7u + 16392u + 3u);
}

TEST_F(NoteFiles, FailedLoadLeavesTheBuffer) {
    TNoteEditStringList list;
    list.Add("kept");
    EXPECT_THROW(list.LoadFromFile(PathOf("missing.txt")), EInOutError);
    EXPECT_EQ(list.Count(), 1);
}

TEST_F(NoteFiles, FailedSaveLeavesTheOldFile) {
    const std::string path = PathOf("note.txt");
    WriteBytes(path, "old text");
    fs::create_directory(fs::path(std::u8string(path.begin(), path.end())).concat(".tmp"));  // the temporary cannot be made
    TNoteEditStringList list;
    list.Add("new text");
    EXPECT_THROW(list.SaveToFile(path), EInOutError);
    EXPECT_EQ(ReadBytes(path), "old text");
}

#ifndef _WIN32
// A save into a folder the process may not write fails and leaves the old file. Root may
// write anywhere, so then the save runs in a child process as an unprivileged user.
TEST_F(NoteFiles, SaveIntoReadOnlyFolderFails) {
    const std::string path = PathOf("note.txt");
    WriteBytes(path, "old text");
    fs::permissions(FDir, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                              fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    TNoteEditStringList list;
    list.Add("new text");
    if (geteuid() != 0) {
        EXPECT_THROW(list.SaveToFile(path), EInOutError);
    } else {
        fs::permissions(fs::temp_directory_path(), fs::perms::others_exec, fs::perm_options::add);
        const pid_t child = fork();
        ASSERT_NE(child, -1);
        if (child == 0) {
            if (setgid(65534) != 0 || setuid(65534) != 0) _exit(2);
            try {
                list.SaveToFile(path);
            } catch (const EInOutError&) {
                _exit(0);
            }
            _exit(1);
        }
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0);
    }
    EXPECT_EQ(ReadBytes(path), "old text");
}
#endif

namespace {
// The byte type by walking characters from the line's start.
TNoteByteType WalkedByteType(const std::string& s, int column) {
    if (column < 1 || column > static_cast<int>(s.size())) return mbSingleByte;
    size_t i = 0;
    for (;;) {
        const size_t n = GbkCharLength(s, i);
        if (i + n >= static_cast<size_t>(column)) return i + 1 == static_cast<size_t>(column) ? (n == 2 ? mbLeadByte : mbSingleByte) : mbTrailByte;
        i += n;
    }
}
}  // namespace

// Byte types of long lines of lead-range bytes, asked between and during edits of every
// kind (in-place splices, puts, lines moved by inserts, deletes and exchanges), match the
// walk from the line's start; in-place edits keep the tab flag and length right.
TEST(NoteEditStringList, ByteTypesFollowEveryChange) {
    std::mt19937 random(5);
    const auto bytes = [&](int n) {
        static const char pick[] = {'\xD6', '\xD0', '\xCE', '\x81', '\xFE', '\x80', '\xFF', 'a', '\x7F', '\t', '\x40'};
        std::string s;
        for (int i = 0; i < n; ++i) s += random() % 150 ? pick[random() % 5] : pick[random() % 11];
        return s;
    };
    TNoteEditStringList list;
    for (int i = 0; i < 3; ++i) list.Add(bytes(1500));
    int checked = 0;
    const auto check = [&](int index, int samples) {
        const std::string s = list.Get(index);
        for (int k = 0; k < samples; ++k) {
            const int column = static_cast<int>(random() % (s.size() + 2));
            ASSERT_EQ(list.ByteType(index, column), WalkedByteType(s, column)) << "column " << column;
            ++checked;
        }
    };
    list.OnLineReplaced = [&](void*, int index, int) { check(index, 3); };
    for (int step = 0; step < 600; ++step) {
        const int index = random() % list.Count();
        const int len = static_cast<int>(list.Get(index).size());
        const int offset = random() % (len + 1);
        switch (random() % 10) {
        case 0: list.Put(index, bytes(1200 + random() % 600)); break;
        case 1: list.Insert(index, bytes(random() % 1500)); break;
        case 2: if (list.Count() > 2) list.Delete(index); break;
        case 3: list.Exchange(index, random() % list.Count()); break;
        case 4: case 5: case 6: list.InsertBytes(index, offset, bytes(1 + random() % 5)); break;
        default: list.DeleteBytes(index, offset, std::min<int>(1 + random() % 5, len - offset));
        }
        for (int i = 0; i < list.Count(); ++i) {
            check(i, 4);
            const std::string& s = list.Get(i);
            ASSERT_EQ(list.LineHasTabs(i), s.find('\t') != std::string::npos);
            ASSERT_EQ(list.ExpandedLineLength(i), ExpandedTextLength(s, list.TabWidth()));
        }
        if (::testing::Test::HasFatalFailure()) return;
    }
    EXPECT_GT(checked, 5000);
}

// The start kept at 256 follows a lone lead byte; an edit at that very offset that puts a lead
// byte there pairs the lone byte with it, so the start must go with the edit.
TEST(NoteEditStringList, AKeptStartAtTheEditOffsetGoes) {
    for (const bool insert : {false, true}) {
        TNoteEditStringList list;
        list.Add(std::string(255, 'a') + "\xD6\xFF" + std::string(300, '\xD6'));
        ASSERT_EQ(list.ByteType(0, 402), mbLeadByte);
        if (insert) list.InsertBytes(0, 256, std::string(100, '\xD0'));
        else list.DeleteBytes(0, 256, 1);
        const std::string& s = list.Get(0);
        for (int column = 1; column <= static_cast<int>(s.size()); ++column)
            ASSERT_EQ(list.ByteType(0, column), WalkedByteType(s, column)) << insert << " column " << column;
    }
}

#ifdef _WIN32
// Another program (a virus scanner, a backup tool) holding the note file open without delete
// sharing, on a thread of its own, until Release.
class FileHolder {
public:
    explicit FileHolder(const std::string& path) {
        std::promise<void> held;
        auto heldNow = held.get_future();
        FThread = std::thread([this, path, held = std::move(held)]() mutable {
            const HANDLE h = CreateFileW(fs::path(std::u8string(path.begin(), path.end())).c_str(), GENERIC_READ,
                                         FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
            FOpened = h != INVALID_HANDLE_VALUE;
            held.set_value();
            FRelease.get_future().wait();
            if (FOpened) CloseHandle(h);
        });
        heldNow.wait();
    }
    ~FileHolder() { Release(); }
    bool Opened() const { return FOpened; }
    void Release() {
        if (!FThread.joinable()) return;
        FRelease.set_value();
        FThread.join();  // the handle is closed when this returns
    }

private:
    std::promise<void> FRelease;
    std::thread FThread;
    bool FOpened = false;
};

// The hold ends on the first retry, so the save succeeds however slow the machine is.
TEST_F(NoteFiles, SaveWaitsForABriefHoldOnTheFile) {
    const std::string path = PathOf("note.txt");
    WriteBytes(path, "old text");
    FileHolder holder(path);
    ASSERT_TRUE(holder.Opened());
    std::vector<int> retries;
    SetNoteReplaceRetryHook([&](int retry) {
        retries.push_back(retry);
        holder.Release();
    });
    TNoteEditStringList list;
    list.Add("new text");
    EXPECT_NO_THROW(list.SaveToFile(path));
    SetNoteReplaceRetryHook({});
    EXPECT_EQ(retries, std::vector<int>{1});
    EXPECT_EQ(ReadBytes(path), "new text");
    EXPECT_FALSE(fs::exists(fs::path(std::u8string(path.begin(), path.end())).concat(".tmp")));
}

// A hold that outlasts every retry fails the save as before: the old file stays whole.
TEST_F(NoteFiles, SaveGivesUpOnALongHoldAndKeepsTheOldFile) {
    const std::string path = PathOf("note.txt");
    WriteBytes(path, "old text");
    FileHolder holder(path);
    ASSERT_TRUE(holder.Opened());
    int retries = 0;
    SetNoteReplaceRetryHook([&](int) { ++retries; });
    TNoteEditStringList list;
    list.Add("new text");
    try {
        list.SaveToFile(path);
        ADD_FAILURE() << "the save went through a held file";
    } catch (const EInOutError& e) {
        // The reason is shown in a message box: UTF-8, on one line.
        const std::string& message = e.Message();
        EXPECT_NE(message.find("note.txt"), std::string::npos) << message;
        EXPECT_NE(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, message.data(), static_cast<int>(message.size()),
                                      nullptr, 0),
                  0);
        EXPECT_EQ(message.find_first_of("\r\n"), std::string::npos);
    }
    EXPECT_EQ(retries, NoteReplaceRetries);
    // The note saves on every keystroke: while the hold lasts, each save tries once.
    EXPECT_THROW(list.SaveToFile(path), EInOutError);
    EXPECT_EQ(retries, NoteReplaceRetries);
    holder.Release();
    EXPECT_EQ(ReadBytes(path), "old text");
    EXPECT_FALSE(fs::exists(fs::path(std::u8string(path.begin(), path.end())).concat(".tmp")));
    list.SaveToFile(path);  // once let go, the next save goes through
    EXPECT_EQ(ReadBytes(path), "new text");
    // and a later brief hold is waited for again.
    FileHolder brief(path);
    ASSERT_TRUE(brief.Opened());
    SetNoteReplaceRetryHook([&](int) { brief.Release(); });
    list.Add("more");
    EXPECT_NO_THROW(list.SaveToFile(path));
    SetNoteReplaceRetryHook({});
    EXPECT_NE(ReadBytes(path).find("more"), std::string::npos);
}

// A folder in the note file's place refuses every save (as a read-only file does on Windows,
// though not under Wine): it fails at once, with no wait.
TEST_F(NoteFiles, SaveOverAFolderFailsAtOnce) {
    const std::string path = PathOf("note.txt");
    const fs::path file(std::u8string(path.begin(), path.end()));
    fs::create_directory(file);
    int retries = 0;
    SetNoteReplaceRetryHook([&](int) { ++retries; });
    TNoteEditStringList list;
    list.Add("new text");
    EXPECT_THROW(list.SaveToFile(path), EInOutError);
    SetNoteReplaceRetryHook({});
    EXPECT_EQ(retries, 0);
    EXPECT_TRUE(fs::is_directory(file));
    EXPECT_FALSE(fs::exists(fs::path(file).concat(".tmp")));
}
#endif
