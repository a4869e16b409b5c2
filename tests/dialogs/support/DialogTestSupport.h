// Shared fixtures of the dialog tests: labelled contacts, running a modal
// dialog while the test acts on it, reading control positions and tapping
// the input panel's keys.
#pragma once
#include "data/ContactRecord.h"
#include "platform/core/OleDate.h"
#include "platform/ui/testing/SimulatedInput.h"
#include "res/resource.h"
#include "tests/common/UiHarness.h"
#include "tests/data/support/DataFixture.h"
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

// 1975-03-07 18:30:00.
inline ce::SYSTEMTIME SampleBirthday() { return ce::SYSTEMTIME{1975, 3, 0, 7, 18, 30, 0, 0}; }
inline ce::DATE ToDate(const ce::SYSTEMTIME& time) { return ce::COleDateTime(time).m_dt; }

inline std::unique_ptr<ContactRecord> MakeContact(std::initializer_list<std::pair<FieldId, std::u16string>> texts,
                                                  ce::DATE birthday = 0.0)
{
    auto contact = testdata::MakeContact(u"", birthday);
    contact->LoadLabels();
    for (const auto& [id, text] : texts)
        contact->GetField(id)->SetValue(text, 0.0);
    return contact;
}

// What FilledContact() holds in each text field.
inline std::u16string FilledText(FieldId id)
{
    return id == FieldWebPage ? u"www.example.com" : u"v" + std::u16string(1, char16_t(u'a' + id));
}

// Every field filled: FilledText() and the birthday SampleBirthday().
inline std::unique_ptr<ContactRecord> FilledContact()
{
    auto contact = MakeContact({}, ToDate(SampleBirthday()));
    for (FieldId id = 0; id < FieldCount; ++id)
        if (id != FieldBirthday)
            contact->GetField(id)->SetValue(FilledText(id), 0.0);
    return contact;
}

// Runs `dialog` modally with `whileOpen` inside its loop, closes it after if
// it is still up, and returns its result.
inline ce::LRESULT RunModal(ce::CDialog& dialog, const std::function<void()>& whileOpen)
{
    ce::LRESULT result = 0;
    bool cameUp = false;
    uiharness::RunWithDialog([&] { result = dialog.DoModal(); }, [&] {
        cameUp = true;
        whileOpen();
    });
    EXPECT_TRUE(cameUp) << "the dialog came up";
    return result;
}

inline ce::CWnd* Pane(const ce::CDialog& dialog) { return dialog.GetDlgItem(int(ce::AFX_IDW_PANE_FIRST)); }
inline ce::CWnd* Control(const ce::CWnd* form, int id) { return form ? form->GetDlgItem(id) : nullptr; }
inline std::u16string TextOf(const ce::CWnd* form, int id) { return ce::GetWindowText(Control(form, id)->m_hWnd); }

inline bool Shown(const ce::CWnd* form, int id)
{
    const ce::CWnd* control = Control(form, id);
    return control && control->IsWindowVisible();
}

inline ce::CRect ScreenRect(const ce::CWnd* wnd)
{
    ce::CRect rect;
    if (wnd)
        wnd->GetWindowRect(&rect);
    return rect;
}

inline ce::CRect RectInParent(const ce::CWnd* wnd)
{
    ce::CRect rect = ScreenRect(wnd);
    if (const ce::CWnd* parent = wnd ? wnd->GetParent() : nullptr)
        parent->ScreenToClient(&rect);
    return rect;
}

inline ce::HWND InputPanel() { return ce::FindWindowW(ce::SIP_WINDOW_CLASS, nullptr); }

// The middle of the key in `column` and `row` of the panel's ten by five keys.
inline ce::POINT KeyCentre(int column, int row)
{
    const ce::CRect panel = ScreenRect(ce::CWnd::FromHandle(InputPanel()));
    const int width = panel.Width() / 10, height = panel.Height() / 5;
    return {panel.left + column * width + width / 2, panel.top + row * height + height / 2};
}

inline void TapKey(int column, int row)
{
    const ce::POINT at = KeyCentre(column, row);
    ce::SimulateTap(at.x, at.y);
    ce::PumpMessages();
}
