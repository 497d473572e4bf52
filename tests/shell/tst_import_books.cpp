// File, Import Books of the Older Program, as the treasurer uses it: the
// file dialog, the progress, the report of the counts, the new data set in
// the settings file and opening it; and a refused file leaving nothing.
#include "support/WindowTest.h"
#include "app/ImportBooks.h"
#include "app/frmPassword.h"
#include "app/frmPickDB.h"
#include "core/modSettings.h"
#include "storage/LegacyImport.h"

#include <QAction>
#include <QFileDialog>
#include <QScopeGuard>
#include <functional>

#include "LegacyFixture.h"

using Messages::Answer;

namespace {

QStringList Entries(const QString& folder)
{
    // The lock file of the open books is not part of any data set.
    QStringList files = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    files.removeIf([](const QString& f) { return f.endsWith(QStringLiteral(".lock")); });
    return files;
}

} // namespace

class tst_ImportBooks : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void importReportAndOpen();
    void refusedFileLeavesNothing_data();
    void refusedFileLeavesNothing();
    void cancelledChoiceAndDeclinedOpening();

private:
    // Answers the file dialog with file (or cancels it when empty) and the
    // password window of an opened data set with password.
    void Script(const QString& file, const QString& password = {}, bool cancelPassword = false);

    std::unique_ptr<TestDataSet> m_data;
    std::unique_ptr<ModalScript> m_dialogs;
    std::unique_ptr<frmMain> m_main;
    QString m_usb; // where the old file is
    QStringList m_fileDialogs;
};

void tst_ImportBooks::init()
{
    m_data = std::make_unique<TestDataSet>(TestDataSet::Start::FoldersOnly);
    m_data->ProvideTemplate();
    RegisterAllWindows();
    m_usb = QDir(m_data->Folder()).filePath(QStringLiteral("usb"));
    QDir().mkpath(m_usb);
    m_fileDialogs.clear();
    Script({});
    m_main = std::make_unique<frmMain>();
    QVERIFY(m_main->Loaded());
    QVERIFY(m_main->First_Activate());
}

void tst_ImportBooks::cleanup()
{
    if (m_main)
        m_main->close();
    m_main.reset();
    m_dialogs.reset();
    m_data.reset();
}

void tst_ImportBooks::Script(const QString& file, const QString& password, bool cancelPassword)
{
    m_dialogs.reset();
    m_dialogs = std::make_unique<ModalScript>([=, this](QDialog* d) -> int {
        if (auto* dialog = qobject_cast<QFileDialog*>(d)) {
            m_fileDialogs << dialog->windowTitle();
            if (file.isEmpty()) {
                dialog->reject();
            } else {
                dialog->selectFile(file);
                QMetaObject::invokeMethod(dialog, "accept"); // as the Open button does
            }
            return dialog->result();
        }
        // The new data set of a start-up, or the one being opened.
        return cancelPassword ? AnswerPassword(d, {}, true)
                              : AnswerPassword(d, {password.isEmpty() ? QStringLiteral("Brv9kQ2e") : password});
    });
}

void tst_ImportBooks::importReportAndOpen()
{
    const QString old = LegacyFixture::CopySample(m_usb, QStringLiteral("QVDATA.MDB"));
    const QString data = modGlobal::DataFolder();
    const QString target = QDir(data).filePath(QStringLiteral("QVDATA-2.MDB"));
    QAction* entry = m_main->Menu(QStringLiteral("mnuImportBooks"));
    QVERIFY(entry);
    QCOMPARE(entry->text().remove(QLatin1Char('&')), QStringLiteral("Import Books of the Older Program..."));

    Script(old, QStringLiteral("grace"));
    m_data->Messages().Expect(QStringLiteral("The books of the older program were imported into"), Answer::Yes);
    entry->trigger();
    m_data->Messages().VerifyAllShown();
    QCOMPARE(m_fileDialogs, QStringList{QStringLiteral("Import Books of the Older Program")});

    // The report: where, how many of each, the key moved on, the label.
    const Messages::Message& report = m_data->Messages().Seen().last();
    QCOMPARE(report.title, QStringLiteral("Import Books of the Older Program"));
    QCOMPARE(report.icon, Messages::Icon::Question);
    QCOMPARE(report.buttons, Messages::Buttons::YesNo);
    for (const char* part : {"Church: 1\r\n", "Funds: 7\r\n", "Contributors: 30\r\n", "Pledges: 70\r\n",
                             "Collection: 104\r\n", "Offering: 2200\r\n", "ColComment: 44\r\n", "KeyGen: 6\r\n",
                             "Offering: 2197 to 2201", "\"St. Mark's Community Church (imported)\"",
                             "Money per year and fund:\r\n", "Would you like to open it now?"})
        QVERIFY2(report.text.contains(QLatin1String(part)), part);
    QVERIFY(report.text.contains(QDir::toNativeSeparators(target)));
    // The money the treasurer is to compare with the old program's reports.
    for (const QString& line : LegacyImport::MoneyLines(target))
        QVERIFY2(report.text.contains(line + QStringLiteral("\r\n")), qPrintable(line));
    QVERIFY(report.text.contains(LegacyImport::CompareAdvice()));

    // Beside the current data file, which stays as it was; nothing else.
    QCOMPARE(Entries(data), (QStringList{QStringLiteral("QVDATA-2.MDB"), QStringLiteral("QVDATA.MDB")}));
    // Listed in the settings file, the first data set now named too.
    QCOMPARE(modSettings::Read("General", "NumberDataSets"), QStringLiteral("2"));
    QCOMPARE(modSettings::Read("Database", "DBName"), QDir(data).filePath(QStringLiteral("QVDATA")));
    QCOMPARE(modSettings::Read("Database", "DBLabel"), QStringLiteral("QVDATA"));
    QCOMPARE(modSettings::Read("Database2", "DBName"), target);
    QCOMPARE(modSettings::Read("Database2", "DBLabel"), QStringLiteral("St. Mark's Community Church (imported)"));

    // Opened after its password: the old church's books in the main window.
    QCOMPARE(modGlobal::DB().FilePath(), target);
    // The lock goes with the books: the imported file is now this copy's,
    // and the old one free for another copy.
    QVERIFY(QFileInfo::exists(target + QStringLiteral(".lock")));
    QVERIFY(!QFileInfo::exists(QDir(data).filePath(QStringLiteral("QVDATA.MDB.lock"))));
    QCOMPARE(m_main->windowTitle(), QStringLiteral("Quorvane - St. Mark's Community Church"));
    QCOMPARE(modGlobal::MainFundName, QStringLiteral("General Fund"));
    QCOMPARE(m_data->Scalar("SELECT Count(*) FROM Offering"), 2200.0);

    // The next start offers both data sets and opens the imported one.
    m_main->close();
    m_main.reset();
    QStringList labels;
    m_dialogs.reset();
    m_dialogs = std::make_unique<ModalScript>([&](QDialog* d) -> int {
        if (auto* pick = qobject_cast<frmPickDB*>(d)) {
            for (int i = 0; i < pick->cboDB->count(); ++i)
                labels << pick->cboDB->itemText(i);
            pick->cboDB->setCurrentIndex(1);
            pick->cmdOK->click();
            return pick->result();
        }
        return AnswerPassword(d, {QStringLiteral("GRACE")});
    });
    m_main = std::make_unique<frmMain>();
    QCOMPARE(labels, (QStringList{QStringLiteral("QVDATA"), QStringLiteral("St. Mark's Community Church (imported)")}));
    QCOMPARE(modGlobal::DB().FilePath(), target);
    QVERIFY(m_main->First_Activate());
}

// Makes the old file of one case in a folder; a tool other than qv-import
// stands in for a reader that dies.
using OldFile = std::function<QString(const QString& folder)>;
Q_DECLARE_METATYPE(OldFile)

void tst_ImportBooks::refusedFileLeavesNothing_data()
{
    QTest::addColumn<OldFile>("make");
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QString>("message");
    const OldFile notADatabase = [](const QString& folder) {
        const QString old = QDir(folder).filePath(QStringLiteral("QVDATA.MDB"));
        QFile f(old);
        if (f.open(QIODevice::WriteOnly))
            f.write("offering count sheet, not a database\n");
        return old;
    };
    // How each kind of damage is told is the reader's business
    // (tst_legacy_import); here one refusal from the reader, one from its death.
    QTest::newRow("not a database") << notADatabase << QString()
                                    << QStringLiteral("is not a data file of the older program");
    // The reader killed by a fault after it made its passing file.
    QTest::newRow("reader ends abnormally")
        << OldFile([](const QString& folder) { return LegacyFixture::CopySample(folder, QStringLiteral("QVDATA.MDB")); })
        << QStringLiteral("#!/bin/sh\n: > \"$3.Ab12Cd.part\"\necho progress 10 100\nkill -SEGV $$\n")
        << QStringLiteral("The old file is damaged: ");
}

void tst_ImportBooks::refusedFileLeavesNothing()
{
    QFETCH(OldFile, make);
    QFETCH(QString, tool);
    QFETCH(QString, message);
    const QString old = make(m_usb);
    if (!tool.isEmpty()) {
        const QString script = QDir(m_data->Folder()).filePath(QStringLiteral("dying-reader"));
        QFile f(script);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(tool.toUtf8());
        f.close();
        QVERIFY(f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        ImportBooks::SetImportTool(script);
    }
    auto restore = qScopeGuard([] { ImportBooks::SetImportTool({}); });
    const QString data = modGlobal::DataFolder();
    const QStringList before = Entries(data);
    Script(old);
    m_data->Messages().Expect(message);
    m_main->Menu(QStringLiteral("mnuImportBooks"))->trigger();
    m_data->Messages().VerifyAllShown();
    const Messages::Message& refusal = m_data->Messages().Seen().last();
    QCOMPARE(refusal.icon, Messages::Icon::Critical);
    QCOMPARE(refusal.title, QStringLiteral("Import Books of the Older Program"));
    QVERIFY2(refusal.text.startsWith(message) || refusal.text.contains(message), qPrintable(refusal.text));
    QVERIFY(refusal.text.contains(QDir::toNativeSeparators(old)));

    // No passing file, no new data set; the program goes on with its books.
    QCOMPARE(Entries(data), before);
    QVERIFY(m_main->isEnabled()); // its menus back after the failed import
    QCOMPARE(modSettings::Read("General", "NumberDataSets"), QString());
    QCOMPARE(modSettings::Read("Database2", "DBName"), QString());
    QCOMPARE(modGlobal::DB().FilePath(), QDir(data).filePath(QStringLiteral("QVDATA.MDB")));
    QCOMPARE(Recordset(QStringLiteral("SELECT Count(*) FROM Church"), modGlobal::DB()).Field(0).toInt(), 1);
}

void tst_ImportBooks::cancelledChoiceAndDeclinedOpening()
{
    const QString data = modGlobal::DataFolder();
    const QString current = modGlobal::DB().FilePath();
    // No file chosen: nothing asked, nothing made.
    Script({});
    m_main->Menu(QStringLiteral("mnuImportBooks"))->trigger();
    QCOMPARE(m_fileDialogs.size(), 1);
    QCOMPARE(Entries(data), QStringList{QStringLiteral("QVDATA.MDB")});

    // Imported but not opened: the data set is listed, the books open stay.
    const QString old = LegacyFixture::CopySample(m_usb);
    Script(old);
    m_data->Messages().Expect(QStringLiteral("Would you like to open it now?"), Answer::No);
    m_main->Menu(QStringLiteral("mnuImportBooks"))->trigger();
    m_data->Messages().VerifyAllShown();
    const QString target = QDir(data).filePath(QStringLiteral("QVDATA-sample.MDB"));
    QVERIFY(QFile::exists(target));
    QCOMPARE(modSettings::Read("Database2", "DBName"), target);
    QCOMPARE(modGlobal::DB().FilePath(), current);

    // Opening it without its password keeps the books that were open.
    Script({}, {}, true);
    QVERIFY(!ImportBooks::Open_Data_Set(m_main.get(), target));
    QCOMPARE(modGlobal::DB().FilePath(), current);
    QCOMPARE(m_main->windowTitle(), QStringLiteral("Quorvane"));
    QCOMPARE(modGlobal::MainFundName, QStringLiteral("Operating Fund"));

    // A second import of the same file gets a name of its own and a new entry.
    Script(old);
    m_data->Messages().Expect(QStringLiteral("Would you like to open it now?"), Answer::No);
    m_main->Menu(QStringLiteral("mnuImportBooks"))->trigger();
    QCOMPARE(modSettings::Read("General", "NumberDataSets"), QStringLiteral("3"));
    QCOMPARE(modSettings::Read("Database3", "DBName"), QDir(data).filePath(QStringLiteral("QVDATA-sample-2.MDB")));
}

QV_TEST_MAIN(tst_ImportBooks, QApplication)
#include "tst_import_books.moc"
