#pragma once
// Runs the other program of a drag-and-drop test (drag_peer) and drives the real mouse
// across both programs' windows with xdotool, while this program's loop runs.
#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/TestRig.h"
#include "platform/forms/Forms.h"

extern char** environ;

namespace x11peer {

inline pid_t Spawn(const std::vector<std::string>& args)
{
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
    return pid;
}

// Runs the loop until done() holds or the process pid (if any) has ended and done() still
// fails; gives up after a minute so that a broken drag cannot hang the run.
template <class Pred> bool Pump(Pred done, pid_t waitFor = -1)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    int status = 0;
    bool ended = waitFor < 0;
    while (std::chrono::steady_clock::now() < end) {
        platform::Application->ProcessMessages();
        if (!ended && waitpid(waitFor, &status, WNOHANG) == waitFor) ended = true;
        if (done() && ended) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (!ended) {
        kill(waitFor, SIGKILL);
        waitpid(waitFor, &status, 0);
    }
    return false;
}

inline bool Exists(const std::string& f) { return std::filesystem::exists(f); }

inline std::vector<std::string> Lines(const std::string& f)
{
    std::vector<std::string> out;
    std::ifstream in(f);
    for (std::string l; std::getline(in, l);) out.push_back(l);
    return out;
}

// The peer program at screen (x, y); ready once its window shows.
struct Peer {
    pid_t pid = -1;
    std::string out;
    Peer(const std::string& mode, int x, int y, std::string outFile, std::vector<std::string> extra = {})
        : Peer(std::vector<std::string>{DRAG_PEER}, mode, x, y, std::move(outFile), std::move(extra)) {}
    // program: the command that runs the peer (the program and its first arguments).
    Peer(std::vector<std::string> program, const std::string& mode, int x, int y, std::string outFile,
         std::vector<std::string> extra = {})
        : out(std::move(outFile))
    {
        std::vector<std::string> args = std::move(program);
        for (const std::string& a : {mode, std::to_string(x), std::to_string(y), out}) args.push_back(a);
        args.insert(args.end(), extra.begin(), extra.end());
        pid = Spawn(args);
    }
    bool Ready() { return pid > 0 && Pump([&] { return Exists(out + ".ready"); }); }
    // Waits for the peer to end and write its lines.
    std::vector<std::string> Finish()
    {
        Pump([&] { return Exists(out); }, pid);
        pid = -1;
        return Lines(out);
    }
    ~Peer()
    {
        if (pid > 0) {
            kill(pid, SIGKILL);
            int status = 0;
            waitpid(pid, &status, 0);
        }
    }
};

// Puts the mouse at p and waits until it is there.
inline bool MoveTo(platform::TPoint p)
{
    const pid_t pid = Spawn({"xdotool", "mousemove", std::to_string(p.X), std::to_string(p.Y), "sleep", "0.3"});
    return Pump([] { return true; }, pid);
}

// Presses the left button at from, moves in steps to to and releases there; keys (an
// xdotool key name such as "ctrl") is held through the drag. Runs beside this program's loop.
inline pid_t Drag(platform::TPoint from, platform::TPoint to, const std::string& key = "")
{
    std::ostringstream s;
    s << "xdotool mousemove " << from.X << ' ' << from.Y << " sleep 0.3";
    if (!key.empty()) s << " keydown " << key;
    s << " mousedown 1 sleep 0.3";
    for (int i = 1; i <= 6; ++i) {
        const int x = from.X + (to.X - from.X) * i / 6, y = from.Y + (to.Y - from.Y) * i / 6;
        s << " mousemove " << x << ' ' << y << " sleep 0.25";
    }
    s << " mousemove " << to.X + 2 << ' ' << to.Y + 2 << " sleep 0.4 mouseup 1 sleep 0.2";
    if (!key.empty()) s << " keyup " << key;
    return Spawn({"sh", "-c", s.str()});
}

}  // namespace x11peer
