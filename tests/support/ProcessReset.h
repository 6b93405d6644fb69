#pragma once

#include <gtest/gtest.h>

namespace testing_support {

// Gives every test the process as it was when the program started, whatever ran before it.
//
// Every test program installs it (tests/TestProgram.cpp): around each test (before the fixture
// is made and after it is gone) it calls foundation::ProcessState::reset(), which
//   - ends background work still running: waits out the global queues, cancels and waits out
//     the task pipeline and the URL loads, dropping what they send to the main run loop;
//   - drops every shared instance (sharedInstance(), sharedManager(), ...; the next use makes a
//     fresh one), empties the registrations (screen factory, application services, engine
//     hooks, nibs) and puts the palettes, preferences, string tables, device root, APT queue
//     and the stand-ins' outcomes back;
//   - drops every block and timer still queued on the main run loop, unrun;
// and it puts the environment variables back as the program started with them.
//
// So a fixture undoes nothing of that: it registers screens, services and stand-ins, sets
// environment variables and moves the clock as it likes, and never flushes timers of tests
// before it. Its own objects go first, so a block that captured the fixture is dropped before
// it could run. Background work still running 30 s after the test fails it. What a fixture
// sets in SetUpTestSuite is reset before each test; only the objects the suite owns (a loopback
// server, a folder) stay. A test that calls ProcessState::reset() itself, to stand for a
// relaunch, chooses its device root again afterwards.
//
// State that a new piece of the program keeps for the whole process registers its own reset
// where it is kept: foundation::SharedInstance behind a shared accessor, foundation::ProcessValue
// for a value, foundation::ProcessState::registerReset / registerWork for the rest.
class ProcessReset : public ::testing::EmptyTestEventListener {
  public:
    ProcessReset();

    void OnTestStart(const ::testing::TestInfo& test) override;
    void OnTestEnd(const ::testing::TestInfo& test) override;

    // False once a reset has found background work that would not end.
    bool allResetsSucceeded() const { return allSucceeded_; }

  private:
    void reset();

    bool allSucceeded_ = true;
};

}  // namespace testing_support
