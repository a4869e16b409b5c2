// Shared fixtures of the dialog tests: contacts with their labels, running a
// modal dialog while the test acts on it, and reading control positions.
#pragma once
#include "data/ContactRecord.h"
#include "platform/ui/Afx.h"
#include <gtest/gtest.h>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>

// The labels and captions the tests expect are the program's own Spanish ones.
class DialogTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
};

// A labelled contact with the given texts and birthday.
std::unique_ptr<ContactRecord> MakeContact(std::initializer_list<std::pair<FieldId, std::u16string>> texts,
                                           ce::DATE birthday = 0.0);

// What RunModal ends a dialog with when the test left it open.
constexpr ce::LRESULT kLeftOpen = 99;

// Runs `dialog` modally; `whileOpen` runs inside its modal loop once it is
// up. Returns the modal result.
ce::LRESULT RunModal(ce::CDialog& dialog, const std::function<void()>& whileOpen);

// The dialog's form (its first pane), null without one.
ce::CWnd* Pane(const ce::CDialog& dialog);
ce::CWnd* Control(const ce::CWnd* form, int id);

// A window's rectangle on the device screen, and relative to its parent's
// client area.
ce::CRect ScreenRect(const ce::CWnd* wnd);
ce::CRect RectInParent(const ce::CWnd* wnd);

// Text extent with the window's font, as the placement measures it.
ce::SIZE TextExtent(const ce::CWnd* wnd, const std::u16string& text, ce::HFONT font = nullptr);

// 1975-03-07 18:30:00.
ce::SYSTEMTIME SampleBirthday();
ce::DATE ToDate(const ce::SYSTEMTIME& time);

// The device screen 320 x 240 and the right edge of the forms' value column.
constexpr int kScreenWidth = 320;
constexpr int kScreenHeight = 240;
constexpr int kValueRight = 320 - 16 - 10;
