// TestState.h - a diagnostic screen ("test"): the last frame time and the
// frame rate in the top left corner, then the word "Test" drawn 750 times at
// one place as a fixed load on the text renderer. Nothing switches to it.
#pragma once

#include "core/State.h"

#include <string>

class TestState : public Ostrel::State {
public:
    static constexpr int LoadDraws = 750;

    explicit TestState(Ostrel::Framework* framework);
    ~TestState() = default;

    void Render() override;

    // "%f" of the value as a double: fixed notation, six decimals.
    static std::string FormatNumber(float value);
};
