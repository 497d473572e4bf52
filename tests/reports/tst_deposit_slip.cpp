// The deposit slip and the count sheet as qv-report writes them: the PDF
// read back as text, the CSV files read back as tables.
#include "PdfText.h"
#include "offering/PlateCount.h"
#include "reports/ReportTable.h"
#include "shell/modGlobal.h"
#include "support/TestDataSet.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QtTest/QTest>

class tst_DepositSlip : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void slipHoldsEveryCheckAndAddsUp();
    void collectionReportCarriesTheCountSheet();

private:
    // Runs qv-report on the books; its exit status.
    int Report(const QStringList& args);
    QList<QStringList> Csv(const QString& name);

    std::unique_ptr<TestDataSet> m_data;
    int m_set = 0;
};

void tst_DepositSlip::init()
{
    m_data = std::make_unique<TestDataSet>();
    m_set = m_data->AddCollection(QDate(2025, 6, 15));
    const int smith = m_data->AddContributor("Smith", "Ann");
    m_data->AddPledge(smith, -2025, 520, 7);
    m_data->AddOffering(smith, m_set, -2025, 120);
    m_data->AddOffering(1, m_set, -2025, 63.17);
    PlateCount::Count c;
    c.bills = {0, 1, 0, 0, 2, 0, 3};  // $63
    c.coins = {0, 0, 1, 1, 2};        // 17 cents
    c.checks = {{"1041", 10000, smith}, {"2200", 1999, 0}, {"7", 1, 0}};
    c.counter1 = "Ruth Ames";
    c.counter2 = "Bo Lind";
    c.countedAt = QDateTime(QDate(2025, 6, 15), QTime(12, 40));
    PlateCount::Save(m_set, c);
    PlateCount::Save_Bank_Line("First Bank of Elm, account 0012-3456");
}

void tst_DepositSlip::cleanup()
{
    m_data.reset();
}

int tst_DepositSlip::Report(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(QV_REPORT), QStringList{m_data->DataFile()} + args);
    p.waitForFinished(60000);
    if (p.exitCode() != 0)
        qWarning() << p.readAllStandardError();
    return p.exitCode();
}

QList<QStringList> tst_DepositSlip::Csv(const QString& name)
{
    QFile f(QDir(m_data->Folder()).filePath("csv/" + name + ".csv"));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return ReportTable::ParseCsv(f.readAll());
}

void tst_DepositSlip::slipHoldsEveryCheckAndAddsUp()
{
    const QString pdf = QDir(m_data->Folder()).filePath("slip.pdf");
    QCOMPARE(Report({"deposit", "--collection", QString::number(m_set), "--pdf", pdf, "--csv",
                     QDir(m_data->Folder()).filePath("csv")}),
             0);
    const QString text = PdfText::Squeezed(PdfText::Pages(pdf).join('\n'));
    for (const char* line : {"First Bank of Elm, account 0012-3456", "Deposit of June 15, 2025", "$50 bills 1 $50.00",
                             "Pennies 2 $0.02", "Total Cash $63.17", "1041 Smith, Ann $100.00", "2200 $19.99",
                             "7 $0.01", "Total Checks (3) $120.00", "Total Deposit $183.17", "Ruth Ames", "Bo Lind"})
        QVERIFY2(text.contains(QLatin1String(line)), line);

    // The CSV holds the same lines; the checks add up to their total line.
    const QList<QStringList> checks = Csv("Checks");
    QCOMPARE(checks.value(0), (QStringList{"Check No.", "From", "Amount"}));
    QCOMPARE(checks.size(), 5);
    QCOMPARE(checks.value(2), (QStringList{"2200", "", "19.99"}));
    QCOMPARE(checks.last().last(), "120.00");
    QCOMPARE(Csv("Cash").last().last(), "63.17");

    // No such set: a message and no slip.
    QCOMPARE(Report({"deposit", "--collection", "99", "--pdf", pdf + ".2"}), 1);
    QVERIFY(!QFile::exists(pdf + ".2"));
}

void tst_DepositSlip::collectionReportCarriesTheCountSheet()
{
    // Two cents of the loose offering were never counted.
    m_data->AddOffering(1, m_set, 10, 0.02);
    const QString folder = QDir(m_data->Folder()).filePath("csv");
    QCOMPARE(Report({"weekly", "--collection", QString::number(m_set), "--csv", folder}), 0);
    const QList<QStringList> sheet = Csv("Count Sheet");
    QCOMPARE(sheet.size(), 6);
    QCOMPARE(sheet.value(3), (QStringList{"Counted total", "183.17"}));
    QCOMPARE(sheet.value(4), (QStringList{"Entered total", "183.19"}));
    QCOMPARE(sheet.value(5), (QStringList{"Difference", "-0.02"}));
}

QV_TEST_MAIN(tst_DepositSlip)
#include "tst_deposit_slip.moc"
