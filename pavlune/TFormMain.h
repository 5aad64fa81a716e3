#pragma once

#include "pavlune/TPavluneConfig.h"
#include "platform/HotkeyBackend.h"

#include <QMainWindow>

#include <set>

class QAction;
class QMenu;
class QPushButton;
class QSystemTrayIcon;
class QTreeWidget;

namespace pavlune {

// Pavlune's only top-level window: the list of hotkey entries and the commands that edit it.
// Minimised it goes to the tray, where the entries in force are live hotkeys; brought back,
// it releases them, so the list is only ever edited while no hotkey is live.
class TFormMain : public QMainWindow {
    Q_OBJECT

public:
    // hotkeys: what registers the system-wide hotkeys; not owned, must outlive the window.
    explicit TFormMain(platform::HotkeyBackend& hotkeys, QWidget* parent = nullptr);
    ~TFormMain() override;

    void RefreshList();
    QString MakeBalloonText() const;
    bool RegisterHotKeys();
    void UnregisterHotKeys();

    const std::set<int>& RegisteredIds() const { return FRegisteredIds; }
    bool InTray() const { return inTray_; }

    QTreeWidget* ListView1;
    QWidget* Panel1;
    QPushButton* BtnItemInsert;
    QPushButton* BtnItemUpdate;
    QPushButton* BtnItemDelete;
    QWidget* PanelButton;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
    QSystemTrayIcon* TrayIcon1;
    QMenu* PopupMenu1;

    QAction* ActionFileClose;
    QAction* ActionConfig;
    QAction* ActionHelpAbout;
    QAction* ActionHelpTopic;
    QAction* ActionConfigDefault;
    QAction* ActionConfigGeneral;
    QAction* ActionItemInsert;
    QAction* ActionItemUpdate;
    QAction* ActionItemDelete;

public slots:
    // A hotkey press, by id; ids not registered now, or past the end of the list, are ignored.
    void WMHotKey(int id);
    // Converts the clipboard's text with the entry's conversion and leaves only the result on
    // it. A clipboard without text is left alone; a failed conversion leaves it as it was.
    void ConvertClipboard(int index);

    void ActionFileCloseExecute();
    void ActionConfigExecute();
    void ActionHelpAboutExecute();
    void ActionHelpTopicExecute();
    void ActionConfigDefaultExecute();
    void ActionConfigGeneralExecute();
    void ActionItemInsertExecute();
    void ActionItemUpdateExecute();
    void ActionItemDeleteExecute();
    void BitBtn1Click();
    void ListView1Click();

    void AppMinimize();
    void AppIdleRegister();
    void AppIdleStartup();

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QAction* MakeAction(const QString& name, const QString& caption, const QString& hint);
    void BuildControls();
    void BuildMenus();
    int SelectedRow() const;
    void SelectRow(int row);
    void BringBack();
    void ShowBalloon();
    void SayOnceWaylandIsNotCovered();

    platform::HotkeyBackend& hotkeys_;
    TPavluneConfig FConfig;
    std::set<int> FRegisteredIds;
    bool inTray_ = false;
    bool waylandNoticeShown_ = false;
};

}  // namespace pavlune
