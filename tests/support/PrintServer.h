#pragma once

// A private CUPS print service for one test program, so that printing can be tested end to end
// without touching the machine's own print service:
//
//     PrintServer& server = PrintServer::shared();
//     if (!server.available()) GTEST_SKIP() << server.reason();
//     ... print to server.queue() ...
//     const std::string pdf = server.waitForOutput();
//
// It runs its own cupsd (Debian packages cups-daemon, cups-client, cups-filters) with every
// folder in a fresh temporary directory, listening only on a Unix socket there, and points the
// process (and the programs it starts) at it through CUPS_SERVER. Its one queue prints with
// cups-filters' "Generic PDF Printer" description, whose filter passes PDF on, into a file in
// that directory. The queue's default sheet is A4; the description gives it margins.
//
// As root (as CI runs) cupsd runs its filters as the user lp, so the directory is readable by
// all; as another user it runs them as that user.

#include <sys/types.h>

#include <string>

class PrintServer {
  public:
    /// The one server of the test program, started on first use, stopped at exit.
    static PrintServer& shared();

    PrintServer();
    ~PrintServer();
    PrintServer(const PrintServer&) = delete;
    PrintServer& operator=(const PrintServer&) = delete;

    /// True when cupsd runs and the queue is set up; otherwise reason() says why.
    bool available() const { return pid_ > 0 && reason_.empty(); }
    const std::string& reason() const { return reason_; }
    /// The queue that prints into the output file.
    const std::string& queue() const { return queue_; }

    /// Lets the queue take jobs, or refuses them (cupsaccept, cupsreject); false when that failed.
    bool setAccepting(bool accepting);
    /// Forgets the previous output, before the next job.
    void clearOutput();
    /// Waits until the service has no unfinished job and the output file is there, then gives
    /// the file's content; empty when that did not happen within `seconds`.
    std::string waitForOutput(double seconds = 30.0) const;
    /// The service's error log, for failure messages.
    std::string log() const;

  private:
    bool start();
    bool writeConfiguration();
    bool waitUntilListening();
    bool addQueue(const std::string& ppd);
    void stop();
    /// Runs a program to its end with the given arguments; its exit status, -1 when it did
    /// not run or end normally. Its output (stdout and stderr) goes to `output`.
    static int run(const std::string& program, const char* const* arguments,
                   const std::string& output);

    std::string dir_, socket_, queue_ = "plotwerk-test", reason_;
    std::string previousServer_;
    bool hadPreviousServer_ = false;
    pid_t pid_ = -1;
};
