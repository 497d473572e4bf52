// The fund, memorial, directory and label report windows, each with a real
// report of the sample data shown.
#include "reports/CRViewer91.h"
#include "reports/Report.h"
#include "reports/LabelSheetControls.h"
#include "reports/frmRptEnvLabels.h"
#include "reports/frmRptFunds.h"
#include "reports/frmRptMailingLabels.h"
#include "reports/frmRptMemorials.h"
#include "reports/frmRptTelephone.h"
#include "widgets/Windows.h"
#include "widgets/frmChild.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QComboBox>
#include "widgets/QvDateBox.h"
#include <QLineEdit>
#include <QRadioButton>
#include <cstdio>
#include <functional>

namespace {
// The report's first page as printed, at 100 dots to the inch.
void Save_First_Page(const frmReportWindow* w, const QString& folder, const QString& name)
{
    const ReportDocument* doc = w->viewer->Document();
    if (!doc || doc->PageCount() < 1)
        return;
    QImage image((doc->pageSize * 100 / ReportUnits::PerInch).toSize(), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        doc->Paint(painter, 0, QRectF(QPointF(0, 0), image.size()));
    }
    const QString path = QDir(folder).filePath(name + QStringLiteral("-page1.png"));
    if (image.save(path))
        std::printf("%s\n", qPrintable(path));
}
} // namespace

void Shoot_Listing_Windows(const std::function<void(QWidget*, const QString&)>& save, const QString& folder)
{
    auto open = [](const char* name, const QVariantMap& properties = {}) {
        return Windows::Open_New(QLatin1String(name), properties);
    };
    auto choose = [](QComboBox* list, const QString& text) {
        list->setCurrentIndex(list->findText(text));
        emit list->activated(list->currentIndex());
    };
    auto done = [&save, &folder](frmReportWindow* w, const char* name) {
        save(w->Frame(), QLatin1String(name));
        Save_First_Page(w, folder, w->Current_Report()->Name());
        w->Frame()->close();
        QApplication::processEvents();
    };

    if (auto* w = qobject_cast<frmRptFunds*>(open("frmRptFunds", {{QStringLiteral("Fund_ID"), 0}}))) {
        w->dpBegin->setDate(QDate(2025, 1, 1));
        choose(w->cboFund, QStringLiteral("Memorial Fund"));
        done(w, "frmRptFunds");
    }
    if (auto* w = qobject_cast<frmRptMemorials*>(open("frmRptMemorials"))) {
        w->txtSkip->setText(QStringLiteral("2"));
        choose(w->cboFund, QStringLiteral("Memorial Fund"));
        done(w, "frmRptMemorials");
    }
    if (auto* w = qobject_cast<frmReportWindow*>(open("frmRptTelephone")))
        done(w, "frmRptTelephone");
    if (auto* w = qobject_cast<frmReportWindow*>(open("frmRptMailingLabels"))) {
        // The mailing labels share their layout with the memorial labels.
        save(w->Frame(), QStringLiteral("frmRptMailingLabels"));
        w->Frame()->close();
        QApplication::processEvents();
    }
    if (auto* w = qobject_cast<frmRptEnvLabels*>(open("frmRptEnvLabels"))) {
        w->optNum->setChecked(true);
        choose(w->cboFund, QStringLiteral("2025 Operating Fund"));
        done(w, "frmRptEnvLabels");
    }
}
