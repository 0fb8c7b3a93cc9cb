#pragma once
// INI files: [Section] headers and Key=Value lines, names compared without case.
// Writes change the file at once, whole or not at all.
#include <string>
#include <vector>

namespace base {

class TStrings;

class TIniFile {
public:
    explicit TIniFile(std::string fileName);

    const std::string& FileName() const { return fileName_; }

    std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;
    long long ReadInteger(const std::string& section, const std::string& key, long long def) const;
    bool ReadBool(const std::string& section, const std::string& key, bool def) const;
    // '.' always, so a file reads the same under every regional setting.
    double ReadFloat(const std::string& section, const std::string& key, double def) const;

    // Each write returns false (and changes nothing on disk) when the file cannot be written.
    bool WriteString(const std::string& section, const std::string& key, const std::string& value);
    bool WriteInteger(const std::string& section, const std::string& key, long long value);
    bool WriteBool(const std::string& section, const std::string& key, bool value);
    bool WriteFloat(const std::string& section, const std::string& key, double value);

    bool SectionExists(const std::string& section) const;
    bool ValueExists(const std::string& section, const std::string& key) const;
    void ReadSection(const std::string& section, TStrings& keys) const;
    void ReadSections(TStrings& sections) const;
    void ReadSectionValues(const std::string& section, TStrings& values) const;
    bool EraseSection(const std::string& section);
    bool DeleteKey(const std::string& section, const std::string& key);

    // Batches writes: between BeginUpdate and the outermost EndUpdate writes change
    // only the memory copy; EndUpdate then saves the file and returns whether it could.
    void BeginUpdate();
    bool EndUpdate();
    // Writes the memory copy to the file now.
    bool UpdateFile();
    // Why the last write that returned false failed, in the system's words.
    const std::string& LastError() const { return lastError_; }

private:
    struct Entry {
        std::string key, value;
        bool raw = false;  // comment or blank line, kept as it is in `key`
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
        bool header = true;  // false for the lines before the first section
    };
    void Load();
    bool Save();
    // Re-reads the file before a change; false when it exists but cannot be read.
    bool Reload();
    // Applies a change and saves it, or leaves memory and file as they were.
    template <class F> bool Change(F&& change);
    const Section* FindSection(const std::string& name) const;
    Section* FindSection(const std::string& name);

    std::string fileName_;
    std::vector<Section> sections_;
    bool crlf_ = true;  // line ends as found in the file, CRLF for a new one
    int updateCount_ = 0;
    std::string lastError_;
};

}  // namespace base
