#include "win32/ControlHints.h"

#include <commctrl.h>

#include "win32/AccessibleClient.h"
#include "win32/Wide.h"

namespace kivo::win32 {
namespace {

constexpr UINT_PTR kHintSubclass = 0x4B48;  // "KH"

LRESULT CALLBACK answerWithHint(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                UINT_PTR id, DWORD_PTR data) {
    auto* facts = reinterpret_cast<ClientFacts*>(data);
    switch (message) {
        case WM_GETOBJECT:
            if (const LRESULT answer = answerClientObject(control, *facts, wParam, lParam))
                return answer;
            break;
        case WM_NCDESTROY:
            RemoveWindowSubclass(control, answerWithHint, id);
            delete facts;
            break;
        default:
            break;
    }
    return DefSubclassProc(control, message, wParam, lParam);
}

}  // namespace

std::wstring shownCaption(std::string_view caption) {
    const std::wstring units = wide(caption);
    std::wstring shown;
    for (std::size_t i = 0; i < units.size(); ++i) {
        if (units[i] == L'&' && i + 1 < units.size()) ++i;
        shown.push_back(units[i]);
    }
    return shown;
}

ControlHints::ControlHints(HWND window, int tipWidth) : window_(window) {
    tips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                            WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                            CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
    SendMessageW(tips_, TTM_SETMAXTIPWIDTH, 0, tipWidth);
}

void ControlHints::add(HWND control, std::string_view shown, std::string_view hint) {
    std::wstring text = wide(hint);
    SetWindowSubclass(control, answerWithHint, kHintSubclass,
                      reinterpret_cast<DWORD_PTR>(
                          new ClientFacts{shownCaption(shown), text, std::nullopt, nullptr}));
    if (!tips_) return;
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = text.data();  // copied by the tip window
    SendMessageW(tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace kivo::win32
