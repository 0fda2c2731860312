#pragma once
// The desktop's widget style, with the few standard icons the main window
// needs at start-up drawn in code. The style's own icons are image files:
// reading the first one loads every image-format plugin, which would cost
// the first paint several milliseconds for a button that is rarely shown.
#include <QProxyStyle>

namespace vn {

class AppStyle : public QProxyStyle {
public:
    AppStyle(); // over the style the application has chosen
    QIcon standardIcon(StandardPixmap which, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};

} // namespace vn
