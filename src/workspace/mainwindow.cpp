#include "mainwindow.h"

#include "calendarpanel.h"
#include "clockpanel.h"
#include "foundation/apperror.h"
#include "foundation/appstate.h"
#include "foundation/clock.h"
#include "foundation/datetimeformat.h"
#include "foundation/inifile.h"
#include "foundation/paths.h"
#include "foundation/settings.h"
#include "foundation/textcodec.h"
#include "icons/toolicons.h"
#include "maintoolbar.h"
#include "memopagesview.h"
#include "pagecommands.h"
#include "platform/platform.h"
#include "referencearea.h"
#include "schedulealerts.h"
#include "widgets/errorbox.h"
#include "widgets/uiprompts.h"
#include "workspacesettings.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPropertyAnimation>
#include <QSplitter>
#include <QStatusBar>
#include <QTextBlock>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace vn {

MainWindow::MainWindow(QWidget* parent, BalloonHintStore* balloonHints)
    : QMainWindow(parent), balloonHints_(balloonHints)
{
    setObjectName(QStringLiteral("TfrmMemo"));
    setWindowTitle(QStringLiteral("Velnote"));
    App().timersQuiet = true;
    App().exitRequested = false;
    App().sessionEnding = false;
    QFont f(QStringLiteral("ＭＳ Ｐゴシック"));
    f.setPixelSize(12);
    setFont(f);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    resize(761, 526);

    buildLayout();
    commands_ = new PageCommands(pages_);
    connectCommands();
    connectCalendar();
    qApp->installEventFilter(this);
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            &MainWindow::onApplicationStateChanged);

    IniReadBurst burst; // start-up reads the settings file once
    LoadWorkspaceSettings();
    Guarded([this] { pages_->loadPages(); }, this);
    pages_->applyPageCount(Workspace().shownPageCount, Workspace().multiLineTabs);
    pages_->applyTabNames();
    RestoreWindowLayout();
    startCalendar();
    Guarded([this] { pages_->createMissingPageFiles(); }, this);

    fade_ = new QPropertyAnimation(this, "windowOpacity", this);
    connect(fade_, &QPropertyAnimation::finished, this, [this] {
        if (!shown_) {
            hide();
            setWindowOpacity(1.0);
        }
    });
    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    connect(timer1_, &QTimer::timeout, this, [this] {
        if (!App().timersQuiet)
            Guarded([this] { tickClock(); }, this);
    });
    timer1_->start(500);
    timer2Diary_ = new QTimer(this);
    timer2Diary_->setObjectName(QStringLiteral("Timer2_Diary"));
    connect(timer2Diary_, &QTimer::timeout, this, [this] { Guarded([this] { SaveDiary(); }); });
    timer2Diary_->start(30000);
    timer3Memo_ = new QTimer(this);
    timer3Memo_->setObjectName(QStringLiteral("Timer3_Memo"));
    connect(timer3Memo_, &QTimer::timeout, this, [this] { SaveWorkspace(); });
    timer3Memo_->start(300000);
    clock_->setTimeText(RenderDateTime(QStringLiteral("hh:nn:ss"), Now()));
}

MainWindow::~MainWindow()
{
    if (HotKeySource* hk = CurrentPlatform().hotKey.get())
        hk->unregisterKey();
}

void MainWindow::buildLayout()
{
    toolBar_ = new MainToolBar(this);
    clock_ = new ClockPanel(this);
    auto* top = new QWidget(this);
    top->setFixedHeight(28);
    auto* topLayout = new QHBoxLayout(top);
    topLayout->setContentsMargins(0, 0, 0, 0);
    topLayout->setSpacing(0);
    topLayout->addWidget(toolBar_, 1);
    topLayout->addWidget(clock_);

    body_ = new QSplitter(Qt::Horizontal, this);
    body_->setObjectName(QStringLiteral("Splitter2"));
    body_->setChildrenCollapsible(false);
    memoArea_ = new QSplitter(Qt::Vertical, body_);
    memoArea_->setObjectName(QStringLiteral("Splitter1"));
    memoArea_->setChildrenCollapsible(false);
    pages_ = new MemoPagesView(memoArea_);
    reference_ = new ReferenceArea(memoArea_);
    info_ = new QFrame(memoArea_);
    info_->setObjectName(QStringLiteral("pnlInfo"));
    auto* infoLayout = new QVBoxLayout(info_);
    infoLayout->setContentsMargins(0, 0, 0, 0);
    memoInfo_ = new QPlainTextEdit(info_);
    memoInfo_->setObjectName(QStringLiteral("memoInfo"));
    memoInfo_->setReadOnly(true);
    infoLayout->addWidget(memoInfo_);
    memoArea_->addWidget(pages_);
    memoArea_->addWidget(reference_);
    memoArea_->addWidget(info_);
    memoArea_->setStretchFactor(0, 1);
    memoArea_->setStretchFactor(1, 0);
    memoArea_->setStretchFactor(2, 0);
    memoArea_->setSizes({314, 145, 67});
    info_->hide(); // shown when the selected day has details
    calendar_ = new CalendarPanel(body_);
    body_->addWidget(memoArea_);
    body_->addWidget(calendar_);
    body_->setStretchFactor(0, 1);
    body_->setStretchFactor(1, 0);
    body_->setSizes({570, 191});

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(top);
    layout->addWidget(body_, 1);
    setCentralWidget(central);

    static const int widths[] = {180, 60, 60, 180, 60, 50};
    static const Qt::Alignment aligns[] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter,
                                           Qt::AlignLeft, Qt::AlignLeft,  Qt::AlignLeft};
    for (int i = 0; i < 6; ++i) {
        auto* l = new QLabel(this);
        l->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        l->setAlignment(aligns[i] | Qt::AlignVCenter);
        l->setMinimumWidth(widths[i]);
        if (i < 5)
            l->setFixedWidth(widths[i]);
        statusBar()->addWidget(l, i == 5 ? 1 : 0);
        status_[size_t(i)] = l;
    }
    connect(pages_, &MemoPagesView::pageStatusChanged, status_[5], &QLabel::setText);
}

void MainWindow::connectCommands()
{
    auto on = [this](const char* name, auto fn) {
        connect(toolBar_->button(QLatin1String(name)), &QToolButton::clicked, this,
                [this, fn] { Guarded(fn, this); });
    };
    auto exec = [](QPointer<QDialog> d) {
        if (d)
            d->exec();
    };
    on("ToolButton1", [this, exec] {
        exec(windows_.env);
        afterSettingsDialog();
    });
    on("ToolButton26", [this] {
        const bool on = toolBar_->button("ToolButton26")->isChecked();
        WriteSettingInt(REG_WinTop, on ? 1 : 0);
        applyStayOnTop(on);
    });
    on("ToolButton30", [this] { emit searchRequested(); });
    on("ToolButton3", [this] { applyCalendarVisibility(); });
    on("ToolButton4", [this] { reference_->ApplyReferenceVisibility(); });
    // The list edits the hints the minute check asks: nothing to reload.
    on("ToolButton28", [this, exec] { exec(windows_.balloonHintList); });
    on("ToolButton18", [this, exec] { exec(windows_.dateTime); });
    on("ToolButton17", [] { CurrentPlatform().desktop->openDocument(HelpFilePath()); });

    on("ToolButton29", [this] { emit printRequested(); });
    on("ToolButton2", [this] { commands_->StartCalculator(); });
    on("ToolButton31", [this] { DeleteOrRestorePage(); });
    connect(pages_, &MemoPagesView::deleteStateChanged, this, [this](bool restore) {
        QToolButton* b = toolBar_->button("ToolButton31");
        b->setToolTip(restore ? QStringLiteral("カレントのメモを復元")
                              : QStringLiteral("カレントのメモを削除"));
        b->setIcon(ToolIconNamed(restore ? "restore" : "ToolButton31"));
    });
    connect(clock_, &ClockPanel::stampAtCaret, this,
            [this] { Guarded([this] { commands_->StampNowAtCaret(); }, this); });
    connect(clock_, &ClockPanel::stampAtEnd, this,
            [this] { Guarded([this] { commands_->StampNowAtEnd(); }, this); });
    connect(clock_, &ClockPanel::copyDateTime, this, [] {
        QApplication::clipboard()->setText(RenderDateTime(Workspace().dateTimeFormat, Now()));
    });
    connect(commands_, &PageCommands::searchRequested, this, &MainWindow::searchRequested);
    connect(commands_, &PageCommands::findNextRequested, this, &MainWindow::findNextRequested);
    std::array<QToolButton*, kReferenceCount> slotButtons{};
    for (int i = 0; i < kReferenceCount; ++i)
        slotButtons[size_t(i)] = toolBar_->button(QStringLiteral("ToolButton%1").arg(6 + i));
    reference_->setButtons(slotButtons, toolBar_->button("ToolButton4"));
}

void MainWindow::LoadWorkspaceSettings()
{
    SetSettingsFile(SettingsFilePath());
    Guarded([this] { reference_->LoadReferenceFiles(); }, this);
    toolBar_->button("ToolButton4")->setChecked(ReadSettingInt(REG_ShowRefFile) == 1);
    reference_->ApplyReferenceVisibility();
    pages_->applyFontsAndColours();
    reference_->applyFontAndColour();
    Workspace() = WorkspaceSettings::Load();
    pages_->applyWordWrap(Workspace().wrapPages);
    reference_->applyWordWrap(Workspace().wrapReferences);
    toolBar_->button("ToolButton3")->setChecked(ReadSettingInt(REG_ShowCalendar) == 1);
    calendar_->setVisible(ReadSettingInt(REG_ShowCalendar) == 1);
    const bool onTop = ReadSettingInt(REG_WinTop) == 1;
    toolBar_->button("ToolButton26")->setChecked(onTop);
    applyStayOnTop(onTop);
}

void MainWindow::applyCalendarVisibility()
{
    QToolButton* b = toolBar_->button("ToolButton3");
    const bool on = b->isChecked();
    WriteSettingInt(REG_ShowCalendar, on ? 1 : 0);
    calendar_->setVisible(on);
    b->setToolTip(on ? QStringLiteral("カレンダー非表示") : QStringLiteral("カレンダー表示"));
    if (on) {
        ShowSelectedDayDetails();
    } else {
        for (int i = 0; i < 3; ++i)
            status_[size_t(i)]->clear();
        info_->hide();
    }
}

void MainWindow::applyStayOnTop(bool on)
{
    if (bool(windowFlags() & Qt::WindowStaysOnTopHint) == on)
        return;
    const bool visible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (visible)
        show();
}

void MainWindow::afterSettingsDialog()
{
    ShowSelectedDayDetails();
    WriteSettingInt(REG_VnoteActiveTab, pages_->currentPage());
    pages_->applyPageCount(Workspace().shownPageCount, Workspace().multiLineTabs);
    pages_->applyTabNames();
    pages_->applyWordWrap(Workspace().wrapPages);
    reference_->applyWordWrap(Workspace().wrapReferences);
}

void MainWindow::RestoreWindowLayout()
{
    const int top = ReadSettingInt(REG_MainFrameTop);
    const int left = ReadSettingInt(REG_MainFrameLeft);
    if (top > 0 && left > 0) {
        move(left, top);
        resize(std::max(ReadSettingInt(REG_MainFrameWidth), 200),
               std::max(ReadSettingInt(REG_MainFrameHeight), 150));
    }
    const int calendarWidth = std::max(ReadSettingInt(REG_MainCalendarWidth), 100);
    const int total = std::max(body_->width(), width());
    body_->setSizes({std::max(total - calendarWidth, 100), calendarWidth});
    calendar_->setDiaryHeight(std::max(ReadSettingInt(REG_DiaryHeight), 100));
    const int refHeight = std::max(ReadSettingInt(REG_MainRefHeight), 0);
    QList<int> sizes = memoArea_->sizes();
    const int sum = std::max(sizes.value(0) + sizes.value(1), refHeight + 100);
    memoArea_->setSizes({sum - refHeight, refHeight, sizes.value(2)});
    startHidden_ = ReadSettingInt(REG_VnoteHide) == 1;
}

void MainWindow::SaveWindowLayout()
{
    const QRect frame = frameGeometry();
    QList<QPair<int, int>> values = {
        {REG_MainFrameTop, frame.top()},
        {REG_MainFrameLeft, frame.left()},
        {REG_MainFrameHeight, height()},
        {REG_MainFrameWidth, width()},
        {REG_MainCalendarWidth, body_->sizes().value(1)},
        {REG_DiaryHeight, calendar_->diaryHeight()},
        {REG_MainRefHeight, memoArea_->sizes().value(1)},
    };
    for (const auto& [id, v] : values)
        WriteSettingInt(id, v);
}

void MainWindow::SaveWorkspace()
{
    showSaveErrors(pages_->saveShownPages());
    Guarded(
        [this] {
            pages_->savePagePositions();
            reference_->SaveReferencePositions();
            pages_->updateDeleteButton();
        },
        this);
}

void MainWindow::showSaveErrors(const QStringList& errors)
{
    for (const QString& e : errors)
        ShowErrorBox(e, this);
}

void MainWindow::DeleteOrRestorePage()
{
    if (pages_->restoreOffered()) {
        pages_->restoreCurrentPage();
        return;
    }
    const int page = pages_->currentPage();
    const QString text =
        QStringLiteral("カレントのメモを削除します？\r\n\r\nメモNo = [%1]\r\n"
                       "メモ名称 = [%2]\r\n\r\n※削除後に復元ボタン押下にて復元できます")
            .arg(page + 1)
            .arg(pages_->tabName(page));
    if (Ask(BoxKind::Confirmation, text, BoxButtons::YesNo) == BoxAnswer::No)
        return;
    pages_->deleteCurrentPage();
}

void MainWindow::tickClock()
{
    clock_->setTimeText(RenderDateTime(QStringLiteral("hh:nn:ss"), Now()));
    alerts_->CheckScheduleMinute();
}

QPlainTextEdit* MainWindow::currentEditor() const
{
    return pages_->editor(pages_->currentPage());
}

// The window fades in over 300 ms and out over 500 ms where the desktop
// can show translucent windows; elsewhere it simply appears and goes.
static bool animated()
{
    return QGuiApplication::platformName() != QLatin1String("offscreen") &&
           !qEnvironmentVariableIsSet("VELNOTE_NO_ANIMATION");
}

void MainWindow::ShowMainWindow()
{
    fade_->stop();
    if (animated() && !isVisible()) {
        setWindowOpacity(0.0);
        fade_->setDuration(300);
        fade_->setStartValue(0.0);
        fade_->setEndValue(1.0);
        fade_->start();
    } else {
        setWindowOpacity(1.0);
    }
    show();
    raise();
    activateWindow();
}

void MainWindow::HideMainWindow()
{
    shown_ = false;
    fade_->stop();
    if (!animated() || !isVisible()) {
        hide();
        return;
    }
    fade_->setDuration(500);
    fade_->setStartValue(windowOpacity());
    fade_->setEndValue(0.0);
    fade_->start();
}

void MainWindow::ToggleMainWindow()
{
    if (shown_)
        HideMainWindow();
    else
        ShowMainWindow();
}

void MainWindow::applyDetailPane(bool pressed)
{
    // The pane shows only when the selected day has details to show.
    const bool hasText = !memoInfo_->document()->isEmpty();
    info_->setVisible(pressed && hasText && calendar_->isVisible());
}

void MainWindow::applyDiaryPane(bool pressed)
{
    calendar_->diaryPane()->setVisible(pressed);
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    shown_ = true;
    // Panes toggled without being saved return to their saved state.
    QToolButton* details = calendar_->detailsButton();
    QToolButton* diary = calendar_->diaryButton();
    details->setChecked(ReadSettingInt(REG_ShowScheduleDetailMain) == 1);
    diary->setChecked(ReadSettingInt(REG_ShowDiary) == 1);
    applyDetailPane(details->isChecked());
    applyDiaryPane(diary->isChecked());
    currentEditor()->setFocus();
    emit pages_->pageStatusChanged(pages_->pageStatusText());
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    const bool saved = Guarded(
        [this] {
            const bool diarySaved = calendar_->SaveDiaryForClose();
            pages_->savePages(kPageCount);
            if (!diarySaved) // the diary's text stays; the window does not close
                throw AppError(calendar_->diaryFailure());
        },
        this);
    if (!saved) {
        event->ignore();
        return;
    }
    if (App().exitRequested || App().sessionEnding) {
        App().timersQuiet = true;
        const bool done = Guarded(
            [this] {
                pages_->savePagePositions();
                reference_->SaveReferencePositions();
                WriteSettingInt(REG_VnoteActiveTab, pages_->currentPage());
                WriteSettingInt(REG_RefFileActiveTab, reference_->currentReference());
                SaveWindowLayout();
            },
            this);
        if (!done) {
            App().timersQuiet = false;
            event->ignore();
            return;
        }
        event->accept();
        hide();
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        return;
    }
    event->ignore();
    HideMainWindow();
}

void MainWindow::onApplicationStateChanged(Qt::ApplicationState state)
{
    if (state != Qt::ApplicationInactive || App().timersQuiet)
        return;
    SaveWorkspace();
    Guarded([this] { SaveDiary(); }, this);
}

bool MainWindow::handleKey(int key, Qt::KeyboardModifiers mods)
{
    mods &= Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    const bool pageKey = key == Qt::Key_PageUp || key == Qt::Key_PageDown;
    bool acted = false;
    const int page = pages_->currentPage();
    const int last = pages_->shownPageCount() - 1;
    const int step = key == Qt::Key_PageUp ? -1 : 1;
    if (mods == Qt::AltModifier && (pageKey || key == Qt::Key_Home)) {
        emit calendarKey(key);
        acted = true;
    } else if (mods == Qt::ControlModifier && pageKey) {
        if (page + step >= 0 && page + step <= last)
            pages_->selectPage(page + step);
        acted = true;
    } else if ((mods == (Qt::ControlModifier | Qt::ShiftModifier) ||
                mods == (Qt::ControlModifier | Qt::AltModifier)) &&
               pageKey) {
        if (page + step >= 0 && page + step <= last)
            Guarded([&] { pages_->movePage(page, page + step); }, this);
        acted = true;
    }
    if (pageKey)
        emit pages_->pageStatusChanged(pages_->pageStatusText());
    return acted;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && isActiveWindow() && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this) {
        auto* k = static_cast<QKeyEvent*>(event);
        if (handleKey(k->key(), k->modifiers()))
            return true; // the tab control would switch pages a second time
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace vn
