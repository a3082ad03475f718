#include "PrintServer.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

const char* const PPD = "/usr/share/ppd/cupsfilters/Generic-PDF_Printer-PDF.ppd";
const char* const SEARCH_PATH[] = {"/usr/sbin", "/usr/bin", "/sbin", "/bin"};

/// The program's path in the usual system folders; empty when it is not installed.
std::string findProgram(const char* name) {
    for (const char* folder : SEARCH_PATH) {
        const std::string path = std::string(folder) + "/" + name;
        if (access(path.c_str(), X_OK) == 0) return path;
    }
    return "";
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void pause(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

bool canConnect(const std::string& socketPath) {
    sockaddr_un address{};
    if (socketPath.size() >= sizeof(address.sun_path)) return false;
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, socketPath.c_str());
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0) return false;
    const bool connected =
        connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
    close(fd);
    return connected;
}

}  // namespace

PrintServer& PrintServer::shared() {
    static PrintServer server;
    return server;
}

PrintServer::PrintServer() {
    if (!start()) stop();
}

PrintServer::~PrintServer() {
    stop();
}

bool PrintServer::start() {
    const std::string cupsd = findProgram("cupsd");
    if (cupsd.empty()) {
        reason_ = "cupsd is not installed (Debian: cups-daemon)";
        return false;
    }
    if (access(PPD, R_OK) != 0) {
        reason_ = std::string("no printer description ") + PPD + " (Debian: cups-filters)";
        return false;
    }
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/plotwerk-cups-XXXXXX";
    if (!mkdtemp(&pattern[0])) {
        reason_ = "cannot make a temporary directory: " + std::string(std::strerror(errno));
        return false;
    }
    dir_ = pattern;
    socket_ = dir_ + "/cups.sock";
    chmod(dir_.c_str(), 0755);  // cupsd's filters may run as another user
    if (!writeConfiguration()) return false;

    const std::string out = dir_ + "/cupsd.out";
    const std::string conf = dir_ + "/cupsd.conf", files = dir_ + "/cups-files.conf";
    const char* const argv[] = {cupsd.c_str(), "-f",          "-c",   conf.c_str(),
                                "-s",          files.c_str(), nullptr};
    pid_ = fork();
    if (pid_ == 0) {
        // cupsd goes with the test program, even when that one crashes.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        const int fd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd >= 0) dup2(fd, 1), dup2(fd, 2);
        execv(argv[0], const_cast<char* const*>(argv));
        _exit(127);
    }
    if (pid_ < 0) {
        reason_ = "cannot start cupsd: " + std::string(std::strerror(errno));
        return false;
    }
    return waitUntilListening() && addQueue(PPD);
}

bool PrintServer::writeConfiguration() {
    for (const char* sub : {"root", "spool", "spool/tmp", "cache", "state", "log"})
        fs::create_directories(dir_ + "/" + sub);
    std::ofstream files(dir_ + "/cups-files.conf");
    files << "ServerRoot " << dir_ << "/root\nRequestRoot " << dir_ << "/spool\nTempDir " << dir_
          << "/spool/tmp\nCacheDir " << dir_ << "/cache\nStateDir " << dir_ << "/state\nErrorLog "
          << dir_ << "/log/error_log\nAccessLog " << dir_ << "/log/access_log\nPageLog " << dir_
          << "/log/page_log\n"
          << "ServerBin /usr/lib/cups\nDataDir /usr/share/cups\n"
          << "DocumentRoot /usr/share/cups/doc-root\nPrintcap /dev/null\nFileDevice Yes\n";
    std::ofstream conf(dir_ + "/cupsd.conf");
    // Anyone who can reach the socket may do anything: the socket is in our own directory.
    conf << "Listen " << socket_ << "\nLogLevel info\nBrowsing No\nWebInterface No\n"
         << "DefaultAuthType None\n<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
         << "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n";
    if (files && conf) return true;
    reason_ = "cannot write the configuration into " + dir_;
    return false;
}

bool PrintServer::waitUntilListening() {
    for (int tries = 0; tries < 200; ++tries) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            reason_ = "cupsd stopped at once: " + readFile(dir_ + "/cupsd.out") + log();
            return false;
        }
        if (canConnect(socket_)) return true;
        pause(50);
    }
    reason_ = "cupsd does not listen on " + socket_ + ": " + log();
    return false;
}

bool PrintServer::addQueue(const std::string& ppd) {
    const std::string lpadmin = findProgram("lpadmin");
    if (lpadmin.empty()) {
        reason_ = "lpadmin is not installed (Debian: cups-client)";
        return false;
    }
    const std::string device = "file://" + dir_ + "/out.pdf";
    const char* const argv[] = {
        lpadmin.c_str(), "-h", socket_.c_str(), "-p", queue_.c_str(), "-E",   "-v",
        device.c_str(),  "-P", ppd.c_str(),     "-o", "PageSize=A4",  nullptr};
    const std::string output = dir_ + "/lpadmin.out";
    if (run(lpadmin, argv, output) != 0) {
        reason_ = "lpadmin cannot add the queue: " + readFile(output) + log();
        return false;
    }
    const char* previous = std::getenv("CUPS_SERVER");
    hadPreviousServer_ = previous != nullptr;
    if (previous) previousServer_ = previous;
    setenv("CUPS_SERVER", socket_.c_str(), 1);
    return true;
}

void PrintServer::stop() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        int status = 0;
        bool ended = false;
        for (int tries = 0; tries < 100 && !ended; ++tries) {
            ended = waitpid(pid_, &status, WNOHANG) == pid_;
            if (!ended) pause(50);
        }
        if (!ended) {
            kill(pid_, SIGKILL);
            waitpid(pid_, &status, 0);
        }
        pid_ = -1;
        if (hadPreviousServer_)
            setenv("CUPS_SERVER", previousServer_.c_str(), 1);
        else
            unsetenv("CUPS_SERVER");
    }
    std::error_code ignored;
    if (!dir_.empty()) fs::remove_all(dir_, ignored);
}

bool PrintServer::setAccepting(bool accepting) {
    const std::string program = findProgram(accepting ? "cupsaccept" : "cupsreject");
    const char* const argv[] = {program.c_str(), "-h", socket_.c_str(), queue_.c_str(), nullptr};
    return available() && !program.empty() && run(program, argv, dir_ + "/accept.out") == 0;
}

void PrintServer::clearOutput() {
    std::error_code ignored;
    fs::remove(dir_ + "/out.pdf", ignored);
}

std::string PrintServer::waitForOutput(double seconds) const {
    const std::string lpstat = findProgram("lpstat");
    const std::string output = dir_ + "/lpstat.out", pdf = dir_ + "/out.pdf";
    const char* const argv[] = {lpstat.c_str(), "-h", socket_.c_str(), "-o", nullptr};
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (available() && !lpstat.empty() && std::chrono::steady_clock::now() < end) {
        std::error_code error;
        const bool idle = run(lpstat, argv, output) == 0 && readFile(output).empty();
        if (idle && fs::file_size(pdf, error) > 0 && !error) return readFile(pdf);
        pause(100);
    }
    return "";
}

std::string PrintServer::log() const {
    return readFile(dir_ + "/log/error_log");
}

int PrintServer::run(const std::string& program, const char* const* arguments,
                     const std::string& output) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr,
                                    const_cast<char* const*>(arguments), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (spawned != 0 || waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
