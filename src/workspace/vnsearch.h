#pragma once
#include <QDialog>

namespace vn {

// The text search dialog "文字列検索". Its creation ends the quiet start-up.
class TfrmSearch : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSearch(QWidget* parent = nullptr);
};

} // namespace vn
