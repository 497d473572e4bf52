#include "GiftWindows.h"

#include "frmGiftMapping.h"
#include "frmGiftPreview.h"
#include "widgets/WindowServices.h"
#include "widgets/Windows.h"

#include <QDir>
#include <QFileDialog>

void RegisterGiftWindows()
{
    Windows::Register(QStringLiteral("frmGiftMapping"), [] { return new frmGiftMapping; });
    Windows::Register(QStringLiteral("frmGiftPreview"), [] { return new frmGiftPreview; });
}

void Import_Online_Gifts(QWidget* parent)
{
    QFileDialog dialog(parent, QStringLiteral("Import Online Gifts"), QDir::homePath(),
                       QStringLiteral("Gift files (*.csv *.CSV *.txt);;All files (*)"));
    dialog.setObjectName(QStringLiteral("dlgImportGifts"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (WindowServices::ShowModal(&dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    Windows::Open_New(QStringLiteral("frmGiftMapping"), {{QStringLiteral("FileName"), dialog.selectedFiles().constFirst()}});
}
