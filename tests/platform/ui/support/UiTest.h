// Shared fixture of the window system tests: the platform on Qt's offscreen
// screen, a recording window class, and clean-up of what a test left open.
#pragma once
#include "platform/ui/Afx.h"
#include "platform/ui/testing/EventPump.h"
#include "platform/ui/testing/MessageBoxAnswer.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <string>
#include <vector>

namespace uitest {

// Handled through the map, recorded, answers wParam + lParam.
constexpr ce::UINT WM_TEST = ce::WM_USER + 1;

// A child or top-level window that records the messages its map handles.
class CRecordingWnd : public ce::CWnd {
public:
    std::vector<ce::UINT> log;         // messages in the order handled
    std::vector<ce::UINT> commands;    // ON_COMMAND_RANGE ids
    std::vector<ce::UINT> notified;    // ON_NOTIFY codes
    std::vector<ce::UINT_PTR> ticks;   // timer ids
    ce::CSize lastSize;
    int createResult = 0;
    ce::BOOL swallowKeys = ce::FALSE;  // PreTranslateMessage answer for keys
    std::vector<ce::UINT> pretranslated;
    std::u16string pretranslatedChars; // the WM_CHAR characters among them
    ce::HBRUSH ctlColorBrush = nullptr;
    // When set, WM_DESTROY and WM_NCDESTROY of every window sharing it, in order.
    std::vector<std::pair<const CRecordingWnd*, ce::UINT>>* destroyOrder = nullptr;

    ce::BOOL PreTranslateMessage(ce::MSG* msg) override;
    ce::LRESULT WindowProc(ce::UINT message, ce::WPARAM wParam, ce::LPARAM lParam) override;
    // Creates a visible child of parent (or a top-level pop-up when null).
    bool Make(ce::CWnd* parent, const ce::RECT& rect, ce::UINT id = 100);
    int Count(ce::UINT message) const { return int(std::count(log.begin(), log.end(), message)); }

protected:
    int OnCreate(ce::LPCREATESTRUCT cs);
    void OnDestroy() { log.push_back(ce::WM_DESTROY); CWnd::OnDestroy(); }
    void OnSize(ce::UINT type, int cx, int cy);
    void OnTimer(ce::UINT_PTR id) { ticks.push_back(id); }
    void OnRange(ce::UINT id) { commands.push_back(id); }
    void OnDblClk(ce::NMHDR* hdr, ce::LRESULT* result) { notified.push_back(hdr->code); *result = 42; }
    ce::LRESULT OnUser(ce::WPARAM w, ce::LPARAM l) { log.push_back(WM_TEST); return ce::LRESULT(w) + l; }
    ce::HBRUSH OnCtlColor(ce::CDC* dc, ce::CWnd* wnd, ce::UINT type);
    DECLARE_MESSAGE_MAP()
};

class UiTest : public ::testing::Test {
protected:
    void SetUp() override { ce::InitPlatform(); }
    // Destroys every top-level window but the input panel, hides the panel,
    // and clears the focus.
    void TearDown() override;
};

} // namespace uitest
