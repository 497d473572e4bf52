#pragma once

#include "LabelTemplates.h"
#include "widgets/Layouts.h"

#include <QObject>

class CRViewer91;
class LabelReport;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// The row every label window shares: the sheet list (brand, part and
// description of every installed sheet), the printer offset across and down
// in points, and Print Labels, which prints straight to the printer at the
// sheet's actual size. The sheet and the offset are kept in the settings
// file as they change.
class LabelSheetControls : public QObject {
    Q_OBJECT
public:
    // Makes the controls on window and adds them to strip; settingsKey
    // names the window's sheet in the settings file.
    LabelSheetControls(QWidget* window, CRViewer91* viewer, const QString& settingsKey, Layouts::FlowLayout* strip);

    // The skip count's label and box, added to the strip: on leaving the
    // box its text becomes the whole number it stands for and the labels
    // are laid out again.
    void Add_Skip_Box(const QString& caption);
    int Skip() const;

    LabelTemplate Sheet() const;
    QPointF Offset() const;
    // Gives a label report the chosen sheet and offset.
    void Apply(LabelReport& report) const;
    // The print dialog, then every page at 100 %; false when cancelled or
    // nothing to print.
    bool Print_Labels();

    QLabel* lblSheet;
    QComboBox* cboSheet;
    QLabel* lblOffset;
    QDoubleSpinBox* txtOffsetX;
    QDoubleSpinBox* txtOffsetY;
    QPushButton* cmdPrintLabels;
    QLabel* lblSkip = nullptr;
    QLineEdit* txtSkip = nullptr;

signals:
    // The sheet or the offset changed: the labels are laid out again.
    void Changed();

private:
    void Sheet_Chosen(int index);
    void Offset_Changed();

    QWidget* m_window;
    Layouts::FlowLayout* m_strip;
    CRViewer91* m_viewer;
    QString m_key;
    QList<LabelTemplate> m_sheets; // names only
    // The chosen sheet with its labels, read when it was chosen.
    mutable int m_loadedIndex = -1;
    mutable LabelTemplate m_loaded;
};
