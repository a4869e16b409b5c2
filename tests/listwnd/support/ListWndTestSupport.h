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

inline std::u16string FieldText(const ContactRecord* contact, FieldId id)
{
    std::u16string text;
    contact->GetField(id)->GetText(text);
    return text;
}

inline std::u16string NameAt(int row)
{
    auto guard = g_contactList.Lock();
    return FieldText(g_contactList.GetAt(row), FieldName);
}

// Replaces the list in the given order, as a load does, and tells the view.
inline void LoadList(CContactListWnd& listWindow, const std::vector<std::u16string>& names)
{
    g_contactList.Clear();
    for (const auto& name : names) {
        auto contact = std::make_unique<ContactRecord>();
        contact->LoadLabels();
        contact->GetField(FieldName)->SetValue(name, 0.0);
        contact->GetField(FieldTelephone)->SetValue(u"tel " + name, 0.0);
        contact->GetField(FieldMobile)->SetValue(u"mov " + name, 0.0);
        g_contactList.Append(std::move(contact));
    }
    if (listWindow.m_hWnd)
        listWindow.GetListView().SetItemCountEx(g_contactList.GetCount(), ce::LVSICF_NOINVALIDATEALL);
}

// The edit field of `field` in the edit dialog that is up.
inline ce::HWND EditField(FieldId field)
{
    return ce::GetDlgItem(ce::GetDlgItem(ce::GetActiveWindow(), int(ce::AFX_IDW_PANE_FIRST)), IDC_VALUE_FIRST + field);
}

// Waits for a window other than `before` to become active, runs `whileOpen`
// in it and then closes it if it is still up.
inline void WhenDialogUp(std::shared_ptr<bool> running, std::shared_ptr<std::u16string> caption, ce::HWND before,
                         std::function<void()> whileOpen, int tries = 1000)
{
    ce::PostTask([=] {
        if (!*running)
            return;
        const ce::HWND dialog = ce::GetActiveWindow();
        if (dialog == before && tries > 0)
            return WhenDialogUp(running, caption, before, whileOpen, tries - 1);
        *caption = ce::GetWindowText(dialog);
        whileOpen();
        ce::PostTask([running, dialog] {
            if (*running && ce::IsWindow(dialog))
                ce::SendMessageW(dialog, ce::WM_CLOSE);
        });
    });
}

// Runs `command`, which may open a modal dialog, with `whileOpen` acting in
// it. Returns the dialog's caption, empty when none came up.
inline std::u16string RunWithDialog(const std::function<void()>& command,
                                    const std::function<void()>& whileOpen = [] {})
{
    auto running = std::make_shared<bool>(true);
    auto caption = std::make_shared<std::u16string>();
    WhenDialogUp(running, caption, ce::GetActiveWindow(), whileOpen);
    command();
    *running = false;
    ce::PumpMessages();
    return *caption;
}

// Types `name` (and a telephone) into the edit dialog and presses Enter.
inline std::function<void()> Type(std::u16string name, std::u16string telephone = u"")
{
    return [=] {
        if (!name.empty())
            ce::SetWindowText(EditField(FieldName), name);
        if (!telephone.empty())
            ce::SetWindowText(EditField(FieldTelephone), telephone);
        ce::SimulateKey(EditField(FieldName), ce::WM_KEYDOWN, ce::VK_RETURN);
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
