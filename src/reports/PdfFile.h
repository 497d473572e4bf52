#pragma once

#include <QString>

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

// Shaped texts and font subsets are kept between files for a run of many
// small files; this lets them go (the calling thread's and the shared ones).
void Forget_Caches();

} // namespace PdfFile
