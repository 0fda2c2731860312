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
#include "foundation/startuptrace.h"
#include "foundation/textcodec.h"
#include "icons/toolicons.h"
#include "maintoolbar.h"
#include "memopagesview.h"
#include "outsidewatch.h"
#include "pagecommands.h"
#include "platform/platform.h"
#include "referencearea.h"
#include "schedulealerts.h"
#include "widgets/colorref.h"
#include "widgets/composition.h"
#include "widgets/errorbox.h"
#include "widgets/statuspanels.h"
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
    QFont f(DrawnFace(UiFace()));
    f.setPixelSize(12);
    setFont(f);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    resize(761, 526);

    buildLayout();
    MarkStartupPhase("main window: widgets");
    commands_ = new PageCommands(pages_);
    connectCommands();
    connectCalendar();
    qApp->installEventFilter(this);
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            &MainWindow::onApplicationStateChanged);

    // Start-up goes on past every error it meets (a file it cannot read or
    // write), runs with what it could read and shows the errors once.
    GatheredErrors startErrors;
    IniReadBurst burst; // start-up reads the settings file once
    LoadWorkspaceSettings();
    for (const QString& error : pages_->loadPages())
        ShowErrorBox(error, this);
    Guarded(
        [this] {
            pages_->applyPageCount(Workspace().shownPageCount, Workspace().multiLineTabs);
            pages_->applyTabNames();
        },
        this);
    Guarded([this] { RestoreWindowLayout(); }, this);
    MarkStartupPhase("main window: settings, fonts, reference files, pages");
    Guarded([this] { startCalendar(); }, this);
    MarkStartupPhase("main window: holidays, schedules, balloon hints, calendar");
    Guarded([this] { pages_->createMissingPageFiles(); }, this);
    watchOutsideChanges();

    fade_ = new QPropertyAnimation(this, "windowOpacity", this);
    connect(fade_, &QPropertyAnimation::finished, this, [this] {
        if (!shown_) {
            hide();
            setWindowOpacity(1.0);
        }
    });
    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setSingleShot(true);
    timer1_->setTimerType(Qt::PreciseTimer);
    connect(timer1_, &QTimer::timeout, this, [this] {
        if (!App().timersQuiet)
            Guarded([this] { tickClock(); }, this);
        armClock();
    });
    armClock();
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
    connect(memoArea_, &QSplitter::splitterMoved, this, [this] { referenceHeight(); });
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

    // In a narrow window the panels give way: the rokuyō first, then the
    // schedule count, the page status, the holiday; the date goes last.
    static const int widths[] = {180, 60, 60, 180, 60, 50};
    static const Qt::Alignment aligns[] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter,
                                           Qt::AlignLeft, Qt::AlignLeft,  Qt::AlignLeft};
    static const int ranks[] = {5, 4, 0, 3, 1, 2};
    statusPanels_ = new StatusPanels(this);
    statusPanels_->setObjectName(QStringLiteral("StatusBar1"));
    for (int i = 0; i < 6; ++i) {
        StatusPanel* l = statusPanels_->addPanel(QStringLiteral("StatusPanel%1").arg(i), widths[i],
                                                 aligns[i], ranks[i], i == 5);
        l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        status_[size_t(i)] = l;
    }
    statusBar()->addWidget(statusPanels_, 1);
    connect(pages_, &MemoPagesView::pageStatusChanged, status_[5], &QLabel::setText);
}

void MainWindow::connectCommands()
{
    using Command = MainToolBar::Command;
    auto on = [this](Command c, auto fn) {
        connect(toolBar_->action(c), &QAction::triggered, this, [this, fn] { Guarded(fn, this); });
    };
    auto exec = [](const std::function<QDialog*()>& open) {
        if (QDialog* d = open ? open() : nullptr)
            d->exec();
    };
    on(Command::Settings, [this, exec] {
        exec(windows_.env);
        afterSettingsDialog();
    });
    on(Command::AlwaysOnTop, [this] {
        const bool on = toolBar_->action(Command::AlwaysOnTop)->isChecked();
        WriteSettingInt(REG_WinTop, on ? 1 : 0);
        applyStayOnTop(on);
    });
    on(Command::Search, [this] { emit searchRequested(); });
    on(Command::Calendar, [this] { applyCalendarVisibility(); });
    on(Command::Reference, [this] {
        referenceHeight(); // while the area still shows it
        reference_->ApplyReferenceVisibility();
    });
    // The list edits the hints the minute check asks: nothing to reload.
    on(Command::BalloonHints, [this, exec] { exec(windows_.balloonHintList); });
    on(Command::RunRecord, [this, exec] { exec(windows_.dateTime); });
    on(Command::Help, [] {
        const QString help = HelpFilePath(); // opened in the desktop's browser
        if (help.isEmpty())
            Ask(BoxKind::Information,
                QStringLiteral("ヘルプファイルが見つかりません。\r\n"
                               "Velnoteをインストールし直してください。"),
                BoxButtons::Ok);
        else if (!CurrentPlatform().desktop->openDocument(help))
            Ask(BoxKind::Information,
                QStringLiteral("ヘルプを開くプログラムが見つかりません。\r\n"
                               "ブラウザで次のファイルを開いてください：\r\n") +
                    help,
                BoxButtons::Ok);
    });

    on(Command::Print, [this] { emit printRequested(); });
    on(Command::Calculator, [this] { commands_->StartCalculator(); });
    on(Command::DeletePage, [this] { DeleteOrRestorePage(); });
    connect(pages_, &MemoPagesView::deleteStateChanged, this, [this](bool restore) {
        QAction* b = toolBar_->action(Command::DeletePage);
        b->setToolTip(restore ? QStringLiteral("カレントのメモを復元")
                              : QStringLiteral("カレントのメモを削除"));
        b->setText(b->toolTip() + QStringLiteral("(&D)"));
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
    std::array<QAction*, kReferenceCount> slotButtons{};
    for (int i = 0; i < kReferenceCount; ++i)
        slotButtons[size_t(i)] = toolBar_->referenceAction(i);
    reference_->setButtons(slotButtons, toolBar_->action(Command::Reference), [this](bool shown) {
        for (int i = 0; i < kReferenceCount; ++i)
            toolBar_->setReferenceButtonVisible(i, shown);
    });
}

void MainWindow::LoadWorkspaceSettings()
{
    SetSettingsFile(SettingsFilePath());
    Guarded([] { CheckSettingsFileReadable(); }, this);
    Workspace() = WorkspaceSettings::Load();
    // Fonts and wrapping go to the editors before their text does: the
    // text is laid out once.
    reference_->applyFontAndColour();
    reference_->applyWordWrap(Workspace().wrapReferences);
    Guarded([this] { reference_->LoadReferenceFiles(); }, this);
    toolBar_->action(MainToolBar::Command::Reference)
        ->setChecked(ReadSettingInt(REG_ShowRefFile) == 1);
    reference_->ApplyReferenceVisibility(false);
    pages_->applyFontsAndColours();
    pages_->applyWordWrap(Workspace().wrapPages);
    toolBar_->action(MainToolBar::Command::Calendar)
        ->setChecked(ReadSettingInt(REG_ShowCalendar) == 1);
    calendar_->setVisible(ReadSettingInt(REG_ShowCalendar) == 1);
    const bool onTop = ReadSettingInt(REG_WinTop) == 1;
    toolBar_->action(MainToolBar::Command::AlwaysOnTop)->setChecked(onTop);
    applyStayOnTop(onTop);
}

void MainWindow::applyCalendarVisibility()
{
    QAction* b = toolBar_->action(MainToolBar::Command::Calendar);
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

void MainWindow::afterSettingsDialog()
{
    ShowSelectedDayDetails();
    WriteSettingInt(REG_VnoteActiveTab, pages_->currentPage());
    pages_->applyPageCount(Workspace().shownPageCount, Workspace().multiLineTabs);
    pages_->applyTabNames();
    pages_->applyWordWrap(Workspace().wrapPages);
    reference_->applyWordWrap(Workspace().wrapReferences);
}

void MainWindow::watchOutsideChanges()
{
    new OutsideChangeNotices(
        [this](const QString& path) { return reference_->openInFreeSlot(path); }, this);
    outsideWatch_ = new OutsideWatch(this);
    connect(outsideWatch_, &OutsideWatch::changed, this, [this] {
        Guarded([this] {
            pages_->takeInOutsideChanges();
            calendar_->takeInDiaryChange();
            if (alerts_)
                alerts_->takeInBalloonHintChange();
        });
    });
    // Watched once the window is up: start-up waits for none of it (a change
    // meanwhile is still seen, by the look at the next save).
    QTimer::singleShot(1000, outsideWatch_, [this] {
        QStringList files;
        for (int i = 0; i < kPageCount; ++i)
            files << PageFilePath(i);
        files << BalloonHintPath();
        outsideWatch_->watch(files);
    });
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
    if (!pages_->store().writable(page)) { // its file is not to be written
        Ask(BoxKind::Information,
            QStringLiteral("メモ「%1」は読み取り専用のため削除できません。")
                .arg(pages_->tabName(page)),
            BoxButtons::Ok);
        return;
    }
    const QString text =
        QStringLiteral("カレントのメモを削除します？\r\n\r\nメモNo = [%1]\r\n"
                       "メモ名称 = [%2]\r\n\r\n※削除後に復元ボタン押下にて復元できます")
            .arg(page + 1)
            .arg(pages_->tabName(page));
    if (Ask(BoxKind::Confirmation, text, BoxButtons::YesNo) == BoxAnswer::No)
        return;
    pages_->deleteCurrentPage();
}

void MainWindow::armClock()
{
    // The clock shows seconds while the window is up; hidden, only the
    // minute check is due, just after each minute begins.
    if (isVisible()) {
        timer1_->start(kClockTickMSecs);
        return;
    }
    const HMS t = DecodeTime(Now());
    timer1_->start((60 - t.second) * 1000 - t.msec + 50);
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

void MainWindow::closeEvent(QCloseEvent* event)
{
    CommitComposition(); // the word being typed is saved with the page
    // A diary that cannot be saved never keeps the window up or the program
    // running: hidden, its text stays in the pane; at the end it is offered
    // for a copy (the user may still choose to stay).
    if (!calendar_->SaveDiaryForClose() &&
        !keepUnsavedDiary(App().exitRequested || App().sessionEnding)) {
        event->ignore();
        return;
    }
    const bool saved = Guarded([this] { pages_->savePages(kPageCount); }, this);
    if (!saved) {
        // Nobody may be there to make room: the text goes to a rescue file.
        if (App().sessionEnding)
            rescue_.rescueFailingPages(pages_->store());
        event->ignore();
        return;
    }
    if (App().exitRequested || App().sessionEnding) {
        App().timersQuiet = true;
        // The pages are safe; an error writing the carets or the layout is
        // shown but does not keep the program from ending.
        Guarded(
            [this] {
                IniReadBurst burst;  // one reading of the settings file
                IniWriteBatch batch; // and one rewrite, not one per value
                pages_->savePagePositions();
                reference_->SaveReferencePositions();
                WriteSettingInt(REG_VnoteActiveTab, pages_->currentPage());
                WriteSettingInt(REG_RefFileActiveTab, reference_->currentReference());
                SaveWindowLayout();
                batch.commit();
            },
            this);
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
    } else if (mods == Qt::NoModifier && key == Qt::Key_F10) {
        toolBar_->popupCommandMenu(); // every toolbar command, for the keyboard
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
