#include "tests/copydialog/CopyDialogTestSupport.h"

#include <gtest/gtest.h>

OwnerWindow::OwnerWindow()
    : m_window(::CreateWindowExW(0, L"STATIC", kOwnerCaption, WS_POPUP | WS_CAPTION | WS_VISIBLE, 100, 100, 500, 400,
                                 nullptr, nullptr, nullptr, nullptr))
{
    EXPECT_TRUE(m_window);
}

bool UserClick(const DialogHandle& dialog, int id)
{
    const HWND button = dialog.Item(id);
    if (!button || !::IsWindowEnabled(button))
        return false;
    ::SendMessageW(button, BM_CLICK, 0, 0);
    return true;
}

void AnswerMessage(DialogDriver& driver, const std::wstring& caption, std::vector<std::wstring>& texts,
                   std::function<void()> then)
{
    driver.OnDialog(caption, [&texts, then = std::move(then)](DialogHandle box) {
        texts.push_back(box.GetText(0xFFFF));
        EXPECT_TRUE(box.Click(IDOK));
        if (then)
            then();
    });
}
