#include "core/ModelText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <limits>
#include <system_error>
#include <unordered_set>
#include <utility>

#include "base/FileUtils.h"
#include "base/StrUtils.h"
#include "core/Appendage.h"

namespace core {

namespace {

constexpr std::size_t kMaxQuoted = 40;
// Far beyond any real hull; a larger file is not worth exhausting memory on.
constexpr std::uintmax_t kMaxFileSize = std::uintmax_t{1} << 30;

}  // namespace

std::string ModelNumber(double value) { return base::FormatShortest(value); }

void AppendLine(std::string& out, std::string_view text) {
    out.append(text);
    out.append("\r\n");
}

bool ReadModelFile(const std::string& path, std::string& text, std::string& reason) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        reason = "Unable to obtain file handle";
        return false;
    }
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (!ec && size > kMaxFileSize) {
        reason = "File is too large: " + base::UIntToStr(size) + " bytes";
        return false;
    }
    if (!base::ReadFile(path, text)) {
        reason = "Unable to obtain file handle";
        return false;
    }
    return true;
}

std::string QuoteForLog(std::string_view text) {
    std::string out = "\"";
    const std::size_t n = std::min(text.size(), kMaxQuoted);
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        // Binary input must not put control bytes into the log.
        out.push_back(c < 0x20 || c == 0x7F ? '?' : static_cast<char>(c));
    }
    if (text.size() > n) out += "...";
    out += "\"";
    return out;
}

std::string NameProblem(std::string_view name) {
    static constexpr std::string_view kNameEnds[] = {"</HULL_NAME>", "</APPENDAGE_NAME>", "</SECTION_NAME>"};
    ModelTextReader words(name);
    std::string_view word;
    while (words.ReadWord(word))
        for (std::string_view end : kNameEnds)
            if (word == end)
                return "The name " + QuoteForLog(name) + " holds the word " + std::string(end) +
                       ", which ends a name in the hull file";
    return {};
}

std::string DroppedFrameWarning(std::string_view frameName, double y, std::string_view appendageName) {
    std::string line = "WARNING: Dropped frame " + QuoteForLog(frameName) + " of appendage " +
                       QuoteForLog(appendageName) + ": Y=" + base::FloatToStr(y);
    line += !std::isfinite(y) ? " is not a position" : " repeats the Y of an earlier frame";
    return line;
}

struct FramePlacer::Ys {
    std::unordered_set<double> held;  // the Y of every frame placed
    bool any = false;
    double last = 0;  // the largest Y
    std::size_t added = 0;
};

FramePlacer::FramePlacer(Appendage& a) : appendage_(a), ys_(std::make_unique<Ys>()) {
    for (const Section& s : a.frames) {
        ys_->held.insert(s.Y);
        if (!ys_->any || s.Y > ys_->last) ys_->last = s.Y;
        ys_->any = true;
    }
}

FramePlacer::~FramePlacer() { Finish(); }

bool FramePlacer::Add(Section&& frame) {
    const double y = frame.Y;
    if (!std::isfinite(y)) return false;
    // Only a Y at or beyond the last is taken when another frame already has it.
    if (ys_->any && y < ys_->last && ys_->held.count(y) > 0) return false;
    ys_->held.insert(y);
    if (!ys_->any || y > ys_->last) ys_->last = y;
    ys_->any = true;
    appendage_.frames.push_back(std::move(frame));
    ++ys_->added;
    return true;
}

void FramePlacer::Finish() {
    if (ys_->added == 0) return;
    ys_->added = 0;
    // Frames of equal Y keep the order they came in, as one-by-one placing gives them.
    std::stable_sort(appendage_.frames.begin(), appendage_.frames.end(),
                     [](const Section& a, const Section& b) { return a.Y < b.Y; });
}

std::string NonFiniteValue(double v, std::string_view what) {
    if (std::isfinite(v)) return {};
    return "The value of " + std::string(what) + " is not a finite number";
}

std::string NonFiniteValue(const Appendage& a, bool ownValues) {
    const std::string of = " of appendage " + QuoteForLog(a.name);
    if (ownValues) {
        const std::pair<double, const char*> own[] = {{a.ap, "AP"}, {a.fp, "FP"}, {a.density, "DENSITY"}};
        for (const auto& [v, what] : own)
            if (!std::isfinite(v)) return NonFiniteValue(v, what) + of;
    }
    for (const Section& s : a.frames) {
        const std::string section = " of section " + QuoteForLog(s.name) + of + " is not a finite number";
        if (!std::isfinite(s.Y)) return "The Y" + section;
        const std::size_t n = std::min(s.X.size(), s.Z.size());
        for (std::size_t k = 0; k < n; ++k)
            if (!std::isfinite(s.X[k]) || !std::isfinite(s.Z[k])) return "Offset " + base::UIntToStr(k + 1) + section;
    }
    return {};
}

bool ModelTextReader::AtEnd() {
    SkipSpace();
    return pos_ >= text_.size();
}

bool ModelTextReader::ReadNumber(double& value) {
    SkipSpace();
    const char* first = text_.data() + pos_;
    const char* last = text_.data() + text_.size();
    double v = 0;
    const auto r = std::from_chars(first, last, v, std::chars_format::general);
    // "nan" and "inf" are no values of the model, and a number is a word of its own.
    if (r.ec != std::errc() || r.ptr == first || !std::isfinite(v)) return false;
    if (r.ptr != last && !IsSpace(*r.ptr) && *r.ptr != '<') return false;
    value = v;
    pos_ += static_cast<std::size_t>(r.ptr - first);
    return true;
}

std::string OneLine(std::string_view text) {
    std::string line(text);
    for (char& c : line)
        if (c == '\r' || c == '\n') c = ' ';
    return line;
}

bool ToWholeNumber(double v, long long min, long long max, long long& out) {
    if (!(v >= static_cast<double>(min) && v <= static_cast<double>(max)) || v != std::floor(v)) return false;
    out = static_cast<long long>(v);
    return true;
}

bool ModelTextReader::ReadInteger(long long& value, long long min, long long max) {
    const std::size_t start = pos_;
    double v = 0;
    if (ReadNumber(v) && ToWholeNumber(v, min, max, value)) return true;
    pos_ = start;
    return false;
}

bool ModelTextReader::ReadCount(std::uint32_t& value) {
    long long v = 0;
    if (!ReadInteger(v, 0, std::numeric_limits<std::uint32_t>::max())) return false;
    value = static_cast<std::uint32_t>(v);
    return true;
}

void ModelTextReader::SkipRestOfLine() {
    std::string_view ignored;
    ReadLine(ignored);
}

}  // namespace core
