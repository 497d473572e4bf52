#pragma once

#include "frmReportWindow.h"

#include <functional>

class QCheckBox;
class QGroupBox;
class QRadioButton;

// The telephone directory: active and/or inactive contributors with their
// address and telephone, by name or by telephone number.
class frmRptTelephone : public frmReportWindow {
    Q_OBJECT
public:
    explicit frmRptTelephone(QWidget* parent = nullptr);

    void Handle_DBChange(int table, bool added, bool changed, bool deleted, int recordID, int contributorID) override;

    QCheckBox* chkActive;
    QCheckBox* chkInactive;
    QGroupBox* fraSort;
    QRadioButton* optName;
    QRadioButton* optPhone;

    // The Show boxes and the sort order that the directory and the mailing
    // labels share; a click calls rebuild.
    static void Build_Show_Boxes(QWidget* window, QCheckBox*& active, QCheckBox*& inactive,
                                 const std::function<void()>& rebuild);
    static QGroupBox* Build_Sort_Frame(QWidget* window, const QString& frameName, QRadioButton*& first,
                                       const QString& firstCaption, QRadioButton*& second, const QString& secondName,
                                       const QString& secondCaption, const std::function<void()>& rebuild);

protected:
    void Build_Controls() override;
    std::unique_ptr<Report> Make_Report() override;

private:
    // With neither Show box ticked nothing is built: the last report stays.
    void Rebuild();
};
