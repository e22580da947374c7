// The print module (libcorkvane-print.so): the print dialog and the printing of a note.
#include "notes/NotePrinting.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextLayout>

namespace {

// Writes `lines` from `y` down, wrapping at the page width and starting new pages as needed.
void printLines(QPainter &painter, QPrinter &printer, const QStringList &lines, const QFont &font, qreal &y)
{
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    const qreal width = page.width();
    const qreal height = page.height();
    painter.setFont(font);
    const qreal lineSpacing = QFontMetricsF(font, &printer).lineSpacing();

    auto roomFor = [&](qreal h) {
        if (y > 0 && y + h > height) {
            printer.newPage();
            y = 0;
        }
    };

    for (const QString &line : lines) {
        if (line.isEmpty()) {
            roomFor(lineSpacing);
            y += lineSpacing;
            continue;
        }
        QTextLayout layout(line, font, &printer);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        qreal layoutY = 0;
        QList<QTextLine> made;
        for (;;) {
            QTextLine tl = layout.createLine();
            if (!tl.isValid())
                break;
            tl.setLineWidth(width);
            tl.setPosition(QPointF(0, layoutY));
            layoutY += tl.height();
            made.append(tl);
        }
        layout.endLayout();
        for (const QTextLine &tl : made) {
            roomFor(tl.height());
            tl.draw(&painter, QPointF(0, y - tl.position().y()));
            y += tl.height();
        }
    }
}

} // namespace

extern "C" Q_DECL_EXPORT bool corkvane_print_note(QWidget *parent, const NotePrintJob &job, const QString *pdfPath)
{
    QPrinter printer(QPrinter::HighResolution);
    if (pdfPath) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(*pdfPath);
    } else {
        QPrintDialog dialog(&printer, parent);
        if (dialog.exec() != QDialog::Accepted)
            return false;
    }
    printer.setDocName(job.documentName);

    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    qreal y = 0;
    painter.setPen(Qt::black);
    printLines(painter, printer, job.header, QFont(), y);
    painter.setPen(job.textColour);
    printLines(painter, printer, job.lines, job.textFont, y);
    painter.end();
    return true;
}
