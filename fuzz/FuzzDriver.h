#pragma once
// A small mutation fuzzer for the file readers: seed inputs are mutated byte- and
// token-wise, each mutant goes through a target's check, and the counts and the faults
// found are reported. Deterministic for a given seed.
//
//   fuzz_<reader> [inputs (3000)] [seed (1)] [folder to keep faulty inputs in]
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include <stdlib.h>

namespace fuzz {

enum class Outcome { Accepted, Refused };

// What a check found: the outcome, or a fault (a non-empty description).
struct Result {
    Outcome outcome = Outcome::Refused;
    std::string fault;
};

struct Options {
    long inputs = 3000;
    unsigned seed = 1;
    std::string keep;  // faulty inputs are written here when given
};

inline Options ParseOptions(int argc, char** argv)
{
    Options o;
    if (argc > 1) o.inputs = std::atol(argv[1]);
    if (argc > 2) o.seed = unsigned(std::strtoul(argv[2], nullptr, 10));
    if (argc > 3) o.keep = argv[3];
    return o;
}

// A scratch folder of the run's own, removed at the end.
class Scratch {
public:
    Scratch()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "korvelo-fuzz-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make a scratch folder");
        path_ = pattern;
    }
    ~Scratch()
    {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

inline void WriteBytes(const std::string& path, const std::string& data)
{
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(data.data(), std::streamsize(data.size()));
}

inline std::string ReadBytes(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

class Mutator {
public:
    Mutator(unsigned seed, std::vector<std::string> tokens) : rng_(seed), tokens_(std::move(tokens))
    {
        for (const std::string& t : std::vector<std::string>{"0", "-0", "1", "-1", "2", "255", "256", "65535", "2147483647", "2147483648",
                              "-2147483649", "4294967295", "4294967296", "9223372036854775808", "1e308", "1e309",
                              "-1e-320", "nan", "inf", "0x10", "1,5", "1.5abc", "1e", ".", "-", "+1", " ", "\t",
                              "\r\n", "\n", "\r", "\"", "\"\"", ",", ";", "#", "|", "@", "*", "&", "=", "[", "]",
                              std::string(1, '\0'), "\xff", "\x0b"})
            tokens_.push_back(t);
    }

    std::string Mutate(const std::string& seed)
    {
        std::string s = seed;
        const int n = 1 + int(Below(5));
        for (int k = 0; k < n; ++k) MutateOnce(s);
        if (s.size() > (1u << 20)) s.resize(1u << 20);
        return s;
    }
    std::size_t Below(std::size_t n) { return n == 0 ? 0 : std::uniform_int_distribution<std::size_t>(0, n - 1)(rng_); }

private:
    void MutateOnce(std::string& s)
    {
        const std::size_t at = Below(s.size() + 1);
        switch (Below(9)) {
        case 0:  // flip a bit
            if (!s.empty()) s[Below(s.size())] ^= char(1 << Below(8));
            break;
        case 1:  // a random byte
            if (!s.empty()) s[Below(s.size())] = char(Below(256));
            break;
        case 2:  // insert a token
        case 3:
            s.insert(at, tokens_[Below(tokens_.size())]);
            break;
        case 4: {  // delete a span
            const std::size_t len = 1 + Below(16);
            if (at < s.size()) s.erase(at, len);
            break;
        }
        case 5: {  // duplicate a span
            if (s.empty()) break;
            const std::size_t from = Below(s.size());
            const std::size_t len = 1 + Below(std::min<std::size_t>(64, s.size() - from));
            s.insert(at, s.substr(from, len));
            break;
        }
        case 6: {  // replace a word with a token
            if (s.empty()) break;
            std::size_t b = Below(s.size());
            while (b > 0 && !std::isspace((unsigned char)s[b - 1])) --b;
            std::size_t e = b;
            while (e < s.size() && !std::isspace((unsigned char)s[e])) ++e;
            s.replace(b, e - b, tokens_[Below(tokens_.size())]);
            break;
        }
        case 7: {  // duplicate or drop a whole line
            if (s.empty()) break;
            std::size_t b = s.rfind('\n', Below(s.size()));
            b = b == std::string::npos ? 0 : b + 1;
            std::size_t e = s.find('\n', b);
            e = e == std::string::npos ? s.size() : e + 1;
            if (Below(2)) s.insert(b, s.substr(b, e - b));
            else s.erase(b, e - b);
            break;
        }
        default:  // a long run of one character, now and then beyond what a grid takes
            s.insert(at, std::string(1 + Below(Below(20) == 0 ? 40000 : 300), "0,;\t\" <>9"[Below(9)]));
            break;
        }
    }

    std::mt19937 rng_;
    std::vector<std::string> tokens_;
};

// Runs opts.inputs mutants of the seeds through check and prints the tally; the exit code
// is the number of faults (capped at 100).
inline int Run(const char* name, const Options& opts, const std::vector<std::string>& seeds,
               const std::vector<std::string>& tokens, const std::function<Result(const std::string&)>& check)
{
    Mutator m(opts.seed, tokens);
    long accepted = 0, refused = 0, faults = 0;
    std::map<std::string, long> kinds;
    // The seeds themselves first, then mutants.
    for (long i = 0; i < opts.inputs; ++i) {
        const std::string input =
            i < long(seeds.size()) ? seeds[std::size_t(i)] : m.Mutate(seeds[m.Below(seeds.size())]);
        Result r;
        try {
            r = check(input);
        } catch (const std::exception& e) {
            r.fault = std::string("exception: ") + e.what();
        } catch (...) {
            r.fault = "unknown exception";
        }
        if (!r.fault.empty()) {
            ++faults;
            const std::string kind = r.fault.substr(0, r.fault.find(':'));
            if (kinds[kind]++ < 3) std::printf("%s: input %ld: %s\n", name, i, r.fault.c_str());
            if (!opts.keep.empty()) {
                std::filesystem::create_directories(opts.keep);
                WriteBytes(opts.keep + "/" + name + "-" + std::to_string(i), input);
            }
        } else if (r.outcome == Outcome::Accepted) {
            ++accepted;
        } else {
            ++refused;
        }
    }
    std::printf("%s: %ld inputs, %ld accepted, %ld refused, %ld faults\n", name, opts.inputs, accepted, refused,
                faults);
    for (const auto& [kind, n] : kinds) std::printf("%s:   %ld x %s\n", name, n, kind.c_str());
    return int(std::min<long>(faults, 100));
}

}  // namespace fuzz
