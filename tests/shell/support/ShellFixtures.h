// Fixtures of the shell tests: a temporary device root and the real main frame on it.
#pragma once
#include "ShellTestSupport.h"
#include "platform/ui/ListView.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace shelltest {

// The first child window of `parent` whose object is a T.
template <class T>
T* ChildOf(ce::HWND parent)
{
    for (ce::HWND child = ce::GetWindow(parent, ce::GW_CHILD); child; child = ce::GetWindow(child, ce::GW_HWNDNEXT))
        if (auto* found = dynamic_cast<T*>(ce::CWnd::FromHandlePermanent(child)))
            return found;
    return nullptr;
}

inline int CurrentRowOf(ce::HWND view)
{
    return int(ce::SendMessageW(view, ce::LVM_GETNEXTITEM, ce::WPARAM(-1), ce::LVNI_FOCUSED | ce::LVNI_SELECTED));
}

class DeviceFixture : public ::testing::Test, protected DeviceRoot {
protected:
    void SetUp() override { ASSERT_TRUE(Make()); }
    void TearDown() override { Remove(); }
    void MakeDataFile(const std::vector<Person>& people) // and the PIM folder
    {
        std::filesystem::create_directories(pimFolder);
        ASSERT_TRUE(WriteDataFile(dataFile, people));
    }
};

class FrameFixture : public DeviceFixture {
protected:
    void TearDown() override
    {
        if (frameWindow && ce::IsWindow(frameWindow))
            CloseFrame();
        DeviceFixture::TearDown();
    }

    void OpenFrame()
    {
        frame = OpenMainFrame();
        if (!frame)
            throw std::runtime_error("the frame was not created");
        frameWindow = frame->m_hWnd;
    }

    // No load runs and the view shows the list, a filled one with a current row.
    bool WaitForLoad(int timeoutMs = 10000)
    {
        return WaitFor(
            [this] {
                if (frame->IsLoading())
                    return false;
                ce::PumpMessages();
                return ViewCount() == g_contactList.GetCount() && (ViewCount() == 0 || CurrentRow() >= 0);
            },
            timeoutMs);
    }

    // The list shows exactly these contacts, loaded.
    bool WaitForPeople(const std::vector<Person>& people, int timeoutMs = 10000)
    {
        return WaitFor([&] { return !frame->IsLoading() && ListedPeople() == people; }, timeoutMs) &&
               WaitForLoad(timeoutMs);
    }

    // Closes the frame as "Salir" does and waits until it is gone.
    void CloseFrame()
    {
        ce::PostMessageW(frameWindow, ce::WM_COMMAND, ce::ID_APP_EXIT, 0);
        EXPECT_TRUE(WaitFor([this] { return !ce::IsWindow(frameWindow); }));
        frame = nullptr;
        frameWindow = nullptr;
    }

    // Makes `row` the list's focused and selected row (-1: none is).
    void SetCurrentRow(int row) const
    {
        ce::LVITEMW item{};
        item.stateMask = ce::LVIS_FOCUSED | ce::LVIS_SELECTED;
        item.state = row < 0 ? 0 : item.stateMask;
        ce::SendMessageW(ListView(), ce::LVM_SETITEMSTATE, ce::WPARAM(row), ce::LPARAM(&item));
    }

    ce::HWND ListView() const { return frame->GetListView(); }
    int CurrentRow() const { return CurrentRowOf(ListView()); }
    int ViewCount() const { return int(ce::SendMessageW(ListView(), ce::LVM_GETITEMCOUNT, 0, 0)); }

    CMainFrame* frame = nullptr;
    ce::HWND frameWindow = nullptr;
};

} // namespace shelltest
