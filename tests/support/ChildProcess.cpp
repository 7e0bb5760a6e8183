#include "ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <fstream>
#include <iostream>
#include <iterator>
#include <thread>

namespace OstrelTest {

std::string ChildResult::Describe() const {
    if (!started) return "not started";
    if (timedOut) return "killed after " + std::to_string(static_cast<int>(seconds)) + " s (hang)";
    if (exited) return "exit " + std::to_string(exitCode);
    return "signal " + std::to_string(signal) + " (" + strsignal(signal) + ")";
}

namespace {

struct Running {
    size_t job = 0;
    pid_t pid = -1;
    std::string logPath;
    std::chrono::steady_clock::time_point start;
};

[[noreturn]] void RunChild(const ChildJob& job, const std::string& logPath) {
    const int fd = open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd >= 0) {
        dup2(fd, STDOUT_FILENO);
        dup2(fd, STDERR_FILENO);
        close(fd);
    }
    int status = 70;
    try {
        status = job();
    } catch (const std::exception& e) {
        std::cerr << "ChildProcess: uncaught exception: " << e.what() << std::endl;
    } catch (...) {
        std::cerr << "ChildProcess: uncaught exception of unknown type" << std::endl;
    }
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    // No atexit handlers or static destructors of the test program in the child.
    _exit(status);
}

std::string ReadLog(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace

std::vector<ChildResult> RunInChildren(const std::vector<ChildJob>& jobs, int parallel, double timeoutSeconds) {
    std::vector<ChildResult> results(jobs.size());
    std::vector<Running> running;
    size_t next = 0;
    std::fflush(nullptr);
    while (next < jobs.size() || !running.empty()) {
        while (next < jobs.size() && static_cast<int>(running.size()) < std::max(parallel, 1)) {
            char pattern[] = "/tmp/ostrel-child-XXXXXX";
            const int fd = mkstemp(pattern);
            if (fd >= 0) close(fd);
            Running r;
            r.job = next;
            r.logPath = pattern;
            r.start = std::chrono::steady_clock::now();
            std::fflush(nullptr);
            r.pid = fork();
            if (r.pid == 0) RunChild(jobs[next], r.logPath);
            results[next].started = r.pid > 0;
            if (r.pid > 0) running.push_back(r);
            ++next;
        }
        for (size_t i = 0; i < running.size();) {
            Running& r = running[i];
            ChildResult& result = results[r.job];
            const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - r.start).count();
            int status = 0;
            pid_t done = waitpid(r.pid, &status, WNOHANG);
            if (done == 0 && elapsed > timeoutSeconds) {
                kill(r.pid, SIGKILL);
                done = waitpid(r.pid, &status, 0);
                result.timedOut = true;
            }
            if (done == 0) {
                ++i;
                continue;
            }
            result.seconds = elapsed;
            if (done == r.pid && WIFEXITED(status)) {
                result.exited = true;
                result.exitCode = WEXITSTATUS(status);
            } else if (done == r.pid && WIFSIGNALED(status)) {
                result.signal = WTERMSIG(status);
            }
            result.output = ReadLog(r.logPath);
            std::remove(r.logPath.c_str());
            running.erase(running.begin() + static_cast<long>(i));
        }
        if (!running.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return results;
}

}  // namespace OstrelTest
