// The registry store and the compiled resources, checked in the real Win32
// environment. The store tests use a scratch key of their own so they never
// disturb the program's settings.
#include "context/FontSettingWin32.h"
#include "context/Persist.h"
#include "resources/resource.h"
#include "settings/SettingsAccessor.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

const char kScratchKey[] = "Software\\Marbleton\\Quillon settings test";

class RegistryStore : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteKeyA(HKEY_CURRENT_USER, kScratchKey); }
    void TearDown() override { RegDeleteKeyA(HKEY_CURRENT_USER, kScratchKey); }

    // Stores raw data of any type, bypassing Persist.
    static void SetRaw(const char* name, DWORD type, const void* data, DWORD size) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kScratchKey, 0, nullptr, 0, KEY_SET_VALUE,
                                  nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
        RegCloseKey(key);
    }

    // The stored type and size of a value, or REG_NONE when absent.
    static std::pair<DWORD, DWORD> TypeAndSize(const char* name) {
        HKEY key = nullptr;
        DWORD type = REG_NONE, size = 0;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kScratchKey, 0, KEY_READ, &key) == ERROR_SUCCESS) {
            if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
                type = REG_NONE;
            RegCloseKey(key);
        }
        return {type, size};
    }
};

} // namespace

TEST_F(RegistryStore, ReadingCreatesNoKeyAndWritesStoreDwordsAndTerminatedTexts) {
    int value = 7;
    std::string text = "keep";
    {
        Persist key(kScratchKey, PersistMode::Read);
        EXPECT_FALSE(key.IsOpen());
        EXPECT_FALSE(key.ReadInt("WindowX", value) || key.ReadString("Name", text));
    }
    EXPECT_EQ(value, 7);
    EXPECT_EQ(text, "keep");
    EXPECT_EQ(TypeAndSize("WindowX").first, static_cast<DWORD>(REG_NONE));
    {
        Persist key(kScratchKey, PersistMode::Write);
        ASSERT_TRUE(key.IsOpen());
        key.WriteInt("WindowX", -50);
        key.WriteString("WordplayFont", "0,0,0,-15");
    }
    EXPECT_EQ(TypeAndSize("WindowX"), (std::pair<DWORD, DWORD>{REG_DWORD, 4}));
    EXPECT_EQ(TypeAndSize("WordplayFont"), (std::pair<DWORD, DWORD>{REG_SZ, 10}));
    Persist key(kScratchKey, PersistMode::Read);
    EXPECT_TRUE(key.ReadInt("WindowX", value) && key.ReadString("WordplayFont", text));
    EXPECT_EQ(value, -50);
    EXPECT_EQ(text, "0,0,0,-15");
}

// Values of the wrong type or size, as another program might leave them.
TEST_F(RegistryStore, RawValuesAreReadWithinTheirBuffers) {
    SetRaw("Short", REG_SZ, "AB", 3);
    SetRaw("Long", REG_SZ, "ABCDE", 6);
    std::vector<char> full(kSettingsTextBuffer, 'x');
    SetRaw("Full", REG_BINARY, full.data(), static_cast<DWORD>(full.size()));
    std::vector<char> over(kSettingsTextBuffer + 1, 'y');
    SetRaw("Over", REG_BINARY, over.data(), static_cast<DWORD>(over.size()));
    SetRaw("Unterminated", REG_BINARY, "hi", 2);

    Persist key(kScratchKey, PersistMode::Read);
    int value = 99;
    EXPECT_TRUE(key.ReadInt("Short", value));
    EXPECT_EQ(value, 0x4241) << "the raw bytes of a short value";
    value = 99;
    EXPECT_FALSE(key.ReadInt("Long", value));
    EXPECT_EQ(value, 99);
    std::string text;
    EXPECT_TRUE(key.ReadString("Full", text));
    EXPECT_EQ(text.size(), kSettingsTextBuffer);
    text = "keep";
    EXPECT_FALSE(key.ReadString("Over", text));
    EXPECT_EQ(text, "keep");
    EXPECT_TRUE(key.ReadString("Unterminated", text));
    EXPECT_EQ(text, "hi");
}

TEST_F(RegistryStore, AccessorsPrefixNamesAndFallBack) {
    RegistrySettingsStore store(kScratchKey);
    SettingsAccessor view("Wordplay", store);
    EXPECT_EQ(view.GetSettingInt("MaxPieces", 4), 4);
    view.SetSettingInt("MaxPieces", 3);
    view.SetSettingString(SettingsAccessor::IndexedName("ColumnUsage", 1), "x");
    EXPECT_EQ(view.GetSettingInt("MaxPieces", 4), 3);
    EXPECT_EQ(TypeAndSize("WordplayMaxPieces").first, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(TypeAndSize("WordplayColumnUsage1").first, static_cast<DWORD>(REG_SZ));
}

TEST(FontSettingWin32, ConvertsEveryFieldBothWays) {
    FontSetting f = ParseFont("1,2,3,-21,7,900,-900,700,1,1,1,238,3,2,5,34,Times New Roman");
    const LOGFONTA lf = ToLogFontA(f.logFont);
    EXPECT_EQ(lf.lfHeight, -21);
    EXPECT_EQ(lf.lfCharSet, 238);
    EXPECT_STREQ(lf.lfFaceName, "Times New Roman");
    EXPECT_EQ(FromLogFontA(lf), f.logFont);

    LOGFONTA unterminated{};
    std::memset(unterminated.lfFaceName, 'Q', LF_FACESIZE);
    EXPECT_EQ(FromLogFontA(unterminated).FaceName(), std::string(LF_FACESIZE - 1, 'Q'));
}

TEST(CompiledResources, StringsIconCursorAndBitmapsLoad) {
    HINSTANCE module = GetModuleHandleA(nullptr);

    // The main menu and its hints are checked with the running main window.
    char text[512] = {};
    ASSERT_GT(LoadStringA(module, IDC_ANSWERFONT, text, sizeof text), 0);
    EXPECT_STREQ(text, "\nClick to change the answer font");
    ASSERT_GT(LoadStringA(module, IDS_INDICATORKIND0 + 5, text, sizeof text), 0);
    EXPECT_STREQ(text, "Abbreviation");

    EXPECT_NE(LoadImageA(module, "GRIDICON", IMAGE_ICON, 16, 16, 0), nullptr);
    EXPECT_NE(LoadImageA(module, "GRIDICON", IMAGE_ICON, 32, 32, 0), nullptr);
    EXPECT_NE(LoadCursorA(module, MAKEINTRESOURCEA(IDC_POINTINGHAND)), nullptr);
    EXPECT_NE(LoadAcceleratorsA(module, MAKEINTRESOURCEA(IDA_RESULTVIEW)), nullptr);

    const struct {
        int id, width, height;
    } bitmaps[] = {{CM_PREVIEWALL, 19, 17},
                   {CM_PREVIEWSELECTED, 19, 17},
                   {CM_PREVIEWPREVIOUS, 19, 17},
                   {CM_PREVIEWNEXT, 19, 17},
                   {CM_PREVIEWPRINTPAGE, 21, 21}};
    for (const auto& b : bitmaps) {
        HBITMAP bitmap = LoadBitmapA(module, MAKEINTRESOURCEA(b.id));
        ASSERT_NE(bitmap, nullptr) << b.id;
        BITMAP info{};
        GetObjectA(bitmap, sizeof info, &info);
        EXPECT_EQ(info.bmWidth, b.width) << b.id;
        EXPECT_EQ(info.bmHeight, b.height) << b.id;
        DeleteObject(bitmap);
    }
}

namespace {
INT_PTR CALLBACK IgnoreAll(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}
} // namespace

TEST(CompiledResources, EveryDialogTemplateCreatesItsControls) {
    INITCOMMONCONTROLSEX classes{sizeof classes,
                                 ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&classes);
    HINSTANCE module = GetModuleHandleA(nullptr);
    const struct {
        int dialog;
        std::vector<int> controls;
    } templates[] = {
        {IDD_WORDPLAYVIEW, {IDC_ANSWERFRAME, IDC_ANSWER, IDC_START, IDC_RESULTLIST}},
        {IDD_TABLEVIEW, {IDC_TABLELIST}},
        {IDD_OPTIONS,
         {IDC_OPTIONSTABS, IDC_BACKGROUNDCOLOUR, IDC_PRINTOUTFONT, IDC_DICTIONARYLIST, IDC_LONGEST,
          IDC_MAXPIECES, IDC_MAXPIECESUPDOWN, IDC_SAVEDEFAULTS, IDOK, IDCANCEL, IDC_HELPBUTTON}},
        {IDD_LOOKUP,
         {IDC_TESTWORD, IDC_TESTLOOKUP, IDC_WEB4ADDRESS, IDC_DDE4TOPIC, IDC_MESSAGE2COMMAND,
          IDC_EXEC2ENCODING, IDC_EXEC1ENCODING, IDC_LOOKUPSAVEDEFAULTS, IDCANCEL, IDC_HELPBUTTON}},
        {IDD_ABOUT, {IDC_EMAILLINK, IDC_HOMEPAGELINK, IDOK}},
    };
    HWND parent =
        CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, module, nullptr);
    for (const auto& t : templates) {
        HWND dialog = CreateDialogParamA(module, MAKEINTRESOURCEA(t.dialog), parent, IgnoreAll, 0);
        ASSERT_NE(dialog, nullptr) << t.dialog;
        for (int id : t.controls)
            EXPECT_NE(GetDlgItem(dialog, id), nullptr) << t.dialog << " control " << id;
        DestroyWindow(dialog);
    }
    DestroyWindow(parent);
}
