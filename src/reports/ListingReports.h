#pragma once

#include "LabelSheet.h"
#include "LabelTemplates.h"
#include "Report.h"

// The fund report: table 1 a line per gift, grouped by date with a total
// per date and for the report.
class rptFunds : public Report {
public:
    rptFunds() : Report(QStringLiteral("rptFunds")) {}
    QString Title() const override { return QStringLiteral("Fund Report"); }
    ReportDocument Layout(const QDate& printed) const override;
};

// The telephone directory: table 1 a line per contributor, sorted on its
// SortField.
class rptTelephone : public Report {
public:
    rptTelephone() : Report(QStringLiteral("rptTelephone")) {}
    QString Title() const override { return QStringLiteral("Telephone Directory"); }
    ReportDocument Layout(const QDate& printed) const override;
};

// What every label layout shares: the sheet it prints on and the printer's
// calibration, an offset in points that moves every label.
class LabelReport : public Report {
public:
    using Report::Report;
    void SetSheet(const LabelTemplate& sheet) { m_sheet = sheet; }
    const LabelTemplate& Sheet() const { return m_sheet; }
    void SetOffset(const QPointF& points) { m_offset = points; }
    QPointF Offset() const { return m_offset; }
    // The sheet in report units, every label moved by the offset.
    LabelGeometry Geometry() const;
    // Paints label sheets at their actual size from the paper's top-left
    // corner, whatever paper the device has, so that no fitting to the
    // page moves the labels off their cells (pages from..to, 0-based).
    static void Render_Actual_Size(const ReportDocument& doc, QPagedPaintDevice& device, int from = 0, int to = -1);

protected:
    // Lays out the rows of table 1 in the order of its SortField; a row
    // that blank() accepts leaves its label empty; lead() gives a line
    // printed large above the text. The CSV export lists the printed labels
    // with these headings and cells.
    ReportDocument Lay_Labels(const QDate& printed, const std::function<bool(const ReportTable&, int)>& blank,
                              const std::function<QString(const ReportTable&, int)>& text, const QStringList& headings,
                              const std::function<QStringList(const ReportTable&, int)>& cells,
                              const std::function<QString(const ReportTable&, int)>& lead = {}) const;

private:
    LabelTemplate m_sheet = LabelTemplates::Avery5160();
    QPointF m_offset;
};

// Address labels (memorial donors, mailing labels): NameAddr on each label,
// "." for a label left blank.
class rptMemorials : public LabelReport {
public:
    rptMemorials() : LabelReport(QStringLiteral("rptMemorials")) {}
    QString Title() const override { return QStringLiteral("Labels"); }
    ReportDocument Layout(const QDate& printed) const override;
};

// Envelope box labels: the envelope number large, for the one pulling
// boxes, and the name under it.
class rptEnvLabels : public LabelReport {
public:
    rptEnvLabels() : LabelReport(QStringLiteral("rptEnvLabels")) {}
    QString Title() const override { return QStringLiteral("Envelope Box Labels"); }
    ReportDocument Layout(const QDate& printed) const override;
};
