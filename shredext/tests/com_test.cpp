// The cMenu object in-process: what Explorer sees of it through IShellExtInit and
// IContextMenu, and the server's reference counting.
#include <windows.h>

#include <shlobj.h>

#include <gtest/gtest.h>

#include "../dll/cmenu.h"
#include "../dll/identity.h"
#include "hdrop_data_object.h"
#include "test_support.h"

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID, REFIID, void**);
extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow();

namespace shredtest {
namespace {

using ardshred::CMenu;

struct Message {
    HWND owner;
    std::wstring text;
};

class CMenuTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        menu_ = ardshred::CreateCMenu();
        menu_->SetNotifier([this](HWND owner, const std::wstring& text, UINT) {
            messages_.push_back({owner, text});
        });
    }
    void TearDown() override {
        menu_->Release();
        ::CoUninitialize();
    }
    HRESULT Select(std::vector<std::wstring> paths, HRESULT getData = S_OK) {
        auto* data = new HdropDataObject(std::move(paths), getData);
        const HRESULT hr = menu_->Initialize(nullptr, data, nullptr);
        EXPECT_EQ(data->refs(), 1u) << "the handler keeps no reference to the data object";
        data->Release();
        return hr;
    }
    HRESULT Invoke(LPCSTR verb, DWORD mask = CMIC_MASK_FLAG_NO_UI) {
        CMINVOKECOMMANDINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = mask;
        info.hwnd = reinterpret_cast<HWND>(0x1234);
        info.lpVerb = verb;
        return menu_->InvokeCommand(&info);
    }

    CMenu* menu_ = nullptr;
    std::vector<Message> messages_;
};

TEST_F(CMenuTest, QueryContextMenuAddsItemAndSeparatorOnlyForTheRightFlags) {
    const struct {
        UINT flags;
        bool added;
    } cases[] = {{CMF_NORMAL, true},
                 {CMF_DEFAULTONLY, false},
                 {CMF_VERBSONLY, true},
                 {CMF_EXPLORE, true},
                 {CMF_NOVERBS, false},
                 {CMF_CANRENAME, true},
                 {CMF_CANRENAME | CMF_DEFAULTONLY, false},
                 {CMF_DEFAULTONLY | CMF_VERBSONLY, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE("flags " + std::to_string(c.flags));
        HMENU popup = ::CreatePopupMenu();
        ::AppendMenuW(popup, MF_STRING, 1, L"before");
        ::AppendMenuW(popup, MF_STRING, 2, L"after");
        const HRESULT hr = menu_->QueryContextMenu(popup, 1, 100, 200, c.flags);
        EXPECT_EQ(hr, c.added ? 1 : 0);
        ASSERT_EQ(::GetMenuItemCount(popup), c.added ? 4 : 2);
        if (c.added) {
            wchar_t text[64] = {};
            MENUITEMINFOW item{};
            item.cbSize = sizeof(item);
            item.fMask = MIIM_ID | MIIM_STRING | MIIM_FTYPE;
            item.dwTypeData = text;
            item.cch = 64;
            ASSERT_TRUE(::GetMenuItemInfoW(popup, 1, TRUE, &item));
            EXPECT_EQ(item.wID, 100u);
            EXPECT_STREQ(text, L"&Ardeno Shredder");
            item.fMask = MIIM_FTYPE;
            ASSERT_TRUE(::GetMenuItemInfoW(popup, 2, TRUE, &item));
            EXPECT_TRUE(item.fType & MFT_SEPARATOR);
        }
        ::DestroyMenu(popup);
    }
}

TEST_F(CMenuTest, GetCommandStringCutsToTheBufferAndNeverWritesPastIt) {
    const struct {
        UINT_PTR idCmd;
        UINT type;
        UINT cchMax;
        const wchar_t* expected;  // nullptr: the buffer stays untouched
    } cases[] = {
        {0, GCS_HELPTEXTA, 64, L"Lose your unwanted data for ever. "},
        {0, GCS_HELPTEXTW, 64, L"Lose your unwanted data for ever. "},
        {0, GCS_HELPTEXTA, 10, L"Lose your"},
        {0, GCS_HELPTEXTW, 10, L"Lose your"},
        {0, GCS_VERBA, 64, L"(GCS_VERB)MENUITEM1"},
        {0, GCS_VERBW, 64, L"(GCS_VERB)MENUITEM1"},
        {0, GCS_VALIDATEA, 64, L"(GCS_VALIDATE)New menu item number 1"},
        {0, GCS_VALIDATEW, 5, L"(GCS"},
        {0, GCS_VERBW, 1, L""},
        {1, GCS_HELPTEXTW, 64, L""},
        {0, GCS_HELPTEXTW, 0, nullptr},
        {0, GCS_VERBICONW, 64, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("type " + std::to_string(c.type) + " cchMax " + std::to_string(c.cchMax));
        const bool wide = c.type & GCS_UNICODE;
        const std::size_t unit = wide ? 2 : 1;
        std::vector<unsigned char> buffer(80 * 2, 0xCC);
        EXPECT_EQ(menu_->GetCommandString(c.idCmd, c.type, nullptr,
                                          reinterpret_cast<CHAR*>(buffer.data()), c.cchMax),
                  S_OK);
        std::size_t used = 0;
        if (c.expected != nullptr) {
            const std::wstring expected = c.expected;
            std::wstring got;
            for (std::size_t i = 0; i <= expected.size(); ++i)
                got += wide ? reinterpret_cast<wchar_t*>(buffer.data())[i]
                            : static_cast<wchar_t>(buffer[i]);
            EXPECT_EQ(got, expected + L'\0');
            used = (expected.size() + 1) * unit;
        }
        for (std::size_t i = used; i < buffer.size(); ++i)
            ASSERT_EQ(buffer[i], 0xCC) << "byte " << i << " written past the text";
    }
}

TEST_F(CMenuTest, InitializeTakesEveryPathWholeAndReplacesAnEarlierSelection) {
    std::wstring longPath = L"C:\\";
    while (longPath.size() < 600) longPath += L"averylongfoldername\\";
    longPath += L"файл-名前.txt";
    ASSERT_EQ(Select({L"C:\\first.txt"}), S_OK);
    ASSERT_EQ(Select({L"C:\\a.txt", longPath, L"D:\\folder"}), S_OK);
    const std::vector<std::wstring> expected = {L"", L"C:\\a.txt", longPath, L"D:\\folder"};
    EXPECT_EQ(menu_->Selection(), expected);
    EXPECT_EQ(Select({L"C:\\b.txt"}, E_ACCESSDENIED), E_ACCESSDENIED);
    EXPECT_EQ(menu_->Selection(), expected) << "a failed GetData changes nothing";
    EXPECT_EQ(menu_->Initialize(nullptr, nullptr, nullptr), E_INVALIDARG);
}

TEST_F(CMenuTest, InvokeRunsOnlyForTheCaptionVerbOrOffsetZero) {
    const struct {
        LPCSTR verb;
        bool runs;
    } cases[] = {
        {"(GCS_VERB)MENUITEM1", false}, {"&ardeno shredder", false}, {"delete", false},
        {MAKEINTRESOURCEA(1), false},   {"&Ardeno Shredder", true},  {MAKEINTRESOURCEA(0), true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(IS_INTRESOURCE(c.verb) ? "offset" : c.verb);
        TempDir dir;
        WriteBytes(dir / "a.txt", Filler(300));
        MakeDirs(dir / "tree" / "sub");
        WriteBytes(dir / "tree" / "sub" / "b.txt", Filler(300));
        ASSERT_EQ(Select({(dir / "a.txt").native(), (dir / "tree").native()}), S_OK);
        // A verb that is not ours fails, so that the shell passes it on to other handlers.
        EXPECT_EQ(Invoke(c.verb), c.runs ? S_OK : E_FAIL);
        EXPECT_EQ(Exists(dir / "a.txt"), !c.runs);
        EXPECT_EQ(Exists(dir / "tree"), !c.runs);
    }
    EXPECT_TRUE(messages_.empty());
}

TEST_F(CMenuTest, EmptySelectionTellsTheUserUnlessAskedForNoUi) {
    EXPECT_EQ(Invoke("&Ardeno Shredder", CMIC_MASK_FLAG_NO_UI), S_OK);
    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(Invoke("&Ardeno Shredder", 0), S_OK);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text, L"No files or folders were selected.");
    EXPECT_EQ(messages_[0].owner, reinterpret_cast<HWND>(0x1234));
}

TEST_F(CMenuTest, WhatCouldNotBeShreddedIsReportedOnceAndFailsTheCommand) {
    TempDir dir;
    WriteBytes(dir / "locked.txt", Filler(10));
    WriteBytes(dir / "other.txt", Filler(10));
    HANDLE holder = ::CreateFileW((dir / "locked.txt").c_str(), GENERIC_READ, 0, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    ASSERT_EQ(Select({(dir / "locked.txt").native(), (dir / "other.txt").native()}), S_OK);
    EXPECT_EQ(Invoke(MAKEINTRESOURCEA(0), CMIC_MASK_FLAG_NO_UI),
              HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION));
    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(Invoke(MAKEINTRESOURCEA(0), 0), HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION));
    ::CloseHandle(holder);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_NE(messages_[0].text.find((dir / "locked.txt").native()), std::wstring::npos);
    EXPECT_EQ(messages_[0].text.find(L"other.txt"), std::wstring::npos);
    EXPECT_TRUE(Exists(dir / "locked.txt"));
    EXPECT_FALSE(Exists(dir / "other.txt"));
}

TEST(CMenuServer, ObjectsFactoriesAndLocksKeepTheModuleLoaded) {
    ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    EXPECT_EQ(DllCanUnloadNow(), S_OK);
    IClassFactory* factory = nullptr;
    EXPECT_EQ(
        DllGetClassObject(IID_IContextMenu, IID_IClassFactory, reinterpret_cast<void**>(&factory)),
        CLASS_E_CLASSNOTAVAILABLE);
    ASSERT_EQ(DllGetClassObject(ardshred::kClsidCMenu, IID_IClassFactory,
                                reinterpret_cast<void**>(&factory)),
              S_OK);
    EXPECT_EQ(DllCanUnloadNow(), S_FALSE);

    IUnknown* outer = reinterpret_cast<IUnknown*>(factory);
    void* none = nullptr;
    EXPECT_EQ(factory->CreateInstance(outer, IID_IUnknown, &none), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IClassFactory, &none), E_NOINTERFACE);
    EXPECT_EQ(none, nullptr);

    IContextMenu* menu = nullptr;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IContextMenu, reinterpret_cast<void**>(&menu)),
              S_OK);
    for (const IID& iid :
         {IID_IShellExtInit, IID_IDispatch, ardshred::kIidCMenuDispatch, IID_IUnknown}) {
        IUnknown* other = nullptr;
        ASSERT_EQ(menu->QueryInterface(iid, reinterpret_cast<void**>(&other)), S_OK);
        other->Release();
    }
    ASSERT_EQ(factory->LockServer(TRUE), S_OK);
    EXPECT_EQ(menu->Release(), 0u);
    factory->Release();
    EXPECT_EQ(DllCanUnloadNow(), S_FALSE) << "LockServer still holds the module";
    ASSERT_EQ(DllGetClassObject(ardshred::kClsidCMenu, IID_IClassFactory,
                                reinterpret_cast<void**>(&factory)),
              S_OK);
    ASSERT_EQ(factory->LockServer(FALSE), S_OK);
    EXPECT_EQ(DllCanUnloadNow(), S_FALSE) << "a factory reference still holds it";
    factory->Release();
    EXPECT_EQ(DllCanUnloadNow(), S_OK);
    ::CoUninitialize();
}

}  // namespace
}  // namespace shredtest
