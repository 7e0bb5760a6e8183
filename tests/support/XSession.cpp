#include "XSession.h"

#include "GLTestContext.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

extern char** environ;

namespace OstrelTest {

namespace {

bool OnPath(const std::string& program) {
    return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

pid_t Spawn(const std::vector<std::string>& argv, const std::vector<std::string>& extraEnv,
            posix_spawn_file_actions_t* actions) {
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    std::vector<std::string> envStrings;
    for (char** e = environ; *e != nullptr; ++e) envStrings.emplace_back(*e);
    for (const std::string& e : extraEnv) envStrings.push_back(e);
    std::vector<char*> env;
    for (std::string& e : envStrings) env.push_back(e.data());
    env.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawnp(&pid, args[0], actions, nullptr, args.data(), env.data()) != 0) return -1;
    return pid;
}

}  // namespace

bool Shot::Save(const std::string& path) const {
    std::vector<uint8_t> rgba(static_cast<size_t>(width) * height * 4);
    for (size_t i = 0, n = static_cast<size_t>(width) * height; i < n; ++i) {
        rgba[i * 4 + 0] = rgb[i * 3 + 0];
        rgba[i * 4 + 1] = rgb[i * 3 + 1];
        rgba[i * 4 + 2] = rgb[i * 3 + 2];
        rgba[i * 4 + 3] = 255;
    }
    return WritePng(path, rgba, width, height);
}

ProgramProcess::ProgramProcess(const std::vector<std::string>& argv, const std::vector<std::string>& extraEnv) {
    pid = Spawn(argv, extraEnv, nullptr);
}

ProgramProcess::~ProgramProcess() {
    Kill();
}

void ProgramProcess::Reap(int raw) {
    reaped = true;
    exitStatus = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

bool ProgramProcess::Running() {
    if (pid <= 0 || reaped) return false;
    int raw = 0;
    const pid_t done = waitpid(pid, &raw, WNOHANG);
    if (done == pid) Reap(raw);
    return done == 0;
}

bool ProgramProcess::Wait(int timeoutMs, int* status) {
    if (pid <= 0) return false;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!reaped) {
        int raw = 0;
        const pid_t done = waitpid(pid, &raw, WNOHANG);
        if (done == pid) {
            Reap(raw);
            break;
        }
        if (done < 0 || std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (status != nullptr) *status = exitStatus;
    return true;
}

void ProgramProcess::Kill() {
    if (pid <= 0 || reaped) return;
    kill(pid, SIGKILL);
    int raw = 0;
    waitpid(pid, &raw, 0);
    Reap(raw);
}

XSession::XSession(int width, int height) {
    if (!OnPath("Xvfb") || !OnPath("xdotool") || !OnPath("import")) {
        problem = "Xvfb, xdotool and ImageMagick's import are needed";
        return;
    }
    int fds[2];
    if (pipe(fds) != 0) {
        problem = "pipe failed";
        return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    // Xvfb's own chatter stays out of the test log.
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    server =
        Spawn({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", screen, "-nolisten", "tcp"}, {}, &actions);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (server <= 0) {
        close(fds[0]);
        problem = "could not start Xvfb";
        return;
    }
    // Xvfb writes the display number once it accepts connections.
    std::string number;
    pollfd p{fds[0], POLLIN, 0};
    while (poll(&p, 1, 10000) > 0) {
        char c = 0;
        if (read(fds[0], &c, 1) != 1 || c == '\n') break;
        number += c;
    }
    close(fds[0]);
    if (number.empty()) {
        problem = "Xvfb did not report a display";
        return;
    }
    display = std::atoi(number.c_str());
    const char* old = std::getenv("DISPLAY");
    hadDisplay = old != nullptr;
    if (hadDisplay) previousDisplay = old;
    setenv("DISPLAY", Display().c_str(), 1);
}

XSession::~XSession() {
    if (server > 0) {
        kill(server, SIGTERM);
        int raw = 0;
        waitpid(server, &raw, 0);
    }
    if (display >= 0) {
        if (hadDisplay) {
            setenv("DISPLAY", previousDisplay.c_str(), 1);
        } else {
            unsetenv("DISPLAY");
        }
    }
}

bool XSession::Run(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

std::string XSession::Output(const std::string& command) {
    std::string out;
    FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
    if (pipe == nullptr) return out;
    char buffer[4096];
    size_t n = 0;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    pclose(pipe);
    return out;
}

unsigned long XSession::FindWindow(const std::string& title, int timeoutMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    do {
        const std::string found = Output("xdotool search --name '" + title + "'");
        if (!found.empty()) return std::strtoul(found.c_str(), nullptr, 10);
        Sleep(100);
    } while (std::chrono::steady_clock::now() < end);
    return 0;
}

void XSession::MoveTo(unsigned long window, int x, int y) {
    Run("xdotool mousemove --window " + std::to_string(window) + " " + std::to_string(x) + " " + std::to_string(y));
}

void XSession::MoveOnto(unsigned long window, int x, int y) {
    MoveTo(window, x + 3, y + 2);
    Sleep(60);
    MoveTo(window, x, y);
    Sleep(60);
}

void XSession::Click(int holdMs) {
    Run("xdotool mousedown 1");
    Sleep(holdMs);
    Run("xdotool mouseup 1");
}

void XSession::Key(const std::string& keysym) {
    Run("xdotool key " + keysym);
}

Shot XSession::Capture(unsigned long window) {
    Shot shot;
    const std::string geometry = Output("xdotool getwindowgeometry --shell " + std::to_string(window));
    const size_t w = geometry.find("WIDTH=");
    const size_t h = geometry.find("HEIGHT=");
    if (w == std::string::npos || h == std::string::npos) return shot;
    const int width = std::atoi(geometry.c_str() + w + 6);
    const int height = std::atoi(geometry.c_str() + h + 7);
    const std::string raw = Output("import -window " + std::to_string(window) + " -depth 8 rgb:-");
    if (width <= 0 || height <= 0 || raw.size() != static_cast<size_t>(width) * height * 3) return shot;
    shot.width = width;
    shot.height = height;
    shot.rgb.assign(raw.begin(), raw.end());
    return shot;
}

void XSession::Sleep(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace OstrelTest
