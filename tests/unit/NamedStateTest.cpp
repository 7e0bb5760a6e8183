// Named states on a framework object that is never initialised (the
// constructor makes no SDL or GL call): registration, switching, removal and
// the init/cleanup lifecycle.
#include "core/Framework.h"
#include "core/State.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

class TestApp : public Ostrel::Framework {
public:
    using Framework::currentState;
    using Framework::states;

    void Init() override {}
    void Update(float) override {}
    void Render() override {}
};

// Writes "<name>.<operation>" to a shared log for every virtual call.
class LoggingState : public Ostrel::State {
public:
    LoggingState(Ostrel::Framework* fw, std::string label, std::vector<std::string>* log)
        : State(fw), label(std::move(label)), log(log) {}

    void Init() override { log->push_back(label + ".Init"); }
    void Cleanup() override { log->push_back(label + ".Cleanup"); }
    void OnEnter() override { log->push_back(label + ".OnEnter"); }
    void OnExit() override { log->push_back(label + ".OnExit"); }
    void Update(float) override { log->push_back(label + ".Update"); }
    void Render() override { log->push_back(label + ".Render"); }

    std::string label;
    std::vector<std::string>* log;
};

using Log = std::vector<std::string>;

// A framework object lives for the whole process and never frees its
// managers; keeping every one made here reachable says so to the leak checker.
TestApp& NewApp() {
    static auto* apps = new std::vector<TestApp*>();  // never destroyed, like the apps
    apps->push_back(new TestApp());
    return *apps->back();
}

class NamedStates : public testing::Test {
protected:
    TestApp& app = NewApp();
    Log log;
    LoggingState a{&app, "a", &log};
    LoggingState b{&app, "b", &log};
    LoggingState c{&app, "c", &log};
};

}  // namespace

TEST_F(NamedStates, RegistrationInitialisesAtOnceInOrder) {
    app.AddState("menu", &a);
    app.AddState("game", &b);
    EXPECT_EQ(log, (Log{"a.Init", "b.Init"}));
    EXPECT_EQ(a.initState, Ostrel::LifecycleInitialised);
    EXPECT_EQ(b.initState, Ostrel::LifecycleInitialised);
    EXPECT_EQ(app.currentState, nullptr);
    EXPECT_EQ(app.states.size(), 2u);
}

TEST_F(NamedStates, SwitchExitsOldAndEntersNewWithoutCleanup) {
    app.AddState("a", &a);
    app.AddState("b", &b);
    log.clear();
    app.SwitchState("a");
    app.SwitchState("b");
    EXPECT_EQ(app.currentState, &b);
    app.SwitchState("b");  // the current name exits and re-enters
    b.ChangeState("a");    // from a state
    EXPECT_EQ(app.currentState, &a);
    EXPECT_EQ(log, (Log{"a.OnEnter", "a.OnExit", "b.OnEnter", "b.OnExit", "b.OnEnter", "b.OnExit", "a.OnEnter"}));
    EXPECT_EQ(b.initState, Ostrel::LifecycleInitialised);
}

TEST_F(NamedStates, UnknownNameIsReportedAndChangesNothing) {
    testing::internal::CaptureStderr();
    app.SwitchState("intro");  // without a current state: stays empty
    EXPECT_EQ(app.currentState, nullptr);
    app.AddState("a", &a);
    app.SwitchState("a");
    log.clear();
    app.SwitchState("nowhere");
    a.ChangeState("elsewhere");
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(app.currentState, &a);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(app.states.size(), 1u) << "unknown names are not added";
    EXPECT_NE(err.find("nowhere"), std::string::npos) << err;
    EXPECT_NE(err.find("elsewhere"), std::string::npos) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 3) << err;
}

TEST_F(NamedStates, ReregisteringCurrentNameCleansUpOldButKeepsItCurrent) {
    app.AddState("game", &a);
    app.SwitchState("game");
    log.clear();
    app.AddState("game", &b);
    EXPECT_EQ(log, (Log{"a.Cleanup", "b.Init"}));
    EXPECT_EQ(a.initState, Ostrel::LifecycleReleased);
    EXPECT_EQ(app.states["game"], &b);
    EXPECT_EQ(app.currentState, &a);  // until the next switch
    log.clear();
    app.SwitchState("game");
    EXPECT_EQ(log, (Log{"a.OnExit", "b.OnEnter"}));
    EXPECT_EQ(app.currentState, &b);

    log.clear();
    app.AddState("a", &a);  // the same object again is re-initialised
    app.AddState("a", &a);
    EXPECT_EQ(log, (Log{"a.Init", "a.Cleanup", "a.Init"}));
    EXPECT_EQ(a.initState, Ostrel::LifecycleInitialised);
}

TEST_F(NamedStates, RegisteringNoObjectIsHarmless) {
    app.AddState("a", &a);
    app.SwitchState("a");
    log.clear();
    app.AddState("empty", nullptr);
    EXPECT_TRUE(log.empty());
    ASSERT_EQ(app.states.count("empty"), 1u);
    EXPECT_EQ(app.states["empty"], nullptr);

    // Replacing the empty entry still initialises the real state.
    app.AddState("empty", &b);
    EXPECT_EQ(log, (Log{"b.Init"}));
    app.AddState("empty", nullptr);
    EXPECT_EQ(log, (Log{"b.Init", "b.Cleanup"}));
    app.RemoveState("empty");
    EXPECT_EQ(app.states.count("empty"), 0u);
    EXPECT_EQ(app.currentState, &a);
}

TEST_F(NamedStates, RemovingCurrentStateCleansItUpAndLeavesItCurrent) {
    app.AddState("a", &a);
    app.AddState("b", &b);
    app.SwitchState("a");
    log.clear();
    app.RemoveState("a");
    EXPECT_EQ(log, (Log{"a.Cleanup"}));
    EXPECT_EQ(app.currentState, &a);
    EXPECT_EQ(app.states.count("a"), 0u);
    EXPECT_EQ(a.initState, Ostrel::LifecycleReleased);

    log.clear();
    app.RemoveState("a");  // no longer registered: nothing happens
    app.RemoveState("never");
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(app.states.size(), 1u);
}

TEST_F(NamedStates, RunInitAndRunCleanupAreIdempotent) {
    c.RunCleanup();  // never initialised
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(c.initState, Ostrel::LifecycleCreated);

    c.RunInit();
    c.RunInit();
    EXPECT_EQ(log, (Log{"c.Init"}));

    c.RunCleanup();
    c.RunCleanup();
    EXPECT_EQ(log, (Log{"c.Init", "c.Cleanup"}));
    EXPECT_EQ(c.initState, Ostrel::LifecycleReleased);

    c.RunInit();  // a cleaned-up state can be initialised again
    EXPECT_EQ(log, (Log{"c.Init", "c.Cleanup", "c.Init"}));
    EXPECT_EQ(c.initState, Ostrel::LifecycleInitialised);
}

TEST_F(NamedStates, InitStateIsSetBeforeInitRuns) {
    // A state that registers itself again from Init must not recurse forever.
    class Reentrant : public Ostrel::State {
    public:
        using State::State;
        int inits = 0;
        void Init() override {
            ++inits;
            RunInit();
        }
    } state(&app);
    state.RunInit();
    EXPECT_EQ(state.inits, 1);
}
