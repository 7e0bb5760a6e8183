// ChildProcess.h - runs a piece of a test in a forked child process, so that a
// crash, an abort or a hang ends that child and is reported, not the test
// program. The child's standard output and error go to a log the parent reads.
//
//   RunInChildren   runs jobs, at most `parallel` at once, each with a time
//                   limit after which the child is killed.
//
// Fork before anything in the test process has started SDL or GL: the child
// must be the only one to own them.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace OstrelTest {

struct ChildResult {
    bool started = false;
    bool timedOut = false;
    bool exited = false;  // ended through exit (exitCode valid)
    int exitCode = -1;
    int signal = 0;  // the signal that ended it, when not exited
    double seconds = 0.0;
    std::string output;  // standard output and error, interleaved

    bool Clean() const { return started && !timedOut && exited && exitCode == 0; }
    // "exit 0", "signal 11 (Segmentation fault)", "killed after 60 s" ...
    std::string Describe() const;
};

// A job's return value is the child's exit status. An exception that leaves
// the job is printed and gives status 70.
using ChildJob = std::function<int()>;

std::vector<ChildResult> RunInChildren(const std::vector<ChildJob>& jobs, int parallel, double timeoutSeconds);

}  // namespace OstrelTest
