#pragma once

#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include "WindowServices.h"

#include <QPushButton>

// What every task window of the program is: it hears of every database
// change through Handle_DBChange, may carry a record ID in its Tag, and is
// listed among the open windows in the order it was opened.
class frmChild : public QWidget {
    Q_OBJECT
public:
    explicit frmChild(QWidget* parent = nullptr);
    ~frmChild() override;

    // Called once by the main window after the opener has set the window's
    // properties and before it is shown.
    virtual void Form_Load() {}
    // A change notice: table code, added, changed, deleted, record ID,
    // contributor ID. Each window decides whether it concerns what it shows.
    virtual void Handle_DBChange(int table, bool added, bool changed, bool deleted, int recordID, int contributorID);

    QString Tag() const { return m_tag; }
    void SetTag(const QString& tag) { m_tag = tag; }

    // Every open task window, in the order they were opened.
    static QList<frmChild*> OpenWindows();
    // Makes the window larger when what it shows now needs more room
    // than it has; it never shrinks.
    void Grow_To_Fit();
    // The same for the window that holds a control whose text just changed.
    static void Grow_Window_Of(QWidget* control);
    // The window to move and show: the MDI frame around it when it has one.
    QWidget* Frame();
    // True once the window accepted being closed (it is deleted a moment later).
    bool IsClosed() const { return m_closed; }

    // Keyboard flow. The first control takes the focus when the window opens
    // and whenever it is brought forward; without one named, the control the
    // window focused while loading, else the first in tab order.
    void Set_First_Control(QWidget* control) { m_firstControl = control; }
    bool First_Control_Named() const { return !m_firstControl.isNull(); }
    QWidget* First_Control() const;
    void Focus_First_Control();
    // Enter presses the default button (else the child "cmdOK"); Esc presses
    // the cancel button (else "cmdCancel" or "cmdClose"), or closes a window
    // that has none. Controls that give the keys a meaning of their own
    // (multi-line boxes, open drop-downs, grids, quick find) take them first.
    void Set_Default_Button(QPushButton* button) { m_defaultButton = button; }
    void Set_Cancel_Button(QPushButton* button) { m_cancelButton = button; }
    QPushButton* Default_Button() const;
    QPushButton* Cancel_Button() const;
    // A window that must not be closed by Esc (the progress window).
    void Set_Escape_Closes(bool closes) { m_escapeCloses = closes; }
    // The window that was active when this one opened; it gets the focus
    // back when this one closes, if it is still open.
    void Set_Opener(frmChild* opener) { m_opener = opener; }
    frmChild* Opener() const { return m_opener.data(); }

    // Closes the window without asking about typed changes: after OK has
    // saved them, or by Cancel, the explicit choice to drop them.
    void Close_Unasked();

protected:
    // A window that edits a record calls this once: closed by its close box,
    // by Esc or at the end of the program while it holds typed changes, it
    // asks "Save the changes?" (Yes saves through Save_Changes, No drops
    // them, Cancel keeps the window as it is).
    void Ask_To_Save() { m_askToSave = true; }
    // What OK saves, without closing; false when nothing could be saved (the
    // window told why).
    virtual bool Save_Changes() { return false; }
    // Whether anything was typed since the window was shown: every box,
    // check box and drop-down compared with what it held then.
    virtual bool Has_Unsaved_Changes() const;
    // What the window holds now counts as not typed.
    void Take_Snapshot();
    void closeEvent(QCloseEvent* e) override;
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    QStringList Control_States() const;

    QString m_tag;
    bool m_closed = false;
    bool m_askToSave = false;
    bool m_unasked = false;
    bool m_shown = false;
    QStringList m_snapshot;
    bool m_escapeCloses = true;
    QPointer<QWidget> m_firstControl;
    QPointer<QPushButton> m_defaultButton;
    QPointer<QPushButton> m_cancelButton;
    QPointer<frmChild> m_opener;
};
