#include "GiftFiles.h"
#include "faults/FaultInjection.h"
#include "gifts/frmGiftMapping.h"
#include "gifts/frmGiftPreview.h"
#include "widgets/QvGrid.h"
#include "support/TestWindowArea.h"
#include "support/WindowTest.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QtTest>

// The import worked from the keyboard alone: the columns chosen, the preview
// answered, the gifts written.
class TestGiftWindows : public QObject {
    Q_OBJECT
private slots:
    void mapping_and_preview_by_keys();
};

void TestGiftWindows::mapping_and_preview_by_keys()
{
    TestDataSet data;
    const int building = data.AddFund("Building");
    const int smith = data.AddContributor("Smith", "John");
    const int maryann = data.AddContributor("Jones", "Maryann");
    const QString file = GiftFiles::Write(data.Folder() + "/givenow.csv",
                                          "Date,Donor,Paid,Purpose,Reference\n"
                                          "6/1/2025,John Smith,$100.00,Building,R1\n"
                                          "6/1/2025,Mary Jones,$40.00,Roof,R2\n"
                                          "6/2/2025,New Person,$15.00,Building,R3\n"
                                          "6/2/2025,John Smith,($10.00),Building,R4\n");
    TestWindowArea area(QSize(1400, 900));
    auto* mapping = OpenNew<frmGiftMapping>("frmGiftMapping", {{"FileName", file}});
    QVERIFY(mapping);
    QTRY_COMPARE(Focus(), mapping->txtPlatform);
    QCOMPARE(mapping->txtPlatform->text(), QStringLiteral("givenow")); // a first file: named after itself
    Key(Qt::Key_A, Qt::ControlModifier);
    Type("GiveNow");
    Key(Qt::Key_A, Qt::AltModifier); // the amount's column
    QCOMPARE(Focus(), mapping->cboColumn.at(GiftImport::fAmount));
    Type("Pa");
    QCOMPARE(mapping->lblSample.at(GiftImport::fAmount)->text(), QStringLiteral("$100.00"));
    Key(Qt::Key_U, Qt::AltModifier);
    Type("Pu");
    Key(Qt::Key_Return);

    QTRY_VERIFY(OpenWindowOf<frmGiftPreview>());
    auto* preview = OpenWindowOf<frmGiftPreview>();
    QTRY_COMPARE(Focus(), static_cast<QWidget*>(preview->fgGifts));
    QVERIFY(preview->lblQuestions->text().contains("\"Roof\""));
    QVERIFY(preview->lblQuestions->text().contains("Mary Jones"));

    // Nothing goes while a designation has no fund.
    data.Messages().Expect("No fund is chosen for the designation \"Roof\".");
    Key(Qt::Key_Return);
    data.Messages().VerifyAllShown();
    QCOMPARE(data.Scalar("SELECT COUNT(*) FROM Offering"), 0.0);

    Key(Qt::Key_D, Qt::AltModifier);
    QCOMPARE(Focus(), preview->lstDesignations);
    Key(Qt::Key_Down);
    Key(Qt::Key_U, Qt::AltModifier);
    Type("B");
    Key(Qt::Key_O, Qt::AltModifier);
    QCOMPARE(preview->lstDonors->currentRow(), 0);
    Key(Qt::Key_N, Qt::AltModifier);
    Type("M");
    QCOMPARE(preview->lblQuestions->text(), QStringLiteral("Ready to import."));
    QCOMPARE(preview->fgTotals->TextMatrix(2, 0), QStringLiteral("Building")); // every gift now on that fund
    QCOMPARE(preview->fgTotals->TextMatrix(2, 2), QStringLiteral("$145.00"));

    // Another program holding the file: the engine's words, nothing written,
    // the choices kept for the next try.
    {
        FaultInjection::ExclusiveLock other(data.DataFile());
        data.Messages().Expect("Add them as new contributors?", Messages::Answer::Yes);
        data.Messages().Expect("database is locked");
        Key(Qt::Key_Return);
        data.Messages().VerifyAllShown();
    }
    QCOMPARE(data.Scalar("SELECT COUNT(*) FROM Offering"), 0.0);
    QCOMPARE(preview->lblQuestions->text(), QStringLiteral("Ready to import."));
    data.Messages().Expect("Add them as new contributors?", Messages::Answer::Yes);
    data.Messages().Expect("Gifts imported: 4, in 2 collection set(s)");
    Key(Qt::Key_Return);
    data.Messages().VerifyAllShown();
    QTRY_VERIFY(!Windows::Find_Window("frmGiftPreview"));
    QCOMPARE(data.Scalar(QStringLiteral("SELECT SUM(Amount) FROM Offering WHERE FundID = %1").arg(building)), 145.0);
    QCOMPARE(data.Scalar(QStringLiteral("SELECT Amount FROM Offering WHERE ContributorID = %1").arg(maryann)), 40.0);
    QCOMPARE(data.Scalar(QStringLiteral("SELECT SUM(Amount) FROM Offering WHERE ContributorID = %1").arg(smith)), 90.0);
    QCOMPARE(data.Scalar("SELECT COUNT(*) FROM Contributors WHERE LastName = 'Person' AND FirstNames = 'New'"), 1.0);
    GiftImport::Mapping kept;
    QVERIFY(GiftImport::Named_Mapping("GiveNow", {"Date", "Donor", "Paid", "Purpose", "Reference"}, &kept, nullptr));
    QCOMPARE(kept.column[GiftImport::fFund], 3);
}

QV_TEST_MAIN(TestGiftWindows, QApplication)
#include "tst_gift_windows.moc"
