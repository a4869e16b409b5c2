// Shared fixtures of the dialog tests: labelled contacts, running a modal
// dialog while the test acts on it, and reading control positions.
#pragma once
#include "data/ContactRecord.h"
#include "platform/ui/Afx.h"
#include "platform/ui/testing/EventPump.h"
#include "platform/ui/testing/ScreenGrab.h"
#include <gtest/gtest.h>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>

// Spanish interface, code page 936, offscreen platform.
class DialogTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
};

std::unique_ptr<ContactRecord> MakeContact(std::initializer_list<std::pair<FieldId, std::u16string>> texts,
                                           ce::DATE birthday = 0.0);

// What RunModal ends a dialog with when the test left it open.
constexpr ce::LRESULT kLeftOpen = 99;
// Runs `dialog` modally with `whileOpen` inside its loop; returns the result.
ce::LRESULT RunModal(ce::CDialog& dialog, const std::function<void()>& whileOpen);

ce::CWnd* Pane(const ce::CDialog& dialog);
ce::CWnd* Control(const ce::CWnd* form, int id);
std::u16string TextOf(const ce::CWnd* form, int id);
bool Shown(const ce::CWnd* form, int id);
ce::CRect ScreenRect(const ce::CWnd* wnd);
ce::CRect RectInParent(const ce::CWnd* wnd);
ce::SIZE TextExtent(const ce::CWnd* wnd, const std::u16string& text);
// Pixels that are not white inside the rectangle of the screen.
int InkIn(const ce::ScreenImage& screen, const ce::CRect& rect);

// 1975-03-07 18:30:00.
ce::SYSTEMTIME SampleBirthday();
ce::DATE ToDate(const ce::SYSTEMTIME& time);

constexpr int kName = 1000, kLabel = 1002, kValue = 1040, kPicker = 1046, kLine = 1080;
constexpr int kScreenWidth = 320, kScreenHeight = 240;
constexpr int kValueRight = 320 - 16 - 10;
constexpr ce::COLORREF kWhite = ce::RGB(255, 255, 255);
