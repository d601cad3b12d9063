#pragma once
// INI files: TMemIniFile holds sections in memory over a text (the skin engine's INI
// texts), TIniFile reads a file and writes every change straight back. Section and key
// names are case-insensitive; a missing file, section or key gives the default; a write
// keeps every other key and section in place. Booleans are stored as "1"/"0".

#include <string>
#include <string_view>
#include <vector>

class TStringList;

class TMemIniFile {
public:
    TMemIniFile() = default;
    explicit TMemIniFile(std::string_view text) { SetText(text); }
    virtual ~TMemIniFile() = default;

    // Parses a text (a UTF-8 BOM is skipped). Names and values are trimmed; of duplicate
    // keys the first counts. Comments, blank lines and other lines are kept for Text().
    void SetText(std::string_view text);
    std::string Text() const;               // CR LF line ends

    std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const;
    int ReadInteger(std::string_view section, std::string_view key, int def) const;
    bool ReadBool(std::string_view section, std::string_view key, bool def) const;
    virtual void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, int value);
    void WriteBool(std::string_view section, std::string_view key, bool value);

    bool SectionExists(std::string_view section) const;
    bool ValueExists(std::string_view section, std::string_view key) const;
    void ReadSections(TStringList& out) const;
    void ReadSection(std::string_view section, TStringList& keys) const;
    virtual void EraseSection(std::string_view section);
    virtual void DeleteKey(std::string_view section, std::string_view key);

protected:
    struct Entry { std::string key, value; };   // an empty key keeps a raw line (comment, blank) in value
    struct Section { std::string name; std::vector<Entry> entries; };
    const Section* FindSection(std::string_view name) const;
    Section& EnsureSection(std::string_view name);
    std::vector<Section> FSections;
};

class TIniFile : public TMemIniFile {
public:
    explicit TIniFile(std::string fileName);   // reads the file if it exists (UTF-8 or GBK text); raises EInOutError
    const std::string& FileName() const { return FFileName; }
    // Each change re-reads the file (so changes made through another TIniFile survive),
    // applies itself and writes the file at once; when that fails the change is undone and
    // EInOutError raised. Reads see the file as it was at construction or the last change.
    void WriteString(std::string_view section, std::string_view key, std::string_view value) override;
    void EraseSection(std::string_view section) override;
    void DeleteKey(std::string_view section, std::string_view key) override;
    void UpdateFile();                           // raises EInOutError when the file cannot be written

private:
    void Reload();
    template <class Change>
    void Apply(Change change);
    std::string FFileName;
};
