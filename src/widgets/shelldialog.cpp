#include "widgets/shelldialog.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

#include <iterator>
#include <memory>

namespace vn {

namespace {

QFont secondaryWindowFont()
{
    QFont f(QStringLiteral("ＭＳ Ｐゴシック"));
    f.setPixelSize(12);
    return f;
}

struct FontLoading {
    QList<QFont> fonts;
    int turn = 0;
};

// Each script of Japanese text (kana, kanji) and Latin letters and digits
// loads faces of its own: one font and one script a turn.
void loadNext(const std::shared_ptr<FontLoading>& loading)
{
    static const QString samples[] = {QStringLiteral("あ"), QStringLiteral("ア"),
                                      QStringLiteral("漢"), QStringLiteral("A1")};
    constexpr int sampleCount = int(std::size(samples));
    const int turn = loading->turn++;
    const QFontMetrics metrics(loading->fonts[turn / sampleCount]);
    metrics.horizontalAdvance(samples[turn % sampleCount]);
    if (turn % sampleCount == 0)
        metrics.lineSpacing();
    if (loading->turn < loading->fonts.size() * sampleCount)
        QTimer::singleShot(0, qApp, [loading] { loadNext(loading); });
}

} // namespace

void SetSecondaryWindowFont(QWidget* window)
{
    window->setFont(secondaryWindowFont());
}

QList<QFont> SecondaryWindowFonts()
{
    QFont bold = secondaryWindowFont();
    bold.setWeight(QFont::Bold); // list headers are measured in bold
    QFont fixed(QStringLiteral("ＭＳ ゴシック"));
    fixed.setPixelSize(12);
    fixed.setStyleHint(QFont::Monospace);
    return {secondaryWindowFont(), bold, fixed};
}

void LoadFontsInTurns(QList<QFont> fonts)
{
    if (!fonts.isEmpty())
        QTimer::singleShot(
            0, qApp, [loading = std::make_shared<FontLoading>(FontLoading{std::move(fonts), 0})] {
                loadNext(loading);
            });
}

void SetUpSecondaryWindow(QDialog* dialog, const char* objectName, const QString& caption,
                          QSize designSize)
{
    dialog->setObjectName(QLatin1String(objectName));
    dialog->setWindowTitle(caption);
    dialog->setModal(true);
    dialog->resize(designSize);
    SetSecondaryWindowFont(dialog); // nothing to do when it was set before the children
}

} // namespace vn

namespace vn {

void CentreOnScreen(QWidget* window)
{
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QRect frame = window->frameGeometry();
    window->move(area.center() - QPoint(frame.width() / 2, frame.height() / 2) +
                 (window->pos() - frame.topLeft()));
}

} // namespace vn
