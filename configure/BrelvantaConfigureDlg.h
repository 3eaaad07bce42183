#pragma once

#include "configure/CommandListView.h"
#include "configure/MenuConfigFile.h"
#include "winui/AnchorLayout.h"
#include "winui/ButtonLink.h"
#include "winui/Dialog.h"
#include "winui/ScreenDpi.h"
#include "winui/WindowHandles.h"

#include <atomic>
#include <memory>

// Posted to the main dialog to bring it to the front: a second start of the program asks for it.
inline constexpr UINT kBringToFrontMessage = WM_USER + 100;

// The configure program's one window: the commands of the main context menu and of the product
// submenu in two lists, with buttons that reorder them, move them between the lists and restore
// the defaults. The lists are the edit; OK copies them into the configuration and saves it.
class CBrelvantaConfigureDlg final : public CDialog
{
  public:
    // mainWindow is set to the dialog's window while it is shown, for the single-instance watcher.
    CBrelvantaConfigureDlg(MenuConfig& config, MenuConfigFile& file, std::atomic<HWND>& mainWindow);

    CButtonLink& Link() noexcept { return m_link; }
    const CButtonLink& Link() const noexcept { return m_link; }

  protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    std::optional<LRESULT> OnNotify(const NMHDR& header) override;
    void OnDestroy() override;
    std::optional<INT_PTR> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void OnDpiChanged(UINT oldDpi, UINT newDpi) override;
    void ShowConfig();
    void OnRowSelected(CCommandListView& list, int row);
    void MoveWithinList(int step);
    void MoveBetweenLists(CCommandListView& from, CCommandListView& to);
    void SaveAndClose();
    void SetIcons();
    CCommandListView& Other(const CCommandListView& list) noexcept;

    MenuConfig& m_config;
    MenuConfigFile& m_file;
    std::atomic<HWND>& m_mainWindow;
    DpiIcon m_smallIcon;
    UniqueHicon m_bigIcon;
    CCommandListView m_mainList;
    CCommandListView m_subList;
    CButtonLink m_link;
};
