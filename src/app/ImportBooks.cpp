#include "ImportBooks.h"

#include "core/Messages.h"
#include "widgets/WindowServices.h"
#include "widgets/Windows.h"
#include "frmMain.h"
#include "widgets/frmProgess.h"
#include "core/modGlobal.h"
#include "core/modSettings.h"
#include "storage/modStartup.h"
#include "core/DbError.h"
#include "storage/LegacyImport.h"
#include "core/modDBConnection.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QProgressBar>

namespace ImportBooks {

namespace {

const QString kTitle = QStringLiteral("Import Books of the Older Program");

QString ChooseOldFile(frmMain* main)
{
    QFileDialog dialog(main, kTitle, QDir::homePath(),
                       QStringLiteral("Data files of the older program (*.mdb *.MDB);;All files (*)"));
    dialog.setObjectName(QStringLiteral("dlgImportBooks"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (WindowServices::ShowModal(&dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

QString Label(const LegacyImport::Result& r, const QString& oldFile)
{
    const QString name = r.churchName.isEmpty() ? QFileInfo(oldFile).completeBaseName() : r.churchName;
    return name + QStringLiteral(" (imported)");
}

bool g_running = false;
QString g_tool;

} // namespace

void SetImportTool(const QString& path)
{
    g_tool = path;
}

QString MenuCaption()
{
    return QStringLiteral("&Import Books of the Older Program...");
}

bool Open_Data_Set(frmMain* main, const QString& dataFile)
{
    if (!Windows::Close_All())
        return false;
    const QString previous = modGlobal::DataFilePath;
    auto reopenPrevious = [&] {
        try {
            modStartup::Open_Data_File(previous);
        } catch (const DbError& e) {
            Messages::Show(QStringLiteral("The data file could not be opened.\r\n\r\n") + e.Message(), {},
                           Messages::Icon::Critical);
        }
        main->Set_Caption();
        main->Set_Processing_Year_Status();
    };
    try {
        modStartup::Open_Data_File(dataFile);
    } catch (const DbError& e) {
        Messages::Show(QStringLiteral("The data file could not be opened.\r\n\r\n") + e.Message(), {},
                       Messages::Icon::Critical);
        reopenPrevious();
        return false;
    }
    main->Set_Caption();
    main->Set_Processing_Year_Status();
    // The books carry the old program's password; whoever opens them must know it.
    if (!main->First_Activate()) {
        reopenPrevious();
        return false;
    }
    return true;
}

void Run(frmMain* main)
{
    if (g_running)
        return;
    const QString oldFile = ChooseOldFile(main);
    if (oldFile.isEmpty())
        return;
    g_running = true;
    struct Done {
        ~Done() { g_running = false; }
    } done;

    const QString folder = QFileInfo(modDBConnection::DataFileName(modGlobal::DataFilePath)).absolutePath();
    const QString target = LegacyImport::FreeTargetName(folder, oldFile);
    LegacyImport::Result result;
    {
        // The progress keeps the program painting; meanwhile the menus of
        // the books that are open stay out of reach.
        struct Disabled {
            frmMain* main;
            ~Disabled() { main->setEnabled(true); }
        } disabled{main};
        main->setEnabled(false);
        WindowServices::Hourglass wait;
        frmProgess progress;
        progress.setWindowTitle(kTitle);
        progress.Show_Progress(0, QStringLiteral("Importing ") + QFileInfo(oldFile).fileName());
        try {
            // The reading runs in the qv-import tool beside the program: a
            // damaged file that throws the reader library off ends only it.
            const QString tool = g_tool.isEmpty()
                ? QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("qv-import"))
                : g_tool;
            result = LegacyImport::ImportInChild(tool, oldFile, target, [&progress](qint64 rows, qint64 total) {
                // The bar counts in thousands, so that millions of rows fit its range.
                if (total >= 0) {
                    progress.pbProgress->setMaximum(int(total / 1000) + 1);
                    progress.pbProgress->setValue(int(rows / 1000));
                }
                QCoreApplication::processEvents();
            });
        } catch (const LegacyImport::ImportError& e) {
            progress.close();
            Messages::Show(e.Message(), kTitle, Messages::Icon::Critical);
            return;
        }
        progress.close();
    }

    const QString label = Label(result, oldFile);
    QString text = QStringLiteral("The books of the older program were imported into\r\n") + QDir::toNativeSeparators(target)
        + QStringLiteral("\r\n\r\n") + result.CountLines().join(QStringLiteral("\r\n"));
    QStringList money;
    try {
        money = LegacyImport::MoneyLines(target);
    } catch (const DbError& e) {
        money << QStringLiteral("(the totals could not be read: %1)").arg(e.Message());
    }
    text += QStringLiteral("\r\n\r\nMoney per year and fund:\r\n")
        + (money.isEmpty() ? QStringLiteral("(no offerings)") : money.join(QStringLiteral("\r\n"))) + QStringLiteral("\r\n")
        + LegacyImport::CompareAdvice();
    if (!result.keyCorrections.isEmpty())
        text += QStringLiteral("\r\n\r\nThe key counters of these tables lagged behind their rows and now carry on after "
                               "the highest key in use:\r\n")
            + result.keyCorrections.join(QStringLiteral("\r\n"));
    if (modStartup::Add_Data_Set(target, label) > 0)
        text += QStringLiteral("\r\n\r\nThe new data set is listed as \"") + label
            + QStringLiteral("\" in the data sets offered at start.");
    else
        text += QStringLiteral("\r\n\r\nThe settings file ") + QDir::toNativeSeparators(modSettings::SettingsFilePath())
            + QStringLiteral(" could not be written, so the new data set is not offered at start. Add it there by hand.");
    text += QStringLiteral("\r\n\r\nWould you like to open it now?");
    if (Messages::Show(text, kTitle, Messages::Icon::Question, Messages::Buttons::YesNo) == Messages::Answer::Yes)
        Open_Data_Set(main, target);
}

} // namespace ImportBooks
