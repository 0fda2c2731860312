// The restore window: generation labels, the two tab sets, taking back a
// page, the save question, storing and "元に戻す"; nothing written into a
// generation.
#include "backup/ui/restorewindow.h"
#include "widgets/colorref.h"

#include "fakeclock.h"
#include "foundation/paths.h"
#include "foundation/settings.h"
#include "foundation/textfile.h"
#include "tempdatafolder.h"
#include "widgets/errorbox.h"
#include "widgets/uiprompts.h"
#include "windowshot.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QDirIterator>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QToolButton>

using namespace vn;
using vn::test::FakeClock;
using vn::test::TempDataFolder;

namespace {

class FakePages : public RestorePages {
public:
    QStringList texts;
    QList<QPair<int, QString>> stored;
    FakePages()
    {
        for (int i = 0; i < 30; ++i)
            texts << QStringLiteral("今の%1頁\r\n二行目").arg(i + 1);
    }
    QString pageText(int page) const override { return texts.value(page); }
    bool pageTextEquals(int page, const QString& text) const override
    {
        return page < 0 || page >= 30 || texts[page] == text;
    }
    void replacePageText(int page, const QString& text) override
    {
        texts[page] = text;
        stored.append({page, text});
    }
};

void makeGeneration(const QString& name, const QStringList& tabNames)
{
    const QString folder = BackUpFolder() + u'/' + name + u'/';
    QDir().mkpath(folder);
    for (int i = 0; i < 30; ++i) {
        if (i == 4)
            continue; // page 5 is missing from every generation
        WriteEditText(
            folder + (i == 0 ? QStringLiteral("Vnote.vnm") : QStringLiteral("Vnote%1.vnm").arg(i)),
            QStringLiteral("%1 の%2頁\r\n控え").arg(name).arg(i + 1));
    }
    if (!tabNames.isEmpty())
        WriteLines(folder + "TabName.txt", tabNames);
}

// Every file under the BackUp folder with its bytes.
QMap<QString, QByteArray> snapshot()
{
    QMap<QString, QByteArray> files;
    QDirIterator it(BackUpFolder(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(path, ReadFileBytes(path));
    }
    return files;
}

} // namespace

class TstRestoreWindow : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        dir_ = std::make_unique<TempDataFolder>();
        clock_ = std::make_unique<FakeClock>(EncodeDate(2009, 1, 6) + EncodeTime(13, 0));
        saved_ = Prompts();
        questions_.clear();
        errors_.clear();
        SetErrorSink([this](const QString& t) { errors_.append(t); });
        answer_ = BoxAnswer::No;
        Prompts().message = [this](BoxKind k, const QString& t, BoxButtons b) {
            questions_.append(t);
            Q_UNUSED(k);
            return b == BoxButtons::YesNo ? answer_ : BoxAnswer::Ok;
        };
        QStringList tabs;
        for (int i = 0; i < 30; ++i)
            tabs << QStringLiteral("旧タブ%1").arg(i + 1);
        makeGeneration("20090105_120000", {});   // 25 hours old
        makeGeneration("20090105_140000", tabs); // 23 hours old
        makeGeneration("20090105_150000_Velnote", {});
        WriteSettingStr(REG_ShowTabName + 2, QStringLiteral("買い物"));
    }
    void cleanup()
    {
        Prompts() = saved_;
        SetErrorSink({});
        clock_.reset();
        dir_.reset();
    }

    void design()
    {
        RestoreWindow w;
        QCOMPARE(w.objectName(), QStringLiteral("TfrmBackUpMemo"));
        QCOMPARE(w.windowTitle(), QStringLiteral("バックアップされたメモ情報からの復元"));
        QCOMPARE(w.size(), QSize(812, 660));
        QVERIFY(w.backUpView()->isReadOnly());
        QVERIFY(!w.currentEditor()->isReadOnly());
        QVERIFY(!w.currentEditor()->tabChangesFocus());
        QCOMPARE(w.currentEditor()->lineWrapMode(), QPlainTextEdit::NoWrap);
        QCOMPARE(w.backUpView()->font().family(), DrawnFace(QStringLiteral("ＭＳ ゴシック")));
        QCOMPARE(w.backUpTabs()->count(), 30);
        QCOMPARE(w.currentTabs()->count(), 30);
        QVERIFY(w.synchroButton()->isCheckable() && w.synchroButton()->isChecked());
        QCOMPARE(w.synchroButton()->toolTip(), QStringLiteral("新・旧メモ情報を同時に移動"));
        QCOMPARE(w.findChild<QToolButton*>("ToolButton2")->toolTip(),
                 QStringLiteral("カレントのバックアップ・メモを最新メモに復元"));
        auto* close = w.findChild<QPushButton*>("cmdClose");
        QVERIFY(close->isDefault());
        QCOMPARE(w.findChild<QPushButton*>("cmdUpdate")->text(), QStringLiteral("更新"));
        QCOMPARE(w.findChild<QPushButton*>("cmdCancel")->text(), QStringLiteral("元に戻す"));
    }

    void generationsAndTheirLabels()
    {
        FakePages pages;
        RestoreWindow w;
        w.setPages(&pages);
        w.show();
        QCOMPARE(w.generationList()->count(), 3);
        QCOMPARE(w.generationList()->item(0)->text(), QStringLiteral("20090105_150000_Velnote"));
        QCOMPARE(w.generationList()->currentRow(), 0);
        QCOMPARE(w.statusPanel(0), QStringLiteral("24時間以内のBackUp [2009/01/05(月) 15:00:00]"));
        QCOMPARE(w.statusPanel(2), QStringLiteral("→"));
        QCOMPARE(w.backUpView()->toPlainText(),
                 QStringLiteral("20090105_150000_Velnote の1頁\n控え"));
        // No TabName.txt: the default captions; the lower ones follow the settings.
        QCOMPARE(w.backUpTabs()->tabText(2), QStringLiteral("メモ3"));
        QCOMPARE(w.currentTabs()->tabText(2), QStringLiteral("買い物"));
        QCOMPARE(w.currentTabs()->tabText(0), QStringLiteral("メモ１"));
        QCOMPARE(w.currentEditor()->toPlainText(), QStringLiteral("今の1頁\n二行目"));

        w.generationList()->setCurrentRow(1); // 23 hours old, with tab names
        QCOMPARE(w.statusPanel(0), QStringLiteral("24時間以内のBackUp [2009/01/05(月) 14:00:00]"));
        QCOMPARE(w.backUpTabs()->tabText(2), QStringLiteral("旧タブ3"));
        QCOMPARE(w.statusPanel(1), QStringLiteral("旧タブ1"));
        w.generationList()->setCurrentRow(2); // 25 hours old
        QCOMPARE(w.statusPanel(0), QStringLiteral("1日前のBackUp [2009/01/05(月) 12:00:00]"));
        QCOMPARE(w.backUpTabs()->tabText(2), QStringLiteral("メモ3"));
        w.hide();
    }

    void synchronisedAndFreeTabSets()
    {
        FakePages pages;
        RestoreWindow w;
        w.setPages(&pages);
        w.show();
        w.generationList()->setCurrentRow(1);
        w.backUpTabs()->setCurrentIndex(2); // synchronised: both move
        QCOMPARE(w.currentTabs()->currentIndex(), 2);
        test::SaveWindowShot(&w, "restorewindow");
        QCOMPARE(w.backUpView()->toPlainText(), QStringLiteral("20090105_140000 の3頁\n控え"));
        QCOMPARE(w.currentEditor()->toPlainText(), QStringLiteral("今の3頁\n二行目"));
        QCOMPARE(w.statusPanel(1), QStringLiteral("旧タブ3"));
        QCOMPARE(w.statusPanel(3), QStringLiteral("買い物"));

        // Free: page 3 of the generation pasted into page 7.
        QTest::mouseClick(w.synchroButton(), Qt::LeftButton);
        QVERIFY(!w.synchroButton()->isChecked());
        w.currentTabs()->setCurrentIndex(6);
        QCOMPARE(w.backUpTabs()->currentIndex(), 2);
        QCOMPARE(w.shownCurrentPage(), 6);
        w.backUpView()->selectAll();
        w.runTool(RestoreWindow::Tool::CopyPart);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("20090105_140000 の3頁\n控え"));
        w.currentEditor()->moveCursor(QTextCursor::End);
        w.runTool(RestoreWindow::Tool::PastePart);
        QCOMPARE(w.currentEditor()->toPlainText(),
                 QStringLiteral("今の7頁\n二行目20090105_140000 の3頁\n控え"));
        QVERIFY(pages.stored.isEmpty()); // nothing stored yet
        answer_ = BoxAnswer::Yes;
        w.close(); // the way out offers to store
        QCOMPARE(questions_, QStringList({"変更内容を保存しますか？\r\n"}));
        QCOMPARE(pages.stored.size(), 1);
        QCOMPARE(pages.stored[0].first, 6);
        QCOMPARE(pages.stored[0].second,
                 QStringLiteral("今の7頁\r\n二行目20090105_140000 の3頁\r\n控え"));
    }

    void theSaveQuestionAndTakingBack()
    {
        const QMap<QString, QByteArray> before = snapshot();
        FakePages pages;
        RestoreWindow w;
        w.setPages(&pages);
        w.show();
        w.generationList()->setCurrentRow(1);
        // Take back the whole saved page 1: the editor only.
        w.runTool(RestoreWindow::Tool::RestoreWhole);
        QCOMPARE(w.currentEditor()->toPlainText(), QStringLiteral("20090105_140000 の1頁\n控え"));
        QVERIFY(pages.stored.isEmpty());
        // Switching the lower tab asks about page 1 before page 2 is loaded;
        // "いいえ(&N)" leaves the page as it was.
        answer_ = BoxAnswer::No;
        w.currentTabs()->setCurrentIndex(1);
        QCOMPARE(questions_.size(), 1);
        QCOMPARE(questions_[0], QStringLiteral("変更内容を保存しますか？\r\n"));
        QVERIFY(pages.stored.isEmpty());
        QCOMPARE(w.currentEditor()->toPlainText(), QStringLiteral("今の2頁\n二行目"));
        // Switching without edits asks nothing.
        w.currentTabs()->setCurrentIndex(0);
        QCOMPARE(questions_.size(), 1);

        // A page missing from the generation cannot be taken back whole.
        w.backUpTabs()->setCurrentIndex(4);
        QCOMPARE(w.backUpView()->toPlainText(),
                 QStringLiteral("【警告】バックアップファイルが削除されています!!"));
        w.runTool(RestoreWindow::Tool::RestoreWhole);
        QCOMPARE(questions_.last(), QStringLiteral("バックアップファイルが削除されています!!"));
        QCOMPARE(w.currentEditor()->toPlainText(), QStringLiteral("今の5頁\n二行目"));

        // "更新" stores; "元に戻す" then reloads what was just stored.
        w.backUpTabs()->setCurrentIndex(3);
        w.runTool(RestoreWindow::Tool::RestoreWhole);
        QTest::mouseClick(w.findChild<QPushButton*>("cmdUpdate"), Qt::LeftButton);
        QCOMPARE(pages.stored.size(), 1);
        QCOMPARE(pages.stored[0], qMakePair(3, QStringLiteral("20090105_140000 の4頁\r\n控え")));
        w.currentEditor()->setPlainText(QStringLiteral("書きかけ"));
        QTest::mouseClick(w.findChild<QPushButton*>("cmdCancel"), Qt::LeftButton);
        QCOMPARE(w.currentEditor()->toPlainText(), QStringLiteral("20090105_140000 の4頁\n控え"));
        const int asked = int(questions_.size());
        w.close();
        QCOMPARE(questions_.size(), asked); // nothing left to store
        QCOMPARE(pages.stored.size(), 1);

        // Shown again: the edits of the last showing are offered first.
        w.show();
        w.currentEditor()->setPlainText(QStringLiteral("残した編集"));
        w.hide();
        answer_ = BoxAnswer::No;
        w.show();
        QCOMPARE(questions_.size(), asked + 1);
        QCOMPARE(w.currentEditor()->toPlainText(), QStringLiteral("残した編集"));
        w.hide();
        QCOMPARE(snapshot(), before); // the generations never changed
    }

    void namesWithoutAStampAndAnEmptyFolder()
    {
        FakePages pages;
        RestoreWindow w;
        w.setPages(&pages);
        w.show();
        const QString shown = w.backUpView()->toPlainText();
        QCOMPARE(shown, QStringLiteral("20090105_150000_Velnote の1頁\n控え"));
        w.hide();
        QDir().mkpath(BackUpFolder() + "/メモ");
        w.show(); // "メモ" sorts last, so it is shown first
        QCOMPARE(w.generationList()->currentItem()->text(), QStringLiteral("メモ"));
        QCOMPARE(errors_, QStringList({"'メモ' は正しい日付時刻ではありません."}));
        QCOMPARE(w.backUpView()->toPlainText(), shown);
        w.hide();

        QDir(BackUpFolder()).removeRecursively();
        w.show();
        QCOMPARE(w.generationList()->count(), 0);
        QCOMPARE(w.backUpView()->toPlainText(), shown); // unchanged
        w.hide();
    }

    // A backup made or pruned while the window is open: the list follows,
    // the generation being looked at stays shown while it is there.
    void generationsMadeWhileOpen()
    {
        FakePages pages;
        RestoreWindow w;
        w.setPages(&pages);
        w.show();
        w.generationList()->setCurrentRow(1);
        w.backUpTabs()->setCurrentIndex(2);
        const QString shown = QStringLiteral("20090105_140000 の3頁\n控え");
        QCOMPARE(w.backUpView()->toPlainText(), shown);
        makeGeneration("20090106_120000", {});
        w.refreshGenerations();
        QCOMPARE(w.generationList()->count(), 4);
        QCOMPARE(w.generationList()->item(0)->text(), QStringLiteral("20090106_120000"));
        QCOMPARE(w.generationList()->currentItem()->text(), QStringLiteral("20090105_140000"));
        QCOMPARE(w.backUpView()->toPlainText(), shown);
        QCOMPARE(w.statusPanel(1), QStringLiteral("旧タブ3"));

        QDir(BackUpFolder() + "/20090105_140000").removeRecursively(); // pruned
        w.refreshGenerations();
        QCOMPARE(w.generationList()->count(), 3);
        QCOMPARE(w.generationList()->currentRow(), 0);
        QCOMPARE(w.backUpView()->toPlainText(), QStringLiteral("20090106_120000 の3頁\n控え"));
        QCOMPARE(w.statusPanel(0), QStringLiteral("24時間以内のBackUp [2009/01/06(火) 12:00:00]"));
        QVERIFY(errors_.isEmpty());
        w.hide();
    }

private:
    std::unique_ptr<TempDataFolder> dir_;
    std::unique_ptr<FakeClock> clock_;
    UiPrompts saved_;
    QStringList questions_;
    QStringList errors_;
    BoxAnswer answer_ = BoxAnswer::No;
};

QTEST_MAIN(TstRestoreWindow)
#include "tst_restorewindow.moc"
