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

    // Batches writes: nothing is written until the outermost EndUpdate / UpdateFile.
    bool UpdateFile();

private:
    struct Entry {
        std::string key, value;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
    };
    void Load();
    bool Save();
    const Section* FindSection(const std::string& name) const;
    Section* FindSection(const std::string& name);

    std::string fileName_;
    std::vector<Section> sections_;
};

}  // namespace base
