// Shared fixtures of the dialog tests: labelled contacts, running a modal
// dialog while the test acts on it, reading control positions and tapping
// the input panel's keys.
#pragma once
#include "data/ContactRecord.h"
#include "platform/ui/testing/EventPump.h"
#include "tests/common/UiHarness.h"
#include <gtest/gtest.h>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>

using uiharness::ScreenHeight;
using uiharness::ScreenWidth;
using uiharness::White;

// Spanish interface, code page 936, offscreen platform.
class DialogTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { uiharness::StartWindowSystem(); }
};

std::unique_ptr<ContactRecord> MakeContact(std::initializer_list<std::pair<FieldId, std::u16string>> texts,
                                           ce::DATE birthday = 0.0);
// Every field filled (the name Chinese, the birthday SampleBirthday()).
std::unique_ptr<ContactRecord> FilledContact();

// What RunModal ends a dialog with when the test left it open.
constexpr ce::LRESULT LeftOpen = 99;
// Runs `dialog` modally with `whileOpen` inside its loop; returns the result.
ce::LRESULT RunModal(ce::CDialog& dialog, const std::function<void()>& whileOpen);

ce::CWnd* Pane(const ce::CDialog& dialog);
ce::CWnd* Control(const ce::CWnd* form, int id);
std::u16string TextOf(const ce::CWnd* form, int id);
bool Shown(const ce::CWnd* form, int id);
ce::CRect ScreenRect(const ce::CWnd* wnd);
ce::CRect RectInParent(const ce::CWnd* wnd);

ce::HWND InputPanel();
// The middle of the key in `column` and `row` of the panel's ten by five keys.
ce::POINT KeyCentre(int column, int row);
void TapKey(int column, int row);

// 1975-03-07 18:30:00.
ce::SYSTEMTIME SampleBirthday();
ce::DATE ToDate(const ce::SYSTEMTIME& time);

constexpr int NameId = 1000, LabelId = 1002, ValueId = 1040, PickerId = 1046, LineId = 1080;
constexpr int ValueRight = 320 - 16 - 10;
