// What the worksheet import and the reader program share: the cell text
// budget, the replies through the pipe and the running of the reader.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "store/error_numbers.h"
#include "store/text.h"
#include "store/workbook.h"

extern char** environ;

namespace core {

namespace {

// Days from 1 January 1970 to a date of the proleptic Gregorian calendar.
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

// ---- replies -----------------------------------------------------------------

void PutWord(std::string& out, uint32_t word) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((word >> (8 * i)) & 0xFF));
}

void PutText(std::string& out, std::string_view text) {
    PutWord(out, static_cast<uint32_t>(text.size()));
    out.append(text);
}

void PutDouble(std::string& out, double value) {
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    PutWord(out, static_cast<uint32_t>(bits));
    PutWord(out, static_cast<uint32_t>(bits >> 32));
}

// Reads a reply from the front; every read checks what is left first.
class ReplyReader {
public:
    ReplyReader(std::string_view bytes, const std::string& fileName)
        : bytes_(bytes), fileName_(fileName) {}

    [[noreturn]] void Broken(const std::string& what) const {
        throw UnreadableWorkbook(fileName_, "the reader's answer " + what);
    }
    uint8_t Byte() {
        if (bytes_.empty())
            Broken("ends early");
        const uint8_t b = static_cast<uint8_t>(bytes_[0]);
        bytes_.remove_prefix(1);
        return b;
    }
    uint32_t Word() {
        if (bytes_.size() < 4)
            Broken("ends early");
        uint32_t word = 0;
        for (int i = 3; i >= 0; --i)
            word = (word << 8) | static_cast<uint8_t>(bytes_[static_cast<size_t>(i)]);
        bytes_.remove_prefix(4);
        return word;
    }
    double Double() {
        const uint64_t low = Word();
        const uint64_t bits = low | (uint64_t{Word()} << 32);
        double value = 0;
        std::memcpy(&value, &bits, sizeof value);
        if (!std::isfinite(value))
            Broken("holds a number that is not finite");
        return value;
    }
    std::string Text(size_t maxBytes) {
        const uint32_t length = Word();
        if (length > maxBytes)
            Broken("holds a text longer than " + std::to_string(maxBytes) + " bytes");
        if (length > bytes_.size())
            Broken("ends early");
        std::string text(bytes_.substr(0, length));
        bytes_.remove_prefix(length);
        return text;
    }
    size_t Left() const { return bytes_.size(); }
    void End() const {
        if (!bytes_.empty())
            Broken("goes on past its end");
    }

    // The tag of a reply; an error reply is thrown as the reader's error.
    void Expect(char tag) {
        const char found = static_cast<char>(Byte());
        if (found == 'E') {
            int number = static_cast<int>(Word());
            std::string message = Text(kMaxSheetNameBytes);
            End();
            // Only the numbers a reader may give; the message is shown as text.
            if (number != kErrFileNotFound && number != kErrSubscript)
                number = kErrWorkbook;
            if (message.empty() || message.find('\0') != std::string::npos)
                Broken("holds an error that is no text");
            throw WorkbookError(number, message);
        }
        if (found != tag)
            Broken("is of the wrong kind");
    }

private:
    std::string_view bytes_;
    const std::string& fileName_;
};

// ---- the reader process ------------------------------------------------------

std::string ReaderProgram() {
    if (const char* named = std::getenv("KOVA_SHEETREADER"); named != nullptr && *named != '\0')
        return named;
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ((ec ? std::filesystem::path() : self.parent_path()) / "kova_sheetreader").string();
}

[[noreturn]] void ReaderFailed(const std::string& fileName, const std::string& what) {
    throw UnreadableWorkbook(fileName, what);
}

// Starts `program` with `argv`, its standard output on `output` and its
// other standard files on /dev/null, no signal blocked or ignored, in a
// process group of its own. 0, or the error number of the step that failed.
int Spawn(const std::string& program, std::vector<char*>& argv, int output, pid_t& pid) {
    posix_spawn_file_actions_t actions;
    int rc = posix_spawn_file_actions_init(&actions);
    if (rc != 0)
        return rc;
    posix_spawnattr_t attributes;
    rc = posix_spawnattr_init(&attributes);
    if (rc != 0) {
        posix_spawn_file_actions_destroy(&actions);
        return rc;
    }
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    rc = posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (rc == 0)
        rc = posix_spawn_file_actions_adddup2(&actions, output, 1);
    if (rc == 0)
        rc = posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    if (rc == 0)
        rc = posix_spawnattr_setsigmask(&attributes, &none);
    if (rc == 0)
        rc = posix_spawnattr_setsigdefault(&attributes, &all);
    if (rc == 0)
        rc = posix_spawnattr_setpgroup(&attributes, 0);
    if (rc == 0)
        rc = posix_spawnattr_setflags(
            &attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETPGROUP);
    if (rc == 0)
        rc = posix_spawn(&pid, program.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    return rc;
}

// A spawned reader and its process group, killed and reaped however the run
// ends.
class ReaderProcess {
public:
    ReaderProcess(const std::vector<std::string>& arguments, const std::string& fileName)
        : fileName_(fileName) {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0)
            ReaderFailed(fileName,
                         "no pipe to the reader (" + std::string(std::strerror(errno)) + ")");
        readEnd_ = fds[0];
        // A larger pipe hands a reply over in fewer turns; the default one
        // does as well, only slower.
        fcntl(fds[1], F_SETPIPE_SZ, 1 << 20);
        const std::string program = ReaderProgram();
        std::vector<std::string> args{program};
        args.insert(args.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        const int rc = Spawn(program, argv, fds[1], pid_);
        close(fds[1]);
        if (rc != 0) {
            pid_ = -1;
            close(readEnd_);
            readEnd_ = -1;
            ReaderFailed(fileName, "the reader program " + program + " cannot be started (" +
                                       std::strerror(rc) + ")");
        }
    }
    ~ReaderProcess() {
        if (readEnd_ >= 0)
            close(readEnd_);
        if (pid_ > 0) {
            EndGroup();
            int status = 0;
            while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
            }
        }
    }
    ReaderProcess(const ReaderProcess&) = delete;
    ReaderProcess& operator=(const ReaderProcess&) = delete;

    std::string Run(size_t maxReplyBytes, const std::function<void()>& whileWaiting,
                    int wallMilliseconds) {
        using Clock = std::chrono::steady_clock;
        const Clock::time_point deadline =
            Clock::now() + std::chrono::milliseconds(wallMilliseconds);
        std::string reply;
        char chunk[65536];
        bool ended = false;
        while (true) {
            if (Clock::now() >= deadline)
                TooLong(wallMilliseconds);
            pollfd p{readEnd_, POLLIN, 0};
            const int ready = poll(&p, 1, ended ? 0 : 100);
            if (whileWaiting)
                whileWaiting();
            if (ready < 0 && errno != EINTR)
                ReaderFailed(fileName_, "the pipe from the reader failed");
            if (ready > 0) {
                const ssize_t n = read(readEnd_, chunk, sizeof chunk);
                if (n < 0) {
                    if (errno == EINTR || errno == EAGAIN)
                        continue;
                    ReaderFailed(fileName_, "the pipe from the reader failed");
                }
                if (n == 0)
                    break;
                if (reply.size() + static_cast<size_t>(n) > maxReplyBytes)
                    ReaderFailed(fileName_, "the reader hands back more than the import can take");
                reply.append(chunk, static_cast<size_t>(n));
                continue;
            }
            // A reader that has ended wrote all it wrote into the pipe, but a
            // process it left behind may hold the pipe open: its group ends,
            // and what the pipe holds is the reply.
            if (ended)
                break;
            if (Ended()) {
                EndGroup();
                ended = true;
            }
        }
        close(readEnd_);
        readEnd_ = -1;
        // The pipe is closed: the reader is ending; wait for it, within the time.
        while (!Ended()) {
            if (Clock::now() >= deadline)
                TooLong(wallMilliseconds);
            if (whileWaiting)
                whileWaiting();
            usleep(1000);
        }
        EndGroup();
        int status = 0;
        rusage usage{};
        while (wait4(pid_, &status, 0, &usage) < 0 && errno == EINTR) {
        }
        pid_ = -1;
        if (WIFSIGNALED(status)) {
            const int signal = WTERMSIG(status);
            // The processor-time limit sends SIGXCPU, and SIGKILL only to a
            // reader that went on; any other SIGKILL came from outside, most
            // often from the system when it runs short of memory.
            const double work = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec);
            if (signal == SIGXCPU || (signal == SIGKILL && work >= kReaderCpuSeconds))
                ReaderFailed(fileName_, "reading it takes longer than " +
                                            std::to_string(kReaderCpuSeconds) + " seconds of work");
            if (signal == SIGKILL)
                ReaderFailed(fileName_,
                             "the reader was killed from outside (signal 9), most likely because "
                             "the system ran short of memory");
            ReaderFailed(fileName_, "the reader stopped on signal " + std::to_string(signal) +
                                        " (" + strsignal(signal) + ")");
        }
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
            ReaderFailed(fileName_,
                         "the reader ended with status " + std::to_string(WEXITSTATUS(status)));
        return reply;
    }

private:
    [[noreturn]] void TooLong(int wallMilliseconds) {
        ReaderFailed(fileName_, "reading it takes longer than " +
                                    std::to_string(wallMilliseconds / 1000.0).substr(0, 4) +
                                    " seconds");
    }

    // Whether the reader has ended; it is left unreaped, so that its process
    // group, named by its number, cannot pass to another.
    bool Ended() {
        siginfo_t info{};
        if (waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) != 0) {
            if (errno == EINTR)
                return false;
            ReaderFailed(fileName_, "the reader was lost");
        }
        return info.si_pid == pid_;
    }

    // Ends the reader and every process it started.
    void EndGroup() {
        kill(-pid_, SIGKILL);
        kill(pid_, SIGKILL);
    }

    std::string fileName_;
    int readEnd_ = -1;
    pid_t pid_ = -1;
};

// Each call runs the reader once.
class ReaderWorkbook : public Workbook {
public:
    ReaderWorkbook(std::string fileName, std::function<void()> whileWaiting)
        : fileName_(std::move(fileName)), whileWaiting_(std::move(whileWaiting)) {}

    std::vector<std::string> SheetNames() override {
        const size_t most = 5 + kMaxSheetNames * 4 + kMaxSheetNamesBytes + 5 + kMaxSheetNameBytes;
        return DecodeNamesReply(
            RunSheetReader({"names", fileName_}, fileName_, most, whileWaiting_), fileName_);
    }

    std::vector<CellValue> Cells(const CellRequest& request) override {
        std::vector<std::string> args{"cells", fileName_, std::to_string(request.sheet),
                                      std::to_string(request.firstRow),
                                      std::to_string(request.rowCount)};
        for (int column : request.columns)
            args.push_back(std::to_string(column));
        const size_t count =
            static_cast<size_t>(std::max(request.rowCount, 0)) * request.columns.size();
        const size_t most = 5 + count * 9 + kMaxWorkbookTextBytes + 5 + kMaxSheetNameBytes;
        return DecodeCellsReply(RunSheetReader(args, fileName_, most, whileWaiting_), count,
                                fileName_);
    }

private:
    std::string fileName_;
    std::function<void()> whileWaiting_;
};

}  // namespace

WorkbookError UnreadableWorkbook(const std::string& fileName, const std::string& what) {
    return WorkbookError(kErrWorkbook, "The workbook cannot be read (" + fileName + "): " + what);
}

WorkbookError NoSuchWorksheet(int sheet, const std::string& fileName) {
    return WorkbookError(kErrSubscript, "Subscript out of range: the workbook has no worksheet " +
                                            std::to_string(sheet + 1) + " (" + fileName + ")");
}

WorkbookError WorkbookFileError(std::errc failure, const std::string& fileName) {
    const NumberedError e = FileError(std::make_error_code(failure), fileName);
    return WorkbookError(e.number, e.description);
}

void CellTextBudget::Take(size_t bytes, int row, int column) {
    if (bytes <= kMaxFieldBytes && bytes <= kMaxWorkbookTextBytes - used_) {
        used_ += bytes;
        return;
    }
    const std::string cell =
        "the cell in row " + std::to_string(row) + ", column " + std::to_string(column);
    if (bytes > kMaxFieldBytes)
        throw UnreadableWorkbook(fileName_, cell + " holds a text " + LongerThanAFieldText());
    if (bytes > kMaxWorkbookTextBytes - used_)
        throw UnreadableWorkbook(fileName_, "the rows up to " + cell + " hold more than " +
                                                SizeInMB(kMaxWorkbookTextBytes) +
                                                " of text, more than one import takes");
    used_ += bytes;
}

std::string EncodeNamesReply(const std::vector<std::string>& names) {
    std::string out(1, 'N');
    PutWord(out, static_cast<uint32_t>(names.size()));
    for (const std::string& name : names)
        PutText(out, name);
    return out;
}

std::string EncodeCellsReply(const std::vector<CellValue>& cells) {
    std::string out(1, 'C');
    PutWord(out, static_cast<uint32_t>(cells.size()));
    for (const CellValue& c : cells) {
        out.push_back(static_cast<char>(c.kind));
        if (c.kind == CellValue::Kind::Text) {
            PutText(out, c.text);
            PutWord(out, c.replaced);
        } else if (c.kind != CellValue::Kind::Empty)
            PutDouble(out, c.number);
    }
    return out;
}

std::string EncodeErrorReply(int errorNumber, const std::string& message) {
    std::string out(1, 'E');
    PutWord(out, static_cast<uint32_t>(errorNumber));
    PutText(out, std::string_view(message).substr(0, kMaxSheetNameBytes));
    return out;
}

std::vector<std::string> DecodeNamesReply(std::string_view reply, const std::string& fileName) {
    ReplyReader in(reply, fileName);
    in.Expect('N');
    const uint32_t count = in.Word();
    if (count > kMaxSheetNames || count > in.Left() / 4)
        in.Broken("names too many sheets");
    std::vector<std::string> names;
    names.reserve(count);
    size_t total = 0;
    for (uint32_t i = 0; i < count; ++i) {
        names.push_back(in.Text(kMaxSheetNameBytes));
        total += names.back().size();
        if (total > kMaxSheetNamesBytes)
            in.Broken("names its sheets in more than " + SizeInMB(kMaxSheetNamesBytes) +
                      " of text");
    }
    in.End();
    return names;
}

std::vector<CellValue> DecodeCellsReply(std::string_view reply, size_t cellCount,
                                        const std::string& fileName) {
    ReplyReader in(reply, fileName);
    in.Expect('C');
    if (in.Word() != cellCount || cellCount > in.Left())
        in.Broken("holds another number of cells than was asked");
    std::vector<CellValue> cells(cellCount);
    size_t total = 0;
    for (CellValue& c : cells) {
        const uint8_t kind = in.Byte();
        if (kind > static_cast<uint8_t>(CellValue::Kind::Elapsed))
            in.Broken("holds a cell of no known kind");
        c.kind = static_cast<CellValue::Kind>(kind);
        if (c.kind == CellValue::Kind::Text) {
            c.text = in.Text(kMaxFieldBytes);
            c.replaced = in.Word();
            if (c.replaced > c.text.size())
                in.Broken("counts more replaced characters than a text holds");
            total += c.text.size();
            if (total > kMaxWorkbookTextBytes)
                in.Broken("holds more than " + SizeInMB(kMaxWorkbookTextBytes) +
                          " of text, more than one import takes");
        } else if (c.kind != CellValue::Kind::Empty) {
            c.number = in.Double();
        }
    }
    in.End();
    return cells;
}

std::string RunSheetReader(const std::vector<std::string>& arguments, const std::string& fileName,
                           size_t maxReplyBytes, const std::function<void()>& whileWaiting,
                           int wallMilliseconds) {
    ReaderProcess reader(arguments, fileName);
    return reader.Run(maxReplyBytes, whileWaiting, wallMilliseconds);
}

std::unique_ptr<Workbook> OpenWorkbookInReader(const std::string& fileName,
                                               std::function<void()> whileWaiting) {
    return std::make_unique<ReaderWorkbook>(fileName, std::move(whileWaiting));
}

double SerialDate(int year, int month, int day, int hours, int minutes, double seconds) {
    long long days = DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) -
                     kSerialEpoch;
    // Before the phantom 29 February 1900 the serial is a day behind; 30
    // December 1899 stays day 0, which holds the times without a date.
    if (days >= 1 && days <= kPhantomDay)
        --days;
    return static_cast<double>(days) + (hours * 3600.0 + minutes * 60.0 + seconds) / 86400.0;
}

}  // namespace core
