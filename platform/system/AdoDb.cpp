// Record sets through the database helper process (korvelo-odbc), which holds the ODBC
// driver manager (unixODBC) and the driver.
#include "platform/system/AdoDb.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <cstring>

#include "base/ScopeGuard.h"
#include "platform/Types.h"
#include "platform/system/DbWire.h"

extern char** environ;

namespace platform {

namespace wire = dbwire;

namespace {

const char kHelperName[] = "korvelo-odbc";

// Beside the program first (an installed program), then where the build put it.
std::string HelperPath()
{
    char self[PATH_MAX] = {};
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (n > 0) {
        std::string dir(self, size_t(n));
        dir.erase(dir.rfind('/') + 1);
        const std::string beside = dir + kHelperName;
        if (::access(beside.c_str(), X_OK) == 0) return beside;
    }
#ifdef KORVELO_ODBC_HELPER
    if (::access(KORVELO_ODBC_HELPER, X_OK) == 0) return KORVELO_ODBC_HELPER;
#endif
    throw EDatabaseError(std::string("The database helper ") + kHelperName + " is not installed beside the program");
}

}  // namespace

struct TAdoConnection::Handles {
    pid_t pid = -1;
    int fd = -1;
    bool connected = false;
    long streams = 0;    // results begun so far
    long streaming = 0;  // the result whose records are still coming, or 0
    std::string death;   // why the helper ended, once it has

    ~Handles() { Shutdown(); }

    // The helper holds nothing to be saved: it is ended at once.
    void Shutdown()
    {
        if (fd >= 0) ::close(fd);
        fd = -1;
        if (pid > 0) {
            ::kill(pid, SIGKILL);
            while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
            }
        }
        pid = -1;
        connected = false;
        if (death.empty()) death = "The connection is closed";
    }

    void Start()
    {
        int sv[2];
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sv) != 0)
            throw EDatabaseError(std::string("Cannot start the database helper: ") + std::strerror(errno));
        // The helper's end must not already sit on its fixed descriptor, or dup2 keeps
        // close-on-exec set.
        int child = sv[1];
        if (child <= wire::kHelperFd) {
            child = ::fcntl(sv[1], F_DUPFD_CLOEXEC, wire::kHelperFd + 1);
            ::close(sv[1]);
        }
        base::ScopeExit closeChild([child] {
            if (child >= 0) ::close(child);
        });
        fd = sv[0];
        const std::string path = HelperPath();
        // The driver's own messages go nowhere.
        posix_spawn_file_actions_t fa;
        posix_spawn_file_actions_init(&fa);
        posix_spawn_file_actions_addopen(&fa, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&fa, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_adddup2(&fa, 1, 2);
        posix_spawn_file_actions_adddup2(&fa, child, wire::kHelperFd);
        char* argv[] = {const_cast<char*>(path.c_str()), nullptr};
        const int e = child < 0 ? errno : ::posix_spawn(&pid, path.c_str(), &fa, nullptr, argv, environ);
        posix_spawn_file_actions_destroy(&fa);
        if (child < 0 || e != 0) {
            pid = -1;
            throw EDatabaseError("Cannot start the database helper " + path + ": " + std::strerror(e));
        }
    }

    // Why the helper stopped answering; it is gone after this.
    std::string Died()
    {
        if (!death.empty()) return death;
        if (fd >= 0) ::close(fd);
        fd = -1;
        int status = 0;
        pid_t r = -1;
        while (pid > 0 && (r = ::waitpid(pid, &status, 0)) < 0 && errno == EINTR) {
        }
        pid = -1;
        if (r > 0 && WIFSIGNALED(status))
            death = "The database driver crashed (signal " + std::to_string(WTERMSIG(status)) + ", " +
                    std::string(::strsignal(WTERMSIG(status))) + "); the file may be damaged";
        else if (r > 0 && WIFEXITED(status))
            death = "The database helper stopped (exit code " + std::to_string(WEXITSTATUS(status)) + ")";
        else
            death = "The database helper stopped answering";
        connected = false;
        return death;
    }

    void Send(char tag, const std::string& payload)
    {
        if (fd < 0 || !wire::SendFrame(fd, tag, payload)) throw EDatabaseError(Died());
    }

    void Receive(char& tag, std::string& payload)
    {
        if (fd < 0 || !wire::RecvFrame(fd, tag, payload)) throw EDatabaseError(Died());
    }

    // Reads what is left of the current result.
    void Drain()
    {
        char tag = 0;
        std::string payload;
        while (streaming) {
            Receive(tag, payload);
            if (tag != wire::kRow) streaming = 0;
        }
    }
};

TAdoConnection::TAdoConnection() = default;
TAdoConnection::~TAdoConnection() = default;

void TAdoConnection::Open(const std::string& ConnectionString)
{
    Close();
    auto h = std::make_shared<Handles>();
    h->Start();
    h->Send(wire::kConnect, AnsiToUtf8(ConnectionString));
    char tag = 0;
    std::string reply;
    h->Receive(tag, reply);
    if (tag == wire::kFailed) throw EDatabaseError(Utf8ToAnsi(reply));
    if (tag != wire::kConnected) throw EDatabaseError("The database helper gave an unexpected answer");
    h->connected = true;
    h_ = std::move(h);
}

void TAdoConnection::Close()
{
    // Record sets still open on the connection end with it.
    if (h_) h_->Shutdown();
    h_.reset();
}

bool TAdoConnection::Connected() const { return h_ && h_->connected; }

TAdoRecordSet::TAdoRecordSet() = default;
TAdoRecordSet::~TAdoRecordSet() { Close(); }

void TAdoRecordSet::Open(const std::string& Source)
{
    Close();
    if (!ActiveConnection || !ActiveConnection->Connected())
        throw EDatabaseError("The record set has no open connection");
    const std::shared_ptr<TAdoConnection::Handles> h = ActiveConnection->h_;
    h->Drain();  // another record set's result
    h->Send(wire::kQuery, AnsiToUtf8(Source));
    char tag = 0;
    std::string reply;
    h->Receive(tag, reply);
    if (tag == wire::kFailed) throw EDatabaseError(Utf8ToAnsi(reply));
    wire::Reader in(reply);
    std::int64_t rows = -1;
    std::uint32_t n = 0;
    if (tag != wire::kHeader || !in.I64(rows) || !in.U32(n) || n > reply.size())
        throw EDatabaseError("The database helper gave an unexpected answer");
    std::vector<TAdoField> fields(n);
    for (TAdoField& f : fields) {
        std::string name;
        if (!in.Str(name)) throw EDatabaseError("The database helper gave an unexpected answer");
        f.Name = Utf8ToAnsi(name);
    }
    h->streaming = ++h->streams;
    s_ = h;
    stream_ = h->streaming;
    fields_ = std::move(fields);
    recordCount_ = rows >= 0 && rows <= LONG_MAX ? long(rows) : -1;
    eof_ = false;
    Fetch();
}

void TAdoRecordSet::Fetch()
{
    if (s_->streaming != stream_) {
        eof_ = true;
        throw EDatabaseError("The record set's connection has begun another query");
    }
    char tag = 0;
    std::string payload;
    {
        base::ScopeFail lost([this] {
            eof_ = true;
            s_->streaming = 0;
        });
        s_->Receive(tag, payload);
    }
    if (tag != wire::kRow) {
        eof_ = true;
        s_->streaming = 0;
        if (tag == wire::kEnd) return;
        if (tag == wire::kFailed) throw EDatabaseError(Utf8ToAnsi(payload));
        throw EDatabaseError("The database helper gave an unexpected answer");
    }
    wire::Reader in(payload);
    for (TAdoField& f : fields_) {
        std::uint8_t null = 0;
        std::string value;
        if (!in.U8(null) || !in.Str(value)) {
            eof_ = true;
            s_->Drain();
            throw EDatabaseError("The database helper gave an unexpected answer");
        }
        f.Value = null ? std::string() : Utf8ToAnsi(value);
        f.ActualSize = null ? 0 : int(value.size());
    }
}

void TAdoRecordSet::MoveNext()
{
    if (!s_ || eof_) throw EDatabaseError("The record set has no current record");
    Fetch();
}

void TAdoRecordSet::Close()
{
    // The rest of an unfinished result is read and dropped, so that the connection can
    // run the next query.
    if (s_ && s_->streaming == stream_ && s_->streaming) {
        try {
            s_->Drain();
        } catch (const EDatabaseError&) {
        }
    }
    s_.reset();
    stream_ = 0;
    fields_.clear();
    recordCount_ = -1;
    eof_ = true;
}

const TAdoField& TAdoRecordSet::Fields(int Index) const
{
    if (Index < 0 || Index >= FieldCount()) throw base::EListError("Field index out of bounds");
    return fields_[size_t(Index)];
}

}  // namespace platform
