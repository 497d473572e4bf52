// The fund, memorial, directory and label report windows, each with a real
// report of the sample data shown.
#include "reports/LabelSheetControls.h"
#include "reports/frmRptEnvLabels.h"
#include "reports/frmRptFunds.h"
#include "reports/frmRptMailingLabels.h"
#include "reports/frmRptMemorials.h"
#include "reports/frmRptTelephone.h"
#include "shell/Windows.h"
#include "shell/frmChild.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QRadioButton>
#include <functional>

void Shoot_Listing_Windows(const std::function<void(QWidget*, const QString&)>& save)
{
    auto open = [](const char* name, const QVariantMap& properties = {}) {
        return Windows::Open_New(QLatin1String(name), properties);
    };
    auto choose = [](QComboBox* list, const QString& text) {
        list->setCurrentIndex(list->findText(text));
        emit list->activated(list->currentIndex());
    };
    auto done = [&save](frmChild* w, const char* name) {
        save(w->Frame(), QLatin1String(name));
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
    if (auto* w = open("frmRptTelephone"))
        done(w, "frmRptTelephone");
    if (auto* w = open("frmRptMailingLabels"))
        done(w, "frmRptMailingLabels");
    if (auto* w = qobject_cast<frmRptEnvLabels*>(open("frmRptEnvLabels"))) {
        w->optNum->setChecked(true);
        choose(w->cboFund, QStringLiteral("2025 Operating Fund"));
        done(w, "frmRptEnvLabels");
    }
}
