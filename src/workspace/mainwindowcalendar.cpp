// The main window's side of the calendar: the panel's commands, the day
// details, the schedule notifications and the diary.
#include "calendar/ui/calendarview.h"
#include "calendarpanel.h"
#include "daydetails.h"
#include "foundation/apperror.h"
#include "foundation/appstate.h"
#include "foundation/datetimeformat.h"
#include "foundation/paths.h"
#include "foundation/settings.h"
#include "mainwindow.h"
#include "memopagesview.h"
#include "pagecommands.h"
#include "schedulealerts.h"
#include "widgets/errorbox.h"
#include "widgets/uiprompts.h"
#include "workspacesettings.h"

#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>

#include <QTimer>
#include <QToolButton>
#include <cstdio>

namespace vn {

void MainWindow::connectCalendar()
{
    details_ = new DayDetails(calendar_->view(), statusPanels_, info_, memoInfo_,
                              calendar_->detailsButton());
    alerts_ = new ScheduleAlerts(calendar_->view(), this, balloonHints_);
    connect(calendar_, &CalendarPanel::selectedDayChanged, this,
            [this] { Guarded([this] { ShowSelectedDayDetails(); }, this); });
    connect(calendar_, &CalendarPanel::detailsSwitched, this, [this](bool on, bool save) {
        Guarded(
            [&] {
                if (save)
                    WriteSettingInt(REG_ShowScheduleDetailMain, on ? 1 : 0);
                applyDetailPane(on);
            },
            this);
    });
    connect(calendar_, &CalendarPanel::diarySwitched, this, [this](bool on, bool save) {
        Guarded(
            [&] {
                if (save)
                    WriteSettingInt(REG_ShowDiary, on ? 1 : 0);
                applyDiaryPane(on);
            },
            this);
    });
    auto dateText = [](DateTime d) { return RenderDateTime(Workspace().dateFormat, d); };
    connect(calendar_, &CalendarPanel::dateToCaret, this, [this, dateText](DateTime d) {
        Guarded([&] { commands_->InsertAtCaret(dateText(d) + QStringLiteral("\r\n")); }, this);
    });
    connect(calendar_, &CalendarPanel::dateToEnd, this, [this, dateText](DateTime d) {
        Guarded([&] { commands_->InsertAtEnd(dateText(d)); }, this);
    });
    connect(calendar_, &CalendarPanel::dateToClipboard, this,
            [dateText](DateTime d) { QApplication::clipboard()->setText(dateText(d)); });
    connect(this, &MainWindow::calendarKey, calendar_, &CalendarPanel::handleKey);
}

void MainWindow::startCalendar()
{
    // Holidays first: month-end repetitions of schedules step off them.
    calendar_->ReloadHolidays();
    calendar_->ReloadSchedules();
    alerts_->ReloadBalloonHints();
    // Announced once the tray icon is up, right after start-up.
    QTimer::singleShot(0, this, [this] { Guarded([this] { alerts_->AnnounceToday(); }, this); });
    calendar_->ApplyCalendarSettings();
    CalendarView* view = calendar_->view();
    view->SetDiaryFolder(DiaryFolder());
    view->MoveToToday();
    ShowSelectedDayDetails();
}

void MainWindow::ShowSelectedDayDetails()
{
    details_->ShowSelectedDayDetails();
}

void MainWindow::SaveDiary()
{
    calendar_->SaveDiary(); // a failure is shown once while it lasts
}

bool MainWindow::keepUnsavedDiary(bool ending)
{
    const QString failure = calendar_->diaryFailure();
    if (!ending) { // hidden, the text stays in the pane
        ShowErrorBox(failure, this);
        return true;
    }
    QString text = calendar_->diaryMemo()->toPlainText();
    text.replace(u'\n', QLatin1String("\r\n"));
    std::fprintf(stderr, "Velnote: %s\n", qPrintable(ErrorBoxText(failure)));
    if (text.isEmpty() || text == diaryCopied_)
        return true; // nothing typed is lost (or it was copied at an end that failed)
    const int page = pageForDiaryCopy();
    // Nobody may be there to answer. When no page may take the text, it
    // goes to a rescue file too: the clipboard goes with the program.
    if (App().sessionEnding) {
        if (copyDiaryToPage(text) < 0) {
            QApplication::clipboard()->setText(text);
            const QString day = calendar_->diaryDayName();
            rescue_.rescue(QStringLiteral("日記 %1").arg(day), QStringLiteral("diary"),
                           QStringLiteral("【日記 %1】\r\n").arg(day) + text);
        }
        diaryCopied_ = text;
        return true;
    }
    const QString head = QStringLiteral("日記を保存できません。\r\n\r\n") + ErrorBoxText(failure) +
                         QStringLiteral("\r\n\r\n日記の文章を写しておきますか？\r\n\r\n");
    BoxAnswer a;
    if (page >= 0) {
        a = Ask(BoxKind::Warning,
                head + QStringLiteral("[はい]：メモ「%1」の最後に写して終了。\r\n"
                                      "[いいえ]：クリップボードにコピーして終了。\r\n"
                                      "[キャンセル]：終了しない。")
                           .arg(pages_->tabName(page)),
                BoxButtons::YesNoCancel);
    } else {
        a = Ask(BoxKind::Warning,
                head + QStringLiteral("[OK]：クリップボードにコピーして終了。\r\n"
                                      "[キャンセル]：終了しない。"),
                BoxButtons::OkCancel);
    }
    if (a == BoxAnswer::Cancel) {
        App().exitRequested = false; // the next close only hides again
        return false;
    }
    if (a == BoxAnswer::Yes)
        copyDiaryToPage(text);
    else
        QApplication::clipboard()->setText(text);
    diaryCopied_ = text;
    return true;
}

int MainWindow::pageForDiaryCopy() const
{
    const PageStore& store = pages_->store();
    if (store.writable(pages_->currentPage()))
        return pages_->currentPage();
    for (int i = 0; i < pages_->shownPageCount(); ++i) // the shown pages first
        if (store.writable(i))
            return i;
    for (int i = 0; i < kPageCount; ++i)
        if (store.writable(i))
            return i;
    return -1;
}

int MainWindow::copyDiaryToPage(const QString& text)
{
    const int page = pageForDiaryCopy();
    if (page < 0)
        return -1;
    QString t = pages_->pageText(page);
    if (!t.isEmpty() && !t.endsWith(QLatin1String("\r\n")))
        t += QLatin1String("\r\n");
    t += QStringLiteral("【日記 %1】（日記ファイルに保存できなかった文章）\r\n")
             .arg(calendar_->diaryDayName());
    t += text;
    pages_->setPageText(page, t);
    return page;
}

} // namespace vn
