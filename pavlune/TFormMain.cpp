#include "pavlune/TFormMain.h"

#include "appsupport/TFormMirabekAboutBox.h"
#include "pavlune/ActiveHotkeys.h"
#include "pavlune/HelpWindow.h"
#include "pavlune/MessageBoxes.h"
#include "pavlune/TFormPavluneConfigGeneral.h"
#include "pavlune/TFormPavluneKeyConf.h"
#include "pavlune/TaskConversion.h"
#include "pavlune/TaskTypes.h"

#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace pavlune {
namespace {

constexpr int kHelpContextOverview = 1;

enum Column { ColumnCaption = 0, ColumnKey = 1, ColumnEnabled = 2 };

TPavluneKeyConfig NewEntry() {
    return TPavluneKeyConfig(ttHiragana, false, true, false, 0x31, true, TaskTypeTexts[ttHiragana].Name.toString(),
                             tgAll);
}

QPushButton* CommandButton(QAction* action, const QString& name, QWidget* parent) {
    auto* button = new QPushButton(action->text(), parent);
    button->setObjectName(name);
    // As in a dialog: Enter presses the button that has the focus.
    button->setAutoDefault(true);
    QObject::connect(button, &QPushButton::clicked, action, &QAction::trigger);
    return button;
}

}  // namespace

TFormMain::TFormMain(platform::HotkeyBackend& hotkeys, QWidget* parent)
    : QMainWindow(parent), hotkeys_(hotkeys) {
    setObjectName(QStringLiteral("FormMain"));
    BuildControls();
    BuildMenus();
    setWindowTitle(QGuiApplication::applicationDisplayName());
    TrayIcon1->setToolTip(QGuiApplication::applicationDisplayName());

    FConfig.Load();
    RefreshList();
    int columnsWidth = 0;
    for (int column = ColumnCaption; column <= ColumnEnabled; ++column) {
        ListView1->resizeColumnToContents(column);
        columnsWidth += ListView1->columnWidth(column);
    }
    // Wide enough for the columns in the desktop's font, which may be larger than the designed one.
    const int listWidth = columnsWidth + 2 * ListView1->frameWidth() +
                          ListView1->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    resize(std::max(width(), listWidth + Panel1->width() + 32), height());
    if (ListView1->topLevelItemCount() > 0)
        SelectRow(0);

    TrayIcon1->show();
    QTimer::singleShot(0, this, &TFormMain::AppIdleStartup);
}

TFormMain::~TFormMain() { UnregisterHotKeys(); }

QAction* TFormMain::MakeAction(const QString& name, const QString& caption, const QString& hint) {
    auto* action = new QAction(caption, this);
    action->setObjectName(name);
    if (!hint.isEmpty()) {
        const qsizetype bar = hint.indexOf(u'|');
        action->setToolTip(hint.left(bar));
        action->setStatusTip(hint.mid(bar + 1));
    }
    return action;
}

void TFormMain::BuildControls() {
    ActionFileClose = MakeAction(QStringLiteral("ActionFileClose"), QStringLiteral("閉じる(&X)"),
                                 QStringLiteral("閉じる|閉じる"));
    ActionConfig = MakeAction(QStringLiteral("ActionConfig"), QStringLiteral("設定(&S)"),
                              QStringLiteral("メイン画面を表示|メイン画面を表示"));
    ActionHelpAbout = MakeAction(QStringLiteral("ActionHelpAbout"), QStringLiteral("バージョン情報(&Z)"),
                                 QStringLiteral("バージョン情報|バージョン情報"));
    ActionHelpTopic = MakeAction(QStringLiteral("ActionHelpTopic"), QStringLiteral("トピックの検索(&H)"),
                                 QStringLiteral("トピックの検索|トピックの検索"));
    ActionConfigDefault = MakeAction(QStringLiteral("ActionConfigDefault"), QStringLiteral("初期設定に戻す(&A)"),
                                     QStringLiteral("設定を初期状態に戻す|設定を初期状態に戻す"));
    ActionConfigGeneral = MakeAction(QStringLiteral("ActionConfigGeneral"), QStringLiteral("全般設定(&G)"),
                                     QStringLiteral("全般設定|全般設定"));
    ActionItemInsert = MakeAction(QStringLiteral("ActionItemInsert"), QStringLiteral("追加(&A)"), {});
    ActionItemUpdate = MakeAction(QStringLiteral("ActionItemUpdate"), QStringLiteral("修正(&U)"), {});
    ActionItemDelete = MakeAction(QStringLiteral("ActionItemDelete"), QStringLiteral("削除(&D)"), {});

    connect(ActionFileClose, &QAction::triggered, this, &TFormMain::ActionFileCloseExecute);
    connect(ActionConfig, &QAction::triggered, this, &TFormMain::ActionConfigExecute);
    connect(ActionHelpAbout, &QAction::triggered, this, &TFormMain::ActionHelpAboutExecute);
    connect(ActionHelpTopic, &QAction::triggered, this, &TFormMain::ActionHelpTopicExecute);
    connect(ActionConfigDefault, &QAction::triggered, this, &TFormMain::ActionConfigDefaultExecute);
    connect(ActionConfigGeneral, &QAction::triggered, this, &TFormMain::ActionConfigGeneralExecute);
    connect(ActionItemInsert, &QAction::triggered, this, &TFormMain::ActionItemInsertExecute);
    connect(ActionItemUpdate, &QAction::triggered, this, &TFormMain::ActionItemUpdateExecute);
    connect(ActionItemDelete, &QAction::triggered, this, &TFormMain::ActionItemDeleteExecute);

    ListView1 = new QTreeWidget;
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setColumnCount(3);
    ListView1->setHeaderLabels({QStringLiteral("説明"), QStringLiteral("キー"), QStringLiteral("有効")});
    ListView1->headerItem()->setTextAlignment(ColumnEnabled, Qt::AlignCenter);
    ListView1->setRootIsDecorated(false);
    ListView1->setItemsExpandable(false);
    ListView1->setUniformRowHeights(true);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->header()->setSectionsMovable(false);
    ListView1->header()->setStretchLastSection(false);
    // The selection stays as visible when the list loses the focus.
    QPalette palette = ListView1->palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight, palette.color(QPalette::Active, QPalette::Highlight));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     palette.color(QPalette::Active, QPalette::HighlightedText));
    ListView1->setPalette(palette);
    connect(ListView1, &QTreeWidget::itemSelectionChanged, this, &TFormMain::ListView1Click);
    connect(ListView1, &QTreeWidget::itemDoubleClicked, this, &TFormMain::ActionItemUpdateExecute);

    Panel1 = new QWidget;
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedWidth(72);
    BtnItemInsert = CommandButton(ActionItemInsert, QStringLiteral("BtnItemInsert"), Panel1);
    BtnItemUpdate = CommandButton(ActionItemUpdate, QStringLiteral("BtnItemUpdate"), Panel1);
    BtnItemDelete = CommandButton(ActionItemDelete, QStringLiteral("BtnItemDelete"), Panel1);
    auto* panelLayout = new QVBoxLayout(Panel1);
    panelLayout->setContentsMargins(4, 0, 0, 0);
    panelLayout->addWidget(BtnItemInsert);
    panelLayout->addWidget(BtnItemUpdate);
    panelLayout->addWidget(BtnItemDelete);
    panelLayout->addStretch(1);

    PanelButton = new QWidget;
    PanelButton->setObjectName(QStringLiteral("PanelButton"));
    PanelButton->setFixedHeight(44);
    BitBtn1 = new QPushButton(QStringLiteral("OK"), PanelButton);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setToolTip(QStringLiteral("実行します"));
    BitBtn1->setStatusTip(QStringLiteral("実行します"));
    BitBtn1->setDefault(true);
    BitBtn1->setAutoDefault(true);
    BitBtn2 = CommandButton(ActionFileClose, QStringLiteral("BitBtn2"), PanelButton);
    BitBtn2->setToolTip(ActionFileClose->toolTip());
    BitBtn2->setStatusTip(ActionFileClose->statusTip());
    connect(BitBtn1, &QPushButton::clicked, this, &TFormMain::BitBtn1Click);
    auto* buttonLayout = new QHBoxLayout(PanelButton);
    buttonLayout->setContentsMargins(0, 0, 0, 0);
    buttonLayout->addStretch(1);
    buttonLayout->addWidget(BitBtn1);
    buttonLayout->addWidget(BitBtn2);

    auto* central = new QWidget;
    auto* top = new QHBoxLayout;
    top->addWidget(ListView1, 1);
    top->addWidget(Panel1);
    auto* centralLayout = new QVBoxLayout(central);
    centralLayout->addLayout(top, 1);
    centralLayout->addWidget(PanelButton);
    setCentralWidget(central);
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    resize(363, 355);

    const QIcon icon(QStringLiteral(":/pavlune/pavlune.svg"));
    setWindowIcon(icon);
    TrayIcon1 = new QSystemTrayIcon(icon, this);
    TrayIcon1->setObjectName(QStringLiteral("TrayIcon1"));
    connect(TrayIcon1, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger)
            ActionConfigExecute();
    });
}

void TFormMain::BuildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    file->addAction(ActionFileClose);
    QMenu* settings = menuBar()->addMenu(QStringLiteral("設定(&S)"));
    QMenu* keys = settings->addMenu(QStringLiteral("キー設定(&K)"));
    keys->addAction(ActionItemInsert);
    keys->addAction(ActionItemUpdate);
    keys->addAction(ActionItemDelete);
    settings->addAction(ActionConfigGeneral);
    settings->addSeparator();
    settings->addAction(ActionConfigDefault);
    QMenu* help = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
    help->addAction(ActionHelpTopic);
    help->addAction(ActionHelpAbout);
    menuBar()->setObjectName(QStringLiteral("MainMenu1"));

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    PopupMenu1->addAction(ActionConfig);
    PopupMenu1->addAction(ActionFileClose);
    TrayIcon1->setContextMenu(PopupMenu1);
}

void TFormMain::RefreshList() {
    ListView1->setUpdatesEnabled(false);
    ListView1->clear();
    for (const TPavluneKeyConfig& entry : FConfig.GetKeyConfigs()) {
        auto* item = new QTreeWidgetItem(ListView1, {entry.Caption, entry.KeyText,
                                                     entry.IsEnabled() ? QStringLiteral("○") : QString()});
        item->setTextAlignment(ColumnEnabled, Qt::AlignCenter);
    }
    ListView1->setUpdatesEnabled(true);
    ListView1->clearSelection();
    ListView1->setCurrentItem(nullptr);
    ListView1Click();
}

void TFormMain::ListView1Click() {
    QString hint;
    const int row = SelectedRow();
    if (row >= 0) {
        const std::int32_t taskType = FConfig.GetKeyConfigs().at(row).TaskType;
        // A task type from a hand-edited file that names no conversion gets no hint.
        if (taskType >= 0 && taskType < TaskTypeCount)
            hint = QStringLiteral("%1 : %2").arg(TaskTypeTexts[taskType].Name, TaskTypeTexts[taskType].Description);
    }
    ListView1->setToolTip(hint);
    ListView1->setStatusTip(hint);
    statusBar()->showMessage(hint);
}

int TFormMain::SelectedRow() const {
    const QList<QTreeWidgetItem*> selected = ListView1->selectedItems();
    return selected.isEmpty() ? -1 : ListView1->indexOfTopLevelItem(selected.first());
}

void TFormMain::SelectRow(int row) {
    ListView1->setCurrentItem(ListView1->topLevelItem(row));
}

QString TFormMain::MakeBalloonText() const { return pavlune::MakeBalloonText(FConfig.GetKeyConfigs()); }

bool TFormMain::RegisterHotKeys() { return pavlune::RegisterHotKeys(FConfig.GetKeyConfigs(), hotkeys_, FRegisteredIds); }

void TFormMain::UnregisterHotKeys() { pavlune::UnregisterHotKeys(hotkeys_, FRegisteredIds); }

void TFormMain::WMHotKey(int id) {
    if (!FRegisteredIds.contains(id))
        return;
    if (static_cast<unsigned>(id) >= FConfig.GetKeyConfigs().size())
        return;
    ConvertClipboard(id);
}

void TFormMain::ConvertClipboard(int index) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* data = clipboard->mimeData();
    if (!data || !data->hasText())
        return;
    const TPavluneKeyConfig entry = FConfig.GetKeyConfigs().at(index);
    // Converted before anything is written: a conversion that throws leaves the clipboard as it was.
    const QString converted = ConvertByTask(entry.TaskType, entry.Target, data->text());
    clipboard->setText(converted);
}

void TFormMain::ActionFileCloseExecute() { close(); }

void TFormMain::ActionConfigExecute() {
    UnregisterHotKeys();
    BringBack();
}

void TFormMain::BringBack() {
    inTray_ = false;
    // Restored before it is mapped again: mapped while still minimised, the window comes up iconic,
    // and the X server's late report of that state would send it straight back to the tray.
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    QCoreApplication::processEvents();
    raise();
    activateWindow();
}

void TFormMain::ActionHelpAboutExecute() {
    appsupport::TFormMirabekAboutBox about(this);
    about.exec();
}

void TFormMain::ActionHelpTopicExecute() { HelpWindow::ShowContext(kHelpContextOverview); }

void TFormMain::ActionConfigDefaultExecute() {
    if (AskConfirmation(this, QStringLiteral("設定を初期状態に戻します。よろしいですか？")) != QMessageBox::Yes)
        return;
    FConfig.SetDefault();
    RefreshList();
    FConfig.Save();
}

void TFormMain::ActionConfigGeneralExecute() {
    TFormPavluneConfigGeneral dialog(this);
    dialog.SetConfig(&FConfig);
    dialog.exec();
}

void TFormMain::ActionItemInsertExecute() {
    TFormPavluneKeyConf dialog(this);
    dialog.SetKeyConfig(NewEntry());
    if (dialog.exec() != QDialog::Accepted)
        return;
    std::vector<TPavluneKeyConfig> entries = FConfig.GetKeyConfigs();
    entries.push_back(dialog.GetKeyConfig());
    FConfig.SetKeyConfigs(entries);
    RefreshList();
    SelectRow(static_cast<int>(entries.size()) - 1);
    FConfig.Save();
}

void TFormMain::ActionItemUpdateExecute() {
    const int row = SelectedRow();
    if (row < 0)
        return;
    TFormPavluneKeyConf dialog(this);
    dialog.SetKeyConfig(FConfig.GetKeyConfigs().at(row));
    if (dialog.exec() != QDialog::Accepted)
        return;
    std::vector<TPavluneKeyConfig> entries = FConfig.GetKeyConfigs();
    entries[row] = dialog.GetKeyConfig();
    FConfig.SetKeyConfigs(entries);
    RefreshList();
    SelectRow(row);
    FConfig.Save();
}

void TFormMain::ActionItemDeleteExecute() {
    const int row = SelectedRow();
    if (row < 0)
        return;
    if (AskConfirmation(this, QStringLiteral("選択されている項目を削除します。\nよろしいですか？")) != QMessageBox::Yes)
        return;
    std::vector<TPavluneKeyConfig> entries = FConfig.GetKeyConfigs();
    entries.erase(entries.begin() + row);
    FConfig.SetKeyConfigs(entries);
    RefreshList();
    if (!entries.empty())
        SelectRow(0);
    FConfig.Save();
}

void TFormMain::BitBtn1Click() { setWindowState(windowState() | Qt::WindowMinimized); }

void TFormMain::AppMinimize() {
    if (inTray_ || !isMinimized())
        return;
    inTray_ = true;
    // Without a tray the window stays iconified, so the window manager can always bring it back.
    if (QSystemTrayIcon::isSystemTrayAvailable())
        hide();
    QTimer::singleShot(0, this, &TFormMain::AppIdleRegister);
}

void TFormMain::AppIdleRegister() {
    if (!inTray_)  // brought back before the queue ran empty
        return;
    if (!RegisterHotKeys()) {
        UnregisterHotKeys();
        BringBack();
        ShowWarning(this, QStringLiteral("ホットキーの登録に失敗しました。"));
        return;
    }
    ShowBalloon();
    SayOnceWaylandIsNotCovered();
}

void TFormMain::ShowBalloon() {
    QString text = MakeBalloonText();
    if (text.isEmpty() || !QSystemTrayIcon::isSystemTrayAvailable())
        return;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    TrayIcon1->showMessage(QGuiApplication::applicationDisplayName(), text.trimmed(), QSystemTrayIcon::Information);
}

void TFormMain::SayOnceWaylandIsNotCovered() {
    if (waylandNoticeShown_ || qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return;
    waylandNoticeShown_ = true;
    QMessageBox box(QMessageBox::Information, QGuiApplication::applicationDisplayName(),
                    QStringLiteral("Wayland のセッションでは、ホットキーは X11 (XWayland) で動くプログラムの中でだけ働きます。"
                                   "Wayland で直接動くプログラムの中で押しても、クリップボードは変換されません。"),
                    QMessageBox::Ok);
    box.exec();
}

void TFormMain::AppIdleStartup() {
    if (!FConfig.LoadWarning().isEmpty())
        ShowWarning(this, FConfig.LoadWarning());
    if (FConfig.GetMinimized())
        BitBtn1Click();
}

void TFormMain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange)
        return;
    if (isMinimized()) {
        // Hidden once the minimise has finished, not in the middle of it.
        QMetaObject::invokeMethod(this, &TFormMain::AppMinimize, Qt::QueuedConnection);
    } else if (inTray_ && isVisible()) {
        // Restored by the window manager while there is no tray: back from the tray.
        QMetaObject::invokeMethod(this, &TFormMain::ActionConfigExecute, Qt::QueuedConnection);
    }
}

void TFormMain::closeEvent(QCloseEvent* event) {
    event->accept();
    // Closing ends the program, also from the tray menu while the window is hidden.
    QCoreApplication::quit();
}

void TFormMain::keyPressEvent(QKeyEvent* event) {
    // OK is the window's default button: Enter that no control took presses it.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        BitBtn1->click();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

}  // namespace pavlune
