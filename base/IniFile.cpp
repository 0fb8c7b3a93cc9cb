#include "base/IniFile.h"

#include <cerrno>
#include <limits>
#include <sys/stat.h>

#include "base/FileUtils.h"
#include "base/StrUtils.h"
#include "base/StringList.h"

namespace base {

namespace {

bool HasLineBreak(const std::string& s) { return s.find_first_of("\r\n") != std::string::npos; }

// Names that would not read back as written are refused.
bool ValidName(const std::string& s, bool isKey) {
    if (s.empty() || HasLineBreak(s)) return false;
    if (isKey) return s.find('=') == std::string::npos && s[0] != '[' && s[0] != ';';
    return s.find(']') == std::string::npos;
}

}  // namespace

TIniFile::TIniFile(std::string fileName) : fileName_(std::move(fileName)) { Load(); }

void TIniFile::Load() {
    sections_.clear();
    crlf_ = true;
    std::string data;
    if (!ReadFile(fileName_, data)) return;
    size_t crlf = data.find("\r\n"), lf = data.find('\n');
    if (lf != std::string::npos && (crlf == std::string::npos || crlf > lf)) crlf_ = false;

    size_t i = 0;
    while (i < data.size()) {
        size_t start = i;
        while (i < data.size() && data[i] != '\r' && data[i] != '\n') ++i;
        std::string line = data.substr(start, i - start);
        if (i < data.size() && data[i] == '\r') ++i;
        if (i < data.size() && data[i] == '\n') ++i;

        std::string t = Trim(line);
        if (!t.empty() && t[0] == '[') {
            size_t close = t.find(']');
            Section s;
            s.name = Trim(std::string_view(t).substr(1, close == std::string::npos ? std::string::npos : close - 1));
            sections_.push_back(std::move(s));
            continue;
        }
        if (sections_.empty()) {
            Section pre;
            pre.header = false;
            sections_.push_back(std::move(pre));
        }
        Entry e;
        size_t eq = t.find('=');
        if (t.empty() || t[0] == ';' || t[0] == '#' || eq == std::string::npos || eq == 0) {
            e.raw = true;
            e.key = line;
        } else {
            e.key = Trim(std::string_view(t).substr(0, eq));
            e.value = Trim(std::string_view(t).substr(eq + 1));
        }
        sections_.back().entries.push_back(std::move(e));
    }
}

bool TIniFile::Reload() {
    std::string data;
    if (ReadFile(fileName_, data)) {
        Load();
        return true;
    }
    // A missing file is empty; one that exists but cannot be read must not be replaced.
    struct stat st {};
    if (::stat(fileName_.c_str(), &st) == 0) {
        lastError_ = "Cannot read \"" + fileName_ + "\" to change it";
        return false;
    }
    sections_.clear();
    return true;
}

bool TIniFile::Save() {
    const char* lineEnd = crlf_ ? "\r\n" : "\n";
    std::string out;
    for (const Section& s : sections_) {
        if (s.header) out += "[" + s.name + "]" + lineEnd;
        for (const Entry& e : s.entries) {
            if (e.raw)
                out += e.key;
            else
                out += e.key + "=" + e.value;
            out += lineEnd;
        }
    }
    return WriteFileAtomic(fileName_, out, &lastError_);
}

template <class F>
bool TIniFile::Change(F&& change) {
    if (updateCount_ > 0) {
        change();
        return true;
    }
    std::vector<Section> before = sections_;
    if (!Reload()) {
        sections_ = std::move(before);
        return false;
    }
    if (!change()) return true;  // nothing to change
    if (Save()) return true;
    sections_ = std::move(before);  // a failed write changes nothing, here or on disk
    return false;
}

const TIniFile::Section* TIniFile::FindSection(const std::string& name) const {
    const std::string n = Trim(name);
    for (const Section& s : sections_)
        if (s.header && SameText(s.name, n)) return &s;
    return nullptr;
}

TIniFile::Section* TIniFile::FindSection(const std::string& name) {
    const std::string n = Trim(name);
    for (Section& s : sections_)
        if (s.header && SameText(s.name, n)) return &s;
    return nullptr;
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key, const std::string& def) const {
    const Section* s = FindSection(section);
    if (!s) return def;
    const std::string k = Trim(key);
    for (const Entry& e : s->entries)
        if (!e.raw && SameText(e.key, k)) return e.value;
    return def;
}

long long TIniFile::ReadInteger(const std::string& section, const std::string& key, long long def) const {
    std::string v = ReadString(section, key, std::string());
    if (v.size() > 2 && v[0] == '0' && (v[1] == 'x' || v[1] == 'X')) {
        unsigned long long x = 0;
        for (size_t i = 2; i < v.size(); ++i) {
            char c = v[i];
            int d = (c >= '0' && c <= '9') ? c - '0' : (c >= 'a' && c <= 'f') ? c - 'a' + 10 : (c >= 'A' && c <= 'F') ? c - 'A' + 10 : -1;
            if (d < 0 || x > (~0ull >> 4)) return def;
            x = x * 16 + static_cast<unsigned>(d);
        }
        // Out of range, like a decimal that does not fit.
        if (x > static_cast<unsigned long long>(std::numeric_limits<long long>::max())) return def;
        return static_cast<long long>(x);
    }
    return StrToIntDef(v, def);
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

double TIniFile::ReadFloat(const std::string& section, const std::string& key, double def) const {
    double v = 0;
    return TryParseDouble(ReadString(section, key, std::string()), v) ? v : def;
}

bool TIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
    const std::string sec = Trim(section), k = Trim(key);
    const std::string v = Trim(value);
    if (!ValidName(sec, false) || !ValidName(k, true) || HasLineBreak(value)) return false;
    return Change([&] {
        Section* s = FindSection(sec);
        if (!s) {
            Section n;
            n.name = sec;
            sections_.push_back(std::move(n));
            s = &sections_.back();
        }
        size_t lastKey = 0;
        for (size_t i = 0; i < s->entries.size(); ++i) {
            Entry& e = s->entries[i];
            if (e.raw) continue;
            if (SameText(e.key, k)) {
                if (e.value == v) return false;
                e.value = v;
                return true;
            }
            lastKey = i + 1;
        }
        Entry e;
        e.key = k;
        e.value = v;
        s->entries.insert(s->entries.begin() + static_cast<std::ptrdiff_t>(lastKey), std::move(e));
        return true;
    });
}

bool TIniFile::WriteInteger(const std::string& section, const std::string& key, long long value) {
    return WriteString(section, key, IntToStr(value));
}

bool TIniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
    return WriteString(section, key, value ? "1" : "0");
}

bool TIniFile::WriteFloat(const std::string& section, const std::string& key, double value) {
    return WriteString(section, key, FormatShortest(value));
}

bool TIniFile::SectionExists(const std::string& section) const { return FindSection(section) != nullptr; }

bool TIniFile::ValueExists(const std::string& section, const std::string& key) const {
    const Section* s = FindSection(section);
    if (!s) return false;
    const std::string k = Trim(key);
    for (const Entry& e : s->entries)
        if (!e.raw && SameText(e.key, k)) return true;
    return false;
}

void TIniFile::ReadSection(const std::string& section, TStrings& keys) const {
    keys.BeginUpdate();
    keys.Clear();
    if (const Section* s = FindSection(section))
        for (const Entry& e : s->entries)
            if (!e.raw) keys.Add(e.key);
    keys.EndUpdate();
}

void TIniFile::ReadSections(TStrings& sections) const {
    sections.BeginUpdate();
    sections.Clear();
    for (const Section& s : sections_)
        if (s.header) sections.Add(s.name);
    sections.EndUpdate();
}

void TIniFile::ReadSectionValues(const std::string& section, TStrings& values) const {
    values.BeginUpdate();
    values.Clear();
    if (const Section* s = FindSection(section))
        for (const Entry& e : s->entries)
            if (!e.raw) values.Add(e.key + "=" + e.value);
    values.EndUpdate();
}

bool TIniFile::EraseSection(const std::string& section) {
    return Change([&] {
        bool any = false;
        const std::string n = Trim(section);
        for (size_t i = sections_.size(); i > 0; --i) {
            if (sections_[i - 1].header && SameText(sections_[i - 1].name, n)) {
                sections_.erase(sections_.begin() + static_cast<std::ptrdiff_t>(i - 1));
                any = true;
            }
        }
        return any;
    });
}

bool TIniFile::DeleteKey(const std::string& section, const std::string& key) {
    return Change([&] {
        Section* s = FindSection(section);
        if (!s) return false;
        const std::string k = Trim(key);
        for (size_t i = 0; i < s->entries.size(); ++i) {
            if (!s->entries[i].raw && SameText(s->entries[i].key, k)) {
                s->entries.erase(s->entries.begin() + static_cast<std::ptrdiff_t>(i));
                return true;
            }
        }
        return false;
    });
}

void TIniFile::BeginUpdate() {
    if (updateCount_ == 0) {
        std::vector<Section> before = sections_;
        if (!Reload()) sections_ = std::move(before);
    }
    ++updateCount_;
}

bool TIniFile::EndUpdate() {
    if (updateCount_ <= 0) return true;
    if (--updateCount_ > 0) return true;
    return Save();
}

bool TIniFile::UpdateFile() { return Save(); }

}  // namespace base
