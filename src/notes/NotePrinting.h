#pragma once
// Printing a note: the print dialog, then the header and the text, wrapped at the page width.
// The work is done in the print module (libcorkvane-print.so beside the program), loaded with
// the first print: the print libraries cost every start time and memory, and few runs print.
#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>

class QWidget;

struct NotePrintJob
{
    QString documentName;   // the job's name in the print queue
    QStringList header;     // printed first, in the default font, in black
    QStringList lines;      // then the text, one entry per line
    QFont textFont;
    QColor textColour;
};

// The module's entry point: prints `job` after asking for a printer, or into the PDF file
// `pdfPath` when one is given. False when cancelled or when the print could not start; a print
// that fails part-way is dropped without a word.
using PrintNoteEntry = bool (*)(QWidget *parent, const NotePrintJob &job, const QString *pdfPath);
inline constexpr const char *kPrintModule = "corkvane-print";
inline constexpr const char *kPrintNoteSymbol = "corkvane_print_note";

namespace NotePrinting {

// False when cancelled or not printed; a missing module is reported to the user.
bool print(QWidget *parent, const NotePrintJob &job);

} // namespace NotePrinting
