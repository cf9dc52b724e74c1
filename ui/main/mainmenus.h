#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

namespace orvane::ui::toolkit {
class clsActiveMenu;
class ctlAccelerator;
} // namespace orvane::ui::toolkit

namespace orvane::ui {

class frmNormal;

// The main window's menus: the menu bar and its drop-down menus with every
// command id, their captions from the language file, the status-line help
// of the highlighted item, the check marks and greying set as a menu opens,
// and the accelerator keys bound to the items. Commands go to the window's
// menu-click handlers by id.
class MainMenus : public QObject
{
    Q_OBJECT
public:
    explicit MainMenus(frmNormal &form);
    ~MainMenus() override;

    // Creates every menu and item and registers the accelerator keys.
    void BuildMenus();
    // Removes the accelerator keys by name; the close sequence runs it.
    void RemoveKeys();

    // Ids 0 to 98 show the item's help text and set MenuHelpShown; -1 clears
    // it and shows the ready text; other ids do nothing.
    void ShowMenuHelp(int id);
    bool menuHelpShown() const { return m_menuHelpShown; }

    // The caption of an item id (0 to 80) as the language file gives it.
    QString menuCaption(int id) const;
    // The Comment item's check mark, read by Save and SaveAs.
    bool commentChecked() const;

    // The menu objects, by the names the window's handlers use.
    toolkit::clsActiveMenu *ovMenu() const;
    // The menu object holding the item id; nullptr when none does.
    toolkit::clsActiveMenu *menuOf(int id) const;
    toolkit::ctlAccelerator *accelerator() const { return m_accelerator.get(); }

    // Opens the PlayList menu at the pointer (the playlist view's right click).
    void popUpPlayListMenu();

private:
    struct Menus;

    void buildMenu(int index);
    void connectMenu(int index);
    void registerKeys();
    void initMenu(int index);
    void menuClick(int index, int id);

    frmNormal &m_form;
    QStringList m_captions;
    bool m_menuHelpShown = false;
    std::unique_ptr<Menus> m_menus;
    std::unique_ptr<toolkit::ctlAccelerator> m_accelerator;
};

} // namespace orvane::ui
