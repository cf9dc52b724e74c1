#include "ui/main/mainmenus.h"
#include "ui/main/statuslabel.h"

#include "core/language.h"
#include "playback/session.h"
#include "playback/status.h"
#include "ui/main/controlbar.h"
#include "ui/main/frmnormal.h"
#include "ui/main/menuimages.h"
#include "ui/toolkit/clsactivemenu.h"
#include "ui/toolkit/ctlaccelerator.h"

#include <QLabel>
#include <QMenu>
#include <QTreeView>

#include <array>

namespace orvane::ui {

using toolkit::clsActiveMenu;
using toolkit::MF_BYCOMMAND;

namespace {

// The menu objects, by index: the bar, then the drop-down menus in the
// order they are built.
enum MenuIndex : int {
    kBar,
    kFile,
    kPlay,
    kPlayList,
    kControls,
    kOptions,
    kStatistics,
    kPreferences,
    kDisplaySizes,
    kHelp,
    kMenuCount
};

enum class Kind { Command, Separator, Check, Greyed, Submenu, Picture };

struct Entry {
    int id;
    int menu;
    const char *captionKey;
    const char *keys;
    int icon;
    Kind kind;
};

// Every item in display order. "Greyed" items stand for commands Orvane
// does not offer (the converter, the caption switch); they stay greyed
// rather than pretend.
constexpr Entry kEntries[] = {
    {0, kBar, "Files", "", 0, Kind::Submenu},
    {10, kBar, "Play", "", 0, Kind::Submenu},
    {20, kBar, "PlayList", "", 0, Kind::Submenu},
    {40, kBar, "Controls", "", 0, Kind::Submenu},
    {50, kBar, "Options", "", 0, Kind::Submenu},
    {70, kBar, "Help", "", 0, Kind::Submenu},
    {1, kFile, "Open", "Ctrl+O", 1, Kind::Command},
    {2, kFile, "Save", "", 2, Kind::Command},
    {3, kFile, "SaveAs", "", 3, Kind::Command},
    {4, kFile, "", "", 0, Kind::Separator},
    {5, kFile, "Exit", "Ctrl+Q", 0, Kind::Command},
    {11, kPlay, "PlayPause", "Ctrl+P", 4, Kind::Command},
    {12, kPlay, "Stop", "Ctrl+S", 5, Kind::Command},
    {13, kPlay, "", "", 0, Kind::Separator},
    {14, kPlay, "Reverse", "Ctrl+Left", 6, Kind::Command},
    {15, kPlay, "Forward", "Ctrl+Right", 7, Kind::Command},
    {16, kPlay, "", "", 0, Kind::Separator},
    {17, kPlay, "RepeatAll", "", 8, Kind::Check},
    {21, kPlayList, "Add", "Ins", 9, Kind::Command},
    {22, kPlayList, "Edit", "Ctrl+Ins", 10, Kind::Command},
    {23, kPlayList, "Delete", "Del", 11, Kind::Command},
    {24, kPlayList, "Clear", "Ctrl+Del", 12, Kind::Command},
    {25, kPlayList, "", "", 0, Kind::Separator},
    {26, kPlayList, "ItemUp", "Ctrl+Up", 13, Kind::Command},
    {27, kPlayList, "ItemDown", "Ctrl+Down", 14, Kind::Command},
    {28, kPlayList, "", "", 0, Kind::Separator},
    {29, kPlayList, "info", "", 15, Kind::Command},
    {30, kPlayList, "", "", 0, Kind::Separator},
    {31, kPlayList, "lstWide", "Ctrl+PageUp", 0, Kind::Command},
    {32, kPlayList, "lstNarrow", "Ctrl+PageDown", 0, Kind::Command},
    {41, kControls, "ctlPlay", "", 0, Kind::Check},
    {42, kControls, "", "", 0, Kind::Separator},
    {43, kControls, "ctlPlayCnt", "", 0, Kind::Check},
    {44, kControls, "ctlSeek", "", 0, Kind::Check},
    {45, kControls, "ctlPlCnt", "", 0, Kind::Check},
    {46, kControls, "ctlPlView", "", 0, Kind::Check},
    {47, kControls, "ctlInfo", "", 0, Kind::Check},
    {51, kOptions, "Conv", "", 0, Kind::Greyed},
    {52, kOptions, "Capt", "", 0, Kind::Greyed},
    {53, kOptions, "", "", 0, Kind::Separator},
    {54, kOptions, "Stat", "", 16, Kind::Submenu},
    {55, kOptions, "Pref", "", 17, Kind::Submenu},
    {56, kOptions, "", "", 0, Kind::Separator},
    {57, kOptions, "DispSize", "", 18, Kind::Submenu},
    {58, kOptions, "", "", 0, Kind::Separator},
    {59, kOptions, "ovOptions", "", 17, Kind::Command},
    {60, kOptions, "Comment", "", 0, Kind::Check},
    {61, kStatistics, "optwmp", "", 21, Kind::Command},
    {62, kStatistics, "optrap", "", 22, Kind::Command},
    {63, kPreferences, "optwmp", "", 21, Kind::Command},
    {64, kPreferences, "optrap", "", 22, Kind::Command},
    {65, kDisplaySizes, "dspDefault", "Ctrl+Num1", 0, Kind::Check},
    {66, kDisplaySizes, "dspDouble", "Ctrl+Num2", 0, Kind::Check},
    {67, kDisplaySizes, "dspFitwin", "Ctrl+Num3", 0, Kind::Check},
    {71, kHelp, "", "", 0, Kind::Picture},
    {72, kHelp, "Contents", "F1", 19, Kind::Command},
    {73, kHelp, "About", "", 20, Kind::Command},
    {74, kHelp, "", "", 0, Kind::Separator},
    {75, kHelp, "abtwmp", "", 21, Kind::Command},
    {76, kHelp, "abtrap", "", 22, Kind::Command},
};

struct MenuInfo {
    int parentMenu; // the menu holding the item it drops down from
    int parentId;
    int helpId; // shown when it opens
    bool images;
};

constexpr std::array<MenuInfo, kMenuCount> kMenus = {{
    {-1, -1, -1, false},       // bar
    {kBar, 0, 0, true},        // File
    {kBar, 10, 10, true},      // Play
    {kBar, 20, 20, true},      // PlayList
    {kBar, 40, 40, false},     // Controls
    {kBar, 50, 50, true},      // Options
    {kOptions, 54, 54, true},  // Statistics
    {kOptions, 55, 55, true},  // Preferences
    {kOptions, 57, 57, false}, // Display sizes
    {kBar, 70, 70, true},      // Help
}};

struct Key {
    const char *name;
    int id;
    int menu;
    int keycode;
    int shift;
};

constexpr int kCtrl = 2;

constexpr Key kKeys[] = {
    {"open", 1, kFile, 79, kCtrl},         {"quit", 5, kFile, 81, kCtrl},
    {"play", 11, kPlay, 80, kCtrl},        {"stop", 12, kPlay, 83, kCtrl},
    {"reverse", 14, kPlay, 37, kCtrl},     {"forward", 15, kPlay, 39, kCtrl},
    {"add", 21, kPlayList, 45, 0},         {"edit", 22, kPlayList, 45, kCtrl},
    {"delete", 23, kPlayList, 46, 0},      {"clear", 24, kPlayList, 46, kCtrl},
    {"up", 26, kPlayList, 38, kCtrl},      {"down", 27, kPlayList, 40, kCtrl},
    {"wide_v", 31, kPlayList, 33, kCtrl},  {"narrow_v", 32, kPlayList, 34, kCtrl},
    {"1x", 65, kDisplaySizes, 97, kCtrl},  {"2x", 66, kDisplaySizes, 98, kCtrl},
    {"fit", 67, kDisplaySizes, 99, kCtrl}, {"help", 72, kHelp, 112, 0},
};

constexpr int kCaptionCount = 81;

const QString kMenuSection = QStringLiteral("NormalMenu");
const QString kHelpSection = QStringLiteral("NormalMenuHelp");

} // namespace

struct MainMenus::Menus {
    std::array<std::unique_ptr<clsActiveMenu>, kMenuCount> list;
};

MainMenus::MainMenus(frmNormal &form)
    : m_form(form)
    , m_menus(std::make_unique<Menus>())
{}

MainMenus::~MainMenus()
{
    RemoveKeys();
    // Drop-downs before the bar that holds them.
    for (int i = kMenuCount - 1; i >= 0; --i)
        m_menus->list[size_t(i)].reset();
}

clsActiveMenu *MainMenus::ovMenu() const
{
    return m_menus->list[kBar].get();
}

clsActiveMenu *MainMenus::menuOf(int id) const
{
    for (const Entry &entry : kEntries) {
        if (entry.id == id)
            return m_menus->list[size_t(entry.menu)].get();
    }
    return nullptr;
}

QString MainMenus::menuCaption(int id) const
{
    return id >= 0 && id < m_captions.size() ? m_captions.at(id) : QString();
}

bool MainMenus::commentChecked() const
{
    const auto &options = m_menus->list[kOptions];
    return options && options->pItemChecked(60, MF_BYCOMMAND);
}

void MainMenus::BuildMenus()
{
    m_captions = QStringList(kCaptionCount);
    for (const Entry &entry : kEntries) {
        if (*entry.captionKey)
            m_captions[entry.id] = core::GetText(kMenuSection, QLatin1String(entry.captionKey));
    }
    auto bar = std::make_unique<clsActiveMenu>();
    bar->mCreate(&m_form, toolkit::kMenuBar);
    m_menus->list[kBar] = std::move(bar);
    buildMenu(kBar);
    connectMenu(kBar);
    const QList<QIcon> images = menuImages();
    for (int index = kFile; index < kMenuCount; ++index) {
        auto menu = std::make_unique<clsActiveMenu>();
        menu->mCreate(&m_form, toolkit::kPopupMenu);
        if (kMenus[size_t(index)].images)
            menu->pImageList(images);
        m_menus->list[size_t(index)] = std::move(menu);
        buildMenu(index);
        const MenuInfo &info = kMenus[size_t(index)];
        m_menus->list[size_t(info.parentMenu)]->setPItemDropDownMenu(
            info.parentId, MF_BYCOMMAND, m_menus->list[size_t(index)]->phMenu());
        connectMenu(index);
    }
    registerKeys();
    if (auto *view = m_form.findChild<QTreeView *>(QStringLiteral("lstPlayList"))) {
        view->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(view, &QTreeView::customContextMenuRequested, this,
                [this] { popUpPlayListMenu(); });
    }
}

void MainMenus::buildMenu(int index)
{
    clsActiveMenu &menu = *m_menus->list[size_t(index)];
    for (const Entry &entry : kEntries) {
        if (entry.menu != index)
            continue;
        const QString caption = m_captions.at(entry.id);
        const QString keys = QLatin1String(entry.keys);
        switch (entry.kind) {
        case Kind::Separator:
            menu.mAddItem(entry.id, -1, QString(), QString(), {}, toolkit::MFT_SEPARATOR);
            break;
        case Kind::Picture:
            menu.mAddItem(entry.id, -1, QString(), QString(), m_form.menuPicture(),
                          toolkit::MFT_BITMAP);
            menu.setPItemEnabled(entry.id, MF_BYCOMMAND, toolkit::kItemDisabled);
            break;
        default:
            menu.mAddItem(entry.id, -1, caption, keys, {}, toolkit::MFT_STRING, entry.icon);
            if (entry.kind == Kind::Greyed)
                menu.setPItemEnabled(entry.id, MF_BYCOMMAND, toolkit::kItemGrayed);
            break;
        }
    }
}

void MainMenus::connectMenu(int index)
{
    clsActiveMenu *menu = m_menus->list[size_t(index)].get();
    connect(menu, &clsActiveMenu::MenuSelect, this, [this](int id) { ShowMenuHelp(id); });
    connect(menu, &clsActiveMenu::MenuClick, this,
            [this, index](int &id, bool &) { menuClick(index, id); });
    if (index == kBar)
        connect(menu, &clsActiveMenu::CloseMenu, this, [this] { ShowMenuHelp(-1); });
    else
        connect(menu, &clsActiveMenu::InitMenu, this, [this, index] { initMenu(index); });
}

void MainMenus::registerKeys()
{
    m_accelerator = std::make_unique<toolkit::ctlAccelerator>(&m_form);
    for (const Key &key : kKeys) {
        QMenu *menu = m_menus->list[size_t(key.menu)]->menu();
        m_accelerator->Add(QLatin1String(key.name), key.shift, key.keycode, 3,
                           {QVariant::fromValue<QObject *>(menu), key.id});
    }
}

void MainMenus::RemoveKeys()
{
    if (!m_accelerator)
        return;
    for (const Key &key : kKeys)
        m_accelerator->Remove(QLatin1String(key.name));
    m_accelerator.reset();
}

void MainMenus::ShowMenuHelp(int id)
{
    StatusLabel *status = m_form.statusLabel();
    if (id == -1) {
        m_menuHelpShown = false;
        if (status)
            status->setText(playback::readyText());
        return;
    }
    if (id < 0 || id > 98)
        return;
    m_menuHelpShown = true;
    const QString name = menuCaption(id).remove(QLatin1Char('&'));
    QString text;
    if (!name.isEmpty())
        text = core::GetText(kHelpSection, QStringLiteral("hlp") + name);
    if (text.isEmpty())
        text = core::GetText(kHelpSection, QStringLiteral("hlpNone"));
    if (status)
        status->setText(text);
}

void MainMenus::initMenu(int index)
{
    auto &list = m_menus->list;
    switch (index) {
    case kPlay:
        list[kPlay]->setPItemChecked(17, MF_BYCOMMAND,
                                     m_form.session() && m_form.session()->repeatAll());
        break;
    case kControls: {
        const CoolBar *bar = m_form.coolBar();
        const bool shown = bar && bar->isVisible();
        list[kControls]->setPItemChecked(41, MF_BYCOMMAND, shown);
        for (int band = 1; band <= CoolBar::kBands; ++band) {
            const int id = 42 + band;
            list[kControls]->setPItemChecked(id, MF_BYCOMMAND, bar && bar->isBandVisible(band));
            list[kControls]->setPItemEnabled(id, MF_BYCOMMAND,
                                             shown ? toolkit::kItemEnabled : toolkit::kItemGrayed);
        }
        break;
    }
    case kOptions:
        for (int mode = 0; mode < 3; ++mode)
            list[kDisplaySizes]->setPItemChecked(65 + mode, MF_BYCOMMAND,
                                                 m_form.pictureSizeMode() == mode);
        break;
    default:
        break;
    }
    ShowMenuHelp(kMenus[size_t(index)].helpId);
}

void MainMenus::menuClick(int index, int id)
{
    switch (index) {
    case kFile:
        m_form.ovmFile_MenuClick(id);
        break;
    case kPlay:
        m_form.ovmPlay_MenuClick(id);
        break;
    case kPlayList:
        m_form.ovmPlayList_MenuClick(id);
        break;
    case kControls:
        m_form.ovmControls_MenuClick(id);
        break;
    case kOptions:
        if (id == 59)
            m_form.showOptionsDialog();
        if (id == 60) {
            auto &options = m_menus->list[kOptions];
            options->setPItemChecked(60, MF_BYCOMMAND, !options->pItemChecked(60, MF_BYCOMMAND));
        }
        break;
    case kDisplaySizes:
        m_form.ovmoDisplaySizes_MenuClick(id);
        break;
    case kHelp:
        if (id == 72 || id == 73) {
            m_form.ovmHelp_MenuClick(id);
            break;
        }
        m_form.ovmEngines_MenuClick(id);
        break;
    case kStatistics:
    case kPreferences:
        m_form.ovmEngines_MenuClick(id);
        break;
    default:
        break;
    }
}

void MainMenus::popUpPlayListMenu()
{
    if (auto &menu = m_menus->list[kPlayList])
        menu->mPopUpMenuEx(0, 0, 0, &m_form);
}

} // namespace orvane::ui
