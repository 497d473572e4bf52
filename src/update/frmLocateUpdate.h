#pragma once

#include <QDialog>

#include "widgets/WindowServices.h"

class QComboBox;
class QLabel;
class QListWidget;
class QTreeWidget;
class QPushButton;

// Lets the user point at the update package when it is neither in the
// documents folder nor on the desktop. Modal; the opener reads FileName.
class frmLocateUpdate : public QDialog {
    Q_OBJECT
    Q_PROPERTY(QString FileName READ FileName)
public:
    explicit frmLocateUpdate(QWidget* parent = nullptr);

    // Folder + "/" + file when the user chose OK after picking a file, else "".
    QString FileName() const;
    // The folder the lists show, without a trailing separator ("" for "/").
    QString Folder() const { return m_folder; }
    // Moves the folder and file lists to a folder (and the drive list to its drive).
    void Set_Folder(const QString& folder);

    QLabel* lblInstructions;
    QComboBox* drvQV;
    QTreeWidget* dirQV; // the chain down to the folder, then its subfolders
    QListWidget* fileQV;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void drvQV_Change();
    void Fill_Drives();
    void Fill_Folders(const QString& path);
    void Fill_Files(const QString& path);
    void cmdOK_Click();

    QString m_folder;
    QString m_file;
    bool m_chosen = false;
};

// Registers the locate window under its name.
void RegisterUpdateWindows();
