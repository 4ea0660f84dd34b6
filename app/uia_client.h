#pragma once
// The few UI Automation client interfaces this program calls, declared here: Debian 12's
// MinGW-w64 headers carry only UI Automation's identifiers, not its client interfaces, and
// other MinGW-w64 headers (MSYS2's) carry all of them, so they live in a namespace of their
// own. A call goes through its method's slot in the interface's table, so every method is
// declared, in the order of the interface's documented definition (UIAutomationClient.idl),
// up to the last one called here; the methods after it are left out. The order was checked
// against Wine's generated uiautomationclient.h (Debian's libwine-dev), which the build does
// not use.
#include <windows.h>
#include <oaidl.h>
#include <unknwn.h>

namespace uia {

using PROPERTYID = int;
using PATTERNID = int;
using EVENTID = int;
using UIA_HWND = void*;

constexpr PROPERTYID ProcessIdPropertyId = 30002;
constexpr PROPERTYID IsPasswordPropertyId = 30019;
constexpr PROPERTYID NativeWindowHandlePropertyId = 30020;

// {ff48dba4-60ef-4201-aa87-54103eef594e}
constexpr CLSID CLSID_CUIAutomation = {0xff48dba4, 0x60ef, 0x4201, {0xaa, 0x87, 0x54, 0x10, 0x3e, 0xef, 0x59, 0x4e}};
// Where COM finds the class: a system without UI Automation's client has no such key.
constexpr wchar_t CUIAutomationServerKey[] = L"CLSID\\{ff48dba4-60ef-4201-aa87-54103eef594e}\\InprocServer32";
// {30cbe57d-d9d0-452a-ab13-7ac5ac4825ee}
constexpr IID IID_IUIAutomation = {0x30cbe57d, 0xd9d0, 0x452a, {0xab, 0x13, 0x7a, 0xc5, 0xac, 0x48, 0x25, 0xee}};
// {c270f6b5-5c69-4290-9745-7a7f97169468}
constexpr IID IID_IUIAutomationFocusChangedEventHandler = {
    0xc270f6b5, 0x5c69, 0x4290, {0x97, 0x45, 0x7a, 0x7f, 0x97, 0x16, 0x94, 0x68}};

enum TreeScope { TreeScope_Element = 0x1 };
enum PropertyConditionFlags { PropertyConditionFlags_None = 0 };

struct IUIAutomationCondition;
struct IUIAutomationTreeWalker;
struct IUIAutomationElementArray;
struct IUIAutomationEventHandler;
struct IUIAutomationPropertyChangedEventHandler;
struct IUIAutomationStructureChangedEventHandler;

struct IUIAutomationCacheRequest : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE AddProperty(PROPERTYID propertyId) = 0;
};

struct IUIAutomationElement : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE SetFocus() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetRuntimeId(SAFEARRAY** runtimeId) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindFirst(TreeScope scope, IUIAutomationCondition* condition,
                                                IUIAutomationElement** found) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindAll(TreeScope scope, IUIAutomationCondition* condition,
                                              IUIAutomationElementArray** found) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindFirstBuildCache(TreeScope scope, IUIAutomationCondition* condition,
                                                          IUIAutomationCacheRequest* cacheRequest,
                                                          IUIAutomationElement** found) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindAllBuildCache(TreeScope scope, IUIAutomationCondition* condition,
                                                        IUIAutomationCacheRequest* cacheRequest,
                                                        IUIAutomationElementArray** found) = 0;
    virtual HRESULT STDMETHODCALLTYPE BuildUpdatedCache(IUIAutomationCacheRequest* cacheRequest,
                                                        IUIAutomationElement** updatedElement) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCurrentPropertyValue(PROPERTYID propertyId, VARIANT* retVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCurrentPropertyValueEx(PROPERTYID propertyId, BOOL ignoreDefaultValue,
                                                                VARIANT* retVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCachedPropertyValue(PROPERTYID propertyId, VARIANT* retVal) = 0;
};

struct IUIAutomationFocusChangedEventHandler : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE HandleFocusChangedEvent(IUIAutomationElement* sender) = 0;
};

struct IUIAutomation : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE CompareElements(IUIAutomationElement* el1, IUIAutomationElement* el2,
                                                      BOOL* areSame) = 0;
    virtual HRESULT STDMETHODCALLTYPE CompareRuntimeIds(SAFEARRAY* runtimeId1, SAFEARRAY* runtimeId2,
                                                        BOOL* areSame) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetRootElement(IUIAutomationElement** root) = 0;
    virtual HRESULT STDMETHODCALLTYPE ElementFromHandle(UIA_HWND hwnd, IUIAutomationElement** element) = 0;
    virtual HRESULT STDMETHODCALLTYPE ElementFromPoint(POINT pt, IUIAutomationElement** element) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFocusedElement(IUIAutomationElement** element) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetRootElementBuildCache(IUIAutomationCacheRequest* cacheRequest,
                                                               IUIAutomationElement** root) = 0;
    virtual HRESULT STDMETHODCALLTYPE ElementFromHandleBuildCache(UIA_HWND hwnd, IUIAutomationCacheRequest* cacheRequest,
                                                                  IUIAutomationElement** element) = 0;
    virtual HRESULT STDMETHODCALLTYPE ElementFromPointBuildCache(POINT pt, IUIAutomationCacheRequest* cacheRequest,
                                                                 IUIAutomationElement** element) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFocusedElementBuildCache(IUIAutomationCacheRequest* cacheRequest,
                                                                  IUIAutomationElement** element) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateTreeWalker(IUIAutomationCondition* condition,
                                                       IUIAutomationTreeWalker** walker) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ControlViewWalker(IUIAutomationTreeWalker** walker) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ContentViewWalker(IUIAutomationTreeWalker** walker) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_RawViewWalker(IUIAutomationTreeWalker** walker) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_RawViewCondition(IUIAutomationCondition** condition) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ControlViewCondition(IUIAutomationCondition** condition) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ContentViewCondition(IUIAutomationCondition** condition) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateCacheRequest(IUIAutomationCacheRequest** cacheRequest) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateTrueCondition(IUIAutomationCondition** newCondition) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateFalseCondition(IUIAutomationCondition** newCondition) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreatePropertyCondition(PROPERTYID propertyId, VARIANT value,
                                                              IUIAutomationCondition** newCondition) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreatePropertyConditionEx(PROPERTYID propertyId, VARIANT value,
                                                                PropertyConditionFlags flags,
                                                                IUIAutomationCondition** newCondition) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateAndCondition(IUIAutomationCondition* condition1,
                                                         IUIAutomationCondition* condition2,
                                                         IUIAutomationCondition** newCondition) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateAndConditionFromArray(SAFEARRAY* conditions,
                                                                  IUIAutomationCondition** newCondition) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateAndConditionFromNativeArray(IUIAutomationCondition** conditions,
                                                                        int conditionCount,
                                                                        IUIAutomationCondition** newCondition) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateOrCondition(IUIAutomationCondition* condition1,
                                                        IUIAutomationCondition* condition2,
                                                        IUIAutomationCondition** newCondition) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateOrConditionFromArray(SAFEARRAY* conditions,
                                                                 IUIAutomationCondition** newCondition) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateOrConditionFromNativeArray(IUIAutomationCondition** conditions,
                                                                       int conditionCount,
                                                                       IUIAutomationCondition** newCondition) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateNotCondition(IUIAutomationCondition* condition,
                                                         IUIAutomationCondition** newCondition) = 0;
    virtual HRESULT STDMETHODCALLTYPE AddAutomationEventHandler(EVENTID eventId, IUIAutomationElement* element,
                                                                TreeScope scope, IUIAutomationCacheRequest* cacheRequest,
                                                                IUIAutomationEventHandler* handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE RemoveAutomationEventHandler(EVENTID eventId, IUIAutomationElement* element,
                                                                   IUIAutomationEventHandler* handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE AddPropertyChangedEventHandlerNativeArray(
        IUIAutomationElement* element, TreeScope scope, IUIAutomationCacheRequest* cacheRequest,
        IUIAutomationPropertyChangedEventHandler* handler, PROPERTYID* propertyArray, int propertyCount) = 0;
    virtual HRESULT STDMETHODCALLTYPE AddPropertyChangedEventHandler(IUIAutomationElement* element, TreeScope scope,
                                                                     IUIAutomationCacheRequest* cacheRequest,
                                                                     IUIAutomationPropertyChangedEventHandler* handler,
                                                                     SAFEARRAY* propertyArray) = 0;
    virtual HRESULT STDMETHODCALLTYPE RemovePropertyChangedEventHandler(
        IUIAutomationElement* element, IUIAutomationPropertyChangedEventHandler* handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE AddStructureChangedEventHandler(IUIAutomationElement* element, TreeScope scope,
                                                                      IUIAutomationCacheRequest* cacheRequest,
                                                                      IUIAutomationStructureChangedEventHandler* handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE RemoveStructureChangedEventHandler(
        IUIAutomationElement* element, IUIAutomationStructureChangedEventHandler* handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE AddFocusChangedEventHandler(IUIAutomationCacheRequest* cacheRequest,
                                                                  IUIAutomationFocusChangedEventHandler* handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE RemoveFocusChangedEventHandler(IUIAutomationFocusChangedEventHandler* handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE RemoveAllEventHandlers() = 0;
};

}  // namespace uia
