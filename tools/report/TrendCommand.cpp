// qv-report's trends command: the four giving trends charts of a year as
// PNG pictures and their series as CSV files, drawn by the same code as
// the Giving Trends window.
//   qv-report DATAFILE trends --year Y [--fund F] [--png FOLDER] [--csv FOLDER]
// F is a fund reference (-2025 for that year's main fund) or a name as the
// window's fund list shows it; without it, the year's main fund.
#include "ReportCommands.h"
#include "reports/Report.h"
#include "reports/ReportDocument.h"
#include "reports/TrendCharts.h"
#include "reports/TrendTables.h"
#include "core/modGlobal.h"
#include "storage/modStartup.h"
#include "core/Connection.h"
#include "core/DbError.h"
#include "storage/clsFunds.h"

#include <QApplication>
#include <QChart>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>
#include <cstdio>
#include <memory>

namespace {
// A series as the CSV files of the reports are written: the column names as
// headings, amounts with two decimals, text a spreadsheet takes as text.
PrintedTable Printed(const ReportTable& t)
{
    PrintedTable p;
    p.name = t.Name();
    p.headings = t.FieldNames();
    for (int r = 0; r < t.RowCount(); ++r) {
        QStringList row;
        for (int f = 0; f < p.headings.size(); ++f) {
            const QVariant v = t.Value(r, f);
            row << (v.typeId() == QMetaType::Double ? QString::number(v.toDouble(), 'f', 2) : v.toString());
        }
        p.rows.push_back(row);
    }
    return p;
}
} // namespace

namespace {

int Fail(const QString& message, int status = 1)
{
    std::fprintf(stderr, "qv-report: %s\n", qPrintable(message));
    return status;
}

struct TrendArgs {
    QString dataFile, fund, png, csv;
    int year = 0;
};

QString Parse(const QStringList& args, TrendArgs& a)
{
    a.dataFile = args.value(0);
    for (int i = 2; i < args.size(); ++i) {
        const QString name = args[i];
        if (name != QLatin1String("--year") && name != QLatin1String("--fund") && name != QLatin1String("--png")
            && name != QLatin1String("--csv"))
            return QStringLiteral("unknown argument: ") + name;
        if (i + 1 >= args.size())
            return name + QStringLiteral(" needs a value");
        const QString value = args[++i];
        if (name == QLatin1String("--year")) {
            bool ok = false;
            a.year = value.toInt(&ok);
            if (!ok || a.year < 1 || a.year > 9999)
                return QStringLiteral("--year needs a year such as 2025");
        } else if (name == QLatin1String("--fund")) {
            a.fund = value;
        } else if (name == QLatin1String("--png")) {
            a.png = value;
        } else {
            a.csv = value;
        }
    }
    if (a.year == 0)
        return QStringLiteral("trends needs --year Y");
    if (a.png.isEmpty() && a.csv.isEmpty())
        return QStringLiteral("nothing to write: give --png FOLDER and/or --csv FOLDER");
    return {};
}

// The fund named on the command line, by reference or as the list shows it.
int Find_Fund(const QString& text, int year, QString* error)
{
    if (text.isEmpty())
        return -year;
    const QList<Trends::FundItem> funds = Trends::Fund_List(year);
    bool isNumber = false;
    const int id = text.toInt(&isNumber);
    for (const Trends::FundItem& f : funds)
        if ((isNumber && f.fundID == id) || (!isNumber && f.text.compare(text.trimmed(), Qt::CaseInsensitive) == 0))
            return f.fundID;
    QStringList names;
    for (const Trends::FundItem& f : funds)
        names << QStringLiteral("%1 (%2)").arg(f.text).arg(f.fundID);
    *error = QStringLiteral("no fund ") + text + QStringLiteral(" in the list: ") + names.join(QStringLiteral(", "));
    return 0;
}

} // namespace

int Trends_Command(int argc, char** argv)
{
    // Qt Charts draw on the widgets' graphics scene, which needs the
    // widgets' application object even without a screen.
    QApplication app(argc, argv);
    QStringList args = app.arguments();
    args.removeFirst();
    TrendArgs a;
    if (const QString bad = Parse(args, a); !bad.isEmpty())
        return Fail(bad, 2);
    Trends::Charts charts;
    try {
        QString error;
        if (!Open_Books(a.dataFile, &error))
            return Fail(error);
        const int fund = Find_Fund(a.fund, a.year, &error);
        if (fund == 0)
            return Fail(error, 2);
        charts = Trends::Build(a.year, fund);
    } catch (const DbError& e) {
        return Fail(a.dataFile + QStringLiteral(": ") + e.Message());
    }
    modGlobal::CloseDB();

    for (const Trends::Chart* c : charts.All()) {
        if (!a.png.isEmpty()) {
            QDir().mkpath(a.png);
            const QString path = QDir(a.png).filePath(c->name + QStringLiteral(".png"));
            std::unique_ptr<QChart> chart(TrendCharts::Make(*c));
            QString error;
            if (!TrendCharts::Save(chart.get(), path, &error))
                return Fail(path + QStringLiteral(": ") + error);
            std::printf("%s\n", qPrintable(path));
        }
        if (!a.csv.isEmpty()) {
            QDir().mkpath(a.csv);
            const QString path = QDir(a.csv).filePath(c->name + QStringLiteral(".csv"));
            QSaveFile file(path);
            if (!file.open(QIODevice::WriteOnly) || file.write(Reports::Csv(Printed(Trends::Table(*c)))) < 0
                || !file.commit())
                return Fail(path + QStringLiteral(": ") + file.errorString());
            std::printf("%s\n", qPrintable(path));
        }
    }
    return 0;
}
