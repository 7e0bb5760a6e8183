// RecordingFramebuffer.h - an offscreen target without GL: counts what the
// post-processing manager asks of it and, with a journal, records the order
// ("post.Bind", "post.Clear", "post.Draw") beside the other recording doubles.
#pragma once

#include "core/Math.h"
#include "gl/IRenderFramebuffer.h"

#include <string>
#include <vector>

namespace OstrelTest {

class RecordingFramebuffer : public Ostrel::IRenderFramebuffer {
public:
    int initializeCalls = 0;
    int bindCalls = 0;
    int unbindCalls = 0;
    int drawCalls = 0;
    int destroyCalls = 0;
    std::vector<Ostrel::vec4> clears;  // colour of each Clear
    std::vector<std::string>* journal = nullptr;

    RecordingFramebuffer() = default;
    virtual ~RecordingFramebuffer() = default;

    void Initialize() override;
    void Bind() override;
    void Unbind() override;
    void Clear(const Ostrel::vec4& color) override;
    void Draw() override;
    void Destroy() override;

private:
    void Note(const std::string& entry);
};

}  // namespace OstrelTest
