#pragma once

#include "year/YearEnd.h"

#include <QString>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLayout;
class QLineEdit;
class QWidget;
class frmProgess;

// What the numbering and activation dialogs share.
namespace YearWindows {

// One numbering choice: chkAssign(i) with its "Beginning with" box and,
// beside it, how many contributors get which numbers. The label and box
// follow the check box; the preview follows the box as it is typed in.
class NumberChoice {
public:
    // index 0: envelope users, numbers from 1; index 1: the others, from 10001.
    // Makes the controls on parent and returns their layout.
    QLayout* Create(QWidget* parent, int index, const QString& caption);
    // The contributors to number were added, changed or deactivated.
    void Count_Again();
    void Update_Preview();
    // Reformats the box as a whole number, as leaving it does.
    void Reformat();
    bool Checked() const;
    int First() const;
    // False, after telling the user, when the numbers would not fit: they
    // start at 1 (0 is no number) and end within the 32-bit range.
    bool Valid(const QString& title) const;
    bool Envelope() const { return m_index == 0; }

    QCheckBox* chkAssign = nullptr;
    QLabel* lblBegin = nullptr;
    QLineEdit* txtBegin = nullptr;
    QLabel* lblRange = nullptr;

private:
    qint64 FirstValue() const;
    int m_index = 0;
    int m_count = 0;
};

// The progress window of a routine: made when the routine shows it, closed
// when this goes. The program keeps painting meanwhile, but takes no
// clicks or keys, so that nothing else writes into the run.
class ProgressWindow {
public:
    explicit ProgressWindow(const QString& title);
    ~ProgressWindow();
    modGlobal::Progress Sink();

private:
    QString m_title;
    std::unique_ptr<frmProgess> m_window;
    qint64 m_lastPaint = 0;
};

// Fills the fund list of the numbering and activation dialogs: every
// year's main fund that has pledges, the processing year's, then the
// pledgeable funds. The fund chosen before stays chosen while it is listed;
// otherwise the processing year's main fund is.
void Fill_Fund_List(QComboBox* list);

// Opens the list of the old and new numbers of everyone whose number
// changed, to print or save; nothing when no number changed.
void Show_Changed_Numbers(int fundID, const QList<modGlobal::NumberChange>& changes);

// The engine's words of a failed run; the dialog stays with its choices.
void Show_Failure(const QString& engineText);
// Both numbering choices reformatted and, where checked, valid. The check
// reads the books: a file another program holds is answered here, the
// dialog kept as it is.
bool Choices_Valid(NumberChoice (&choices)[2], const QString& title);

} // namespace YearWindows
