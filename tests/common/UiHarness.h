// What the window tests of every folder share: the window system started in
// a language and code page, a window over the device screen, counting the
// pixels of a grab, the pictures scripts/pictures collects, the interface
// in a satellite's language, running a modal dialog while acting in it, and
// message boxes answered without being shown.
#pragma once
#include "platform/core/CodePage.h"
#include "platform/core/Resources.h"
#include "platform/ui/Afx.h"
#include "platform/ui/testing/EventPump.h"
#include "platform/ui/testing/MessageBoxAnswer.h"
#include "platform/ui/testing/ScreenGrab.h"

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace uiharness {

constexpr ce::COLORREF White = ce::RGB(255, 255, 255);
constexpr ce::COLORREF Black = ce::RGB(0, 0, 0);
constexpr int ScreenWidth = 320, ScreenHeight = 240;

// Qt's offscreen screen, the interface in `language` (a satellite's number;
// "0c0a" is the built-in Spanish) and the data file's code page.
inline void StartWindowSystem(const char* language = "0c0a", unsigned codePage = 936)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::setenv("CONTACTS_UI_LANGUAGE", language, 1);
    ce::SetACP(codePage);
    ce::InitPlatform();
}

// A visible pop-up window over the whole device screen.
inline bool CreateScreenWindow(ce::CWnd& window)
{
    return window.CreateEx(0, ce::AfxRegisterWndClass(0), u"", ce::WS_POPUP | ce::WS_VISIBLE, 0, 0, ScreenWidth,
                           ScreenHeight, nullptr, nullptr);
}

// How many pixels of the rectangle (clipped to the image) `match` takes.
inline int CountPixels(const ce::ScreenImage& image, const ce::RECT& rect,
                       const std::function<bool(ce::COLORREF)>& match)
{
    int count = 0;
    for (int y = std::max(0, int(rect.top)); y < std::min(image.height, int(rect.bottom)); ++y)
        for (int x = std::max(0, int(rect.left)); x < std::min(image.width, int(rect.right)); ++x)
            count += match(image.Pixel(x, y));
    return count;
}

// Pixels of the rectangle that are not white.
inline int InkIn(const ce::ScreenImage& image, const ce::RECT& rect)
{
    return CountPixels(image, rect, [](ce::COLORREF pixel) { return pixel != White; });
}

inline int PixelsOf(const ce::ScreenImage& image, const ce::RECT& rect, ce::COLORREF colour)
{
    return CountPixels(image, rect, [colour](ce::COLORREF pixel) { return pixel == colour; });
}

inline ce::SIZE TextExtent(ce::HWND window, const std::u16string& text)
{
    ce::HDC dc = ce::GetDC(window);
    ce::SIZE size{};
    ce::GetTextExtentExPointW(dc, text.c_str(), int(text.size()), -1, nullptr, nullptr, &size);
    ce::ReleaseDC(window, dc);
    return size;
}

#ifdef CONTACTS_PICTURES_DIR
// Saves the screen (by default grabbed now) as <build>/pictures/<name>.png,
// where scripts/pictures collects the README's pictures.
inline bool SavePicture(const std::string& name, const ce::ScreenImage& screen = ce::GrabScreen())
{
    return screen.SavePng(std::string(CONTACTS_PICTURES_DIR) + "/" + name + ".png");
}
#endif

#ifdef CONTACTS_SATELLITE_DIR
// While it lives, the interface speaks `language`: a shipped satellite's
// number, or "0c0a" for the built-in Spanish. Freeing the satellite brings
// the program's own resources back; `module` is null when it is missing.
class InterfaceLanguage {
public:
    explicit InterfaceLanguage(const std::string& language)
        : module(language == "0c0a" ? ce::AfxGetInstanceHandle()
                                    : ce::LoadResourceModule(CONTACTS_SATELLITE_DIR "/Contacts.exe." + language + ".mui"))
    {
        ce::AfxSetResourceHandle(module);
    }
    ~InterfaceLanguage() { ce::FreeLibrary(module); }
    InterfaceLanguage(const InterfaceLanguage&) = delete;

    const ce::HMODULE module;
};
#endif

// Runs `command`, which may open a modal dialog or question, with `whileOpen`
// acting in it; closes it after if it is still up. Returns its caption,
// empty when none came up.
inline std::u16string RunWithDialog(const std::function<void()>& command,
                                    const std::function<void()>& whileOpen = [] {})
{
    const ce::HWND before = ce::GetActiveWindow();
    auto running = std::make_shared<bool>(true);
    auto caption = std::make_shared<std::u16string>();
    ce::PostTask([=] {
        const ce::HWND dialog = ce::GetActiveWindow();
        if (!*running || dialog == before)
            return;
        *caption = ce::GetWindowText(dialog);
        whileOpen();
        ce::PostTask([running, dialog] {
            if (*running && ce::IsWindow(dialog))
                ce::SendMessageW(dialog, ce::WM_CLOSE);
        });
    });
    command();
    *running = false;
    ce::PumpMessages();
    return *caption;
}

// While it lives, every message box is answered without being shown (by
// `answer`, or with `reply`) and its text kept in `texts`.
class AnsweredMessageBoxes {
public:
    explicit AnsweredMessageBoxes(int reply = ce::IDOK, std::function<int()> answer = {})
    {
        ce::SetMessageBoxHook([this, reply, answer](ce::HWND, const std::u16string& text, const std::u16string&, ce::UINT) {
            texts.push_back(text);
            return answer ? answer() : reply;
        });
    }
    ~AnsweredMessageBoxes() { ce::SetMessageBoxHook({}); }
    AnsweredMessageBoxes(const AnsweredMessageBoxes&) = delete;
    AnsweredMessageBoxes& operator=(const AnsweredMessageBoxes&) = delete;

    std::vector<std::u16string> texts;
};

} // namespace uiharness
