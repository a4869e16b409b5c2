// Shared fixtures of the list window and letter bar tests: a stand-in for
// the main frame that hosts the list window and routes commands to it like
// the frame does, the contact list filled like the loader fills it, and
// acting inside the modal dialogs that the commands open.
#pragma once
#include "data/ContactList.h"
#include "listwnd/ContactListWnd.h"
#include "platform/core/CodePage.h"
#include "platform/ui/Afx.h"
#include "platform/ui/FrameWnd.h"
#include "platform/ui/MessageBox.h"
#include "res/resource.h"
#include <gtest/gtest.h>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// A top-level window over the whole device screen that offers every
// command to its list window first and records all that reach it.
class CTestFrame : public ce::CWnd {
public:
    CTestFrame() = default;
    ~CTestFrame() override { DestroyWindow(); }

    // The list window fills the screen below `top`.
    bool Open(int top)
    {
        if (!CreateEx(0, ce::AfxRegisterWndClass(0), u"", ce::WS_POPUP | ce::WS_VISIBLE, 0, 0, 320, 240, nullptr,
                      nullptr))
            return false;
        if (!listWindow.Create(nullptr, nullptr, ce::WS_CHILD | ce::WS_VISIBLE | ce::WS_BORDER, ce::CRect(0, 0, 0, 0),
                               this, ce::AFX_IDW_PANE_FIRST))
            return false;
        listWindow.MoveWindow(0, top, 320, 240 - top);
        return true;
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

// A labelled contact.
inline ContactRecord* MakeContact(const std::u16string& name, const std::u16string& telephone = u"",
                                  const std::u16string& mobile = u"")
{
    auto* contact = new ContactRecord;
    contact->LoadLabels();
    contact->GetField(FieldName)->SetValue(name, 0.0);
    contact->GetField(FieldTelephone)->SetValue(telephone, 0.0);
    contact->GetField(FieldMobile)->SetValue(mobile, 0.0);
    return contact;
}

inline std::u16string FieldText(const ContactRecord* contact, FieldId id)
{
    std::u16string text;
    if (contact)
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
    for (const auto& name : names)
        g_contactList.Append(MakeContact(name, u"tel " + name, u"mov " + name));
    if (listWindow.m_hWnd)
        listWindow.GetListView().SetItemCountEx(g_contactList.GetCount(), ce::LVSICF_NOINVALIDATEALL);
}

// The top-level window that is up now (a modal dialog or the message box).
inline ce::HWND ActiveDialog()
{
    return ce::GetActiveWindow();
}

// The edit field of `field` in the edit dialog that is up.
inline ce::HWND EditField(FieldId field)
{
    const ce::HWND pane = ce::GetDlgItem(ActiveDialog(), int(ce::AFX_IDW_PANE_FIRST));
    return ce::GetDlgItem(pane, IDC_VALUE_FIRST + field);
}

// Runs `command` (which opens a modal dialog or the message box) while
// `whileOpen` acts inside the modal loop once it is up; whatever the action
// left open is ended afterwards. Returns the caption of the window that was
// up, empty when none came up.
inline void WhenDialogUp(std::shared_ptr<bool> running, std::shared_ptr<std::u16string> caption, ce::HWND before,
                         std::function<void()> whileOpen, int tries = 1000)
{
    ce::PostTask([=] {
        if (!*running)
            return;
        const ce::HWND dialog = ActiveDialog();
        if (dialog == before && tries > 0) {
            WhenDialogUp(running, caption, before, whileOpen, tries - 1);
            return;
        }
        *caption = ce::GetWindowText(dialog);
        whileOpen();
        ce::PostTask([running, dialog] {
            if (*running && ce::IsWindow(dialog))
                ce::SendMessageW(dialog, ce::WM_CLOSE);
        });
    });
}

inline std::u16string RunWithDialog(const std::function<void()>& command, const std::function<void()>& whileOpen)
{
    auto running = std::make_shared<bool>(true);
    auto caption = std::make_shared<std::u16string>();
    WhenDialogUp(running, caption, ActiveDialog(), whileOpen);
    command();
    *running = false;
    ce::PumpMessages();
    return *caption;
}

// Fixes the interface language and code page, and gives every test a fresh
// list window over a fresh contact list.
class ListWndTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        setenv("CONTACTS_UI_LANGUAGE", "0c0a", 1);
        ce::SetACP(936);
        ce::InitPlatform();
    }

    void SetUp() override
    {
        g_contactList.Clear();
        ASSERT_TRUE(frame.Open(FrameTop()));
    }

    void TearDown() override
    {
        ce::SetMessageBoxHook({});
        frame.DestroyWindow();
        g_contactList.Clear();
    }

    virtual int FrameTop() const { return 46; }

    void Load(const std::vector<std::u16string>& names) { LoadList(list(), names); }
    CContactListWnd& list() { return frame.listWindow; }
    ce::CListCtrl& view() { return frame.listWindow.GetListView(); }
    int Current() { return list().GetCurrentRow(); }
    void Command(ce::UINT id) { frame.SendMessage(ce::WM_COMMAND, id, 0); }

    CTestFrame frame;
};
