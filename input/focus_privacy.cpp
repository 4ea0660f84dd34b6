#include "input/focus_privacy.h"

#include <cwctype>
#include <string>

namespace {

std::wstring lowered(std::wstring_view text) {
    std::wstring out(text);
    for (wchar_t& c : out) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    return out;
}

}  // namespace

bool isEditClassName(std::wstring_view className) {
    const std::wstring name = lowered(className);
    return name == L"edit" || name.starts_with(L"richedit") || name.find(L".edit.") != std::wstring::npos;
}
