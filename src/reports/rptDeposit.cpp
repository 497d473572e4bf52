#include "rptDeposit.h"

#include "PageComposer.h"
#include "TableSection.h"
#include "offering/PlateCount.h"
#include "core/Helpers.h"

using namespace modGlobal;

void rptDeposit::Bind(Deposit::Tables tables)
{
    SetDataSource(1, std::move(tables.header));
    SetDataSource(2, std::move(tables.cash));
    SetDataSource(3, std::move(tables.checks));
}

ReportDocument rptDeposit::Layout(const QDate& printed) const
{
    ReportDocument doc;
    PageComposer composer(doc);
    const ReportStyle::Fonts f = ReportStyle::Start(composer, Title(), printed);
    const double width = composer.ContentWidth();
    const ReportTable empty;
    const ReportTable* header = Table(1);
    auto text = [header](const QString& field) {
        return header && header->RowCount() > 0 ? header->Text(0, field) : QString();
    };

    Band top = composer.NewBand();
    double y = top.Text(0, 0, width, text(QStringLiteral("ChurchName")), f.title, Qt::AlignHCenter);
    if (!text(QStringLiteral("BankLine")).isEmpty())
        y += top.Text(0, y, width, text(QStringLiteral("BankLine")), f.subtitle, Qt::AlignHCenter);
    const QDate date = header && header->RowCount() > 0 ? header->Value(0, QStringLiteral("DepositDate")).toDate() : QDate();
    y += top.Text(0, y, width, QStringLiteral("Deposit of ") + LongDate(date), f.subtitle, Qt::AlignHCenter);
    top.SetHeight(y + 200);
    composer.Add(top);

    using F = TableColumn::Format;
    Band cashHeading = composer.NewBand();
    cashHeading.Text(0, 0, width, QStringLiteral("Currency and Coin"), f.subtitle);
    composer.Add(cashHeading, 600);
    TableSection cash(composer,
                      {{QStringLiteral("Item"), QStringLiteral("Item"), 2600, F::Text, false, false, {}},
                       {QStringLiteral("Pieces"), QStringLiteral("Pieces"), 1000, F::Number, false, false, {}},
                       {QStringLiteral("Amount"), QStringLiteral("Amount"), 1600, F::Money, true, false, {}}},
                      f.body, f.bold);
    cash.Export_As(QStringLiteral("Cash"));
    const double cashTotal = cash.Run(Table(2) ? *Table(2) : empty, {}, QStringLiteral("Total Cash")).back();

    composer.Skip(200);
    const ReportTable* checks = Table(3);
    Band checkHeading = composer.NewBand();
    checkHeading.Text(0, 0, width, QStringLiteral("Checks"), f.subtitle);
    composer.Add(checkHeading, 600);
    TableSection checkTable(composer,
                            {{QStringLiteral("CheckNumber"), QStringLiteral("Check No."), 1600, F::Text, false, false, {}},
                             {QStringLiteral("From"), QStringLiteral("From"), 3600, F::Text, false, false, {}},
                             {QStringLiteral("Amount"), QStringLiteral("Amount"), 1600, F::Money, true, false, {}}},
                            f.body, f.bold);
    checkTable.Export_As(QStringLiteral("Checks"));
    const int checkCount = checks ? checks->RowCount() : 0;
    const double checkTotal = checkTable
                                  .Run(checks ? *checks : empty, {},
                                       QStringLiteral("Total Checks (%1)").arg(checkCount))
                                  .back();

    // The grand total is that of the lines above, so that the slip adds up
    // on its face; it is the counted total.
    composer.Skip(200);
    // As wide as the checks, its amount under theirs.
    Band total = composer.NewBand();
    const double across = std::min(width, 6800.0);
    const qint64 cents = qint64(std::llround(cashTotal * 100)) + qint64(std::llround(checkTotal * 100));
    total.Text(0, 0, across / 2, QStringLiteral("Total Deposit"), f.bold);
    total.Text(across / 2, 0, across / 2 - checkTable.Padding(), PlateCount::Format_Cents(cents), f.bold, Qt::AlignRight);
    total.Line(0, total.Height() + 20, across, total.Height() + 20, 12);
    total.SetHeight(total.Height() + 200);
    composer.Add(total);

    // Who counted, and a line for each to sign.
    Band sign = composer.NewBand();
    double sy = 0;
    const QString when = text(QStringLiteral("CountedAt"));
    if (!when.isEmpty())
        sy += sign.Text(0, sy, width, QStringLiteral("Counted ") + when, f.body);
    sy += 700;
    const double half = (width - 600) / 2;
    const QString names[2] = {text(QStringLiteral("Counter1")), text(QStringLiteral("Counter2"))};
    for (int i = 0; i < 2; ++i) {
        const double x = i * (half + 600);
        sign.Line(x, sy, x + half, sy, 6);
        sign.Text(x, sy + 30, half, names[i].isEmpty() ? QStringLiteral("Counter") : names[i], f.body);
    }
    sign.SetHeight(sy + 300);
    composer.Add(sign);
    composer.Finish();
    return doc;
}
