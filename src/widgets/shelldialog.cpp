#include "widgets/shelldialog.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

#include <memory>

namespace vn {

namespace {

QFont secondaryWindowFont()
{
    QFont f(QStringLiteral("ＭＳ Ｐゴシック"));
    f.setPixelSize(12);
    return f;
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
    if (fonts.isEmpty())
        return;
    QTimer::singleShot(0, qApp, [fonts = std::move(fonts)]() mutable {
        // Kana, kanji, digits and Latin letters: each script's font is loaded.
        const QFontMetrics metrics(fonts.takeFirst());
        metrics.horizontalAdvance(QStringLiteral("あア漢字Aa1"));
        metrics.lineSpacing();
        LoadFontsInTurns(std::move(fonts));
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
