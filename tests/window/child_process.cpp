// Starting, stopping and reaping the processes of a window test, and the signal path that
// kills them when the test itself is interrupted.
#include "child_process.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char **environ;

namespace {

// Running children and their stop signals, readable from a signal handler.
struct Registered {
    std::atomic<pid_t> pid{0};
    std::atomic<int> signal{0};
};
std::array<Registered, 8> registry;

void enroll(pid_t pid, int signal) {
    for (Registered &slot : registry) {
        pid_t empty = 0;
        if (slot.pid.compare_exchange_strong(empty, pid)) {
            slot.signal = signal;
            return;
        }
    }
    throw std::runtime_error("too many child processes");
}

// Withdrawn before the child is reaped: until then its pid cannot belong to anyone else.
void withdraw(pid_t pid) {
    for (Registered &slot : registry) {
        pid_t expected = pid;
        slot.pid.compare_exchange_strong(expected, 0);
    }
}

extern "C" void onInterrupt(int signal) {
    for (Registered &slot : registry) {
        const pid_t pid = slot.pid.load();
        if (pid > 0) {
            kill(pid, slot.signal.load());
        }
    }
    std::signal(signal, SIG_DFL);
    raise(signal);
}

} // namespace

ChildProcess::ChildProcess(const ChildLaunch &launch) : stopSignal_(launch.stopSignal) {
    std::vector<char *> argv;
    for (const std::string &arg : launch.argv) {
        argv.push_back(const_cast<char *>(arg.c_str()));
    }
    argv.push_back(nullptr);
    std::vector<char *> envp;
    for (const std::string &entry : launch.environment) {
        envp.push_back(const_cast<char *>(entry.c_str()));
    }
    envp.push_back(nullptr);

    const int log = open(launch.logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const int devNull = open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (log < 0 || devNull < 0) {
        throw std::runtime_error("cannot open " + launch.logPath + " or /dev/null");
    }
    const pid_t parent = getpid();
    // Blocked across fork so that an interrupt cannot slip in before the child is enrolled.
    sigset_t all, previous;
    sigfillset(&all);
    sigprocmask(SIG_BLOCK, &all, &previous);
    pid_ = fork();
    if (pid_ == 0) {
        // Only async-signal-safe calls from here to exec.
        prctl(PR_SET_PDEATHSIG, launch.stopSignal);
        if (getppid() != parent) {
            _exit(127);
        }
        dup2(devNull, 0);
        dup2(log, 1);
        dup2(log, 2);
        if (launch.passedFd >= 0) {
            dup2(launch.passedFd, 3);
        }
        close_range(launch.passedFd >= 0 ? 4 : 3, ~0U, 0);
        sigprocmask(SIG_SETMASK, &previous, nullptr);
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    const int forkError = errno;
    if (pid_ > 0) {
        enroll(pid_, launch.stopSignal);
    }
    sigprocmask(SIG_SETMASK, &previous, nullptr);
    close(log);
    close(devNull);
    if (pid_ < 0) {
        throw std::runtime_error(std::string("fork: ") + std::strerror(forkError));
    }
}

ChildProcess::~ChildProcess() {
    stop();
}

std::optional<int> ChildProcess::waitForExit(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!status_) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            withdraw(pid_);
            status_ = status;
        } else if (std::chrono::steady_clock::now() >= deadline) {
            break;
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    return status_;
}

int ChildProcess::stop() {
    if (!status_ && pid_ > 0) {
        kill(pid_, stopSignal_);
        withdraw(pid_);
        int status = 0;
        while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
        }
        status_ = status;
    }
    return status_.value_or(0);
}

std::vector<std::string> currentEnvironment() {
    std::vector<std::string> environment;
    for (char **entry = environ; *entry != nullptr; ++entry) {
        environment.emplace_back(*entry);
    }
    return environment;
}

std::vector<std::string> environmentWith(std::vector<std::string> environment,
                                         const std::string &name, const std::string &value) {
    const std::string prefix = name + "=";
    for (std::string &entry : environment) {
        if (entry.compare(0, prefix.size(), prefix) == 0) {
            entry = prefix + value;
            return environment;
        }
    }
    environment.push_back(prefix + value);
    return environment;
}

void killChildrenOnInterrupt() {
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
        sigaction(signal, &action, nullptr);
    }
}

std::string describeStatus(int status) {
    if (WIFEXITED(status)) {
        return "exit status " + std::to_string(WEXITSTATUS(status));
    }
    if (WIFSIGNALED(status)) {
        return "signal " + std::to_string(WTERMSIG(status)) + " (" + strsignal(WTERMSIG(status)) +
               ")";
    }
    return "wait status " + std::to_string(status);
}
