// Shared fixtures of the list window tests: a stand-in for the main frame
// that routes commands to its list window, the contact list filled like the
// loader fills it, and acting inside the modal dialogs the commands open.
#pragma once
#include "data/ContactList.h"
#include "listwnd/ContactListWnd.h"
#include "platform/ui/Afx.h"
#include "platform/ui/FrameWnd.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/testing/EventPump.h"
#include "platform/ui/testing/SimulatedInput.h"
#include "res/resource.h"
#include "tests/common/UiHarness.h"
#include "tests/data/support/DataFixture.h"
#include <gtest/gtest.h>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// A window over the device screen that offers every command to its list
// window first and records all that reach it.
class CTestFrame : public ce::CWnd {
public:
    ~CTestFrame() override { DestroyWindow(); }

    bool Open(int top)
    {
        return uiharness::CreateScreenWindow(*this) &&
               listWindow.Create(nullptr, nullptr, ce::WS_CHILD | ce::WS_VISIBLE | ce::WS_BORDER, ce::CRect(0, 0, 0, 0),
                                 this, ce::AFX_IDW_PANE_FIRST) &&
               (listWindow.MoveWindow(0, top, 320, 240 - top), true);
    }

    ce::BOOL OnCommand(ce::WPARAM wParam, ce::LPARAM lParam) override
    {
        commands.push_back(ce::LOWORD(wParam));
        if (listWindow.m_hWnd && listWindow.OnCmdMsg(ce::LOWORD(wParam), ce::HIWORD(wParam), nullptr, nullptr))
            return ce::TRUE;
        return ce::CWnd::OnCommand(wParam, lParam);
    }

    CContactListWnd listWindow;
    std::vector<ce::UINT> commands;
};

// Replaces the list in the given order, as a load does, and tells the view.
inline void LoadList(CContactListWnd& listWindow, const std::vector<std::u16string>& names)
{
    g_contactList.Clear();
    for (const auto& name : names) {
        auto contact = testdata::MakeContact(name, 0.0, u"tel " + name);
        contact->LoadLabels();
        contact->GetField(FieldMobile)->SetValue(u"mov " + name, 0.0);
        g_contactList.Append(std::move(contact));
    }
    if (listWindow.m_hWnd)
        listWindow.GetListView().SetItemCountEx(g_contactList.GetCount(), ce::LVSICF_NOINVALIDATEALL);
}

// Types `name` (and a telephone) into the edit dialog and presses Enter.
inline std::function<void()> Type(std::u16string name, std::u16string telephone = u"")
{
    return [=] {
        const ce::HWND form = ce::GetDlgItem(ce::GetActiveWindow(), int(ce::AFX_IDW_PANE_FIRST));
        const ce::HWND nameField = ce::GetDlgItem(form, IDC_VALUE_FIRST + FieldName);
        ce::SetWindowText(nameField, name);
        if (!telephone.empty())
            ce::SetWindowText(ce::GetDlgItem(form, IDC_VALUE_FIRST + FieldTelephone), telephone);
        ce::SimulateKey(nameField, ce::WM_KEYDOWN, ce::VK_RETURN);
    };
}

// Spanish interface, code page 936, and a fresh list window over a fresh list.
class ListWndTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { uiharness::StartWindowSystem(); }
    void SetUp() override
    {
        g_contactList.Clear();
        ASSERT_TRUE(frame.Open(44));
    }
    void TearDown() override
    {
        ce::SetMessageBoxHook({});
        frame.DestroyWindow();
        g_contactList.Clear();
    }

    void Load(const std::vector<std::u16string>& names) { LoadList(list(), names); }
    CContactListWnd& list() { return frame.listWindow; }
    ce::CListCtrl& view() { return frame.listWindow.GetListView(); }
    int Current() { return list().GetCurrentRow(); }
    void Command(ce::UINT id) { frame.SendMessage(ce::WM_COMMAND, id, 0); }

    CTestFrame frame;
};
