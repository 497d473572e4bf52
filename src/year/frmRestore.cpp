#include "frmRestore.h"

#include "SafetyCopy.h"
#include "YearWindows.h"
#include "core/Helpers.h"
#include "core/Messages.h"
#include "widgets/QvGrid.h"
#include "widgets/Layouts.h"
#include "widgets/WindowServices.h"
#include "core/DbError.h"

#include <QVBoxLayout>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QPushButton>

using namespace WindowServices;
using namespace Layouts;

namespace {
const QString kTitle = QStringLiteral("Restore a Safety Copy");
constexpr int kPathCol = 0, kDateCol = 1, kTimeCol = 2, kSizeCol = 3;

QString TimeText(const QDateTime& t)
{
    // The locale's time with seconds (two copies may be a minute apart), without the time zone.
    QString format = QLocale().timeFormat(QLocale::LongFormat);
    format.remove(QLatin1Char('t'));
    return QLocale().toString(t.time(), format.trimmed());
}
} // namespace

frmRestore::frmRestore(QWidget* parent) : frmChild(parent)
{
    Set_Up(this, "frmRestore", kTitle);
    lblFolder = Label(this, "lblFolder", QString());
    lblFolder->setWordWrap(true);
    fgCopies = Grid(this, "fgCopies");
    cmdOK = Button(this, "cmdOK", QStringLiteral("&Restore"));
    cmdCancel = Button(this, "cmdCancel", QStringLiteral("&Close"));
    auto* page = Page(this);
    page->addWidget(lblFolder);
    page->addWidget(fgCopies, 1);
    page->addLayout(ButtonRow({cmdOK, cmdCancel}));
    Open_At(this, 6375, 4815);

    connect(fgCopies, &QvGrid::RowDoubleClicked, this, [this](int row) {
        if (row >= 2)
            cmdOK_Click();
    });
    connect(cmdOK, &QPushButton::clicked, this, &frmRestore::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QWidget::close);
    CloseOnEscape(this);
}

void frmRestore::Form_Load()
{
    Fill_List();
}

void frmRestore::Fill_List()
{
    lblFolder->setText(QStringLiteral("Copies of the books in ") + QDir::toNativeSeparators(SafetyCopy::Folder())
                       + QStringLiteral(", newest first:"));
    QvGrid* g = fgCopies;
    g->Clear();
    g->SetCols(4);
    g->SetColWidthTwips(kPathCol, 0);
    g->SetColWidthTwips(kDateCol, 2500);
    g->SetColWidthTwips(kTimeCol, 1600);
    g->SetColWidthTwips(kSizeCol, 1500);
    g->SetColAlignment(kSizeCol, Qt::AlignRight | Qt::AlignVCenter);
    g->AddItem(QStringLiteral("\tDate\tTime\tSize"));
    g->AddItem(QStringLiteral("\t\t\t"));
    g->SetRowHidden(1, true);
    m_damaged.clear();
    for (const SafetyCopy::Copy& c : SafetyCopy::List_Copies()) {
        g->AddItem(c.path + QLatin1Char('\t') + modGlobal::LongDate(c.made.date()) + QLatin1Char('\t') + TimeText(c.made)
                   + QLatin1Char('\t')
                   + (c.damaged ? QStringLiteral("damaged") : QLocale().toString((c.size + 1023) / 1024) + QStringLiteral(" KB")));
        if (c.damaged)
            m_damaged.insert(c.path);
    }
    cmdOK->setEnabled(g->Rows() > 2);
    if (g->Rows() > 2)
        g->SetRow(2);
}

void frmRestore::cmdOK_Click()
{
    const int row = fgCopies->Row();
    if (row < 2)
        return;
    const QString path = fgCopies->TextMatrix(row, kPathCol);
    if (!m_damaged.contains(path)) {
        try {
            Hourglass wait;
            SafetyCopy::Verify_Copy(path);
        } catch (const DbError& e) {
            m_damaged.insert(path);
            fgCopies->SetTextMatrix(row, kSizeCol, QStringLiteral("damaged"));
            Messages::Show(e.Message(), kTitle, Messages::Icon::Exclamation);
            return;
        }
    }
    if (m_damaged.contains(path)) {
        Messages::Show(QStringLiteral("This copy is damaged and cannot be restored: ") + QDir::toNativeSeparators(path),
                       kTitle, Messages::Icon::Exclamation);
        return;
    }
    if (Messages::Ask_Default_No(QStringLiteral("Put the books back as they were on ") + fgCopies->TextMatrix(row, kDateCol)
                           + QStringLiteral(" at ") + fgCopies->TextMatrix(row, kTimeCol)
                           + QStringLiteral("?\r\n\r\nThe books as they are now are saved as a safety copy first. "
                                            "Every other open window is closed."),
                       kTitle)
        != Messages::Answer::Yes)
        return;
    // No window may go on showing, or writing, what the restore replaces.
    for (frmChild* w : frmChild::OpenWindows())
        if (w != this)
            w->Frame()->close();
    for (frmChild* w : frmChild::OpenWindows())
        if (w != this && !w->IsClosed())
            return; // it refused and said why
    QString before;
    try {
        before = SafetyCopy::Restore_Copy(path);
    } catch (const DbError& e) {
        YearWindows::Show_Failure(e.Message());
        return;
    }
    // The restored books may be of another processing year.
    WindowServices::Show_Processing_Year();
    Messages::Show(QStringLiteral("The books were put back as they were in ") + QDir::toNativeSeparators(path)
                       + QStringLiteral(".\r\n\r\nThe books as they were before were saved as ")
                       + QDir::toNativeSeparators(before) + QLatin1Char('.'),
                   kTitle, Messages::Icon::Information);
    close();
}
