#include "ReportCommands.h"

#include "reports/LabelTemplates.h"
#include "reports/ListingReports.h"
#include "reports/ListingTables.h"
#include "core/modGlobal.h"
#include "storage/modStartup.h"
#include "core/Connection.h"
#include "storage/clsFunds.h"

#include <QFileInfo>

std::map<QString, ReportCommand>& Report_Commands()
{
    static std::map<QString, ReportCommand> commands;
    return commands;
}

bool Open_Books(const QString& dataFile, QString* error)
{
    if (!QFileInfo(dataFile).isFile()) {
        *error = QStringLiteral("no data file at ") + dataFile;
        return false;
    }
    modGlobal::SetDB(std::make_unique<Connection>(dataFile));
    modGlobal::ResetTableReady();
    modStartup::MakeTablesReady();
    clsFunds mainFund;
    mainFund.Get_One_Record(QStringLiteral("ID = 1"));
    modGlobal::MainFundName = mainFund.FundName();
    return true;
}

bool CommandArgs::Flag(const QString& name)
{
    return m_args.removeOne(name);
}

QString CommandArgs::Value(const QString& name)
{
    const int i = int(m_args.indexOf(name));
    if (i < 0)
        return {};
    if (i + 1 >= m_args.size() || m_args[i + 1].isEmpty()) {
        if (m_error.isEmpty())
            m_error = name + QStringLiteral(" needs a value");
        m_args.removeAt(i);
        return {};
    }
    const QString v = m_args[i + 1];
    m_args.remove(i, 2);
    return v;
}

int CommandArgs::Number(const QString& name, int fallback)
{
    const QString v = Value(name);
    if (v.isEmpty())
        return fallback;
    bool ok = false;
    const int n = v.toInt(&ok);
    if (!ok && m_error.isEmpty())
        m_error = name + QStringLiteral(" needs a whole number, not ") + v;
    return ok ? n : fallback;
}

QDate CommandArgs::Date(const QString& name, const QDate& fallback)
{
    const QString v = Value(name);
    if (v.isEmpty())
        return fallback;
    const QDate d = QDate::fromString(v, Qt::ISODate);
    if (!d.isValid() && m_error.isEmpty())
        m_error = name + QStringLiteral(" needs a date as YYYY-MM-DD, not ") + v;
    return d.isValid() ? d : fallback;
}

int CommandArgs::Fund(bool pledgeFunds)
{
    const QString v = Value(QStringLiteral("--fund"));
    if (v.isEmpty())
        return 0;
    const QList<Listings::FundItem> funds = pledgeFunds ? Listings::Pledge_Fund_List() : Listings::Offering_Fund_List();
    bool isNumber = false;
    const int id = v.toInt(&isNumber);
    for (const Listings::FundItem& f : funds)
        if ((isNumber && f.id == id) || (!isNumber && f.text.compare(v.trimmed(), Qt::CaseInsensitive) == 0))
            return f.id;
    if (m_error.isEmpty()) {
        QStringList names;
        for (const Listings::FundItem& f : funds)
            names << QStringLiteral("%1 (%2)").arg(f.text).arg(f.id);
        m_error = QStringLiteral("no fund ") + v + QStringLiteral(" in the list: ") + names.join(QStringLiteral(", "));
    }
    return 0;
}

void CommandArgs::Label_Options(LabelReport& report)
{
    const QString sheet = Value(QStringLiteral("--sheet"));
    if (!sheet.isEmpty()) {
        if (auto t = LabelTemplates::Find(LabelTemplates::Installed(), sheet))
            report.SetSheet(*t);
        else if (m_error.isEmpty()) {
            m_error = QStringLiteral("no label sheet named ") + sheet;
            for (const QString& refused : LabelTemplates::Refused())
                if (refused.startsWith(sheet + QStringLiteral(" in "), Qt::CaseInsensitive))
                    m_error = QStringLiteral("the label sheet is refused: ") + refused;
        }
    }
    const QString offset = Value(QStringLiteral("--offset"));
    if (!offset.isEmpty()) {
        const QStringList xy = offset.split(QLatin1Char(','));
        bool okX = false, okY = false;
        const double x = xy.value(0).toDouble(&okX), y = xy.value(1).toDouble(&okY);
        if (xy.size() == 2 && okX && okY)
            report.SetOffset(QPointF(x, y));
        else if (m_error.isEmpty())
            m_error = QStringLiteral("--offset needs X,Y in points, not ") + offset;
    }
}

QString CommandArgs::Error() const
{
    if (!m_error.isEmpty())
        return m_error;
    if (!m_args.isEmpty())
        return QStringLiteral("unknown argument: ") + m_args.first();
    return {};
}
