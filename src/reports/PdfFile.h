#pragma once

#include <QString>
#include <memory>

class QIODevice;
class ReportDocument;

// Writes a report document as a PDF file of its own making: each text run
// shaped once (Qt's layout, so line breaks and glyph positions are those the
// viewer paints) and written as one text operator per line, the fonts
// embedded as subsets with a map back to the text, every page compressed and
// written to the file as soon as it is made. The file appears whole or not
// at all. Safe to call from several threads at once, each with its own file.
namespace PdfFile {

bool Write(const ReportDocument& doc, const QString& path, QString* error = nullptr);
// The same into an open device (a buffer that a thread fills while another
// writes files); false with the device's reason when it refuses the bytes.
bool Write(const ReportDocument& doc, QIODevice& out, QString* error = nullptr);

// A document's pages made ready for a Stream, on any thread: every page's
// content made and compressed and the glyphs it shows noted, so that the
// thread writing the file only copies bytes. Holds no document.
class Pages {
public:
    Pages();
    ~Pages();
    Pages(Pages&&) noexcept;
    Pages& operator=(Pages&&) noexcept;
    int Count() const;

private:
    friend class Stream;
    friend Pages Make_Pages(const ReportDocument& doc, int from, int count);
    struct Data;
    std::unique_ptr<Data> d;
};
// The pages from 'from' on, 'count' of them (-1: to the end).
Pages Make_Pages(const ReportDocument& doc, int from = 0, int count = -1);

// A file made of the pages of several documents one after the other (a
// statement run laid out one statement at a time), so that only the
// document being added is in memory. Finish writes the fonts and the
// index; a stream not finished leaves an unfinished file to be thrown
// away (the caller writes through a QSaveFile or a temporary file).
class Stream {
public:
    // manyPages: pages are compressed on a thread of their own.
    Stream(QIODevice& out, const QString& title, bool manyPages = true);
    ~Stream();
    bool Add(const ReportDocument& doc);
    bool Add(const Pages& made);
    bool Finish(QString* error = nullptr);

private:
    struct Private;
    std::unique_ptr<Private> d;
};

// Shaped texts and font subsets are kept between files for a run of many
// small files; this lets them go (the calling thread's and the shared ones).
void Forget_Caches();

} // namespace PdfFile
