// The questions a focus worker asks another program about its focused element, against the
// real window manager and Active Accessibility of Wine, which has no UI Automation client:
// the windows asked about belong to this test's main thread, asked from a worker thread in
// COM's multithreaded apartment, as Tavrin asks another program.
#include <windows.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "app/accessibility_libraries.h"
#include "app/focus_question.h"
#include "tests/win32/test_window_class_win32.h"

namespace {

constexpr wchar_t PASSWORD_BOX_CLASS[] = L"TavrinTestPasswordBox";
constexpr wchar_t PLAIN_CLASS[] = L"TavrinTestPlain";

// Asks from a worker thread while this thread answers its windows' messages.
FocusAnswer askFromWorker(HWND window, LONG object = OBJID_CLIENT, LONG child = CHILDID_SELF) {
    std::atomic<bool> done{false};
    FocusAnswer answer = FocusAnswer::Unknown;
    std::thread worker([&] {
        const ComApartment apartment(accessibilityLibraries());
        FocusQuestions questions;
        answer = apartment.entered() ? questions.answer({1, window, object, child}) : FocusAnswer::Unknown;
        done = true;
    });
    while (!done) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        Sleep(1);
    }
    worker.join();
    return answer;
}

// An element of a page that a program draws itself, as a browser does: the page's root
// object, whose focus is a field, and the field, which says whether it is protected. (Wine
// cannot hand such an object to another apartment, so it is judged here without a window.)
class PageElement final : public IAccessible {
public:
    PageElement(PageElement* focus, LONG state) : focus_(focus), state_(state) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, IID_IAccessible)) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }  // lives as long as the test
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        VariantInit(focus);
        if (focus_) {
            focus->vt = VT_DISPATCH;
            focus->pdispVal = focus_;
            focus_->AddRef();
        } else {
            focus->vt = VT_I4;
            focus->lVal = CHILDID_SELF;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        if (child.vt != VT_I4 || child.lVal != CHILDID_SELF) return E_INVALIDARG;
        state->vt = VT_I4;
        state->lVal = state_;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT, IDispatch**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT, BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT, BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT, BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT, VARIANT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR*, VARIANT, long*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT, BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE accSelect(long, VARIANT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE accLocation(long*, long*, long*, long*, VARIANT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE accNavigate(long, VARIANT, VARIANT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE accHitTest(long, long, VARIANT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    PageElement* focus_;
    LONG state_;
};

FocusAnswer judgedFromTheRoot(PageElement& root) {
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    return focusedElementProtection(&root, self, *accessibilityLibraries());
}

WNDPROC editProc = nullptr;
LRESULT CALLBACK passwordBoxProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcW(editProc, window, msg, wParam, lParam);
}

class FocusQuestionTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        WNDCLASSEXW edit{};
        edit.cbSize = sizeof edit;
        GetClassInfoExW(nullptr, L"EDIT", &edit);
        editProc = edit.lpfnWndProc;
        registerTestWindowClass(PASSWORD_BOX_CLASS, passwordBoxProc, edit);
        registerTestWindowClass(PLAIN_CLASS);
    }

    HWND make(const wchar_t* className, DWORD style = 0) {
        HWND window = CreateWindowExW(0, className, L"", WS_POPUP | style, 0, 0, 100, 30, nullptr, nullptr,
                                      GetModuleHandleW(nullptr), nullptr);
        created.push_back(window);
        return window;
    }
    void TearDown() override {
        for (HWND window : created) DestroyWindow(window);
    }

    std::vector<HWND> created;
};

}  // namespace

TEST_F(FocusQuestionTest, EditControlsTellTheirPasswordCharacterWhateverTheirClassIsCalled) {
    EXPECT_EQ(askFromWorker(make(PASSWORD_BOX_CLASS, ES_PASSWORD)), FocusAnswer::Password);
    EXPECT_EQ(askFromWorker(make(L"EDIT", ES_PASSWORD)), FocusAnswer::Password);
    EXPECT_EQ(askFromWorker(make(PASSWORD_BOX_CLASS)), FocusAnswer::NotPassword);
}

TEST(FocusedElementProtection, AFieldInsideAPageIsFoundByFollowingTheFocusDownFromItsRoot) {
    ASSERT_NE(accessibilityLibraries(), nullptr);
    PageElement passwordField{nullptr, STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED | STATE_SYSTEM_PROTECTED};
    PageElement plainField{nullptr, STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED};
    PageElement signInForm{&passwordField, STATE_SYSTEM_FOCUSABLE};
    PageElement searchPage{&plainField, STATE_SYSTEM_FOCUSABLE};
    PageElement formInFrame{&signInForm, STATE_SYSTEM_FOCUSABLE};
    EXPECT_EQ(judgedFromTheRoot(signInForm), FocusAnswer::Password);
    EXPECT_EQ(judgedFromTheRoot(formInFrame), FocusAnswer::Password);
    EXPECT_EQ(judgedFromTheRoot(searchPage), FocusAnswer::NotPassword);
}

TEST_F(FocusQuestionTest, AWindowThatTellsAccessibilityNothingIsNoPasswordField) {
    EXPECT_EQ(askFromWorker(make(PLAIN_CLASS)), FocusAnswer::NotPassword);
}

TEST_F(FocusQuestionTest, AProgramThatDoesNotAnswerOrAWindowThatIsGoneGetsNoVerdict) {
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::atomic<HWND> hung{nullptr};
    std::thread blocked([&] {
        hung = CreateWindowExW(0, PLAIN_CLASS, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, GetModuleHandleW(nullptr),
                               nullptr);
        WaitForSingleObject(release, INFINITE);  // answers no message meanwhile
        DestroyWindow(hung);
    });
    while (!hung) Sleep(1);
    EXPECT_EQ(askFromWorker(hung), FocusAnswer::Unknown);
    SetEvent(release);
    blocked.join();
    CloseHandle(release);

    HWND gone = make(PLAIN_CLASS);
    DestroyWindow(gone);
    EXPECT_EQ(askFromWorker(gone), FocusAnswer::Unknown);
}
