// Processes the window tests start (the X server, the program): started so that they die
// with the test, and killed and reaped by pid, also when the test is interrupted.
#pragma once

#include <chrono>
#include <csignal>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

struct ChildLaunch {
    std::vector<std::string> argv;        // argv[0] is the executable's path
    std::vector<std::string> environment; // NAME=value entries, the whole environment
    std::string logPath;                  // stdout and stderr go here; stdin is /dev/null
    int passedFd = -1;                    // if set, given to the child as its fd 3
    int stopSignal = SIGKILL;             // sent by stop(), by the signal path and at our death
};

class ChildProcess {
  public:
    explicit ChildProcess(const ChildLaunch &launch);
    ~ChildProcess();
    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;

    pid_t pid() const { return pid_; }
    // The raw wait status once the process has ended within the timeout, else nothing.
    std::optional<int> waitForExit(std::chrono::milliseconds timeout);
    // Sends the stop signal unless the process has already ended, then reaps it.
    // Returns its wait status.
    int stop();

  private:
    pid_t pid_ = -1;
    int stopSignal_;
    std::optional<int> status_;
};

// The environment of this process with `name` set to `value`.
std::vector<std::string> environmentWith(std::vector<std::string> environment,
                                         const std::string &name, const std::string &value);
std::vector<std::string> currentEnvironment();

// Kills every running child on SIGINT, SIGTERM, SIGHUP and SIGQUIT, then dies of the
// signal as before. Children also get their stop signal when this process dies.
void killChildrenOnInterrupt();

// A readable description of a wait status: "exit status 0", "signal 9".
std::string describeStatus(int status);
