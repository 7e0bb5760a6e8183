// XSession.h - a private virtual X server for end-to-end runs with real X
// input. The test starts its own Xvfb (so parallel tests on another display
// cannot take the pointer or stack windows over ours), launches a program on
// it, drives it with xdotool (XTEST: the program sees ordinary X input) and
// reads window contents with ImageMagick's import.
//
//   XSession             Xvfb on a free display; DISPLAY points at it while
//                        the session lives
//   ProgramProcess       a program started in the current working directory
//   Shot                 an RGB picture of a window, rows top first
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

namespace OstrelTest {

struct Shot {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;  // 3 bytes a pixel

    bool Empty() const { return rgb.empty(); }
    const uint8_t* At(int x, int y) const { return &rgb[(static_cast<size_t>(y) * width + x) * 3]; }
    // Writes the picture as a PNG.
    bool Save(const std::string& path) const;
};

class ProgramProcess {
public:
    // argv[0] is the program path; the child inherits the environment and
    // the working directory, with `extraEnv` ("NAME=value") added.
    ProgramProcess(const std::vector<std::string>& argv, const std::vector<std::string>& extraEnv = {});
    ~ProgramProcess();  // kills a child that is still running
    ProgramProcess(const ProgramProcess&) = delete;
    ProgramProcess& operator=(const ProgramProcess&) = delete;

    bool Started() const { return pid > 0; }
    pid_t Pid() const { return pid; }
    bool Running();
    // Waits up to `timeoutMs` for the child to end; true when it ended.
    // `status` is the exit status, or -1 when it died from a signal.
    bool Wait(int timeoutMs, int* status);
    void Kill();

private:
    void Reap(int rawStatus);

    pid_t pid = -1;
    bool reaped = false;
    int exitStatus = -1;
};

class XSession {
public:
    XSession(int width = 1024, int height = 768);
    ~XSession();
    XSession(const XSession&) = delete;
    XSession& operator=(const XSession&) = delete;

    // False when Xvfb or xdotool is missing or the server did not come up;
    // `Problem()` says which.
    bool Ok() const { return display >= 0; }
    const std::string& Problem() const { return problem; }
    std::string Display() const { return ":" + std::to_string(display); }

    // The first window whose title matches, waiting up to `timeoutMs`; 0 if none.
    unsigned long FindWindow(const std::string& title, int timeoutMs);

    // Real input through XTEST. Coordinates are window-relative.
    void MoveTo(unsigned long window, int x, int y);
    // Moves onto the point from a few pixels away, so the program sees motion
    // even when the pointer already rests there.
    void MoveOnto(unsigned long window, int x, int y);
    // Presses the left button, holds it for `holdMs`, releases it.
    void Click(int holdMs = 80);
    void Key(const std::string& keysym);

    // The window's contents (RGB); empty on failure.
    Shot Capture(unsigned long window);

    static void Sleep(int ms);

private:
    bool Run(const std::string& command);
    std::string Output(const std::string& command);

    int display = -1;
    pid_t server = -1;
    std::string previousDisplay;
    bool hadDisplay = false;
    std::string problem;
};

}  // namespace OstrelTest
