#include "RecordingFramebuffer.h"

namespace OstrelTest {

void RecordingFramebuffer::Note(const std::string& entry) {
    if (journal != nullptr) journal->push_back(entry);
}

void RecordingFramebuffer::Initialize() {
    ++initializeCalls;
}

void RecordingFramebuffer::Bind() {
    ++bindCalls;
    Note("post.Bind");
}

void RecordingFramebuffer::Unbind() {
    ++unbindCalls;
    Note("post.Unbind");
}

void RecordingFramebuffer::Clear(const Ostrel::vec4& color) {
    clears.push_back(color);
    Note("post.Clear");
}

void RecordingFramebuffer::Draw() {
    ++drawCalls;
    Note("post.Draw");
}

void RecordingFramebuffer::Destroy() {
    ++destroyCalls;
}

}  // namespace OstrelTest
