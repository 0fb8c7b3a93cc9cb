#pragma once
// Number text, lines and word reading shared by the model's own text files.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/TextScanner.h"

namespace core {

class Appendage;
class Section;

// The shortest text that reads back to the same double, in printf %g's plain or
// exponent notation, "." as the decimal point; "-0" for negative zero.
std::string ModelNumber(double value);

// Appends text and the carriage return and line feed that end every line of the files.
void AppendLine(std::string& out, std::string_view text);

// Text made fit for one line of a file: line breaks become blanks.
std::string OneLine(std::string_view text);

// v as a whole number within [min, max]; false when it is neither.
bool ToWholeNumber(double v, long long min, long long max, long long& out);

// A name or a word from a file, quoted and made fit for a log line.
std::string QuoteForLog(std::string_view text);

// Why a name of the hull, an appendage or a frame would not read back from the hull
// file (it holds a word that ends a name there), or empty when it would.
std::string NameProblem(std::string_view name);

// The log line for a frame a reader could not place in ascending Y.
std::string DroppedFrameWarning(std::string_view frameName, double y, std::string_view appendageName);

// The first number of the appendage that is not finite, described for the log ("The
// Y of section ...", "Offset 2 of section ..."), or empty when all are finite; ownValues
// adds its density, AP and FP under their names in the version-1 appendage file.
std::string NonFiniteValue(const Appendage& a, bool ownValues);
// "The value of <what> is not a finite number", or empty when v is finite.
std::string NonFiniteValue(double v, std::string_view what);

// Places frames read from a file as Appendage::InsertSection would place them one by
// one, but sorts them once at the end, so that a file of n frames in any order costs
// n log n: a frame is refused when its Y is not finite, or when it equals the Y of a
// frame other than the last. The appendage's frames are complete after Finish.
class FramePlacer {
public:
    explicit FramePlacer(Appendage& a);
    ~FramePlacer();
    FramePlacer(const FramePlacer&) = delete;
    FramePlacer& operator=(const FramePlacer&) = delete;
    // False, with the frame dropped, when it is refused.
    bool Add(Section&& frame);
    void Finish();

private:
    Appendage& appendage_;
    struct Ys;
    std::unique_ptr<Ys> ys_;
};

// Reads a whole model file into text. Refuses what is no regular file (a device or
// a pipe would never end) and what is too large to be one of the model's files;
// on false, reason says why.
bool ReadModelFile(const std::string& path, std::string& text, std::string& reason);

// What a reader found wrong (empty when the whole input was read), and the
// "WARNING: " lines for what it let pass.
struct ReadReport {
    std::string error;
    std::vector<std::string> warnings;
};

// Reads text held in memory as words, numbers and lines. A line ends at a line
// feed; a carriage return just before it is not part of the line.
class ModelTextReader : public TextScanner {
public:
    explicit ModelTextReader(std::string_view text) : TextScanner(text, 0) {}

    // Skips whitespace and takes the number that is the next word, or that starts it
    // just before a "<" (a tag glued to its value), which is left for the next read.
    // On false nothing is consumed: "1,025" and "2abc" are no numbers, nor are values
    // that are not finite ("nan", "inf").
    bool ReadNumber(double& value);
    // A number that is whole and within [min, max].
    bool ReadInteger(long long& value, long long min, long long max);
    // A whole number from 0 to 4294967295.
    bool ReadCount(std::uint32_t& value);

    // False at the end of the input.
    bool ReadLine(std::string_view& line) { return TakeLine(line, false); }
    // Skips up to and including the next line feed.
    void SkipRestOfLine();

    bool AtEnd();
};

}  // namespace core
