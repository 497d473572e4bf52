#pragma once

#include "GiftCsv.h"
#include "GiftImport.h"
#include "widgets/frmChild.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Which column of the gift file holds what. Opens on the mapping kept for
// the file's header row, else on a guess from the headings; Preview keeps
// the mapping under the platform's name and opens the preview.
class frmGiftMapping : public frmChild {
    Q_OBJECT
    Q_PROPERTY(QString FileName READ FileName WRITE SetFileName)
public:
    explicit frmGiftMapping(QWidget* parent = nullptr);

    QString FileName() const { return m_fileName; }
    void SetFileName(const QString& f) { m_fileName = f; }
    void Form_Load() override;

    QLabel* lblFile;
    QLineEdit* txtPlatform;
    QList<QComboBox*> cboColumn;  // one per field
    QList<QLabel*> lblSample;     // the first gift's value in that column
    QPushButton *cmdOK, *cmdCancel;

private:
    void Show_Samples();
    void cmdOK_Click();

    QString m_fileName;
    GiftCsv::Table m_table;
};
