// Shared fixture of the window system tests: the platform on Qt's offscreen
// screen, a key-recording window class, and clean-up of what a test left open.
#pragma once
#include "platform/ui/Afx.h"
#include "platform/ui/testing/EventPump.h"
#include "platform/ui/testing/MessageBoxAnswer.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <string>
#include <vector>

namespace uitest {

// A child or top-level window that records the keys it gets and sees pre-translated.
class CRecordingWnd : public ce::CWnd {
public:
    std::vector<ce::UINT> log;         // keys, characters, taps, timers and messages from WM_USER on
    std::vector<ce::UINT> pretranslated;
    std::u16string pretranslatedChars; // the WM_CHAR characters among them

    ce::BOOL PreTranslateMessage(ce::MSG* msg) override;
    ce::LRESULT WindowProc(ce::UINT message, ce::WPARAM wParam, ce::LPARAM lParam) override;
    // Creates a visible child of parent (or a top-level pop-up when null).
    bool Make(ce::CWnd* parent, const ce::RECT& rect, ce::UINT id = 100);
    int Count(ce::UINT message) const { return int(std::count(log.begin(), log.end(), message)); }
};

class UiTest : public ::testing::Test {
protected:
    void SetUp() override { ce::InitPlatform(); }
    // Destroys every top-level window but the input panel, hides the panel,
    // and clears the focus.
    void TearDown() override;
};

} // namespace uitest
