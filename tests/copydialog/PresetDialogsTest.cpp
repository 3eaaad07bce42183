#include "copydialog/PresetDialogs.h"

#include "resources/resource.h"
#include "tests/copydialog/CopyDialogTestSupport.h"
#include "tests/support/FileHelpers.h"
#include "tests/support/ProductStateTest.h"

#include <optional>

namespace
{
const std::wstring kInvalidFormat =
    L"Can't save preset when the item format is invalid.  Please correct the error and try again.";
const std::wstring kNameEmpty = L"You need to enter a name for the preset before it can be saved.";

std::wstring AlreadySaved(const std::wstring& name)
{
    return L"Preset already exists, and is called \"" + name + L"\".";
}

std::wstring NameTaken(const std::wstring& name)
{
    return L"A preset already exists with the name \"" + name + L"\".  Please enter a different name.";
}

// The save and rename operations through their real dialogs, over a window standing for the copy
// options dialog, with the per-user presets file of the test prefix.
class PresetDialogsTest : public ProductStateTest
{
  protected:
    static std::wstring UserFile() { return UserFolder() + L"\\Presets.xml"; }
    static PresetList Saved()
    {
        PresetList presets;
        EXPECT_TRUE(ReadPresetsFile(UserFile(), presets));
        return presets;
    }

    // Types each name in turn into the dialog and presses OK; each but the last is refused with a
    // message, whose texts are collected.
    void TypeNames(const std::wstring& caption, int editId, std::vector<std::wstring> names)
    {
        m_driver.OnDialog(caption, [this, editId, names, caption](DialogHandle dialog) {
            m_shown.push_back(dialog.GetText(editId));
            m_focused = ::GetFocus() == dialog.Item(editId);
            DWORD start = 0;
            DWORD end = 0;
            ::SendMessageW(dialog.Item(editId), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                           reinterpret_cast<LPARAM>(&end));
            m_allSelected = start == 0 && end == static_cast<DWORD>(m_shown.back().size());
            for (size_t i = 1; i < names.size(); ++i)
            {
                AnswerMessage(m_driver, caption, m_messages, [dialog, editId, name = names[i]] {
                    dialog.SetText(editId, name);
                    dialog.PostClick(IDOK);
                });
            }
            dialog.SetText(editId, names[0]);
            dialog.PostClick(IDOK);
        });
    }

    OwnerWindow m_owner;
    DialogDriver m_driver;
    std::vector<std::wstring> m_messages;
    std::vector<std::wstring> m_shown; // what the edit held when the dialog opened
    bool m_focused = false;
    bool m_allSelected = false;
    PresetList m_presets = {{L"Names", L"$name", L"\\n"}, {L"Paths", L"$path", L"\\n"}};
};
} // namespace

TEST_F(PresetDialogsTest, SavingIsRefusedBeforeANameIsAsked)
{
    AnswerMessage(m_driver, kOwnerCaption, m_messages);
    EXPECT_FALSE(SaveCurrentAsPreset(CWindow(m_owner.Hwnd()), m_presets, L"$nam", L"\\n", false));
    // The same texts as a preset of another name: that preset is named, whatever the name asked.
    AnswerMessage(m_driver, kOwnerCaption, m_messages);
    EXPECT_FALSE(SaveCurrentAsPreset(CWindow(m_owner.Hwnd()), m_presets, L"$path", L"\\n", true));

    EXPECT_EQ(m_messages, (std::vector<std::wstring>{kInvalidFormat, AlreadySaved(L"Paths")}));
    EXPECT_EQ(m_driver.SeenCaptions(), (std::vector<std::wstring>{kOwnerCaption, kOwnerCaption}));
    EXPECT_EQ(m_presets.size(), 2u);
    EXPECT_FALSE(PathExists(UserFile()));
}

TEST_F(PresetDialogsTest, SavingAsksForANewTrimmedName)
{
    TypeNames(L"Preset Name", IDC_PRESET_NAME_EDIT, {L" \t ", L"  pATHS  ", L"  Quoted  paths  "});
    EXPECT_TRUE(SaveCurrentAsPreset(CWindow(m_owner.Hwnd()), m_presets, L"\"$path\"", L" ", true));
    EXPECT_EQ(m_shown, std::vector<std::wstring>{L""});
    EXPECT_TRUE(m_focused);
    EXPECT_EQ(m_messages, (std::vector<std::wstring>{kNameEmpty, NameTaken(L"pATHS")}));
    const PresetList expected = {m_presets[0], m_presets[1], {L"Quoted  paths", L"\"$path\"", L" "}};
    EXPECT_EQ(m_presets, expected);
    EXPECT_EQ(Saved(), expected);
    EXPECT_EQ(m_driver.PendingScripts(), 0u);

    // Cancel changes nothing.
    m_driver.OnDialog(L"Preset Name", [](DialogHandle dialog) {
        dialog.SetText(IDC_PRESET_NAME_EDIT, L"Never");
        dialog.Click(IDCANCEL);
    });
    EXPECT_FALSE(SaveCurrentAsPreset(CWindow(m_owner.Hwnd()), m_presets, L"$ext", L",", true));
    EXPECT_EQ(m_presets, expected);
    EXPECT_EQ(Saved(), expected);
}

TEST_F(PresetDialogsTest, RenamingAcceptsTheOwnNameInOtherCase)
{
    TypeNames(L"Rename Preset", IDC_PRESET_RENAME_EDIT, {L"", L" names ", L"  PATHS "});
    EXPECT_TRUE(RenamePresetAt(CWindow(m_owner.Hwnd()), m_presets, 1));
    EXPECT_EQ(m_shown, std::vector<std::wstring>{L"Paths"});
    EXPECT_TRUE(m_focused);
    EXPECT_TRUE(m_allSelected);
    EXPECT_EQ(m_messages, (std::vector<std::wstring>{kNameEmpty, NameTaken(L"names")}));
    const PresetList expected = {m_presets[0], {L"PATHS", L"$path", L"\\n"}};
    EXPECT_EQ(m_presets, expected);
    EXPECT_EQ(Saved(), expected);

    // Cancel, and an index past the end, change nothing.
    m_driver.OnDialog(L"Rename Preset", [](DialogHandle dialog) {
        dialog.SetText(IDC_PRESET_RENAME_EDIT, L"Never");
        dialog.Click(IDCANCEL);
    });
    EXPECT_FALSE(RenamePresetAt(CWindow(m_owner.Hwnd()), m_presets, 0));
    EXPECT_FALSE(RenamePresetAt(CWindow(m_owner.Hwnd()), m_presets, 2));
    EXPECT_EQ(m_presets, expected);
    EXPECT_EQ(m_driver.PendingScripts(), 0u);
}

TEST_F(PresetDialogsTest, HugeNamesAndManyPresets)
{
    // Ten thousand presets: the name of the last is still found in other case.
    PresetList many;
    for (int i = 0; i < 10000; ++i)
        many.push_back({L"Preset " + std::to_wstring(i), L"$name:" + std::to_wstring(i), L""});
    ASSERT_TRUE(SavePresets(many));
    TypeNames(L"Preset Name", IDC_PRESET_NAME_EDIT, {L"preset 9999", L"Preset 10000"});
    EXPECT_TRUE(SaveCurrentAsPreset(CWindow(m_owner.Hwnd()), many, L"$path", L"", true));
    EXPECT_EQ(m_messages, std::vector<std::wstring>{NameTaken(L"preset 9999")});
    EXPECT_EQ(Saved(), many);

    // A megabyte name is taken as typed; its file would be too large to read back, so the file
    // keeps the presets it had and the list keeps the new one.
    const std::wstring huge(1024 * 1024, L'h');
    TypeNames(L"Preset Name", IDC_PRESET_NAME_EDIT, {huge});
    EXPECT_TRUE(SaveCurrentAsPreset(CWindow(m_owner.Hwnd()), many, L"$size", L"", true));
    ASSERT_EQ(many.size(), 10002u);
    EXPECT_EQ(many.back().name, huge);
    EXPECT_EQ(Saved().size(), 10001u);
    EXPECT_EQ(m_driver.PendingScripts(), 0u);
}
