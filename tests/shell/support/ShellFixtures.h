// GoogleTest fixtures of the shell tests: a temporary device root and the
// real main frame on it.
#pragma once
#include "ShellTestSupport.h"
#include "platform/ui/FrameWnd.h"
#include "platform/ui/Host.h"
#include "platform/ui/ListView.h"
#include "shell/MainFrm.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace shelltest {

class DeviceFixture : public ::testing::Test, protected DeviceRoot {
protected:
    void SetUp() override { ASSERT_TRUE(Make()); }
    void TearDown() override { Remove(); }
    void MakePimFolder() { std::filesystem::create_directories(pimFolder); }
};

class FrameFixture : public DeviceFixture {
protected:
    void TearDown() override
    {
        if (frameWindow && ce::IsWindow(frameWindow))
            CloseFrame();
        DeviceFixture::TearDown();
    }

    CMainFrame* OpenFrame()
    {
        frame = OpenMainFrame();
        EXPECT_NE(frame, nullptr) << "the frame was not created";
        frameWindow = frame ? frame->m_hWnd : nullptr;
        return frame;
    }

    // Waits until no load runs and the loaded list is shown: the view's
    // count matches the list and a filled list has its current row.
    bool WaitForLoad(int timeoutMs = 10000)
    {
        return WaitFor(
            [this] {
                if (!frame || frame->IsLoading())
                    return false;
                ce::PumpMessages();
                const int count = g_contactList.GetCount();
                return ViewCount() == count && (count == 0 || CurrentRow() >= 0);
            },
            timeoutMs);
    }

    // Closes the frame as "Salir" does and waits until it is gone.
    void CloseFrame()
    {
        ASSERT_TRUE(ce::IsWindow(frameWindow));
        ce::PostMessageW(frameWindow, ce::WM_COMMAND, ce::ID_APP_EXIT, 0);
        EXPECT_TRUE(WaitFor([this] { return !ce::IsWindow(frameWindow); }));
        frame = nullptr;
        frameWindow = nullptr;
    }

    ce::HWND ListView() const { return frame ? frame->GetListView() : nullptr; }
    int CurrentRow() const
    {
        return int(ce::SendMessageW(ListView(), ce::LVM_GETNEXTITEM, ce::WPARAM(-1),
                                    ce::LVNI_FOCUSED | ce::LVNI_SELECTED));
    }
    int ViewCount() const { return int(ce::SendMessageW(ListView(), ce::LVM_GETITEMCOUNT, 0, 0)); }

    CMainFrame* frame = nullptr;
    ce::HWND frameWindow = nullptr;
};

} // namespace shelltest
