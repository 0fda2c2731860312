#pragma once
// The memo report: A4 portrait, 10 mm margins, a header band with the title
// and the print date, the body text wrapping over as many pages as it
// needs, and a footer with the page number.
#include "printservice.h"

#include <QFont>
#include <QString>

class QPrinter;

namespace vn {

class MemoReport {
public:
    explicit MemoReport(MemoReportContent content);

    const MemoReportContent& content() const { return content_; }

    // A4 portrait on the whole sheet; the report places its bands itself.
    static void PreparePrinter(QPrinter& printer);

    // Lays the report out for the printer and prints it: the chosen page
    // range (all pages when none), and the copies the print system does not
    // make itself. The print date is taken once, when printing starts.
    // Returns the report's number of pages, 0 when the printer failed.
    int Print(QPrinter& printer) const;

    // Number of pages the report takes on the printer.
    int PageCount(QPrinter& printer) const;

    QFont TitleFont() const;
    QFont DateFont() const;
    QFont BodyFont() const;
    QFont PageNumberFont() const;

    // The print date text as the header shows it.
    static QString PrintDateText();

private:
    MemoReportContent content_;
};

// Prints the report straight into a PDF file; false when it cannot be
// written.
bool PrintReportToPdf(const MemoReport& report, const QString& pdfPath);

} // namespace vn
