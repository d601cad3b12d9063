#include "editor/core/NoteEditKeyStream.h"

#include <charconv>
#include <vector>

namespace {
struct Stroke {
    TNoteEditorCommand Command = ecNone;
    TNoteShortCut ShortCut = 0, ShortCut2 = 0;
    friend bool operator==(const Stroke&, const Stroke&) = default;
};

std::vector<Stroke> StrokesOf(const TNoteEditKeyStrokes& strokes) {
    std::vector<Stroke> result;
    for (int i = 0; i < strokes.Count(); ++i) {
        const TNoteEditKeyStroke& k = strokes.Items(i);
        result.push_back({k.Command(), k.ShortCut(), k.ShortCut2()});
    }
    return result;
}

bool Contains(const std::vector<Stroke>& list, const Stroke& s) {
    for (const Stroke& x : list)
        if (x == s) return true;
    return false;
}

void WriteSet(std::string& out, const char* name, const std::vector<Stroke>& set) {
    out += name;
    out += " = <";
    for (const Stroke& s : set) {
        std::string command;
        if (!EditorCommandToIdent(s.Command, command)) command = std::to_string(s.Command);
        out += "\n  item\n    Command = " + command + "\n    ShortCut = " + std::to_string(s.ShortCut);
        if (s.ShortCut2 != 0) out += "\n    ShortCut2 = " + std::to_string(s.ShortCut2);
        out += "\n  end";
    }
    out += ">\n";
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

[[noreturn]] void Fail(const std::string& why) { throw ENoteKeyError("Invalid key stroke stream: " + why); }

int Number(std::string_view value, const char* what) {
    int n = 0;
    const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), n);
    if (ec != std::errc() || end != value.data() + value.size() || n < 0 || n > 0xFFFF) Fail(std::string(what) + " '" + std::string(value) + "'");
    return n;
}

// The two sets of a stream text.
void Parse(std::string_view text, std::vector<Stroke>& removed, std::vector<Stroke>& added) {
    std::vector<Stroke>* set = nullptr;
    bool inItem = false;
    Stroke item;
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t eol = text.find('\n', pos);
        if (eol == std::string_view::npos) eol = text.size();
        std::string_view line = Trim(text.substr(pos, eol - pos));
        pos = eol + 1;
        if (line.empty()) continue;
        bool closes = false;
        if (line.back() == '>') {
            closes = true;
            line = Trim(line.substr(0, line.size() - 1));
        }
        if (!set) {
            const size_t eq = line.find('=');
            if (eq == std::string_view::npos || Trim(line.substr(eq + 1)) != "<") Fail("expected a property");
            const std::string_view name = Trim(line.substr(0, eq));
            if (name == "RemovedKeystrokes") set = &removed;
            else if (name == "AddedKeystrokes") set = &added;
            else Fail("unknown property '" + std::string(name) + "'");
        } else if (line == "item") {
            if (inItem) Fail("item inside item");
            inItem = true;
            item = {};
        } else if (line == "end") {
            if (!inItem) Fail("end without item");
            set->push_back(item);
            inItem = false;
        } else if (!line.empty()) {
            const size_t eq = line.find('=');
            if (!inItem || eq == std::string_view::npos) Fail("unexpected '" + std::string(line) + "'");
            const std::string_view key = Trim(line.substr(0, eq)), value = Trim(line.substr(eq + 1));
            if (key == "Command") {
                int command = 0;
                if (!IdentToEditorCommand(value, command)) command = Number(value, "command");
                item.Command = static_cast<TNoteEditorCommand>(command);
            } else if (key == "ShortCut") {
                item.ShortCut = static_cast<TNoteShortCut>(Number(value, "shortcut"));
            } else if (key == "ShortCut2") {
                item.ShortCut2 = static_cast<TNoteShortCut>(Number(value, "shortcut"));
            } else {
                Fail("unknown field '" + std::string(key) + "'");
            }
        }
        if (closes) {
            if (inItem) Fail("unfinished item");
            set = nullptr;
        }
    }
    if (set || inItem) Fail("unfinished collection");
}
}  // namespace

std::string NoteWriteKeystrokes(const TNoteEditKeyStrokes& strokes, const TNoteEditKeyStrokes* ancestor) {
    TNoteEditKeyStrokes defaults;
    defaults.ResetDefaults();
    const std::vector<Stroke> mine = StrokesOf(strokes);
    if (mine == StrokesOf(ancestor ? *ancestor : defaults)) return {};
    const std::vector<Stroke> base = StrokesOf(defaults);
    std::vector<Stroke> removed, added;
    for (const Stroke& s : base)
        if (!Contains(mine, s)) removed.push_back(s);
    for (const Stroke& s : mine)
        if (!Contains(base, s)) added.push_back(s);
    std::string out;
    WriteSet(out, "RemovedKeystrokes", removed);
    WriteSet(out, "AddedKeystrokes", added);
    return out;
}

void NoteReadKeystrokes(TNoteEditKeyStrokes& strokes, std::string_view text) {
    std::vector<Stroke> removed, added;
    Parse(text, removed, added);
    TNoteEditKeyStrokes result;
    result.ResetDefaults();
    for (const Stroke& s : removed) {
        const int i = result.FindShortCutPair(s.ShortCut, s.ShortCut2);
        if (i >= 0 && result.Items(i).Command() == s.Command) result.Delete(i);
    }
    for (const Stroke& s : added) {
        TNoteEditKeyStroke& k = result.Add();
        k.SetCommand(s.Command);
        // Second key first, so that the first key's check sees the whole pair; a duplicate
        // pair raises and leaves the table as it was.
        k.SetShortCut2(s.ShortCut2);
        k.SetShortCut(s.ShortCut);
    }
    strokes.Assign(result);
}
